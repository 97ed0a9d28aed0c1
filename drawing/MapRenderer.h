#pragma once

#include "document/MapFormat.h"
#include "document/PaintRule.h"
#include "drawing/TileCache.h"

#include <QImage>
#include <QRect>

class QPainter;

namespace delvard {

class PictureList;

// Draws a map as the editor shows it: every cell a square of the cell size,
// the owner's picture behind the terrain's, inside a black margin one cell
// wide. Cell (row r, column c) lies at (c, r) cell sizes from the top left.
// A map whose width or height byte is 0 shows its one decoded cell at row 1,
// column 1 (which then lies in what is otherwise the right or bottom
// margin). Shared by the map view and delvard-map, with its one tile cache.
// The grid is shown until told otherwise, as the editor opens a map.
class MapRenderer
{
  public:
    explicit MapRenderer(const PictureList& pictures);

    // Cell side in logical pixels, and the device pixel ratio drawn for.
    void setCellSize(int logicalPx, qreal devicePixelRatio = 1.0);
    int cellSize() const { return cellSize_; }
    void setGridShown(bool shown) { gridShown_ = shown; }
    bool gridShown() const { return gridShown_; }

    // The whole picture, margin included, in logical pixels.
    QSize mapSize(const delvard::MapData& map) const;
    QRect cellRect(delvard::CellPosition cell) const;
    // The squares of a block of cells, together.
    QRect areaRect(const delvard::CellArea& area) const;
    // The cells (rows and columns from 1) that a rectangle touches, cut to
    // the map; empty when it touches none.
    delvard::CellArea cellsIn(const delvard::MapData& map, const QRect& rect) const;

    // Paints the part of the map that lies in `exposed` (logical pixels).
    void paint(QPainter& painter, const delvard::MapData& map, const QRect& exposed);

    // Draws band b (the row of cells b; the first and the last band are the
    // margins) into `band`, for pictures too big to hold whole. The band must
    // be an RGB32 image at least as wide as the picture and one cell high;
    // anything else is left black. Device pixel ratio 1.
    void drawBand(QImage& band, const delvard::MapData& map, int b);

    TileCache& tiles() { return tiles_; }

  private:
    const QImage& tile(const delvard::Cell& cell);

    TileCache tiles_;
    int cellSize_ = 72;
    qreal devicePixelRatio_ = 1.0;
    bool gridShown_ = true;
};

} // namespace delvard
