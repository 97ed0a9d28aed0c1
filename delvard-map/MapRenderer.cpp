#include "MapRenderer.h"

#include "CellArt.h"
#include "CodeTables.h"
#include "ImageList.h"
#include "MapFile.h"

#include <QHash>

#include <cstring>

namespace {

// Both images are RGB32 and the tile lies wholly inside the target, so a
// row-by-row copy does what QPainter would, without its per-call set-up,
// which dominates when a map has 65,025 cells.
void copyTile(const QImage& tile, uchar* targetBits, qsizetype targetStride, int x, int y)
{
    const std::size_t rowBytes = static_cast<std::size_t>(tile.width()) * 4;
    uchar* to = targetBits + y * targetStride + static_cast<qsizetype>(x) * 4;
    for (int row = 0; row < tile.height(); ++row, to += targetStride)
        std::memcpy(to, tile.constScanLine(row), rowBytes);
}

} // namespace

MapBands::MapBands(const delvard::DecodedMap& map, const RenderOptions& options)
    : map_(map), side_(options.cellSize), gridPx_(options.grid ? cellart::gridLineWidth(1.0) : 0)
{
}

const QImage& MapBands::tile(const delvard::DecodedCell& cell)
{
    const int terrainPicture = cell.terrainIndex;
    const int ownerPicture =
        cell.ownerCode == 0 ? 0 : delvard::FirstOwnerPicture - 1 + cell.ownerCode;
    const int key = terrainPicture * 256 + ownerPicture;
    // A big map uses few distinct cells: compose each once, then copy it.
    auto found = tiles_.constFind(key);
    if (found == tiles_.constEnd())
        found = tiles_.insert(key, cellart::composeCell(ImageList::instance(), terrainPicture,
                                                        ownerPicture, gridPx_, side_)
                                       .convertToFormat(QImage::Format_RGB32));
    return *found;
}

const QImage& MapBands::band(int b)
{
    if (band_.isNull())
        band_ = QImage(pictureWidth(), side_, QImage::Format_RGB32);
    band_.fill(Qt::black);
    // Cells come row by row, so those of band b follow the previous band's.
    while (nextCell_ < map_.cells.size()) {
        const CellPosition at = cellPosition(map_.check.width, nextCell_);
        if (at.row != b)
            break;
        copyTile(tile(map_.cells[nextCell_]), band_.bits(), band_.bytesPerLine(), at.column * side_,
                 0);
        ++nextCell_;
    }
    return band_;
}

QImage renderMap(const delvard::DecodedMap& map, const RenderOptions& options)
{
    MapBands bands(map, options);
    QImage image(bands.pictureWidth(), bands.pictureHeight(), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const qsizetype bandBytes = image.bytesPerLine() * options.cellSize;
    for (int b = 0; b < bands.bandCount(); ++b)
        std::memcpy(image.bits() + b * bandBytes, bands.band(b).constBits(),
                    static_cast<std::size_t>(bandBytes));
    return image;
}
