#include "PaintRule.h"

#include <algorithm>

namespace delvard {

PaintArea paintArea(int width, int height, int row, int column, Terrain terrain)
{
    PaintArea paint;
    if (row < 1 || row > height || column < 1 || column > width)
        return paint;
    if (terrain != Terrain::Heart) {
        paint.area = {row, column, row, column};
        paint.accepted = row > 1 && row < height && column > 1 && column < width;
        return paint;
    }
    paint.area = {std::max(1, row - 2), std::max(1, column - 2), std::min(height, row + 2),
                  std::min(width, column + 2)};
    paint.accepted = row >= 4 && row <= height - 3 && column >= 4 && column <= width - 3;
    return paint;
}

} // namespace delvard
