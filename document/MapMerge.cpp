#include "document/MapMerge.h"

#include "document/MapFormat.h"

#include <algorithm>

namespace delvard {

namespace {

// The units of a whole map, in file order.
std::vector<MergeUnit> unitsOf(const MapCheck& check)
{
    std::vector<MergeUnit> units;
    units.reserve(HeaderSize + check.expectedRecords + 1);
    for (std::size_t offset = 0; offset < HeaderSize; ++offset)
        units.push_back({MergeUnit::Kind::HeaderByte, offset, 0});
    for (std::size_t k = 0; k < check.expectedRecords; ++k)
        units.push_back({MergeUnit::Kind::Record, HeaderSize + k * RecordSize, k});
    units.push_back({MergeUnit::Kind::Tail, HeaderSize + check.expectedRecords * RecordSize, 0});
    return units;
}

std::string_view unitBytes(std::string_view file, const MergeUnit& unit)
{
    switch (unit.kind) {
    case MergeUnit::Kind::HeaderByte:
        return file.substr(unit.offset, 1);
    case MergeUnit::Kind::Record:
        return file.substr(unit.offset, RecordSize);
    case MergeUnit::Kind::Tail:
        return file.substr(unit.offset);
    }
    return {};
}

} // namespace

MapMerge mergeMaps(std::string_view base, std::string_view ours, std::string_view theirs)
{
    MapMerge result;
    const MapCheck baseCheck = checkMapBytes(base);
    const MapCheck ourCheck = checkMapBytes(ours);
    const MapCheck theirCheck = checkMapBytes(theirs);
    const auto sameSize = [&ourCheck](const MapCheck& check) {
        return check.width == ourCheck.width && check.height == ourCheck.height;
    };
    // With the width and height bytes equal, every version has the same
    // units at the same offsets; only the tails may differ in length.
    if (!baseCheck.ok() || !ourCheck.ok() || !theirCheck.ok() || !sameSize(baseCheck) ||
        !sameSize(theirCheck)) {
        result.refused = true;
        return result;
    }
    result.merged.reserve(std::max(ours.size(), theirs.size()));
    for (const MergeUnit& unit : unitsOf(ourCheck)) {
        const std::string_view b = unitBytes(base, unit);
        const std::string_view o = unitBytes(ours, unit);
        const std::string_view t = unitBytes(theirs, unit);
        if (o == t || b == t) {
            result.merged += o;
        } else if (b == o) {
            result.merged += t;
        } else {
            result.merged += o;
            result.conflicts.push_back({unit, std::string(b), std::string(o), std::string(t)});
        }
    }
    return result;
}

} // namespace delvard
