// Toolbar icons come from the stored pictures at the sizes screens ask for,
// and the program icon is red lettering on black.

#include "PixelStats.h"
#include "TestPictures.h"

#include <gtest/gtest.h>

namespace {

class ToolbarIcon : public ::testing::TestWithParam<int>
{
};

// On a 2x screen a 16 x 16 button is 32 device pixels: exactly the stored
// toolbar pictures, which must arrive unchanged rather than rescaled.
TEST_P(ToolbarIcon, OnADoubleDensityScreenIsTheStoredPicture)
{
    const int n = GetParam();
    const QIcon icon = testPictures().icon(n);
    ASSERT_FALSE(icon.isNull());
    const QPixmap pixmap = icon.pixmap(QSize(16, 16), 2.0);
    EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(16, 16));
    const QImage drawn = pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ASSERT_EQ(drawn.size(), QSize(32, 32));
    EXPECT_EQ(drawn, testPictures().picture(n)) << "picture " << n;
}

INSTANTIATE_TEST_SUITE_P(PictureList, ToolbarIcon, ::testing::Range(43, 73));

class LargePictureIcon : public ::testing::TestWithParam<int>
{
};

// Hero gates and owners go on the toolbar from their cell pictures; at 1x
// and 2x the icon is a full-size pixmap, not a smaller one stretched up.
TEST_P(LargePictureIcon, HasPixmapsForOrdinaryAndDoubleDensity)
{
    const QIcon icon = testPictures().icon(GetParam());
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.pixmap(QSize(16, 16), 1.0).size(), QSize(16, 16));
    EXPECT_EQ(icon.pixmap(QSize(16, 16), 2.0).size(), QSize(32, 32));
    EXPECT_TRUE(icon.availableSizes().contains(QSize(32, 32))) << "picture " << GetParam();
}

INSTANTIATE_TEST_SUITE_P(PictureList, LargePictureIcon, ::testing::Range(28, 43));

TEST(ProgramIcon, IsRedLetteringOnBlack)
{
    const QImage icon = PictureList::programIcon();
    ASSERT_EQ(icon.size(), QSize(32, 32));
    EXPECT_TRUE(pixelstats::every(
        icon, [](const QColor& c) { return c.alpha() == 255 && c.green() == 0 && c.blue() == 0; }));
    const double red = pixelstats::share(icon, [](const QColor& c) { return c.red() == 255; });
    const double black = pixelstats::share(icon, [](const QColor& c) { return c.red() == 0; });
    EXPECT_GT(red, 0.1);
    EXPECT_GT(black, 0.3);
}

} // namespace
