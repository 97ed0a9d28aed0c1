#pragma once

#include "MapFormat.h"
#include "TileCache.h"

#include <QRgb>

#include <array>
#include <optional>

namespace delvard {

class PictureList;

// The average colour of each cell as the editor draws it, terrain over
// owner: how a cell looks when it is too small to show its picture, as in a
// thumbnail of a large map. Worked out once per terrain and owner shown,
// from the cell drawn at the editor's largest zoom.
class CellColours
{
  public:
    static constexpr int SampleSide = 72;

    explicit CellColours(const PictureList& pictures);

    QRgb colour(const delvard::Cell& cell);

  private:
    TileCache tiles_;
    std::array<std::optional<QRgb>, (delvard::TerrainCount + 1) * (delvard::OwnerCount + 1)>
        colours_;
};

} // namespace delvard
