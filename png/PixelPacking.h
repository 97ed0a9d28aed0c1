#pragma once

#include <QRgb>

namespace delvard {

// RGB32 holds a pixel as 0xffRRGGBB, in memory B, G, R, 255; a PNG row
// wants R, G, B. Packs `count` pixels into 3 x `count` bytes at `to`, with
// AVX2 where the processor has it: packing is most of the drawing thread's
// work after the drawing itself (bench/delvard-map measures both).
void packRgb(const QRgb* pixels, int count, char* to);
// The same, a pixel at a time, on any processor.
void packRgbPortably(const QRgb* pixels, int count, char* to);

} // namespace delvard
