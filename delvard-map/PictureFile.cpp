#include "PictureFile.h"

#include "NativeFileName.h"

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <random>
#include <system_error>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace fs = std::filesystem;

namespace {

QString systemWords(int error)
{
    return error == 0 ? QStringLiteral("the system gave no reason")
                      : QString::fromStdString(std::generic_category().message(error));
}

// Names the system itself hands out for its streams and devices: replacing
// one of them would cut the link to the stream (a shell's "> out.png" keeps
// writing into the file it opened, not into a new one of the same name).
bool isSystemStreamName(const QString& name)
{
    return name.startsWith(QLatin1String("/dev/")) || name.startsWith(QLatin1String("/proc/"));
}

fs::path siblingName(const fs::path& target)
{
    std::random_device entropy;
    const auto tag = std::to_string(entropy()) + std::to_string(entropy());
    return fs::path(target).concat(".new-" + tag);
}

} // namespace

PictureFile::PictureFile(QString name) : name_(std::move(name)) {}

PictureFile::~PictureFile()
{
    if (replaces_ && !finished_) {
        file_.close();
        std::error_code ignored;
        fs::remove(newFile_, ignored);
    }
}

bool PictureFile::fail(const QString& what, int error)
{
    problem_ = what + QStringLiteral(": ") + systemWords(error);
    return false;
}

bool PictureFile::open()
{
    if (name_ == QLatin1String("-")) {
#ifdef Q_OS_WIN
        // Standard output starts in text mode there, which would turn every
        // byte 10 of the picture into 13 10. Reopening it with no name, as
        // the C standard allows, closes it in Microsoft's C runtime instead.
        std::cout.flush();
        std::fflush(stdout);
        _setmode(_fileno(stdout), _O_BINARY);
#endif
        out_ = &std::cout;
        return true;
    }
    const fs::path path = delvard::nativePath(name_);
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    const bool missing = status.type() == fs::file_type::not_found;
    if (error && !missing)
        return fail(QStringLiteral("It cannot be reached"), error.value());
    if (status.type() == fs::file_type::directory) {
        problem_ = QStringLiteral("This is a folder; name a file for the picture");
        return false;
    }

    const bool regular = missing || status.type() == fs::file_type::regular;
    if (!regular || isSystemStreamName(name_)) {
        errno = 0;
        // Appending: a stream has no start to go back to, and a shell's
        // ">>" must keep what the file already holds.
        file_.open(path, std::ios::binary | std::ios::app);
        if (!file_)
            return fail(QStringLiteral("It cannot be opened for writing"), errno);
        out_ = &file_;
        return true;
    }

    // A link is followed, so that it stays a link and its target gets the picture.
    target_ = missing ? fs::weakly_canonical(path, error) : fs::canonical(path, error);
    if (error)
        return fail(QStringLiteral("It cannot be reached"), error.value());
    newFile_ = siblingName(target_);
    errno = 0;
    file_.open(newFile_, std::ios::binary | std::ios::trunc);
    if (!file_)
        return fail(QStringLiteral("No new file can be made beside it"), errno);
    replaces_ = true;
    out_ = &file_;
    return true;
}

bool PictureFile::write(const char* bytes, std::size_t size)
{
    errno = 0;
    out_->write(bytes, static_cast<std::streamsize>(size));
    if (!*out_)
        return fail(QStringLiteral("Writing failed"), errno);
    return true;
}

bool PictureFile::finish()
{
    errno = 0;
    out_->flush();
    if (!*out_)
        return fail(QStringLiteral("Writing failed"), errno);
    if (!replaces_)
        return true;
    errno = 0;
    file_.close();
    if (file_.fail())
        return fail(QStringLiteral("Writing failed"), errno);
    std::error_code error;
    const fs::file_status old = fs::status(target_, error);
    if (!error && old.type() == fs::file_type::regular)
        fs::permissions(newFile_, old.permissions(), error);
    fs::rename(newFile_, target_, error);
    if (error)
        return fail(QStringLiteral("The new picture could not take the old one's place"),
                    error.value());
    finished_ = true;
    return true;
}
