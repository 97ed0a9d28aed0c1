#pragma once

#include <QByteArray>
#include <QString>

// Whole-file reads and safe writes of map files. Every failure comes back
// with a sentence for the user; the caller adds the file's name.
namespace delvard {

struct FileReadResult
{
    bool ok = false;
    QByteArray bytes;
    QString reason;
};

// Reads the whole file. Never creates a file that is not there.
FileReadResult readWholeFile(const QString& path);

struct FileWriteResult
{
    bool ok = false;
    QString reason;
};

// Writes content over the front of an existing file without shortening it:
// bytes beyond content's length keep their values. The new file is written
// beside the old one and renamed over it, so a failure at any point leaves
// the old file whole. Only where the folder forbids that temporary file and
// the file itself is writable does it write in place.
FileWriteResult writeOverFront(const QString& path, const QByteArray& content);

} // namespace delvard
