#pragma once

#include "MapCodec.h"

#include <QImage>

struct RenderOptions
{
    static constexpr int MinCellSize = 4;
    static constexpr int MaxCellSize = 72;
    // The editor's smallest zoom: a whole 255 x 255 map stays a manageable
    // picture (6168 pixels square), where the largest zoom needs 1.3 GB.
    static constexpr int DefaultCellSize = 24;

    int cellSize = DefaultCellSize; // pixels per cell
    bool grid = false;
};

// The map as the map window shows it: a black margin one cell wide on every
// side and each cell drawn by the editor's own cell art. A map whose width
// or height byte is 0 shows its single decoded cell at row 1, column 1, as
// the editor does. Returns a null image if the picture would be too large
// to allocate.
QImage renderMap(const delvard::DecodedMap& map, const RenderOptions& options);
