#pragma once

#include "document/FileProblem.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// Reads a file whole: every file either program reads comes through here.
// Only a regular file (or a link to one) is read: a named pipe, a device, a
// socket or a folder is refused before anything is opened, so nothing ever
// waits for a writer, and a file larger than its kind can be is refused
// before it is read.
namespace delvard {

// What a file is meant to be, for the bound on its size and for the words
// that refuse it ("This is a named pipe, not a map file.").
struct FileKind
{
    std::string_view noun; // "map file"
    std::uintmax_t maxBytes;
    std::string_view sizeNote; // why the bound is what it is, or empty
};

// A 255 x 255 map takes 260,136 bytes; the bound leaves room for any bytes a
// file may carry after its records while keeping a wrong choice (a disk
// image, a video) from filling the memory.
inline constexpr FileKind MapFiles{"map file", 64 * 1024 * 1024,
                                   "a 255 x 255 map takes 260,136 bytes"};
// A settings file holds one short entry; a thousand times that is plenty.
inline constexpr FileKind SettingsFiles{"settings file", 1024 * 1024, ""};
// The user's guide: a few kilobytes of text.
inline constexpr FileKind GuideFiles{"text file", 16 * 1024 * 1024, ""};

// What a file held when it was read, to notice later that it changed.
struct FileStamp
{
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified{};
    std::uint64_t contentHash = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

std::uint64_t contentHash(std::string_view bytes);

struct FileRead
{
    bool ok = false;
    bool missing = false; // the name leads to no file at all
    std::string bytes;
    FileStamp stamp;
    FileProblem problem; // why the file was not read
};

FileRead readWholeFile(const std::filesystem::path& path, const FileKind& kind);

// The first bytes of a regular file, at most count of them, whatever the
// file's size: enough to tell what kind of file it is.
FileRead readFileStart(const std::filesystem::path& path, std::size_t count);

inline FileRead readMapFile(const std::filesystem::path& path)
{
    return readWholeFile(path, MapFiles);
}

// Why a path cannot be read or replaced as a file (it is missing, a folder,
// a pipe, a device, a link to nowhere, unreachable), or no problem for a
// regular file. Nothing is opened.
FileProblem whyNotARegularFile(const std::filesystem::path& path);

} // namespace delvard
