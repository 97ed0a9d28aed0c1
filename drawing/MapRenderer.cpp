#include "drawing/MapRenderer.h"

#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cstring>

namespace delvard {

namespace {

// Whether the cells lie in a grid; a map whose width or height byte is 0
// holds one cell, at row 1, column 1.
bool laidOut(const MapData& map)
{
    return map.width > 0 && map.height > 0;
}

} // namespace

MapRenderer::MapRenderer(const PictureList& pictures) : tiles_(pictures)
{
    tiles_.setScale(cellSize_, devicePixelRatio_);
}

void MapRenderer::setCellSize(int logicalPx, qreal devicePixelRatio)
{
    cellSize_ = logicalPx;
    devicePixelRatio_ = devicePixelRatio;
    tiles_.setScale(logicalPx, devicePixelRatio);
}

QSize MapRenderer::mapSize(const MapData& map) const
{
    return {(map.width + 2) * cellSize_, (map.height + 2) * cellSize_};
}

QRect MapRenderer::cellRect(delvard::CellPosition cell) const
{
    return {cell.column * cellSize_, cell.row * cellSize_, cellSize_, cellSize_};
}

QRect MapRenderer::areaRect(const CellArea& area) const
{
    if (area.isEmpty())
        return {};
    return cellRect(area.topLeft()).united(cellRect({area.bottom, area.right}));
}

CellArea MapRenderer::cellsIn(const MapData& map, const QRect& rect) const
{
    if (map.cells.empty() || rect.isEmpty())
        return {};
    if (!laidOut(map))
        return rect.intersects(cellRect({1, 1})) ? CellArea{1, 1, 1, 1} : CellArea{};
    const QRect cells =
        rect & QRect(cellSize_, cellSize_, map.width * cellSize_, map.height * cellSize_);
    if (cells.isEmpty())
        return {};
    return {cells.top() / cellSize_, cells.left() / cellSize_, cells.bottom() / cellSize_,
            cells.right() / cellSize_};
}

const QImage& MapRenderer::tile(const delvard::Cell& cell)
{
    return tiles_.tile(cell.terrain, cell.owner, gridShown_);
}

void MapRenderer::paint(QPainter& painter, const MapData& map, const QRect& exposed)
{
    const CellArea cells = cellsIn(map, exposed);
    QRegion margin(exposed);
    if (!cells.isEmpty()) {
        const QRect drawn = areaRect(cells);
        margin -= drawn;
        if (!laidOut(map)) {
            painter.drawImage(drawn.topLeft(), tile(map.cells.front()));
        } else {
            for (int row = cells.top; row <= cells.bottom; ++row) {
                const delvard::Cell* cell = &map.at({row, cells.left});
                for (int column = cells.left; column <= cells.right; ++column, ++cell)
                    painter.drawImage(QPoint(column * cellSize_, row * cellSize_), tile(*cell));
            }
        }
    }
    for (const QRect& black : margin)
        painter.fillRect(black, Qt::black);
}

void MapRenderer::drawBand(QImage& band, const MapData& map, int b)
{
    band.fill(Qt::black);
    // The tiles are copied row by row: a band of another shape would be
    // written past its end.
    const bool fits = band.format() == QImage::Format_RGB32 &&
                      band.width() >= mapSize(map).width() && band.height() >= cellSize_ &&
                      tiles_.sideDevicePixels() == cellSize_;
    if (!fits || map.cells.empty() || b < 1 || b > std::max(map.height, 1))
        return;
    const int lastColumn = laidOut(map) ? map.width : (b == 1 ? 1 : 0);
    const std::size_t rowBytes = static_cast<std::size_t>(cellSize_) * 4;
    const qsizetype bandStride = band.bytesPerLine();
    uchar* const bandBits = band.bits();
    for (int column = 1; column <= lastColumn; ++column) {
        const delvard::Cell& cell = laidOut(map) ? map.at({b, column}) : map.cells.front();
        const QImage& cellTile = tile(cell);
        // Both images are RGB32 and the tile lies wholly inside the band, so
        // a row-by-row copy does what QPainter would, without its per-call
        // set-up, which dominates on a map of 65,025 cells.
        const uchar* from = cellTile.constBits();
        const qsizetype tileStride = cellTile.bytesPerLine();
        uchar* to = bandBits + static_cast<qsizetype>(column) * cellSize_ * 4;
        for (int y = 0; y < cellSize_; ++y, from += tileStride, to += bandStride)
            std::memcpy(to, from, rowBytes);
    }
}

} // namespace delvard
