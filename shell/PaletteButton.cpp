#include "shell/PaletteButton.h"

#include "document/MapRules.h"

namespace delvard {

namespace {

constexpr int FirstHeroTerrainButton = 29;
constexpr int FirstOwnerButton = 37;
constexpr int FirstTerrainPicture = 43; // the small picture of button 1
constexpr int ZoomInPicture = 70;       // then zoom out and the grid

} // namespace

PaletteButtonInfo paletteButton(PaletteButton button)
{
    const int b = numberOf(button);
    if (button == PaletteButton::TerrainSeparator || button == PaletteButton::HeroSeparator ||
        button == PaletteButton::OwnerSeparator)
        return {ButtonGroup::Separator, 0, {}, {}, {}};
    if (b < FirstHeroTerrainButton) {
        const auto terrain = static_cast<Terrain>(b);
        return {delvard::onlyOwnerOf(terrain) ? ButtonGroup::NeutralTerrain : ButtonGroup::Terrain,
                FirstTerrainPicture - 1 + b,
                terrain,
                {},
                delvard::terrainName(terrain)};
    }
    if (b < FirstOwnerButton) {
        // The hero gates and the hero rest are terrains 28 to 34 and use
        // their cell pictures.
        const auto terrain = static_cast<Terrain>(b - 1);
        return {ButtonGroup::HeroTerrain,
                delvard::pictureOf(terrain),
                terrain,
                {},
                delvard::terrainName(terrain)};
    }
    if (b < numberOf(PaletteButton::OwnerSeparator)) {
        const auto owner = static_cast<Owner>(b - (FirstOwnerButton - 1));
        return {
            ButtonGroup::Owner, delvard::pictureOf(owner), {}, owner, delvard::ownerName(owner)};
    }
    static constexpr std::string_view viewTips[] = {"Zoom in", "Zoom out", "Grid On/Off"};
    const int view = b - numberOf(PaletteButton::ZoomIn);
    return {ButtonGroup::View, ZoomInPicture + view, {}, {}, viewTips[view]};
}

PaletteButton buttonFor(Terrain terrain)
{
    const int t = static_cast<int>(terrain);
    return buttonNumbered(t < FirstHeroTerrainButton - 1 ? t : t + 1);
}

PaletteButton buttonFor(Owner owner)
{
    return buttonNumbered(FirstOwnerButton - 1 + static_cast<int>(owner));
}

} // namespace delvard
