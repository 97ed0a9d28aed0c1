#include "FileReader.h"

#include <cerrno>
#include <fstream>
#include <new>
#include <system_error>

namespace delvard {

namespace fs = std::filesystem;

namespace {

std::string withThousands(std::uintmax_t value)
{
    const std::string digits = std::to_string(value);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

std::string inMebibytes(std::uintmax_t bytes)
{
    return std::to_string(bytes / (1024 * 1024)) + " MiB";
}

std::string tooLarge(std::uintmax_t size, const FileKind& kind)
{
    std::string words = "The file is " + withThousands(size) + " bytes long; a " +
                        std::string(kind.noun) + " is never larger than " +
                        inMebibytes(kind.maxBytes);
    if (!kind.sizeNote.empty())
        words += " (" + std::string(kind.sizeNote) + ")";
    return words + ", so it is not read.";
}

std::string whatItIs(fs::file_type type, const FileKind& kind)
{
    const std::string notA = ", not a " + std::string(kind.noun) + ".";
    switch (type) {
    case fs::file_type::directory:
        return "This is a folder" + notA;
    case fs::file_type::fifo:
        return "This is a named pipe" + notA;
    case fs::file_type::character:
    case fs::file_type::block:
        return "This is a device" + notA;
    case fs::file_type::socket:
        return "This is a socket" + notA;
    default:
        return "This is not a regular file, so it is not a " + std::string(kind.noun) + ".";
    }
}

} // namespace

std::string systemWords(const std::error_code& error)
{
    return error ? error.message() : std::string("the system gave no reason");
}

std::uint64_t contentHash(std::string_view bytes)
{
    // FNV-1a: quick, and enough to tell another program's file from ours.
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string whyNotARegularFile(const fs::path& path, const FileKind& kind)
{
    if (path.empty())
        return "No file was chosen.";
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::regular)
        return {};
    if (status.type() == fs::file_type::not_found) {
        std::error_code linkError;
        if (fs::is_symlink(fs::symlink_status(path, linkError))) {
            const fs::path target = fs::read_symlink(path, linkError);
            const std::u8string name = target.u8string();
            return "It is a symbolic link to \"" + std::string(name.begin(), name.end()) +
                   "\", which does not exist.";
        }
        return "The file does not exist (it may have been moved or deleted).";
    }
    if (error)
        return "It cannot be reached: " + error.message() + ".";
    return whatItIs(status.type(), kind);
}

FileRead readFileStart(const fs::path& path, const FileKind& kind, std::size_t count)
{
    FileRead read;
    read.reason = whyNotARegularFile(path, kind);
    if (!read.reason.empty())
        return read;
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        read.reason =
            "It cannot be opened for reading: " + systemWords({errno, std::generic_category()}) +
            ".";
        return read;
    }
    read.bytes.resize(count);
    in.read(read.bytes.data(), static_cast<std::streamsize>(count));
    read.bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        read.reason =
            "It could not be read: " + systemWords({errno, std::generic_category()}) + ".";
        read.bytes.clear();
        return read;
    }
    read.ok = true;
    return read;
}

FileRead readWholeFile(const fs::path& path, const FileKind& kind)
{
    FileRead read;
    read.reason = whyNotARegularFile(path, kind);
    if (!read.reason.empty()) {
        std::error_code ignored;
        read.missing = !path.empty() && !fs::exists(fs::symlink_status(path, ignored));
        return read;
    }

    std::error_code sizeError;
    const std::uintmax_t size = fs::file_size(path, sizeError);
    if (!sizeError && size > kind.maxBytes) {
        read.reason = tooLarge(size, kind);
        return read;
    }
    std::error_code timeError;
    read.stamp.modified = fs::last_write_time(path, timeError);

    try {
        errno = 0;
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            read.reason = "It cannot be opened for reading: " +
                          systemWords({errno, std::generic_category()}) + ".";
            return read;
        }
        // Reserved once from the size the file claims; a file that grows
        // while it is read (or claims no size, as some system files do) is
        // still cut off at the bound.
        read.bytes.reserve(sizeError ? 0 : static_cast<std::size_t>(size));
        char chunk[64 * 1024];
        while (in) {
            errno = 0;
            in.read(chunk, sizeof chunk);
            const auto got = static_cast<std::size_t>(in.gcount());
            if (read.bytes.size() + got > kind.maxBytes) {
                read.reason = tooLarge(read.bytes.size() + got, kind);
                read.bytes = std::string();
                return read;
            }
            read.bytes.append(chunk, got);
        }
        if (in.bad()) {
            read.reason =
                "It could not be read: " + systemWords({errno, std::generic_category()}) + ".";
            read.bytes = std::string();
            return read;
        }
    } catch (const std::bad_alloc&) {
        read.bytes = std::string();
        read.reason = "There is not enough memory to read it.";
        return read;
    }
    read.stamp.size = read.bytes.size();
    read.stamp.contentHash = contentHash(read.bytes);
    read.ok = true;
    return read;
}

} // namespace delvard
