#pragma once

#include "delvard-map/CommandIo.h"

#include <QStringList>

namespace delvard {

// delvard-map diff: args[0] is "diff"; returns the exit status.
int runDiffCommand(const QStringList& args, CommandIo& io);

} // namespace delvard
