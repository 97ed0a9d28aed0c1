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

QImage renderMap(const delvard::DecodedMap& map, const RenderOptions& options)
{
    const int side = options.cellSize;
    const int width = map.check.width;
    const int height = map.check.height;
    QImage image((width + 2) * side, (height + 2) * side, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::black);

    const ImageList& pictures = ImageList::instance();
    const int gridPx = options.grid ? cellart::gridLineWidth(1.0) : 0;
    // A big map uses few distinct cells: compose each once, then copy it.
    QHash<int, QImage> tiles;
    uchar* const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (std::size_t k = 0; k < map.cells.size(); ++k) {
        const delvard::DecodedCell& cell = map.cells[k];
        const int terrainPicture = cell.terrainIndex;
        const int ownerPicture =
            cell.ownerCode == 0 ? 0 : delvard::FirstOwnerPicture - 1 + cell.ownerCode;
        const int key = terrainPicture * 256 + ownerPicture;
        auto tile = tiles.constFind(key);
        if (tile == tiles.constEnd())
            tile = tiles.insert(
                key, cellart::composeCell(pictures, terrainPicture, ownerPicture, gridPx, side)
                         .convertToFormat(QImage::Format_RGB32));
        const CellPosition at = cellPosition(width, k);
        copyTile(*tile, bits, stride, at.column * side, at.row * side);
    }
    return image;
}
