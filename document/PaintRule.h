#pragma once

#include "CodeTables.h"

// What a click on a cell changes: the one rule that painting and the hover
// preview share.
namespace delvard {

// A rectangle of cells, rows and columns from 1; empty when top is 0.
struct CellArea
{
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;

    bool isEmpty() const { return top == 0; }
    int cellCount() const { return isEmpty() ? 0 : (bottom - top + 1) * (right - left + 1); }
    bool contains(int row, int column) const
    {
        return row >= top && row <= bottom && column >= left && column <= right;
    }
    friend bool operator==(const CellArea&, const CellArea&) = default;
};

struct PaintArea
{
    // Whether the click changes the cells of `area`.
    bool accepted = false;
    // The cells the click changes, or, for a refused click, the cells it was
    // aimed at (the cell, or the Heart's block cut to the map), so that a
    // preview can show why. Empty for a point that is no cell of the map.
    CellArea area;
};

// The outer ring of a map (row 1, the last row, column 1, the last column)
// never changes. Every terrain paints the clicked cell alone, except the
// Heart, which paints the 5 x 5 block around it and needs the whole block
// inside the ring: three cells of room from every edge.
PaintArea paintArea(int width, int height, int row, int column, Terrain terrain);

} // namespace delvard
