#pragma once

#include "document/CellPlace.h"
#include "document/CodeTables.h"

#include <optional>

// The map's own rules, each written once: the palette, the painting, the
// hover outline, the renderer and delvard-map's check all ask here.
namespace delvard {

// The owner a terrain may only be painted with: Hero for the hero gates and
// the hero rest, Neutral for the natural terrains from "Sold Rock" to
// "Gems"; none for the rooms and floors, which any owner may hold.
std::optional<Owner> onlyOwnerOf(Terrain terrain);
bool ownerAllows(Owner owner, Terrain terrain);

// The outer ring (row 1, the last row, column 1, the last column) is never
// painted.
bool isOnRing(int width, int height, CellPosition cell);

// The Heart is painted as a block reaching this far from the clicked cell
// on every side (5 x 5), and only where the whole block stays inside the ring.
inline constexpr int HeartReach = 2;
inline constexpr int HeartSide = 2 * HeartReach + 1;

// Pictures of the picture list: terrain t shows picture t (1 to 35), owner
// o picture 35 + o (36 to 42).
inline constexpr int FirstOwnerPicture = TerrainCount + 1;
int pictureOf(Terrain terrain); // 0 for None: no picture
int pictureOf(Owner owner);     // 0 for None

} // namespace delvard
