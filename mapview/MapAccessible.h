#pragma once

#include <QAccessibleWidget>
#include <QPointer>

#include <deque>
#include <unordered_map>

namespace delvard {

class MapView;

// The map as a screen reader meets it: a table of the map's rows and
// columns (on Linux a canvas with the table's interface, see mapRole()) (the margin left out, a map
// with an empty side a table of its one cell), whose cells are named as the status bar names them.
// Cell objects are made when first asked for and kept by id, a bounded number at a time: a large
// map has 65,025 cells and a reader only ever looks at a few.
class MapAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
  public:
    explicit MapAccessible(MapView* view);
    ~MapAccessible() override;

    // How many cell objects are kept at most.
    static constexpr std::size_t MaxKeptCells = 1024;

    void* interface_cast(QAccessible::InterfaceType type) override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // Rows and columns count from 0 here, as the interface wants.
    QAccessibleInterface* cellAt(int row, int column) const override;
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int columnCount() const override;
    int rowCount() const override;
    // Nothing on a map is ever selected.
    int selectedCellCount() const override { return 0; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    // Gives the cell at row and column (from 0) a new object when next
    // asked for: a reader that keeps what it read of a cell's object, and
    // ignores its new name, meets the cell again as one it has not read.
    void renewCell(int row, int column);

    // How many cell objects exist now.
    std::size_t keptCells() const { return kept_.size(); }

  private:
    MapView* view() const;

    mutable std::unordered_map<int, QAccessible::Id> kept_; // by row-major index
    mutable std::deque<int> keptOrder_;                     // oldest first
};

// Lets Qt build a MapAccessible for every map view; any number of calls.
void installMapAccessibility();

} // namespace delvard
