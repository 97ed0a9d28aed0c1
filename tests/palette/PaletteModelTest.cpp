#include "PaletteModel.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <set>
#include <vector>

using delvard::Owner;
using delvard::Terrain;

namespace {

std::set<int> pressedButtons(const PaletteModel& palette)
{
    std::set<int> pressed;
    for (int b = 1; b <= PaletteButtonCount; ++b)
        if (palette.isPressed(buttonNumbered(b)))
            pressed.insert(b);
    return pressed;
}

bool runEnabled(const PaletteModel& palette, int first, int last)
{
    bool all = true;
    bool none = true;
    for (int b = first; b <= last; ++b) {
        all = all && palette.isEnabled(buttonNumbered(b));
        none = none && !palette.isEnabled(buttonNumbered(b));
    }
    EXPECT_TRUE(all || none) << "buttons " << first << "-" << last << " disagree";
    return all;
}

// A run of clicks on a freshly shown map, by button number, and what the
// palette shows afterwards.
struct ClickRun
{
    const char* what;
    std::vector<int> clicks;
    Terrain terrain;
    Owner owner;
    std::set<int> pressed;
    bool heroGatesEnabled;      // buttons 29-35
    bool naturalTerrainEnabled; // buttons 21-27
};

void PrintTo(const ClickRun& run, std::ostream* os)
{
    *os << run.what;
}

class PaletteRules : public ::testing::TestWithParam<ClickRun>
{
};

} // namespace

TEST_P(PaletteRules, KeepTheButtonsAndToolsConsistent)
{
    const ClickRun& run = GetParam();
    PaletteModel palette;
    palette.enterWorkingState();
    for (int b : run.clicks)
        palette.click(buttonNumbered(b));
    EXPECT_EQ(palette.terrain(), run.terrain);
    EXPECT_EQ(palette.owner(), run.owner);
    EXPECT_EQ(pressedButtons(palette), run.pressed);
    EXPECT_EQ(runEnabled(palette, 29, 35), run.heroGatesEnabled);
    EXPECT_EQ(runEnabled(palette, 21, 27), run.naturalTerrainEnabled);
    EXPECT_TRUE(runEnabled(palette, 1, 20));
    EXPECT_TRUE(runEnabled(palette, 37, 43));
}

INSTANTIATE_TEST_SUITE_P(
    Runs, PaletteRules,
    ::testing::Values(
        ClickRun{"MapShown", {}, Terrain::Heart, Owner::Hero, {1, 37, 47}, true, false},
        ClickRun{"NeutralDropsAHeroGateForTheHeart",
                 {31, 38},
                 Terrain::Heart,
                 Owner::Neutral,
                 {1, 38, 47},
                 false,
                 true},
        ClickRun{"LeavingNeutralDropsGold",
                 {38, 26, 39},
                 Terrain::Heart,
                 Owner::Player,
                 {1, 39, 47},
                 false,
                 false},
        ClickRun{
            "NeutralKeepsGold", {38, 26}, Terrain::Gold, Owner::Neutral, {26, 38, 47}, false, true},
        ClickRun{"HeroGateOneIsTerrain28",
                 {12, 29},
                 Terrain::HeroGate1,
                 Owner::Hero,
                 {29, 37, 47},
                 true,
                 false},
        ClickRun{"HeroRestIsTerrain34",
                 {12, 29, 35},
                 Terrain::HeroRest,
                 Owner::Hero,
                 {35, 37, 47},
                 true,
                 false},
        ClickRun{"ATerrainReleasesTheHeroGate",
                 {35, 17},
                 Terrain::WoodBridge,
                 Owner::Hero,
                 {17, 37, 47},
                 true,
                 false},
        ClickRun{"KeeperFourKeepsTheTemple",
                 {14, 43},
                 Terrain::Temple,
                 Owner::Keeper4,
                 {14, 43, 47},
                 false,
                 false},
        ClickRun{"BackToHeroBringsTheGatesBack",
                 {14, 43, 37},
                 Terrain::Temple,
                 Owner::Hero,
                 {14, 37, 47},
                 true,
                 false},
        ClickRun{"ThePressedButtonAgainKeepsIt",
                 {6, 6, 37, 37},
                 Terrain::Library,
                 Owner::Hero,
                 {6, 37, 47},
                 true,
                 false},
        ClickRun{"DisabledButtonsDoNothing",
                 {21, 45, 28},
                 Terrain::Heart,
                 Owner::Hero,
                 {1, 37, 47},
                 true,
                 false},
        ClickRun{
            "GridOffReleasesItsButton", {47}, Terrain::Heart, Owner::Hero, {1, 37}, true, false},
        ClickRun{"GridOnAgainPressesIt",
                 {47, 47},
                 Terrain::Heart,
                 Owner::Hero,
                 {1, 37, 47},
                 true,
                 false},
        ClickRun{"ZoomOutStaysUpAndKeepsTheGate",
                 {30, 46},
                 Terrain::HeroGate2,
                 Owner::Hero,
                 {30, 37, 47},
                 true,
                 false}));

TEST(PaletteModel, NothingReactsBeforeAMapIsShown)
{
    PaletteModel palette;
    for (int b = 1; b <= PaletteButtonCount; ++b) {
        EXPECT_FALSE(palette.isEnabled(buttonNumbered(b))) << b;
        palette.click(buttonNumbered(b));
    }
    EXPECT_TRUE(pressedButtons(palette).empty());
    EXPECT_EQ(palette.terrain(), Terrain::Heart);
    EXPECT_EQ(palette.owner(), Owner::Hero);
    EXPECT_TRUE(palette.gridShown());
}

TEST(PaletteModel, ViewButtonsAskForZoomAndGridAndFollowTheZoomLimits)
{
    PaletteModel palette;
    palette.enterWorkingState();
    EXPECT_FALSE(palette.isEnabled(PaletteButton::ZoomIn));
    EXPECT_TRUE(palette.isEnabled(PaletteButton::ZoomOut));
    QSignalSpy zoomIn(&palette, &PaletteModel::zoomInRequested);
    QSignalSpy zoomOut(&palette, &PaletteModel::zoomOutRequested);
    QSignalSpy grid(&palette, &PaletteModel::gridShownChanged);

    palette.click(PaletteButton::ZoomOut);
    palette.setZoomAvailable(true, true);
    palette.click(PaletteButton::ZoomIn);
    palette.setZoomAvailable(false, true);
    palette.click(PaletteButton::ZoomIn); // disabled again: nothing
    palette.click(PaletteButton::Grid);
    EXPECT_EQ(zoomOut.count(), 1);
    EXPECT_EQ(zoomIn.count(), 1);
    ASSERT_EQ(grid.count(), 1);
    EXPECT_FALSE(grid.takeFirst().at(0).toBool());
    EXPECT_FALSE(palette.gridShown());
    EXPECT_FALSE(palette.isPressed(PaletteButton::ZoomIn));
    EXPECT_FALSE(palette.isPressed(PaletteButton::ZoomOut));
}

TEST(PaletteButton, NumbersNameTheirTerrainsOwnersAndPictures)
{
    const struct
    {
        int number;
        const char* tip;
        int picture;
    } samples[] = {{1, "Heart", 43},     {6, "Libaray", 48},      {21, "Sold Rock", 63},
                   {27, "Gems", 69},     {29, "Hero Gate 1", 28}, {35, "Hero rest", 34},
                   {37, "Hero", 36},     {43, "Keeper 4", 42},    {45, "Zoom in", 70},
                   {46, "Zoom out", 71}, {47, "Grid On/Off", 72}, {28, "", 0}};
    for (const auto& s : samples) {
        const PaletteButtonInfo info = paletteButton(buttonNumbered(s.number));
        EXPECT_EQ(info.toolTip, s.tip) << s.number;
        EXPECT_EQ(info.picture, s.picture) << s.number;
    }
    EXPECT_EQ(numberOf(buttonFor(Terrain::HeroGate1)), 29);
    EXPECT_EQ(numberOf(buttonFor(Terrain::Gems)), 27);
    EXPECT_EQ(numberOf(buttonFor(Owner::Player)), 39);
}
