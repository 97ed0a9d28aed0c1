#pragma once

#include "document/MapFormat.h"
#include "drawing/CellSlots.h"

#include <QRgb>

#include <array>
#include <cstddef>

namespace delvard {

class PictureList;

// The average colour of each cell as the editor draws it, terrain over
// owner: how a cell looks when it is too small to show its picture, as in a
// thumbnail of a large map. Worked out from the cell drawn at the editor's
// largest zoom, for every terrain and owner at once.
class CellColours
{
  public:
    static constexpr int SampleSide = 72;
    using Table = std::array<QRgb, CellSlots::Count>;

    explicit CellColours(const Table& table) : table_(table) {}

    // Every terrain and owner drawn at SampleSide and averaged by area.
    // Decoding, scaling and drawing the pictures takes tens of milliseconds,
    // most of a thumbnail's time, so the build does this once and the
    // program carries the table (builtCellColours).
    static Table fromPictures(const PictureList& pictures);

    QRgb colour(const delvard::Cell& cell) const
    {
        return table_[CellSlots::of(cell.terrain, cell.owner)];
    }

  private:
    Table table_;
};

// What CellColours::fromPictures gave for the pictures compiled into the
// program, worked out as it was built (in a source file the build writes).
const CellColours::Table& builtCellColours();

} // namespace delvard
