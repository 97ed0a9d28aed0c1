#pragma once

#include <QImage>

namespace delvard {

// How one cell looks: the owner picture fills the square, the terrain
// picture lies over it (its transparent parts let the owner's colour
// through), and with the grid a thin border runs along the inside of the
// square. A null picture stands for a code that no table knew.
namespace cellart {

// Both pictures already scaled to sidePx; sidePx and gridPx (0: no grid)
// in device pixels. The cell is opaque, so drawing it is a plain copy.
QImage composeCell(const QImage& terrainPicture, const QImage& ownerPicture, int gridPx,
                   int sidePx);

// Thickness of the grid line in device pixels: one logical pixel.
int gridLineWidth(double devicePixelRatio);

} // namespace cellart

} // namespace delvard
