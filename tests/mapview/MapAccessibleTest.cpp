// The map as a screen reader reads it: a table of the map's cells, named as
// the status bar names them, whose focus follows the keys and whose names
// change with a paint.

#include "mapview/MapAccessible.h"
#include "tests/mapview/ShownMapView.h"

#include <QAccessible>
#include <QTest>
#include <gtest/gtest.h>

using namespace delvard;

namespace {

// Row r, column c holds the (r + c)-th terrain of the palette, owned by Player.
MapData mixedMap(int width, int height)
{
    return mapOf(width, height, [](int r, int c) {
        return Cell::painted(static_cast<Terrain>(1 + (r + c) % 20), Owner::Player);
    });
}

QString expectedName(const MapData& map, int row, int column)
{
    const Cell& cell = map.at({row, column});
    return QStringLiteral("Row %1, column %2: %3, %4")
        .arg(row)
        .arg(column)
        .arg(QString::fromUtf8(terrainName(cell.terrain)),
             QString::fromUtf8(ownerName(cell.owner)));
}

class MapAccessibleTest : public ShownMapView
{
  protected:
    void showTable(MapData map)
    {
        show(std::move(map));
        accessible = QAccessible::queryAccessibleInterface(view.get());
        ASSERT_TRUE(accessible);
        table = accessible->tableInterface();
        ASSERT_TRUE(table);
    }
    QAccessibleInterface* accessible = nullptr;
    QAccessibleTableInterface* table = nullptr;
};

} // namespace

TEST_F(MapAccessibleTest, TheMapIsATableOfItsCellsInRowMajorOrder)
{
    showTable(mixedMap(4, 3));
    EXPECT_EQ(accessible->role(), QAccessible::Table);
    EXPECT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->columnCount(), 4);
    ASSERT_EQ(accessible->childCount(), 12);
    for (int i = 0; i < 12; ++i) {
        QAccessibleInterface* cell = table->cellAt(i / 4, i % 4);
        ASSERT_TRUE(cell) << i;
        EXPECT_TRUE(accessible->child(i) == cell && accessible->indexOfChild(cell) == i) << i;
        EXPECT_TRUE(cell->role() == QAccessible::Cell && cell->parent() == accessible) << i;
        EXPECT_EQ(cell->tableCellInterface()->rowIndex() * 4 +
                      cell->tableCellInterface()->columnIndex(),
                  i);
        EXPECT_EQ(cell->text(QAccessible::Name),
                  expectedName(document->data(), i / 4 + 1, i % 4 + 1));
    }
    EXPECT_FALSE(table->cellAt(3, 0) || table->cellAt(0, 4) || accessible->child(12));
    // A cell lies where it is drawn, and is found there.
    QAccessibleInterface* cell = table->cellAt(1, 2);
    const QRect drawn = view->cellRectInViewport({2, 3});
    EXPECT_EQ(cell->rect(), QRect(view->viewport()->mapToGlobal(drawn.topLeft()), drawn.size()));
    const QPoint middle = view->viewport()->mapToGlobal(drawn.center());
    EXPECT_EQ(accessible->childAt(middle.x(), middle.y()), cell);
}

// The reader's focus is the keys' current cell, and a name read after a
// paint is the new one. (That the reader is told of both, through events,
// is seen by the end-to-end accessibility run: events need a live bridge.)
TEST_F(MapAccessibleTest, FocusIsTheCurrentCellAndAPaintRenamesItsCells)
{
    showTable(mixedMap(9, 9));
    view->setFocus();
    QTest::keyClick(view.get(), Qt::Key_Right);
    QTest::keyClick(view.get(), Qt::Key_Down);
    EXPECT_EQ(accessible->focusChild(), table->cellAt(1, 1));
    EXPECT_TRUE(table->cellAt(1, 1)->state().focused);
    EXPECT_FALSE(table->cellAt(1, 2)->state().focused);
    EXPECT_TRUE(table->cellAt(1, 2)->state().focusable); // a reader may move there

    QAccessibleInterface* inBlock = table->cellAt(2, 6);
    QAccessibleInterface* besideIt = table->cellAt(2, 7);
    const QString besideBefore = besideIt->text(QAccessible::Name);
    ASSERT_TRUE(document->paint({5, 5}, Terrain::Heart, Owner::Keeper2));
    EXPECT_EQ(inBlock->text(QAccessible::Name), QStringLiteral("Row 3, column 7: Heart, Keeper 2"));
    EXPECT_EQ(besideIt->text(QAccessible::Name), besideBefore);
}

// A reader that walks every cell of the largest map never makes the program
// hold 65,025 objects, and every cell it asks for is there.
TEST_F(MapAccessibleTest, TheCellsKeptAreBoundedOnTheLargestMap)
{
    showTable(mixedMap(255, 255));
    auto* map = dynamic_cast<MapAccessible*>(accessible);
    ASSERT_TRUE(map);
    view->setCurrentCell({2, 2});
    QAccessibleInterface* current = accessible->focusChild();
    const QAccessible::Id currentId = QAccessible::uniqueId(current);
    const QAccessible::Id firstId = QAccessible::uniqueId(accessible->child(0));
    for (int i = 0; i < 255 * 255; ++i) {
        QAccessibleInterface* cell = accessible->child(i);
        ASSERT_TRUE(cell) << i;
        if (i % 997 == 0) {
            EXPECT_EQ(accessible->indexOfChild(cell), i);
        }
        ASSERT_LE(map->keptCells(), MapAccessible::MaxKeptCells);
    }
    EXPECT_FALSE(QAccessible::accessibleInterface(firstId));         // let go of
    EXPECT_EQ(QAccessible::accessibleInterface(currentId), current); // kept
    EXPECT_EQ(accessible->focusChild(), current);
    QAccessibleInterface* again = accessible->child(0);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->text(QAccessible::Name), expectedName(document->data(), 1, 1));
}
