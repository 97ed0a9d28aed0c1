// render --fit, which draws thumbnails: the whole map in N x N pixels,
// cells too small for their pictures in their average colour.

#include "CellColours.h"
#include "FileFaults.h"
#include "MapBytes.h"
#include "PictureList.h"
#include "RunProgram.h"

#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

// A map whose record k is record(k).
std::string mapOf(int width, int height, const std::function<std::string(int)>& record)
{
    std::string bytes = mapBytes(width, height);
    const int records = width * height == 0 ? 1 : width * height;
    for (int k = 0; k < records; ++k)
        bytes += record(k);
    return bytes;
}

std::string varied(int k)
{
    // Terrain codes 1..0x25 are mostly known, owners 1..7 all; a few
    // unknown codes come round too.
    return {static_cast<char>(1 + k % 37), static_cast<char>(1 + k % 7), 1, 1};
}

class Pictures
{
  public:
    // The picture the program draws of `map` with the options given.
    QImage draw(const std::string& map, const QStringList& options)
    {
        const QString mapFile = dir_.filePath(QStringLiteral("someMap.kld"));
        const QString picture = dir_.filePath(QStringLiteral("picture.png"));
        if (!writeAll(mapFile, QByteArray::fromStdString(map)))
            return {};
        const RunResult run =
            runProgram(QStringList{QStringLiteral("render")} << options << mapFile << picture);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        return QImage(picture).convertToFormat(QImage::Format_RGB32);
    }
    QImage fit(const std::string& map, int n)
    {
        return draw(map, {QStringLiteral("--fit"), QString::number(n)});
    }

  private:
    QTemporaryDir dir_;
};

// The mean colour of a square of the picture.
std::array<double, 3> meanOf(const QImage& image, const QRect& square)
{
    std::array<double, 3> sums{};
    for (int y = square.top(); y <= square.bottom(); ++y)
        for (int x = square.left(); x <= square.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            sums[0] += qRed(pixel);
            sums[1] += qGreen(pixel);
            sums[2] += qBlue(pixel);
        }
    for (double& sum : sums)
        sum /= square.width() * square.height();
    return sums;
}

void expectNear(QRgb pixel, const std::array<double, 3>& mean, double tolerance,
                const std::string& where)
{
    EXPECT_NEAR(qRed(pixel), mean[0], tolerance) << where;
    EXPECT_NEAR(qGreen(pixel), mean[1], tolerance) << where;
    EXPECT_NEAR(qBlue(pixel), mean[2], tolerance) << where;
}

} // namespace

TEST(FitRender, TheWholeMapFillsMoreThanHalfOfTheSquareAndNeverMore)
{
    Pictures pictures;
    const QSize shapes[] = {{1, 1},     {7, 7}, {10, 8}, {255, 3}, {3, 255},
                            {255, 255}, {0, 8}, {10, 0}, {0, 0}};
    for (const QSize shape : shapes) {
        const std::string map = mapOf(shape.width(), shape.height(), varied);
        for (const int n : {16, 31, 128, 256, 1000}) {
            const QSize size = pictures.fit(map, n).size();
            const std::string what = std::to_string(shape.width()) + " x " +
                                     std::to_string(shape.height()) + " in " + std::to_string(n);
            EXPECT_LE(size.width(), n) << what;
            EXPECT_LE(size.height(), n) << what;
            EXPECT_GT(std::max(size.width(), size.height()) * 2, n) << what;
            // The map's shape, margin included, to within a pixel.
            const int across = std::max(shape.width(), shape.height()) + 2;
            EXPECT_LE(
                std::abs(size.width() * (shape.height() + 2) - size.height() * (shape.width() + 2)),
                across)
                << what;
        }
    }
    EXPECT_EQ(pictures.fit(mapOf(1, 1, varied), 4096).size(), QSize(4095, 4095));
}

// Cells of 4 pixels and more carry their pictures, as render draws them;
// smaller ones are squares of the colour the cell has on average at the
// editor's largest zoom.
TEST(FitRender, SmallCellsHaveTheAverageColourOfTheCellAsDrawn)
{
    Pictures pictures;
    const std::string wide = mapOf(10, 8, varied);
    EXPECT_EQ(pictures.fit(wide, 120),
              pictures.draw(wide, {QStringLiteral("--cell-size"), QStringLiteral("10")}));

    for (const std::string& map : {wide, mapOf(0, 8, varied)}) {
        const QImage large =
            pictures.draw(map, {QStringLiteral("--cell-size"), QStringLiteral("72")});
        const int across = std::max(large.width(), large.height()) / 72;
        const QImage small = pictures.fit(map, across * 3); // 3 pixels a cell
        ASSERT_EQ(small.size(), large.size() / 24);
        for (int row = 0; row < small.height() / 3; ++row)
            for (int column = 0; column < small.width() / 3; ++column)
                expectNear(small.pixel(column * 3 + 1, row * 3 + 1),
                           meanOf(large, QRect(column * 72, row * 72, 72, 72)), 1.0,
                           "row " + std::to_string(row) + ", column " + std::to_string(column));
    }
}

// The colours come from a table the build works out from the pictures: it
// must still be what those pictures give, every terrain over every owner.
TEST(FitRender, TheBuiltCellColoursAreThoseOfThePicturesCompiledIn)
{
    const delvard::CellColours::Table fromPictures =
        delvard::CellColours::fromPictures(delvard::PictureList());
    const delvard::CellColours::Table& built = delvard::builtCellColours();
    for (int terrain = 0; terrain < delvard::CellColours::TerrainSlots; ++terrain)
        for (int owner = 0; owner < delvard::CellColours::OwnerSlots; ++owner) {
            const std::size_t slot = delvard::CellColours::slotOf(
                static_cast<delvard::Terrain>(terrain), static_cast<delvard::Owner>(owner));
            EXPECT_EQ(built[slot], fromPictures[slot])
                << "terrain " << terrain << ", owner " << owner
                << ": run delvard_cell_colour_table delvard-map/CellColourTable.cpp";
        }
}

// Below a pixel a cell, each pixel is the mean of the cells it covers: a
// checkerboard of two cells becomes their blend, and the picture's mean
// colour stays the map's.
TEST(FitRender, BelowAPixelACellThePictureIsAveragedByArea)
{
    Pictures pictures;
    const std::string board = mapOf(40, 40, [](int k) {
        return (k / 40 + k % 40) % 2 == 0 ? std::string("\x04\x02\x01\x01", 4)  // Water, Neutral
                                          : std::string("\x05\x03\x01\x01", 4); // Lave, Player
    });
    const QImage large =
        pictures.draw(board, {QStringLiteral("--cell-size"), QStringLiteral("72")});
    const auto water = meanOf(large, QRect(72, 72, 72, 72));
    const auto lava = meanOf(large, QRect(144, 72, 72, 72));
    const QImage thumbnail = pictures.fit(board, 16); // 42 cells across, margin included
    ASSERT_EQ(thumbnail.size(), QSize(16, 16));

    for (int y = 1; y < 15; ++y)
        for (int x = 1; x < 15; ++x)
            for (int c = 0; c < 3; ++c) {
                const QRgb pixel = thumbnail.pixel(x, y);
                const int value = c == 0 ? qRed(pixel) : c == 1 ? qGreen(pixel) : qBlue(pixel);
                EXPECT_NEAR(value, (water[c] + lava[c]) / 2, std::abs(water[c] - lava[c]) / 4 + 1)
                    << x << ", " << y;
            }
    const double cellShare = 40.0 * 40.0 / (42.0 * 42.0);
    const auto mean = meanOf(thumbnail, thumbnail.rect());
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(mean[c], cellShare * (water[c] + lava[c]) / 2, 1.0);
}
