#pragma once

#include "delvard-map/CommandIo.h"

#include <QStringList>

namespace delvard {

// delvard-map info: args[0] is "info"; returns the exit status.
int runInfoCommand(const QStringList& args, CommandIo& io);

} // namespace delvard
