#include "mapview/MapView.h"

#include "mapview/MapAccessible.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace delvard {

namespace {

const QColor AcceptedOutline(0, 255, 255);
const QColor RefusedOutline(255, 0, 0);
const QColor RefusedWash(255, 0, 0, 80);
// Yellow between two black lines: visible on every picture and owner
// colour, and unlike either outline.
const QColor CursorColour(255, 214, 0);

// Tells a screen reader about one cell of the map's table, if one listens.
void announceCell(MapView* view, CellPosition cell, QAccessible::Event what)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface* map = QAccessible::queryAccessibleInterface(view);
    QAccessibleTableInterface* table = map ? map->tableInterface() : nullptr;
    if (QAccessibleInterface* shown =
            table ? table->cellAt(cell.row - 1, cell.column - 1) : nullptr) {
        QAccessibleEvent event(shown, what);
        QAccessible::updateAccessibility(&event);
    }
}

// Tells a screen reader the current cell again after it was painted: a
// reader that ignores a cell's new name still reads a cell it meets anew.
void announceRepaintedCell(MapView* view, CellPosition cell)
{
    if (!QAccessible::isActive())
        return;
    if (auto* map = dynamic_cast<MapAccessible*>(QAccessible::queryAccessibleInterface(view)))
        map->renewCell(cell.row - 1, cell.column - 1);
    announceCell(view, cell, QAccessible::Focus);
}

} // namespace

MapView::MapView(MapDocument& document, const PictureList& pictures, QWidget* parent)
    : QAbstractScrollArea(parent), document_(document), renderer_(pictures)
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    // The keys of the map move its cursor; the scroll bars follow, and are
    // no tab stops of their own.
    horizontalScrollBar()->setFocusPolicy(Qt::NoFocus);
    verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    // paintEvent covers every exposed pixel itself (cells, black margin and
    // the dark room beside a small map), so Qt need not clear it first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setMouseTracking(true);
    connect(&document_, &MapDocument::cellsChanged, this, [this](const CellArea& cells) {
        updateContent(renderer_.areaRect(cells));
        for (int row = cells.top; row <= cells.bottom && !cells.isEmpty(); ++row)
            for (int column = cells.left; column <= cells.right; ++column)
                announceCell(this, {row, column}, QAccessible::NameChanged);
        if (hasFocus() && cells.contains(current_))
            announceRepaintedCell(this, current_);
    });
    updateScrollBars();
    installMapAccessibility();
}

QPoint MapView::scrollOffset() const
{
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

QRect MapView::cellRectInViewport(CellPosition cell) const
{
    return cellRect(cell).translated(-scrollOffset());
}

CellPosition MapView::cellAt(QPoint contentPosition) const
{
    return renderer_.cellsIn(document_.data(), QRect(contentPosition, QSize(1, 1))).topLeft();
}

int MapView::rowCount() const
{
    return document_.width() == 0 ? 1 : std::max(document_.height(), 1);
}

int MapView::columnCount() const
{
    return document_.height() == 0 ? 1 : std::max(document_.width(), 1);
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
    // The cell that was in the middle of the view stays there, and the view
    // is drawn once, with the final layout.
    const QSize before = contentSize();
    const QSize room = viewport()->size();
    const QPointF middle = QPointF(scrollOffset()) + QPointF(room.width(), room.height()) / 2.0;
    const QPointF centre(middle.x() / before.width(), middle.y() / before.height());

    renderer_.setCellSize(size, viewport()->devicePixelRatioF());
    viewport()->setUpdatesEnabled(false);
    updateScrollBars();
    const QSize after = contentSize();
    horizontalScrollBar()->setValue(qRound(centre.x() * after.width()) - room.width() / 2);
    verticalScrollBar()->setValue(qRound(centre.y() * after.height()) - room.height() / 2);
    viewport()->setUpdatesEnabled(true);

    // The outline was for the old layout; the pointer may now rest on another cell.
    outline_ = QRect();
    followPointer();
    showIndication();
    viewport()->update();
    emit cellSizeChanged(size);
}

void MapView::updateScrollBars()
{
    const QSize content = contentSize();
    const QSize room = viewport()->size();
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    h->setRange(0, std::max(0, content.width() - room.width()));
    v->setRange(0, std::max(0, content.height() - room.height()));
    h->setPageStep(room.width());
    v->setPageStep(room.height());
    h->setSingleStep(cellSize());
    v->setSingleStep(cellSize());
}

void MapView::setGridShown(bool shown)
{
    if (shown == renderer_.gridShown())
        return;
    renderer_.setGridShown(shown);
    viewport()->update();
}

void MapView::setBrushTerrain(Terrain terrain)
{
    brush_ = terrain;
    showIndication();
}

void MapView::setCurrentCell(CellPosition cell)
{
    moveCurrent(cell);
    scrollToShow(current_);
    showIndication();
}

void MapView::moveCurrent(CellPosition cell)
{
    cell.row = std::clamp(cell.row, 1, rowCount());
    cell.column = std::clamp(cell.column, 1, columnCount());
    if (cell == current_)
        return;
    updateContent(cellRect(current_));
    current_ = cell;
    updateContent(cellRect(current_));
    if (hasFocus())
        announceCell(this, current_, QAccessible::Focus);
    emit currentCellChanged(current_);
}

void MapView::scrollToShow(CellPosition cell)
{
    const QRect wanted = cellRect(cell);
    const QRect seen(scrollOffset(), viewport()->size());
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    if (wanted.left() < seen.left())
        h->setValue(wanted.left());
    else if (wanted.right() > seen.right())
        h->setValue(wanted.right() - seen.width() + 1);
    if (wanted.top() < seen.top())
        v->setValue(wanted.top());
    else if (wanted.bottom() > seen.bottom())
        v->setValue(wanted.bottom() - seen.height() + 1);
}

void MapView::followPointer()
{
    if (pointerInside_ && !keyboardInUse_)
        pointAt(cellAt(pointer_ + scrollOffset()));
}

void MapView::pointAt(CellPosition cell)
{
    pointerOnCell_ = !cell.isNull();
    if (pointerOnCell_)
        moveCurrent(cell);
    showIndication();
}

void MapView::showIndication()
{
    // The pointer's cell, or while the map has the keys and they were used,
    // theirs: the status bar names it whether or not the frame shows.
    const bool keysHere = keysUsed_ && hasFocus();
    const CellPosition indicated =
        keyboardInUse_ || keysHere || pointerOnCell_ ? current_ : CellPosition();
    if (indicated != indicated_) {
        indicated_ = indicated;
        emit indicatedCellChanged(indicated_);
    }
    QRect outline;
    bool accepted = false;
    if (!indicated_.isNull()) {
        const PaintArea paint = document_.paintArea(indicated_, brush_);
        outline = renderer_.areaRect(paint.area);
        accepted = paint.accepted;
    }
    if (outline != outline_ || accepted != outlineAccepted_) {
        updateContent(outline_);
        updateContent(outline);
        outline_ = outline;
        outlineAccepted_ = accepted;
    }
}

void MapView::updateContent(const QRect& contentRect)
{
    if (!contentRect.isEmpty())
        viewport()->update(contentRect.translated(-scrollOffset()));
}

void MapView::useKeyboard(bool inUse)
{
    // The frame comes and goes with the keys.
    keysUsed_ = keysUsed_ || inUse;
    if (inUse != keyboardInUse_) {
        keyboardInUse_ = inUse;
        updateContent(cellRect(current_));
    }
}

void MapView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    if (renderer_.tiles().devicePixelRatio() != viewport()->devicePixelRatioF())
        renderer_.setCellSize(cellSize(), viewport()->devicePixelRatioF());
    const QPoint offset = scrollOffset();
    const QRect exposed = event->rect().translated(offset);
    painter.translate(-offset);

    const QRect map(QPoint(0, 0), contentSize());
    renderer_.paint(painter, document_.data(), exposed & map);
    for (const QRect& room : QRegion(exposed).subtracted(map))
        painter.fillRect(room, palette().color(QPalette::Dark));

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
    if (cursorShown() && cellRect(current_).intersects(exposed)) {
        // Inside the outline, which stays visible around it.
        const QRectF frame = QRectF(cellRect(current_)).adjusted(6.5, 6.5, -6.5, -6.5);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::black, 5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawRect(frame);
        painter.setPen(QPen(CursorColour, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawRect(frame);
    }
}

void MapView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void MapView::scrollContentsBy(int dx, int dy)
{
    // While zooming the whole view is drawn anew anyway.
    if (viewport()->updatesEnabled())
        viewport()->scroll(dx, dy);
    // The picture moved under a pointer that stayed where it was.
    followPointer();
}

bool MapView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Leave) {
        pointerInside_ = false;
        pointAt({});
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void MapView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    pointer_ = event->position().toPoint();
    pointerInside_ = true;
    useKeyboard(false);
    const CellPosition cell = cellAt(pointer_ + scrollOffset());
    pointAt(cell);
    if (!cell.isNull())
        emit cellClicked(cell);
}

void MapView::mouseMoveEvent(QMouseEvent* event)
{
    pointer_ = event->position().toPoint();
    pointerInside_ = true;
    // The pointer takes over the current cell from the keys.
    useKeyboard(false);
    followPointer();
    QAbstractScrollArea::mouseMoveEvent(event);
}

void MapView::keyPressEvent(QKeyEvent* event)
{
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    const int pageRows = std::max(1, viewport()->height() / cellSize());
    CellPosition to = current_;
    bool click = false;
    switch (event->key()) {
    case Qt::Key_Left:
        --to.column;
        break;
    case Qt::Key_Right:
        ++to.column;
        break;
    case Qt::Key_Up:
        --to.row;
        break;
    case Qt::Key_Down:
        ++to.row;
        break;
    case Qt::Key_Home:
        to = control ? CellPosition{1, 1} : CellPosition{to.row, 1};
        break;
    case Qt::Key_End:
        to =
            control ? CellPosition{rowCount(), columnCount()} : CellPosition{to.row, columnCount()};
        break;
    case Qt::Key_PageUp:
        to.row -= pageRows;
        break;
    case Qt::Key_PageDown:
        to.row += pageRows;
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        click = true;
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
    useKeyboard(true);
    setCurrentCell(to);
    if (click)
        emit cellClicked(current_);
}

void MapView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    updateContent(cellRect(current_));
    showIndication();
    // After Qt has told of the map itself taking the focus, so that a
    // reader ends on the current cell rather than on the whole map.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (hasFocus())
                announceCell(this, current_, QAccessible::Focus);
        },
        Qt::QueuedConnection);
}

void MapView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    updateContent(cellRect(current_));
    showIndication();
}

} // namespace delvard
