#include "document/PlatformFile.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <utility>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace delvard::platform {

namespace {

std::error_code lastError()
{
    return {static_cast<int>(::GetLastError()), std::system_category()};
}

HANDLE handleOf(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

} // namespace

WritableFile::~WritableFile()
{
    if (isOpen())
        ::CloseHandle(handleOf(handle_));
}

WritableFile::WritableFile(WritableFile&& other) noexcept : handle_(other.handle_)
{
    other.handle_ = Closed;
}

WritableFile& WritableFile::operator=(WritableFile&& other) noexcept
{
    if (this != &other) {
        if (isOpen())
            ::CloseHandle(handleOf(handle_));
        handle_ = other.handle_;
        other.handle_ = Closed;
    }
    return *this;
}

WritableFile WritableFile::open(const fs::path& path, Mode mode, std::error_code& error)
{
    DWORD disposition = OPEN_EXISTING;
    DWORD access = GENERIC_WRITE;
    if (mode == Mode::CreateNew)
        disposition = CREATE_NEW;
    else if (mode == Mode::Stream) {
        disposition = OPEN_ALWAYS;
        access = FILE_APPEND_DATA;
    }
    WritableFile file;
    const HANDLE handle = ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                        nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = lastError();
        return file;
    }
    error.clear();
    file.handle_ = reinterpret_cast<std::intptr_t>(handle);
    return file;
}

std::error_code WritableFile::write(const char* bytes, std::size_t size)
{
    while (size > 0) {
        const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(handleOf(handle_), bytes, chunk, &written, nullptr))
            return lastError();
        if (written == 0)
            return std::make_error_code(std::errc::io_error);
        bytes += written;
        size -= written;
    }
    return {};
}

std::error_code WritableFile::sync()
{
    if (!::FlushFileBuffers(handleOf(handle_)) && ::GetLastError() != ERROR_INVALID_HANDLE &&
        ::GetLastError() != ERROR_INVALID_FUNCTION)
        return lastError();
    return {};
}

std::error_code WritableFile::truncate(std::uint64_t size)
{
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(size);
    if (!::SetFilePointerEx(handleOf(handle_), at, nullptr, FILE_BEGIN) ||
        !::SetEndOfFile(handleOf(handle_)))
        return lastError();
    return {};
}

std::error_code WritableFile::close()
{
    const HANDLE handle = handleOf(handle_);
    handle_ = Closed;
    if (!::CloseHandle(handle))
        return lastError();
    return {};
}

std::error_code syncFolder(const fs::path&)
{
    // A rename with MOVEFILE_WRITE_THROUGH has reached the disk already.
    return {};
}

std::error_code renameOver(const fs::path& from, const fs::path& to)
{
    if (!::MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return lastError();
    return {};
}

std::optional<FileOwner> ownerOf(const fs::path&)
{
    return std::nullopt;
}

std::optional<fs::path> userStateFolder()
{
    // Wide: a user name outside the ANSI code page still gives its folder.
    const wchar_t* local = ::_wgetenv(L"LOCALAPPDATA");
    if (local && fs::path(local).is_absolute())
        return fs::path(local);
    return std::nullopt;
}

namespace interrupts {

namespace {

enum SlotState : int { Free, Claimed, Published };

// The longest name Windows takes, with its terminating zero.
constexpr std::size_t LongestName = 32768;

// A place in the table: a name is copied in while the place is claimed, and
// the handler reads it only once it is published.
struct Slot
{
    std::atomic<int> state{Free};
    wchar_t name[LongestName]{};
};

// All the handler reads, written before it is published to it.
struct HandlerState
{
    Slot files[MostFiles];
    std::atomic<bool> stopping{false};
    std::atomic<int> stepsUnderWay{0};
    std::atomic<std::uint64_t> finished{0};
    std::atomic<bool> reportSet{false};
    char before[256]{};
    std::size_t beforeSize = 0;
    char after[256]{};
    std::size_t afterSize = 0;
    std::uint64_t total = 0;
};
static_assert(std::atomic<int>::is_always_lock_free &&
              std::atomic<std::uint64_t>::is_always_lock_free &&
              std::atomic<bool>::is_always_lock_free);

// A signal handler can reach nothing but static state; constinit, so that
// there is no first-use guard for the handler to meet.
constinit HandlerState interruptState;

HandlerState& handlerState()
{
    return interruptState;
}

void writeToStandardError(const char* bytes, std::size_t size)
{
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    while (size > 0) {
        DWORD written = 0;
        if (error == nullptr || error == INVALID_HANDLE_VALUE ||
            !::WriteFile(error, bytes, static_cast<DWORD>(size), &written, nullptr) || written == 0)
            return;
        bytes += written;
        size -= written;
    }
}

std::size_t putNumber(char* at, std::uint64_t number)
{
    char digits[20];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number > 0);
    for (std::size_t k = 0; k < count; ++k)
        at[k] = digits[count - 1 - k];
    return count;
}

void writeProgressLine(const HandlerState& state)
{
    char line[sizeof state.before + sizeof state.after + 64];
    std::size_t size = 0;
    std::memcpy(line, state.before, state.beforeSize);
    size += state.beforeSize;
    size += putNumber(line + size, state.finished.load());
    std::memcpy(line + size, " of ", 4);
    size += 4;
    size += putNumber(line + size, state.total);
    std::memcpy(line + size, state.after, state.afterSize);
    size += state.afterSize;
    line[size++] = '\n';
    writeToStandardError(line, size);
}

// Ctrl+C and Ctrl+Break run the handler on a thread of its own, so it may
// wait for the steps of every other thread. The runtime has set the signal
// back to its default before the call: a second interrupt ends at once.
extern "C" void removeFilesAndStop(int signal)
{
    HandlerState& state = handlerState();
    if (!state.stopping.exchange(true)) {
        while (state.stepsUnderWay.load() != 0)
            ::Sleep(1);
        for (Slot& file : state.files) {
            if (file.state.load() == Published)
                ::DeleteFileW(file.name);
        }
        if (state.reportSet.load())
            writeProgressLine(state);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void installHandler()
{
    static const bool installed = [] {
        for (const int signal : {SIGINT, SIGTERM, SIGBREAK})
            std::signal(signal, removeFilesAndStop);
        return true;
    }();
    (void)installed;
}

} // namespace

RemovedFile::RemovedFile(const fs::path& file)
{
    std::error_code error;
    // The handler's working folder may not be the one the name starts from.
    const std::wstring name = fs::absolute(file, error).native();
    if (error || name.empty() || name.size() >= LongestName)
        return;
    installHandler();
    for (std::size_t k = 0; k < MostFiles; ++k) {
        Slot& slot = handlerState().files[k];
        int expected = Free;
        if (slot.state.compare_exchange_strong(expected, Claimed)) {
            name.copy(slot.name, name.size());
            slot.name[name.size()] = L'\0';
            slot.state.store(Published);
            slot_ = static_cast<int>(k);
            return;
        }
    }
}

RemovedFile::RemovedFile(RemovedFile&& other) noexcept : slot_(std::exchange(other.slot_, -1)) {}

RemovedFile& RemovedFile::operator=(RemovedFile&& other) noexcept
{
    if (this != &other) {
        release();
        slot_ = std::exchange(other.slot_, -1);
    }
    return *this;
}

void RemovedFile::release()
{
    if (slot_ >= 0)
        handlerState().files[slot_].state.store(Free);
    slot_ = -1;
}

Step::Step()
{
    HandlerState& state = handlerState();
    state.stepsUnderWay.fetch_add(1);
    if (state.stopping.load()) {
        // The handler is removing the files: nothing may start now.
        state.stepsUnderWay.fetch_sub(1);
        for (;;)
            ::Sleep(INFINITE);
    }
}

Step::~Step()
{
    handlerState().stepsUnderWay.fetch_sub(1);
}

void reportProgress(std::string_view before, std::uint64_t total, std::string_view after)
{
    HandlerState& state = handlerState();
    state.reportSet.store(false);
    state.beforeSize = before.size() < sizeof state.before ? before.size() : sizeof state.before;
    std::memcpy(state.before, before.data(), state.beforeSize);
    state.afterSize = after.size() < sizeof state.after ? after.size() : sizeof state.after;
    std::memcpy(state.after, after.data(), state.afterSize);
    state.total = total;
    state.finished.store(0);
    state.reportSet.store(true);
    installHandler();
}

void countFinished()
{
    handlerState().finished.fetch_add(1);
}

void leaveToOtherThreads() {}

} // namespace interrupts

void useBinaryStandardOutput()
{
    // Reopening the stream with no name, as the C standard allows, would
    // close it in Microsoft's C runtime instead.
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
}

std::string closedStandardStream()
{
    static const char* const names[] = {"standard input", "standard output", "standard error"};
    for (int fd = 0; fd < 3; ++fd) {
        if (::_get_osfhandle(fd) == -1 && fd != 0)
            return names[fd];
    }
    return {};
}

} // namespace delvard::platform
