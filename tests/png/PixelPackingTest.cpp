// Packing pixels into a PNG row: the vector path, where the processor has
// one, gives the bytes of the plain one for every row length, and writes
// nothing past the row.

#include "png/PixelPacking.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace delvard;

TEST(PixelPacking, EveryPathPacksTheSameBytesWithinTheRow)
{
    std::mt19937 random(5);
    for (const int count : {0, 1, 7, 8, 10, 11, 12, 19, 20, 64, 1001}) {
        std::vector<QRgb> pixels(static_cast<std::size_t>(count));
        for (QRgb& pixel : pixels)
            pixel = 0xff000000u | (random() & 0xffffffu);
        std::string plain(3 * pixels.size() + 32, '*');
        std::string packed = plain;
        packRgbPortably(pixels.data(), count, plain.data());
        packRgb(pixels.data(), count, packed.data());
        EXPECT_EQ(packed, plain) << count << " pixels";
        EXPECT_EQ(plain.substr(3 * pixels.size()), std::string(32, '*')) << count << " pixels";
    }
}
