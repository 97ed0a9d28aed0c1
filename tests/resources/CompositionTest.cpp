// A cell is the owner picture with the terrain picture drawn over it. Where
// the terrain is transparent the owner's colour must arrive unchanged; where
// it is solid the owner must not bleed through.

#include "PixelStats.h"
#include "TestPictures.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

constexpr int CellSide = 72; // the map's largest cell

const QImage& picture(int n)
{
    return testPictures().picture(n);
}

struct Opening
{
    int terrain;
    QPointF where;
};

std::vector<Opening> openings()
{
    std::vector<Opening> list;
    for (int t = 1; t <= 16; ++t)
        list.push_back({t, {0.02, 0.02}});
    list.push_back({19, {0.5, 0.5}});
    list.push_back({20, {0.5, 0.5}});
    return list;
}

class OwnerThroughTerrain : public ::testing::TestWithParam<std::tuple<Opening, int>>
{
};

TEST_P(OwnerThroughTerrain, ShowsTheOwnerColour)
{
    const auto [opening, owner] = GetParam();
    ASSERT_FALSE(picture(opening.terrain).isNull());
    ASSERT_FALSE(picture(owner).isNull());
    const QImage cell = pixelstats::composed(picture(owner), picture(opening.terrain), CellSide);
    EXPECT_EQ(pixelstats::at(cell, opening.where).rgba(), picture(owner).pixel(0, 0))
        << "terrain " << opening.terrain << " over owner " << owner;
}

INSTANTIATE_TEST_SUITE_P(Cells, OwnerThroughTerrain,
                         ::testing::Combine(::testing::ValuesIn(openings()),
                                            ::testing::Range(36, 43)));

// The bridges let the owner through their gaps somewhere along the cell.
class OwnerThroughBridge : public ::testing::TestWithParam<std::tuple<int, int>>
{
};

TEST_P(OwnerThroughBridge, ShowsTheOwnerColourInTheGaps)
{
    const auto [terrain, owner] = GetParam();
    const QImage cell = pixelstats::composed(picture(owner), picture(terrain), CellSide);
    const QRgb colour = picture(owner).pixel(0, 0);
    const double shown =
        pixelstats::share(cell, [&](const QColor& c) { return c.rgba() == colour; });
    EXPECT_GT(shown, 0.1) << "terrain " << terrain << " over owner " << owner;
}

INSTANTIATE_TEST_SUITE_P(Cells, OwnerThroughBridge,
                         ::testing::Combine(::testing::Values(17, 18), ::testing::Range(36, 43)));

class SolidTerrain : public ::testing::TestWithParam<std::tuple<int, int>>
{
};

TEST_P(SolidTerrain, HidesTheOwner)
{
    const auto [terrain, owner] = GetParam();
    const QImage alone =
        picture(terrain)
            .scaled(CellSide, CellSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage cell = pixelstats::composed(picture(owner), picture(terrain), CellSide);
    EXPECT_EQ(cell, alone) << "terrain " << terrain << " over owner " << owner;
}

INSTANTIATE_TEST_SUITE_P(Cells, SolidTerrain,
                         ::testing::Combine(::testing::Range(21, 36),
                                            ::testing::Values(36, 38, 39)));

} // namespace
