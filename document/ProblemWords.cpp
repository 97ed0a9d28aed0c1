#include "document/ProblemWords.h"

#include "document/NativeFileName.h"

namespace delvard {

namespace {

// The words are the program's own, in English, with no translation: scripts
// and people searching for a message find the same words everywhere.
QString words(const char* text)
{
    return QString::fromUtf8(text);
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
    return QString::fromUtf8(kind.noun.data(), static_cast<qsizetype>(kind.noun.size()));
}

} // namespace

QString systemWords(const std::error_code& error)
{
    return error ? QString::fromStdString(error.message()) : words("the system gave no reason");
}

QString describeProblem(const FileProblem& problem, const FileKind& kind)
{
    using Kind = FileProblem::Kind;
    const QString os = systemWords(problem.os);
    switch (problem.kind) {
    case Kind::None:
        return {};
    case Kind::NoName:
        return words("No file was chosen.");
    case Kind::Missing:
        return words("The file does not exist (it may have been moved or deleted).");
    case Kind::DanglingLink:
        return words("It is a symbolic link to \"%1\", which does not exist.")
            .arg(withControlCharactersEscaped(QString::fromStdString(problem.detail)));
    case Kind::Unreachable:
        return words("It cannot be reached: %1.").arg(os);
    case Kind::Folder:
        return words("This is a folder, not a %1.").arg(noun(kind));
    case Kind::NamedPipe:
        return words("This is a named pipe, not a %1.").arg(noun(kind));
    case Kind::Device:
        return words("This is a device, not a %1.").arg(noun(kind));
    case Kind::Socket:
        return words("This is a socket, not a %1.").arg(noun(kind));
    case Kind::NotRegular:
        return words("This is not a regular file, so it is not a %1.").arg(noun(kind));
    case Kind::TooLarge: {
        const QString note =
            kind.sizeNote.empty()
                ? QString()
                : QStringLiteral(" (%1)").arg(QString::fromUtf8(
                      kind.sizeNote.data(), static_cast<qsizetype>(kind.sizeNote.size())));
        return words("The file is %1 bytes long; a %2 is never larger than %3 MiB%4, so it is not "
                     "read.")
            .arg(withThousands(problem.size), noun(kind))
            .arg(kind.maxBytes / (1024 * 1024))
            .arg(note);
    }
    case Kind::CannotOpenForReading:
        return words("It cannot be opened for reading: %1.").arg(os);
    case Kind::CannotRead:
        return words("It could not be read: %1.").arg(os);
    case Kind::OutOfMemory:
        return words("There is not enough memory to read it.");
    case Kind::ReadOnly:
        return words("The file is read-only: %1.").arg(os);
    case Kind::CannotOpenForWriting:
        return words("It cannot be opened for writing: %1.").arg(os);
    case Kind::CannotCreate:
        return words("It cannot be created: %1.").arg(os);
    case Kind::NoNewFileBeside:
        return words("No new file can be made beside it: %1.").arg(os);
    case Kind::CopyNotWritten:
        return words("A copy of the file could not be written beside it first: %1.").arg(os);
    case Kind::NoSafetyCopy:
        return words("Its folder takes no new file and no safety copy can be kept elsewhere while "
                     "it is written in place (%1); a crash during the write could damage it.")
            .arg(os);
    case Kind::NewCopyNotWritten:
        return words("Writing the new copy beside it failed: %1.").arg(os);
    case Kind::NotWrittenInPlace:
        return words("Writing into it failed: %1.").arg(os);
    case Kind::StreamNotWritten:
        return words("Writing failed: %1.").arg(os);
    case Kind::NewCopyNotInPlace:
        return words("The new copy could not take the old one's place: %1.").arg(os);
    case Kind::FolderNotSynced:
        return words("The folder could not be synced after the new copy took the old one's place: "
                     "%1.")
            .arg(os);
    case Kind::NotOpen:
        return words("The file is not open for writing.");
    case Kind::FolderNotMade:
        return words("The folder cannot be made: %1.").arg(os);
    case Kind::FileNotFolder:
        return words("This is a file, not a folder.");
    }
    return {};
}

QString describeProblem(const MapCheck& check)
{
    switch (check.problem) {
    case MapProblem::None:
        return {};
    case MapProblem::TooShortForHeader:
        return words("The file is %1 bytes long, too short for the 36-byte map header.")
            .arg(check.fileSize);
    case MapProblem::TruncatedBody:
        return words("The map is %1 x %2 cells, so %3 cell records were expected, but the file "
                     "holds only %4.")
            .arg(check.width)
            .arg(check.height)
            .arg(check.expectedRecords)
            .arg(check.foundRecords);
    }
    return {};
}

} // namespace delvard
