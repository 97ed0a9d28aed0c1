#include "tests/support/FileFaults.h"

#include <QFile>
#include <QProcess>

namespace {

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace

ScratchMount::ScratchMount(int kilobytes)
{
    if (dir_.isValid())
        mounted_ =
            run(QStringLiteral("mount"),
                {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                 QStringLiteral("size=%1k").arg(kilobytes), QStringLiteral("tmpfs"), dir_.path()});
}

ScratchMount::~ScratchMount()
{
    if (mounted_)
        run(QStringLiteral("umount"), {dir_.path()});
}

bool ScratchMount::makeReadOnly()
{
    return mounted_ && run(QStringLiteral("mount"),
                           {QStringLiteral("-o"), QStringLiteral("remount,ro"), dir_.path()});
}

Immutable::Immutable(QString path) : path_(std::move(path))
{
    active_ = run(QStringLiteral("chattr"), {QStringLiteral("+i"), path_});
}

Immutable::~Immutable()
{
    if (active_)
        run(QStringLiteral("chattr"), {QStringLiteral("-i"), path_});
}
