#include "FileFaults.h"
#include "MapBytes.h"
#include "MapFormat.h"
#include "MapRenderer.h"
#include "PictureList.h"
#include "RenderCommand.h"
#include "RunProgram.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace delvard;

namespace {

// Pixels further apart than smooth scaling can explain between builds.
int differingPixels(const QImage& a, const QImage& b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += std::abs(qRed(a.pixel(x, y)) - qRed(b.pixel(x, y))) > 2 ||
                     std::abs(qGreen(a.pixel(x, y)) - qGreen(b.pixel(x, y))) > 2 ||
                     std::abs(qBlue(a.pixel(x, y)) - qBlue(b.pixel(x, y))) > 2;
    return count;
}

// What render writes, band by band through the PNG writer, read back; or the
// map painted whole in memory, as the editor's map view paints it.
QImage drawn(const delvard::MapData& map, int cellSize, bool grid, bool streamed)
{
    static const PictureList pictures;
    MapRenderer renderer(pictures);
    renderer.setCellSize(cellSize);
    renderer.setGridShown(grid);
    if (!streamed) {
        QImage image(renderer.mapSize(map), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        renderer.paint(painter, map, image.rect());
        return image;
    }
    QByteArray png;
    QString why;
    EXPECT_TRUE(writeMapPng(
        renderer, map,
        [&png](const char* bytes, std::size_t size) {
            png.append(bytes, static_cast<qsizetype>(size));
            return true;
        },
        why))
        << why.toStdString();
    return QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
}

} // namespace

// The goldens were looked at by eye when they were made; set
// DELVARD_UPDATE_GOLDEN=1 to write them again after a deliberate change of
// the cell art, and look again. The last is the picture docs/cli-examples.md shows.
TEST(RenderTest, TheProgramDrawsTheCommittedPictures)
{
    const struct
    {
        const char* sample;
        const char* cellSize;
        bool grid;
        const char* golden;
    } goldens[] = {
        {"small-10x8Map.kld", "24", true, "tests/delvard-map/golden/small-10x8-24px-grid.png"},
        {"heart-7x7Map.kld", "72", false, "tests/delvard-map/golden/heart-7x7-72px.png"},
        {"trailing-12x9Map.kld", "10", false, "tests/delvard-map/golden/trailing-12x9-10px.png"},
        {"large-255x255Map.kld", "8", false, "docs/large-255x255.png"}};
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("map.png"));
    for (const auto& g : goldens) {
        QStringList args{QStringLiteral("render"), samplePath(g.sample), out,
                         QStringLiteral("--cell-size"), QLatin1String(g.cellSize)};
        if (g.grid)
            args << QStringLiteral("--grid");
        const RunResult run = runProgram(args);
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        const QImage image = QImage(out).convertToFormat(QImage::Format_RGB32);
        const QString golden =
            QDir(QStringLiteral(DELVARD_SOURCE_DIR)).filePath(QLatin1String(g.golden));
        if (qEnvironmentVariableIsSet("DELVARD_UPDATE_GOLDEN")) {
            ASSERT_TRUE(image.save(golden));
        }
        const QImage expected = QImage(golden).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(image.size(), expected.size()) << g.golden;
        EXPECT_EQ(differingPixels(image, expected), 0) << g.golden;
    }
}

// A picture too big to hold whole is drawn band by band; it must be the
// picture the editor paints.
TEST(RenderTest, BandByBandEqualsTheWholePicturePaintedInMemory)
{
    // The sample; codes no table knows; maps with an empty side.
    const QByteArray sample = readAll(samplePath("small-10x8Map.kld"));
    const std::string maps[] = {
        sample.toStdString(),
        mapBytes(3, 1, {{0x30, 0x44, 0, 9}, {0x31, 0x03, 0, 9}, {0x0E, 0x03, 0, 9}}),
        mapBytes(0, 3, {{0x03, 0x02, 0, 9}}), mapBytes(4, 0, {{0x04, 0x05, 0, 9}})};
    for (const std::string& bytes : maps) {
        const delvard::MapData map = delvard::decodeMap(bytes).map;
        ASSERT_FALSE(map.cells.empty());
        for (const int cellSize : {4, 13}) {
            for (const bool grid : {false, true}) {
                const QImage picture = drawn(map, cellSize, grid, true);
                EXPECT_EQ(picture.size(),
                          QSize((map.width + 2) * cellSize, (map.height + 2) * cellSize));
                EXPECT_EQ(picture, drawn(map, cellSize, grid, false))
                    << map.width << " x " << map.height << ", " << cellSize << " px" << grid;
            }
        }
    }
}
