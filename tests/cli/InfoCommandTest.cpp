// info --json, parsed back. The text form is compared whole in
// DocumentedExamplesTest.

#include "RunProgram.h"
#include "TestMaps.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using delvard::Owner;
using delvard::Terrain;

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

int countOf(const QJsonValue& counts, const char* name)
{
    for (const QJsonValue& v : counts.toArray())
        if (v[QStringLiteral("name")].toString() == QLatin1String(name))
            return v[QStringLiteral("count")].toInt();
    return 0;
}

TEST(InfoCommandTest, LargeSampleCountsEveryTerrainAndOwner)
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
    EXPECT_EQ(terrain.size(), 35);
    EXPECT_EQ(info[QStringLiteral("owners")].toArray().size(), 7);
    int cells = 0;
    for (const QJsonValue& v : terrain)
        cells += v[QStringLiteral("count")].toInt();
    EXPECT_EQ(cells, 255 * 255);
    // One 5 x 5 Heart for the player and each of the four keepers.
    EXPECT_EQ(countOf(terrain, "Heart"), 5 * 25);
    EXPECT_GT(countOf(terrain, "Checkerboard"), 0);
}

// Cells with unknown codes count as what the editor shows for them: the
// cell before, or none before any known code.
TEST(InfoCommandTest, UnknownCodesWithTheirPlaceWhatTheyShowAndTrailingBytes)
{
    QTemporaryDir dir;
    TestMap odd(6, 5);              // 18 ring cells of Rock, 12 of Dirt
    odd.setBytes(1, 1, 0x1F, 0x02); // shows no terrain
    odd.set(3, 2, Terrain::Checkerboard, Owner::Keeper4)
        .setBytes(3, 3, 0x27, 0x00); // both shown as (3, 2)
    odd.trailing = QByteArray("xyz");
    TestMap narrow(0, 4);
    narrow.setBytes(1, 1, 0x03, 0x0C);
    const QString oddPath = dir.filePath(QStringLiteral("oddMap.kld"));
    const QString narrowPath = dir.filePath(QStringLiteral("narrowMap.kld"));
    ASSERT_TRUE(writeFile(oddPath, odd.bytes()) && writeFile(narrowPath, narrow.bytes()));

    const QJsonArray files = infoJson({oddPath, narrowPath});
    ASSERT_EQ(files.size(), 2);
    const QJsonObject info = files[0].toObject();
    EXPECT_EQ(info[QStringLiteral("trailingBytes")].toInt(), 3);
    EXPECT_EQ(countOf(info[QStringLiteral("terrain")], "none"), 1);
    EXPECT_EQ(countOf(info[QStringLiteral("terrain")], "Rock"), 17);
    EXPECT_EQ(countOf(info[QStringLiteral("terrain")], "Dirt"), 10);
    EXPECT_EQ(countOf(info[QStringLiteral("terrain")], "Checkerboard"), 2);
    EXPECT_EQ(countOf(info[QStringLiteral("owners")], "Keeper 4"), 2);
    EXPECT_EQ(countOf(info[QStringLiteral("owners")], "Neutral"), 28);

    const QJsonArray unknown = info[QStringLiteral("unknownCodes")].toArray();
    ASSERT_EQ(unknown.size(), 3);
    const QJsonObject first = unknown[0].toObject();
    EXPECT_EQ(first[QStringLiteral("kind")].toString(), QStringLiteral("terrain"));
    EXPECT_EQ(first[QStringLiteral("row")].toInt(), 1);
    EXPECT_EQ(first[QStringLiteral("byte")].toInt(), 0x1F);
    EXPECT_TRUE(first[QStringLiteral("shownAs")].isNull());
    EXPECT_EQ(unknown[1][QStringLiteral("row")].toInt(), 3);
    EXPECT_EQ(unknown[1][QStringLiteral("column")].toInt(), 3);
    EXPECT_EQ(unknown[1][QStringLiteral("byte")].toInt(), 0x27);
    EXPECT_EQ(unknown[1][QStringLiteral("shownAs")].toString(), QStringLiteral("Checkerboard"));
    EXPECT_EQ(unknown[2][QStringLiteral("kind")].toString(), QStringLiteral("owner"));
    EXPECT_EQ(unknown[2][QStringLiteral("shownAs")].toString(), QStringLiteral("Keeper 4"));

    // A map whose width byte is 0 holds one cell, at row 1, column 1.
    const QJsonObject zero = files[1].toObject();
    EXPECT_EQ(zero[QStringLiteral("records")].toInt(), 1);
    const QJsonArray zeroUnknown = zero[QStringLiteral("unknownCodes")].toArray();
    ASSERT_EQ(zeroUnknown.size(), 1);
    EXPECT_EQ(zeroUnknown[0][QStringLiteral("row")].toInt(), 1);
    EXPECT_EQ(zeroUnknown[0][QStringLiteral("column")].toInt(), 1);
    EXPECT_EQ(countOf(zero[QStringLiteral("terrain")], "Dirt"), 1);
}

} // namespace
