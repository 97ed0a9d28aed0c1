#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Layout of a map file: a 36-byte header (width at offset 20, height at 24,
// one byte each), then one 4-byte record per cell, row by row, then any
// further bytes, which are never interpreted.
namespace delvard {

inline constexpr std::size_t HeaderSize = 36;
inline constexpr std::size_t RecordSize = 4;
inline constexpr std::size_t WidthOffset = 20;
inline constexpr std::size_t HeightOffset = 24;
inline constexpr int MaxMapSide = 255;

// Offset of the record of row r, column c (both from 1) in a map w cells wide.
constexpr std::size_t recordOffset(int w, int r, int c)
{
    return HeaderSize + RecordSize * (static_cast<std::size_t>(r - 1) * w + (c - 1));
}

// How many records the map window decodes for a header: one per cell, and
// still one when the width or height byte is 0 (element 0 always exists).
constexpr std::size_t recordsToDecode(int width, int height)
{
    const std::size_t cells = static_cast<std::size_t>(width) * height;
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
    std::size_t trailingBytes = 0; // bytes after the last decoded record

    bool ok() const { return problem == MapProblem::None; }
    // One sentence for the user, without the file name.
    std::string reason() const;
};

// Checks that the bytes hold a header and every record it announces.
MapCheck checkMapBytes(std::string_view bytes);

// Decoder state of the map window: the pictures of the record decoded last.
// A code outside the tables leaves its index as the previous record set it;
// both start at 0, which names no picture.
struct RecordDecoder
{
    int TerrainPictureIndex = 0; // terrain tool index 1..35
    int OwnerPictureIndex = 0;   // owner picture 36..42

    struct Outcome
    {
        bool terrainKnown;
        bool ownerKnown;
    };
    // record must hold at least 4 bytes; bytes 2 and 3 are not looked at.
    Outcome decode(std::string_view record);
};

// One cell as the save writes it: terrain code, owner code, 0x01, 0x01.
// Returns false (and leaves out alone) for an index or owner outside the tables.
bool encodeCell(int terrainIndex, int ownerCode, std::uint8_t* out);

// Terrain and owner bytes that the tables did not know, kept per cell as the
// file held them so that a save writes them back unchanged for every cell
// that was not painted since.
class ForeignCodes
{
  public:
    void reset(std::size_t cellCount);
    void note(std::size_t element, std::string_view record, RecordDecoder::Outcome outcome);
    void forget(std::size_t element); // the cell was painted
    // Puts the kept bytes into an encoded record.
    void restore(std::size_t element, std::uint8_t* record) const;

    bool terrainForeign(std::size_t element) const;
    bool ownerForeign(std::size_t element) const;
    std::uint8_t fileTerrain(std::size_t element) const { return terrain_[element]; }
    std::uint8_t fileOwner(std::size_t element) const { return owner_[element]; }
    std::size_t count() const { return count_; }

  private:
    enum : std::uint8_t { TerrainFlag = 1, OwnerFlag = 2 };
    std::vector<std::uint8_t> flags_;
    std::vector<std::uint8_t> terrain_;
    std::vector<std::uint8_t> owner_;
    std::size_t count_ = 0;
};

// A whole map decoded the way the map window decodes it; used by tools that
// need no window.
struct DecodedCell
{
    std::uint8_t terrainIndex; // 0..35, 0 only before any known code
    std::uint8_t ownerCode;    // 0..7, 0 only before any known code
    std::uint8_t fileTerrain;
    std::uint8_t fileOwner;
    bool terrainKnown;
    bool ownerKnown;
};

struct DecodedMap
{
    MapCheck check;
    std::vector<DecodedCell> cells; // recordsToDecode() cells when check.ok()
};

DecodedMap decodeMap(std::string_view bytes);

} // namespace delvard
