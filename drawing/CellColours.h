#pragma once

#include "document/MapFormat.h"

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
    static constexpr int TerrainSlots = delvard::TerrainCount + 1; // None and 1..35
    static constexpr int OwnerSlots = delvard::OwnerCount + 1;     // None and 1..7
    using Table = std::array<QRgb, TerrainSlots * OwnerSlots>;

    explicit CellColours(const Table& table) : table_(table) {}

    // Every terrain and owner drawn at SampleSide and averaged by area.
    // Decoding, scaling and drawing the pictures takes tens of milliseconds,
    // most of a thumbnail's time, so the build does this once and the
    // program carries the table (builtCellColours).
    static Table fromPictures(const PictureList& pictures);

    static std::size_t slotOf(delvard::Terrain terrain, delvard::Owner owner)
    {
        return static_cast<std::size_t>(terrain) * OwnerSlots + static_cast<std::size_t>(owner);
    }

    QRgb colour(const delvard::Cell& cell) const
    {
        return table_[slotOf(cell.terrain, cell.owner)];
    }

  private:
    Table table_;
};

// What CellColours::fromPictures gave for the pictures compiled into the
// program, worked out as it was built (in a source file the build writes).
const CellColours::Table& builtCellColours();

} // namespace delvard
