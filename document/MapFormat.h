#pragma once

#include "document/CellPlace.h"
#include "document/CodeTables.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Layout of a map file: a 36-byte header (width at offset 20, height at 24,
// one byte each), then one 4-byte record per cell, row by row, then any
// further bytes, which are never interpreted. A record holds the terrain
// code, the owner code and two bytes that are not read; Save writes those
// two as 0x01.
namespace delvard {

inline constexpr std::size_t HeaderSize = 36;
inline constexpr std::size_t RecordSize = 4;
inline constexpr std::size_t WidthOffset = 20;
inline constexpr std::size_t HeightOffset = 24;
inline constexpr int MaxMapSide = 255;

// How many records a map of the header's size has, and Save writes.
constexpr std::size_t storedRecords(int width, int height)
{
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

// How many records a header makes the editor decode: one per cell, and
// still one when the width or the height byte is 0, shown at row 1, column 1.
constexpr std::size_t recordsToDecode(int width, int height)
{
    const std::size_t cells = storedRecords(width, height);
    return cells == 0 ? 1 : cells;
}

enum class MapProblem {
    None,
    TooShortForHeader, // fewer than 36 bytes
    TruncatedBody,     // fewer records than the header asks for
};

struct MapCheck
{
    MapProblem problem = MapProblem::None;
    std::size_t fileSize = 0;
    int width = 0;
    int height = 0;
    std::size_t expectedRecords = 0;
    std::size_t foundRecords = 0;  // whole records present after the header
    std::size_t trailingBytes = 0; // bytes after the width x height records

    bool ok() const { return problem == MapProblem::None; }
};

// Checks that the bytes hold a header and every record it announces.
MapCheck checkMapBytes(std::string_view bytes);

// One cell: the two bytes Save writes for it, and what it shows. The two
// differ only where the file holds a code that no table knows: such a cell
// shows the terrain or owner of the cell decoded before it (or None, before
// any known code) and keeps its own byte, so a save gives it back unchanged.
struct Cell
{
    std::uint8_t terrainCode = 0;
    std::uint8_t ownerCode = 0;
    Terrain terrain = Terrain::None;
    Owner owner = Owner::None;

    bool terrainKnown() const { return terrainOfCode(terrainCode).has_value(); }
    bool ownerKnown() const { return ownerOfCode(ownerCode).has_value(); }
    // A cell painted with a terrain and an owner.
    static Cell painted(Terrain terrain, Owner owner);
    friend bool operator==(const Cell&, const Cell&) = default;
};

// A whole map: the header as read, the cells row by row, the bytes after
// the width x height records (all of them after the header, the one shown
// cell's included, when a side is 0).
struct MapData
{
    std::string header;
    int width = 0;
    int height = 0;
    std::vector<Cell> cells; // recordsToDecode(width, height) of them
    std::string trailing;

    std::size_t indexOf(CellPosition cell) const
    {
        return static_cast<std::size_t>(cell.row - 1) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(cell.column - 1);
    }
    // The place of cells[index]. A map whose width or height byte is 0
    // still holds one cell: row 1, column 1.
    CellPosition positionOf(std::size_t index) const
    {
        if (width <= 0 || height <= 0)
            return {1, 1};
        const auto w = static_cast<std::size_t>(width);
        return {static_cast<int>(index / w) + 1, static_cast<int>(index % w) + 1};
    }
    const Cell& at(CellPosition cell) const { return cells[indexOf(cell)]; }
    Cell& at(CellPosition cell) { return cells[indexOf(cell)]; }
};

struct DecodedMap
{
    MapCheck check;
    MapData map; // filled when check.ok()
};

// Decodes every record the header announces. A code that no table knows
// shows what the cell decoded before it showed.
DecodedMap decodeMap(std::string_view bytes);

// The header as read, then every cell's record (terrain code, owner code,
// 0x01, 0x01); Save follows it with the bytes after the last record as read.
std::string encodeMap(const MapData& map);

} // namespace delvard
