#pragma once

#include <QImage>

// The ground textures of terrains 19 to 27 ("Claimed Dirt" to "Gems").
// `small` draws the 32 x 32 toolbar form with fewer and larger features, so
// that nuggets, specks and joints survive the toolbar's 16 x 16.
namespace textures {

inline constexpr int FirstTexture = 19;
inline constexpr int LastTexture = 27;

QImage texture(int terrain, int side, bool small);

} // namespace textures
