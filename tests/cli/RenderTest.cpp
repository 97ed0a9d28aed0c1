#include "CellArt.h"
#include "ImageList.h"
#include "MapFile.h"
#include "MapRenderer.h"
#include "TestMaps.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

namespace {

QImage renderFile(const QString& path, int cellSize, bool grid)
{
    const MapFile file = loadMapFile(path);
    EXPECT_TRUE(file.ok()) << file.problem().toStdString();
    return renderMap(file.decoded, {cellSize, grid});
}

QImage cellOf(const QImage& image, int row, int column, int side)
{
    return image.copy(column * side, row * side, side, side);
}

QImage expectedCell(int terrainPicture, int ownerCode, bool grid, int side)
{
    const int ownerPicture = ownerCode == 0 ? 0 : 35 + ownerCode;
    return cellart::composeCell(ImageList::instance(), terrainPicture, ownerPicture,
                                grid ? cellart::gridLineWidth(1.0) : 0, side)
        .convertToFormat(QImage::Format_RGB32);
}

bool allBlack(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != qRgb(0, 0, 0))
                return false;
    return true;
}

// Pixels further apart than smooth scaling can explain between builds.
int differingPixels(const QImage& a, const QImage& b)
{
    constexpr int Tolerance = 2;
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > Tolerance ||
                std::abs(qGreen(p) - qGreen(q)) > Tolerance ||
                std::abs(qBlue(p) - qBlue(q)) > Tolerance)
                ++count;
        }
    }
    return count;
}

struct GoldenCase
{
    const char* sample;
    int cellSize;
    bool grid;
    const char* golden;
};

class GoldenRenderTest : public testing::TestWithParam<GoldenCase>
{
};

// The goldens were looked at by eye when they were made; set
// DELVARD_UPDATE_GOLDEN=1 to write them again after a deliberate change of
// the cell art, and look again.
TEST_P(GoldenRenderTest, MatchesTheCommittedPicture)
{
    const GoldenCase& c = GetParam();
    const QImage image = renderFile(samplePath(c.sample), c.cellSize, c.grid);
    const QString goldenPath =
        QDir(QStringLiteral(DELVARD_GOLDEN_DIR)).filePath(QLatin1String(c.golden));
    if (qEnvironmentVariableIsSet("DELVARD_UPDATE_GOLDEN")) {
        ASSERT_TRUE(image.save(goldenPath));
    }
    const QImage golden = QImage(goldenPath).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(golden.isNull()) << goldenPath.toStdString();
    ASSERT_EQ(image.size(), golden.size());
    EXPECT_EQ(differingPixels(image, golden), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, GoldenRenderTest,
    testing::Values(GoldenCase{"small-10x8Map.kld", 24, true, "small-10x8-24px-grid.png"},
                    GoldenCase{"heart-7x7Map.kld", 72, false, "heart-7x7-72px.png"},
                    GoldenCase{"trailing-12x9Map.kld", 10, false, "trailing-12x9-10px.png"}),
    [](const auto& info) {
        return std::string(info.param.golden).substr(0, 5) + "_" +
               std::to_string(info.param.cellSize);
    });

// Independent of the goldens: every cell sits at its place in the grid and
// shows exactly what the editor's cell art draws for its codes.
TEST(RenderTest, EveryCellIsTheCellArtOfItsCodesInsideABlackMargin)
{
    for (const bool grid : {false, true}) {
        for (const int side : {4, 13, 24}) {
            const MapFile file = loadMapFile(samplePath("small-10x8Map.kld"));
            ASSERT_TRUE(file.ok());
            const QImage image = renderMap(file.decoded, {side, grid});
            ASSERT_EQ(image.size(), QSize(12 * side, 10 * side));
            EXPECT_TRUE(allBlack(image, QRect(0, 0, image.width(), side)));
            EXPECT_TRUE(allBlack(image, QRect(0, 9 * side, image.width(), side)));
            EXPECT_TRUE(allBlack(image, QRect(0, 0, side, image.height())));
            EXPECT_TRUE(allBlack(image, QRect(11 * side, 0, side, image.height())));
            for (int r = 1; r <= 8; ++r) {
                for (int c = 1; c <= 10; ++c) {
                    const auto& cell = file.decoded.cells[(r - 1) * 10 + (c - 1)];
                    ASSERT_EQ(cellOf(image, r, c, side),
                              expectedCell(cell.terrainIndex, cell.ownerCode, grid, side))
                        << "row " << r << " column " << c << " side " << side;
                }
            }
        }
    }
}

TEST(RenderTest, UnknownLeadingCodesDrawTheLookOfAnUnknownCell)
{
    TestMap m(3, 3);
    m.setBytes(1, 1, 0x30, 0x44).setBytes(1, 2, 0x31, 0x03);
    const QImage image = renderMap(decoded(m.bytes()), {16, false});
    EXPECT_EQ(cellOf(image, 1, 1, 16), expectedCell(0, 0, false, 16));
    EXPECT_EQ(cellOf(image, 1, 2, 16), expectedCell(0, 3, false, 16));
    EXPECT_EQ(cellOf(image, 1, 3, 16), expectedCell(22, 2, false, 16));
}

TEST(RenderTest, ZeroWidthMapShowsItsOneCellAtRowOneColumnOne)
{
    TestMap m(0, 3);
    m.setBytes(1, 1, *delvard::terrainCodeOfIndex(24), 5);
    const QImage image = renderMap(decoded(m.bytes()), {10, false});
    ASSERT_EQ(image.size(), QSize(20, 50));
    EXPECT_EQ(cellOf(image, 1, 1, 10), expectedCell(24, 5, false, 10));
    EXPECT_TRUE(allBlack(image, QRect(0, 0, 20, 10)));
    EXPECT_TRUE(allBlack(image, QRect(0, 20, 20, 30)));
}

TEST(RenderTest, GridDarkensTheEdgeOfEveryCell)
{
    const MapFile file = loadMapFile(samplePath("heart-7x7Map.kld"));
    const QImage plain = renderMap(file.decoded, {20, false});
    const QImage grid = renderMap(file.decoded, {20, true});
    // Claimed floor owned by the player is never black at its edge without a grid.
    EXPECT_NE(plain.pixel(4 * 20 + 5, 4 * 20), qRgb(0, 0, 0));
    EXPECT_EQ(grid.pixel(4 * 20 + 5, 4 * 20), qRgb(0, 0, 0));
    EXPECT_EQ(grid.pixel(4 * 20, 4 * 20 + 5), qRgb(0, 0, 0));
    EXPECT_EQ(grid.pixel(4 * 20 + 10, 4 * 20 + 10), plain.pixel(4 * 20 + 10, 4 * 20 + 10));
}

} // namespace
