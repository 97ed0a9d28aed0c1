#pragma once

#include <QImage>

class ImageList;

// How one cell is drawn, shared by the map window and headless renderers:
// the owner picture fills the square, the terrain picture is drawn over it
// (its transparent parts let the owner colour through), and with the grid
// a one-pixel border is drawn along the inside of the square.
namespace cellart {

// terrainPicture 1..35 and ownerPicture 36..42; 0 for either draws the look
// of a code that no table knew. sidePx and gridPx (0 = no grid) are in
// device pixels.
QImage composeCell(const ImageList& images, int terrainPicture, int ownerPicture, int gridPx,
                   int sidePx);

// Thickness of the grid line in device pixels: one logical pixel.
int gridLineWidth(double devicePixelRatio);

} // namespace cellart
