#include "MapFileReader.h"

#include <cerrno>
#include <fstream>
#include <new>
#include <system_error>

namespace delvard {

namespace fs = std::filesystem;

namespace {

// The system's words for an error number; a failure that left none still
// says so rather than "Success".
std::string systemWords(int error)
{
    return error == 0 ? std::string("the system gave no reason")
                      : std::generic_category().message(error);
}

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

std::string tooLarge(std::uintmax_t size)
{
    return "The file is " + withThousands(size) +
           " bytes long; a map file is never larger than 64 MiB (a 255 x 255 map takes 260,136 "
           "bytes), so it is not read.";
}

std::string whatItIs(fs::file_type type)
{
    switch (type) {
    case fs::file_type::directory:
        return "This is a folder, not a map file.";
    case fs::file_type::fifo:
        return "This is a named pipe, not a map file.";
    case fs::file_type::character:
    case fs::file_type::block:
        return "This is a device, not a map file.";
    case fs::file_type::socket:
        return "This is a socket, not a map file.";
    default:
        return "This is not a regular file, so it is not a map file.";
    }
}

} // namespace

std::string whyNotARegularFile(const fs::path& path)
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
            return "It is a symbolic link to \"" + target.string() + "\", which does not exist.";
        }
        return "The file does not exist (it may have been moved or deleted).";
    }
    if (error)
        return "It cannot be reached: " + error.message() + ".";
    return whatItIs(status.type());
}

FileRead readMapFile(const fs::path& path)
{
    FileRead read;
    read.reason = whyNotARegularFile(path);
    if (!read.reason.empty())
        return read;

    std::error_code sizeError;
    const std::uintmax_t size = fs::file_size(path, sizeError);
    if (!sizeError && size > MaxMapFileBytes) {
        read.reason = tooLarge(size);
        return read;
    }

    try {
        errno = 0;
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            read.reason = "It cannot be opened for reading: " + systemWords(errno) + ".";
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
            if (read.bytes.size() + got > MaxMapFileBytes) {
                read.reason = tooLarge(read.bytes.size() + got);
                read.bytes = std::string();
                return read;
            }
            read.bytes.append(chunk, got);
        }
        if (in.bad()) {
            read.reason = "It could not be read: " + systemWords(errno) + ".";
            read.bytes = std::string();
            return read;
        }
    } catch (const std::bad_alloc&) {
        read.bytes = std::string();
        read.reason = "There is not enough memory to read it.";
        return read;
    }
    read.ok = true;
    return read;
}

} // namespace delvard
