#pragma once

#include "delvard-map/CommandIo.h"

#include <QStringList>

namespace delvard {

// delvard-map check: args[0] is "check"; returns the exit status.
int runCheckCommand(const QStringList& args, CommandIo& io);

} // namespace delvard
