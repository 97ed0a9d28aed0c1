#include "MapFileWriter.h"

#include "MapFileReader.h"
#include "NativeFileName.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

namespace delvard {

namespace {

FileWrite failed(const QString& reason)
{
    return {false, reason};
}

// Qt reports a write cut short by a filling disk as a success of fewer
// bytes, without a reason; writing the rest again makes the system say why
// ("No space left on device"). The device must be unbuffered, or the reason
// is lost the same way when the buffer is flushed.
bool writeAll(QFileDevice& file, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const qint64 written = file.write(bytes.data(), bytes.size());
        if (written <= 0)
            return false;
        bytes = bytes.sliced(written);
    }
    return file.error() == QFileDevice::NoError;
}

// Whether renaming a new file over the map would change what the map's
// other names or its owner see: the other hard links would keep the old
// bytes, and the new file would belong to whoever saves.
bool renameWouldChangeTheFile(const QString& target)
{
    std::error_code error;
    const auto links = std::filesystem::hard_link_count(nativePath(target), error);
    if (!error && links > 1)
        return true;
    QTemporaryFile probe(target + QStringLiteral(".owner-XXXXXX"));
    if (!probe.open())
        return false; // the folder takes no new file; the rename path finds that out
    const QFileInfo fresh(probe.fileName());
    const QFileInfo map(target);
    return fresh.ownerId() != map.ownerId() || fresh.groupId() != map.groupId();
}

FileWrite writeInPlace(const QString& target, const QByteArray& whole, const std::string& old)
{
    // A whole copy of the map beside it first: should the system fail while
    // the map is being overwritten, the copy still holds every byte. A folder
    // that takes no new file gets no copy; the map is then written in one go.
    QString copyPath;
    {
        QTemporaryFile copy(target + QStringLiteral(".backup-XXXXXX"));
        copy.setAutoRemove(false);
        if (copy.open()) {
            copyPath = copy.fileName();
            copy.close();
            QFile unbuffered(copyPath);
            if (!unbuffered.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
                !writeAll(unbuffered, QByteArrayView(old.data(), qsizetype(old.size())))) {
                const QString why = unbuffered.errorString();
                unbuffered.close();
                QFile::remove(copyPath);
                return failed(
                    QStringLiteral("A copy of the map could not be written beside it first: %1.")
                        .arg(why));
            }
        }
    }

    QFile file(target);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        if (!copyPath.isEmpty())
            QFile::remove(copyPath);
        return failed(
            QStringLiteral("It cannot be opened for writing: %1.").arg(file.errorString()));
    }
    if (!writeAll(file, whole)) {
        QString reason = QStringLiteral("Writing into it failed: %1.").arg(file.errorString());
        if (!copyPath.isEmpty())
            reason +=
                QStringLiteral(" The map as it was is kept in \"%1\".").arg(displayName(copyPath));
        return failed(reason);
    }
    file.close();
    if (!copyPath.isEmpty())
        QFile::remove(copyPath);
    return {true, QString()};
}

} // namespace

FileWrite writeMapOverFront(const QString& path, const QByteArray& content)
{
    // The same reader as Open: a file that became a folder, a pipe or a
    // device, or vanished, is refused before anything is written.
    const FileRead old = readMapFile(nativePath(path));
    if (!old.ok)
        return failed(QString::fromStdString(old.reason));
    QByteArray whole = content;
    if (old.bytes.size() > static_cast<std::size_t>(content.size()))
        whole.append(old.bytes.data() + content.size(),
                     static_cast<qsizetype>(old.bytes.size()) - content.size());

    const QFileInfo info(path);
    if (!info.isWritable())
        return failed(QStringLiteral("The file is read-only."));
    // Links resolved: the copy and the new file belong beside the file itself.
    const QString target = info.canonicalFilePath();

    if (renameWouldChangeTheFile(target))
        return writeInPlace(target, whole, old.bytes);

    QSaveFile file(target);
    // Qt's own fallback covers only a folder without write permission; a
    // read-only mount or an immutable folder refuses the new file otherwise.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return writeInPlace(target, whole, old.bytes);
    if (!writeAll(file, whole)) {
        const QString why = file.errorString();
        file.cancelWriting();
        file.commit(); // with writing cancelled this only removes the new file
        return failed(QStringLiteral("Writing the new copy beside it failed: %1.").arg(why));
    }
    if (!file.commit())
        return failed(QStringLiteral("The new copy could not take the old one's place: %1.")
                          .arg(file.errorString()));
    return {true, QString()};
}

} // namespace delvard
