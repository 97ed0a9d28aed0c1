#include "TileCache.h"

#include "CellArt.h"

#include <cmath>

TileCache::TileCache(const ImageList& images) : images_(images) {}

void TileCache::setScale(int sideLogicalPx, qreal devicePixelRatio)
{
    if (sideLogicalPx == side_ && devicePixelRatio == devicePixelRatio_)
        return;
    side_ = sideLogicalPx;
    devicePixelRatio_ = devicePixelRatio;
    for (auto& tile : tiles_)
        tile = QPixmap();
    built_ = 0;
}

int TileCache::slotOf(int terrainPicture, int ownerPicture, bool border)
{
    const int terrain = terrainPicture >= 0 && terrainPicture < TerrainSlots ? terrainPicture : 0;
    const int owner =
        ownerPicture >= 36 && ownerPicture < 36 + OwnerSlots - 1 ? ownerPicture - 35 : 0;
    return ((terrain * OwnerSlots) + owner) * 2 + (border ? 1 : 0);
}

const QPixmap& TileCache::tile(int terrainPicture, int ownerPicture, bool border)
{
    const int slot = slotOf(terrainPicture, ownerPicture, border);
    QPixmap& tile = tiles_[static_cast<std::size_t>(slot)];
    if (tile.isNull()) {
        const int sidePx = static_cast<int>(std::lround(side_ * devicePixelRatio_));
        const int terrain = slot / 2 / OwnerSlots;
        const int ownerSlot = slot / 2 % OwnerSlots;
        const QImage cell =
            cellart::composeCell(images_, terrain, ownerSlot == 0 ? 0 : ownerSlot + 35,
                                 border ? cellart::gridLineWidth(devicePixelRatio_) : 0, sidePx);
        tile = QPixmap::fromImage(cell);
        tile.setDevicePixelRatio(devicePixelRatio_);
        ++built_;
    }
    return tile;
}
