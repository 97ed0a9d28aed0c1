#include "document/PaintRule.h"

#include <gtest/gtest.h>

using namespace delvard;

namespace {

struct Click
{
    const char* what;
    int width, height, row, column;
    Terrain terrain;
    bool accepted;
    CellArea area; // changed, or aimed at when refused
};

void PrintTo(const Click& c, std::ostream* os)
{
    *os << c.what;
}

class PaintRule : public ::testing::TestWithParam<Click>
{
};

} // namespace

TEST_P(PaintRule, DecidesWhatAClickChanges)
{
    const Click& c = GetParam();
    const PaintArea paint = paintArea(c.width, c.height, {c.row, c.column}, c.terrain);
    EXPECT_EQ(paint.accepted, c.accepted);
    EXPECT_EQ(paint.area, c.area);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, PaintRule,
    ::testing::Values(
        Click{"InnerCell", 10, 8, 4, 5, Terrain::Gems, true, {4, 5, 4, 5}},
        Click{"TopRow", 10, 8, 1, 5, Terrain::Gems, false, {1, 5, 1, 5}},
        Click{"BottomRow", 10, 8, 8, 5, Terrain::Dirt, false, {8, 5, 8, 5}},
        Click{"LeftColumn", 10, 8, 4, 1, Terrain::Dirt, false, {4, 1, 4, 1}},
        Click{"RightColumn", 10, 8, 4, 10, Terrain::Dirt, false, {4, 10, 4, 10}},
        Click{"TwoWide", 2, 8, 4, 2, Terrain::Portal, false, {4, 2, 4, 2}},
        Click{"OneHigh", 8, 1, 1, 4, Terrain::Portal, false, {1, 4, 1, 4}},
        Click{"ThreeSquareCentre", 3, 3, 2, 2, Terrain::Portal, true, {2, 2, 2, 2}},
        Click{"HeartOnSevenBySeven", 7, 7, 4, 4, Terrain::Heart, true, {2, 2, 6, 6}},
        Click{"HeartTooCloseAbove", 7, 7, 3, 4, Terrain::Heart, false, {1, 2, 5, 6}},
        Click{"HeartInColumnThree", 10, 20, 12, 3, Terrain::Heart, false, {10, 1, 14, 5}},
        Click{"HeartInRowHeightMinusTwo", 10, 20, 18, 5, Terrain::Heart, false, {16, 3, 20, 7}},
        Click{"HeartInColumnWidthMinusTwo", 10, 20, 12, 8, Terrain::Heart, false, {10, 6, 14, 10}},
        Click{"HeartOnTenByTwenty", 10, 20, 12, 5, Terrain::Heart, true, {10, 3, 14, 7}},
        Click{"HeartOnSixWide", 6, 20, 10, 4, Terrain::Heart, false, {8, 2, 12, 6}},
        Click{"OutsideTheMap", 10, 8, 9, 5, Terrain::Dirt, false, {}},
        Click{"EmptyMap", 0, 8, 1, 1, Terrain::Dirt, false, {}}));
