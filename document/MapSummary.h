#pragma once

#include "document/CodeTables.h"
#include "document/MapFormat.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace delvard {

// A byte that neither code table knows, where it is, and what the editor
// shows in its place: the terrain or owner of the cell decoded before it.
struct UnknownCode
{
    enum class Kind { Terrain, Owner };
    Kind kind;
    delvard::CellPosition place;
    std::uint8_t fileByte;
    QString shownAs;  // what the map shows instead (delvard::CellWords)
    bool shownByName; // shownAs names the cell before it, or tells a look
};

struct MapSummary
{
    // Cells per terrain and per owner, by number, as the editor shows them;
    // slot 0 (None) counts the cells before the first known code.
    std::array<int, delvard::TerrainCount + 1> terrainCounts{};
    std::array<int, delvard::OwnerCount + 1> ownerCounts{};
    std::vector<UnknownCode> unknownCodes;
};

MapSummary summarizeMap(const delvard::MapData& map);

// Palette names, with "none" for the None that only a leading unknown code leaves.
QString terrainLabel(delvard::Terrain terrain);
QString ownerLabel(delvard::Owner owner);
// "row 3, column 7"
QString cellLabel(delvard::CellPosition cell);
// What is wrong with an unknown code, without the file name or the cell.
QString describeUnknownCode(const UnknownCode& code);

} // namespace delvard
