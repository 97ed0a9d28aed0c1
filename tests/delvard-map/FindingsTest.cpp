// What check and info find in maps whose edges and codes are unusual: the
// cells as they are laid out in rows, never joined across a row's end or
// lost on the last row, and every cell counted once.

#include "tests/delvard-map/RunProgram.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// A cell's record: its terrain (Heart or Claimed Dirt) and owner codes.
std::string cell(bool heart, char owner = 0x01 /* Hero */)
{
    return {heart ? '\x0E' : '\x08', owner, 1, 1};
}

} // namespace

// A whole Heart block in the bottom right corner, and a lone Heart cell at
// the start of the row after the block's first: neighbours in the file, not
// on the map.
TEST(CheckFindings, HeartCellsAreNeighboursOnlyWithinTheMap)
{
    const Scratch scratch;
    const QString path =
        scratch.write(QStringLiteral("edgeMap.kld"), mapOf(10, 8, [](int r, int c) {
                          const bool heart = (r >= 4 && c >= 6) || (r == 5 && c == 1);
                          return cell(heart);
                      }));
    const RunResult run = runProgram({QStringLiteral("check"), path});
    EXPECT_EQ(
        run.out.split(u'\n').filter(QRegularExpression(QStringLiteral("Heart (region|block)"))),
        QStringList{path + QStringLiteral(": row 5, column 1: warning: Heart region of 1 "
                                          "cells starting here is not made of whole 5 x 5 "
                                          "blocks")})
        << run.out.toStdString();
}

// An unknown owner code in the first cell has no owner before it to show:
// that cell is counted under the owner "none", and each cell once among the
// terrains as among the owners.
TEST(InfoFindings, EveryCellIsCountedOnceOwnerNoneIncluded)
{
    const Scratch scratch;
    const QString path =
        scratch.write(QStringLiteral("firstMap.kld"), mapOf(4, 3, [](int r, int c) {
                          return r == 1 && c == 1 ? cell(false, '\x63') : cell(false);
                      }));
    const RunResult run = runProgram({QStringLiteral("info"), QStringLiteral("--json"), path});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject info = QJsonDocument::fromJson(run.out.toUtf8()).array().at(0).toObject();
    const auto counts = [&info](const char* list) {
        QMap<QString, int> byName;
        for (const QJsonValue& entry : info[QLatin1String(list)].toArray())
            byName[entry[QStringLiteral("name")].toString()] +=
                entry[QStringLiteral("count")].toInt();
        return byName;
    };
    EXPECT_EQ(counts("owners"),
              (QMap<QString, int>{{QStringLiteral("none"), 1}, {QStringLiteral("Hero"), 11}}))
        << run.out.toStdString();
    EXPECT_EQ(counts("terrain"), (QMap<QString, int>{{QStringLiteral("Claimed Dirt"), 12}}))
        << run.out.toStdString();
}
