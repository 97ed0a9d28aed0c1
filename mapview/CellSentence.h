#pragma once

#include "document/CellDescription.h"

#include <QString>

namespace delvard {

// "Row 3, column 4: Treasury, Player": a cell as the status bar names it,
// and as a screen reader reads it, the terrain and owner as the file stores
// them. A map whose width or height is 0 has its one cell at row 1, column 1.
QString cellSentence(const MapData& map, CellPosition cell);

} // namespace delvard
