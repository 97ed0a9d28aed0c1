#include "CodecFuzzEntry.h"

#include "CodeTables.h"
#include "MapCodec.h"

#include <cstring>
#include <string_view>
#include <vector>

namespace delvard::fuzz {

namespace {

// Always on, unlike assert(): the replay test runs in release builds.
#define CODEC_CHECK(condition)                                                                     \
    do {                                                                                           \
        if (!(condition))                                                                          \
            throw CodecPropertyBroken(std::string(__FILE__ ":") + std::to_string(__LINE__) +       \
                                      ": " #condition);                                            \
    } while (false)

std::uint8_t byteAt(std::string_view bytes, std::size_t offset)
{
    return static_cast<std::uint8_t>(bytes[offset]);
}

void checkHeaderCheck(std::string_view bytes, const MapCheck& check)
{
    CODEC_CHECK(check.fileSize == bytes.size());
    CODEC_CHECK(check.reason().empty() == check.ok());
    if (bytes.size() < HeaderSize) {
        CODEC_CHECK(check.problem == MapProblem::TooShortForHeader);
        return;
    }
    CODEC_CHECK(check.problem != MapProblem::TooShortForHeader);
    CODEC_CHECK(check.width == byteAt(bytes, WidthOffset));
    CODEC_CHECK(check.height == byteAt(bytes, HeightOffset));
    CODEC_CHECK(check.expectedRecords == recordsToDecode(check.width, check.height));
    CODEC_CHECK(check.expectedRecords >= 1);
    CODEC_CHECK(check.foundRecords == (bytes.size() - HeaderSize) / RecordSize);
    CODEC_CHECK(check.ok() == (check.foundRecords >= check.expectedRecords));
    if (check.ok()) {
        CODEC_CHECK(HeaderSize + check.expectedRecords * RecordSize + check.trailingBytes ==
                    bytes.size());
    } else {
        // The message quotes both counts so the user sees how much is missing.
        const std::string reason = check.reason();
        CODEC_CHECK(reason.find(std::to_string(check.expectedRecords)) != std::string::npos);
        CODEC_CHECK(reason.find(std::to_string(check.foundRecords)) != std::string::npos);
    }
}

// Decodes every whole record after the header, as the map window would if
// the file announced them all, and checks each step against the tables.
std::vector<DecodedCell> decodeEveryRecord(std::string_view bytes)
{
    std::vector<DecodedCell> cells;
    if (bytes.size() < HeaderSize)
        return cells;
    RecordDecoder decoder;
    CODEC_CHECK(decoder.TerrainPictureIndex == 0 && decoder.OwnerPictureIndex == 0);
    const std::size_t records = (bytes.size() - HeaderSize) / RecordSize;
    for (std::size_t k = 0; k < records; ++k) {
        const std::string_view record = bytes.substr(HeaderSize + k * RecordSize, RecordSize);
        const int terrainBefore = decoder.TerrainPictureIndex;
        const int ownerBefore = decoder.OwnerPictureIndex;
        const auto outcome = decoder.decode(record);

        const auto index = terrainIndexOfCode(byteAt(record, 0));
        CODEC_CHECK(outcome.terrainKnown == index.has_value());
        if (outcome.terrainKnown) {
            CODEC_CHECK(decoder.TerrainPictureIndex == *index);
            CODEC_CHECK(*index >= 1 && *index <= TerrainCount);
            CODEC_CHECK(terrainCodeOfIndex(*index) == byteAt(record, 0));
        } else {
            CODEC_CHECK(decoder.TerrainPictureIndex == terrainBefore);
        }
        const int owner = byteAt(record, 1);
        CODEC_CHECK(outcome.ownerKnown == isOwnerCode(owner));
        if (outcome.ownerKnown) {
            CODEC_CHECK(decoder.OwnerPictureIndex == FirstOwnerPicture - 1 + owner);
        } else {
            CODEC_CHECK(decoder.OwnerPictureIndex == ownerBefore);
        }
        const int ownerPicture = decoder.OwnerPictureIndex;
        CODEC_CHECK(ownerPicture == 0 || (ownerPicture >= FirstOwnerPicture &&
                                          ownerPicture < FirstOwnerPicture + OwnerCount));
        cells.push_back(
            {static_cast<std::uint8_t>(decoder.TerrainPictureIndex),
             static_cast<std::uint8_t>(ownerPicture == 0 ? 0
                                                         : ownerPicture - (FirstOwnerPicture - 1)),
             byteAt(record, 0), byteAt(record, 1), outcome.terrainKnown, outcome.ownerKnown});
    }
    return cells;
}

void checkDecodedMap(std::string_view bytes, const MapCheck& check,
                     const std::vector<DecodedCell>& everyRecord)
{
    const DecodedMap map = decodeMap(bytes);
    CODEC_CHECK(map.check.problem == check.problem);
    CODEC_CHECK(map.check.width == check.width && map.check.height == check.height);
    CODEC_CHECK(map.check.expectedRecords == check.expectedRecords);
    CODEC_CHECK(map.check.trailingBytes == check.trailingBytes);
    if (!check.ok()) {
        CODEC_CHECK(map.cells.empty());
        return;
    }
    CODEC_CHECK(map.cells.size() == check.expectedRecords);
    CODEC_CHECK(everyRecord.size() >= map.cells.size());
    for (std::size_t k = 0; k < map.cells.size(); ++k) {
        const DecodedCell& cell = map.cells[k];
        const DecodedCell& expected = everyRecord[k];
        CODEC_CHECK(cell.terrainIndex == expected.terrainIndex);
        CODEC_CHECK(cell.ownerCode == expected.ownerCode);
        CODEC_CHECK(cell.fileTerrain == expected.fileTerrain);
        CODEC_CHECK(cell.fileOwner == expected.fileOwner);
        CODEC_CHECK(cell.terrainKnown == expected.terrainKnown);
        CODEC_CHECK(cell.ownerKnown == expected.ownerKnown);
    }
}

// What a save of the unpainted map writes: each cell encoded from its
// decoded codes, then the file's own bytes put back where the tables did not
// know them. Bytes 0 and 1 must come out as the file held them.
void checkSaveRoundTrip(std::string_view bytes, const std::vector<DecodedCell>& cells)
{
    ForeignCodes foreign;
    foreign.reset(cells.size());
    CODEC_CHECK(foreign.count() == 0);
    std::size_t foreignCells = 0;
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const std::string_view record = bytes.substr(HeaderSize + k * RecordSize, RecordSize);
        foreign.note(k, record, {cells[k].terrainKnown, cells[k].ownerKnown});
        if (!cells[k].terrainKnown || !cells[k].ownerKnown)
            ++foreignCells;
    }
    CODEC_CHECK(foreign.count() == foreignCells);

    for (std::size_t k = 0; k < cells.size(); ++k) {
        const DecodedCell& cell = cells[k];
        CODEC_CHECK(foreign.terrainForeign(k) == !cell.terrainKnown);
        CODEC_CHECK(foreign.ownerForeign(k) == !cell.ownerKnown);
        CODEC_CHECK(foreign.fileTerrain(k) == cell.fileTerrain);
        CODEC_CHECK(foreign.fileOwner(k) == cell.fileOwner);

        std::uint8_t out[RecordSize] = {0xAA, 0xAA, 0xAA, 0xAA};
        const bool encoded = encodeCell(cell.terrainIndex, cell.ownerCode, out);
        // Only a cell before the first known code has nothing to encode.
        CODEC_CHECK(encoded == (cell.terrainIndex != 0 && cell.ownerCode != 0));
        if (!encoded) {
            CODEC_CHECK(out[0] == 0xAA && out[1] == 0xAA && out[2] == 0xAA && out[3] == 0xAA);
            continue;
        }
        CODEC_CHECK(out[2] == 0x01 && out[3] == 0x01);
        if (cell.terrainKnown)
            CODEC_CHECK(out[0] == cell.fileTerrain);
        if (cell.ownerKnown)
            CODEC_CHECK(out[1] == cell.fileOwner);

        RecordDecoder again;
        const auto outcome = again.decode({reinterpret_cast<const char*>(out), RecordSize});
        CODEC_CHECK(outcome.terrainKnown && outcome.ownerKnown);
        CODEC_CHECK(again.TerrainPictureIndex == cell.terrainIndex);
        CODEC_CHECK(again.OwnerPictureIndex == FirstOwnerPicture - 1 + cell.ownerCode);

        foreign.restore(k, out);
        CODEC_CHECK(out[0] == cell.fileTerrain && out[1] == cell.fileOwner);
        CODEC_CHECK(out[2] == 0x01 && out[3] == 0x01);
    }

    // Painting a cell drops its kept bytes; beyond the map nothing happens.
    std::uint8_t untouched[RecordSize] = {1, 2, 3, 4};
    foreign.restore(cells.size(), untouched);
    CODEC_CHECK(untouched[0] == 1 && untouched[1] == 2);
    CODEC_CHECK(!foreign.terrainForeign(cells.size()) && !foreign.ownerForeign(cells.size()));
    foreign.forget(cells.size());
    std::size_t remaining = foreignCells;
    for (std::size_t k = 0; k < cells.size(); k += 2) {
        const bool wasForeign = foreign.terrainForeign(k) || foreign.ownerForeign(k);
        foreign.forget(k);
        foreign.forget(k);
        if (wasForeign)
            --remaining;
        CODEC_CHECK(!foreign.terrainForeign(k) && !foreign.ownerForeign(k));
        CODEC_CHECK(foreign.count() == remaining);
        std::uint8_t painted[RecordSize] = {0x0E, 0x01, 0x01, 0x01};
        foreign.restore(k, painted);
        CODEC_CHECK(painted[0] == 0x0E && painted[1] == 0x01);
    }
}

void checkTerrainCode(int toolIndex)
{
    const std::string text = GetTerrainCode(toolIndex);
    const auto code = terrainCodeOfIndex(toolIndex);
    CODEC_CHECK(code.has_value() == (toolIndex >= 1 && toolIndex <= TerrainCount));
    if (!code) {
        CODEC_CHECK(text.empty());
        CODEC_CHECK(terrainName(toolIndex).empty());
        return;
    }
    CODEC_CHECK(text.size() == 2);
    int value = 0;
    for (const char digit : text) {
        const bool decimal = digit >= '0' && digit <= '9';
        const bool upperHex = digit >= 'A' && digit <= 'F';
        CODEC_CHECK(decimal || upperHex);
        value = value * 16 + (decimal ? digit - '0' : digit - 'A' + 10);
    }
    CODEC_CHECK(value == *code);
    // The tables are a one-to-one match between indices and codes.
    CODEC_CHECK(terrainIndexOfCode(static_cast<std::uint8_t>(value)) == toolIndex);
    CODEC_CHECK(!terrainName(toolIndex).empty());
}

void checkEncodeOfArbitraryCodes(std::string_view bytes)
{
    for (std::size_t k = 0; k + 1 < bytes.size() && k < 64; k += 2) {
        const int terrain = static_cast<std::int8_t>(bytes[k]);
        const int owner = static_cast<std::int8_t>(bytes[k + 1]);
        std::uint8_t out[RecordSize] = {0xAA, 0xAA, 0xAA, 0xAA};
        const bool expected = terrain >= 1 && terrain <= TerrainCount && isOwnerCode(owner);
        CODEC_CHECK(encodeCell(terrain, owner, out) == expected);
        if (!expected)
            CODEC_CHECK(out[0] == 0xAA && out[1] == 0xAA);
        checkTerrainCode(terrain);
        CODEC_CHECK(ownerName(owner).empty() == !isOwnerCode(owner));
    }
}

} // namespace

void runCodecOnBytes(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const MapCheck check = checkMapBytes(bytes);
    checkHeaderCheck(bytes, check);
    const std::vector<DecodedCell> everyRecord = decodeEveryRecord(bytes);
    checkDecodedMap(bytes, check, everyRecord);
    if (check.ok()) {
        const std::vector<DecodedCell> mapCells(
            everyRecord.begin(),
            everyRecord.begin() + static_cast<std::ptrdiff_t>(check.expectedRecords));
        checkSaveRoundTrip(bytes, mapCells);
    }
    checkEncodeOfArbitraryCodes(bytes);
    for (int toolIndex = -1; toolIndex <= TerrainCount + 1; ++toolIndex)
        checkTerrainCode(toolIndex);
    if (size >= 4) {
        int wide = 0;
        std::memcpy(&wide, data, sizeof wide);
        checkTerrainCode(wide);
    }
}

} // namespace delvard::fuzz
