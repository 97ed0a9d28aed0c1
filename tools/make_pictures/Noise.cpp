#include "tools/make_pictures/Noise.h"

#include "tools/make_pictures/Prng.h"

#include <algorithm>
#include <cmath>

namespace noise {
namespace {

int wrap(int i, int period)
{
    const int r = i % period;
    return r < 0 ? r + period : r;
}

std::uint64_t latticeHash(int x, int y, int period, std::uint64_t seed)
{
    const auto wx = static_cast<std::uint64_t>(wrap(x, period));
    const auto wy = static_cast<std::uint64_t>(wrap(y, period));
    return Prng::mix(seed ^ Prng::mix((wx << 32) | wy));
}

double latticeValue(int x, int y, int period, std::uint64_t seed)
{
    return static_cast<double>(latticeHash(x, y, period, seed) >> 11) * 0x1.0p-53;
}

double smooth(double t)
{
    return t * t * t * (t * (t * 6 - 15) + 10);
}

} // namespace

double value(double u, double v, int period, std::uint64_t seed)
{
    const double x = u * period;
    const double y = v * period;
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const double fx = smooth(x - x0);
    const double fy = smooth(y - y0);
    const double a = latticeValue(x0, y0, period, seed);
    const double b = latticeValue(x0 + 1, y0, period, seed);
    const double c = latticeValue(x0, y0 + 1, period, seed);
    const double d = latticeValue(x0 + 1, y0 + 1, period, seed);
    const double top = a + (b - a) * fx;
    const double bottom = c + (d - c) * fx;
    return top + (bottom - top) * fy;
}

double fractal(double u, double v, int period, int octaves, std::uint64_t seed)
{
    double sum = 0;
    double weight = 1;
    double total = 0;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += weight * value(u, v, period << octave, seed + static_cast<std::uint64_t>(octave));
        total += weight;
        weight *= 0.5;
    }
    return sum / total;
}

CellDistances cellular(double u, double v, int period, std::uint64_t seed)
{
    const double x = u * period;
    const double y = v * period;
    const int cx = static_cast<int>(std::floor(x));
    const int cy = static_cast<int>(std::floor(y));
    CellDistances result{1e9, 1e9};
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const std::uint64_t h = latticeHash(cx + dx, cy + dy, period, seed);
            const double px = cx + dx + 0.15 + 0.7 * static_cast<double>(h & 0xFFFF) / 65536.0;
            const double py =
                cy + dy + 0.15 + 0.7 * static_cast<double>((h >> 16) & 0xFFFF) / 65536.0;
            const double distance = std::hypot(px - x, py - y);
            if (distance < result.nearest) {
                result.second = result.nearest;
                result.nearest = distance;
            } else {
                result.second = std::min(result.second, distance);
            }
        }
    }
    return result;
}

} // namespace noise
