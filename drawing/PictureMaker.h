#pragma once

#include "document/MapFormat.h"
#include "document/Outcome.h"
#include "drawing/CellColours.h"
#include "drawing/MapRenderer.h"
#include "png/PngWriter.h"

#include <QString>

#include <optional>

namespace delvard {

class PictureList;

// How render draws: at a cell size, or fitted into a square.
struct PictureOptions
{
    int cellSize = 24;
    std::optional<int> fit; // --fit N: the whole map within N x N pixels
    bool grid = false;
    // Another thread decodes and scales the map's cell pictures while the
    // first bands are drawn; not worth it where every core draws a map of
    // its own.
    bool decodeAhead = true;
};

// Writes the picture of the map that the renderer draws as a PNG, one band
// (one row of cells, as high as a cell and as wide as the picture) at a
// time: a whole 255 x 255 map at 72 px would take 1.3 GB as one image, band
// by band it takes a few megabytes. When the picture could not be written,
// the problem is the PNG writer's reason, or empty where the sink failed,
// which knows its own.
Outcome writeMapPng(MapRenderer& renderer, const delvard::MapData& map, PngWriter::Sink sink);

// Draws maps as PNG pictures with the options given, one after another; its
// tile cache serves every map it draws. One per thread.
class PictureMaker
{
  public:
    PictureMaker(const PictureList& pictures, PictureOptions options);

    Outcome write(const delvard::MapData& map, PngWriter::Sink sink);

  private:
    const PictureList& pictures_;
    PictureOptions options_;
    MapRenderer renderer_;
    CellColours colours_;
};

} // namespace delvard
