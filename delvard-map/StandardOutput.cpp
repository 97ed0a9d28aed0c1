#include "delvard-map/StandardOutput.h"

#include "document/PlatformFile.h"

#include <cerrno>
#include <cstdio>

namespace delvard {

StandardOutput::StandardOutput()
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

void StandardOutput::keepError(int error)
{
    if (error_)
        return;
    // A failure that left no number (a short write) is still a failure.
    error_ = std::error_code(error != 0 ? error : EIO, std::generic_category());
    setErrorString(QString::fromStdString(error_.message()));
}

qint64 StandardOutput::readData(char*, qint64)
{
    return -1;
}

qint64 StandardOutput::writeData(const char* data, qint64 size)
{
    // After one failure nothing more goes out: a picture or a list with a
    // hole in it would look whole to whoever reads it.
    if (error_ || finished_)
        return -1;
    errno = 0;
    const auto bytes = static_cast<std::size_t>(size);
    if (std::fwrite(data, 1, bytes, stdout) != bytes || std::fflush(stdout) != 0) {
        keepError(errno);
        return -1;
    }
    return size;
}

bool StandardOutput::finish()
{
    if (finished_)
        return !error_;
    finished_ = true;
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0)
        keepError(errno);
    errno = 0;
    if (std::fclose(stdout) != 0)
        keepError(errno);
    return !error_;
}

void StandardOutput::switchToBinary()
{
    delvard::platform::useBinaryStandardOutput();
}

} // namespace delvard
