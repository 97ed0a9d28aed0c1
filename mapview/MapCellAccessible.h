#pragma once

#include "document/CellPlace.h"

#include <QAccessibleInterface>
#include <QPointer>

namespace delvard {

class MapView;

// One cell of the map's table. It holds its place, not the cell: the name
// is read from the map each time, so it is never stale after a paint.
class MapCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface
{
  public:
    MapCellAccessible(MapView* view, CellPosition cell);

    CellPosition cell() const { return cell_; }
    const MapView* view() const { return view_; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    bool isSelected() const override { return false; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return cell_.column - 1; }
    int rowIndex() const override { return cell_.row - 1; }
    QAccessibleInterface* table() const override { return parent(); }

  private:
    QPointer<MapView> view_;
    CellPosition cell_;
};

} // namespace delvard
