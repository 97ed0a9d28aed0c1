#pragma once

#include "document/MapFormat.h"

#include <QImage>
#include <QSize>

// The picture `render --fit N` makes: the whole map, margin included, as
// large as fits in N x N pixels. Cells of SmallestPictureCell pixels and
// more are drawn with their pictures, as render draws them; smaller ones
// cannot carry a picture and are drawn as squares of their average colour;
// and below a pixel a cell, the picture of one pixel a cell is averaged
// down, each pixel the mean of the area it covers.
namespace delvard {

class CellColours;

inline constexpr int MinFit = 16;
inline constexpr int MaxFit = 4096;
inline constexpr int SmallestPictureCell = 4;

struct FitPlan
{
    QSize picture;    // in pixels, within N x N, its larger side above N / 2
    int cellSize = 0; // a cell's side in pixels; 0 when a cell gets less than one
};

FitPlan planFit(const delvard::MapData& map, int fit);

// The picture of the plan when its cells are smaller than
// SmallestPictureCell, RGB32.
QImage drawWithoutPictures(const delvard::MapData& map, const FitPlan& plan,
                           const CellColours& colours);

// `source` averaged down to `size` (no larger in either direction): each
// pixel the mean of the part of the source it covers, pixels it covers
// only in part weighted by how much. RGB32.
QImage areaAveraged(const QImage& source, QSize size);

} // namespace delvard
