#include "EditorFixture.h"
#include "MapBytes.h"
#include "Module1.h"
#include "frmMap.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>

namespace {

constexpr int Width = 12;
constexpr int Height = 10;

std::string plainMap()
{
    std::string bytes = mapBytes(Width, Height);
    for (int k = 0; k < Width * Height; ++k)
        bytes += std::string{'\x02', '\x02', '\x33', '\x44'}; // "Rock", "Neutral"
    return bytes + "after the records";
}

// Expected file bytes: every record rewritten with 01 01, painted cells set.
struct ExpectedMap
{
    QByteArray bytes;
    explicit ExpectedMap(const std::string& original)
        : bytes(original.data(), static_cast<qsizetype>(original.size()))
    {
        for (int k = 0; k < Width * Height; ++k)
            bytes[36 + 4 * k + 2] = bytes[36 + 4 * k + 3] = 0x01;
    }
    void set(int row, int column, char terrainCode, char owner)
    {
        const int at = 36 + 4 * ((row - 1) * Width + (column - 1));
        bytes[at] = terrainCode;
        bytes[at + 1] = owner;
    }
};

void clickCell(frmMap* map, int row, int column)
{
    const int element = (row - 1) * Width + (column - 1);
    QTest::mouseClick(map, Qt::LeftButton, {}, map->elementRect(element).center());
}

} // namespace

using EditingRoad = EditorFixture;

TEST_F(EditingRoad, OpenPaintZoomGridSaveGivesExactlyThePaintedBytes)
{
    start();
    const std::string original = plainMap();
    const QString path = openMapBytes(original);
    frmMap* map = window->map();
    ASSERT_TRUE(map);
    ExpectedMap expected(original);

    // A Heart for "Keeper 1": a 5 x 5 block around row 5, column 6.
    clickButton(*window, 40);
    clickButton(*window, 1);
    clickCell(map, 5, 6);
    for (int r = 3; r <= 7; ++r)
        for (int c = 4; c <= 8; ++c)
            expected.set(r, c, '\x0E', 4);

    // Refused: a Heart too close to the ring, and the ring itself.
    clickCell(map, 3, 6);
    clickButton(*window, 3); // "Treasury"
    clickCell(map, 1, 1);
    clickCell(map, Height, 5);

    // "Gold" needs "Neutral".
    clickButton(*window, 38);
    clickButton(*window, 26);
    clickCell(map, 2, 10);
    expected.set(2, 10, '\x06', 2);

    // "Hero Gate 2" needs "Hero"; zoom out three steps and hide the grid first.
    clickButton(*window, 46);
    clickButton(*window, 46);
    clickButton(*window, 46);
    EXPECT_EQ(Module1::CellSize, 720);
    clickButton(*window, 47);
    EXPECT_FALSE(Module1::GridShown);
    clickButton(*window, 37);
    clickButton(*window, 30);
    clickCell(map, 9, 11);
    expected.set(9, 11, '\x1D', 1);

    // An owner change drops the gate for the Heart; paint over the Heart block.
    clickButton(*window, 39); // "Player"
    EXPECT_EQ(Module1::CurrentTerrain, 1);
    clickButton(*window, 14); // "Temple"
    clickButton(*window, 45);
    clickCell(map, 5, 6);
    expected.set(5, 6, '\x16', 3);
    clickButton(*window, 47);
    EXPECT_TRUE(Module1::GridShown);

    window->mnuSave_Click();
    EXPECT_EQ(bytesOf(path), expected.bytes);
}

TEST_F(EditingRoad, ExitWithUnsavedEditsLeavesTheFileAlone)
{
    start();
    const std::string original = plainMap();
    const QString path = openMapBytes(original);
    ASSERT_TRUE(window->map());
    clickButton(*window, 2);
    clickCell(window->map(), 4, 4);
    EXPECT_EQ(Module1::CellCodes[4][4][1], "2");
    window->mnuExit_Click();
    EXPECT_EQ(bytesOf(path), QByteArray(original.data(), static_cast<qsizetype>(original.size())));
}

TEST_F(EditingRoad, TheStatusBarNamesTheCellUnderThePointerAndTheTools)
{
    start();
    openMapBytes(plainMap());
    frmMap* map = window->map();
    ASSERT_TRUE(map);
    auto* cell = window->findChild<QLabel*>(QStringLiteral("cellLabel"));
    auto* tools = window->findChild<QLabel*>(QStringLiteral("toolsLabel"));
    ASSERT_TRUE(cell && tools);

    const QPointF at = map->elementRect(2 * Width + 4).center(); // row 3, column 5
    QMouseEvent move(QEvent::MouseMove, at, map->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(map, &move);
    EXPECT_EQ(cell->text(), QStringLiteral("Row 3, column 5: Rock, Neutral"));

    clickButton(*window, 39); // "Player"
    clickButton(*window, 2);  // "Portal"
    QTest::mouseClick(map, Qt::LeftButton, {}, at.toPoint());
    EXPECT_EQ(cell->text(), QStringLiteral("Row 3, column 5: Portal, Player"));
    EXPECT_TRUE(tools->text().contains(QStringLiteral("Terrain: Portal")));
    EXPECT_TRUE(tools->text().contains(QStringLiteral("Owner: Player")));
}
