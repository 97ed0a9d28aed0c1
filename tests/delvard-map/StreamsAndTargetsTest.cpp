// What delvard-map does with the files and streams it is pointed at: render
// keeps the map it draws and any file that is not a picture, leaves nothing
// behind when it is stopped, and every command fails, saying why, when its
// output cannot be written. Each case runs the real program; the files it
// writes go through the file layer, whose own tests cover names, links and
// full disks.

#include "FileFaults.h"
#include "RunProgram.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

#include <signal.h>

namespace {

// Every file in the folder, hidden ones too, with its bytes (through a link, the target's).
QMap<QString, QByteArray> folderContents(const QString& folder)
{
    QMap<QString, QByteArray> contents;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        contents.insert(name, readAll(dir.filePath(name)));
    return contents;
}

QStringList leftovers(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral(".delvard-*")},
                                  QDir::Files | QDir::Hidden | QDir::System);
}

const QByteArray PngSignature("\x89PNG\r\n\x1a\n", 8);

} // namespace

// The accident this guards against: a slip of the arguments, after which the
// map (or whatever file stood where the picture was to go) was gone. (The
// plainest cases are among the documented examples.)
TEST(RenderTargets, TheMapAndFilesThatAreNoPictureAreKeptByteForByte)
{
    const struct
    {
        const char* what;
        const char* setup; // run in a folder that holds victimMap.kld, a copy of the sample
        const char* args;
        const char* says;
    } cases[] = {
        {"another spelling of it", "", "victimMap.kld ./victimMap.kld",
         "./victimMap.kld: This is the map being drawn"},
        {"a symbolic link to it", "ln -s victimMap.kld link.png", "victimMap.kld link.png",
         "link.png: This is the map being drawn"},
        {"/dev/stdout appending to it", "", "victimMap.kld /dev/stdout >> victimMap.kld",
         "/dev/stdout: This is the map being drawn"},
        {"standard output appending to it", "", "victimMap.kld - >> victimMap.kld",
         "standard output: This is the map being drawn"},
        {"another map", "cp victimMap.kld someMap.kld", "victimMap.kld someMap.kld",
         "someMap.kld: This file is not a PNG picture"},
        {"a link to a text file", "echo notes > notes.txt; ln -s notes.txt link.png",
         "victimMap.kld link.png", "link.png: This file is not a PNG picture"},
        {"a file shorter than the PNG signature", "printf '\\211PNG' > short.png",
         "victimMap.kld short.png", "short.png: This file is not a PNG picture"},
        // The arguments swapped: the picture is read as a map. This one
        // happens to decode (as a map 0 cells wide), so the map is the target.
        {"a picture that decodes, then the map", "\"$MAP\" render victimMap.kld pic.png",
         "pic.png victimMap.kld", "victimMap.kld: This file is not a PNG picture"},
        {"a file that is no map, then the map", "echo notes > pic.png", "pic.png victimMap.kld",
         "pic.png: The file is 6 bytes long, too short for the 36-byte map header."},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        ASSERT_TRUE(QFile::copy(samplePath("small-10x8Map.kld"),
                                dir.filePath(QStringLiteral("victimMap.kld"))));
        ASSERT_EQ(runShell(QLatin1String(c.setup), dir.path()).status, 0) << c.what;
        const QMap<QString, QByteArray> before = folderContents(dir.path());

        const RunResult run =
            runShell(QStringLiteral("\"$MAP\" render ") + QLatin1String(c.args), dir.path());
        EXPECT_EQ(run.status, 1) << c.what;
        EXPECT_TRUE(
            run.err.startsWith(QStringLiteral("delvard-map render: ") + QLatin1String(c.says)))
            << c.what << ": " << run.err.toStdString();
        EXPECT_EQ(run.err.count(u'\n'), 1) << c.what;
        EXPECT_EQ(folderContents(dir.path()), before) << c.what;
    }
}

// A render stopped by kill or Ctrl+C while its picture is half written: the
// half picture goes with it and the old one stays.
TEST(RenderInterrupted, LeavesTheOldPictureAndNoTemporaryFile)
{
    const QByteArray oldPicture = PngSignature + QByteArray("the old picture");
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("large.png"));
        ASSERT_TRUE(writeAll(target, oldPicture));

        ensureApplication();
        QProcess render;
        // As from a terminal: whatever this test's own runner ignores, the
        // program gets the signals in their default state.
        render.setChildProcessModifier([] {
            for (const int s : {SIGTERM, SIGINT, SIGHUP})
                ::signal(s, SIG_DFL);
        });
        render.start(QStringLiteral(DELVARD_MAP_EXE),
                     {QStringLiteral("render"), QStringLiteral("--cell-size"), QStringLiteral("72"),
                      samplePath("large-255x255Map.kld"), target});
        ASSERT_TRUE(render.waitForStarted());

        // Once the temporary file holds bytes, the picture is being written
        // (a 255 x 255 map at 72 px takes seconds).
        const QDeadlineTimer deadline(60000);
        bool writing = false;
        while (!writing && !deadline.hasExpired() && render.state() == QProcess::Running) {
            for (const QString& name : leftovers(dir.path()))
                writing = writing || (name.endsWith(QLatin1String(".new")) &&
                                      QFileInfo(dir.filePath(name)).size() > 0);
            if (!writing)
                render.waitForFinished(5);
        }
        ASSERT_TRUE(writing) << "signal " << signal << ": no temporary file while rendering";
        ASSERT_EQ(::kill(static_cast<pid_t>(render.processId()), signal), 0);
        ASSERT_TRUE(render.waitForFinished(60000));

        EXPECT_EQ(render.exitStatus(), QProcess::CrashExit) << "signal " << signal;
        EXPECT_EQ(leftovers(dir.path()), QStringList()) << "signal " << signal;
        EXPECT_EQ(readAll(target), oldPicture) << "signal " << signal;
    }
}

// Output that cannot be written is a failure, named on standard error with
// the system's reason, whatever the command; the same commands writing to
// /dev/null show that it is the stream that fails them.
TEST(StandardStreams, AFailedWriteIsNamedAndFailsTheCommand)
{
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full here";
    const char* setup =
        "head -c 200 \"$SAMPLE\" > cutMap.kld\n"
        "cp \"$SAMPLE\" editedMap.kld\n"
        "printf '\\003' | dd of=editedMap.kld bs=1 seek=52 conv=notrunc 2>/dev/null";
    const QString streamFailed =
        QStringLiteral("delvard-map: cannot write to standard output: No space left on device\n");
    const struct
    {
        const char* args;
        int statusWhenWritten;
        QString says;
    } cases[] = {
        {"info \"$SAMPLE\"", 0, streamFailed},
        {"info --json \"$SAMPLE\"", 0, streamFailed},
        {"check cutMap.kld", 1, streamFailed},
        {"diff \"$SAMPLE\" editedMap.kld", 1, streamFailed},
        {"render \"$SAMPLE\" -", 0, streamFailed},
        // A file name, which the program opens itself.
        {"render \"$SAMPLE\" /dev/stdout", 0,
         QStringLiteral("delvard-map render: /dev/stdout: Cannot write the picture: Writing "
                        "failed: No space left on device.\n")},
        {"--help", 0, streamFailed},
        {"--version", 0, streamFailed},
        {"render --help", 0, streamFailed},
    };
    QTemporaryDir dir;
    ASSERT_EQ(runShell(QLatin1String(setup), dir.path()).status, 0);
    for (const auto& c : cases) {
        const QString command = QStringLiteral("\"$MAP\" ") + QLatin1String(c.args);
        const RunResult written = runShell(command + QStringLiteral(" > /dev/null"), dir.path());
        EXPECT_EQ(written.status, c.statusWhenWritten) << c.args;
        EXPECT_FALSE(written.err.contains(QLatin1String("standard output"))) << c.args;

        const RunResult full = runShell(command + QStringLiteral(" > /dev/full"), dir.path());
        EXPECT_EQ(full.status, 1) << c.args;
        EXPECT_EQ(full.err, c.says) << c.args;
    }
}

// A stream closed before the program starts would hand its number to the
// first file opened: the program stops before opening any, saying so where
// it still can.
TEST(StandardStreams, AClosedStreamStopsTheProgramBeforeAnyFileIsOpened)
{
    const struct
    {
        const char* redirection;
        const char* says;
    } cases[] = {
        {"<&-", "delvard-map: cannot run with standard input closed.\n"},
        {">&-", "delvard-map: cannot run with standard output closed.\n"},
        {"2>&-", ""},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const RunResult run =
            runShell(QStringLiteral("\"$MAP\" render \"$SAMPLE\" out.png ") +
                         QLatin1String(c.redirection) + QStringLiteral("\necho \"status $?\""),
                     dir.path());
        EXPECT_EQ(run.out, QStringLiteral("status 1\n")) << c.redirection;
        EXPECT_EQ(run.err, QLatin1String(c.says)) << c.redirection;
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("out.png")))) << c.redirection;
    }
}

// A reader that stops early (`| head`) wanted no more: no message, whether
// the broken pipe ends the program by its signal or, where the signal is
// ignored, by a failed write.
TEST(StandardStreams, AReaderThatLeavesEarlyGetsNoMessage)
{
    const struct
    {
        const char* what;
        const char* command;
    } commands[] = {
        {"a picture", "\"$MAP\" render --cell-size 8 \"$LARGE\" -"},
        {"a long description",
         "set --; for i in $(seq 300); do set -- \"$@\" \"$SAMPLE\"; done; \"$MAP\" info \"$@\""},
    };
    const struct
    {
        const char* what;
        const char* prelude;
        const char* status;
    } pipes[] = {
        {"SIGPIPE in its default state", "", "141"},
        {"SIGPIPE ignored", "trap '' PIPE\n", "1"},
    };
    QTemporaryDir dir;
    for (const auto& c : commands) {
        for (const auto& p : pipes) {
            const RunResult run =
                runShell(QLatin1String(p.prelude) +
                             QStringLiteral("LARGE=%1\n").arg(samplePath("large-255x255Map.kld")) +
                             QLatin1String(c.command) +
                             QStringLiteral(" | head -c 10 > /dev/null\necho ${PIPESTATUS[0]}"),
                         dir.path());
            EXPECT_EQ(run.out, QLatin1String(p.status) + u'\n') << c.what << ", " << p.what;
            EXPECT_EQ(run.err, QString()) << c.what << ", " << p.what;
        }
    }
}

// A name may hold a line break or a terminal's escape sequence; shown raw,
// it would forge a line of output or drive the terminal. Every command shows
// it as \xNN.
TEST(Names, ControlCharactersInANameAreShownEscaped)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("new\nline\x1b[2JMap.kld"));
    const QString cut = dir.filePath(QStringLiteral("cut\nline\x1b[2JMap.kld"));
    ASSERT_TRUE(QFile::copy(samplePath("small-10x8Map.kld"), name));
    ASSERT_TRUE(writeAll(cut, readAll(name).left(200)));
    const QString shownName = dir.path() + QStringLiteral("/new\\x0Aline\\x1B[2JMap.kld");
    const QString shownCut = dir.path() + QStringLiteral("/cut\\x0Aline\\x1B[2JMap.kld");
    const QString jsonName = dir.path() + QStringLiteral("/new\\\\x0Aline\\\\x1B[2JMap.kld");

    const struct
    {
        const char* what;
        QStringList args;
        QString shown;
    } cases[] = {
        {"check", {QStringLiteral("check"), cut}, shownCut + QStringLiteral(": error: ")},
        {"info", {QStringLiteral("info"), name}, shownName + u'\n'},
        {"info --json",
         {QStringLiteral("info"), QStringLiteral("--json"), name},
         QStringLiteral("\"file\": \"") + jsonName + u'"'},
        {"info of a cut map", {QStringLiteral("info"), cut}, shownCut + QStringLiteral(": ")},
        {"diff", {QStringLiteral("diff"), name, cut}, shownCut + QStringLiteral(": ")},
        {"render from it",
         {QStringLiteral("render"), cut, dir.filePath(QStringLiteral("x.png"))},
         shownCut + QStringLiteral(": ")},
        {"render onto it",
         {QStringLiteral("render"), name, name},
         shownName + QStringLiteral(": ")},
    };
    for (const auto& c : cases) {
        const RunResult run = runProgram(c.args);
        const QString shown = run.out + run.err;
        EXPECT_TRUE(shown.contains(c.shown)) << c.what << ": " << shown.toStdString();
        EXPECT_FALSE(shown.contains(u'\x1b')) << c.what;
        EXPECT_FALSE(shown.contains(QStringLiteral("new\nline"))) << c.what;
        EXPECT_FALSE(shown.contains(QStringLiteral("cut\nline"))) << c.what;
    }
}
