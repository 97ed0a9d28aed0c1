#include "document/CellDescription.h"

namespace delvard {

namespace {

std::string stored(std::string_view known, std::uint8_t code)
{
    return known.empty() ? "unknown " + hexByte(code) : std::string(known);
}

std::string shown(std::string_view name, const char* lookWithoutName)
{
    return name.empty() ? std::string(lookWithoutName) : std::string(name);
}

} // namespace

std::string hexByte(unsigned value)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    return {'0', 'x', digits[(value >> 4) & 0xF], digits[value & 0xF]};
}

CellWords describeCell(const MapData& map, CellPosition place)
{
    const Cell& cell = map.at(place);
    CellWords words;
    words.place = place;
    const std::string_view shownTerrain = terrainName(cell.terrain);
    const std::string_view shownOwner = ownerName(cell.owner);
    words.terrain =
        stored(cell.terrainKnown() ? shownTerrain : std::string_view(), cell.terrainCode);
    words.owner = stored(cell.ownerKnown() ? shownOwner : std::string_view(), cell.ownerCode);
    // The renderer's looks for a cell without any known code before it.
    words.shownTerrain = shown(shownTerrain, "a question mark");
    words.shownOwner = shown(shownOwner, "a dark grey ground");
    words.terrainShownByName = !shownTerrain.empty();
    words.ownerShownByName = !shownOwner.empty();
    return words;
}

std::string placeWords(CellPosition place)
{
    return "row " + std::to_string(place.row) + ", column " + std::to_string(place.column);
}

} // namespace delvard
