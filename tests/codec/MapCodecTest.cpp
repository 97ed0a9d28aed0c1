#include "MapCodec.h"
#include "CodeTables.h"
#include "MapBytes.h"

#include <gtest/gtest.h>

using namespace delvard;

namespace {

std::string record(std::uint8_t a, std::uint8_t b, std::uint8_t c = 0, std::uint8_t d = 0)
{
    return {static_cast<char>(a), static_cast<char>(b), static_cast<char>(c), static_cast<char>(d)};
}

} // namespace

TEST(RecordDecoder, DecodesTerrainAndOwnerAndIgnoresBytesTwoAndThree)
{
    struct Case
    {
        std::string bytes;
        int terrain;
        int ownerPicture;
    };
    const Case cases[] = {
        {record(0x0E, 0x03, 0x00, 0x00), 1, 38},
        {record(0x01, 0x02, 0x05, 0x07), 21, 37},
        {record(0x1E, 0x03, 0xFF, 0xFF), 35, 38},
        {record(0x23, 0x07), 34, 42},
        {record(0x25, 0x01), 33, 36},
    };
    for (const Case& c : cases) {
        RecordDecoder decoder;
        const auto outcome = decoder.decode(c.bytes);
        EXPECT_TRUE(outcome.terrainKnown && outcome.ownerKnown);
        EXPECT_EQ(decoder.TerrainPictureIndex, c.terrain);
        EXPECT_EQ(decoder.OwnerPictureIndex, c.ownerPicture);
    }
}

TEST(RecordDecoder, UnknownCodesKeepThePreviousRecordsValues)
{
    RecordDecoder decoder;
    auto first = decoder.decode(record(0x3F, 0x00));
    EXPECT_FALSE(first.terrainKnown);
    EXPECT_FALSE(first.ownerKnown);
    EXPECT_EQ(decoder.TerrainPictureIndex, 0); // nothing earlier to keep
    EXPECT_EQ(decoder.OwnerPictureIndex, 0);

    decoder.decode(record(0x0C, 0x04));
    auto later = decoder.decode(record(0x1F, 0x08));
    EXPECT_FALSE(later.terrainKnown);
    EXPECT_FALSE(later.ownerKnown);
    EXPECT_EQ(decoder.TerrainPictureIndex, 2);
    EXPECT_EQ(decoder.OwnerPictureIndex, 39);

    auto mixed = decoder.decode(record(0x07, 0xFF));
    EXPECT_TRUE(mixed.terrainKnown);
    EXPECT_FALSE(mixed.ownerKnown);
    EXPECT_EQ(decoder.TerrainPictureIndex, 27);
    EXPECT_EQ(decoder.OwnerPictureIndex, 39);
}

TEST(EncodeCell, IsTheInverseOfTheDecoderForEveryTerrainAndOwner)
{
    for (int terrain = 1; terrain <= TerrainCount; ++terrain) {
        for (int owner = 1; owner <= OwnerCount; ++owner) {
            std::uint8_t bytes[4] = {};
            ASSERT_TRUE(encodeCell(terrain, owner, bytes));
            EXPECT_EQ(bytes[2], 0x01);
            EXPECT_EQ(bytes[3], 0x01);
            RecordDecoder decoder;
            decoder.decode({reinterpret_cast<const char*>(bytes), 4});
            EXPECT_EQ(decoder.TerrainPictureIndex, terrain);
            EXPECT_EQ(decoder.OwnerPictureIndex, 35 + owner);
        }
    }
}

TEST(EncodeCell, RefusesValuesOutsideTheTables)
{
    std::uint8_t bytes[4] = {9, 9, 9, 9};
    EXPECT_FALSE(encodeCell(0, 1, bytes));
    EXPECT_FALSE(encodeCell(36, 1, bytes));
    EXPECT_FALSE(encodeCell(1, 0, bytes));
    EXPECT_FALSE(encodeCell(1, -35, bytes));
    EXPECT_FALSE(encodeCell(1, 8, bytes));
    EXPECT_EQ(bytes[0], 9); // untouched
}

TEST(MapLayout, RecordOffsetsFollowRowsThenColumns)
{
    EXPECT_EQ(recordOffset(10, 1, 1), 36u);
    EXPECT_EQ(recordOffset(10, 2, 1), 76u);
    EXPECT_EQ(recordOffset(255, 255, 255), 36u + 4u * (255u * 255u - 1u));
}

TEST(CheckMapBytes, ReportsEachKindOfDamage)
{
    struct Case
    {
        const char* name;
        std::string bytes;
        MapProblem problem;
        std::size_t expected;
        std::size_t found;
    };
    const std::string full10x8 = mapBytes(10, 8) + std::string(4 * 80, '\x0E');
    const Case cases[] = {
        {"empty file", std::string(), MapProblem::TooShortForHeader, 0, 0},
        {"35 bytes", std::string(35, 'x'), MapProblem::TooShortForHeader, 0, 0},
        {"whole 10x8", full10x8, MapProblem::None, 80, 80},
        {"one record short", full10x8.substr(0, full10x8.size() - 4), MapProblem::TruncatedBody, 80,
         79},
        {"one byte short", full10x8.substr(0, full10x8.size() - 1), MapProblem::TruncatedBody, 80,
         79},
        {"header only", mapBytes(3, 2), MapProblem::TruncatedBody, 6, 0},
        {"width 0 with one record", mapBytes(0, 5, {{0x0E, 1, 1, 1}}), MapProblem::None, 1, 1},
        {"height 0 without a record", mapBytes(4, 0), MapProblem::TruncatedBody, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MapCheck check = checkMapBytes(c.bytes);
        EXPECT_EQ(check.problem, c.problem);
        EXPECT_EQ(check.fileSize, c.bytes.size());
        if (c.problem != MapProblem::TooShortForHeader) {
            EXPECT_EQ(check.expectedRecords, c.expected);
            EXPECT_EQ(check.foundRecords, c.found);
        }
        EXPECT_EQ(check.ok(), c.problem == MapProblem::None);
        EXPECT_EQ(check.reason().empty(), c.problem == MapProblem::None);
    }
}

TEST(CheckMapBytes, ReasonsNameTheNumbers)
{
    const MapCheck truncated = checkMapBytes(mapBytes(3, 2, {{0x0E, 1, 1, 1}}));
    EXPECT_NE(truncated.reason().find("6 cell records were expected"), std::string::npos);
    EXPECT_NE(truncated.reason().find("only 1"), std::string::npos);
    const MapCheck shortFile = checkMapBytes(std::string(20, 'x'));
    EXPECT_NE(shortFile.reason().find("20 bytes"), std::string::npos);
}

TEST(CheckMapBytes, CountsBytesAfterTheLastRecord)
{
    const auto bytes = mapBytes(1, 2, {{0x0E, 1, 1, 1}, {0x0E, 1, 1, 1}}, "xyz12");
    const MapCheck check = checkMapBytes(bytes);
    ASSERT_TRUE(check.ok());
    EXPECT_EQ(check.trailingBytes, 5u);
}

TEST(ForeignCodes, KeepsFileBytesUntilTheCellIsPainted)
{
    ForeignCodes foreign;
    foreign.reset(3);
    foreign.note(0, record(0x3F, 0x02), {false, true});
    foreign.note(1, record(0x0E, 0x09), {true, false});
    foreign.note(2, record(0x0E, 0x01), {true, true});
    EXPECT_EQ(foreign.count(), 2u);

    std::uint8_t out[4] = {0x0E, 0x03, 1, 1};
    foreign.restore(0, out);
    EXPECT_EQ(out[0], 0x3F);
    EXPECT_EQ(out[1], 0x03); // the owner was understood: the cell's own value stays

    std::uint8_t out1[4] = {0x0C, 0x04, 1, 1};
    foreign.restore(1, out1);
    EXPECT_EQ(out1[0], 0x0C);
    EXPECT_EQ(out1[1], 0x09);

    foreign.forget(1);
    std::uint8_t painted[4] = {0x0C, 0x04, 1, 1};
    foreign.restore(1, painted);
    EXPECT_EQ(painted[1], 0x04);
    EXPECT_EQ(foreign.count(), 1u);
    foreign.forget(1); // twice is harmless
    EXPECT_EQ(foreign.count(), 1u);
}

TEST(DecodeMap, DecodesEveryCellInFileOrder)
{
    const auto bytes = mapBytes(
        2, 2, {{0x0E, 3, 0, 0}, {0x55, 0x55, 0, 0}, {0x1E, 7, 0, 0}, {0x07, 2, 0, 0}}, "tail");
    const DecodedMap map = decodeMap(bytes);
    ASSERT_TRUE(map.check.ok());
    ASSERT_EQ(map.cells.size(), 4u);
    EXPECT_EQ(map.cells[0].terrainIndex, 1);
    EXPECT_EQ(map.cells[0].ownerCode, 3);
    EXPECT_EQ(map.cells[1].terrainIndex, 1); // unknown: the previous cell's
    EXPECT_EQ(map.cells[1].ownerCode, 3);
    EXPECT_FALSE(map.cells[1].terrainKnown);
    EXPECT_EQ(map.cells[1].fileTerrain, 0x55);
    EXPECT_EQ(map.cells[2].terrainIndex, 35);
    EXPECT_EQ(map.cells[3].terrainIndex, 27);
    EXPECT_EQ(map.check.trailingBytes, 4u);
}
