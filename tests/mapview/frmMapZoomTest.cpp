#include "MapFixture.h"
#include "Twips.h"

#include <QScrollArea>
#include <QScrollBar>

using namespace maptest;

namespace {

using ZoomTest = MapWindowTest;

TEST_F(ZoomTest, SixStepsEachWayWalkTheSevenSizesAndGuardTheEnds)
{
    load(4, 4);
    const int zoomIn = palette::ZoomInButton;
    const int zoomOut = palette::ZoomOutButton;
    for (int expected : {960, 840, 720, 600, 480, 360}) {
        map->ZoomOut();
        EXPECT_EQ(Module1::CellSize, expected);
        EXPECT_TRUE(toolbar.enabled(zoomIn));
        EXPECT_EQ(toolbar.enabled(zoomOut), expected != 360) << expected;
    }
    for (int expected : {480, 600, 720, 840, 960, 1080}) {
        map->ZoomIn();
        EXPECT_EQ(Module1::CellSize, expected);
        EXPECT_TRUE(toolbar.enabled(zoomOut));
        EXPECT_EQ(toolbar.enabled(zoomIn), expected != 1080) << expected;
    }
}

TEST_F(ZoomTest, ThreeByTwoMapAt960)
{
    load(3, 2);
    map->ZoomOut();
    const int expected[][2] = {{960, 960},  {1920, 960},  {2880, 960},
                               {960, 1920}, {1920, 1920}, {2880, 1920}};
    for (int k = 0; k < 6; ++k) {
        for (const PictureElement* e : {&map->Image1(k), &map->Image2(k)}) {
            EXPECT_EQ(e->left, expected[k][0]) << k;
            EXPECT_EQ(e->top, expected[k][1]) << k;
            EXPECT_EQ(e->width, 960);
            EXPECT_EQ(e->height, 960);
        }
    }
    EXPECT_EQ(Module1::MapPixelWidth, 4800);
    EXPECT_EQ(Module1::MapPixelHeight, 3840);
    EXPECT_EQ(map->size(), twipsSize(4800, 3840));
    EXPECT_EQ(Module1::RowTop, 960 + 2 * 960);
}

class GridAcrossZoomTest : public MapWindowTest, public ::testing::WithParamInterface<bool>
{
};

TEST_P(GridAcrossZoomTest, GridStaysAsSetAtEverySize)
{
    const bool shown = GetParam();
    load(6, 5);
    const auto before = allCells();
    if (!shown)
        map->GridOff();
    auto check = [&] {
        for (int k = 0; k < map->elementCount(); ++k) {
            ASSERT_EQ(map->Image1(k).borderStyle, shown ? 1 : 0) << k;
            ASSERT_EQ(map->Image2(k).borderStyle, 0) << k;
        }
    };
    for (int step = 0; step < 6; ++step) {
        map->ZoomOut();
        check();
    }
    for (int step = 0; step < 6; ++step) {
        map->ZoomIn();
        check();
    }
    EXPECT_EQ(allCells(), before);
}

INSTANTIATE_TEST_SUITE_P(ShownAndHidden, GridAcrossZoomTest, ::testing::Bool());

TEST_F(ZoomTest, GridOffAndOnChangesOnlyBorders)
{
    load(5, 5);
    map->ZoomOut();
    std::vector<QRect> rects;
    for (int k = 0; k < map->elementCount(); ++k)
        rects.push_back(map->elementRect(k));
    const auto cells = allCells();
    map->GridOff();
    EXPECT_EQ(map->Image1(12).borderStyle, 0);
    map->GridOn();
    for (int k = 0; k < map->elementCount(); ++k) {
        EXPECT_EQ(map->elementRect(k), rects[static_cast<std::size_t>(k)]);
        EXPECT_EQ(map->Image1(k).borderStyle, 1);
    }
    EXPECT_EQ(allCells(), cells);
}

TEST_F(ZoomTest, ElementNumbersSurviveEveryZoomStep)
{
    load(9, 7);
    const int target = element(4, 6);
    auto hitsTarget = [&] {
        const int cs = twipsToPixels(Module1::CellSize);
        const QPoint inCell(6 * cs + cs / 2, 4 * cs + cs / 2);
        return map->elementAt(inCell) == target &&
               map->elementRect(target) == QRect(6 * cs, 4 * cs, cs, cs);
    };
    EXPECT_TRUE(hitsTarget());
    for (int step = 0; step < 6; ++step) {
        map->ZoomOut();
        EXPECT_TRUE(hitsTarget()) << Module1::CellSize;
    }
    Module1::CurrentTerrain = 23;
    Module1::CurrentOwner = 2;
    const int cs = twipsToPixels(Module1::CellSize);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(6 * cs + 1, 4 * cs + 1), QPointF(),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(map.get(), &press);
    EXPECT_EQ(cell(4, 6), (CellState{23, 37, "23", "2"}));
}

TEST_F(ZoomTest, CellInTheMiddleOfTheViewStaysThere)
{
    openMap(60, 40, patternBody(60, 40));
    QScrollArea area;
    area.resize(420, 300);
    auto* window = new frmMap(toolbar, {});
    window->Form_Load();
    area.setWidget(window);
    area.show();
    area.horizontalScrollBar()->setValue(1234);
    area.verticalScrollBar()->setValue(777);

    auto middleElement = [&] {
        const QPoint middle = area.viewport()->rect().center();
        return window->elementAt(window->mapFrom(area.viewport(), middle));
    };
    const int start = middleElement();
    ASSERT_GE(start, 0);
    for (int step = 0; step < 6; ++step) {
        window->ZoomOut();
        EXPECT_EQ(middleElement(), start) << Module1::CellSize;
        EXPECT_TRUE(area.viewport()->updatesEnabled());
    }
    for (int step = 0; step < 6; ++step) {
        window->ZoomIn();
        EXPECT_EQ(middleElement(), start) << Module1::CellSize;
    }
}

} // namespace
