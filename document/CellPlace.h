#pragma once

// Where a cell is, and a block of cells: the one way every part of the
// program speaks of places on a map. Rows and columns count from 1, row
// first, as the file stores the cells.
namespace delvard {

struct CellPosition
{
    int row = 0;
    int column = 0;

    // Row 0 is no cell: "nowhere", as when the pointer is off the map.
    bool isNull() const { return row == 0; }
    friend bool operator==(const CellPosition&, const CellPosition&) = default;
};

// A rectangle of cells; empty when top is 0.
struct CellArea
{
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;

    static CellArea single(CellPosition cell)
    {
        return {cell.row, cell.column, cell.row, cell.column};
    }
    bool isEmpty() const { return top == 0; }
    int cellCount() const { return isEmpty() ? 0 : (bottom - top + 1) * (right - left + 1); }
    bool contains(CellPosition cell) const
    {
        return cell.row >= top && cell.row <= bottom && cell.column >= left && cell.column <= right;
    }
    CellPosition topLeft() const { return {top, left}; }
    friend bool operator==(const CellArea&, const CellArea&) = default;
};

} // namespace delvard
