#pragma once

#include "CommandIo.h"

#include <QString>
#include <QStringList>

// What a run of delvard-map left behind.
struct RunResult
{
    int status = -1;
    QString out;
    QString err;
};

// QProcess wants an application object for its child-process bookkeeping.
void ensureApplication();

// The real executable in a child process, as a shell would run it.
RunResult runProgram(const QStringList& args);

// The same program in this process, through the library.
RunResult runInProcess(const QStringList& args);
