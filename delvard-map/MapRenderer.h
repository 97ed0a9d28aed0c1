#pragma once

#include "MapCodec.h"

#include <QHash>
#include <QImage>

struct RenderOptions
{
    static constexpr int MinCellSize = 4;
    static constexpr int MaxCellSize = 72;
    // The editor's smallest zoom: a whole 255 x 255 map is then a picture
    // 6168 pixels square, about 2.6 MB as PNG.
    static constexpr int DefaultCellSize = 24;

    int cellSize = DefaultCellSize; // pixels per cell
    bool grid = false;
};

// Draws the map one band at a time: band b is the b-th row of cells (band 0
// and the last band are the black margins), `cellSize` pixels high and the
// whole picture wide. A whole 255 x 255 map at 72 px would take 1.3 GB as one
// picture; band by band it takes a few megabytes.
class MapBands
{
  public:
    MapBands(const delvard::DecodedMap& map, const RenderOptions& options);

    int pictureWidth() const { return (map_.check.width + 2) * side_; }
    int pictureHeight() const { return bandCount() * side_; }
    int bandCount() const { return map_.check.height + 2; }

    // Band b, RGB32; bands must be asked for in order from 0.
    const QImage& band(int b);

  private:
    const QImage& tile(const delvard::DecodedCell& cell);

    const delvard::DecodedMap& map_;
    const int side_;
    const int gridPx_;
    QImage band_;
    QHash<int, QImage> tiles_;
    std::size_t nextCell_ = 0;
};

// The map as the map window shows it: a black margin one cell wide on every
// side and each cell drawn by the editor's own cell art. A map whose width
// or height byte is 0 shows its single decoded cell at row 1, column 1, as
// the editor does. This is the whole picture in memory, for callers that
// want a QImage; the render command streams MapBands instead. Returns a null
// image if the picture would be too large to allocate.
QImage renderMap(const delvard::DecodedMap& map, const RenderOptions& options);
