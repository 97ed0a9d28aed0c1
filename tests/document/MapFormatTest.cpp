#include "document/MapFormat.h"
#include "tests/document/MapBytes.h"

#include <gtest/gtest.h>

using namespace delvard;

namespace {

std::string recordsOf(const std::string& saved)
{
    return saved.substr(HeaderSize);
}

} // namespace

// Worked examples of the record format: what a record shows, and what a
// save writes back for it.
TEST(MapFormat, RecordsDecodeAndSaveBackWithBytesTwoAndThreeAsOne)
{
    const std::string file = mapBytes(
        3, 1, {{0x0E, 0x03, 0x00, 0x00}, {0x01, 0x02, 0x05, 0x07}, {0x1E, 0x07, 9, 9}}, "tail");
    const DecodedMap decoded = decodeMap(file);
    ASSERT_TRUE(decoded.check.ok());
    const MapData& map = decoded.map;
    EXPECT_EQ(map.at({1, 1}).terrain, Terrain::Heart);
    EXPECT_EQ(map.at({1, 1}).owner, Owner::Player);
    EXPECT_EQ(map.at({1, 2}).terrain, Terrain::SolidRock);
    EXPECT_EQ(map.at({1, 3}).terrain, Terrain::Checkerboard);
    EXPECT_EQ(map.trailing, "tail");
    EXPECT_EQ(map.header, file.substr(0, 36));
    EXPECT_EQ(recordsOf(encodeMap(map)), std::string("\x0E\x03\x01\x01"
                                                     "\x01\x02\x01\x01"
                                                     "\x1E\x07\x01\x01",
                                                     12));
}

// A code no table knows shows the cell decoded before it, and a save gives
// the cell its own bytes back; before any known code a cell shows None.
TEST(MapFormat, UnknownCodesShowThePreviousCellAndKeepTheirBytes)
{
    const std::string file = mapBytes(
        2, 2, {{0x30, 0x09, 1, 1}, {0x03, 0x09, 1, 1}, {0x40, 0x05, 1, 1}, {0x16, 0x00, 1, 1}});
    const MapData map = decodeMap(file).map;
    EXPECT_EQ(map.at({1, 1}).terrain, Terrain::None);
    EXPECT_EQ(map.at({1, 1}).owner, Owner::None);
    EXPECT_FALSE(map.at({1, 1}).terrainKnown());
    EXPECT_EQ(map.at({1, 2}).terrain, Terrain::Dirt);
    EXPECT_EQ(map.at({1, 2}).owner, Owner::None);
    EXPECT_EQ(map.at({2, 1}).terrain, Terrain::Dirt);
    EXPECT_EQ(map.at({2, 1}).owner, Owner::Keeper2);
    EXPECT_EQ(map.at({2, 2}).owner, Owner::Keeper2);
    EXPECT_EQ(recordsOf(encodeMap(map)), std::string("\x30\x09\x01\x01"
                                                     "\x03\x09\x01\x01"
                                                     "\x40\x05\x01\x01"
                                                     "\x16\x00\x01\x01",
                                                     16));
}

// A header with a width or height of 0 still decodes one record, shown at
// row 1, column 1; it is no record of the map, so a save gives its bytes
// back with those that follow.
TEST(MapFormat, AnEmptySideStillDecodesOneRecord)
{
    const std::string file = mapBytes(0, 3, {{0x04, 0x02, 0, 0}}, "xy");
    const DecodedMap decoded = decodeMap(file);
    ASSERT_TRUE(decoded.check.ok());
    ASSERT_EQ(decoded.map.cells.size(), 1u);
    EXPECT_EQ(decoded.map.cells[0].terrain, Terrain::Water);
    EXPECT_EQ(decoded.check.trailingBytes, 6u);
    EXPECT_EQ(encodeMap(decoded.map) + decoded.map.trailing, file);
}
