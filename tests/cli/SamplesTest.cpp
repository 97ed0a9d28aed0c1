#include "RunProgram.h"
#include "TestMaps.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The samples the tests and the documentation run on are made by
// tools/make_samples; the committed ones must be what it makes.
TEST(SamplesTest, CommittedSamplesEqualAFreshGeneration)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ensureApplication();
    QProcess generator;
    generator.start(QStringLiteral(MAKE_SAMPLES_EXE), {dir.path()});
    ASSERT_TRUE(generator.waitForFinished(60000));
    ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();
    for (const char* name : {"small-10x8Map.kld", "heart-7x7Map.kld", "large-255x255Map.kld",
                             "trailing-12x9Map.kld"}) {
        const QByteArray fresh = readAll(QDir(dir.path()).filePath(QLatin1String(name)));
        ASSERT_FALSE(fresh.isEmpty()) << name;
        EXPECT_EQ(fresh, readAll(samplePath(name))) << name << " differs";
    }
}

} // namespace
