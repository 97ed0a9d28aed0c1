#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// Reads a map file whole, for the editor and for delvard-map alike. Only a
// regular file (or a link to one) is read: a named pipe, a device, a socket
// or a folder is refused before anything is opened, so nothing ever waits
// for a writer, and a file larger than any map can be is refused before it
// is read.
namespace delvard {

// The largest map file read. A 255 x 255 map takes 260,136 bytes; the bound
// leaves room for any bytes a file may carry after its records while keeping
// a wrong choice (a disk image, a video) from filling the memory.
inline constexpr std::uintmax_t MaxMapFileBytes = 64 * 1024 * 1024;

struct FileRead
{
    bool ok = false;
    std::string bytes;
    // Why the file was not read: one or two sentences for the user, without
    // the file's name, ending with the system's own words where it gave any.
    std::string reason;
};

FileRead readMapFile(const std::filesystem::path& path);

// Why a path cannot be read as a map file (it is missing, a folder, a pipe,
// a device, a link to nowhere, unreachable), or empty text for a regular
// file. Nothing is opened.
std::string whyNotARegularFile(const std::filesystem::path& path);

} // namespace delvard
