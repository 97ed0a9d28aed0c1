#pragma once

#include "document/CellPlace.h"
#include "document/MapFormat.h"

#include <string>

// The words for one cell, made in one place: the status bar, delvard-map
// and whatever else reads a map to a person take their parts from here and
// put their own sentence around them.
namespace delvard {

struct CellWords
{
    CellPosition place;
    // As the file stores it: the palette's name, or "unknown 0x2A" for a
    // code no table knows.
    std::string terrain;
    std::string owner;
    // What the map shows: the palette's name; for an unknown code the name
    // of what the cell before it shows, or how the cell looks when no cell
    // before it had a known code ("a question mark", "a dark grey ground").
    std::string shownTerrain;
    std::string shownOwner;
    // Whether those are palette names rather than looks.
    bool terrainShownByName = false;
    bool ownerShownByName = false;
};

CellWords describeCell(const MapData& map, CellPosition place);

// "row 3, column 12": how every reader of a map names a cell's place.
std::string placeWords(CellPosition place);

// "0x2A"
std::string hexByte(unsigned value);

} // namespace delvard
