#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <string>

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

// A width x height map's bytes, record(row, column) for each cell (with an
// empty side, the one record the editor reads, row 1, column 1).
std::string mapOf(int width, int height,
                  const std::function<std::string(int row, int column)>& record);

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

// A test's own folder, removed after it; `write` fails the test if it cannot.
class Scratch
{
  public:
    QString path() const { return dir_.path(); }
    QString path(const QString& name) const { return dir_.filePath(name); }
    QString write(const QString& name, const QByteArray& bytes) const;
    QString write(const QString& name, const std::string& bytes) const
    {
        return write(name, QByteArray::fromStdString(bytes));
    }
    RunResult shell(const QString& script) const { return runShell(script, path()); }

  private:
    QTemporaryDir dir_;
};
