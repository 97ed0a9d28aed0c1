// An interrupted render --to (a single render takes the same way out): the
// pictures being written go, the finished ones stay whole, and the command
// ends by the signal after one line.

#include "document/PlatformFile.h"
#include "tests/delvard-map/RunProgram.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <pthread.h>
#include <signal.h>
#include <string>
#include <utility>

// The handler waits for the steps under way, so the thread running one must
// never be the thread that takes the signal: it would wait for itself.
TEST(InterruptStep, KeepsTheSignalsOffItsThreadUntilItEnds)
{
    const auto held = [] {
        sigset_t now;
        ::pthread_sigmask(SIG_BLOCK, nullptr, &now);
        return sigismember(&now, SIGINT) + sigismember(&now, SIGTERM) + sigismember(&now, SIGHUP);
    };
    {
        const delvard::platform::interrupts::Step step;
        EXPECT_EQ(held(), 3);
    }
    EXPECT_EQ(held(), 0);
}

TEST(InterruptedBatch, LeavesFinishedPicturesWholeAndNothingElse)
{
    ensureApplication();
    QTemporaryDir dir;
    const QDir here(dir.path());
    const QString out = here.filePath(QStringLiteral("out"));
    QStringList args{QStringLiteral("render"), QStringLiteral("--cell-size"), QStringLiteral("8"),
                     QStringLiteral("--to"), out};
    for (int k = 0; k < 30; ++k) {
        args << here.filePath(QStringLiteral("map%1.kld").arg(k));
        ASSERT_TRUE(QFile::copy(samplePath("large-255x255Map.kld"), args.back()));
    }
    const auto names = [&out](const QString& pattern) {
        return QDir(out).entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System);
    };
    const QDeadlineTimer deadline(45'000);
    // 0: while the first pictures are only temporary files.
    for (const auto& [signal, finished] : {std::pair{SIGINT, 0}, {SIGTERM, 2}, {SIGHUP, 5}}) {
        SCOPED_TRACE(signal);
        ASSERT_TRUE(QDir(out).removeRecursively());
        QProcess render;
        // As from a terminal: whatever this test's own runner ignores, the
        // program gets the signals in their default state.
        render.setChildProcessModifier([] {
            for (const int s : {SIGTERM, SIGINT, SIGHUP})
                ::signal(s, SIG_DFL);
        });
        render.start(QStringLiteral(DELVARD_MAP_EXE), args);
        ASSERT_TRUE(render.waitForStarted());
        while (finished == 0 ? names(QStringLiteral(".delvard-*")).isEmpty()
                             : names(QStringLiteral("*.png")).size() < finished) {
            ASSERT_EQ(render.state(), QProcess::Running) << "ended before the interrupt";
            ASSERT_FALSE(deadline.hasExpired());
            QThread::msleep(1);
        }
        ::kill(static_cast<pid_t>(render.processId()), signal);
        ASSERT_TRUE(render.waitForFinished(static_cast<int>(deadline.remainingTime())));
        EXPECT_EQ(render.exitStatus(), QProcess::CrashExit);
        EXPECT_EQ(render.exitCode(), signal);

        const QStringList left = names(QStringLiteral("*"));
        EXPECT_EQ(names(QStringLiteral("*.png")).join(u' ').toStdString(),
                  left.join(u' ').toStdString());
        EXPECT_GE(left.size(), finished);
        for (const QString& picture : left)
            EXPECT_EQ(QImage(QDir(out).filePath(picture)).width(), 257 * 8)
                << picture.toStdString();
        EXPECT_EQ(render.readAllStandardError().toStdString(), "delvard-map render: interrupted; " +
                                                                   std::to_string(left.size()) +
                                                                   " of 30 pictures written\n");
    }
}
