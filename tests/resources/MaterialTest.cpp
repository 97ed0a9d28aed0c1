// The ground textures read as their materials: measured by their colours,
// for the cell picture and for its toolbar form alike, so a swapped or
// mis-drawn picture shows up here.

#include "PixelStats.h"
#include "TestPictures.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace {

struct Material
{
    int terrain; // cell picture; the toolbar form is terrain + 42
    const char* name;
    std::function<bool(const QImage&)> looksRight;
};

std::ostream& operator<<(std::ostream& out, const Material& m)
{
    return out << m.name;
}

bool brownish(const pixelstats::Mean& m)
{
    return m.r > m.g && m.g > m.b && m.r > 1.3 * m.b && m.r < 200;
}

bool isDark(const QColor& c)
{
    return std::max({c.red(), c.green(), c.blue()}) < 60;
}

const Material Materials[] = {
    {19, "Claimed Dirt brown", [](const QImage& i) { return brownish(pixelstats::mean(i)); }},
    {20, "Owned Rock orange-brown",
     [](const QImage& i) {
         const auto m = pixelstats::mean(i);
         return m.r > 1.5 * m.g && m.g > m.b && m.r > 130;
     }},
    {21, "Sold Rock brown layers",
     [](const QImage& i) {
         const auto m = pixelstats::mean(i);
         // Dark seams between the layers as well as the brown.
         return brownish(m) &&
                pixelstats::share(i, [](const QColor& c) { return c.value() < 70; }) > 0.03;
     }},
    {22, "Rock red-brown",
     [](const QImage& i) {
         const auto m = pixelstats::mean(i);
         return m.r > 1.8 * m.g && m.g > m.b;
     }},
    {23, "Dirt light grey-brown",
     [](const QImage& i) {
         const auto m = pixelstats::mean(i);
         return m.r >= m.g && m.g >= m.b && m.b > 110 && m.r - m.b < 50;
     }},
    {24, "Water green-blue",
     [](const QImage& i) {
         const auto m = pixelstats::mean(i);
         return m.g > m.r + 50 && m.b > m.r + 50;
     }},
    {25, "Lave glowing network on black",
     [](const QImage& i) {
         const double dark = pixelstats::share(i, isDark);
         const double glowing = pixelstats::share(
             i, [](const QColor& c) { return c.red() > 200 && c.green() > 60 && c.blue() < 130; });
         return dark > 0.3 && glowing > 0.08;
     }},
    {26, "Gold nuggets in brown rock",
     [](const QImage& i) {
         const double yellow = pixelstats::share(
             i, [](const QColor& c) { return c.red() > 200 && c.green() > 150 && c.blue() < 110; });
         return yellow > 0.04 && yellow < 0.5;
     }},
    {27, "Gems green and red specks in brown rock",
     [](const QImage& i) {
         const double green = pixelstats::share(i, [](const QColor& c) {
             return c.green() > c.red() + 60 && c.green() > c.blue() + 40;
         });
         const double red = pixelstats::share(i, [](const QColor& c) {
             return c.red() > c.green() + 90 && c.red() > c.blue() + 90;
         });
         return green > 0.005 && red > 0.005 && brownish(pixelstats::mean(i));
     }},
};

class MaterialLook : public ::testing::TestWithParam<Material>
{
};

TEST_P(MaterialLook, CellPicture)
{
    const QImage& image = testPictures().picture(GetParam().terrain);
    ASSERT_FALSE(image.isNull());
    const auto m = pixelstats::mean(image);
    const double dark = pixelstats::share(image, [](const QColor& c) { return c.value() < 70; });
    EXPECT_TRUE(GetParam().looksRight(image))
        << "mean " << m.r << ", " << m.g << ", " << m.b << "; dark share " << dark;
}

TEST_P(MaterialLook, ToolbarForm)
{
    const QImage& image = testPictures().picture(GetParam().terrain + 42);
    ASSERT_FALSE(image.isNull());
    const auto m = pixelstats::mean(image);
    const double dark = pixelstats::share(image, [](const QColor& c) { return c.value() < 70; });
    EXPECT_TRUE(GetParam().looksRight(image))
        << "mean " << m.r << ", " << m.g << ", " << m.b << "; dark share " << dark;
}

INSTANTIATE_TEST_SUITE_P(Textures, MaterialLook, ::testing::ValuesIn(Materials));

} // namespace
