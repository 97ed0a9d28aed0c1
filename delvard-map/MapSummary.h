#pragma once

#include "CodeTables.h"
#include "MapCodec.h"

#include <QString>

#include <array>
#include <vector>

// A byte that neither code table knows, where it is, and what the editor
// shows in its place: the value of the cell decoded before it.
struct UnknownCode
{
    enum Kind { Terrain, Owner };
    Kind kind;
    int row;
    int column;
    int fileByte;
    int shownAs; // terrain index or owner code; 0 when no earlier cell set one
};

struct MapSummary
{
    // Cells per terrain index (0..35) and owner code (0..7), as the editor
    // shows them; index 0 counts cells before the first known code.
    std::array<int, delvard::TerrainCount + 1> terrainCounts{};
    std::array<int, delvard::OwnerCount + 1> ownerCounts{};
    std::vector<UnknownCode> unknownCodes;
};

MapSummary summarizeMap(const delvard::DecodedMap& map);

// Palette names, with "none" for the 0 that only a leading unknown code leaves.
QString terrainLabel(int terrainIndex);
QString ownerLabel(int ownerCode);
// "0x2A"
QString hexByte(int value);
// "row 3, column 7"
QString cellLabel(int row, int column);
// What is wrong with an unknown code, without the file name or the cell.
QString describeUnknownCode(const UnknownCode& code);
