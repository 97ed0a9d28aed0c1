// A render that fails leaves no partial file behind and keeps the old
// picture; docs/cli-examples.md shows (and DocumentedExamplesTest runs) what
// delvard-map does with pipes, devices, links and names that are not UTF-8.

#include "FileFaults.h"
#include "RunProgram.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

TEST(PictureDestination, AFullDiskIsNamedAndTheOldPictureStays)
{
    const ScratchMount disk(16); // a 72 px picture of the sample does not fit
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
    const QString old = disk.path() + QStringLiteral("/old.png");
    const QByteArray oldPicture = QByteArray("\x89PNG\r\n\x1a\n", 8) + "old picture";
    ASSERT_TRUE(writeAll(old, oldPicture));
    const RunResult run = runProgram({QStringLiteral("render"), samplePath("small-10x8Map.kld"),
                                      old, QStringLiteral("--cell-size"), QStringLiteral("72")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("No space left on device")))
        << run.err.toStdString();
    EXPECT_EQ(readAll(old), oldPicture);
    EXPECT_EQ(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("old.png")});
}
