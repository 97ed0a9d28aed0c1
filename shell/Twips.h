#pragma once

#include <QRect>
#include <QSize>

// Layouts are given in twips, 1/1440 inch: 15 twips are one pixel at 96 dpi.
// Qt's logical pixels are 96-dpi pixels scaled by the screen's device pixel
// ratio, so a twip value maps to logical pixels by the same division.
inline constexpr int TwipsPerPixel = 15;

constexpr int twipsToPixels(int twips)
{
    return (twips + (twips >= 0 ? TwipsPerPixel / 2 : -TwipsPerPixel / 2)) / TwipsPerPixel;
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

inline QSize twipsSize(int width, int height)
{
    return {twipsToPixels(width), twipsToPixels(height)};
}
