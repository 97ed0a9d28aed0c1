// The three-way merge of map files, unit by unit, on bytes made here.

#include "MapMerge.h"
#include "MapBytes.h"
#include "MapFormat.h"

#include <gtest/gtest.h>

using namespace delvard;

namespace {

// A 3 x 2 map of Rock owned by Neutral, records as the editor writes them.
std::string baseMap(std::string trailing = "END")
{
    return mapBytes(3, 2,
                    {{0x02, 0x02, 1, 1},
                     {0x02, 0x02, 1, 1},
                     {0x02, 0x02, 1, 1},
                     {0x02, 0x02, 1, 1},
                     {0x02, 0x02, 1, 1},
                     {0x02, 0x02, 1, 1}},
                    std::move(trailing));
}

std::string withByte(std::string bytes, std::size_t offset, char value)
{
    bytes.replace(offset, 1, 1, value); // operator[] makes GCC 12 see a write past a short string
    return bytes;
}

// Record k's byte i.
constexpr std::size_t at(std::size_t k, std::size_t i = 0)
{
    return HeaderSize + k * RecordSize + i;
}

} // namespace

TEST(MapMerge, AUnitChangedOnOneSideOrAlikeOnBothTakesTheChange)
{
    const std::string base = baseMap();
    const struct
    {
        const char* what;
        std::string ours;
        std::string theirs;
        std::string merged;
    } cases[] = {
        {"different cells", withByte(base, at(0), 0x0B), withByte(base, at(5, 1), 0x04),
         withByte(withByte(base, at(0), 0x0B), at(5, 1), 0x04)},
        {"the same cell alike", withByte(base, at(2), 0x0E), withByte(base, at(2), 0x0E),
         withByte(base, at(2), 0x0E)},
        {"a cell's unread byte and a header byte", withByte(base, at(1, 3), 0x07),
         withByte(base, 3, 0x55), withByte(withByte(base, 3, 0x55), at(1, 3), 0x07)},
        {"the tail on their side", withByte(base, at(4), 0x03), baseMap("longer tail"),
         withByte(baseMap("longer tail"), at(4), 0x03)},
        {"nothing", base, base, base},
    };
    for (const auto& c : cases) {
        const MapMerge merge = mergeMaps(base, c.ours, c.theirs);
        EXPECT_FALSE(merge.refused) << c.what;
        EXPECT_EQ(merge.merged, c.merged) << c.what;
        EXPECT_TRUE(merge.conflicts.empty()) << c.what;
        // The other way round gives the same map.
        EXPECT_EQ(mergeMaps(base, c.theirs, c.ours).merged, c.merged) << c.what;
    }
}

TEST(MapMerge, UnitsChangedDifferentlyOnBothSidesKeepOursAndAreEachListed)
{
    const std::string base = baseMap();
    // Row 2, column 2 painted differently, a header byte and the tail too;
    // their change to row 1, column 3 still comes in.
    const std::string ours = withByte(withByte(baseMap("OURS"), at(4), 0x0B), 7, 0x10);
    const std::string theirs =
        withByte(withByte(withByte(baseMap("THEIRS"), at(4, 1), 0x05), 7, 0x20), at(2), 0x04);
    const MapMerge merge = mergeMaps(base, ours, theirs);
    ASSERT_FALSE(merge.refused);
    EXPECT_EQ(merge.merged, withByte(ours, at(2), 0x04));
    ASSERT_EQ(merge.conflicts.size(), 3u);

    const MergeConflict& header = merge.conflicts[0];
    EXPECT_EQ(header.unit.kind, MergeUnit::Kind::HeaderByte);
    EXPECT_EQ(header.unit.offset, 7u);
    EXPECT_EQ(header.base, std::string(1, '\x07'));
    EXPECT_EQ(header.ours, std::string(1, '\x10'));
    EXPECT_EQ(header.theirs, std::string(1, '\x20'));

    const MergeConflict& cell = merge.conflicts[1];
    EXPECT_EQ(cell.unit.kind, MergeUnit::Kind::Record);
    EXPECT_EQ(cell.unit.record, 4u);
    EXPECT_EQ(cell.unit.offset, at(4));
    EXPECT_EQ(cell.base, base.substr(at(4), 4));
    EXPECT_EQ(cell.ours, ours.substr(at(4), 4));
    EXPECT_EQ(cell.theirs, theirs.substr(at(4), 4));

    const MergeConflict& tail = merge.conflicts[2];
    EXPECT_EQ(tail.unit.kind, MergeUnit::Kind::Tail);
    EXPECT_EQ(tail.base, "END");
    EXPECT_EQ(tail.ours, "OURS");
    EXPECT_EQ(tail.theirs, "THEIRS");
}

TEST(MapMerge, VersionsOfAnotherSizeOrNotWholeAreRefused)
{
    const std::string base = baseMap();
    const std::string wider = withByte(base, WidthOffset, 2); // 2 x 2: records 5 and 6 are a tail
    const std::string cut = base.substr(0, at(4));
    for (const auto& [ours, theirs] : {std::pair{wider, base}, std::pair{base, wider},
                                       std::pair{wider, wider}, std::pair{cut, base}}) {
        const MapMerge merge = mergeMaps(base, ours, theirs);
        EXPECT_TRUE(merge.refused);
        EXPECT_TRUE(merge.merged.empty());
    }
}

TEST(MapMerge, AMapWithoutWidthMergesItsOneRecord)
{
    const std::string base = mapBytes(0, 4, {{0x02, 0x02, 1, 1}}, "xyz");
    const MapMerge merge = mergeMaps(base, withByte(base, at(0), 0x03), withByte(base, at(1), 'X'));
    ASSERT_FALSE(merge.refused);
    EXPECT_EQ(merge.merged, withByte(withByte(base, at(0), 0x03), at(1), 'X'));
}
