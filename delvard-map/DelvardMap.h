#pragma once

#include "CommandIo.h"

#include <QStringList>

// The whole program: args are the command-line arguments after the
// program's name; returns the exit status.
int runDelvardMap(const QStringList& args, CommandIo& io);
