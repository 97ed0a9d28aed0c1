#pragma once

#include <QPixmap>
#include <array>

class ImageList;

// The composed cells of the map window at one cell size: owner picture,
// terrain picture and, with the grid, the border, flattened into one opaque
// pixmap per combination, so that painting a cell is a single copy. Built
// lazily: a zoom step costs only the combinations that come into view.
class TileCache
{
  public:
    explicit TileCache(const ImageList& images);

    // Cell side in logical pixels and the screen's device pixel ratio; a
    // change drops every tile.
    void setScale(int sideLogicalPx, qreal devicePixelRatio);

    // terrainPicture 0..35, ownerPicture 0 or 36..42 (0: a code no table knew).
    const QPixmap& tile(int terrainPicture, int ownerPicture, bool border);

    // Tiles composed since the last scale change.
    int builtCount() const { return built_; }

  private:
    static constexpr int TerrainSlots = 36; // pictures 0..35
    static constexpr int OwnerSlots = 8;    // 0 and owner pictures 36..42
    static int slotOf(int terrainPicture, int ownerPicture, bool border);

    const ImageList& images_;
    int side_ = 0;
    qreal devicePixelRatio_ = 1.0;
    int built_ = 0;
    std::array<QPixmap, TerrainSlots * OwnerSlots * 2> tiles_;
};
