#include "MapDocument.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace delvard;

namespace {

// A 10 x 8 map of neutral Dirt (0x03, 0x02) with odd bytes 2 and 3, an
// unknown terrain code in row 2, column 2, and bytes after the last record.
QByteArray sampleFile()
{
    QByteArray bytes(36, '\x05');
    bytes[20] = 10;
    bytes[24] = 8;
    for (int k = 0; k < 80; ++k)
        bytes += QByteArray::fromRawData(k == 11 ? "\x77\x02\x09\x09" : "\x03\x02\x09\x09", 4);
    return bytes + "tail";
}

// The bytes a save must write, worked out independently of the program:
// the header as it was, every record with bytes 2 and 3 as 0x01, the tail
// kept; painted cells take the given codes.
QByteArray expectedAfter(const QByteArray& original,
                         const std::vector<std::tuple<int, int, char, char>>& painted)
{
    QByteArray bytes = original;
    for (int k = 0; k < 80; ++k) {
        bytes[36 + 4 * k + 2] = 1;
        bytes[36 + 4 * k + 3] = 1;
    }
    for (const auto& [row, column, terrain, owner] : painted) {
        bytes[36 + 4 * ((row - 1) * 10 + column - 1)] = terrain;
        bytes[36 + 4 * ((row - 1) * 10 + column - 1) + 1] = owner;
    }
    return bytes;
}

class MapDocumentTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        path = dir.filePath(QStringLiteral("sampleMap.kld"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(sampleFile());
        file.close();
        MapDocument::Opened opened = MapDocument::open(path);
        ASSERT_TRUE(opened.document) << opened.problem.toStdString();
        document = std::move(opened.document);
    }
    QByteArray saved() const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QTemporaryDir dir;
    QString path;
    std::unique_ptr<MapDocument> document;
};

} // namespace

TEST_F(MapDocumentTest, PaintsWhatTheRuleAllowsAndSavesByteForByte)
{
    QSignalSpy changed(document.get(), &MapDocument::cellsChanged);
    EXPECT_TRUE(document->paint(3, 5, Terrain::Gems, Owner::Keeper2));
    EXPECT_FALSE(document->paint(1, 5, Terrain::Gems, Owner::Keeper2)); // the ring
    EXPECT_FALSE(document->paint(3, 5, Terrain::Heart, Owner::Player)); // too close to the top
    EXPECT_TRUE(document->paint(5, 5, Terrain::Heart, Owner::Player));
    EXPECT_TRUE(document->paint(5, 5, Terrain::Dirt, Owner::Neutral)); // the Heart's centre alone

    ASSERT_EQ(changed.count(), 3);
    EXPECT_EQ(changed.at(0).at(0).toRect(), QRect(5, 3, 1, 1));
    EXPECT_EQ(changed.at(1).at(0).toRect(), QRect(3, 3, 5, 5));
    EXPECT_EQ(document->cellAt(4, 4).terrain, Terrain::Heart);
    EXPECT_EQ(document->cellAt(4, 4).owner, Owner::Player);

    ASSERT_TRUE(document->save().ok);
    std::vector<std::tuple<int, int, char, char>> painted;
    for (int r = 3; r <= 7; ++r)
        for (int c = 3; c <= 7; ++c)
            painted.emplace_back(r, c, '\x0E', '\x03');
    painted.emplace_back(5, 5, '\x03', '\x02');
    // Row 2, column 2 keeps its unknown code 0x77: it was never painted.
    EXPECT_EQ(saved(), expectedAfter(sampleFile(), painted));
}
