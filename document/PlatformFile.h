#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
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

// What an interrupt (Ctrl+C, a termination request, a closed terminal)
// does before the process ends as it would have: it removes the files
// registered here, the unfinished outputs of the moment, and may write one
// line of progress on standard error. The signal handler reads only what was
// published to it beforehand: a fixed table of names and a few counters.
namespace interrupts {

// How many files can be registered at once: the most outputs a program may
// have open side by side.
inline constexpr std::size_t MostFiles = 64;

// While it lives, its file is removed if an interrupt comes. Make it right
// after the file was created, inside the same Step.
class RemovedFile
{
  public:
    RemovedFile() = default;
    // A name that does not fit in the table (too long, or every place taken)
    // registers nothing.
    explicit RemovedFile(const fs::path& file);
    ~RemovedFile() { release(); }
    RemovedFile(RemovedFile&& other) noexcept;
    RemovedFile& operator=(RemovedFile&& other) noexcept;
    RemovedFile(const RemovedFile&) = delete;
    RemovedFile& operator=(const RemovedFile&) = delete;

    // The file is no longer the handler's: it was finished or removed.
    void release();

  private:
    int slot_ = -1;
};

// A step an interrupt must not cut in two: creating a file and registering
// it, or finishing a file, releasing it and counting it. An interrupt waits
// for the steps under way on every thread (a second interrupt does not) and
// no step starts after it: a thread that comes to one waits there for the
// end of the process. The thread running a step does not take the signal.
class Step
{
  public:
    Step();
    ~Step();
    Step(const Step&) = delete;
    Step& operator=(const Step&) = delete;

  private:
    bool alreadyHeld_ = false; // the thread left interrupts to others before the step
};

// The line an interrupt writes on standard error from now on: `before`, the
// number of finished pieces (countFinished()), " of ", `total`, `after` and a
// newline. Each text is cut at 256 bytes.
void reportProgress(std::string_view before, std::uint64_t total, std::string_view after);
// One more piece finished; call it inside the Step that finishes it.
void countFinished();

// The calling thread leaves interrupts to the program's other threads, so
// that the handler never stops it half-way through what it was doing. For
// worker threads; nothing to do on Windows, where a handler has a thread of
// its own.
void leaveToOtherThreads();

} // namespace interrupts

// Standard output carries bytes as they are: Windows starts it in text
// mode, which would turn every byte 10 of a picture into 13 10.
void useBinaryStandardOutput();

// "standard input", "standard output" or "standard error" when that stream
// was closed before the program started, or empty text. A program started
// so would otherwise hand that stream's number to the first file it opens.
std::string closedStandardStream();

} // namespace delvard::platform
