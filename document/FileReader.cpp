#include "document/FileReader.h"

#include <cerrno>
#include <fstream>
#include <new>
#include <system_error>

namespace delvard {

namespace fs = std::filesystem;

namespace {

FileProblem problem(FileProblem::Kind kind, std::error_code os = {})
{
    return {kind, os, 0, {}};
}

std::error_code lastError()
{
    return {errno != 0 ? errno : EIO, std::generic_category()};
}

FileProblem::Kind kindOf(fs::file_type type)
{
    switch (type) {
    case fs::file_type::directory:
        return FileProblem::Kind::Folder;
    case fs::file_type::fifo:
        return FileProblem::Kind::NamedPipe;
    case fs::file_type::character:
    case fs::file_type::block:
        return FileProblem::Kind::Device;
    case fs::file_type::socket:
        return FileProblem::Kind::Socket;
    default:
        return FileProblem::Kind::NotRegular;
    }
}

FileProblem tooLarge(std::uintmax_t size)
{
    return {FileProblem::Kind::TooLarge, {}, size, {}};
}

} // namespace

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

FileProblem whyNotARegularFile(const fs::path& path)
{
    if (path.empty())
        return problem(FileProblem::Kind::NoName);
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::regular)
        return {};
    if (status.type() == fs::file_type::not_found) {
        std::error_code linkError;
        if (fs::is_symlink(fs::symlink_status(path, linkError))) {
            const std::u8string target = fs::read_symlink(path, linkError).u8string();
            return {
                FileProblem::Kind::DanglingLink, {}, 0, std::string(target.begin(), target.end())};
        }
        return problem(FileProblem::Kind::Missing);
    }
    if (error)
        return problem(FileProblem::Kind::Unreachable, error);
    return problem(kindOf(status.type()));
}

FileRead readFileStart(const fs::path& path, std::size_t count)
{
    FileRead read;
    read.problem = whyNotARegularFile(path);
    if (read.problem)
        return read;
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        read.problem = problem(FileProblem::Kind::CannotOpenForReading, lastError());
        return read;
    }
    read.bytes.resize(count);
    in.read(read.bytes.data(), static_cast<std::streamsize>(count));
    read.bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        read.problem = problem(FileProblem::Kind::CannotRead, lastError());
        read.bytes.clear();
        return read;
    }
    read.ok = true;
    return read;
}

FileRead readWholeFile(const fs::path& path, const FileKind& kind)
{
    FileRead read;
    read.problem = whyNotARegularFile(path);
    if (read.problem) {
        read.missing = read.problem.kind == FileProblem::Kind::Missing;
        return read;
    }

    std::error_code sizeError;
    const std::uintmax_t size = fs::file_size(path, sizeError);
    if (!sizeError && size > kind.maxBytes) {
        read.problem = tooLarge(size);
        return read;
    }
    std::error_code timeError;
    read.stamp.modified = fs::last_write_time(path, timeError);

    try {
        errno = 0;
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            read.problem = problem(FileProblem::Kind::CannotOpenForReading, lastError());
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
                read.problem = tooLarge(read.bytes.size() + got);
                read.bytes = std::string();
                return read;
            }
            read.bytes.append(chunk, got);
        }
        if (in.bad()) {
            read.problem = problem(FileProblem::Kind::CannotRead, lastError());
            read.bytes = std::string();
            return read;
        }
    } catch (const std::bad_alloc&) {
        read.bytes = std::string();
        read.problem = problem(FileProblem::Kind::OutOfMemory);
        return read;
    }
    read.stamp.size = read.bytes.size();
    read.stamp.contentHash = contentHash(read.bytes);
    read.ok = true;
    return read;
}

} // namespace delvard
