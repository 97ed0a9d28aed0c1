// The picture list against its table: sizes, owner colours, where pictures
// are transparent and where they must cover what lies beneath.

#include "PixelStats.h"
#include "TestPictures.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using pixelstats::at;

const QImage& picture(int n)
{
    return testPictures().picture(n);
}

int storedSide(int n)
{
    if (n <= 16)
        return 200;
    if (n <= 18)
        return 150;
    if (n <= 27)
        return 152;
    if (n <= 34)
        return 200;
    if (n == 35)
        return 150;
    return 32;
}

class EveryPicture : public ::testing::TestWithParam<int>
{
};

TEST_P(EveryPicture, HasItsStoredSizeAndFormat)
{
    const int n = GetParam();
    const QImage& image = picture(n);
    ASSERT_FALSE(image.isNull()) << "picture " << n;
    EXPECT_EQ(image.size(), QSize(storedSide(n), storedSide(n))) << "picture " << n;
    EXPECT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied) << "picture " << n;
}

INSTANTIATE_TEST_SUITE_P(PictureList, EveryPicture, ::testing::Range(1, PictureList::Count + 1));

class OutsideTheList : public ::testing::TestWithParam<int>
{
};

TEST_P(OutsideTheList, IsNull)
{
    EXPECT_TRUE(testPictures().picture(GetParam()).isNull());
    EXPECT_TRUE(testPictures().icon(GetParam()).isNull());
}

INSTANTIATE_TEST_SUITE_P(PictureList, OutsideTheList, ::testing::Values(-1, 0, 73, 1000));

struct OwnerColour
{
    int picture;
    QRgb rgb;
};

class OwnerPicture : public ::testing::TestWithParam<OwnerColour>
{
};

TEST_P(OwnerPicture, IsItsExactColourEverywhere)
{
    const auto [n, rgb] = GetParam();
    const QImage& image = picture(n);
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(pixelstats::every(image, [&](const QColor& c) { return c.rgba() == rgb; }))
        << "picture " << n << " top left is " << qPrintable(image.pixelColor(0, 0).name());
}

INSTANTIATE_TEST_SUITE_P(
    PictureList, OwnerPicture,
    ::testing::Values(OwnerColour{36, qRgb(255, 255, 255)}, OwnerColour{37, qRgb(192, 192, 192)},
                      OwnerColour{38, qRgb(255, 0, 0)}, OwnerColour{39, qRgb(0, 0, 255)},
                      OwnerColour{40, qRgb(0, 255, 0)}, OwnerColour{41, qRgb(255, 255, 0)},
                      OwnerColour{42, qRgb(255, 0, 255)}));

// Ground, hero gates, checkerboard and owners cover the cell completely, and
// so do the toolbar's textures but for the two with a diamond.
std::vector<int> opaquePictures()
{
    std::vector<int> numbers;
    for (int n = 21; n <= 42; ++n)
        numbers.push_back(n);
    for (int n = 63; n <= 69; ++n)
        numbers.push_back(n);
    return numbers;
}

class OpaquePicture : public ::testing::TestWithParam<int>
{
};

TEST_P(OpaquePicture, HasNoTransparentPixel)
{
    const QImage& image = picture(GetParam());
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(pixelstats::every(image, [](const QColor& c) { return c.alpha() == 255; }))
        << "picture " << GetParam();
}

INSTANTIATE_TEST_SUITE_P(PictureList, OpaquePicture, ::testing::ValuesIn(opaquePictures()));

// Pictures drawn in black ink on a transparent ground.
std::vector<int> blackInkPictures()
{
    std::vector<int> numbers;
    for (int n = 1; n <= 18; ++n)
        numbers.push_back(n);
    for (int n = 43; n <= 60; ++n)
        numbers.push_back(n);
    for (int n = 70; n <= 72; ++n)
        numbers.push_back(n);
    return numbers;
}

class BlackInkPicture : public ::testing::TestWithParam<int>
{
};

TEST_P(BlackInkPicture, IsOnlyBlackInkOverTransparency)
{
    const QImage& image = picture(GetParam());
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(pixelstats::every(image,
                                  [](const QColor& c) {
                                      return c.alpha() == 0 ||
                                             (c.red() == 0 && c.green() == 0 && c.blue() == 0);
                                  }))
        << "picture " << GetParam();
    const double ink = pixelstats::share(image, [](const QColor& c) { return c.alpha() == 255; });
    const double clear = pixelstats::share(image, [](const QColor& c) { return c.alpha() == 0; });
    // Enough ink to read and enough ground for the owner's colour to show.
    EXPECT_GT(ink, 0.1) << "picture " << GetParam();
    EXPECT_GT(clear, 0.2) << "picture " << GetParam();
}

INSTANTIATE_TEST_SUITE_P(PictureList, BlackInkPicture, ::testing::ValuesIn(blackInkPictures()));

struct ClearPoint
{
    int picture;
    QPointF where; // fraction of width and height
};

class TransparentPoint : public ::testing::TestWithParam<ClearPoint>
{
};

TEST_P(TransparentPoint, LetsTheOwnerThrough)
{
    const auto [n, where] = GetParam();
    ASSERT_FALSE(picture(n).isNull());
    EXPECT_EQ(at(picture(n), where).alpha(), 0)
        << "picture " << n << " at " << where.x() << ", " << where.y();
}

std::vector<ClearPoint> transparentPoints()
{
    std::vector<ClearPoint> points;
    // Lettering and the heart leave the corners free.
    for (const int first : {1, 43}) {
        for (int n = first; n < first + 16; ++n) {
            points.push_back({n, {0.01, 0.01}});
            points.push_back({n, {0.99, 0.99}});
        }
    }
    // The diamond at the centre of the claimed floor and the owned wall.
    for (const int n : {19, 20, 61, 62}) {
        points.push_back({n, {0.5, 0.5}});
        points.push_back({n, {0.45, 0.5}});
        points.push_back({n, {0.5, 0.55}});
    }
    points.push_back({70, {0.05, 0.05}});
    points.push_back({70, {0.95, 0.95}});
    points.push_back({71, {0.5, 0.1}});
    points.push_back({71, {0.5, 0.9}});
    points.push_back({72, {0.3, 0.1}});
    points.push_back({72, {0.1, 0.3}});
    return points;
}

INSTANTIATE_TEST_SUITE_P(PictureList, TransparentPoint, ::testing::ValuesIn(transparentPoints()));

class SolidPoint : public ::testing::TestWithParam<ClearPoint>
{
};

TEST_P(SolidPoint, CoversTheOwner)
{
    const auto [n, where] = GetParam();
    ASSERT_FALSE(picture(n).isNull());
    EXPECT_EQ(at(picture(n), where).alpha(), 255)
        << "picture " << n << " at " << where.x() << ", " << where.y();
}

// Outside its diamond the floor and the wall are solid; the plus, minus and
// checkerboard have their ink where a reader expects it.
INSTANTIATE_TEST_SUITE_P(PictureList, SolidPoint,
                         ::testing::Values(ClearPoint{19, {0.1, 0.1}}, ClearPoint{19, {0.9, 0.5}},
                                           ClearPoint{20, {0.1, 0.1}}, ClearPoint{20, {0.5, 0.9}},
                                           ClearPoint{61, {0.1, 0.9}}, ClearPoint{62, {0.9, 0.1}},
                                           ClearPoint{70, {0.5, 0.5}}, ClearPoint{70, {0.5, 0.2}},
                                           ClearPoint{70, {0.2, 0.5}}, ClearPoint{71, {0.5, 0.5}},
                                           ClearPoint{71, {0.2, 0.5}}, ClearPoint{72, {0.1, 0.1}},
                                           ClearPoint{72, {0.3, 0.3}}));

class BridgePicture : public ::testing::TestWithParam<int>
{
};

// Planks and brick courses run across the cell, so a gap between two of
// them is open from one edge to the other.
TEST_P(BridgePicture, IsOpenBetweenItsCourses)
{
    ASSERT_FALSE(picture(GetParam()).isNull());
    EXPECT_TRUE(pixelstats::hasTransparentRow(picture(GetParam()))) << "picture " << GetParam();
}

INSTANTIATE_TEST_SUITE_P(PictureList, BridgePicture, ::testing::Values(17, 18, 59, 60));

class HeroGatePicture : public ::testing::TestWithParam<int>
{
};

TEST_P(HeroGatePicture, IsBlackLetteringOnWhite)
{
    const QImage& image = picture(GetParam());
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(pixelstats::every(
        image, [](const QColor& c) { return c.red() == c.green() && c.green() == c.blue(); }))
        << "picture " << GetParam();
    const double white = pixelstats::share(image, [](const QColor& c) { return c.red() == 255; });
    const double black = pixelstats::share(image, [](const QColor& c) { return c.red() == 0; });
    EXPECT_GT(white, 0.4);
    EXPECT_GT(black, 0.15);
    EXPECT_EQ(at(image, {0.01, 0.01}).rgb(), qRgb(255, 255, 255));
}

INSTANTIATE_TEST_SUITE_P(PictureList, HeroGatePicture, ::testing::Range(28, 35));

TEST(Checkerboard, IsHalfYellowHalfBlack)
{
    const QImage& image = picture(35);
    ASSERT_FALSE(image.isNull());
    const double black = pixelstats::share(image, [](const QColor& c) { return c.value() == 0; });
    const double yellow = pixelstats::share(
        image, [](const QColor& c) { return c.red() > 200 && c.green() > 180 && c.blue() < 60; });
    EXPECT_NEAR(black, 0.5, 0.02);
    EXPECT_NEAR(yellow, 0.5, 0.02);
    // Neighbouring squares differ.
    EXPECT_NE(at(image, {0.05, 0.05}).rgb(), at(image, {0.25, 0.05}).rgb());
    EXPECT_NE(at(image, {0.05, 0.05}).rgb(), at(image, {0.05, 0.25}).rgb());
}

} // namespace
