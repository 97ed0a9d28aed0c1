#include "document/MapFormat.h"

namespace delvard {

MapCheck checkMapBytes(std::string_view bytes)
{
    MapCheck check;
    check.fileSize = bytes.size();
    if (bytes.size() < HeaderSize) {
        check.problem = MapProblem::TooShortForHeader;
        return check;
    }
    check.width = static_cast<std::uint8_t>(bytes[WidthOffset]);
    check.height = static_cast<std::uint8_t>(bytes[HeightOffset]);
    check.expectedRecords = recordsToDecode(check.width, check.height);
    const std::size_t body = bytes.size() - HeaderSize;
    check.foundRecords = body / RecordSize;
    if (check.foundRecords < check.expectedRecords) {
        check.problem = MapProblem::TruncatedBody;
        return check;
    }
    check.trailingBytes = body - storedRecords(check.width, check.height) * RecordSize;
    return check;
}

Cell Cell::painted(Terrain terrain, Owner owner)
{
    return {codeOfTerrain(terrain).value_or(0), codeOfOwner(owner), terrain, owner};
}

DecodedMap decodeMap(std::string_view bytes)
{
    DecodedMap decoded;
    decoded.check = checkMapBytes(bytes);
    if (!decoded.check.ok())
        return decoded;
    MapData& map = decoded.map;
    map.header.assign(bytes.substr(0, HeaderSize));
    map.width = decoded.check.width;
    map.height = decoded.check.height;
    map.cells.reserve(decoded.check.expectedRecords);
    Terrain terrain = Terrain::None;
    Owner owner = Owner::None;
    const char* record = bytes.data() + HeaderSize;
    for (std::size_t k = 0; k < decoded.check.expectedRecords; ++k, record += RecordSize) {
        const auto terrainCode = static_cast<std::uint8_t>(record[0]);
        const auto ownerCode = static_cast<std::uint8_t>(record[1]);
        terrain = terrainOfCode(terrainCode).value_or(terrain);
        owner = ownerOfCode(ownerCode).value_or(owner);
        map.cells.push_back({terrainCode, ownerCode, terrain, owner});
    }
    // The one cell of a map with an empty side is no record of it: its bytes
    // belong to those after the records, and a save gives them back there.
    map.trailing.assign(
        bytes.substr(HeaderSize + storedRecords(map.width, map.height) * RecordSize));
    return decoded;
}

std::string encodeMap(const MapData& map)
{
    const std::size_t records = storedRecords(map.width, map.height);
    std::string bytes;
    bytes.reserve(map.header.size() + RecordSize * records);
    bytes += map.header;
    for (std::size_t k = 0; k < records && k < map.cells.size(); ++k) {
        bytes += static_cast<char>(map.cells[k].terrainCode);
        bytes += static_cast<char>(map.cells[k].ownerCode);
        bytes += '\x01';
        bytes += '\x01';
    }
    return bytes;
}

} // namespace delvard
