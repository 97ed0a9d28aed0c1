#include "shell/PaletteModel.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace delvard;

namespace {

std::set<int> pressedButtons(const PaletteModel& palette)
{
    std::set<int> pressed;
    for (int b = 1; b <= PaletteButtonCount; ++b)
        if (palette.isPressed(buttonNumbered(b)))
            pressed.insert(b);
    return pressed;
}

// Which of the buttons first..last are enabled: "all", "none" or "some".
std::string enabledRun(const PaletteModel& palette, int first, int last)
{
    int enabled = 0;
    for (int b = first; b <= last; ++b)
        enabled += palette.isEnabled(buttonNumbered(b));
    return enabled == last - first + 1 ? "all" : enabled == 0 ? "none" : "some";
}

// A run of clicks, by button number, on a freshly shown map, and what the
// palette shows afterwards.
struct ClickRun
{
    std::vector<int> clicks;
    Terrain terrain;
    Owner owner;
    std::set<int> pressed;
    const char* heroGates;      // buttons 29-35 enabled
    const char* naturalTerrain; // buttons 21-27 enabled
};

using PaletteRules = ::testing::TestWithParam<ClickRun>;

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
    EXPECT_EQ(enabledRun(palette, 29, 35), run.heroGates);
    EXPECT_EQ(enabledRun(palette, 21, 27), run.naturalTerrain);
    EXPECT_EQ(enabledRun(palette, 1, 20) + enabledRun(palette, 37, 43), "allall");
    EXPECT_EQ(palette.gridShown(), run.pressed.count(47) == 1);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, PaletteRules,
    ::testing::Values(
        // A map shown: Heart, Hero and the grid.
        ClickRun{{}, Terrain::Heart, Owner::Hero, {1, 37, 47}, "all", "none"},
        // Neutral drops Hero Gate 3 for the Heart; leaving Neutral drops Gold.
        ClickRun{{31, 38}, Terrain::Heart, Owner::Neutral, {1, 38, 47}, "none", "all"},
        ClickRun{{38, 26}, Terrain::Gold, Owner::Neutral, {26, 38, 47}, "none", "all"},
        ClickRun{{38, 26, 39}, Terrain::Heart, Owner::Player, {1, 39, 47}, "none", "none"},
        // Terrains and hero gates are one choice; gates are terrains 28-34.
        ClickRun{{12, 29}, Terrain::HeroGate1, Owner::Hero, {29, 37, 47}, "all", "none"},
        ClickRun{{29, 35, 17}, Terrain::WoodBridge, Owner::Hero, {17, 37, 47}, "all", "none"},
        ClickRun{{35}, Terrain::HeroRest, Owner::Hero, {35, 37, 47}, "all", "none"},
        // An owner change keeps a terrain that stays available.
        ClickRun{{14, 43, 37}, Terrain::Temple, Owner::Hero, {14, 37, 47}, "all", "none"},
        ClickRun{{6, 6, 37, 37}, Terrain::Library, Owner::Hero, {6, 37, 47}, "all", "none"},
        // Disabled buttons and separators do nothing; view buttons stay up.
        ClickRun{
            {21, 45, 28, 30, 46}, Terrain::HeroGate2, Owner::Hero, {30, 37, 47}, "all", "none"},
        ClickRun{{47}, Terrain::Heart, Owner::Hero, {1, 37}, "all", "none"},
        ClickRun{{47, 47}, Terrain::Heart, Owner::Hero, {1, 37, 47}, "all", "none"}));

TEST(PaletteModel, NothingReactsBeforeAMapAndViewButtonsAskTheMapView)
{
    PaletteModel palette;
    for (int b = 1; b <= PaletteButtonCount; ++b)
        palette.click(buttonNumbered(b));
    EXPECT_TRUE(pressedButtons(palette).empty());
    EXPECT_EQ(enabledRun(palette, 1, PaletteButtonCount), "none");

    palette.enterWorkingState();
    EXPECT_EQ(enabledRun(palette, 45, 45) + enabledRun(palette, 46, 46), "noneall");
    QSignalSpy zoomIn(&palette, &PaletteModel::zoomInRequested);
    QSignalSpy zoomOut(&palette, &PaletteModel::zoomOutRequested);
    QSignalSpy grid(&palette, &PaletteModel::gridShownChanged);
    palette.click(PaletteButton::ZoomOut);
    palette.setZoomAvailable(true, true);
    palette.click(PaletteButton::ZoomIn);
    palette.setZoomAvailable(false, true);
    palette.click(PaletteButton::ZoomIn);
    palette.click(PaletteButton::Grid);
    EXPECT_EQ(zoomOut.count(), 1);
    EXPECT_EQ(zoomIn.count(), 1);
    ASSERT_EQ(grid.count(), 1);
    EXPECT_FALSE(grid.takeFirst().at(0).toBool());
}

TEST(PaletteButton, NumbersNameTheirTerrainsOwnersAndPictures)
{
    const struct
    {
        int number;
        const char* tip;
        int picture;
    } samples[] = {
        {6, "Libaray", 48}, {21, "Sold Rock", 63}, {29, "Hero Gate 1", 28}, {35, "Hero rest", 34},
        {39, "Player", 38}, {45, "Zoom in", 70},   {47, "Grid On/Off", 72}, {28, "", 0}};
    for (const auto& s : samples) {
        const PaletteButtonInfo info = paletteButton(buttonNumbered(s.number));
        EXPECT_EQ(info.toolTip, s.tip) << s.number;
        EXPECT_EQ(info.picture, s.picture) << s.number;
    }
    EXPECT_EQ(numberOf(buttonFor(Terrain::HeroGate1)), 29);
    EXPECT_EQ(numberOf(buttonFor(Owner::Player)), 39);
}
