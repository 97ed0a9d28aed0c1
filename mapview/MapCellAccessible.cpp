#include "mapview/MapCellAccessible.h"

#include "mapview/CellSentence.h"
#include "mapview/MapView.h"

#include <QWidget>
#include <QWindow>

namespace delvard {

MapCellAccessible::MapCellAccessible(MapView* view, CellPosition cell) : view_(view), cell_(cell) {}

bool MapCellAccessible::isValid() const
{
    return view_ && cell_.row >= 1 && cell_.row <= view_->rowCount() && cell_.column >= 1 &&
           cell_.column <= view_->columnCount();
}

QWindow* MapCellAccessible::window() const
{
    return view_ ? view_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* MapCellAccessible::parent() const
{
    return view_ ? QAccessible::queryAccessibleInterface(view_.data()) : nullptr;
}

QString MapCellAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name || !isValid())
        return {};
    return cellSentence(view_->document().data(), cell_);
}

QRect MapCellAccessible::rect() const
{
    if (!isValid())
        return {};
    const QRect square = view_->cellRectInViewport(cell_);
    return QRect(view_->viewport()->mapToGlobal(square.topLeft()), square.size());
}

QAccessible::State MapCellAccessible::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.focusable = true;
    state.focused = view_->hasFocus() && view_->currentCell() == cell_;
    const bool seen = view_->isVisible() &&
                      view_->viewport()->rect().intersects(view_->cellRectInViewport(cell_));
    state.invisible = !seen;
    state.offscreen = !seen;
    return state;
}

void* MapCellAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableCellInterface)
        return static_cast<QAccessibleTableCellInterface*>(this);
    return nullptr;
}

} // namespace delvard
