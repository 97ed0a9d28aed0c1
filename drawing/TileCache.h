#pragma once

#include "document/CodeTables.h"
#include "drawing/CellSlots.h"
#include "resources/PictureList.h"

#include <QImage>

#include <array>

namespace delvard {

// The cells of a map at one cell size, composed once: owner picture,
// terrain picture and, with the grid, the border, flattened into one opaque
// image per combination, so that drawing a cell is a single copy. Built
// lazily: a zoom step costs only the combinations that come into view. The
// picture list keeps the pictures scaled to each size across zoom steps:
// smooth scaling a 200-pixel picture is the costly part of a cell.
class TileCache
{
  public:
    explicit TileCache(const PictureList& pictures);

    // Cell side in logical pixels and the screen's device pixel ratio; a
    // change drops every tile.
    void setScale(int sideLogicalPx, qreal devicePixelRatio);
    int sideDevicePixels() const { return sideDevicePx_; }
    qreal devicePixelRatio() const { return devicePixelRatio_; }

    // The composed cell, RGB32, at the device pixel ratio.
    const QImage& tile(delvard::Terrain terrain, delvard::Owner owner, bool grid);

    // The pixel memory the tiles hold.
    std::size_t bytesHeld() const;

  private:
    const PictureList& pictures_;
    int sideDevicePx_ = 0;
    qreal devicePixelRatio_ = 1.0;
    std::array<QImage, CellSlots::Count * 2> tiles_; // without and with the grid
};

} // namespace delvard
