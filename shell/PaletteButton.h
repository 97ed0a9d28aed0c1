#pragma once

#include "document/CodeTables.h"

#include <optional>
#include <string_view>

namespace delvard {

// The palette's 47 buttons by their numbers, the separators between the
// runs of buttons counted: the numbers are how the palette's rules speak of
// its buttons.
enum class PaletteButton : int {
    Heart = 1, // the terrain run, 1 to 27: Heart to Gems, in terrain order
    TerrainSeparator = 28,
    HeroGate1 = 29, // the hero run, 29 to 35: Hero Gate 1 to 6, then the hero rest
    HeroSeparator = 36,
    Hero = 37, // the owner run, 37 to 43, in owner order
    Neutral = 38,
    Player = 39,
    OwnerSeparator = 44,
    ZoomIn = 45,
    ZoomOut = 46,
    Grid = 47,
};

inline constexpr int PaletteButtonCount = 47;

enum class ButtonGroup {
    Terrain,        // buttons 1-20: with any owner
    NeutralTerrain, // buttons 21-27, "Sold Rock" to "Gems": only with the owner "Neutral"
    HeroTerrain,    // buttons 29-35, the hero gates and the hero rest: only with "Hero"
    Owner,          // buttons 37-43
    View,           // buttons 45-47, push buttons
    Separator,      // 28, 36, 44
};

struct PaletteButtonInfo
{
    ButtonGroup group;
    int picture; // in the picture list; 0 for a separator
    std::optional<delvard::Terrain> terrain;
    std::optional<delvard::Owner> owner;
    std::string_view toolTip; // empty for a separator
};

// Buttons 1..47.
PaletteButtonInfo paletteButton(PaletteButton button);

inline PaletteButton buttonNumbered(int number)
{
    return static_cast<PaletteButton>(number);
}
inline int numberOf(PaletteButton button)
{
    return static_cast<int>(button);
}

// The button that selects a terrain (1..34) or an owner.
PaletteButton buttonFor(delvard::Terrain terrain);
PaletteButton buttonFor(delvard::Owner owner);

} // namespace delvard
