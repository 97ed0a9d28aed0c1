#include "RunProgram.h"

#include "DelvardMap.h"

#include <QCoreApplication>
#include <QProcess>

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
    RunResult result;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        result.err = process.errorString();
        return result;
    }
    result.status = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

RunResult runInProcess(const QStringList& args)
{
    RunResult result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    CommandIo io{out, err};
    result.status = runDelvardMap(args, io);
    return result;
}
