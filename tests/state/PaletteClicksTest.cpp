#include "PaletteClicks.h"
#include "Module1.h"
#include "ToolbarState.h"
#include "ViewCommands.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct RecordingMap : ViewCommands
{
    std::vector<std::string> calls;
    void ZoomIn() override { calls.push_back("ZoomIn"); }
    void ZoomOut() override { calls.push_back("ZoomOut"); }
    void GridOn() override { calls.push_back("GridOn"); }
    void GridOff() override { calls.push_back("GridOff"); }
};

// The palette as a freshly loaded map leaves it.
class PaletteClicks : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        Module1::ClearEditorState();
        for (int b = 1; b <= 20; ++b)
            toolbar.setEnabled(b, true);
        for (int b = 28; b <= 47; ++b)
            if (b != 45)
                toolbar.setEnabled(b, true);
        toolbar.setPressed(1, true);
        toolbar.setPressed(37, true);
        toolbar.setPressed(47, true);
    }

    // What a person's click does: the toolbar's own update, then the handler.
    void click(int b)
    {
        ASSERT_TRUE(toolbar.click(b)) << "button " << b << " is not clickable";
        Toolbar1_ButtonClick(b, toolbar, &map);
    }

    bool allEnabled(int first, int last, bool enabled) const
    {
        for (int b = first; b <= last; ++b)
            if (toolbar.enabled(b) != enabled)
                return false;
        return true;
    }

    int pressedTerrainButtons() const
    {
        int count = 0;
        for (int b = 1; b <= 35; ++b)
            count += b != 28 && toolbar.pressed(b);
        return count;
    }

    ToolbarState toolbar;
    RecordingMap map;
};

} // namespace

TEST_F(PaletteClicks, NeutralOpensTheNaturalTerrainsAndClosesTheHeroGates)
{
    click(31); // "Hero Gate 3"
    EXPECT_EQ(Module1::CurrentTerrain, 30);
    click(38); // "Neutral"
    EXPECT_TRUE(allEnabled(21, 27, true));
    EXPECT_TRUE(allEnabled(29, 35, false));
    EXPECT_TRUE(toolbar.pressed(1));
    EXPECT_FALSE(toolbar.pressed(31));
    EXPECT_EQ(Module1::CurrentTerrain, 1);
    EXPECT_EQ(Module1::CurrentOwner, 2);
}

TEST_F(PaletteClicks, LeavingNeutralDropsANaturalTerrainForTheHeart)
{
    click(38);
    click(26); // "Gold"
    EXPECT_EQ(Module1::CurrentTerrain, 26);
    click(39); // "Player"
    EXPECT_TRUE(allEnabled(21, 27, false));
    EXPECT_TRUE(allEnabled(29, 35, false));
    EXPECT_FALSE(toolbar.pressed(26));
    EXPECT_TRUE(toolbar.pressed(1));
    EXPECT_EQ(Module1::CurrentTerrain, 1);
    EXPECT_EQ(Module1::CurrentOwner, 3);
    EXPECT_EQ(pressedTerrainButtons(), 1);
}

TEST_F(PaletteClicks, HeroGatesAndTerrainsShareOneChoice)
{
    click(12);
    click(29); // "Hero Gate 1"
    EXPECT_FALSE(toolbar.pressed(12));
    EXPECT_EQ(Module1::CurrentTerrain, 28);
    click(35); // "Hero rest"
    EXPECT_EQ(Module1::CurrentTerrain, 34);
    EXPECT_EQ(pressedTerrainButtons(), 1);
    click(17);
    EXPECT_FALSE(toolbar.pressed(35));
    EXPECT_EQ(Module1::CurrentTerrain, 17);
    EXPECT_EQ(pressedTerrainButtons(), 1);
}

TEST_F(PaletteClicks, AnOwnerChangeKeepsATerrainThatStaysAvailable)
{
    click(14); // "Temple"
    click(43); // "Keeper 4"
    EXPECT_EQ(Module1::CurrentOwner, 7);
    EXPECT_EQ(Module1::CurrentTerrain, 14);
    EXPECT_TRUE(toolbar.pressed(14));
    EXPECT_TRUE(allEnabled(29, 35, false));
    click(37); // back to "Hero": the gates come back
    EXPECT_TRUE(allEnabled(29, 35, true));
    EXPECT_TRUE(allEnabled(21, 27, false));
}

TEST_F(PaletteClicks, ClickingThePressedButtonAgainKeepsIt)
{
    click(6);
    click(6);
    EXPECT_TRUE(toolbar.pressed(6));
    EXPECT_EQ(Module1::CurrentTerrain, 6);
    click(37);
    click(37);
    EXPECT_TRUE(toolbar.pressed(37));
    EXPECT_EQ(Module1::CurrentOwner, 1);
}

TEST_F(PaletteClicks, ViewButtonsRunTheAvailabilityStepsToo)
{
    click(30); // "Hero Gate 2" with "Hero"
    click(46);
    EXPECT_EQ(map.calls, (std::vector<std::string>{"ZoomOut"}));
    EXPECT_TRUE(toolbar.pressed(30)); // owner unchanged: nothing falls back
    EXPECT_EQ(Module1::CurrentTerrain, 29);

    // With the owner button released behind the handler's back, the next
    // view click applies the owner rules.
    toolbar.setPressed(37, false);
    click(46);
    EXPECT_FALSE(toolbar.pressed(30));
    EXPECT_TRUE(toolbar.pressed(1));
    EXPECT_EQ(Module1::CurrentTerrain, 1);
}

TEST_F(PaletteClicks, TheGridButtonIsPressedExactlyWhileTheGridIsOn)
{
    click(47);
    EXPECT_FALSE(Module1::GridShown);
    EXPECT_FALSE(toolbar.pressed(47));
    click(47);
    EXPECT_TRUE(Module1::GridShown);
    EXPECT_TRUE(toolbar.pressed(47));
    EXPECT_EQ(map.calls, (std::vector<std::string>{"GridOff", "GridOn"}));
}

TEST_F(PaletteClicks, ZoomButtonsCallTheMapWindow)
{
    toolbar.setEnabled(45, true);
    click(45);
    click(46);
    EXPECT_EQ(map.calls, (std::vector<std::string>{"ZoomIn", "ZoomOut"}));
    EXPECT_FALSE(toolbar.pressed(45));
    EXPECT_FALSE(toolbar.pressed(46));
}
