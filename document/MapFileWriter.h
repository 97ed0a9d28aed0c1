#pragma once

#include <QByteArray>
#include <QString>

// Saving a map file without ever leaving half of one behind.
namespace delvard {

struct FileWrite
{
    bool ok = false;
    QString reason; // for the user, without the file's name; empty when ok
};

// Writes content over the front of the existing map file at path; bytes
// beyond content's length keep their values, so the file never shrinks.
//
// Normally the new file is written beside the old one and renamed over it,
// so a crash or a full disk leaves the old file whole. A rename would give
// the name a new file, though: where the map has other hard links, or the
// new file would not belong to the map's owner and group, or the folder
// takes no new file, the map is written in place instead, after a whole copy
// of it has been written beside it (removed once the save is complete). A
// symbolic link stays a link and its target is written; the mode is kept.
FileWrite writeMapOverFront(const QString& path, const QByteArray& content);

} // namespace delvard
