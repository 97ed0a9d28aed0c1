#pragma once

#include <QImage>

// The 72 pictures of the picture list, numbered from 1, each drawn at the
// size the list stores it.
namespace pictures {

inline constexpr int Count = 72;
// Pictures 1-35 are the cells of terrains 1-35; owner code o is drawn as
// picture 35 + o.
inline constexpr int FirstOwnerPicture = 36;

QImage draw(int n);

} // namespace pictures
