#include "delvard-map/PictureFile.h"

#include "delvard-map/StandardOutput.h"
#include "document/NativeFileName.h"
#include "document/PlatformFile.h"
#include "document/ProblemWords.h"
#include "png/PngWriter.h"

#include <string_view>
#include <system_error>

namespace delvard {

namespace fs = std::filesystem;

namespace {

// Standard output's failure: a stream not written, for the system's reason.
delvard::FileProblem streamProblem(const StandardOutput& output)
{
    delvard::FileProblem problem;
    problem.kind = delvard::FileProblem::Kind::StreamNotWritten;
    problem.os = output.error();
    return problem;
}

// The file that standard output writes into, by a name that leads to it,
// where the system has one.
fs::path standardOutputName()
{
#ifdef Q_OS_WIN
    return {};
#else
    return "/dev/stdout";
#endif
}

bool sameFile(const fs::path& a, const fs::path& b)
{
    std::error_code error;
    return !a.empty() && !b.empty() && fs::equivalent(a, b, error) && !error;
}

} // namespace

QString reasonToKeep(const QString& pictureName, const QString& mapName)
{
    const bool standardOutput = pictureName == QLatin1String("-");
    const fs::path picture =
        standardOutput ? standardOutputName() : delvard::nativePath(pictureName);
    if (sameFile(picture, delvard::nativePath(mapName)))
        return QStringLiteral("This is the map being drawn; the picture will not overwrite it.");
    // Standard output is appended to, never replaced.
    if (standardOutput)
        return {};

    std::error_code error;
    if (fs::status(picture, error).type() != fs::file_type::regular)
        return {};
    const delvard::FileRead read = delvard::readFileStart(picture, PngSignature.size());
    if (!read.ok)
        return QStringLiteral("This file cannot be read to see whether it is a PNG picture, so the "
                              "picture will not overwrite it: ") +
               delvard::describeProblem(read.problem, PictureFiles);
    if (!read.bytes.empty() && !std::string_view(read.bytes).starts_with(PngSignature))
        return QStringLiteral("This file is not a PNG picture; the picture will not overwrite it.");
    return {};
}

PictureFile::PictureFile(QString name, StandardOutput* standardOutput, Interrupts interrupts)
    : name_(std::move(name)), standardOutput_(standardOutput), interrupts_(interrupts)
{
}

PictureFile::~PictureFile()
{
    // The temporary file goes with the output; only then may an interrupt
    // stop caring about it.
    file_.reset();
    removedFile_.release();
}

bool PictureFile::fail(const QString& why)
{
    problem_ = why;
    removedFile_.release();
    return false;
}

bool PictureFile::fail(const delvard::FileProblem& problem)
{
    return fail(delvard::describeProblem(problem, PictureFiles));
}

bool PictureFile::open()
{
    if (isStandardOutput()) {
        if (standardOutput_ == nullptr)
            return fail(QStringLiteral("There is no standard output here to write to."));
        standardOutput_->switchToBinary();
        return true;
    }
    // An interrupt finds the temporary file registered, or not yet made.
    const delvard::platform::interrupts::Step step;
    file_.emplace(delvard::nativePath(name_), delvard::FileOutput::Streams::Allowed);
    if (!file_->open())
        return fail(file_->problem());
    // None when the picture goes straight into its file.
    if (!file_->temporaryFile().empty())
        removedFile_ = delvard::platform::interrupts::RemovedFile(file_->temporaryFile());
    return true;
}

bool PictureFile::write(const char* bytes, std::size_t size)
{
    if (isStandardOutput()) {
        const auto length = static_cast<qint64>(size);
        if (standardOutput_->write(bytes, length) != length)
            return fail(streamProblem(*standardOutput_));
        return true;
    }
    if (!file_)
        return fail({delvard::FileProblem::Kind::NotOpen, {}, 0, {}});
    if (!file_->write(std::string_view(bytes, size)))
        return fail(file_->problem());
    return true;
}

bool PictureFile::finish()
{
    if (isStandardOutput())
        return !standardOutput_->error() || fail(streamProblem(*standardOutput_));
    if (!file_)
        return fail({delvard::FileProblem::Kind::NotOpen, {}, 0, {}});
    // An interrupt finds the picture unfinished and removes it, or finished
    // and counted.
    const delvard::platform::interrupts::Step step;
    const bool committed = file_->commit();
    removedFile_.release();
    if (committed && interrupts_ == Interrupts::RemoveUnfinishedCountFinished)
        delvard::platform::interrupts::countFinished();
    return committed || fail(file_->problem());
}

} // namespace delvard
