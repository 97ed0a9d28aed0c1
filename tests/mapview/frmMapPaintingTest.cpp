#include "MapFixture.h"

#include <QSignalSpy>

using namespace maptest;

namespace {

using PaintingTest = MapWindowTest;

// The cells a click on (row, column) changed, as element numbers.
std::vector<int> changedElements(const std::vector<CellState>& before,
                                 const std::vector<CellState>& after)
{
    std::vector<int> changed;
    for (std::size_t k = 0; k < before.size(); ++k)
        if (!(before[k] == after[k]))
            changed.push_back(static_cast<int>(k));
    return changed;
}

struct Tool
{
    int terrain;
    int owner;
};

class RingTest : public MapWindowTest, public ::testing::WithParamInterface<Tool>
{
};

TEST_P(RingTest, OuterRingNeverChanges)
{
    load(8, 9);
    Module1::CurrentTerrain = GetParam().terrain;
    Module1::CurrentOwner = GetParam().owner;
    const auto before = allCells();
    for (int r = 1; r <= 9; ++r)
        for (int c = 1; c <= 8; ++c)
            if (r == 1 || r == 9 || c == 1 || c == 8)
                map->Image1_Click(element(r, c));
    EXPECT_EQ(allCells(), before);
}

TEST_P(RingTest, MapsOneOrTwoCellsAcrossTakeNoClick)
{
    for (const auto& [w, h] :
         {std::pair{1, 6}, std::pair{2, 6}, std::pair{6, 1}, std::pair{6, 2}}) {
        SCOPED_TRACE(testing::Message() << w << " x " << h);
        Module1::ClearEditorState();
        load(w, h);
        Module1::CurrentTerrain = GetParam().terrain;
        Module1::CurrentOwner = GetParam().owner;
        const auto before = allCells();
        for (int k = 0; k < map->elementCount(); ++k) {
            map->Image1_Click(k);
            EXPECT_FALSE(map->previewClick(k).accepted);
        }
        EXPECT_EQ(allCells(), before);
    }
}

INSTANTIATE_TEST_SUITE_P(HeartAndSingleCellTools, RingTest,
                         ::testing::Values(Tool{1, 1}, Tool{23, 2}, Tool{28, 1}));

TEST_F(PaintingTest, SevenBySevenTakesTheHeartOnlyAtItsCentre)
{
    load(7, 7);
    Module1::CurrentOwner = 3;
    for (int k = 0; k < 49; ++k) {
        if (k == element(4, 4))
            continue;
        const auto before = allCells();
        map->Image1_Click(k);
        EXPECT_EQ(allCells(), before) << "element " << k;
        EXPECT_FALSE(map->previewClick(k).accepted) << "element " << k;
    }
    const auto preview = map->previewClick(element(4, 4));
    EXPECT_TRUE(preview.accepted);
    EXPECT_EQ(preview.firstRow, 2);
    EXPECT_EQ(preview.lastRow, 6);
    EXPECT_EQ(preview.firstColumn, 2);
    EXPECT_EQ(preview.lastColumn, 6);

    map->Image1_Click(element(4, 4));
    for (int r = 1; r <= 7; ++r)
        for (int c = 1; c <= 7; ++c) {
            const bool inBlock = r >= 2 && r <= 6 && c >= 2 && c <= 6;
            EXPECT_EQ(cell(r, c).terrainText == "1" && cell(r, c).ownerText == "3", inBlock)
                << r << "," << c;
        }
}

TEST_F(PaintingTest, HeartOnTallMapChangesExactlyItsBlock)
{
    load(10, 20);
    Module1::CurrentOwner = 3;
    const auto before = allCells();
    QSignalSpy changed(map.get(), &frmMap::cellsChanged);
    map->Image1_Click(element(12, 5));
    EXPECT_EQ(changed.count(), 1);
    const auto after = allCells();
    std::vector<int> expected;
    for (int r = 10; r <= 14; ++r)
        for (int c = 3; c <= 7; ++c) {
            expected.push_back(element(r, c));
            EXPECT_EQ(cell(r, c), (CellState{1, 38, "1", "3"})) << r << "," << c;
        }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(changedElements(before, after), expected);
}

TEST_F(PaintingTest, HeartRefusedNextToTheRing)
{
    load(10, 20);
    const auto before = allCells();
    for (const auto& [r, c] :
         {std::pair{3, 5}, std::pair{12, 3}, std::pair{18, 5}, std::pair{12, 8}})
        map->Image1_Click(element(r, c));
    EXPECT_EQ(allCells(), before);
}

TEST_F(PaintingTest, SingleCellToolGivesPicturesAndTexts)
{
    load(5, 5, std::string(4 * 25, '\x1B'));
    ASSERT_TRUE(Module1::ForeignCellCodes.terrainForeign(static_cast<std::size_t>(element(3, 3))));
    Module1::CurrentTerrain = 27;
    Module1::CurrentOwner = 5;
    const auto before = allCells();
    map->Image1_Click(element(3, 3));
    EXPECT_EQ(cell(3, 3), (CellState{27, 40, "27", "5"}));
    EXPECT_EQ(changedElements(before, allCells()), std::vector<int>{element(3, 3)});
    // A painted cell no longer gives the file's unknown bytes back on save.
    EXPECT_FALSE(Module1::ForeignCellCodes.terrainForeign(static_cast<std::size_t>(element(3, 3))));
    EXPECT_TRUE(Module1::ForeignCellCodes.terrainForeign(static_cast<std::size_t>(element(3, 2))));
}

TEST_F(PaintingTest, PaintingInsideAHeartChangesOneCell)
{
    load(9, 9);
    map->Image1_Click(element(5, 5));
    Module1::CurrentTerrain = 23;
    Module1::CurrentOwner = 2;
    const auto block = allCells();
    map->Image1_Click(element(5, 5));
    EXPECT_EQ(changedElements(block, allCells()), std::vector<int>{element(5, 5)});
    EXPECT_EQ(cell(5, 5), (CellState{23, 37, "23", "2"}));
    EXPECT_EQ(cell(4, 4), (CellState{1, 36, "1", "1"}));
}

TEST_F(PaintingTest, RepeatedClicksEqualOneClick)
{
    for (const Tool tool : {Tool{1, 4}, Tool{8, 6}}) {
        Module1::ClearEditorState();
        load(9, 9);
        Module1::CurrentTerrain = tool.terrain;
        Module1::CurrentOwner = tool.owner;
        map->Image1_Click(element(5, 4));
        const auto once = allCells();
        map->Image1_Click(element(5, 4));
        map->Image1_Click(element(5, 4));
        EXPECT_EQ(allCells(), once) << tool.terrain;
    }
}

void press(QWidget& widget, QPoint at, Qt::MouseButton button)
{
    QMouseEvent event(QEvent::MouseButtonPress, QPointF(at), widget.mapToGlobal(QPointF(at)),
                      button, button, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

TEST_F(PaintingTest, MousePressReachesTheCellUnderIt)
{
    load(6, 6);
    Module1::CurrentTerrain = 17;
    Module1::CurrentOwner = 6;
    const auto before = allCells();
    // Margin, right button: nothing.
    press(*map, QPoint(5, 5), Qt::LeftButton);
    press(*map, map->elementRect(element(3, 4)).center(), Qt::RightButton);
    EXPECT_EQ(allCells(), before);

    const QRect target = map->elementRect(element(3, 4));
    press(*map, target.bottomRight(), Qt::LeftButton);
    EXPECT_EQ(changedElements(before, allCells()), std::vector<int>{element(3, 4)});
    EXPECT_EQ(cell(3, 4), (CellState{17, 41, "17", "6"}));
}

void moveTo(QWidget& widget, QPoint at)
{
    QMouseEvent event(QEvent::MouseMove, QPointF(at), widget.mapToGlobal(QPointF(at)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

TEST_F(PaintingTest, HoverOutlinesWhatAClickWouldChange)
{
    load(10, 10);
    EXPECT_TRUE(map->hasMouseTracking());
    QSignalSpy hovered(map.get(), &frmMap::hoveredElementChanged);

    moveTo(*map, map->elementRect(element(5, 6)).center());
    ASSERT_EQ(hovered.count(), 1);
    EXPECT_EQ(hovered.last().at(0).toInt(), element(5, 6));
    EXPECT_TRUE(map->hoverOutlineAccepted());
    EXPECT_EQ(map->hoverOutlineRect(),
              map->elementRect(element(3, 4)).united(map->elementRect(element(7, 8))));

    // Heart too close to the ring: refused, the block cut at the map's edge.
    moveTo(*map, map->elementRect(element(2, 3)).center());
    EXPECT_FALSE(map->hoverOutlineAccepted());
    EXPECT_EQ(map->hoverOutlineRect(),
              map->elementRect(element(1, 1)).united(map->elementRect(element(4, 5))));

    Module1::CurrentTerrain = 22;
    moveTo(*map, map->elementRect(element(2, 3)).center() + QPoint(1, 0));
    EXPECT_EQ(hovered.count(), 2); // still the same cell
    EXPECT_TRUE(map->hoverOutlineAccepted());
    EXPECT_EQ(map->hoverOutlineRect(), map->elementRect(element(2, 3)));

    moveTo(*map, map->elementRect(element(10, 3)).center());
    EXPECT_FALSE(map->hoverOutlineAccepted());

    moveTo(*map, QPoint(2, 2));
    EXPECT_EQ(hovered.last().at(0).toInt(), -1);
    EXPECT_TRUE(map->hoverOutlineRect().isEmpty());
}

} // namespace
