#pragma once

#include "delvard-map/CommandIo.h"

#include <QStringList>

namespace delvard {

// delvard-map text: args[0] is "text"; returns the exit status.
int runTextCommand(const QStringList& args, CommandIo& io);

} // namespace delvard
