#pragma once

#include <QImage>

// The 72 pictures of the picture list, numbered from 1, each drawn at the
// size the list stores it.
namespace pictures {

inline constexpr int Count = 72;

QImage draw(int n);

} // namespace pictures
