#include "delvard-map/git/GitProcess.h"

#include "document/NativeFileName.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <QProcess>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;
#endif

namespace delvard {

QString GitRun::problem() const
{
    if (!ran)
        return runProblem;
    if (!err.isEmpty())
        return err;
    return QStringLiteral("git ended with status %1").arg(status);
}

namespace {

// Standard output holds paths and values, kept byte for byte.
void takeOutput(GitRun& run, const QByteArray& out, const QByteArray& err)
{
    run.out = decodeNativeName(out);
    if (run.out.endsWith(u'\n'))
        run.out.chop(1);
    run.err = QString::fromUtf8(err).trimmed();
}

} // namespace

#ifdef Q_OS_WIN

// Windows hands arguments over as UTF-16, which Qt keeps whole.
GitRun runGit(const QStringList& args)
{
    GitRun run;
    QProcess git;
    // git config never asks anything; with nothing to read it cannot wait
    // for an answer either.
    git.setStandardInputFile(QProcess::nullDevice());
    git.start(QStringLiteral("git"), args);
    if (!git.waitForStarted(-1)) {
        run.runProblem =
            QStringLiteral("git cannot be run (%1); is it installed?").arg(git.errorString());
        return run;
    }
    git.waitForFinished(-1);
    if (git.exitStatus() != QProcess::NormalExit) {
        run.runProblem = QStringLiteral("git stopped: %1").arg(git.errorString());
        return run;
    }
    run.ran = true;
    run.status = git.exitCode();
    takeOutput(run, git.readAllStandardOutput(), git.readAllStandardError());
    return run;
}

#else

// QProcess would hand git each argument as UTF-8, losing the bytes of a
// path that is not; so git is started here with the arguments' own bytes.
GitRun runGit(const QStringList& args)
{
    GitRun run;
    std::vector<std::string> bytes{"git"};
    for (const QString& arg : args)
        bytes.push_back(nativePath(arg).native());
    std::vector<char*> argv;
    for (std::string& arg : bytes)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    int outPipe[2] = {-1, -1};
    int errPipe[2] = {-1, -1};
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) {
        run.runProblem = QStringLiteral("git cannot be run: %1")
                             .arg(QString::fromLocal8Bit(std::strerror(errno)));
        for (const int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1]})
            if (fd >= 0)
                close(fd);
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // git config never asks anything; with nothing to read it cannot wait
    // for an answer either.
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    pid_t pid = -1;
    const int spawned = posix_spawnp(&pid, "git", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);

    QByteArray output[2];
    pollfd reading[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    for (int open = spawned == 0 ? 2 : 0; open > 0;) {
        if (poll(reading, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (reading[i].fd < 0 || reading[i].revents == 0)
                continue;
            char buffer[4096];
            const ssize_t got = read(reading[i].fd, buffer, sizeof buffer);
            if (got > 0) {
                output[i].append(buffer, got);
            } else if (got == 0 || errno != EINTR) {
                reading[i].fd = -1;
                --open;
            }
        }
    }
    close(outPipe[0]);
    close(errPipe[0]);
    if (spawned != 0) {
        run.runProblem = QStringLiteral("git cannot be run (%1); is it installed?")
                             .arg(QString::fromLocal8Bit(std::strerror(spawned)));
        return run;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status)) {
        run.runProblem =
            QStringLiteral("git stopped: %1")
                .arg(WIFSIGNALED(status) ? QString::fromLocal8Bit(strsignal(WTERMSIG(status)))
                                         : QStringLiteral("it did not end normally"));
        return run;
    }
    run.ran = true;
    run.status = WEXITSTATUS(status);
    takeOutput(run, output[0], output[1]);
    return run;
}

#endif

} // namespace delvard
