#include "MapSummary.h"
#include "RunProgram.h"
#include "TestMaps.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QJsonArray infoJson(const QStringList& files)
{
    const RunResult run =
        runInProcess(QStringList{QStringLiteral("info"), QStringLiteral("--json")} + files);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(run.out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    return doc.array();
}

int countOf(const QJsonArray& counts, const QString& name)
{
    for (const QJsonValue& v : counts)
        if (v[QStringLiteral("name")].toString() == name)
            return v[QStringLiteral("count")].toInt();
    return 0;
}

TEST(InfoCommandTest, JsonOfTheLargeSampleNamesEveryTerrainAndOwner)
{
    const QJsonArray files = infoJson({samplePath("large-255x255Map.kld")});
    ASSERT_EQ(files.size(), 1);
    const QJsonObject info = files[0].toObject();
    EXPECT_EQ(info[QStringLiteral("width")].toInt(), 255);
    EXPECT_EQ(info[QStringLiteral("height")].toInt(), 255);
    EXPECT_EQ(info[QStringLiteral("records")].toInt(), 255 * 255);
    EXPECT_EQ(info[QStringLiteral("trailingBytes")].toInt(), 0);
    EXPECT_TRUE(info[QStringLiteral("unknownCodes")].toArray().isEmpty());

    const QJsonArray terrain = info[QStringLiteral("terrain")].toArray();
    const QJsonArray owners = info[QStringLiteral("owners")].toArray();
    EXPECT_EQ(terrain.size(), delvard::TerrainCount);
    EXPECT_EQ(owners.size(), delvard::OwnerCount);
    int cells = 0;
    for (const QJsonValue& v : terrain)
        cells += v[QStringLiteral("count")].toInt();
    EXPECT_EQ(cells, 255 * 255);
    EXPECT_GT(countOf(terrain, QStringLiteral("Checkerboard")), 0);
    EXPECT_GT(countOf(terrain, QStringLiteral("Libaray")), 0);
    // One 5 x 5 Heart for the player and each of the four keepers.
    EXPECT_EQ(countOf(terrain, QStringLiteral("Heart")), 5 * 25);
    for (const QJsonValue& v : terrain) {
        const int index = v[QStringLiteral("index")].toInt();
        EXPECT_EQ(v[QStringLiteral("code")].toInt(), *delvard::terrainCodeOfIndex(index));
        EXPECT_EQ(v[QStringLiteral("name")].toString(), terrainLabel(index));
    }
}

TEST(InfoCommandTest, JsonReportsTrailingBytesAndUnknownCodesWithTheirPlace)
{
    QTemporaryDir dir;
    TestMap m(4, 3);
    m.set(2, 2, 19, 5).setBytes(2, 3, 0x26, 0x0A);
    m.trailing = QByteArray("xyz");
    const QString path = dir.filePath(QStringLiteral("oddMap.kld"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(m.bytes());
    file.close();

    const QJsonArray files = infoJson({path, samplePath("trailing-12x9Map.kld")});
    ASSERT_EQ(files.size(), 2);
    const QJsonObject odd = files[0].toObject();
    EXPECT_EQ(odd[QStringLiteral("trailingBytes")].toInt(), 3);
    const QJsonArray unknown = odd[QStringLiteral("unknownCodes")].toArray();
    ASSERT_EQ(unknown.size(), 2);
    EXPECT_EQ(unknown[0][QStringLiteral("kind")].toString(), QStringLiteral("terrain"));
    EXPECT_EQ(unknown[0][QStringLiteral("row")].toInt(), 2);
    EXPECT_EQ(unknown[0][QStringLiteral("column")].toInt(), 3);
    EXPECT_EQ(unknown[0][QStringLiteral("byte")].toInt(), 0x26);
    EXPECT_EQ(unknown[0][QStringLiteral("shownAs")].toString(), QStringLiteral("Claimed Dirt"));
    EXPECT_EQ(unknown[1][QStringLiteral("kind")].toString(), QStringLiteral("owner"));
    EXPECT_EQ(unknown[1][QStringLiteral("shownAs")].toString(), QStringLiteral("Keeper 2"));

    const QJsonObject trailing = files[1].toObject();
    EXPECT_EQ(trailing[QStringLiteral("width")].toInt(), 12);
    EXPECT_EQ(trailing[QStringLiteral("height")].toInt(), 9);
    EXPECT_GT(trailing[QStringLiteral("trailingBytes")].toInt(), 0);
    EXPECT_NE(trailing[QStringLiteral("trailingBytes")].toInt() % 4, 0);
}

TEST(InfoCommandTest, LeadingUnknownCodeHasNothingToShowInstead)
{
    QTemporaryDir dir;
    TestMap m(3, 3);
    m.setBytes(1, 1, 0x1F, 0x02);
    const QString path = dir.filePath(QStringLiteral("firstMap.kld"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(m.bytes());
    file.close();
    const QJsonArray unknown = infoJson({path})[0][QStringLiteral("unknownCodes")].toArray();
    ASSERT_EQ(unknown.size(), 1);
    EXPECT_TRUE(unknown[0][QStringLiteral("shownAs")].isNull());
}

TEST(InfoCommandTest, TextListsCountsByPaletteName)
{
    const RunResult run = runInProcess({QStringLiteral("info"), samplePath("small-10x8Map.kld")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QLatin1String("size:           10 x 8 cells")));
    EXPECT_TRUE(run.out.contains(QLatin1String("records:        80")));
    EXPECT_TRUE(run.out.contains(QLatin1String("Treasury")));
    EXPECT_TRUE(run.out.contains(QLatin1String("unknown codes:  none")));
    EXPECT_FALSE(run.out.contains(QLatin1String("Heart"))); // only kinds present are listed
}

} // namespace
