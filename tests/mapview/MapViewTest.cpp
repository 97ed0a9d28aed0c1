#include "drawing/TileCache.h"
#include "tests/mapview/ShownMapView.h"

#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace delvard;

namespace {

MapData heartMap(int width, int height, Owner owner)
{
    return mapOf(width, height, [owner](int, int) { return Cell::painted(Terrain::Heart, owner); });
}

constexpr QRgb Red = qRgb(255, 0, 0); // the owner "Player"
constexpr QRgb CursorYellow = qRgb(255, 214, 0);

CellPosition cellOf(const QSignalSpy& spy, qsizetype signal)
{
    return spy.at(signal).at(0).value<CellPosition>();
}

class MapViewTest : public ShownMapView
{
  protected:
    // Content positions are pixel positions while the view is not scrolled.
    QImage grabbed() const
    {
        return view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    // A mouse event at a content position, sent to the viewport.
    void mouse(QEvent::Type type, QPoint content, Qt::MouseButton button = Qt::NoButton)
    {
        const QPoint at = content - view->scrollOffset();
        QMouseEvent event(type, at, view->viewport()->mapToGlobal(at), button, button,
                          Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &event);
    }
    void press(QPoint content) { mouse(QEvent::MouseButtonPress, content, Qt::LeftButton); }
    void move(QPoint content) { mouse(QEvent::MouseMove, content); }
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(view.get(), static_cast<Qt::Key>(key), modifiers);
    }
    bool inView(CellPosition cell) const
    {
        return QRect(view->scrollOffset(), view->viewport()->size()).contains(view->cellRect(cell));
    }
};

} // namespace

TEST_F(MapViewTest, CellsLieRowByRowInsideAOneCellMarginAtEverySize)
{
    show(heartMap(3, 2, Owner::Player));
    for (int s = 72; s >= 24; s -= 8) {
        EXPECT_EQ(view->cellSize(), s);
        EXPECT_EQ(view->contentSize(), QSize(5 * s, 4 * s));
        EXPECT_EQ(view->cellRect({1, 1}), QRect(s, s, s, s));
        EXPECT_EQ(view->cellRect({2, 3}), QRect(3 * s, 2 * s, s, s));
        EXPECT_EQ(view->cellAt(QPoint(3 * s + s / 2, 2 * s + 1)), (CellPosition{2, 3}));
        EXPECT_TRUE(view->cellAt(QPoint(s - 1, s)).isNull()); // the margin
        EXPECT_EQ(view->canZoomIn(), s != 72);
        EXPECT_EQ(view->canZoomOut(), s != 24);
        view->zoomOut();
        EXPECT_TRUE(view->viewport()->updatesEnabled()); // drawn again after the change
    }
    EXPECT_EQ(view->cellSize(), 24); // no smaller
}

// The outline shows what a click would change: the Heart's block where it
// fits, refused near the edge, a single cell for other terrains.
TEST_F(MapViewTest, HoverOutlineFollowsTheRuleAndTheBrush)
{
    show(heartMap(10, 10, Owner::Hero));
    QSignalSpy indicated(view.get(), &MapView::indicatedCellChanged);
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
    QApplication::sendEvent(view->viewport(), &leave);
    EXPECT_TRUE(view->hoverOutline().isEmpty());
    ASSERT_EQ(indicated.count(), 3);
    EXPECT_EQ(cellOf(indicated, 0), (CellPosition{5, 5}));
    EXPECT_TRUE(cellOf(indicated, 2).isNull());
    EXPECT_EQ(view->currentCell(), (CellPosition{2, 5})); // kept for the keys
}

// The picture moves under a pointer that stays still: the outline and the
// indicated cell follow to the cell now under it, which is the cell a click
// there changes. The margin takes no click.
TEST_F(MapViewTest, ScrollingRereadsTheCellUnderThePointer)
{
    show(heartMap(60, 40, Owner::Hero));
    view->setBrushTerrain(Terrain::Dirt);
    const QPoint pointer = view->cellRect({3, 3}).center();
    move(pointer);
    EXPECT_EQ(view->indicatedCell(), (CellPosition{3, 3}));

    QWheelEvent wheel(QPointF(pointer), view->viewport()->mapToGlobal(QPointF(pointer)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &wheel);
    const int rowsScrolled = view->scrollOffset().y() / view->cellSize();
    ASSERT_GT(rowsScrolled, 0);
    const CellPosition below{3 + rowsScrolled, 3};
    EXPECT_EQ(view->indicatedCell(), below);
    EXPECT_EQ(view->hoverOutline(), view->cellRect(below));

    view->horizontalScrollBar()->setValue(2 * view->cellSize());
    const CellPosition right{below.row, 5};
    EXPECT_EQ(view->indicatedCell(), right);
    QSignalSpy clicked(view.get(), &MapView::cellClicked);
    press(pointer + view->scrollOffset());
    view->horizontalScrollBar()->setValue(0);
    view->verticalScrollBar()->setValue(0);
    EXPECT_EQ(view->scrollOffset(), QPoint(0, 0)); // back to the very corner
    press(view->cellRect({1, 1}).topLeft() - QPoint(2, 2));
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(cellOf(clicked, 0), right);
    EXPECT_EQ(document->cellAt(right).terrain, Terrain::Heart); // the view changes nothing itself

    // A page of the scroll bar is what the view shows; a zoom keeps the middle where it was.
    view->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(view->scrollOffset().x(), view->viewport()->width());
    const auto middle = [&] {
        const QPointF m = view->scrollOffset() +
                          QPointF(view->viewport()->width(), view->viewport()->height()) / 2;
        return QPointF(m.x() / view->contentSize().width(), m.y() / view->contentSize().height());
    };
    const QPointF before = middle();
    view->zoomOut();
    EXPECT_LT((middle() - before).manhattanLength(), 0.01) << before.x() << ", " << before.y();
}

// Arrows move one cell and stop at the edges, Home and End go along the row,
// with Ctrl to the map's corners, Page Up and Page Down by the rows in view;
// the current cell stays in sight.
TEST_F(MapViewTest, KeysMoveTheCurrentCellWithinTheMap)
{
    show(heartMap(30, 20, Owner::Hero));
    view->setFocus();
    EXPECT_EQ(view->currentCell(), (CellPosition{1, 1}));
    const int page = view->viewport()->height() / view->cellSize();
    ASSERT_GE(page, 1);
    const auto step = [&](int k, CellPosition to, Qt::KeyboardModifiers m = Qt::NoModifier) {
        key(k, m);
        EXPECT_EQ(view->currentCell(), to) << k;
        EXPECT_TRUE(inView(to)) << k;
    };
    step(Qt::Key_Left, {1, 1});
    step(Qt::Key_Up, {1, 1});
    step(Qt::Key_Right, {1, 2});
    step(Qt::Key_Down, {2, 2});
    step(Qt::Key_End, {2, 30});
    step(Qt::Key_Right, {2, 30});
    step(Qt::Key_Home, {2, 1});
    step(Qt::Key_End, {20, 30}, Qt::ControlModifier);
    step(Qt::Key_Down, {20, 30});
    step(Qt::Key_Home, {1, 1}, Qt::ControlModifier);
    step(Qt::Key_PageDown, {1 + page, 1});
    step(Qt::Key_PageDown, {1 + 2 * page, 1});
    step(Qt::Key_PageUp, {1 + page, 1});
    for (int i = 0; i < 20; ++i)
        key(Qt::Key_PageDown);
    EXPECT_EQ(view->currentCell(), (CellPosition{20, 1}));
}

// The focus frame is the keys' alone: a mouse user never sees it, the keys
// show it, and the pointer or a loss of focus hides it.
TEST_F(MapViewTest, TheCursorIsDrawnOnceTheKeysAreUsed)
{
    show(heartMap(6, 5, Owner::Player));
    view->setFocus();
    EXPECT_TRUE(view->indicatedCell().isNull()); // no cell is named before a key or the pointer
    const auto frameShownAt = [&](CellPosition cell) {
        const QRect square = view->cellRect(cell);
        return grabbed().pixel(square.left() + 6, square.center().y()) == CursorYellow;
    };
    move(view->cellRect({2, 2}).center());
    EXPECT_FALSE(view->cursorShown() || frameShownAt({2, 2}));
    key(Qt::Key_Right);
    EXPECT_EQ(view->currentCell(), (CellPosition{2, 3}));
    EXPECT_TRUE(view->cursorShown() && frameShownAt({2, 3}));
    EXPECT_FALSE(frameShownAt({2, 2}));
    view->clearFocus();
    EXPECT_FALSE(view->cursorShown());
    view->setFocus();
    move(view->cellRect({3, 4}).center()); // a cell inside the viewport
    EXPECT_EQ(view->currentCell(), (CellPosition{3, 4}));
    EXPECT_FALSE(view->cursorShown() || frameShownAt({3, 4}));
}

// Drawn, pointed at, walked by keys and read aloud, the map is its one cell.
TEST_F(MapViewTest, AMapWithAnEmptySideShowsItsOneCell)
{
    show(heartMap(0, 3, Owner::Player));
    EXPECT_EQ(view->contentSize(), QSize(2 * 72, 5 * 72));
    EXPECT_EQ(view->cellAt(view->cellRect({1, 1}).center()), (CellPosition{1, 1}));
    EXPECT_EQ(grabbed().pixel(view->cellRect({1, 1}).topLeft() + QPoint(4, 4)), Red);
    move(view->cellRect({1, 1}).center());
    EXPECT_TRUE(view->hoverOutline().isEmpty()); // no click can change it
    view->setFocus();
    for (const int k : {Qt::Key_Down, Qt::Key_Right, Qt::Key_End, Qt::Key_PageDown})
        key(k, k == Qt::Key_End ? Qt::ControlModifier : Qt::NoModifier);
    EXPECT_EQ(view->currentCell(), (CellPosition{1, 1}));

    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(view.get());
    ASSERT_TRUE(table && table->tableInterface());
    EXPECT_EQ(table->tableInterface()->rowCount() * table->tableInterface()->columnCount(), 1);
    ASSERT_TRUE(table->focusChild());
    EXPECT_EQ(table->focusChild()->text(QAccessible::Name),
              QStringLiteral("Row 1, column 1: Heart, Player"));
}

// Zooming back and forth costs memory once: the cells kept for one round of
// sizes are all that any number of rounds keeps.
TEST(TileCache, ZoomRoundsHoldNoMoreThanTheFirst)
{
    static const PictureList pictures;
    TileCache cache(pictures);
    const auto round = [&cache] {
        for (int side = 72; side >= 24; side -= 8) {
            cache.setScale(side, 1.0);
            cache.tile(Terrain::Heart, Owner::Player, true);
            cache.tile(Terrain::Rock, Owner::None, false);
        }
    };
    const auto held = [&cache] { return cache.bytesHeld() + pictures.bytesHeld(); };
    round();
    const std::size_t afterOne = held();
    ASSERT_GT(afterOne, 0u);
    for (int rounds = 0; rounds < 5; ++rounds)
        round();
    EXPECT_EQ(held(), afterOne);
}
