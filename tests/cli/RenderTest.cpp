#include "MapRenderer.h"
#include "PictureList.h"
#include "RenderCommand.h"
#include "RunProgram.h"
#include "TestMaps.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using delvard::MapData;
using delvard::Owner;
using delvard::Terrain;

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
    const char* golden; // from the top of the source tree
};

void PrintTo(const GoldenCase& c, std::ostream* os)
{
    *os << c.sample << " at " << c.cellSize << " px";
}

class GoldenRenderTest : public testing::TestWithParam<GoldenCase>
{
};

// The goldens were looked at by eye when they were made; set
// DELVARD_UPDATE_GOLDEN=1 to write them again after a deliberate change of
// the cell art, and look again.
TEST_P(GoldenRenderTest, ProgramDrawsTheCommittedPicture)
{
    const GoldenCase& c = GetParam();
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("map.png"));
    QStringList args{QStringLiteral("render"), samplePath(c.sample), out,
                     QStringLiteral("--cell-size"), QString::number(c.cellSize)};
    if (c.grid)
        args << QStringLiteral("--grid");
    const RunResult run = runProgram(args);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QImage image = QImage(out).convertToFormat(QImage::Format_RGB32);
    const QString goldenPath =
        QDir(QStringLiteral(DELVARD_SOURCE_DIR)).filePath(QLatin1String(c.golden));
    if (qEnvironmentVariableIsSet("DELVARD_UPDATE_GOLDEN")) {
        ASSERT_TRUE(image.save(goldenPath));
    }
    const QImage golden = QImage(goldenPath).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(golden.isNull()) << goldenPath.toStdString();
    ASSERT_EQ(image.size(), golden.size());
    EXPECT_EQ(differingPixels(image, golden), 0);
}

// The last one is the picture shown in docs/cli-examples.md.
INSTANTIATE_TEST_SUITE_P(
    Samples, GoldenRenderTest,
    testing::Values(
        GoldenCase{"small-10x8Map.kld", 24, true, "tests/cli/golden/small-10x8-24px-grid.png"},
        GoldenCase{"heart-7x7Map.kld", 72, false, "tests/cli/golden/heart-7x7-72px.png"},
        GoldenCase{"trailing-12x9Map.kld", 10, false, "tests/cli/golden/trailing-12x9-10px.png"},
        GoldenCase{"large-255x255Map.kld", 8, false, "docs/large-255x255.png"}),
    [](const auto& info) {
        return std::string(info.param.sample).substr(0, 5) + "_" +
               std::to_string(info.param.cellSize);
    });

class StreamedRenderTest : public testing::Test
{
  protected:
    // What render writes: the map band by band through the PNG writer, read back.
    QImage streamed(const MapData& map, int cellSize, bool grid)
    {
        MapRenderer renderer(pictures_);
        renderer.setCellSize(cellSize);
        renderer.setGridShown(grid);
        QByteArray png;
        QString why;
        const bool written = writeMapPng(
            renderer, map,
            [&png](const char* bytes, std::size_t size) {
                png.append(bytes, static_cast<qsizetype>(size));
                return true;
            },
            why);
        EXPECT_TRUE(written) << why.toStdString();
        return QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
    }

    // The map painted whole in memory, as the editor's map view paints it.
    QImage painted(const MapData& map, int cellSize, bool grid)
    {
        MapRenderer renderer(pictures_);
        renderer.setCellSize(cellSize);
        renderer.setGridShown(grid);
        QImage image(renderer.mapSize(map), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        renderer.paint(painter, map, image.rect());
        return image;
    }

    const PictureList pictures_;
};

TEST_F(StreamedRenderTest, BandByBandEqualsTheWholePicturePaintedInMemory)
{
    const struct
    {
        const char* name;
        QByteArray bytes;
    } maps[] = {
        {"small sample", readAll(samplePath("small-10x8Map.kld"))},
        {"trailing sample", readAll(samplePath("trailing-12x9Map.kld"))},
        {"unknown codes",
         TestMap(3, 3).setBytes(1, 1, 0x30, 0x44).setBytes(2, 2, 0x31, 0x03).bytes()},
        {"width 0", TestMap(0, 3).bytes()},
        {"height 0", TestMap(4, 0).bytes()},
        {"width and height 0", TestMap(0, 0).bytes()},
    };
    for (const auto& m : maps) {
        const MapData map = mapFileOf(m.bytes).map();
        for (const int cellSize : {4, 13, 24}) {
            for (const bool grid : {false, true}) {
                const QImage picture = streamed(map, cellSize, grid);
                EXPECT_EQ(picture.size(),
                          QSize((map.width + 2) * cellSize, (map.height + 2) * cellSize));
                EXPECT_EQ(picture, painted(map, cellSize, grid))
                    << m.name << ", " << cellSize << " px" << (grid ? ", grid" : "");
            }
        }
    }
}

// A map whose width or height byte is 0 shows its one cell at row 1,
// column 1, inside black: just as a map of that one cell.
TEST_F(StreamedRenderTest, MapWithASideOfZeroShowsItsOneCellAtRowOneColumnOne)
{
    constexpr int Side = 10;
    const QImage single =
        streamed(mapFileOf(TestMap(1, 1).set(1, 1, Terrain::Water, Owner::Keeper2).bytes()).map(),
                 Side, false);
    const QImage cell = single.copy(Side, Side, Side, Side);
    for (const auto& [width, height] : {std::pair{0, 3}, std::pair{4, 0}}) {
        TestMap m(width, height);
        m.setBytes(1, 1, 0x04, 0x05); // Water, Keeper 2
        QImage image = streamed(mapFileOf(m.bytes()).map(), Side, false);
        ASSERT_EQ(image.size(), QSize((width + 2) * Side, (height + 2) * Side));
        EXPECT_EQ(image.copy(Side, Side, Side, Side), cell) << width << " x " << height;
        QPainter(&image).fillRect(Side, Side, Side, Side, Qt::black);
        QImage black(image.size(), QImage::Format_RGB32);
        black.fill(Qt::black);
        EXPECT_EQ(image, black) << width << " x " << height;
    }
}

} // namespace
