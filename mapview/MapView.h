#pragma once

#include "MapDocument.h"
#include "MapRenderer.h"

#include <QWidget>

namespace delvard {

class PictureList;

// The one widget that shows a map document: one square per cell, inside a
// black margin one cell wide, at cell sizes from 24 to 72 pixels in steps
// of 8, with or without the grid. It paints only what is exposed, and
// forwards clicks on cells; whether and how a click changes the map is the
// document's to decide. While the pointer is over the map an outline shows
// what a click would change: cyan where the click would be taken, red and
// washed where it would be refused.
class MapView : public QWidget
{
    Q_OBJECT

  public:
    static constexpr int LargestCellSize = 72;
    static constexpr int SmallestCellSize = 24;
    static constexpr int ZoomStep = 8;

    MapView(delvard::MapDocument& document, const PictureList& pictures, QWidget* parent = nullptr);

    const delvard::MapDocument& document() const { return document_; }
    int cellSize() const { return renderer_.cellSize(); }
    bool canZoomIn() const { return cellSize() < LargestCellSize; }
    bool canZoomOut() const { return cellSize() > SmallestCellSize; }
    bool gridShown() const { return renderer_.gridShown(); }

    // The square of a cell, in logical pixels.
    QRect cellRect(delvard::CellPosition cell) const { return renderer_.cellRect(cell); }
    // The cell under a point, or a null position.
    delvard::CellPosition cellAt(QPoint position) const;

    // What the hover outline covers now (empty: none), and whether it shows
    // a click that would be taken.
    QRect hoverOutline() const { return outline_; }
    bool hoverAccepted() const { return outlineAccepted_; }

  public slots:
    // One step larger or smaller; the cell in the middle of the view stays there.
    void zoomIn();
    void zoomOut();
    void setGridShown(bool shown);
    // The terrain a click would paint, for the hover outline.
    void setBrushTerrain(delvard::Terrain terrain);

  signals:
    void cellClicked(delvard::CellPosition cell);
    // The cell under the pointer changed; a null position when it left the cells.
    void hoveredCellChanged(delvard::CellPosition cell);
    void cellSizeChanged(int cellSize);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void setCellSize(int cellSize);
    void showHover(delvard::CellPosition cell);
    void showOutline();

    delvard::MapDocument& document_;
    MapRenderer renderer_;
    delvard::Terrain brush_ = delvard::Terrain::Heart;
    delvard::CellPosition hovered_;
    QRect outline_;
    bool outlineAccepted_ = false;
};

} // namespace delvard
