#include "png/PixelPacking.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace delvard {

void packRgbPortably(const QRgb* pixels, int count, char* to)
{
    for (int x = 0; x < count; ++x, to += 3) {
        to[0] = static_cast<char>(qRed(pixels[x]));
        to[1] = static_cast<char>(qGreen(pixels[x]));
        to[2] = static_cast<char>(qBlue(pixels[x]));
    }
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
namespace {

// Eight pixels at a step: their bytes put in order within each half of the
// register, the two halves' 12 bytes then moved together, 32 bytes stored
// of which the last 8 the next step writes over.
__attribute__((target("avx2"))) void packRgbAvx2(const QRgb* pixels, int count, char* to)
{
    const __m256i order = _mm256_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1,
                                           2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    const __m256i together = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7);
    int x = 0;
    // 32 bytes are stored where 24 are packed: the step stays within the row.
    for (; count - x >= 11; x += 8, to += 24) {
        const __m256i eight = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels + x));
        const __m256i packed =
            _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(eight, order), together);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(to), packed);
    }
    packRgbPortably(pixels + x, count - x, to);
}

} // namespace

void packRgb(const QRgb* pixels, int count, char* to)
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2)
        packRgbAvx2(pixels, count, to);
    else
        packRgbPortably(pixels, count, to);
}
#else
void packRgb(const QRgb* pixels, int count, char* to)
{
    packRgbPortably(pixels, count, to);
}
#endif

} // namespace delvard
