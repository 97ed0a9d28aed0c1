#pragma once

#include <QString>
#include <QStringList>

namespace delvard {

// One run of git, which is looked for on the PATH as a shell would.
// Arguments and output are names and values as the system holds them: a
// byte that is not UTF-8 travels as NativeFileName.h's conversions carry
// it, both ways, so a path or a configuration value is never changed.
struct GitRun
{
    bool ran = false;   // false: git could not be started (runProblem says why)
    int status = -1;    // git's exit status
    QString out;        // standard output, the last line end removed
    QString err;        // standard error, trimmed
    QString runProblem; // why git could not be started or did not end normally

    bool ok() const { return ran && status == 0; }
    // What went wrong, for a message: git's own words where it gave any.
    QString problem() const;
};

GitRun runGit(const QStringList& args);

} // namespace delvard
