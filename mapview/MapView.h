#pragma once

#include "document/MapDocument.h"
#include "drawing/MapRenderer.h"

#include <QAbstractScrollArea>

namespace delvard {

class PictureList;

// The one widget that shows a map document, and scrolls it: one square per
// cell, inside a black margin one cell wide, at cell sizes from 24 to 72
// pixels in steps of 8, with or without the grid. It paints only what is
// exposed, and forwards clicks on cells; whether and how a click changes
// the map is the document's to decide.
//
// It keeps one current cell, which the pointer and the keyboard both move.
// While the pointer is over the map, or once the keys have been used in it,
// an outline shows what a click (or Space) would change: cyan where it would
// be taken, red and washed where it would be refused. Keyboard use also
// draws a focus frame around the current cell; a mouse user never sees it.
//
// Positions come in two kinds: content positions, on the whole map picture
// with the margin (cellRect, cellAt, hoverOutline), and positions in the
// viewport, which is the part of that picture in view (mouse events).
class MapView : public QAbstractScrollArea
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

    // The whole map picture, margin included, in logical pixels.
    QSize contentSize() const { return renderer_.mapSize(document_.data()); }
    // How far the picture is scrolled: the content position at the
    // viewport's top left.
    QPoint scrollOffset() const;
    // The square of a cell, as a content rectangle and as it lies in the viewport.
    QRect cellRect(delvard::CellPosition cell) const { return renderer_.cellRect(cell); }
    QRect cellRectInViewport(delvard::CellPosition cell) const;
    // The cell at a content position, or a null position.
    delvard::CellPosition cellAt(QPoint contentPosition) const;

    // The rows and columns the keys move through: the map's, or the one
    // cell of a map whose width or height is 0.
    int rowCount() const;
    int columnCount() const;
    // Always a cell of the map.
    delvard::CellPosition currentCell() const { return current_; }
    // The cell the outline and the status bar speak of: the current cell
    // while the pointer is on a cell or the keys are in use; null otherwise.
    delvard::CellPosition indicatedCell() const { return indicated_; }
    // Whether the focus frame is drawn around the current cell.
    bool cursorShown() const { return keyboardInUse_ && hasFocus(); }

    // What the hover outline covers now (empty: none), as a content
    // rectangle, and whether it shows a click that would be taken.
    QRect hoverOutline() const { return outline_; }
    bool hoverAccepted() const { return outlineAccepted_; }

  public slots:
    // One step larger or smaller; the cell in the middle of the view stays there.
    void zoomIn();
    void zoomOut();
    void setGridShown(bool shown);
    // The terrain a click would paint, for the hover outline.
    void setBrushTerrain(delvard::Terrain terrain);
    // Moves the current cell (kept inside the map) and scrolls it into view.
    void setCurrentCell(delvard::CellPosition cell);

  signals:
    // A click, or Space or Enter, on a cell.
    void cellClicked(delvard::CellPosition cell);
    void currentCellChanged(delvard::CellPosition cell);
    void indicatedCellChanged(delvard::CellPosition cell);
    void cellSizeChanged(int cellSize);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void setCellSize(int cellSize);
    void updateScrollBars();
    void scrollToShow(delvard::CellPosition cell);
    // The pointer's cell becomes the current one, if the pointer is over the map.
    void followPointer();
    void pointAt(delvard::CellPosition cell);
    void moveCurrent(delvard::CellPosition cell);
    void showIndication();
    void updateContent(const QRect& contentRect);
    void useKeyboard(bool inUse);

    delvard::MapDocument& document_;
    MapRenderer renderer_;
    delvard::Terrain brush_ = delvard::Terrain::Heart;
    delvard::CellPosition current_{1, 1};
    delvard::CellPosition indicated_;
    QPoint pointer_; // in the viewport, where the pointer was last seen
    bool pointerInside_ = false;
    bool pointerOnCell_ = false;
    bool keyboardInUse_ = false;
    bool keysUsed_ = false; // ever, in this view
    QRect outline_;
    bool outlineAccepted_ = false;
};

} // namespace delvard
