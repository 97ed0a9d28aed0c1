#include "ToolbarState.h"
#include "PaletteButtons.h"

#include <gtest/gtest.h>
#include <vector>

using namespace palette;

namespace {

std::vector<int> pressedButtons(const ToolbarState& state)
{
    std::vector<int> pressed;
    for (int b = 1; b <= ButtonCount; ++b)
        if (state.pressed(b))
            pressed.push_back(b);
    return pressed;
}

ToolbarState allEnabled()
{
    ToolbarState state;
    for (int b = 1; b <= ButtonCount; ++b)
        state.setEnabled(b, true);
    return state;
}

} // namespace

TEST(PaletteButtons, NumberingCountsTheSeparators)
{
    EXPECT_EQ(button(1).toolTip, "Heart");
    EXPECT_EQ(button(27).toolTip, "Gems");
    EXPECT_TRUE(isSeparator(28));
    EXPECT_EQ(button(29).toolTip, "Hero Gate 1");
    EXPECT_EQ(button(35).toolTip, "Hero rest");
    EXPECT_TRUE(isSeparator(36));
    EXPECT_EQ(button(37).toolTip, "Hero");
    EXPECT_EQ(button(43).toolTip, "Keeper 4");
    EXPECT_TRUE(isSeparator(44));
    EXPECT_EQ(button(45).toolTip, "Zoom in");
    EXPECT_EQ(button(47).toolTip, "Grid On/Off");
    int separators = 0;
    for (int b = 1; b <= ButtonCount; ++b) {
        EXPECT_EQ(button(b).number, b);
        separators += isSeparator(b);
    }
    EXPECT_EQ(separators, 3);
}

TEST(PaletteButtons, PicturesFollowTheButtonNumbers)
{
    for (int b = 1; b <= 27; ++b)
        EXPECT_EQ(button(b).image, 42 + b) << b;
    for (int b = 29; b <= 35; ++b)
        EXPECT_EQ(button(b).image, b - 1) << b; // the hero pictures of the cells
    for (int b = 37; b <= 43; ++b)
        EXPECT_EQ(button(b).image, b - 1) << b; // the owner colours
    EXPECT_EQ(button(45).image, 70);
    EXPECT_EQ(button(46).image, 71);
    EXPECT_EQ(button(47).image, 72);
}

TEST(ToolbarState, StartsWithEveryButtonDisabledAndNonePressed)
{
    ToolbarState state;
    for (int b = 1; b <= ButtonCount; ++b) {
        EXPECT_FALSE(state.enabled(b)) << b;
        EXPECT_FALSE(state.pressed(b)) << b;
        EXPECT_FALSE(state.click(b)) << b; // a disabled button reports nothing
    }
}

TEST(ToolbarState, RadioRunsEndAtSeparators)
{
    EXPECT_EQ(ToolbarState::runFirst(14), 1);
    EXPECT_EQ(ToolbarState::runLast(14), 27);
    EXPECT_EQ(ToolbarState::runFirst(35), 29);
    EXPECT_EQ(ToolbarState::runLast(29), 35);
    EXPECT_EQ(ToolbarState::runFirst(40), 37);
    EXPECT_EQ(ToolbarState::runLast(40), 43);
}

TEST(ToolbarState, PressingByProgramReleasesThePressedButtonOfTheRunOnly)
{
    ToolbarState state;
    state.setPressed(1, true);
    state.setPressed(29, true);
    state.setPressed(37, true);
    state.setPressed(47, true);
    state.setPressed(5, true);
    EXPECT_EQ(pressedButtons(state), (std::vector<int>{5, 29, 37, 47}));
    state.setPressed(43, true);
    EXPECT_EQ(pressedButtons(state), (std::vector<int>{5, 29, 43, 47}));
    // Releasing by program leaves a run with nothing pressed.
    state.setPressed(29, false);
    EXPECT_EQ(pressedButtons(state), (std::vector<int>{5, 43, 47}));
}

TEST(ToolbarState, ClicksPressRadioButtonsAndReleasePushButtons)
{
    ToolbarState state = allEnabled();
    EXPECT_TRUE(state.click(3));
    EXPECT_TRUE(state.click(3)); // the pressed one stays pressed
    EXPECT_TRUE(state.pressed(3));
    EXPECT_TRUE(state.click(9));
    EXPECT_FALSE(state.pressed(3));
    EXPECT_TRUE(state.pressed(9));

    state.setPressed(47, true); // a push button pressed by program stays so...
    EXPECT_TRUE(state.pressed(47));
    EXPECT_TRUE(state.click(47)); // ...until its next click
    EXPECT_FALSE(state.pressed(47));
    EXPECT_TRUE(state.click(45));
    EXPECT_FALSE(state.pressed(45));
    EXPECT_FALSE(state.click(28));
    EXPECT_FALSE(state.click(0));
    EXPECT_FALSE(state.click(48));
}

TEST(ToolbarState, ReportsEveryChangeOnce)
{
    ToolbarState state;
    std::vector<int> changes;
    state.changed = [&](int b) { changes.push_back(b); };
    state.setPressed(2, true);
    state.setPressed(2, true);
    state.setPressed(7, true);
    state.setEnabled(7, true);
    state.setEnabled(7, true);
    EXPECT_EQ(changes, (std::vector<int>{2, 2, 7, 7}));
}
