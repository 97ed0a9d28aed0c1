#include "document/ProblemWords.h"

#include "document/NativeFileName.h"

#include <QCoreApplication>

namespace delvard {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("delvard", text);
}

// Always grouped by threes with commas: the messages are the same on every
// machine, so that scripts and their users can rely on them.
QString withThousands(std::uintmax_t value)
{
    const QString digits = QString::number(value);
    QString grouped;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += QLatin1Char(',');
        grouped += digits[i];
    }
    return grouped;
}

QString noun(const FileKind& kind)
{
    return QCoreApplication::translate("delvard", std::string(kind.noun).c_str());
}

} // namespace

QString systemWords(const std::error_code& error)
{
    return error ? QString::fromStdString(error.message()) : tr("the system gave no reason");
}

QString describeProblem(const FileProblem& problem, const FileKind& kind)
{
    using Kind = FileProblem::Kind;
    const QString os = systemWords(problem.os);
    switch (problem.kind) {
    case Kind::None:
        return {};
    case Kind::NoName:
        return tr("No file was chosen.");
    case Kind::Missing:
        return tr("The file does not exist (it may have been moved or deleted).");
    case Kind::DanglingLink:
        return tr("It is a symbolic link to \"%1\", which does not exist.")
            .arg(withControlCharactersEscaped(QString::fromStdString(problem.detail)));
    case Kind::Unreachable:
        return tr("It cannot be reached: %1.").arg(os);
    case Kind::Folder:
        return tr("This is a folder, not a %1.").arg(noun(kind));
    case Kind::NamedPipe:
        return tr("This is a named pipe, not a %1.").arg(noun(kind));
    case Kind::Device:
        return tr("This is a device, not a %1.").arg(noun(kind));
    case Kind::Socket:
        return tr("This is a socket, not a %1.").arg(noun(kind));
    case Kind::NotRegular:
        return tr("This is not a regular file, so it is not a %1.").arg(noun(kind));
    case Kind::TooLarge: {
        const QString note =
            kind.sizeNote.empty()
                ? QString()
                : QStringLiteral(" (%1)").arg(tr(std::string(kind.sizeNote).c_str()));
        return tr("The file is %1 bytes long; a %2 is never larger than %3 MiB%4, so it is not "
                  "read.")
            .arg(withThousands(problem.size), noun(kind))
            .arg(kind.maxBytes / (1024 * 1024))
            .arg(note);
    }
    case Kind::CannotOpenForReading:
        return tr("It cannot be opened for reading: %1.").arg(os);
    case Kind::CannotRead:
        return tr("It could not be read: %1.").arg(os);
    case Kind::OutOfMemory:
        return tr("There is not enough memory to read it.");
    case Kind::ReadOnly:
        return tr("The file is read-only: %1.").arg(os);
    case Kind::CannotOpenForWriting:
        return tr("It cannot be opened for writing: %1.").arg(os);
    case Kind::CannotCreate:
        return tr("It cannot be created: %1.").arg(os);
    case Kind::NoNewFileBeside:
        return tr("No new file can be made beside it: %1.").arg(os);
    case Kind::CopyNotWritten:
        return tr("A copy of the file could not be written beside it first: %1.").arg(os);
    case Kind::NoSafetyCopy:
        return tr("Its folder takes no new file and no safety copy can be kept elsewhere while "
                  "it is written in place (%1); a crash during the write could damage it.")
            .arg(os);
    case Kind::NewCopyNotWritten:
        return tr("Writing the new copy beside it failed: %1.").arg(os);
    case Kind::NotWrittenInPlace:
        return tr("Writing into it failed: %1.").arg(os);
    case Kind::StreamNotWritten:
        return tr("Writing failed: %1.").arg(os);
    case Kind::NewCopyNotInPlace:
        return tr("The new copy could not take the old one's place: %1.").arg(os);
    case Kind::FolderNotSynced:
        return tr("The folder could not be synced after the new copy took the old one's place: "
                  "%1.")
            .arg(os);
    case Kind::NotOpen:
        return tr("The file is not open for writing.");
    case Kind::FolderNotMade:
        return tr("The folder cannot be made: %1.").arg(os);
    case Kind::FileNotFolder:
        return tr("This is a file, not a folder.");
    }
    return {};
}

QString describeProblem(const MapCheck& check)
{
    switch (check.problem) {
    case MapProblem::None:
        return {};
    case MapProblem::TooShortForHeader:
        return tr("The file is %1 bytes long, too short for the 36-byte map header.")
            .arg(check.fileSize);
    case MapProblem::TruncatedBody:
        return tr("The map is %1 x %2 cells, so %3 cell records were expected, but the file "
                  "holds only %4.")
            .arg(check.width)
            .arg(check.height)
            .arg(check.expectedRecords)
            .arg(check.foundRecords);
    }
    return {};
}

} // namespace delvard
