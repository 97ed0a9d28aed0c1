#include "mapview/MapAccessible.h"

#include "mapview/MapCellAccessible.h"
#include "mapview/MapView.h"

#include <QGuiApplication>

namespace delvard {

namespace {

QAccessibleInterface* makeMapAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("delvard::MapView") && object && object->isWidgetType())
        return new MapAccessible(static_cast<MapView*>(object));
    return nullptr;
}

// Orca, the screen reader of Linux desktops, reads every cell of a table's
// row each time the cursor enters another row (its default for tables
// outside documents, and for documents); only spreadsheets are read a cell
// at a time, and Qt's bridge to Linux readers has no role for one. There
// the map is a canvas that keeps the table interface, which Orca still
// finds a cell's row and column through: it reads one cell per move.
// Elsewhere, as for UI Automation on Windows, the map is a table.
QAccessible::Role mapRole()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"))
               ? QAccessible::Canvas
               : QAccessible::Table;
}

} // namespace

void installMapAccessibility()
{
    QAccessible::installFactory(makeMapAccessible);
}

MapAccessible::MapAccessible(MapView* view) : QAccessibleWidget(view, mapRole()) {}

MapAccessible::~MapAccessible()
{
    for (const auto& [index, id] : kept_)
        QAccessible::deleteAccessibleInterface(id);
}

MapView* MapAccessible::view() const
{
    return static_cast<MapView*>(widget());
}

void* MapAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

int MapAccessible::rowCount() const
{
    return view()->rowCount();
}

int MapAccessible::columnCount() const
{
    return view()->columnCount();
}

int MapAccessible::childCount() const
{
    return rowCount() * columnCount();
}

QAccessibleInterface* MapAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    return cellAt(index / columnCount(), index % columnCount());
}

int MapAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* cell = dynamic_cast<const MapCellAccessible*>(child);
    if (!cell || cell->view() != view() || !cell->isValid())
        return -1;
    return (cell->cell().row - 1) * columnCount() + cell->cell().column - 1;
}

QAccessibleInterface* MapAccessible::childAt(int x, int y) const
{
    const QPoint inViewport = view()->viewport()->mapFromGlobal(QPoint(x, y));
    if (!view()->viewport()->rect().contains(inViewport))
        return nullptr;
    const CellPosition cell = view()->cellAt(inViewport + view()->scrollOffset());
    return cell.isNull() ? nullptr : cellAt(cell.row - 1, cell.column - 1);
}

QAccessibleInterface* MapAccessible::focusChild() const
{
    // There is always a current cell, so a reader that asks is never left
    // without an answer.
    const CellPosition current = view()->currentCell();
    return cellAt(current.row - 1, current.column - 1);
}

QAccessibleInterface* MapAccessible::cellAt(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return nullptr;
    const int index = row * columnCount() + column;
    if (const auto kept = kept_.find(index); kept != kept_.end()) {
        if (QAccessibleInterface* cell = QAccessible::accessibleInterface(kept->second))
            return cell;
        kept_.erase(kept);
    }
    auto* cell = new MapCellAccessible(view(), {row + 1, column + 1});
    kept_[index] = QAccessible::registerAccessibleInterface(cell);
    keptOrder_.push_back(index);

    // The oldest go first; the current cell and the one just made stay.
    const CellPosition current = view()->currentCell();
    const int currentIndex = (current.row - 1) * columnCount() + current.column - 1;
    for (std::size_t turns = keptOrder_.size(); kept_.size() > MaxKeptCells && turns > 0; --turns) {
        const int oldest = keptOrder_.front();
        keptOrder_.pop_front();
        if (oldest == currentIndex || oldest == index) {
            keptOrder_.push_back(oldest);
            continue;
        }
        if (const auto gone = kept_.find(oldest); gone != kept_.end()) {
            QAccessible::deleteAccessibleInterface(gone->second);
            kept_.erase(gone);
        }
    }
    return cell;
}

void MapAccessible::renewCell(int row, int column)
{
    const auto kept = kept_.find(row * columnCount() + column);
    if (kept == kept_.end())
        return;
    QAccessible::deleteAccessibleInterface(kept->second);
    kept_.erase(kept);
}

QString MapAccessible::columnDescription(int column) const
{
    return QStringLiteral("Column %1").arg(column + 1);
}

QString MapAccessible::rowDescription(int row) const
{
    return QStringLiteral("Row %1").arg(row + 1);
}

} // namespace delvard
