#pragma once

#include <array>
#include <string_view>

// The 47 numbered buttons of the palette toolbar, separators 28, 36 and 44
// included in the numbering.
namespace palette {

inline constexpr int ButtonCount = 47;

enum class Group {
    Terrain,        // buttons 1-20
    NeutralTerrain, // buttons 21-27, only with the owner "Neutral"
    HeroGate,       // buttons 29-35, only with the owner "Hero"
    Owner,          // buttons 37-43
    View,           // buttons 45-47, push buttons
    Separator,      // 28, 36, 44
};

struct Button
{
    int number;
    std::string_view toolTip; // empty for separators
    int image;                // picture list number, 0 for separators
    Group group;
};

const Button& button(int number); // 1..47

bool isSeparator(int number);
bool isRadio(int number); // terrain, hero-gate and owner buttons
bool isPush(int number);  // the view buttons

// Well-known buttons.
inline constexpr int HeartButton = 1;
inline constexpr int HeroButton = 37;
inline constexpr int NeutralButton = 38;
inline constexpr int ZoomInButton = 45;
inline constexpr int ZoomOutButton = 46;
inline constexpr int GridButton = 47;

} // namespace palette
