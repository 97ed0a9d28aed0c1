#pragma once

#include "delvard-map/CommandIo.h"

#include <QStringList>

namespace delvard {

// delvard-map git-setup: args[0] is "git-setup"; `program` is the absolute
// path of delvard-map, which git is told to run. Returns the exit status.
int runGitSetupCommand(const QStringList& args, CommandIo& io, const QString& program);

} // namespace delvard
