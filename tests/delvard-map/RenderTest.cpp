// render's pictures: the committed ones, band by band the picture the editor
// paints whole, and in a batch (render --to, on every core) each the one the
// map gives alone. (A batch's map that cannot be read, and maps that would
// share a picture, are among the documented examples.)

#include "document/MapFormat.h"
#include "drawing/MapRenderer.h"
#include "drawing/PictureMaker.h"
#include "resources/PictureList.h"
#include "tests/delvard-map/RunProgram.h"
#include "tests/document/MapBytes.h"
#include "tests/support/FileFaults.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace delvard;

// The goldens were looked at by eye when they were made; set
// DELVARD_UPDATE_GOLDEN=1 to write them again after a deliberate change of
// the cell art, and look again. The last is the picture docs/cli-examples.md shows.
TEST(RenderTest, TheProgramDrawsTheCommittedPictures)
{
    const struct
    {
        const char* sample;
        const char* options;
        const char* golden;
    } goldens[] = {
        {"small-10x8Map.kld", "--cell-size 24 --grid",
         "tests/delvard-map/golden/small-10x8-24px-grid.png"},
        {"heart-7x7Map.kld", "--cell-size 72", "tests/delvard-map/golden/heart-7x7-72px.png"},
        {"trailing-12x9Map.kld", "--cell-size 10",
         "tests/delvard-map/golden/trailing-12x9-10px.png"},
        {"large-255x255Map.kld", "--cell-size 8", "docs/large-255x255.png"}};
    const Scratch scratch;
    const QString out = scratch.path(QStringLiteral("map.png"));
    for (const auto& g : goldens) {
        const RunResult run =
            runProgram(QStringList{QStringLiteral("render"), samplePath(g.sample), out}
                       << QString::fromLatin1(g.options).split(u' '));
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        const QImage image = QImage(out).convertToFormat(QImage::Format_RGB32);
        const QString golden = QStringLiteral(DELVARD_SOURCE_DIR "/") + QLatin1String(g.golden);
        if (qEnvironmentVariableIsSet("DELVARD_UPDATE_GOLDEN")) {
            ASSERT_TRUE(image.save(golden));
        }
        const QImage expected = QImage(golden).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(image.size(), expected.size()) << g.golden;
        // No channel further apart than smooth scaling can explain between builds.
        int differing = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb a = image.pixel(x, y);
                const QRgb b = expected.pixel(x, y);
                differing += std::abs(qRed(a) - qRed(b)) > 2 ||
                             std::abs(qGreen(a) - qGreen(b)) > 2 ||
                             std::abs(qBlue(a) - qBlue(b)) > 2;
            }
        EXPECT_EQ(differing, 0) << g.golden;
    }
}

// A picture too big to hold whole is drawn band by band, through the PNG
// writer; read back, it must be the picture the editor's map view paints
// whole, for the sample, codes no table knows and maps with an empty side.
TEST(RenderTest, BandByBandEqualsTheWholePicturePaintedInMemory)
{
    const std::string maps[] = {
        readAll(samplePath("small-10x8Map.kld")).toStdString(),
        mapBytes(3, 1, {{0x30, 0x44, 0, 9}, {0x31, 0x03, 0, 9}, {0x0E, 0x03, 0, 9}}),
        mapBytes(0, 3, {{0x03, 0x02, 0, 9}}), mapBytes(4, 0, {{0x04, 0x05, 0, 9}})};
    const PictureList pictures;
    MapRenderer renderer(pictures);
    for (const std::string& file : maps) {
        const MapData map = decodeMap(file).map;
        ASSERT_FALSE(map.cells.empty());
        for (const int cellSize : {4, 13}) {
            for (const bool grid : {false, true}) {
                renderer.setCellSize(cellSize);
                renderer.setGridShown(grid);
                QImage whole(renderer.mapSize(map), QImage::Format_RGB32);
                whole.fill(Qt::white);
                {
                    QPainter painter(&whole);
                    renderer.paint(painter, map, whole.rect());
                }
                QByteArray png;
                const Outcome drawn =
                    writeMapPng(renderer, map, [&png](const char* bytes, std::size_t size) {
                        png.append(bytes, static_cast<qsizetype>(size));
                        return true;
                    });
                EXPECT_TRUE(drawn.ok) << drawn.problem.toStdString();
                EXPECT_EQ(QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32), whole)
                    << map.width << " x " << map.height << ", " << cellSize << " px" << grid;
            }
        }
    }
}

TEST(BatchRender, EachPictureIsTheOneTheMapGivesAlone)
{
    const Scratch scratch;
    QStringList args{QStringLiteral("render"), QStringLiteral("--grid"), QStringLiteral("--to"),
                     scratch.path(QStringLiteral("pictures/new"))};
    const char* const samples[] = {"small-10x8Map.kld", "heart-7x7Map.kld", "trailing-12x9Map.kld"};
    for (const char* sample : samples)
        args << samplePath(sample);
    const RunResult batch = runProgram(args);
    ASSERT_EQ(batch.status, 0) << batch.err.toStdString();
    for (const char* sample : samples) {
        const QString alone = scratch.path(QStringLiteral("alone.png"));
        ASSERT_EQ(runProgram({QStringLiteral("render"), QStringLiteral("--grid"),
                              samplePath(sample), alone})
                      .status,
                  0);
        EXPECT_EQ(readAll(scratch.path(QStringLiteral("pictures/new/") +
                                       QLatin1String(sample).chopped(4) + QStringLiteral(".png"))),
                  readAll(alone))
            << sample;
    }
}
