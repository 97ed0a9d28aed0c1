#include "CodeTables.h"

#include <gtest/gtest.h>
#include <set>

using namespace delvard;

TEST(CodeTables, EveryTerrainCodeIsDistinctAndRoundTrips)
{
    std::set<int> codes;
    for (const TerrainRow& row : TerrainTable) {
        codes.insert(row.code);
        ASSERT_EQ(terrainIndexOfCode(row.code), row.toolIndex) << row.toolTip;
        ASSERT_EQ(terrainCodeOfIndex(row.toolIndex), row.code);
    }
    EXPECT_EQ(codes.size(), 35u);
}

TEST(CodeTables, BytesOutsideTheTableAreNotTerrainCodes)
{
    for (int byte : {0x00, 0x1B, 0x1F})
        EXPECT_FALSE(terrainIndexOfCode(static_cast<std::uint8_t>(byte))) << byte;
    for (int byte = 0x26; byte <= 0xFF; ++byte)
        EXPECT_FALSE(terrainIndexOfCode(static_cast<std::uint8_t>(byte))) << byte;
}

TEST(CodeTables, GetTerrainCodeIsTwoUppercaseHexDigits)
{
    EXPECT_EQ(GetTerrainCode(1), "0E");
    EXPECT_EQ(GetTerrainCode(18), "1A");
    EXPECT_EQ(GetTerrainCode(21), "01");
    EXPECT_EQ(GetTerrainCode(35), "1E");
    EXPECT_EQ(GetTerrainCode(0), "");
    EXPECT_EQ(GetTerrainCode(36), "");
    EXPECT_EQ(GetTerrainCode(-35), "");
}

TEST(CodeTables, PaletteNamesKeepTheirSpelling)
{
    EXPECT_EQ(terrainName(6), "Libaray");
    EXPECT_EQ(terrainName(15), "Casion");
    EXPECT_EQ(terrainName(21), "Sold Rock");
    EXPECT_EQ(terrainName(25), "Lave");
    EXPECT_EQ(terrainName(34), "Hero rest");
    EXPECT_EQ(terrainName(35), "Checkerboard");
    EXPECT_EQ(terrainName(0), "");
    EXPECT_EQ(ownerName(1), "Hero");
    EXPECT_EQ(ownerName(7), "Keeper 4");
    EXPECT_EQ(ownerName(0), "");
    EXPECT_EQ(ownerName(8), "");
}

TEST(CodeTables, HeroGatesSitOnButtonsOneAboveTheirIndex)
{
    for (int index = 28; index <= 34; ++index)
        EXPECT_EQ(TerrainTable[index - 1].button, index + 1);
    for (const OwnerRow& row : OwnerTable) {
        EXPECT_EQ(row.picture, 35 + row.ownerCode);
        EXPECT_EQ(row.button, 36 + row.ownerCode);
    }
}
