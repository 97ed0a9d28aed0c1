#include "PlatformFile.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>

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

namespace {

wchar_t interruptFile[32768];
std::atomic<bool> interruptFileSet{false};

extern "C" void removeFileAndStop(int signal)
{
    if (interruptFileSet.load())
        ::DeleteFileW(interruptFile);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

void removeOnInterrupt(const fs::path& path)
{
    interruptFileSet.store(false);
    const std::wstring& name = path.native();
    if (name.empty() || name.size() >= sizeof interruptFile / sizeof interruptFile[0])
        return;
    name.copy(interruptFile, name.size());
    interruptFile[name.size()] = L'\0';
    interruptFileSet.store(true);
    static const bool installed = [] {
        std::signal(SIGINT, removeFileAndStop);
        std::signal(SIGTERM, removeFileAndStop);
        return true;
    }();
    (void)installed;
}

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
