#include "MapFile.h"
#include "RunProgram.h"
#include "TestMaps.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const char* const SampleNames[] = {"small-10x8Map.kld", "heart-7x7Map.kld", "large-255x255Map.kld",
                                   "trailing-12x9Map.kld"};

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(SamplesTest, CommittedSamplesEqualAFreshGeneration)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ensureApplication();
    QProcess generator;
    generator.start(QStringLiteral(MAKE_SAMPLES_EXE), {dir.path()});
    ASSERT_TRUE(generator.waitForFinished(60000));
    ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();
    for (const char* sample : SampleNames) {
        const QByteArray fresh = readAll(QDir(dir.path()).filePath(QLatin1String(sample)));
        ASSERT_FALSE(fresh.isEmpty()) << sample;
        EXPECT_EQ(fresh, readAll(samplePath(sample))) << sample << " differs from a fresh run";
    }
}

TEST(SamplesTest, EverySampleIsAWholeMapOfItsNamedSizeWithoutWarnings)
{
    struct Size
    {
        const char* name;
        int width;
        int height;
    };
    const Size sizes[] = {{"small-10x8Map.kld", 10, 8},
                          {"heart-7x7Map.kld", 7, 7},
                          {"large-255x255Map.kld", 255, 255},
                          {"trailing-12x9Map.kld", 12, 9}};
    for (const Size& s : sizes) {
        const MapFile file = loadMapFile(samplePath(s.name));
        ASSERT_TRUE(file.ok()) << s.name << ": " << file.problem().toStdString();
        EXPECT_EQ(file.width(), s.width) << s.name;
        EXPECT_EQ(file.height(), s.height) << s.name;
        EXPECT_TRUE(QString::fromLatin1(s.name).endsWith(QLatin1String("Map.kld")));
    }
    const RunResult run = runInProcess({QStringLiteral("check"), QStringLiteral("--strict"),
                                        samplePath(SampleNames[0]), samplePath(SampleNames[1]),
                                        samplePath(SampleNames[2]), samplePath(SampleNames[3])});
    EXPECT_EQ(run.status, 0) << run.out.toStdString();
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
}

// The editor rewrites bytes 2 and 3 of every record as 0x01; the samples
// must hold other values there, or a round trip through the editor would
// prove nothing.
TEST(SamplesTest, RecordBytesTwoAndThreeAreNotAllOne)
{
    for (const char* sample : SampleNames) {
        const QByteArray bytes = readAll(samplePath(sample));
        const MapFile file = loadMapFile(samplePath(sample));
        ASSERT_TRUE(file.ok()) << sample;
        int notOne = 0;
        for (std::size_t k = 0; k < file.decoded.cells.size(); ++k) {
            const qsizetype at = static_cast<qsizetype>(delvard::HeaderSize + 4 * k);
            notOne += bytes[at + 2] != 0x01 || bytes[at + 3] != 0x01;
        }
        EXPECT_GT(notOne, 0) << sample;
    }
}

TEST(SamplesTest, HeartSampleAcceptsAHeartOnlyAtItsCentre)
{
    const MapFile file = loadMapFile(samplePath("heart-7x7Map.kld"));
    ASSERT_TRUE(file.ok());
    for (int r = 2; r <= 6; ++r)
        for (int c = 2; c <= 6; ++c) {
            const auto& cell = file.decoded.cells[static_cast<std::size_t>(r - 1) * 7 + (c - 1)];
            EXPECT_NE(cell.terrainIndex, 1) << "row " << r << " column " << c;
            EXPECT_TRUE(cell.terrainKnown && cell.ownerKnown);
        }
}

} // namespace
