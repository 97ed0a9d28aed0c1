#pragma once

#include "document/CellPlace.h"
#include "document/CodeTables.h"

// What a click on a cell changes: the one rule that painting and the hover
// preview share.
namespace delvard {

struct PaintArea
{
    // Whether the click changes the cells of `area`.
    bool accepted = false;
    // The cells the click changes, or, for a refused click, the cells it was
    // aimed at (the cell, or the Heart's block cut to the map), so that a
    // preview can show why. Empty for a point that is no cell of the map.
    CellArea area;
};

// The outer ring never changes. Every terrain paints the clicked cell
// alone, except the Heart, which paints the block around it and needs the
// whole block inside the ring.
PaintArea paintArea(int width, int height, CellPosition cell, Terrain terrain);

} // namespace delvard
