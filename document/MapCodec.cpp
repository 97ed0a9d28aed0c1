#include "MapCodec.h"

#include "CodeTables.h"

namespace delvard {

std::string MapCheck::reason() const
{
    switch (problem) {
    case MapProblem::None:
        return {};
    case MapProblem::TooShortForHeader:
        return "The file is " + std::to_string(fileSize) +
               " bytes long, too short for the 36-byte map header.";
    case MapProblem::TruncatedBody:
        return "The map is " + std::to_string(width) + " x " + std::to_string(height) +
               " cells, so " + std::to_string(expectedRecords) +
               " cell records were expected, but the file holds only " +
               std::to_string(foundRecords) + ".";
    }
    return {};
}

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
    check.trailingBytes = body - check.expectedRecords * RecordSize;
    return check;
}

RecordDecoder::Outcome RecordDecoder::decode(std::string_view record)
{
    Outcome outcome{false, false};
    if (const auto index = terrainIndexOfCode(static_cast<std::uint8_t>(record[0]))) {
        TerrainPictureIndex = *index;
        outcome.terrainKnown = true;
    }
    const int owner = static_cast<std::uint8_t>(record[1]);
    if (isOwnerCode(owner)) {
        OwnerPictureIndex = FirstOwnerPicture - 1 + owner;
        outcome.ownerKnown = true;
    }
    return outcome;
}

bool encodeCell(int terrainIndex, int ownerCode, std::uint8_t* out)
{
    const auto code = terrainCodeOfIndex(terrainIndex);
    if (!code || !isOwnerCode(ownerCode))
        return false;
    out[0] = *code;
    out[1] = static_cast<std::uint8_t>(ownerCode);
    out[2] = 0x01;
    out[3] = 0x01;
    return true;
}

void ForeignCodes::reset(std::size_t cellCount)
{
    flags_.assign(cellCount, 0);
    terrain_.assign(cellCount, 0);
    owner_.assign(cellCount, 0);
    count_ = 0;
}

void ForeignCodes::note(std::size_t element, std::string_view record,
                        RecordDecoder::Outcome outcome)
{
    std::uint8_t flags = 0;
    if (!outcome.terrainKnown)
        flags |= TerrainFlag;
    if (!outcome.ownerKnown)
        flags |= OwnerFlag;
    if (flags_[element] == 0 && flags != 0)
        ++count_;
    if (flags_[element] != 0 && flags == 0)
        --count_;
    flags_[element] = flags;
    terrain_[element] = static_cast<std::uint8_t>(record[0]);
    owner_[element] = static_cast<std::uint8_t>(record[1]);
}

void ForeignCodes::forget(std::size_t element)
{
    if (element < flags_.size() && flags_[element] != 0) {
        flags_[element] = 0;
        --count_;
    }
}

void ForeignCodes::restore(std::size_t element, std::uint8_t* record) const
{
    if (element >= flags_.size())
        return;
    if (flags_[element] & TerrainFlag)
        record[0] = terrain_[element];
    if (flags_[element] & OwnerFlag)
        record[1] = owner_[element];
}

bool ForeignCodes::terrainForeign(std::size_t element) const
{
    return element < flags_.size() && (flags_[element] & TerrainFlag);
}

bool ForeignCodes::ownerForeign(std::size_t element) const
{
    return element < flags_.size() && (flags_[element] & OwnerFlag);
}

DecodedMap decodeMap(std::string_view bytes)
{
    DecodedMap map;
    map.check = checkMapBytes(bytes);
    if (!map.check.ok())
        return map;
    RecordDecoder decoder;
    map.cells.reserve(map.check.expectedRecords);
    const char* record = bytes.data() + HeaderSize;
    for (std::size_t k = 0; k < map.check.expectedRecords; ++k, record += RecordSize) {
        const auto outcome = decoder.decode({record, RecordSize});
        map.cells.push_back(
            {static_cast<std::uint8_t>(decoder.TerrainPictureIndex),
             static_cast<std::uint8_t>(decoder.OwnerPictureIndex == 0
                                           ? 0
                                           : decoder.OwnerPictureIndex - (FirstOwnerPicture - 1)),
             static_cast<std::uint8_t>(record[0]), static_cast<std::uint8_t>(record[1]),
             outcome.terrainKnown, outcome.ownerKnown});
    }
    return map;
}

} // namespace delvard
