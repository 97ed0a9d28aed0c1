#include "CodeTables.h"

namespace delvard {

const std::array<TerrainRow, TerrainCount> TerrainTable{{
    {1, 1, "Heart", 0x0E},
    {2, 2, "Portal", 0x0C},
    {3, 3, "Treasury", 0x0A},
    {4, 4, "Lair", 0x0B},
    {5, 5, "Hatchery", 0x0D},
    {6, 6, "Libaray", 0x0F},
    {7, 7, "Training", 0x10},
    {8, 8, "WorkShop", 0x13},
    {9, 9, "Combat Pit", 0x19},
    {10, 10, "Prison", 0x14},
    {11, 11, "Torture", 0x15},
    {12, 12, "Guard Room", 0x12},
    {13, 13, "Graveyard", 0x17},
    {14, 14, "Temple", 0x16},
    {15, 15, "Casion", 0x18},
    {16, 16, "Mana", 0x20},
    {17, 17, "Wood Bridge", 0x11},
    {18, 18, "Stone Bridge", 0x1A},
    {19, 19, "Claimed Dirt", 0x08},
    {20, 20, "Owned Rock", 0x09},
    {21, 21, "Sold Rock", 0x01},
    {22, 22, "Rock", 0x02},
    {23, 23, "Dirt", 0x03},
    {24, 24, "Water", 0x04},
    {25, 25, "Lave", 0x05},
    {26, 26, "Gold", 0x06},
    {27, 27, "Gems", 0x07},
    {28, 29, "Hero Gate 1", 0x1C},
    {29, 30, "Hero Gate 2", 0x1D},
    {30, 31, "Hero Gate 3", 0x21},
    {31, 32, "Hero Gate 4", 0x22},
    {32, 33, "Hero Gate 5", 0x24},
    {33, 34, "Hero Gate 6", 0x25},
    {34, 35, "Hero rest", 0x23},
    {35, 0, "", 0x1E},
}};

const std::array<OwnerRow, OwnerCount> OwnerTable{{
    {1, 36, 37, "Hero"},
    {2, 37, 38, "Neutral"},
    {3, 38, 39, "Player"},
    {4, 39, 40, "Keeper 1"},
    {5, 40, 41, "Keeper 2"},
    {6, 41, 42, "Keeper 3"},
    {7, 42, 43, "Keeper 4"},
}};

namespace {

// Byte value -> tool index (0 = not a terrain code), built once from the table
// so that decoding a record is one lookup.
constexpr std::array<std::uint8_t, 256> makeIndexOfCode()
{
    std::array<std::uint8_t, 256> indexOfCode{};
    constexpr std::uint8_t codes[TerrainCount] = {
        0x0E, 0x0C, 0x0A, 0x0B, 0x0D, 0x0F, 0x10, 0x13, 0x19, 0x14, 0x15, 0x12,
        0x17, 0x16, 0x18, 0x20, 0x11, 0x1A, 0x08, 0x09, 0x01, 0x02, 0x03, 0x04,
        0x05, 0x06, 0x07, 0x1C, 0x1D, 0x21, 0x22, 0x24, 0x25, 0x23, 0x1E};
    for (int i = 0; i < TerrainCount; ++i)
        indexOfCode[codes[i]] = static_cast<std::uint8_t>(i + 1);
    return indexOfCode;
}

constexpr auto IndexOfCode = makeIndexOfCode();

} // namespace

std::optional<int> terrainIndexOfCode(std::uint8_t code)
{
    const int index = IndexOfCode[code];
    if (index == 0)
        return std::nullopt;
    return index;
}

std::optional<std::uint8_t> terrainCodeOfIndex(int toolIndex)
{
    if (toolIndex < 1 || toolIndex > TerrainCount)
        return std::nullopt;
    return TerrainTable[toolIndex - 1].code;
}

bool isOwnerCode(int code)
{
    return code >= 1 && code <= OwnerCount;
}

std::string_view terrainName(int toolIndex)
{
    if (toolIndex == 35)
        return "Checkerboard";
    if (toolIndex < 1 || toolIndex > TerrainCount)
        return {};
    return TerrainTable[toolIndex - 1].toolTip;
}

std::string_view ownerName(int ownerCode)
{
    if (!isOwnerCode(ownerCode))
        return {};
    return OwnerTable[ownerCode - 1].toolTip;
}

std::string GetTerrainCode(int toolIndex)
{
    const auto code = terrainCodeOfIndex(toolIndex);
    if (!code)
        return {};
    constexpr char digits[] = "0123456789ABCDEF";
    return {digits[*code >> 4], digits[*code & 0x0F]};
}

} // namespace delvard
