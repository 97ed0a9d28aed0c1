#include "MapSummary.h"
#include "TestMaps.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

TEST(MapSummaryTest, CountsEveryCellOnceByWhatTheEditorShows)
{
    TestMap m(6, 5); // 18 ring cells of Rock, 12 of Dirt
    m.set(2, 2, 3, 3).set(2, 3, 3, 3).set(3, 3, 35, 7);
    m.setBytes(3, 4, 0x27, 0x00); // both unknown: shows Checkerboard / Keeper 4
    const MapSummary s = summarizeMap(decoded(m.bytes()));

    EXPECT_EQ(std::accumulate(s.terrainCounts.begin(), s.terrainCounts.end(), 0), 30);
    EXPECT_EQ(std::accumulate(s.ownerCounts.begin(), s.ownerCounts.end(), 0), 30);
    EXPECT_EQ(s.terrainCounts[22], 18);
    EXPECT_EQ(s.terrainCounts[23], 8);
    EXPECT_EQ(s.terrainCounts[3], 2);
    EXPECT_EQ(s.terrainCounts[35], 2);
    EXPECT_EQ(s.ownerCounts[3], 2);
    EXPECT_EQ(s.ownerCounts[7], 2);
    EXPECT_EQ(s.ownerCounts[2], 26);

    ASSERT_EQ(s.unknownCodes.size(), 2u);
    EXPECT_EQ(s.unknownCodes[0].kind, UnknownCode::Terrain);
    EXPECT_EQ(s.unknownCodes[0].row, 3);
    EXPECT_EQ(s.unknownCodes[0].column, 4);
    EXPECT_EQ(s.unknownCodes[0].fileByte, 0x27);
    EXPECT_EQ(s.unknownCodes[0].shownAs, 35);
    EXPECT_EQ(s.unknownCodes[1].kind, UnknownCode::Owner);
    EXPECT_EQ(s.unknownCodes[1].fileByte, 0x00);
    EXPECT_EQ(s.unknownCodes[1].shownAs, 7);
}

TEST(MapSummaryTest, LeadingUnknownCodeCountsAsNone)
{
    TestMap m(3, 3);
    m.setBytes(1, 1, 0xFF, 0x08);
    const MapSummary s = summarizeMap(decoded(m.bytes()));
    EXPECT_EQ(s.terrainCounts[0], 1);
    EXPECT_EQ(s.ownerCounts[0], 1);
    ASSERT_EQ(s.unknownCodes.size(), 2u);
    EXPECT_EQ(s.unknownCodes[0].shownAs, 0);
    EXPECT_EQ(terrainLabel(0), QStringLiteral("none"));
    EXPECT_EQ(terrainLabel(35), QStringLiteral("Checkerboard"));
    EXPECT_EQ(terrainLabel(6), QStringLiteral("Libaray"));
    EXPECT_EQ(ownerLabel(4), QStringLiteral("Keeper 1"));
    EXPECT_EQ(hexByte(0xFF), QStringLiteral("0xFF"));
    EXPECT_EQ(hexByte(0x08), QStringLiteral("0x08"));
}

TEST(MapSummaryTest, ZeroWidthMapStillHasItsOneCellAtRowOneColumnOne)
{
    TestMap m(0, 4);
    m.setBytes(1, 1, 0x00, 0x03);
    const MapSummary s = summarizeMap(decoded(m.bytes()));
    ASSERT_EQ(s.unknownCodes.size(), 1u);
    EXPECT_EQ(s.unknownCodes[0].row, 1);
    EXPECT_EQ(s.unknownCodes[0].column, 1);
    EXPECT_EQ(s.ownerCounts[3], 1);
}

} // namespace
