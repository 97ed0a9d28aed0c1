#pragma once

#include "CommandIo.h"

#include <QStringList>

// delvard-map info: args[0] is "info"; returns the exit status.
int runInfoCommand(const QStringList& args, CommandIo& io);
