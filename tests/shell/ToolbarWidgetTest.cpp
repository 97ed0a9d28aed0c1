#include "EditorFixture.h"
#include "ImageList.h"
#include "PaletteButtons.h"
#include "Toolbar1.h"

#include <QAction>
#include <QToolButton>

using ToolbarWidget = EditorFixture;

TEST_F(ToolbarWidget, EveryButtonHasItsTipNameAndSizeAndStartsDisabled)
{
    start();
    Toolbar1* toolbar = window->toolbar();
    for (int b = 1; b <= palette::ButtonCount; ++b) {
        SCOPED_TRACE(b);
        QAction* action = toolbar->action(b);
        ASSERT_TRUE(action);
        if (palette::isSeparator(b)) {
            EXPECT_TRUE(action->isSeparator());
            continue;
        }
        const QString tip = QString::fromUtf8(palette::button(b).toolTip);
        EXPECT_EQ(action->toolTip(), tip);
        QToolButton* button = toolbar->buttonWidget(b);
        ASSERT_TRUE(button);
        EXPECT_EQ(button->accessibleName(), tip);
        EXPECT_EQ(button->size(), QSize(24, 22));
        EXPECT_EQ(button->iconSize(), QSize(16, 16));
        EXPECT_FALSE(button->isEnabled());
        EXPECT_FALSE(button->isChecked());
        EXPECT_FALSE(action->icon().isNull());
    }
}

TEST_F(ToolbarWidget, ButtonsShowTheStateAfterAClick)
{
    start();
    Toolbar1* toolbar = window->toolbar();
    ToolbarState& state = window->toolbarState();
    for (int b = 1; b <= 47; ++b)
        state.setEnabled(b, true);
    state.setPressed(1, true);
    toolbar->buttonWidget(5)->click();
    EXPECT_TRUE(toolbar->buttonWidget(5)->isChecked());
    EXPECT_FALSE(toolbar->buttonWidget(1)->isChecked());
    toolbar->buttonWidget(5)->click(); // Qt would toggle it off; the palette keeps it
    EXPECT_TRUE(toolbar->buttonWidget(5)->isChecked());
    toolbar->buttonWidget(46)->click(); // a push button is up after its click
    EXPECT_FALSE(toolbar->buttonWidget(46)->isChecked());
    state.setEnabled(9, false);
    EXPECT_FALSE(toolbar->buttonWidget(9)->isEnabled());
}
