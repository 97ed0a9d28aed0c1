// The whole editing run without a mouse: the palette's tab stop and arrows,
// the map's cursor, Space to press and to paint.

#include "mapview/MapView.h"
#include "shell/PaletteKeys.h"
#include "shell/PaletteModel.h"
#include "shell/PaletteToolBar.h"
#include "shell/QtRepairs.h"
#include "tests/shell/EditorFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>

using namespace delvard;

namespace {

class Keyboard : public EditorFixture
{
  protected:
    void startWithMap(int width, int height)
    {
        start();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QCoreApplication::processEvents();        // fitted to the small screen first
        window->resize(MainWindow::DesignedSize); // the whole palette shows
        openMapBytes(rockMap(width, height));
        ASSERT_TRUE(window->mapView());
        // Active again after the dialog, as a window manager would make it.
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    static void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_TRUE(focused) << "nothing has the keyboard";
        QTest::keyClick(focused, static_cast<Qt::Key>(key), modifiers);
    }
    std::optional<PaletteButton> focusedButton() const
    {
        for (int number = 1; number <= PaletteButtonCount; ++number) {
            const QToolButton* widget = window->paletteBar()->buttonWidget(buttonNumbered(number));
            if (widget && widget->hasFocus())
                return buttonNumbered(number);
        }
        return std::nullopt;
    }
};

} // namespace

// After Open the keys are in the map; Tab goes to the palette's pressed
// terrain and back; the arrows walk the enabled buttons only, without
// wrapping.
TEST_F(Keyboard, TabAndTheArrowsWalkTheEnabledPaletteButtons)
{
    startWithMap(8, 8);
    EXPECT_TRUE(window->mapView()->hasFocus());
    EXPECT_EQ(window->mapView()->currentCell(), (CellPosition{1, 1}));
    EXPECT_FALSE(window->mapView()->cursorShown()); // nothing drawn for a mouse user

    const auto step = [this](int k, std::optional<PaletteButton> to,
                             Qt::KeyboardModifiers m = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, k, m);
        QApplication::sendEvent(QApplication::focusWidget(), &press);
        EXPECT_TRUE(press.isAccepted()) << k << " went on to the window";
        EXPECT_EQ(focusedButton(), to) << k;
    };
    step(Qt::Key_Tab, PaletteButton::Heart);
    step(Qt::Key_Left, PaletteButton::Heart); // no wrapping
    // With the owner "Hero", "Sold Rock" to "Gems" (21-27) are greyed: from
    // the last terrain before them the next stop is the first hero gate.
    for (int i = 1; i < 20; ++i)
        key(Qt::Key_Right);
    EXPECT_EQ(focusedButton(), buttonNumbered(20));
    step(Qt::Key_Right, PaletteButton::HeroGate1);
    // "Zoom in" is greyed at the largest cells: End stops on the grid, and
    // Left from "Zoom out" passes over it and the separator to an owner.
    step(Qt::Key_End, PaletteButton::Grid);
    step(Qt::Key_Right, PaletteButton::Grid);
    step(Qt::Key_Left, PaletteButton::ZoomOut);
    step(Qt::Key_Left, buttonNumbered(43));
    step(Qt::Key_Home, PaletteButton::Heart);
    step(Qt::Key_Tab, std::nullopt);
    EXPECT_TRUE(window->mapView()->hasFocus());
    step(Qt::Key_Tab, PaletteButton::Heart, Qt::ShiftModifier);
}

// Space, Return and Enter press as a click does; a button greyed under the
// focus hands it on; and once the focus has left the palette, Tab comes back
// to the pressed terrain.
TEST_F(Keyboard, SpaceAndEnterPressTheFocusedButton)
{
    startWithMap(8, 8);
    key(Qt::Key_Tab);
    key(Qt::Key_End); // the grid
    key(Qt::Key_Space);
    EXPECT_FALSE(window->mapView()->gridShown());
    key(Qt::Key_Left); // Zoom out
    key(Qt::Key_Return);
    EXPECT_EQ(window->mapView()->cellSize(), 64);
    key(Qt::Key_Left); // Zoom in, enabled now
    EXPECT_EQ(focusedButton(), PaletteButton::ZoomIn);
    key(Qt::Key_Enter); // back to 72 px: the button greys under the focus
    EXPECT_EQ(window->mapView()->cellSize(), 72);
    EXPECT_EQ(focusedButton(), PaletteButton::ZoomOut);

    key(Qt::Key_Home);
    key(Qt::Key_Right);
    key(Qt::Key_Space); // the second terrain
    key(Qt::Key_End);
    key(Qt::Key_Tab);
    key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(focusedButton(), buttonNumbered(2));
}

// Space, Enter and Return paint the cursor's cell as a click does, and the
// status bar names that cell; the tools may be chosen with the mouse.
TEST_F(Keyboard, TheCursorPaintsWithTheRulesOfAClick)
{
    startWithMap(9, 9);
    press(PaletteButton::Player);
    press(buttonFor(Terrain::Library));
    for (const int move : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right})
        key(move);
    EXPECT_EQ(window->cellText(), QStringLiteral("Row 3, column 4: Rock, Neutral"));
    key(Qt::Key_Space);
    EXPECT_EQ(window->cellText(), QStringLiteral("Row 3, column 4: Libaray, Player"));
    EXPECT_EQ(window->document()->cellAt({3, 4}).owner, Owner::Player);
    // A terrain chosen with the mouse is where the keys come into the palette.
    key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(focusedButton(), buttonFor(Terrain::Library));
    key(Qt::Key_Tab);

    press(PaletteButton::Heart);
    key(Qt::Key_Down);
    key(Qt::Key_Enter); // (4, 4): its block reaches from (2, 2) to (6, 6)
    EXPECT_EQ(window->document()->cellAt({2, 2}).terrain, Terrain::Heart);
    EXPECT_EQ(window->document()->cellAt({6, 6}).terrain, Terrain::Heart);
    press(PaletteButton::Neutral);
    press(buttonFor(Terrain::Gold));
    for (const int move : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down})
        key(move);
    key(Qt::Key_Return); // (7, 4), outside the Heart's block
    EXPECT_EQ(window->document()->cellAt({7, 4}).terrain, Terrain::Gold);
}

// In a window too narrow for the palette the keys pass over the buttons
// that wait in the toolbar's extension menu.
TEST_F(Keyboard, TheArrowsReachTheButtonsShown)
{
    startWithMap(8, 8);
    window->resize(500, 600);
    QCoreApplication::processEvents();
    ASSERT_FALSE(window->paletteBar()->buttonWidget(PaletteButton::Grid)->isVisible());
    key(Qt::Key_Tab);
    key(Qt::Key_End);
    const auto last = focusedButton();
    ASSERT_TRUE(last);
    EXPECT_TRUE(window->paletteBar()->buttonWidget(*last)->isVisible());
    EXPECT_NE(*last, PaletteButton::Heart);
    key(Qt::Key_Right);
    EXPECT_EQ(focusedButton(), last);
}

// Whenever the map has the keys and they were used, the status bar names
// their cell: when the pointer leaves the map and when the keys come back
// from the palette, before any key.
TEST_F(Keyboard, TheStatusBarNamesTheKeysCellWhileTheMapHasThem)
{
    startWithMap(6, 6);
    key(Qt::Key_Right);
    EXPECT_EQ(window->cellText(), QStringLiteral("Row 1, column 2: Rock, Neutral"));
    // The pointer passes over a cell, which becomes the current one, and leaves.
    MapView* map = window->mapView();
    const QPoint over = map->cellRectInViewport({3, 2}).center();
    QMouseEvent move(QEvent::MouseMove, over, map->viewport()->mapToGlobal(over), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(map->viewport(), &move);
    const QString keysCell = window->cellText();
    EXPECT_EQ(keysCell, QStringLiteral("Row 3, column 2: Rock, Neutral"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(window->mapView()->viewport(), &leave);
    EXPECT_EQ(window->cellText().toStdString(), keysCell.toStdString());
    key(Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_TRUE(focusedButton());
    key(Qt::Key_Tab);
    ASSERT_TRUE(window->mapView()->hasFocus());
    EXPECT_EQ(window->cellText().toStdString(), keysCell.toStdString());
}

// A window given the keyboard while a menu is open is the active one once
// the menu closes: keys then reach it.
TEST(QtRepairs, TheWindowGivenTheKeyboardUnderAMenuIsActiveOnceTheMenuCloses)
{
    QObject owner;
    installQtRepairs(&owner);
    QWidget first;
    QWidget second;
    first.show();
    second.show();
    second.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&second));
    QMenu menu(&second);
    menu.addAction(QStringLiteral("Open"));
    menu.popup(second.geometry().center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == &menu; }));
    first.activateWindow();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == first.windowHandle(); }));
    menu.hide();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &first; }));
}

// An Alt press handed back late (posted, as with a screen reader listening)
// reaches any widget but a menu opened by Alt.
TEST(QtRepairs, AnAltPressHandedBackLateReachesTheWidget)
{
    struct AltCounter : QWidget
    {
        int presses = 0;
        void keyPressEvent(QKeyEvent* key) override { presses += key->key() == Qt::Key_Alt; }
    };
    QObject owner;
    installQtRepairs(&owner);
    AltCounter widget;
    QCoreApplication::postEvent(&widget,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier));
    QCoreApplication::sendPostedEvents(&widget);
    EXPECT_EQ(widget.presses, 1);
}
