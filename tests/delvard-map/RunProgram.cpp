#include "RunProgram.h"

#include <QCoreApplication>
#include <QProcess>

namespace {

// An outer bound only: a run that blocked would hit it and fail.
constexpr int RunTimeoutMs = 60000;

RunResult finish(QProcess& process)
{
    RunResult result;
    if (!process.waitForFinished(RunTimeoutMs) || process.exitStatus() != QProcess::NormalExit) {
        result.err = process.errorString();
        return result;
    }
    result.status = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

} // namespace

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "cli_tests";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr)
        new QCoreApplication(argc, argv);
}

RunResult runProgram(const QStringList& args)
{
    ensureApplication();
    QProcess process;
    process.start(QStringLiteral(DELVARD_MAP_EXE), args);
    return finish(process);
}

RunResult runProcess(const QString& program, const QStringList& args, const QString& folder,
                     const QProcessEnvironment& environment)
{
    ensureApplication();
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(program, args);
    return finish(process);
}

RunResult runShell(const QString& script, const QString& folder)
{
    ensureApplication();
    QProcess shell;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MAP"), QStringLiteral(DELVARD_MAP_EXE));
    env.insert(QStringLiteral("SAMPLE"), QStringLiteral(DELVARD_SAMPLES_DIR "/small-10x8Map.kld"));
    shell.setProcessEnvironment(env);
    shell.setWorkingDirectory(folder);
    shell.start(QStringLiteral("bash"), {QStringLiteral("-c"), script});
    return finish(shell);
}
