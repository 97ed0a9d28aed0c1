// render --fit, which draws thumbnails: the whole map in N x N pixels,
// cells too small for their pictures in their average colour.

#include "document/MapFormat.h"
#include "drawing/CellColours.h"
#include "drawing/FitPicture.h"
#include "resources/PictureList.h"
#include "tests/delvard-map/RunProgram.h"

#include <QImage>

#include <gtest/gtest.h>

#include <array>

namespace {

// Terrain codes 1..0x25 are mostly known, owners 1..7 all; a few unknown
// codes come round too.
std::string varied(int row, int column)
{
    const int k = row * 11 + column;
    return {static_cast<char>(1 + k % 37), static_cast<char>(1 + k % 7), 1, 1};
}

// The picture the program draws of `map` with --fit or --cell-size.
QImage drawn(const std::string& map, const char* option, int value)
{
    const Scratch scratch;
    const QString picture = scratch.path(QStringLiteral("picture.png"));
    const RunResult run =
        runProgram({QStringLiteral("render"), QLatin1String(option), QString::number(value),
                    scratch.write(QStringLiteral("someMap.kld"), map), picture});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    return QImage(picture).convertToFormat(QImage::Format_RGB32);
}

// The mean colour of a square of the picture, red, green and blue.
std::array<double, 3> meanOf(const QImage& image, const QRect& square)
{
    std::array<double, 3> sums{};
    const double share = 1.0 / (square.width() * square.height());
    for (int y = square.top(); y <= square.bottom(); ++y)
        for (int x = square.left(); x <= square.right(); ++x)
            for (const int c : {0, 1, 2})
                sums[c] += share * ((image.pixel(x, y) >> (16 - 8 * c)) & 0xFF);
    return sums;
}

} // namespace

// The picture planned for maps of every shape; that the program draws the
// plan, SmallCellsHaveTheAverageColourOfTheCellAsDrawn shows.
TEST(FitRender, TheWholeMapFillsMoreThanHalfOfTheSquareAndNeverMore)
{
    const QSize shapes[] = {{1, 1},     {7, 7}, {10, 8}, {255, 3}, {3, 255},
                            {255, 255}, {0, 8}, {10, 0}, {0, 0}};
    for (const QSize shape : shapes) {
        const delvard::MapData map =
            delvard::decodeMap(mapOf(shape.width(), shape.height(), varied)).map;
        for (const int n : {16, 31, 128, 256, 1000, 4096}) {
            const QSize size = delvard::planFit(map, n).picture;
            const std::string what = std::to_string(shape.width()) + " x " +
                                     std::to_string(shape.height()) + " in " + std::to_string(n);
            EXPECT_FALSE(size.isEmpty()) << what;
            EXPECT_LE(std::max(size.width(), size.height()), n) << what;
            EXPECT_GT(std::max(size.width(), size.height()) * 2, n) << what;
            // The map's shape, margin included, to within a pixel.
            const int across = std::max(shape.width(), shape.height()) + 2;
            EXPECT_LE(
                std::abs(size.width() * (shape.height() + 2) - size.height() * (shape.width() + 2)),
                across)
                << what;
        }
    }
}

// Cells of 4 pixels and more carry their pictures, as render draws them;
// smaller ones are squares of the colour the cell has on average at the
// editor's largest zoom.
TEST(FitRender, SmallCellsHaveTheAverageColourOfTheCellAsDrawn)
{
    const std::string wide = mapOf(10, 8, varied);
    EXPECT_EQ(drawn(wide, "--fit", 48), drawn(wide, "--cell-size", 4));

    for (const std::string& map : {wide, mapOf(0, 8, varied)}) {
        const QImage large = drawn(map, "--cell-size", 72);
        const QImage small = drawn(map, "--fit", std::max(large.width(), large.height()) / 24);
        ASSERT_EQ(small.size(), large.size() / 24); // 3 pixels a cell
        for (int row = 0; row < small.height() / 3; ++row)
            for (int column = 0; column < small.width() / 3; ++column) {
                const auto shown = meanOf(small, QRect(column * 3 + 1, row * 3 + 1, 1, 1));
                const auto mean = meanOf(large, QRect(column * 72, row * 72, 72, 72));
                for (const int c : {0, 1, 2})
                    EXPECT_NEAR(shown[c], mean[c], 1.0) << "row " << row << ", column " << column;
            }
    }
}

// The colours come from a table the build works out from the pictures: it
// must still be what those pictures give, every terrain over every owner.
TEST(FitRender, TheBuiltCellColoursAreThoseOfThePicturesCompiledIn)
{
    const delvard::CellColours::Table fromPictures =
        delvard::CellColours::fromPictures(delvard::PictureList());
    const delvard::CellColours::Table& built = delvard::builtCellColours();
    for (std::size_t slot = 0; slot < built.size(); ++slot)
        EXPECT_EQ(built[slot], fromPictures[slot])
            << "slot " << slot << ": run delvard_cell_colour_table drawing/CellColourTable.cpp";
}

// Below a pixel a cell, each pixel is the mean of the cells it covers: a
// checkerboard of two cells becomes their blend, and the picture's mean
// colour stays the map's.
TEST(FitRender, BelowAPixelACellThePictureIsAveragedByArea)
{
    const std::string board = mapOf(40, 40, [](int row, int column) {
        return (row + column) % 2 == 0 ? std::string("\x04\x02\x01\x01", 4)  // Water, Neutral
                                       : std::string("\x05\x03\x01\x01", 4); // Lave, Player
    });
    const QImage large = drawn(board, "--cell-size", 72);
    const auto water = meanOf(large, QRect(72, 72, 72, 72));
    const auto lava = meanOf(large, QRect(144, 72, 72, 72));
    const QImage thumbnail = drawn(board, "--fit", 16); // 42 cells across, margin included
    ASSERT_EQ(thumbnail.size(), QSize(16, 16));

    const double cellShare = 40.0 * 40.0 / (42.0 * 42.0);
    const auto mean = meanOf(thumbnail, thumbnail.rect());
    for (int c = 0; c < 3; ++c) {
        const double blend = (water[c] + lava[c]) / 2;
        EXPECT_NEAR(mean[c], cellShare * blend, 1.0);
        for (int y = 1; y < 15; ++y)
            for (int x = 1; x < 15; ++x)
                EXPECT_NEAR(meanOf(thumbnail, QRect(x, y, 1, 1))[c], blend,
                            std::abs(water[c] - lava[c]) / 4 + 1)
                    << x << ", " << y;
    }
}
