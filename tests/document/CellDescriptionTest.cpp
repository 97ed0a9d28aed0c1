#include "document/CellDescription.h"
#include "tests/document/MapBytes.h"

#include <gtest/gtest.h>

using namespace delvard;

// The words for a cell say what the file holds and what the map shows; the
// two part only where a code is one no table knows.
TEST(DescribeCell, StoredAndShownPartOnlyForUnknownCodes)
{
    // Row 1: an unknown owner before any known one, then Treasury/Player,
    // then an unknown terrain, which shows the Treasury before it.
    const DecodedMap decoded =
        decodeMap(mapBytes(3, 1, {{0x0A, 0x09, 1, 1}, {0x0A, 0x03, 1, 1}, {0x30, 0x03, 1, 1}}));
    ASSERT_TRUE(decoded.check.ok());
    const struct
    {
        int column;
        const char* terrain;
        const char* owner;
        const char* shownTerrain;
        const char* shownOwner;
        bool terrainByName;
        bool ownerByName;
    } cases[] = {
        {1, "Treasury", "unknown 0x09", "Treasury", "a dark grey ground", true, false},
        {2, "Treasury", "Player", "Treasury", "Player", true, true},
        {3, "unknown 0x30", "Player", "Treasury", "Player", true, true},
    };
    for (const auto& c : cases) {
        const CellWords words = describeCell(decoded.map, {1, c.column});
        EXPECT_EQ(words.place, (CellPosition{1, c.column}));
        EXPECT_EQ(words.terrain, c.terrain) << c.column;
        EXPECT_EQ(words.owner, c.owner) << c.column;
        EXPECT_EQ(words.shownTerrain, c.shownTerrain) << c.column;
        EXPECT_EQ(words.shownOwner, c.shownOwner) << c.column;
        EXPECT_EQ(words.terrainShownByName, c.terrainByName) << c.column;
        EXPECT_EQ(words.ownerShownByName, c.ownerByName) << c.column;
    }
    const DecodedMap first = decodeMap(mapBytes(1, 1, {{0xFF, 0x02, 1, 1}}));
    EXPECT_EQ(describeCell(first.map, {1, 1}).shownTerrain, "a question mark");
    EXPECT_EQ(describeCell(first.map, {1, 1}).terrain, "unknown 0xFF");
}
