// render --to: many maps into one folder, on every core.

#include "FileFaults.h"
#include "RunProgram.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(BatchRender, ABadMapIsNamedAndTheOthersAreDrawnAsAloneByteForByte)
{
    QTemporaryDir dir;
    const QDir here(dir.path());
    const char* const samples[] = {"small-10x8Map.kld", "heart-7x7Map.kld", "trailing-12x9Map.kld"};
    QStringList maps;
    for (const char* sample : samples) {
        maps << here.filePath(QLatin1String(sample));
        ASSERT_TRUE(QFile::copy(samplePath(sample), maps.back()));
    }
    maps.insert(1, here.filePath(QStringLiteral("cut.KLD")));
    ASSERT_TRUE(writeAll(maps[1], readAll(samplePath("small-10x8Map.kld")).left(100)));

    const QString folder = here.filePath(QStringLiteral("pictures/new"));
    const RunResult batch =
        runProgram(QStringList{QStringLiteral("render"), QStringLiteral("--grid"),
                               QStringLiteral("--to"), folder}
                   << maps);
    EXPECT_EQ(batch.status, 1);
    // Not a terminal: no progress line, only the failure.
    EXPECT_EQ(batch.err.toStdString(), "delvard-map render: " + maps[1].toStdString() +
                                           ": The map is 10 x 8 cells, so 80 cell records were "
                                           "expected, but the file holds only 16.\n");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
              QStringList({QStringLiteral("heart-7x7Map.png"), QStringLiteral("small-10x8Map.png"),
                           QStringLiteral("trailing-12x9Map.png")}));
    for (const char* sample : samples) {
        const QString alone = here.filePath(QStringLiteral("alone.png"));
        ASSERT_EQ(runProgram({QStringLiteral("render"), QStringLiteral("--grid"),
                              samplePath(sample), alone})
                      .status,
                  0);
        const QString name = QLatin1String(sample).chopped(4) + QStringLiteral(".png");
        EXPECT_EQ(readAll(QDir(folder).filePath(name)), readAll(alone)) << sample;
    }
}

TEST(BatchRender, MapsThatWouldShareAPictureStopTheBatchBeforeAnything)
{
    QTemporaryDir dir;
    const QDir here(dir.path());
    ASSERT_TRUE(here.mkdir(QStringLiteral("other")));
    const QString folder = here.filePath(QStringLiteral("pictures"));
    for (const QStringList& names :
         {QStringList{QStringLiteral("aMap.kld"), QStringLiteral("AMAP.KLD")},
          QStringList{QStringLiteral("aMap.kld"), QStringLiteral("other/aMap.kld")},
          QStringList{QStringLiteral("bMap.kld"), QStringLiteral("aMap.kld"),
                      QStringLiteral("aMap.kld")}}) {
        QStringList maps;
        for (const QString& name : names) {
            maps << here.filePath(name);
            QFile::copy(samplePath("small-10x8Map.kld"), maps.back());
        }
        const RunResult batch = runProgram(
            QStringList{QStringLiteral("render"), QStringLiteral("--to"), folder} << maps);
        EXPECT_EQ(batch.status, 2) << names.join(u' ').toStdString();
        EXPECT_TRUE(batch.err.contains(QStringLiteral("would both be drawn to")))
            << batch.err.toStdString();
        EXPECT_FALSE(QDir(folder).exists());
    }
}

// On a terminal (here script's pseudo-terminal) a progress line counts the
// maps, written over in place.
TEST(BatchRender, OnATerminalAProgressLineCountsTheMaps)
{
    QTemporaryDir dir;
    const RunResult run =
        runShell(QStringLiteral("cp \"$SAMPLE\" firstMap.kld && cp \"$SAMPLE\" secondMap.kld && "
                                "script -qec '\"$MAP\" render --to out firstMap.kld secondMap.kld' "
                                "/dev/null"),
                 dir.path());
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("\r\x1b[K[1/2] firstMap.kld\r\x1b[K[2/2] "
                                                "secondMap.kld")))
        << run.out.toStdString();
}
