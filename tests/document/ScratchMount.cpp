#include "ScratchMount.h"

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

void ScratchMount::fill() const
{
    const QByteArray block(4096, 'f');
    for (int n = 0; n < 100000; ++n) {
        QFile filler(dir_.filePath(QStringLiteral("filler%1").arg(n)));
        if (!filler.open(QIODevice::WriteOnly))
            return;
        bool full = false;
        while (!full)
            full = filler.write(block) != block.size() || !filler.flush();
        filler.close();
        if (filler.size() == 0)
            return;
    }
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
