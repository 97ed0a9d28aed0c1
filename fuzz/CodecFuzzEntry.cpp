#include "fuzz/CodecFuzzEntry.h"

#include "document/CodeTables.h"
#include "document/MapFormat.h"
#include "document/MapMerge.h"
#include "document/MapText.h"
#include "document/PaintRule.h"

#include <string_view>

using namespace delvard;

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
        CODEC_CHECK(HeaderSize + storedRecords(check.width, check.height) * RecordSize +
                        check.trailingBytes ==
                    bytes.size());
    } else {
        CODEC_CHECK(check.problem == MapProblem::TruncatedBody);
    }
}

// Every cell as the file's bytes make it: a known code shows itself, an
// unknown one what the cell before it showed (None before any known code),
// and the cell keeps both of its bytes.
void checkDecodedMap(std::string_view bytes, const MapCheck& check)
{
    const DecodedMap decoded = decodeMap(bytes);
    CODEC_CHECK(decoded.check.problem == check.problem);
    if (!check.ok()) {
        CODEC_CHECK(decoded.map.cells.empty());
        return;
    }
    const MapData& map = decoded.map;
    CODEC_CHECK(map.cells.size() == check.expectedRecords);
    CODEC_CHECK(map.header == bytes.substr(0, HeaderSize));
    CODEC_CHECK(map.trailing.size() == check.trailingBytes);
    Terrain terrain = Terrain::None;
    Owner owner = Owner::None;
    for (std::size_t k = 0; k < map.cells.size(); ++k) {
        const Cell& cell = map.cells[k];
        const std::size_t offset = HeaderSize + k * RecordSize;
        CODEC_CHECK(cell.terrainCode == byteAt(bytes, offset));
        CODEC_CHECK(cell.ownerCode == byteAt(bytes, offset + 1));
        if (const auto known = terrainOfCode(cell.terrainCode)) {
            CODEC_CHECK(codeOfTerrain(*known) == cell.terrainCode);
            terrain = *known;
        }
        if (const auto known = ownerOfCode(cell.ownerCode))
            owner = *known;
        CODEC_CHECK(cell.terrain == terrain && cell.owner == owner);
    }

    // A save of the unpainted map gives the file back: every byte as it was
    // but bytes 2 and 3 of the width x height records, which are 0x01,
    // whatever the map's shape (a side of 0, bytes after the records).
    std::string expected(bytes);
    const std::size_t records = storedRecords(map.width, map.height);
    for (std::size_t k = 0; k < records; ++k)
        expected.replace(HeaderSize + k * RecordSize + 2, 2, "\x01\x01");
    CODEC_CHECK(encodeMap(map) + map.trailing == expected);
}

// The painting rule on arbitrary clicks: a taken click stays inside the
// ring and changes one cell or a 5 x 5 block; any area lies on the map.
void checkPaintRule(std::string_view bytes)
{
    for (std::size_t k = 0; k + 4 < bytes.size() && k < 80; k += 5) {
        const int width = byteAt(bytes, k) % 16;
        const int height = byteAt(bytes, k + 1) % 16;
        const int row = byteAt(bytes, k + 2) % 18 - 1;
        const int column = byteAt(bytes, k + 3) % 18 - 1;
        const auto terrain = static_cast<Terrain>(byteAt(bytes, k + 4) % (TerrainCount + 1));
        const PaintArea paint = paintArea(width, height, {row, column}, terrain);
        if (paint.area.isEmpty()) {
            CODEC_CHECK(!paint.accepted);
            continue;
        }
        CODEC_CHECK(paint.area.contains({row, column}));
        CODEC_CHECK(paint.area.top >= 1 && paint.area.left >= 1 && paint.area.bottom <= height &&
                    paint.area.right <= width);
        if (paint.accepted) {
            CODEC_CHECK(paint.area.top > 1 && paint.area.left > 1 && paint.area.bottom < height &&
                        paint.area.right < width);
            CODEC_CHECK(paint.area.cellCount() == (terrain == Terrain::Heart ? 25 : 1));
        }
    }
}

// Three versions cut from one input, where its first two bytes say: a
// merge keeps what nobody changed, takes a change made on one side whole,
// and calls a conflict only what both sides changed differently.
void checkMerge(std::string_view bytes)
{
    if (bytes.size() < 2)
        return;
    const std::size_t rest = bytes.size() - 2;
    const std::size_t first = rest * byteAt(bytes, 0) / 255;
    const std::size_t second = first + (rest - first) * byteAt(bytes, 1) / 255;
    const std::string_view base = bytes.substr(2, first);
    const std::string_view ours = bytes.substr(2 + first, second - first);
    const std::string_view theirs = bytes.substr(2 + second);
    for (const MergeConflict& conflict : mergeMaps(base, ours, theirs).conflicts)
        CODEC_CHECK(conflict.base != conflict.ours && conflict.base != conflict.theirs &&
                    conflict.ours != conflict.theirs);
    for (const std::string_view version : {base, ours, theirs}) {
        const MapMerge same = mergeMaps(version, version, version);
        CODEC_CHECK(same.refused == !checkMapBytes(version).ok());
        CODEC_CHECK(same.refused || (same.merged == version && same.conflicts.empty()));
    }
    const MapMerge theirsOnly = mergeMaps(base, base, theirs);
    CODEC_CHECK(theirsOnly.refused ||
                (theirsOnly.merged == theirs && theirsOnly.conflicts.empty()));
}

// The text form is printable ASCII lines, names every record of a whole
// map in row order, and shows a change to any byte.
void checkText(std::string_view bytes, const MapCheck& check)
{
    const std::string text = mapText(bytes);
    CODEC_CHECK(!text.empty() && text.back() == '\n');
    for (const char c : text)
        CODEC_CHECK(c == '\n' || (c >= ' ' && c <= '~'));
    if (check.ok()) {
        const MapData map = decodeMap(bytes).map;
        std::size_t at = 0;
        for (std::size_t k = 0; k < map.cells.size(); ++k) {
            const CellPosition place = map.positionOf(k);
            at = text.find("\nrow " + std::to_string(place.row) + ", column " +
                               std::to_string(place.column) + ": ",
                           at);
            CODEC_CHECK(at != std::string::npos);
        }
    }
    if (!bytes.empty()) {
        std::string changed(bytes);
        changed[changed.size() / 2] = static_cast<char>(changed[changed.size() / 2] ^ 0x10);
        CODEC_CHECK(mapText(changed) != text);
    }
}

} // namespace

void runCodecOnBytes(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const MapCheck check = checkMapBytes(bytes);
    checkHeaderCheck(bytes, check);
    checkDecodedMap(bytes, check);
    checkPaintRule(bytes);
    checkMerge(bytes);
    checkText(bytes, check);
}

} // namespace delvard::fuzz
