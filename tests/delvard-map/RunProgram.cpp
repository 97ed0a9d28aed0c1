#include "tests/delvard-map/RunProgram.h"

#include "tests/document/MapBytes.h"
#include "tests/support/FileFaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

#include <gtest/gtest.h>

std::string mapOf(int width, int height,
                  const std::function<std::string(int row, int column)>& record)
{
    std::string bytes = mapBytes(width, height);
    if (width == 0 || height == 0)
        return bytes + record(1, 1);
    for (int row = 1; row <= height; ++row)
        for (int column = 1; column <= width; ++column)
            bytes += record(row, column);
    return bytes;
}

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "cli_tests";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr)
        new QCoreApplication(argc, argv);
}

RunResult runProcess(const QString& program, const QStringList& args, const QString& folder,
                     const QProcessEnvironment& environment)
{
    ensureApplication();
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(program, args);
    RunResult result;
    // An outer bound only: a run that blocked would hit it and fail.
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        result.err = process.errorString();
        return result;
    }
    result.status = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

RunResult runProgram(const QStringList& args)
{
    return runProcess(QStringLiteral(DELVARD_MAP_EXE), args, QDir::currentPath(),
                      QProcessEnvironment::systemEnvironment());
}

RunResult runShell(const QString& script, const QString& folder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MAP"), QStringLiteral(DELVARD_MAP_EXE));
    environment.insert(QStringLiteral("SAMPLE"), samplePath("small-10x8Map.kld"));
    return runProcess(QStringLiteral("bash"), {QStringLiteral("-c"), script}, folder, environment);
}

QString Scratch::write(const QString& name, const QByteArray& bytes) const
{
    const QString file = path(name);
    if (!dir_.isValid() || !writeAll(file, bytes))
        ADD_FAILURE() << "cannot write " << file.toStdString();
    return file;
}
