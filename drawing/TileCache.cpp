#include "drawing/TileCache.h"

#include "document/MapRules.h"
#include "drawing/CellArt.h"
#include "resources/PictureList.h"

#include <cmath>

namespace delvard {

TileCache::TileCache(const PictureList& pictures) : pictures_(pictures) {}

void TileCache::setScale(int sideLogicalPx, qreal devicePixelRatio)
{
    const int sideDevicePx = static_cast<int>(std::lround(sideLogicalPx * devicePixelRatio));
    if (sideDevicePx == sideDevicePx_ && devicePixelRatio == devicePixelRatio_)
        return;
    sideDevicePx_ = sideDevicePx;
    devicePixelRatio_ = devicePixelRatio;
    tiles_.fill(QImage());
}

std::size_t TileCache::bytesHeld() const
{
    std::size_t bytes = 0;
    for (const QImage& tile : tiles_)
        bytes += static_cast<std::size_t>(tile.sizeInBytes());
    return bytes;
}

const QImage& TileCache::tile(delvard::Terrain terrain, delvard::Owner owner, bool grid)
{
    QImage& tile = tiles_[CellSlots::of(terrain, owner) * 2 + (grid ? 1 : 0)];
    if (tile.isNull()) {
        // Picture 0 is no picture: the look of a code that no table knew.
        const QImage none;
        const int terrainPicture = delvard::pictureOf(terrain);
        const int ownerPicture = delvard::pictureOf(owner);
        tile = cellart::composeCell(
            terrainPicture == 0 ? none : pictures_.scaled(terrainPicture, sideDevicePx_),
            ownerPicture == 0 ? none : pictures_.scaled(ownerPicture, sideDevicePx_),
            grid ? cellart::gridLineWidth(devicePixelRatio_) : 0, sideDevicePx_);
        tile.setDevicePixelRatio(devicePixelRatio_);
    }
    return tile;
}

} // namespace delvard
