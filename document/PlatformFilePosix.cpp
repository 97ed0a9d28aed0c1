#include "PlatformFile.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
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

namespace {

// The handler may only read what is already complete: the name is copied
// into a fixed buffer first, and published by one atomic flag.
char interruptFile[4096];
std::atomic<bool> interruptFileSet{false};

extern "C" void removeFileAndStop(int signal)
{
    if (interruptFileSet.load())
        ::unlink(interruptFile);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

void removeOnInterrupt(const fs::path& path)
{
    interruptFileSet.store(false);
    const std::string& name = path.native();
    if (name.empty() || name.size() >= sizeof interruptFile)
        return;
    std::memcpy(interruptFile, name.c_str(), name.size() + 1);
    interruptFileSet.store(true);
    static const bool installed = [] {
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            struct sigaction action
            {
            };
            action.sa_handler = removeFileAndStop;
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
