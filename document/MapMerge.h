#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A three-way merge of map files, piece by piece rather than line by line:
// each cell's 4-byte record, each header byte and the bytes after the last
// record (as one piece) is a unit. A unit changed on one side only takes
// that side's value, as does one changed on both sides to the same value;
// one changed on both sides differently is a conflict and keeps ours. So two
// people who paint different cells of one map never conflict, and those who
// paint the same cell are told which cell.
namespace delvard {

struct MergeUnit
{
    enum class Kind { HeaderByte, Record, Tail };
    Kind kind = Kind::Record;
    std::size_t offset = 0; // where the unit starts in the file
    std::size_t record = 0; // Record: its number, from 0
};

struct MergeConflict
{
    MergeUnit unit;
    // The unit's bytes in each version.
    std::string base;
    std::string ours;
    std::string theirs;
};

struct MapMerge
{
    // The versions are not all whole maps, or not all of one width and
    // height; nothing was merged.
    bool refused = false;
    std::string merged; // ours with the units taken from theirs
    std::vector<MergeConflict> conflicts;
};

// base, ours and theirs are map files' bytes.
MapMerge mergeMaps(std::string_view base, std::string_view ours, std::string_view theirs);

} // namespace delvard
