#include "MapFileStore.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace delvard {

namespace {

QString notAFileReason(const QFileInfo& info)
{
    if (!info.exists())
        return QStringLiteral("The file does not exist (it may have been moved or deleted).");
    if (info.isDir())
        return QStringLiteral("This is a folder, not a map file.");
    return {};
}

// Writes over the file itself, for a folder that allows no temporary file.
// The content is never shorter than the file, so nothing is truncated and
// no new disk space is needed beyond what the file grows by.
FileWriteResult writeInPlace(const QString& path, const QByteArray& whole,
                             const QString& whyNotBeside)
{
    FileWriteResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) {
        result.reason = QStringLiteral("No new file can be made beside it (%1), and the file "
                                       "itself cannot be opened for writing: %2.")
                            .arg(whyNotBeside, file.errorString());
        return result;
    }
    if (file.write(whole) != whole.size() || !file.flush()) {
        result.reason = QStringLiteral("Writing failed: %1.").arg(file.errorString());
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace

FileReadResult readWholeFile(const QString& path)
{
    FileReadResult result;
    if (path.isEmpty()) {
        result.reason = QStringLiteral("No file was chosen.");
        return result;
    }
    const QFileInfo info(path);
    result.reason = notAFileReason(info);
    if (!result.reason.isEmpty())
        return result;

    QFile file(path);
    // ReadOnly never creates the file, unlike the old binary-access open.
    if (!file.open(QIODevice::ReadOnly)) {
        result.reason =
            QStringLiteral("It cannot be opened for reading: %1.").arg(file.errorString());
        return result;
    }
    result.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.reason = QStringLiteral("It could not be read: %1.").arg(file.errorString());
        result.bytes.clear();
        return result;
    }
    result.ok = true;
    return result;
}

FileWriteResult writeOverFront(const QString& path, const QByteArray& content)
{
    FileWriteResult result;
    const QFileInfo info(path);
    result.reason = notAFileReason(info);
    if (!result.reason.isEmpty())
        return result;

    QByteArray whole = content;
    {
        QFile old(path);
        if (!old.open(QIODevice::ReadOnly)) {
            result.reason = QStringLiteral("It cannot be opened: %1.").arg(old.errorString());
            return result;
        }
        const QByteArray oldBytes = old.readAll();
        if (old.error() != QFileDevice::NoError) {
            result.reason = QStringLiteral("It could not be read: %1.").arg(old.errorString());
            return result;
        }
        // The save never shortens the file: what lies beyond the records stays.
        if (oldBytes.size() > whole.size())
            whole.append(oldBytes.mid(whole.size()));
    }

    if (!info.isWritable()) {
        result.reason = QStringLiteral("The file is read-only.");
        return result;
    }

    QSaveFile file(path);
    // Qt's own fallback only covers a folder without write permission; a
    // read-only mount or an immutable folder refuses the temporary file with
    // another error, and the file itself may still be writable.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return writeInPlace(path, whole, file.errorString());
    // Qt buffers small writes and does not notice a failure that only shows
    // when commit() flushes the buffer: it would then rename a short file
    // over the map. Flushing first catches a full disk while the old file
    // is still in place.
    if (file.write(whole) != whole.size() || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        result.reason = QStringLiteral("Writing failed: %1.").arg(file.errorString());
        file.cancelWriting();
        file.commit(); // with writing cancelled this only removes the temporary file
        return result;
    }
    if (!file.commit()) {
        result.reason = QStringLiteral("Writing failed: %1.").arg(file.errorString());
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace delvard
