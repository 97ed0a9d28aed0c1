#include "SettingsFile.h"

#include "ProfileFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

// The value buffer the editor has always read through.
constexpr qsizetype IniValueBufferSize = 255;

struct Attempt
{
    bool opened = false;
    bool empty = false;
    QString reason;
};

// Open for appending and close at once: creates a missing file, leaves an
// existing one as it is.
Attempt touch(const QString& path)
{
    Attempt attempt;
    QFile f(path);
    if (!f.open(QIODevice::Append)) {
        attempt.reason = f.errorString();
        return attempt;
    }
    attempt.opened = true;
    attempt.empty = f.size() == 0;
    return attempt;
}

// The content of a settings file that exists but cannot be written (an
// installed program's own Delvard.ini), or nothing.
QByteArray readOnlySettings(const QString& path)
{
    QFile f(path);
    if (!f.exists() || !f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QString quoted(const QString& path)
{
    return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
}

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
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
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
        primary.reason = QCoreApplication::translate(
            "Settings", "the program's folder belongs to the system's package manager");
    if (primary.opened) {
        start.path_ = primaryPath;
        start.firstRun_ = primary.empty;
        return start;
    }

    QString fallbackReason;
    QString fallbackPath;
    if (fallbackFolder.isEmpty()) {
        fallbackReason =
            QCoreApplication::translate("Settings", "no per-user settings folder is known");
    } else {
        fallbackPath = pathIn(fallbackFolder);
        if (!QDir().mkpath(fallbackFolder)) {
            fallbackReason =
                QCoreApplication::translate("Settings", "the folder %1 cannot be created")
                    .arg(quoted(fallbackFolder));
        } else {
            Attempt fallback = touch(fallbackPath);
            // A read-only Delvard.ini beside the program still says where
            // the maps are: it seeds the user's own file instead of asking.
            const QByteArray shipped = readOnlySettings(primaryPath);
            if (fallback.opened && fallback.empty && !shipped.isEmpty()) {
                QFile seed(fallbackPath);
                if (seed.open(QIODevice::WriteOnly) && seed.write(shipped) == shipped.size())
                    fallback.empty = false;
            }
            if (fallback.opened) {
                start.path_ = fallbackPath;
                start.inUserFolder_ = true;
                start.firstRun_ = fallback.empty;
                return start;
            }
            fallbackReason = fallback.reason;
        }
    }

    const QString primaryPart =
        QCoreApplication::translate("Settings", "%1 (%2)").arg(quoted(primaryPath), primary.reason);
    if (fallbackPath.isEmpty()) {
        start.problem_ = QCoreApplication::translate(
                             "Settings", "Delvard could not create or open its settings file %1, "
                                         "and %2. The map folder will not be remembered after "
                                         "this run.")
                             .arg(primaryPart, fallbackReason);
    } else {
        start.problem_ = QCoreApplication::translate(
                             "Settings", "Delvard could not create or open its settings file %1, "
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
        reason = QCoreApplication::translate("Settings", "No settings file is in use, so the map "
                                                         "folder is kept for this run only.");
    } else {
        const ProfileFile::WriteResult result = ProfileFile::write(
            QByteArrayLiteral("Paths"), QByteArrayLiteral("Map"), folder.toUtf8(), path_);
        if (result.ok)
            return true;
        reason =
            result.problem + QLatin1Char(' ') +
            QCoreApplication::translate("Settings", "The map folder is kept for this run only.");
    }
    if (problem)
        *problem = reason;
    return false;
}
