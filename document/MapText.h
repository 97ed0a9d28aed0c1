#pragma once

#include "document/MapFormat.h"

#include <string>
#include <string_view>

// A map file as plain text, one line per cell, so that tools made for text
// (git's diff and log, grep, a code review) can show how a map changed. The
// text is ASCII with LF line ends and is never translated: git caches it,
// and two machines must write the same text for the same bytes.
namespace delvard {

// "0E 03 01 01"
std::string hexBytes(std::string_view bytes);

// What a cell's record holds, in the vocabulary's words: "Lair, Keeper 1",
// "unknown 0x30, Player", followed by " [00 07]" when the record's two
// other bytes are not the 01 01 that the editor writes.
std::string recordText(const MapData& map, CellPosition place, std::string_view record);

// The whole file: its size, the header in hex, every cell in row order, and
// the bytes after the last record in hex, 32 to a line. A file that is not
// a whole map gives why and all of its bytes in hex, so that every change to
// every byte shows.
std::string mapText(std::string_view bytes);

} // namespace delvard
