#include "document/PlatformFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace delvard::platform {

namespace {

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

int descriptor(std::intptr_t handle)
{
    return static_cast<int>(handle);
}

} // namespace

WritableFile::~WritableFile()
{
    if (isOpen())
        ::close(descriptor(handle_));
}

WritableFile::WritableFile(WritableFile&& other) noexcept : handle_(other.handle_)
{
    other.handle_ = Closed;
}

WritableFile& WritableFile::operator=(WritableFile&& other) noexcept
{
    if (this != &other) {
        if (isOpen())
            ::close(descriptor(handle_));
        handle_ = other.handle_;
        other.handle_ = Closed;
    }
    return *this;
}

WritableFile WritableFile::open(const fs::path& path, Mode mode, std::error_code& error)
{
    int flags = O_WRONLY | O_CLOEXEC;
    switch (mode) {
    case Mode::CreateNew:
        flags |= O_CREAT | O_EXCL;
        break;
    case Mode::Existing:
        break;
    case Mode::Stream:
        flags |= O_CREAT | O_APPEND;
        break;
    }
    WritableFile file;
    int fd = -1;
    do
        fd = ::open(path.c_str(), flags, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        error = lastError();
        return file;
    }
    error.clear();
    file.handle_ = fd;
    return file;
}

std::error_code WritableFile::write(const char* bytes, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(descriptor(handle_), bytes, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return lastError();
        }
        if (written == 0)
            return std::make_error_code(std::errc::io_error);
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return {};
}

std::error_code WritableFile::sync()
{
    // A pipe or a terminal has nothing to sync; only a real file's failure counts.
    if (::fsync(descriptor(handle_)) != 0 && errno != EINVAL && errno != EROFS)
        return lastError();
    return {};
}

std::error_code WritableFile::truncate(std::uint64_t size)
{
    if (::ftruncate(descriptor(handle_), static_cast<off_t>(size)) != 0)
        return lastError();
    return {};
}

std::error_code WritableFile::close()
{
    const int fd = descriptor(handle_);
    handle_ = Closed;
    // After a failed close the descriptor is gone all the same (Linux, and
    // POSIX 2024): closing it again could close someone else's file.
    if (::close(fd) != 0 && errno != EINTR)
        return lastError();
    return {};
}

std::error_code syncFolder(const fs::path& folder)
{
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return lastError();
    std::error_code error;
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
        error = lastError();
    ::close(fd);
    return error;
}

std::error_code renameOver(const fs::path& from, const fs::path& to)
{
    if (::rename(from.c_str(), to.c_str()) != 0)
        return lastError();
    return {};
}

std::optional<FileOwner> ownerOf(const fs::path& path)
{
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return FileOwner{info.st_uid, info.st_gid};
}

std::optional<fs::path> userStateFolder()
{
    // Only absolute folders count, as the freedesktop rules say.
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && fs::path(state).is_absolute())
        return fs::path(state);
    const char* home = std::getenv("HOME");
    if (home && fs::path(home).is_absolute())
        return fs::path(home) / ".local" / "state";
    return std::nullopt;
}

namespace interrupts {

namespace {

enum SlotState : int { Free, Claimed, Published };

// A place in the table: a name is copied in while the place is claimed, and
// the handler reads it only once it is published.
struct Slot
{
    std::atomic<int> state{Free};
    char name[PATH_MAX]{};
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

sigset_t interruptSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&signals, signal);
    return signals;
}

// Only async-signal-safe calls from here to the handler's end.
void writeToStandardError(const char* bytes, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(STDERR_FILENO, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        bytes += written;
        size -= static_cast<std::size_t>(written);
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

extern "C" void removeFilesAndStop(int signal)
{
    HandlerState& state = handlerState();
    // A second interrupt, while the first waits for a step, ends at once.
    if (!state.stopping.exchange(true)) {
        while (state.stepsUnderWay.load() != 0)
            ::poll(nullptr, 0, 1);
        for (Slot& file : state.files) {
            if (file.state.load() == Published)
                ::unlink(file.name);
        }
        if (state.reportSet.load())
            writeProgressLine(state);
    }
    struct sigaction action
    {
    };
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
    ::raise(signal);
}

void installHandler()
{
    static const bool installed = [] {
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            struct sigaction action
            {
            };
            action.sa_handler = removeFilesAndStop;
            // The handler's own signal may come again while it waits.
            action.sa_flags = SA_NODEFER;
            sigemptyset(&action.sa_mask);
            struct sigaction previous
            {
            };
            // A signal the caller's shell set to be ignored stays ignored.
            if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN)
                ::sigaction(signal, &action, nullptr);
        }
        return true;
    }();
    (void)installed;
}

} // namespace

RemovedFile::RemovedFile(const fs::path& file)
{
    std::error_code error;
    // The handler's working folder may not be the one the name starts from.
    const std::string name = fs::absolute(file, error).native();
    if (error || name.empty() || name.size() >= PATH_MAX)
        return;
    installHandler();
    for (std::size_t k = 0; k < MostFiles; ++k) {
        Slot& slot = handlerState().files[k];
        int expected = Free;
        if (slot.state.compare_exchange_strong(expected, Claimed)) {
            std::memcpy(slot.name, name.c_str(), name.size() + 1);
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
    const sigset_t signals = interruptSignals();
    sigset_t before;
    ::pthread_sigmask(SIG_BLOCK, &signals, &before);
    alreadyHeld_ = sigismember(&before, SIGINT) == 1;
    HandlerState& state = handlerState();
    state.stepsUnderWay.fetch_add(1);
    if (state.stopping.load()) {
        // The handler is removing the files: nothing may start now.
        state.stepsUnderWay.fetch_sub(1);
        for (;;)
            ::pause();
    }
}

Step::~Step()
{
    handlerState().stepsUnderWay.fetch_sub(1);
    if (!alreadyHeld_) {
        const sigset_t signals = interruptSignals();
        ::pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
    }
}

void reportProgress(std::string_view before, std::uint64_t total, std::string_view after)
{
    HandlerState& state = handlerState();
    state.reportSet.store(false);
    state.beforeSize = std::min(before.size(), sizeof state.before);
    std::memcpy(state.before, before.data(), state.beforeSize);
    state.afterSize = std::min(after.size(), sizeof state.after);
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

void leaveToOtherThreads()
{
    const sigset_t signals = interruptSignals();
    ::pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

} // namespace interrupts

void useBinaryStandardOutput() {}

std::string closedStandardStream()
{
    static const char* const names[] = {"standard input", "standard output", "standard error"};
    for (int fd = 0; fd < 3; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF)
            return names[fd];
    }
    return {};
}

} // namespace delvard::platform
