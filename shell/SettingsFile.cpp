#include "shell/SettingsFile.h"

#include "document/FileReader.h"
#include "document/FileWriter.h"
#include "document/Folders.h"
#include "document/NativeFileName.h"
#include "document/ProblemWords.h"
#include "document/ProfileFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace delvard {

namespace {

// The value buffer the editor has always read through.
constexpr qsizetype IniValueBufferSize = 255;

struct Attempt
{
    bool opened = false;
    bool empty = false;
    QString reason;
};

// Creates a missing file, leaves an existing one as it is. A named pipe or
// a device in its place is refused without being opened: opening one could
// wait for ever for the other end.
Attempt touch(const QString& path)
{
    Attempt attempt;
    const delvard::FileAtHand file = delvard::makeSureFileExists(delvard::nativePath(path));
    if (!file.ok) {
        attempt.reason = delvard::describeProblem(file.problem, delvard::SettingsFiles);
        // It stands inside a sentence of the start-up message.
        if (attempt.reason.endsWith(QLatin1Char('.')))
            attempt.reason.chop(1);
        if (!attempt.reason.isEmpty())
            attempt.reason[0] = attempt.reason[0].toLower();
        return attempt;
    }
    attempt.opened = true;
    attempt.empty = file.empty;
    return attempt;
}

// The content of a settings file that exists but cannot be written (an
// installed program's own Delvard.ini), or nothing.
QByteArray readOnlySettings(const QString& path)
{
    const delvard::FileRead read =
        delvard::readWholeFile(delvard::nativePath(path), delvard::SettingsFiles);
    return read.ok ? QByteArray::fromStdString(read.bytes) : QByteArray();
}

QString quoted(const QString& path)
{
    return QLatin1Char('"') + delvard::displayName(path) + QLatin1Char('"');
}

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
// An absolute folder named by an environment variable, or empty text: a
// relative one would put the settings wherever the program happens to be
// started, so it counts as not set.
QString absoluteFolderFrom(const char* variable)
{
    const QString folder = delvard::decodeNativeName(qgetenv(variable));
    return QDir::isAbsolutePath(folder) ? folder : QString();
}
#endif

} // namespace

QString readIniValue(const QString& section, const QString& key, const QString& file)
{
    const ProfileFile::ReadResult result =
        ProfileFile::read(section.toUtf8(), key.toUtf8(), QByteArray(), IniValueBufferSize, file);
    return QString::fromUtf8(result.value.left(result.copied));
}

QString SettingsFile::pathIn(const QString& folder)
{
    return QDir::toNativeSeparators(folder) + QDir::separator() + QStringLiteral("Delvard.ini");
}

QString SettingsFile::userFolder()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // The freedesktop rules, followed more strictly than QStandardPaths does
    // it: a relative XDG_CONFIG_HOME is ignored, and without a home of its
    // own the user has no settings folder (rather than one under "/").
    QString base = absoluteFolderFrom("XDG_CONFIG_HOME");
    if (base.isEmpty()) {
        const QString home = absoluteFolderFrom("HOME");
        if (home.isEmpty())
            return {};
        base = home + QStringLiteral("/.config");
    }
    return base + QLatin1Char('/') + QCoreApplication::applicationName();
#else
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
#endif
}

SettingsFile SettingsFile::prepare(const QString& programFolder, const QString& fallbackFolder,
                                   Install install)
{
    SettingsFile start;
    const QString primaryPath = pathIn(programFolder);
    Attempt primary;
    if (install == Install::Portable)
        primary = touch(primaryPath);
    else
        primary.reason =
            QStringLiteral("the program's folder belongs to the system's package manager");
    if (primary.opened) {
        start.path_ = primaryPath;
        start.firstRun_ = primary.empty;
        return start;
    }

    QString fallbackReason;
    QString fallbackPath;
    if (fallbackFolder.isEmpty()) {
        fallbackReason = QStringLiteral("no per-user settings folder is known");
    } else {
        fallbackPath = pathIn(fallbackFolder);
        if (const delvard::FileProblem made =
                delvard::makeFolders(delvard::nativePath(fallbackFolder))) {
            fallbackReason = QStringLiteral("the folder %1 cannot be created: %2")
                                 .arg(quoted(fallbackFolder), delvard::systemWords(made.os));
        } else {
            Attempt fallback = touch(fallbackPath);
            // A read-only Delvard.ini beside the program still says where
            // the maps are: it seeds the user's own file instead of asking.
            const QByteArray shipped = readOnlySettings(primaryPath);
            if (fallback.opened && fallback.empty && !shipped.isEmpty() &&
                delvard::replaceFile(
                    delvard::nativePath(fallbackPath),
                    std::string_view(shipped.constData(), static_cast<std::size_t>(shipped.size())))
                    .ok)
                fallback.empty = false;
            if (fallback.opened) {
                start.path_ = fallbackPath;
                start.inUserFolder_ = true;
                start.firstRun_ = fallback.empty;
                return start;
            }
            fallbackReason = fallback.reason;
        }
    }

    const QString primaryPart = QStringLiteral("%1 (%2)").arg(quoted(primaryPath), primary.reason);
    if (fallbackPath.isEmpty()) {
        start.problem_ = QStringLiteral("Delvard could not create or open its settings file %1, "
                                        "and %2. The map folder will not be remembered after "
                                        "this run.")
                             .arg(primaryPart, fallbackReason);
    } else {
        start.problem_ = QStringLiteral("Delvard could not create or open its settings file %1, "
                                        "nor %2 (%3). The map folder will not be remembered "
                                        "after this run.")
                             .arg(primaryPart, quoted(fallbackPath), fallbackReason);
    }
    return start;
}

QString SettingsFile::mapFolder() const
{
    return readIniValue(QStringLiteral("Paths"), QStringLiteral("Map"), path_);
}

bool SettingsFile::storeMapFolder(const QString& folder, QString* problem) const
{
    QString reason;
    if (path_.isEmpty()) {
        reason = QStringLiteral("No settings file is in use, so the map "
                                "folder is kept for this run only.");
    } else {
        const Outcome result = ProfileFile::write(QByteArrayLiteral("Paths"),
                                                  QByteArrayLiteral("Map"), folder.toUtf8(), path_);
        if (result.ok)
            return true;
        reason = result.problem + QLatin1Char(' ') +
                 QStringLiteral("The map folder is kept for this run only.");
    }
    if (problem)
        *problem = reason;
    return false;
}

} // namespace delvard
