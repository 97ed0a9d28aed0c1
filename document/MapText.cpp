#include "document/MapText.h"

#include "document/CellDescription.h"

namespace delvard {

namespace {

constexpr std::size_t BytesPerLine = 32;

// Offsets are file offsets, so that a line of hex says where it is.
void appendHexLines(std::string& text, std::string_view bytes, std::size_t firstOffset)
{
    for (std::size_t at = 0; at < bytes.size(); at += BytesPerLine)
        text += "at " + std::to_string(firstOffset + at) + ": " +
                hexBytes(bytes.substr(at, BytesPerLine)) + '\n';
}

// Untranslated and in the text's own words: the person's language must
// not change what git caches.
std::string whyNotAWholeMap(const MapCheck& check)
{
    if (check.problem == MapProblem::TooShortForHeader)
        return "not a whole map: " + std::to_string(check.fileSize) +
               " bytes, too short for the 36-byte header";
    return "not a whole map: " + std::to_string(check.width) + " x " +
           std::to_string(check.height) + " cells need " + std::to_string(check.expectedRecords) +
           " records, the file holds " + std::to_string(check.foundRecords);
}

} // namespace

std::string hexBytes(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size() * 3);
    for (const char byte : bytes) {
        if (!text.empty())
            text += ' ';
        text += hexByte(static_cast<std::uint8_t>(byte)).substr(2);
    }
    return text;
}

std::string recordText(const MapData& map, CellPosition place, std::string_view record)
{
    const CellWords words = describeCell(map, place);
    std::string text = words.terrain + ", " + words.owner;
    const std::string_view unread = record.substr(2, 2);
    if (unread != std::string_view("\x01\x01", 2))
        text += " [" + hexBytes(unread) + ']';
    return text;
}

std::string mapText(std::string_view bytes)
{
    const DecodedMap decoded = decodeMap(bytes);
    std::string text;
    if (!decoded.check.ok()) {
        text += whyNotAWholeMap(decoded.check) + '\n';
        text += "bytes: " + std::to_string(bytes.size()) + '\n';
        appendHexLines(text, bytes, 0);
        return text;
    }
    const MapData& map = decoded.map;
    // About 40 bytes a cell; one allocation for a 255 x 255 map's 2.6 MB.
    text.reserve(200 + map.cells.size() * 40 + map.trailing.size() * 3);
    text += "size: " + std::to_string(map.width) + " x " + std::to_string(map.height) + " cells\n";
    text += "header: " + hexBytes(map.header) + '\n';
    for (std::size_t k = 0; k < map.cells.size(); ++k) {
        const CellPosition place = map.positionOf(k);
        text += placeWords(place) + ": " +
                recordText(map, place, bytes.substr(HeaderSize + k * RecordSize, RecordSize)) +
                '\n';
    }
    text += "trailing bytes: " + std::to_string(map.trailing.size()) + '\n';
    appendHexLines(text, map.trailing, HeaderSize + map.cells.size() * RecordSize);
    return text;
}

} // namespace delvard
