#include "MapView.h"
#include "PictureList.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace delvard;

namespace {

// A map of the given size, every cell Heart over the owner, the ring Rock.
MapData heartMap(int width, int height, Owner owner)
{
    MapData map;
    map.header = std::string(36, '\0');
    map.width = width;
    map.height = height;
    for (int k = 0; k < std::max(width * height, 1); ++k)
        map.cells.push_back(Cell::painted(Terrain::Heart, owner));
    return map;
}

const PictureList& pictures()
{
    static const PictureList list;
    return list;
}

constexpr QRgb Red = qRgb(255, 0, 0); // the owner "Player"

class MapViewTest : public ::testing::Test
{
  protected:
    void show(MapData map)
    {
        document = std::make_unique<MapDocument>(QStringLiteral("testMap.kld"), std::move(map));
        area = std::make_unique<QScrollArea>();
        area->resize(400, 300);
        view = new MapView(*document, pictures());
        area->setWidget(view);
        area->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(area.get()));
    }
    QImage grabbed() const { return view->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    void press(QPoint at)
    {
        QMouseEvent event(QEvent::MouseButtonPress, at, view->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    }
    void move(QPoint at)
    {
        QMouseEvent event(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    }
    std::unique_ptr<MapDocument> document;
    std::unique_ptr<QScrollArea> area;
    MapView* view = nullptr;
};

} // namespace

TEST_F(MapViewTest, CellsLieRowByRowInsideAOneCellMarginAtEverySize)
{
    show(heartMap(3, 2, Owner::Player));
    const int sizes[] = {72, 64, 56, 48, 40, 32, 24};
    for (int step = 0; step < 7; ++step) {
        const int s = sizes[step];
        EXPECT_EQ(view->cellSize(), s);
        EXPECT_EQ(view->size(), QSize(5 * s, 4 * s));
        EXPECT_EQ(view->cellRect({1, 1}), QRect(s, s, s, s));
        EXPECT_EQ(view->cellRect({2, 3}), QRect(3 * s, 2 * s, s, s));
        EXPECT_EQ(view->cellAt(QPoint(3 * s + s / 2, 2 * s + 1)), (CellPosition{2, 3}));
        EXPECT_TRUE(view->cellAt(QPoint(s - 1, s)).isNull()); // the margin
        EXPECT_EQ(view->canZoomIn(), s != 72);
        EXPECT_EQ(view->canZoomOut(), s != 24);
        view->zoomOut();
    }
    EXPECT_EQ(view->cellSize(), 24); // no smaller
    for (int step = 0; step < 6; ++step)
        view->zoomIn();
    EXPECT_EQ(view->cellSize(), 72);
}

TEST_F(MapViewTest, ZoomKeepsTheCellInTheMiddleOfTheView)
{
    show(heartMap(60, 40, Owner::Hero));
    area->horizontalScrollBar()->setValue(1500);
    area->verticalScrollBar()->setValue(900);
    auto middleCell = [&] {
        return view->cellAt(view->mapFrom(area->viewport(), area->viewport()->rect().center()));
    };
    const CellPosition start = middleCell();
    for (int step = 0; step < 6; ++step) {
        view->zoomOut();
        EXPECT_EQ(middleCell(), start) << view->cellSize();
        EXPECT_TRUE(area->viewport()->updatesEnabled());
    }
}

// The owner's colour shows through the Heart's transparent corners; the
// grid is a black line along the inside of every cell; the margin is black.
TEST_F(MapViewTest, DrawsOwnerTerrainGridAndMargin)
{
    show(heartMap(4, 3, Owner::Player));
    QImage image = grabbed();
    const QRect cell = view->cellRect({2, 2});
    EXPECT_EQ(image.pixel(cell.topLeft() + QPoint(4, 4)), Red);
    EXPECT_EQ(image.pixel(cell.topLeft()), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(5, 5), qRgb(0, 0, 0));

    view->setGridShown(false);
    image = grabbed();
    EXPECT_EQ(image.pixel(cell.topLeft()), Red);
    EXPECT_EQ(image.pixel(cell.topLeft() - QPoint(1, 1)), Red); // the cell before it
    EXPECT_EQ(image.pixel(view->cellRect({1, 1}).topLeft() - QPoint(1, 1)), qRgb(0, 0, 0));
}

TEST_F(MapViewTest, ForwardsClicksOnCellsOnly)
{
    show(heartMap(4, 3, Owner::Hero));
    QSignalSpy clicked(view, &MapView::cellClicked);
    press(view->cellRect({3, 4}).center());
    press(view->cellRect({1, 1}).topLeft() - QPoint(2, 2)); // the margin
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).value<CellPosition>(), (CellPosition{3, 4}));
    EXPECT_EQ(document->cellAt({3, 4}).terrain, Terrain::Heart); // the view changes nothing itself
}

// The outline shows what a click would change: the Heart's block where it
// fits, refused near the edge, a single cell for other terrains.
TEST_F(MapViewTest, HoverOutlineFollowsTheRuleAndTheBrush)
{
    show(heartMap(10, 10, Owner::Hero));
    QSignalSpy hovered(view, &MapView::hoveredCellChanged);
    move(view->cellRect({5, 5}).center());
    EXPECT_TRUE(view->hoverAccepted());
    EXPECT_EQ(view->hoverOutline(), view->cellRect({3, 3}).united(view->cellRect({7, 7})));

    move(view->cellRect({2, 5}).center());
    EXPECT_FALSE(view->hoverAccepted());
    EXPECT_EQ(view->hoverOutline(), view->cellRect({1, 3}).united(view->cellRect({4, 7})));

    view->setBrushTerrain(Terrain::Dirt);
    EXPECT_TRUE(view->hoverAccepted());
    EXPECT_EQ(view->hoverOutline(), view->cellRect({2, 5}));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(view, &leave);
    EXPECT_TRUE(view->hoverOutline().isEmpty());
    ASSERT_EQ(hovered.count(), 3);
    EXPECT_EQ(hovered.at(0).at(0).value<CellPosition>(), (CellPosition{5, 5}));
    EXPECT_TRUE(hovered.at(2).at(0).value<CellPosition>().isNull());
}

TEST_F(MapViewTest, AMapWithAnEmptySideShowsItsOneCell)
{
    show(heartMap(0, 3, Owner::Player));
    EXPECT_EQ(view->size(), QSize(2 * 72, 5 * 72));
    EXPECT_EQ(view->cellAt(view->cellRect({1, 1}).center()), (CellPosition{1, 1}));
    EXPECT_EQ(grabbed().pixel(view->cellRect({1, 1}).topLeft() + QPoint(4, 4)), Red);
    move(view->cellRect({1, 1}).center());
    EXPECT_TRUE(view->hoverOutline().isEmpty()); // no click can change it
}
