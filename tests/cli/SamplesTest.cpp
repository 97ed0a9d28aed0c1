#include "RunProgram.h"
#include "TestMaps.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Sample
{
    const char* name;
    int width;
    int height;
};

const Sample Samples[] = {{"small-10x8Map.kld", 10, 8},
                          {"heart-7x7Map.kld", 7, 7},
                          {"large-255x255Map.kld", 255, 255},
                          {"trailing-12x9Map.kld", 12, 9}};

TEST(SamplesTest, CommittedSamplesEqualAFreshGeneration)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ensureApplication();
    QProcess generator;
    generator.start(QStringLiteral(MAKE_SAMPLES_EXE), {dir.path()});
    ASSERT_TRUE(generator.waitForFinished(60000));
    ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();
    for (const Sample& sample : Samples) {
        const QByteArray fresh = readAll(QDir(dir.path()).filePath(QLatin1String(sample.name)));
        ASSERT_FALSE(fresh.isEmpty()) << sample.name;
        EXPECT_EQ(fresh, readAll(samplePath(sample.name))) << sample.name << " differs";
    }
}

// Whole maps of the size their names give. The editor rewrites bytes 2 and
// 3 of every record as 0x01; the samples must hold other values there, or a
// round trip through the editor would prove nothing.
TEST(SamplesTest, EverySampleIsAWholeMapOfItsNamedSizeWithOtherRecordBytesThanSaveWrites)
{
    for (const Sample& sample : Samples) {
        const QByteArray bytes = readAll(samplePath(sample.name));
        const MapFile file = mapFileOf(bytes);
        ASSERT_TRUE(file.ok()) << sample.name << ": " << file.problem().toStdString();
        EXPECT_EQ(file.width(), sample.width) << sample.name;
        EXPECT_EQ(file.height(), sample.height) << sample.name;
        int notOne = 0;
        for (std::size_t k = 0; k < file.map().cells.size(); ++k) {
            const qsizetype at = static_cast<qsizetype>(36 + 4 * k);
            notOne += bytes[at + 2] != 0x01 || bytes[at + 3] != 0x01;
        }
        EXPECT_GT(notOne, 0) << sample.name;
    }
}

} // namespace
