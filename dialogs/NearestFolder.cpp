#include "dialogs/NearestFolder.h"

#include <QDir>
#include <QFileInfo>

namespace delvard {

QString nearestExistingFolder(const QString& wanted)
{
    // An empty or relative name names no folder that could be found again.
    const QString cleaned = QDir::cleanPath(QDir::fromNativeSeparators(wanted));
    if (!wanted.isEmpty() && QDir::isAbsolutePath(cleaned)) {
        for (QString folder = cleaned;;) {
            if (QFileInfo(folder).isDir())
                return QDir::toNativeSeparators(folder);
            const QString parent = QFileInfo(folder).path();
            if (parent == folder)
                break;
            folder = parent;
        }
    }
    return QDir::toNativeSeparators(QDir::homePath());
}

} // namespace delvard
