#pragma once

#include "CommandIo.h"

#include <QStringList>

// delvard-map render: args[0] is "render"; returns the exit status.
int runRenderCommand(const QStringList& args, CommandIo& io);
