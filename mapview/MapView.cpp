#include "MapView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

namespace delvard {

namespace {

const QColor AcceptedOutline(0, 255, 255);
const QColor RefusedOutline(255, 0, 0);
const QColor RefusedWash(255, 0, 0, 80);

QScrollArea* enclosingScrollArea(const QWidget* widget)
{
    for (QWidget* w = widget->parentWidget(); w; w = w->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(w))
            return area;
    }
    return nullptr;
}

} // namespace

MapView::MapView(delvard::MapDocument& document, const PictureList& pictures, QWidget* parent)
    : QWidget(parent), document_(document), renderer_(pictures)
{
    // paintEvent covers every exposed pixel itself (cells and black margin),
    // so Qt need not clear the area first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFixedSize(renderer_.mapSize(document_.data()));
    connect(&document_, &delvard::MapDocument::cellsChanged, this,
            [this](const CellArea& cells) { update(renderer_.areaRect(cells)); });
}

delvard::CellPosition MapView::cellAt(QPoint position) const
{
    return renderer_.cellsIn(document_.data(), QRect(position, QSize(1, 1))).topLeft();
}

void MapView::zoomIn()
{
    if (canZoomIn())
        setCellSize(cellSize() + ZoomStep);
}

void MapView::zoomOut()
{
    if (canZoomOut())
        setCellSize(cellSize() - ZoomStep);
}

void MapView::setCellSize(int size)
{
    // The scroll area's viewport is drawn once, with the final layout, and
    // the cell that was in the middle of it stays there.
    QScrollArea* area = enclosingScrollArea(this);
    QWidget* viewport = area ? area->viewport() : nullptr;
    QPointF centre(0.5, 0.5); // as a fraction of the map's size
    if (viewport) {
        viewport->setUpdatesEnabled(false);
        const QPointF middle = mapFrom(viewport, viewport->rect().center()) + QPointF(0.5, 0.5);
        if (width() > 0 && height() > 0)
            centre = QPointF(middle.x() / width(), middle.y() / height());
    }

    renderer_.setCellSize(size, devicePixelRatioF());
    setFixedSize(renderer_.mapSize(document_.data()));

    // The outline was for the old layout; the pointer now rests on another cell.
    outline_ = QRect();
    showHover(underMouse() ? cellAt(mapFromGlobal(QCursor::pos())) : delvard::CellPosition());

    if (viewport) {
        const QSize half = viewport->size() / 2;
        area->horizontalScrollBar()->setValue(qRound(centre.x() * width()) - half.width());
        area->verticalScrollBar()->setValue(qRound(centre.y() * height()) - half.height());
        viewport->setUpdatesEnabled(true);
    }
    update();
    emit cellSizeChanged(size);
}

void MapView::setGridShown(bool shown)
{
    if (shown == renderer_.gridShown())
        return;
    renderer_.setGridShown(shown);
    update();
}

void MapView::setBrushTerrain(delvard::Terrain terrain)
{
    brush_ = terrain;
    showOutline();
}

void MapView::showHover(delvard::CellPosition cell)
{
    if (cell != hovered_) {
        hovered_ = cell;
        emit hoveredCellChanged(cell);
    }
    showOutline();
}

void MapView::showOutline()
{
    QRect outline;
    bool accepted = false;
    if (!hovered_.isNull()) {
        const delvard::PaintArea paint = document_.paintArea(hovered_, brush_);
        outline = renderer_.areaRect(paint.area);
        accepted = paint.accepted;
    }
    if (outline != outline_ || accepted != outlineAccepted_) {
        update(outline_);
        update(outline);
        outline_ = outline;
        outlineAccepted_ = accepted;
    }
}

void MapView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (renderer_.tiles().devicePixelRatio() != devicePixelRatioF())
        renderer_.setCellSize(cellSize(), devicePixelRatioF());
    const QRect exposed = event->rect();
    renderer_.paint(painter, document_.data(), exposed);

    if (!outline_.isEmpty() && outline_.intersects(exposed)) {
        // A refused click also washes its area red: a thin line alone is
        // easy to miss on the red-brown rock of the outer ring.
        painter.setBrush(outlineAccepted_ ? QBrush(Qt::NoBrush) : QBrush(RefusedWash));
        painter.setPen(QPen(outlineAccepted_ ? AcceptedOutline : RefusedOutline, 2, Qt::SolidLine,
                            Qt::SquareCap, Qt::MiterJoin));
        painter.drawRect(QRectF(outline_).adjusted(1, 1, -1, -1));
        // A dark inner edge keeps the outline visible on a cyan or red owner colour.
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawRect(QRectF(outline_).adjusted(2.5, 2.5, -2.5, -2.5));
    }
}

void MapView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const delvard::CellPosition cell = cellAt(event->position().toPoint());
    if (!cell.isNull())
        emit cellClicked(cell);
}

void MapView::mouseMoveEvent(QMouseEvent* event)
{
    showHover(cellAt(event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

void MapView::leaveEvent(QEvent* event)
{
    showHover({});
    QWidget::leaveEvent(event);
}

} // namespace delvard
