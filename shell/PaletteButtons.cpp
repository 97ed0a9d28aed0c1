#include "PaletteButtons.h"

#include <cassert>

namespace palette {

namespace {

constexpr std::array<Button, ButtonCount> Buttons{{
    {1, "Heart", 43, Group::Terrain},
    {2, "Portal", 44, Group::Terrain},
    {3, "Treasury", 45, Group::Terrain},
    {4, "Lair", 46, Group::Terrain},
    {5, "Hatchery", 47, Group::Terrain},
    {6, "Libaray", 48, Group::Terrain},
    {7, "Training", 49, Group::Terrain},
    {8, "WorkShop", 50, Group::Terrain},
    {9, "Combat Pit", 51, Group::Terrain},
    {10, "Prison", 52, Group::Terrain},
    {11, "Torture", 53, Group::Terrain},
    {12, "Guard Room", 54, Group::Terrain},
    {13, "Graveyard", 55, Group::Terrain},
    {14, "Temple", 56, Group::Terrain},
    {15, "Casion", 57, Group::Terrain},
    {16, "Mana", 58, Group::Terrain},
    {17, "Wood Bridge", 59, Group::Terrain},
    {18, "Stone Bridge", 60, Group::Terrain},
    {19, "Claimed Dirt", 61, Group::Terrain},
    {20, "Owned Rock", 62, Group::Terrain},
    {21, "Sold Rock", 63, Group::NeutralTerrain},
    {22, "Rock", 64, Group::NeutralTerrain},
    {23, "Dirt", 65, Group::NeutralTerrain},
    {24, "Water", 66, Group::NeutralTerrain},
    {25, "Lave", 67, Group::NeutralTerrain},
    {26, "Gold", 68, Group::NeutralTerrain},
    {27, "Gems", 69, Group::NeutralTerrain},
    {28, "", 0, Group::Separator},
    {29, "Hero Gate 1", 28, Group::HeroGate},
    {30, "Hero Gate 2", 29, Group::HeroGate},
    {31, "Hero Gate 3", 30, Group::HeroGate},
    {32, "Hero Gate 4", 31, Group::HeroGate},
    {33, "Hero Gate 5", 32, Group::HeroGate},
    {34, "Hero Gate 6", 33, Group::HeroGate},
    {35, "Hero rest", 34, Group::HeroGate},
    {36, "", 0, Group::Separator},
    {37, "Hero", 36, Group::Owner},
    {38, "Neutral", 37, Group::Owner},
    {39, "Player", 38, Group::Owner},
    {40, "Keeper 1", 39, Group::Owner},
    {41, "Keeper 2", 40, Group::Owner},
    {42, "Keeper 3", 41, Group::Owner},
    {43, "Keeper 4", 42, Group::Owner},
    {44, "", 0, Group::Separator},
    {45, "Zoom in", 70, Group::View},
    {46, "Zoom out", 71, Group::View},
    {47, "Grid On/Off", 72, Group::View},
}};

} // namespace

const Button& button(int number)
{
    assert(number >= 1 && number <= ButtonCount);
    return Buttons[static_cast<std::size_t>(number - 1)];
}

bool isSeparator(int number)
{
    return button(number).group == Group::Separator;
}

bool isPush(int number)
{
    return button(number).group == Group::View;
}

bool isRadio(int number)
{
    return !isSeparator(number) && !isPush(number);
}

} // namespace palette
