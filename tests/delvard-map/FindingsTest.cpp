// What info and check report about maps whose edges and codes are unusual:
// each fact as the cells are laid out in rows, never across a row's end.

#include "FileFaults.h"
#include "RunProgram.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr std::uint8_t ClaimedDirt = 0x08;
constexpr std::uint8_t Heart = 0x0E;
constexpr std::uint8_t Hero = 0x01;

// A width x height map whose record for (row, column) is cellAt(row, column).
QByteArray mapOf(int width, int height,
                 const std::function<std::pair<std::uint8_t, std::uint8_t>(int, int)>& cellAt)
{
    QByteArray bytes(36, '\x07');
    bytes[20] = static_cast<char>(width);
    bytes[24] = static_cast<char>(height);
    for (int r = 1; r <= height; ++r)
        for (int c = 1; c <= width; ++c) {
            const auto [terrain, owner] = cellAt(r, c);
            bytes.append(static_cast<char>(terrain)).append(static_cast<char>(owner));
            bytes.append("\x01\x01", 2);
        }
    return bytes;
}

} // namespace

// A whole Heart block against the right edge and a lone Heart cell at the
// start of the next row sit next to each other in the file, not on the map.
TEST(CheckFindings, HeartCellsAreNeighboursOnlyWithinTheMap)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("edgeMap.kld"));
    ASSERT_TRUE(writeAll(path, mapOf(10, 8, [](int r, int c) {
                             const bool block = r >= 2 && r <= 6 && c >= 6;
                             const bool lone = r == 4 && c == 1;
                             return std::pair{block || lone ? Heart : ClaimedDirt, Hero};
                         })));
    const RunResult run = runProgram({QStringLiteral("check"), path});
    EXPECT_TRUE(run.out.contains(path + QStringLiteral(": row 4, column 1: warning: Heart region "
                                                       "of 1 cells starting here")))
        << run.out.toStdString();
    EXPECT_FALSE(run.out.contains(QStringLiteral("row 2, column 6: warning: Heart region")))
        << run.out.toStdString();
}

// An unknown owner code in the first cell has no owner before it to show:
// that cell's count is listed as the owner "none", and every cell is counted.
TEST(InfoFindings, EveryCellIsCountedUnderItsOwnerNoneIncluded)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("firstMap.kld"));
    ASSERT_TRUE(
        writeAll(path, mapOf(4, 3, [](int r, int c) {
                     return std::pair{ClaimedDirt, r == 1 && c == 1 ? std::uint8_t{0x63} : Hero};
                 })));
    const RunResult run = runProgram({QStringLiteral("info"), QStringLiteral("--json"), path});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonArray owners = QJsonDocument::fromJson(run.out.toUtf8())
                                  .array()
                                  .at(0)
                                  .toObject()[QStringLiteral("owners")]
                                  .toArray();
    QMap<QString, int> counts;
    for (const QJsonValue& owner : owners)
        counts[owner[QStringLiteral("name")].toString()] = owner[QStringLiteral("count")].toInt();
    const QMap<QString, int> expected{{QStringLiteral("none"), 1}, {QStringLiteral("Hero"), 11}};
    EXPECT_EQ(counts, expected) << run.out.toStdString();
}
