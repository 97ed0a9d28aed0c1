// The map file type and the thumbnailer as a desktop uses them: the MIME
// declaration read by the desktop's own tools, and the thumbnailer's Exec
// line run the way GNOME runs it, inside bubblewrap with no home folder,
// no display, no network and /usr read-only.

#include "FileFaults.h"
#include "RunProgram.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString InputInSandbox = QStringLiteral("/tmp/gnome-desktop-file-to-thumbnail.kld");
const QString OutputInSandbox = QStringLiteral("/tmp/gnome-desktop-thumbnailer.png");
const QString ProgramFolderInSandbox = QStringLiteral("/opt/delvard/bin");

// The thumbnailer's command with GNOME's placeholders filled in.
QStringList thumbnailerCommand(int size)
{
    const QString entry = QString::fromUtf8(
        readAll(QStringLiteral(DELVARD_SOURCE_DIR "/packaging/delvard.thumbnailer")));
    for (const QString& line : entry.split(u'\n')) {
        if (!line.startsWith(QLatin1String("Exec=")))
            continue;
        QStringList words = line.mid(5).split(u' ');
        words.replaceInStrings(QStringLiteral("%s"), QString::number(size));
        words.replaceInStrings(QStringLiteral("%i"), InputInSandbox);
        words.replaceInStrings(QStringLiteral("%o"), OutputInSandbox);
        return words;
    }
    return {};
}

// GNOME's binds (gnome-desktop's thumbnailer script): /usr read-only, the
// top folders that lead into it, a fresh /proc and /dev, every namespace
// unshared; the output folder is /tmp and the input is bound read-only
// under a name of the sandbox's choosing. The program, which GNOME finds
// in /usr/bin, is bound beside it from the build.
QStringList sandbox(const QString& input, const QString& outputFolder)
{
    QStringList args{QStringLiteral("--ro-bind"),
                     QStringLiteral("/usr"),
                     QStringLiteral("/usr"),
                     QStringLiteral("--ro-bind-try"),
                     QStringLiteral("/etc/ld.so.cache"),
                     QStringLiteral("/etc/ld.so.cache")};
    for (const char* top : {"bin", "lib", "lib32", "lib64", "sbin"}) {
        const QFileInfo path(QStringLiteral("/") + QLatin1String(top));
        if (path.isSymLink())
            args << QStringLiteral("--symlink") << path.symLinkTarget() << path.filePath();
        else if (path.exists())
            args << QStringLiteral("--ro-bind") << path.filePath() << path.filePath();
    }
    args << QStringLiteral("--proc") << QStringLiteral("/proc") << QStringLiteral("--dev")
         << QStringLiteral("/dev") << QStringLiteral("--chdir") << QStringLiteral("/")
         << QStringLiteral("--setenv") << QStringLiteral("GIO_USE_VFS") << QStringLiteral("local")
         << QStringLiteral("--unshare-all") << QStringLiteral("--die-with-parent")
         << QStringLiteral("--bind") << outputFolder << QStringLiteral("/tmp")
         << QStringLiteral("--ro-bind") << input << InputInSandbox << QStringLiteral("--ro-bind")
         << QStringLiteral(DELVARD_MAP_EXE)
         << ProgramFolderInSandbox + QStringLiteral("/delvard-map");
    return args;
}

QProcessEnvironment environment(const QStringList& variables)
{
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("PATH"),
                       ProgramFolderInSandbox + QStringLiteral(":/usr/bin"));
    for (const QString& variable : variables)
        environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    return environment;
}

// What the thumbnailer left in its output folder, besides the place the
// sandbox made for the input.
QStringList written(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.removeAll(QFileInfo(InputInSandbox).fileName());
    return names;
}

} // namespace

TEST(DesktopFiles, TheThumbnailerWorksInGnomesSandbox)
{
    QTemporaryDir dir;
    const QString outputs = dir.filePath(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(outputs));
    const QString probe = dir.filePath(QStringLiteral("probe"));
    ASSERT_TRUE(writeAll(probe, "probe"));
    const RunResult bwrap = runProcess(QStringLiteral("bwrap"),
                                       sandbox(probe, outputs) << QStringLiteral("/usr/bin/true"),
                                       dir.path(), environment({}));
    ASSERT_EQ(bwrap.status, 0)
        << "bwrap (Debian's bubblewrap) cannot make its sandbox here, so the thumbnailer cannot be "
           "tried the way GNOME runs it: "
        << bwrap.err.toStdString();

    const QString cut = dir.filePath(QStringLiteral("cut.kld"));
    ASSERT_TRUE(writeAll(cut, readAll(samplePath("small-10x8Map.kld")).left(200)));
    const struct
    {
        const char* what;
        QStringList variables;
    } runs[] = {
        {"without HOME and DISPLAY", {}},
        {"with HOME and DISPLAY out of reach",
         {QStringLiteral("HOME=/nonexistent/home"), QStringLiteral("DISPLAY=:77"),
          QStringLiteral("XDG_RUNTIME_DIR=/nonexistent/run")}},
    };
    for (const auto& run : runs) {
        for (const int size : {128, 256}) {
            QDir(outputs).removeRecursively();
            ASSERT_TRUE(QDir().mkpath(outputs));
            const RunResult made = runProcess(QStringLiteral("bwrap"),
                                              sandbox(samplePath("large-255x255Map.kld"), outputs)
                                                  << thumbnailerCommand(size),
                                              dir.path(), environment(run.variables));
            EXPECT_EQ(made.status, 0) << run.what << ": " << made.err.toStdString();
            EXPECT_EQ(made.err, QString()) << run.what;
            EXPECT_EQ(written(outputs), QStringList{QFileInfo(OutputInSandbox).fileName()});
            const QImage thumbnail(QDir(outputs).filePath(QFileInfo(OutputInSandbox).fileName()));
            EXPECT_EQ(thumbnail.size(), QSize(size, size)) << run.what;

            // A map that cannot be drawn: a failure, and nothing written.
            QDir(outputs).removeRecursively();
            ASSERT_TRUE(QDir().mkpath(outputs));
            const RunResult failed = runProcess(QStringLiteral("bwrap"),
                                                sandbox(cut, outputs) << thumbnailerCommand(size),
                                                dir.path(), environment(run.variables));
            EXPECT_EQ(failed.status, 1) << run.what;
            EXPECT_EQ(written(outputs), QStringList()) << run.what;
        }
    }
}

// The desktop's own reader of the declaration (shared-mime-info's
// update-mime-database, then GIO) gives map files their type whatever the
// case of their names, and no other file.
TEST(DesktopFiles, MapFilesGetTheirTypeInAnyCase)
{
    QTemporaryDir share;
    const QDir packages(share.filePath(QStringLiteral("mime/packages")));
    ASSERT_TRUE(packages.mkpath(QStringLiteral(".")));
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(DELVARD_SOURCE_DIR "/packaging/mime/net.umbervault.delvard.xml"),
                    packages.filePath(QStringLiteral("net.umbervault.delvard.xml"))));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), share.path());
    environment.insert(QStringLiteral("XDG_DATA_DIRS"), share.path());
    const RunResult update =
        runProcess(QStringLiteral("update-mime-database"), {share.filePath(QStringLiteral("mime"))},
                   share.path(), environment);
    ASSERT_EQ(update.status, 0) << update.err.toStdString();

    const QByteArray map = readAll(samplePath("small-10x8Map.kld"));
    const struct
    {
        const char* name;
        bool map;
    } names[] = {{"small-10x8Map.kld", true},
                 {"SMALLMAP.KLD", true},
                 {"map.kld", true},
                 {"small.kld", false},
                 {"Map.kld.png", false}};
    for (const auto& name : names) {
        const QString file = share.filePath(QLatin1String(name.name));
        ASSERT_TRUE(writeAll(file, map));
        const RunResult info = runProcess(QStringLiteral("gio"),
                                          {QStringLiteral("info"), QStringLiteral("-a"),
                                           QStringLiteral("standard::content-type"), file},
                                          share.path(), environment);
        ASSERT_EQ(info.status, 0) << info.err.toStdString();
        EXPECT_EQ(info.out.contains(QStringLiteral("content-type: application/x-delvard-map\n")),
                  name.map)
            << name.name << ": " << info.out.toStdString();
    }
}
