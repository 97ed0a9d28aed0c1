#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// What a run of delvard-map left behind.
struct RunResult
{
    int status = -1;
    QString out;
    QString err;
};

inline QString samplePath(const char* name)
{
    return QStringLiteral(DELVARD_SAMPLES_DIR "/") + QLatin1String(name);
}

// QProcess wants an application object for its child-process bookkeeping.
void ensureApplication();

// The real executable in a child process, as a shell would run it.
RunResult runProgram(const QStringList& args);

// Any program, in `folder`, with exactly the environment given.
RunResult runProcess(const QString& program, const QStringList& args, const QString& folder,
                     const QProcessEnvironment& environment);

// A bash script run in `folder`, for names, pipes and redirections that
// QProcess cannot express; $MAP is the program, $SAMPLE the small sample.
RunResult runShell(const QString& script, const QString& folder);
