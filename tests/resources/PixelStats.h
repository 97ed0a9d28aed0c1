#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>

#include <functional>

// Small measurements over a picture's pixels, in straight (not
// premultiplied) colour.
namespace pixelstats {

QColor at(const QImage& image, QPointF fraction);

// Share of pixels (0..1) for which `test` holds.
double share(const QImage& image, const std::function<bool(const QColor&)>& test);

bool every(const QImage& image, const std::function<bool(const QColor&)>& test);

struct Mean
{
    double r, g, b;
};
// Mean colour of the pixels that are not fully transparent.
Mean mean(const QImage& image);

// True when some pixel row is transparent from edge to edge.
bool hasTransparentRow(const QImage& image);

// The picture as the map window draws it: `owner` stretched to side x side,
// `terrain` stretched over it, both by area averaging.
QImage composed(const QImage& owner, const QImage& terrain, int side);

} // namespace pixelstats
