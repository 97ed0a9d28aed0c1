// The whole editing run without a mouse: the palette's tab stop and arrows,
// the map's cursor, Space to press and to paint; and what a screen reader
// learns of the palette's buttons.

#include "EditorFixture.h"
#include "MapView.h"
#include "PaletteKeys.h"
#include "PaletteModel.h"
#include "PaletteToolBar.h"

#include <QAccessible>
#include <QApplication>
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
        QCoreApplication::processEvents(); // the window has been fitted to the small screen
        // Wide enough for the whole palette, as on the designed screen.
        window->resize(MainWindow::DesignedSize);
        openMapBytes(rockMap(width, height));
        ASSERT_TRUE(window->mapView());
        // The open dialog has gone; the window is active again, as a window
        // manager makes it (the offscreen platform has none).
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    // A key pressed where the keyboard's focus is.
    static void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_TRUE(focused) << "nothing has the keyboard";
        QTest::keyClick(focused, static_cast<Qt::Key>(key), modifiers);
    }
    // The palette button with the keyboard, or none.
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

    key(Qt::Key_Tab);
    EXPECT_EQ(focusedButton(), PaletteButton::Heart);
    key(Qt::Key_Left);
    EXPECT_EQ(focusedButton(), PaletteButton::Heart); // no wrapping
    // With the owner "Hero", "Sold Rock" to "Gems" (21-27) are greyed: from
    // the last terrain before them the next stop is the first hero gate.
    for (int i = 1; i < 20; ++i)
        key(Qt::Key_Right);
    EXPECT_EQ(focusedButton(), buttonNumbered(20));
    key(Qt::Key_Right);
    EXPECT_EQ(focusedButton(), PaletteButton::HeroGate1);
    // "Zoom in" is greyed at the largest cells: End stops on the grid, and
    // Left from "Zoom out" passes over it and the separator to an owner.
    key(Qt::Key_End);
    EXPECT_EQ(focusedButton(), PaletteButton::Grid);
    key(Qt::Key_Right);
    EXPECT_EQ(focusedButton(), PaletteButton::Grid);
    key(Qt::Key_Left);
    EXPECT_EQ(focusedButton(), PaletteButton::ZoomOut);
    key(Qt::Key_Left);
    EXPECT_EQ(focusedButton(), buttonNumbered(43));
    key(Qt::Key_Home);
    EXPECT_EQ(focusedButton(), PaletteButton::Heart);

    key(Qt::Key_Tab);
    EXPECT_TRUE(window->mapView()->hasFocus());
    key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(focusedButton(), PaletteButton::Heart);
}

// Space and Enter press as a click does, the palette's rules included: an
// owner that rules out the chosen terrain brings back the Heart, and the tab
// stop follows the pressed terrain once the focus has left the palette.
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
    key(Qt::Key_Space); // back to 72 px: the button greys under the focus
    EXPECT_EQ(window->mapView()->cellSize(), 72);
    EXPECT_EQ(focusedButton(), PaletteButton::ZoomOut);

    key(Qt::Key_Home);
    for (int i = 1; i < 30; ++i)
        key(Qt::Key_Right); // 1 ... 20, the hero run 29 ... 35, then "Hero", "Neutral"
    ASSERT_EQ(focusedButton(), PaletteButton::Player);
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    ASSERT_EQ(focusedButton(), buttonNumbered(37)); // "Hero"
    key(Qt::Key_Left);
    key(Qt::Key_Space); // the hero rest, which only "Hero" may own
    EXPECT_EQ(window->palette().terrain(), Terrain::HeroRest);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Enter); // "Player": the hero rest is ruled out
    EXPECT_EQ(window->palette().owner(), Owner::Player);
    EXPECT_EQ(window->palette().terrain(), Terrain::Heart);

    key(Qt::Key_Tab);
    key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(focusedButton(), PaletteButton::Heart);
    EXPECT_EQ(window->paletteBar()->keys().tabStop(), PaletteButton::Heart);
}

// Painting by keys is painting by clicks: the same cell click, the same
// rules, the status bar on the cursor's cell.
TEST_F(Keyboard, TheCursorPaintsWithTheRulesOfAClick)
{
    startWithMap(9, 9);
    press(PaletteButton::Player);
    press(buttonFor(Terrain::Library));
    window->mapView()->setFocus();
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    EXPECT_EQ(window->cellText(), QStringLiteral("Row 3, column 4: Rock, Neutral"));
    key(Qt::Key_Space);
    EXPECT_EQ(window->cellText(), QStringLiteral("Row 3, column 4: Libaray, Player"));
    EXPECT_EQ(window->document()->cellAt({3, 4}).terrain, Terrain::Library);
    EXPECT_TRUE(window->saveAction()->isEnabled());

    // The ring takes no paint, and a Heart that does not fit stays refused.
    key(Qt::Key_Home, Qt::ControlModifier);
    key(Qt::Key_Enter);
    EXPECT_EQ(window->document()->cellAt({1, 1}).terrain, Terrain::Rock);
    press(PaletteButton::Heart);
    window->mapView()->setFocus();
    key(Qt::Key_Down);
    key(Qt::Key_Right);
    key(Qt::Key_Space);
    EXPECT_EQ(window->document()->cellAt({2, 2}).terrain, Terrain::Rock);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Space); // (4, 4): its block reaches from (2, 2) to (6, 6)
    EXPECT_EQ(window->document()->cellAt({2, 2}).terrain, Terrain::Heart);
    EXPECT_EQ(window->document()->cellAt({6, 6}).terrain, Terrain::Heart);
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

// Before a map is open every button is greyed: Tab finds no stop there.
TEST_F(Keyboard, ThePaletteTakesNoFocusWhileEveryButtonIsGreyed)
{
    start();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QWidget* before = QApplication::focusWidget();
    if (before)
        QTest::keyClick(before, Qt::Key_Tab);
    else
        QTest::keyClick(window.get(), Qt::Key_Tab);
    EXPECT_FALSE(focusedButton());
}

// A screen reader hears each button by its tool tip, odd spellings as they
// are, with its pressed and greyed states.
TEST_F(Keyboard, ThePaletteButtonsTellTheirNameAndState)
{
    startWithMap(8, 8);
    const auto accessible = [this](PaletteButton button) {
        return QAccessible::queryAccessibleInterface(window->paletteBar()->buttonWidget(button));
    };
    EXPECT_EQ(accessible(buttonFor(Terrain::Library))->text(QAccessible::Name),
              QStringLiteral("Libaray"));
    EXPECT_EQ(accessible(buttonFor(Terrain::Casino))->text(QAccessible::Name),
              QStringLiteral("Casion"));
    EXPECT_EQ(accessible(PaletteButton::Grid)->text(QAccessible::Name),
              QStringLiteral("Grid On/Off"));
    EXPECT_TRUE(accessible(PaletteButton::Heart)->state().checked);
    EXPECT_FALSE(accessible(PaletteButton::Player)->state().checked);
    EXPECT_TRUE(accessible(buttonNumbered(21))->state().disabled); // "Sold Rock", not "Hero"'s
    press(PaletteButton::Neutral);
    EXPECT_FALSE(accessible(buttonNumbered(21))->state().disabled);
    EXPECT_TRUE(accessible(PaletteButton::Neutral)->state().checked);
    EXPECT_FALSE(accessible(PaletteButton::Hero)->state().checked);
}
