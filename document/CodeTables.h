#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The two code tables that link the bytes of a cell record to the editor's
// terrain tools and owners. A terrain tool index is also the number of the
// cell picture in the picture list; an owner code o has picture 35 + o.
namespace delvard {

inline constexpr int TerrainCount = 35;
inline constexpr int OwnerCount = 7;
inline constexpr int FirstOwnerPicture = 36; // picture of owner code 1

struct TerrainRow
{
    int toolIndex;            // 1..35
    int button;               // toolbar button, 0 for index 35
    std::string_view toolTip; // palette name, empty for index 35
    std::uint8_t code;        // byte 0 of a cell record
};

struct OwnerRow
{
    int ownerCode; // 1..7, byte 1 of a cell record
    int picture;   // 36..42
    int button;    // 37..43
    std::string_view toolTip;
};

extern const std::array<TerrainRow, TerrainCount> TerrainTable;
extern const std::array<OwnerRow, OwnerCount> OwnerTable;

// Terrain tool index (1..35) of a terrain code, or nothing for a byte that
// is not a terrain code.
std::optional<int> terrainIndexOfCode(std::uint8_t code);

// Terrain code of a tool index, or nothing outside 1..35.
std::optional<std::uint8_t> terrainCodeOfIndex(int toolIndex);

bool isOwnerCode(int code);

// Palette names; terrain 35 has no button and is called "Checkerboard".
std::string_view terrainName(int toolIndex);
std::string_view ownerName(int ownerCode);

// Two-digit uppercase hexadecimal terrain code ("0E" for 1, "01" for 21),
// or empty text outside 1..35.
std::string GetTerrainCode(int toolIndex);

} // namespace delvard
