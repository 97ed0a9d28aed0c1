#pragma once

#include <QString>

namespace delvard {

// The folder to open for a wanted folder: the folder itself if it exists,
// else its nearest existing parent, else the user's home. An empty or
// relative name gives the home folder. The result has native separators.
QString nearestExistingFolder(const QString& wanted);

} // namespace delvard
