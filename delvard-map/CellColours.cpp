#include "CellColours.h"

namespace delvard {

CellColours::CellColours(const PictureList& pictures) : tiles_(pictures)
{
    tiles_.setScale(SampleSide, 1.0);
}

QRgb CellColours::colour(const Cell& cell)
{
    const auto slot = static_cast<std::size_t>(cell.terrain) * (delvard::OwnerCount + 1) +
                      static_cast<std::size_t>(cell.owner);
    std::optional<QRgb>& colour = colours_[slot];
    if (!colour) {
        const QImage& tile = tiles_.tile(cell.terrain, cell.owner, false);
        std::array<long long, 3> sums{};
        for (int y = 0; y < tile.height(); ++y) {
            const auto* pixel = reinterpret_cast<const QRgb*>(tile.constScanLine(y));
            for (int x = 0; x < tile.width(); ++x) {
                sums[0] += qRed(pixel[x]);
                sums[1] += qGreen(pixel[x]);
                sums[2] += qBlue(pixel[x]);
            }
        }
        const long long count = static_cast<long long>(tile.width()) * tile.height();
        const auto mean = [count](long long sum) {
            return static_cast<int>((sum + count / 2) / count);
        };
        colour = qRgb(mean(sums[0]), mean(sums[1]), mean(sums[2]));
    }
    return *colour;
}

} // namespace delvard
