#include "MapFixture.h"
#include "Twips.h"

using namespace maptest;

namespace {

using MapLoadTest = MapWindowTest;

struct Placement
{
    int left, top;
};

TEST_F(MapLoadTest, ThreeByTwoMapLiesRowByRowWithOneCellMargin)
{
    load(3, 2);
    const Placement expected[] = {{1080, 1080}, {2160, 1080}, {3240, 1080},
                                  {1080, 2160}, {2160, 2160}, {3240, 2160}};
    ASSERT_EQ(map->elementCount(), 6);
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(k);
        for (const PictureElement* e : {&map->Image1(k), &map->Image2(k)}) {
            EXPECT_EQ(e->left, expected[k].left);
            EXPECT_EQ(e->top, expected[k].top);
            EXPECT_EQ(e->width, 1080);
            EXPECT_EQ(e->height, 1080);
            EXPECT_TRUE(e->visible);
        }
        EXPECT_EQ(map->Image1(k).borderStyle, 1);
        EXPECT_EQ(map->Image2(k).borderStyle, 0);
        EXPECT_EQ(map->elementRect(k), twipsRect(expected[k].left, expected[k].top, 1080, 1080));
    }
    EXPECT_EQ(map->size(), twipsSize(5400, 4320));
    EXPECT_EQ(Module1::RowTop, 1080 + 2 * 1080);
}

TEST_F(MapLoadTest, RecordsGoToTheirCellsInFileOrder)
{
    load(5, 4);
    for (int r = 1; r <= 4; ++r) {
        for (int c = 1; c <= 5; ++c) {
            const int k = element(r, c);
            const CellState expected{patternTerrain(k), patternOwner(k) + 35,
                                     std::to_string(patternTerrain(k)),
                                     std::to_string(patternOwner(k))};
            EXPECT_EQ(cell(r, c), expected) << "row " << r << " column " << c;
        }
    }
    // Nothing is written outside the map.
    EXPECT_TRUE(Module1::CellCodes[1][6][1].empty());
    EXPECT_TRUE(Module1::CellCodes[5][1][2].empty());
    EXPECT_TRUE(Module1::CellCodes[0][0][1].empty());
}

TEST_F(MapLoadTest, OneColumnMapHasOneCellPerRow)
{
    load(1, 4);
    ASSERT_EQ(map->elementCount(), 4);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(map->Image1(k).left, 1080);
        EXPECT_EQ(map->Image1(k).top, (k + 1) * 1080);
        EXPECT_EQ(Module1::CellCodes[k + 1][1][1], std::to_string(patternTerrain(k)));
    }
    EXPECT_EQ(map->size(), twipsSize(3 * 1080, 6 * 1080));
}

struct EmptySide
{
    int width, height;
};

class MapWithEmptySideTest : public MapWindowTest, public ::testing::WithParamInterface<EmptySide>
{
};

TEST_P(MapWithEmptySideTest, DecodesOneRecordIntoElementZeroAndIgnoresClicks)
{
    const auto [w, h] = GetParam();
    load(w, h, record(24, 2) + record(25, 3) + "tail");
    ASSERT_EQ(map->elementCount(), 1);
    EXPECT_EQ(map->Image1(0).picture, 24);
    EXPECT_EQ(map->Image2(0).picture, 37);
    EXPECT_EQ(Module1::CellCodes[1][1][1], "24");
    EXPECT_EQ(Module1::CellCodes[1][1][2], "2");
    EXPECT_TRUE(Module1::CellCodes[1][2][1].empty());
    EXPECT_TRUE(Module1::CellCodes[2][1][1].empty());
    EXPECT_EQ(Module1::MapBody.size(), 4u + 4u);
    EXPECT_EQ(map->width(), twipsToPixels((w + 2) * 1080));
    EXPECT_EQ(map->height(), twipsToPixels((h + 2) * 1080));

    const int at = map->elementAt(map->elementRect(0).center());
    EXPECT_EQ(at, 0);
    Module1::CurrentTerrain = 23;
    map->Image1_Click(0);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(map->elementRect(0).center()), QPointF(),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(map.get(), &press);
    EXPECT_EQ(map->Image1(0).picture, 24);
    EXPECT_EQ(Module1::CellCodes[1][1][1], "24");
    EXPECT_FALSE(map->previewClick(0).accepted);
}

INSTANTIATE_TEST_SUITE_P(WidthOrHeightZero, MapWithEmptySideTest,
                         ::testing::Values(EmptySide{0, 3}, EmptySide{4, 0}, EmptySide{0, 0}));

TEST_F(MapLoadTest, HeroGateCheckerboardCodeShowsPicture35)
{
    load(1, 1, rawRecord(0x1E, 3));
    EXPECT_EQ(map->Image1(0).picture, 35);
    EXPECT_EQ(map->Image2(0).picture, 38);
    EXPECT_EQ(Module1::CellCodes[1][1][1], "35");
    EXPECT_EQ(Module1::CellCodes[1][1][2], "3");
}

TEST_F(MapLoadTest, UnknownCodesRepeatTheCellBeforeAndAreKeptForSaving)
{
    load(3, 1, record(5, 4) + rawRecord(0x0C, 9) + rawRecord(0x1B, 2));
    // Owner 9 is no owner: the cell keeps the owner of the one before.
    EXPECT_EQ(cell(1, 2), (CellState{2, 39, "2", "4"}));
    EXPECT_TRUE(Module1::ForeignCellCodes.ownerForeign(1));
    EXPECT_FALSE(Module1::ForeignCellCodes.terrainForeign(1));
    EXPECT_EQ(Module1::ForeignCellCodes.fileOwner(1), 9);
    // 0x1B is no terrain code.
    EXPECT_EQ(cell(1, 3), (CellState{2, 37, "2", "2"}));
    EXPECT_TRUE(Module1::ForeignCellCodes.terrainForeign(2));
    EXPECT_EQ(Module1::ForeignCellCodes.fileTerrain(2), 0x1B);
    EXPECT_FALSE(Module1::ForeignCellCodes.terrainForeign(0));
    EXPECT_EQ(Module1::ForeignCellCodes.count(), 2u);
}

TEST_F(MapLoadTest, UnknownCodesInTheFirstRecordLeaveNoPicture)
{
    load(2, 1, rawRecord(0x00, 0x00) + record(3, 1));
    EXPECT_EQ(cell(1, 1), (CellState{0, 0, "0", "-35"}));
    EXPECT_TRUE(Module1::ForeignCellCodes.terrainForeign(0));
    EXPECT_TRUE(Module1::ForeignCellCodes.ownerForeign(0));
    EXPECT_EQ(cell(1, 2), (CellState{3, 36, "3", "1"}));
}

TEST_F(MapLoadTest, MapBodyKeepsExactlyTheBytesAfterTheLastRecord)
{
    const std::string extra("\x00\xff\x10tail", 7);
    load(4, 3, patternBody(4, 3) + patternBody(2, 1) + extra);
    EXPECT_EQ(Module1::MapBody.view(), patternBody(2, 1) + extra);
}

TEST_F(MapLoadTest, ShortBodyNeverReadsPastItsEnd)
{
    // The open command refuses such files; the window must still not overrun.
    load(3, 3, patternBody(2, 1) + "xy");
    EXPECT_EQ(map->elementCount(), 9);
    EXPECT_TRUE(Module1::MapBody.empty());
    EXPECT_EQ(cell(1, 2), cell(3, 3));
}

TEST_F(MapLoadTest, LargestMapIsLoadedWhole)
{
    load(255, 255);
    ASSERT_EQ(map->elementCount(), 255 * 255);
    const int last = 255 * 255 - 1;
    EXPECT_EQ(map->Image1(last).left, 255 * 1080);
    EXPECT_EQ(map->Image1(last).top, 255 * 1080);
    EXPECT_EQ(Module1::CellCodes[255][255][1], std::to_string(patternTerrain(last)));
    EXPECT_EQ(map->elementAt(map->elementRect(last).center()), last);
    EXPECT_TRUE(Module1::MapBody.empty());
}

class LoadToolbarTest : public MapWindowTest, public ::testing::WithParamInterface<bool>
{
};

TEST_P(LoadToolbarTest, PutsThePaletteIntoItsWorkingState)
{
    toolbar.setEnabled(palette::ZoomInButton, GetParam());
    std::vector<int> order;
    toolbar.changed = [&](int b) { order.push_back(b); };
    load(3, 3);
    EXPECT_EQ(openDisabled, 1);
    for (int b = 1; b <= palette::ButtonCount; ++b) {
        if (palette::isSeparator(b))
            continue;
        SCOPED_TRACE(b);
        const bool neutralOnly = b >= 21 && b <= 27;
        if (b == palette::ZoomInButton)
            EXPECT_EQ(toolbar.enabled(b), GetParam());
        else
            EXPECT_EQ(toolbar.enabled(b), !neutralOnly);
        EXPECT_EQ(toolbar.pressed(b), b == 1 || b == 37 || b == 47);
    }
    // Enabled one after another, then the three presses in their order.
    ASSERT_GE(order.size(), 3u);
    EXPECT_EQ(std::vector<int>(order.end() - 3, order.end()), (std::vector<int>{1, 37, 47}));
    EXPECT_EQ(order.front(), 1);
}

INSTANTIATE_TEST_SUITE_P(ZoomInLeftAlone, LoadToolbarTest, ::testing::Bool());

} // namespace
