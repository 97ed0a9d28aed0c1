#include "document/PaintRule.h"

#include "document/MapRules.h"

#include <algorithm>

namespace delvard {

PaintArea paintArea(int width, int height, CellPosition cell, Terrain terrain)
{
    PaintArea paint;
    const auto [row, column] = cell;
    if (row < 1 || row > height || column < 1 || column > width)
        return paint;
    const int reach = terrain == Terrain::Heart ? HeartReach : 0;
    paint.area = {std::max(1, row - reach), std::max(1, column - reach),
                  std::min(height, row + reach), std::min(width, column + reach)};
    // Taken when the block is whole (not cut by the map's edge) and neither
    // of its far corners is on the ring: then none of its cells is.
    const CellArea& area = paint.area;
    const bool whole = area.cellCount() == (2 * reach + 1) * (2 * reach + 1);
    paint.accepted = whole && !isOnRing(width, height, area.topLeft()) &&
                     !isOnRing(width, height, {area.bottom, area.right});
    return paint;
}

} // namespace delvard
