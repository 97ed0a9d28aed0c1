#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

// The few things about files that neither Qt nor the standard library
// offers: a handle whose data can be pushed to the disk, a folder synced
// after a rename so the new name survives a power cut, a rename that
// reaches the disk on Windows, a file's owner, and a file removed when the
// process is interrupted. Everything else in the file layer is portable
// code on top of these.
namespace delvard::platform {

namespace fs = std::filesystem;

class WritableFile
{
  public:
    enum class Mode {
        CreateNew, // a new file; fails if the name exists
        Existing,  // an existing file, written from its first byte, not shortened
        Stream,    // a pipe, a device or a shell's redirection: appended to, created if missing
    };

    WritableFile() = default;
    ~WritableFile(); // closes; an error at that point is lost, so call close() first
    WritableFile(WritableFile&& other) noexcept;
    WritableFile& operator=(WritableFile&& other) noexcept;
    WritableFile(const WritableFile&) = delete;
    WritableFile& operator=(const WritableFile&) = delete;

    static WritableFile open(const fs::path& path, Mode mode, std::error_code& error);

    bool isOpen() const { return handle_ != Closed; }
    std::error_code write(const char* bytes, std::size_t size);
    // The data and the size reach the disk before this returns.
    std::error_code sync();
    std::error_code truncate(std::uint64_t size);
    std::error_code close();

  private:
    static constexpr std::intptr_t Closed = -1;
    std::intptr_t handle_ = Closed;
};

// Makes the folder's entries (a rename, a new or removed name) reach the
// disk. File systems that cannot sync a folder count as done.
std::error_code syncFolder(const fs::path& folder);

// Renames from over to (both in one folder), replacing to as one step.
std::error_code renameOver(const fs::path& from, const fs::path& to);

struct FileOwner
{
    std::uint64_t user = 0;
    std::uint64_t group = 0;
    friend bool operator==(const FileOwner&, const FileOwner&) = default;
};
// Who owns the file (links followed); none where the system has no such
// notion or cannot say.
std::optional<FileOwner> ownerOf(const fs::path& path);

// The user's folder for state a program keeps between runs: the freedesktop
// state folder ($XDG_STATE_HOME, or ~/.local/state) or, on Windows, the
// local application data folder. None where the environment names none.
std::optional<fs::path> userStateFolder();

// While set, the file is removed if the process is stopped by an interrupt
// or a termination request (Ctrl+C, kill), before it ends as it would have.
// One file at a time; an empty path clears it.
void removeOnInterrupt(const fs::path& path);

// Standard output carries bytes as they are: Windows starts it in text
// mode, which would turn every byte 10 of a picture into 13 10.
void useBinaryStandardOutput();

// "standard input", "standard output" or "standard error" when that stream
// was closed before the program started, or empty text. A program started
// so would otherwise hand that stream's number to the first file it opens.
std::string closedStandardStream();

} // namespace delvard::platform
