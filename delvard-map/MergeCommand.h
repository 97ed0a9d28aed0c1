#pragma once

#include "delvard-map/CommandIo.h"

#include <QStringList>

namespace delvard {

// delvard-map merge, git's merge driver: args[0] is "merge"; returns the
// exit status.
int runMergeCommand(const QStringList& args, CommandIo& io);

} // namespace delvard
