#include "GitProcess.h"

#include <QProcess>

namespace delvard {

QString GitRun::failure() const
{
    if (!ran)
        return problem;
    if (!err.isEmpty())
        return err;
    return QStringLiteral("git ended with status %1").arg(status);
}

GitRun runGit(const QStringList& args)
{
    GitRun run;
    QProcess git;
    // git config never asks anything; with nothing to read it cannot wait
    // for an answer either.
    git.setStandardInputFile(QProcess::nullDevice());
    git.start(QStringLiteral("git"), args);
    if (!git.waitForStarted(-1)) {
        run.problem =
            QStringLiteral("git cannot be run (%1); is it installed?").arg(git.errorString());
        return run;
    }
    git.waitForFinished(-1);
    if (git.exitStatus() != QProcess::NormalExit) {
        run.problem = QStringLiteral("git stopped: %1").arg(git.errorString());
        return run;
    }
    run.ran = true;
    run.status = git.exitCode();
    run.out = QString::fromUtf8(git.readAllStandardOutput());
    if (run.out.endsWith(u'\n'))
        run.out.chop(1);
    run.err = QString::fromUtf8(git.readAllStandardError()).trimmed();
    return run;
}

} // namespace delvard
