#include "drawing/FitPicture.h"

#include "drawing/CellColours.h"

#include <algorithm>
#include <vector>

namespace delvard {

namespace {

// The picture's size in cells: the map and its margin of one cell.
QSize cellsAcross(const MapData& map)
{
    return {map.width + 2, map.height + 2};
}

// One pixel a cell, margin included, every cell its average colour. A map
// whose width or height byte is 0 shows its one cell at row 1, column 1,
// as the renderer places it.
QImage onePixelACell(const MapData& map, const CellColours& colours)
{
    QImage image(cellsAcross(map), QImage::Format_RGB32);
    image.fill(Qt::black);
    if (map.width <= 0 || map.height <= 0) {
        image.setPixel(1, 1, colours.colour(map.cells.front()));
        return image;
    }
    for (int row = 1; row <= map.height; ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        const Cell* cell = &map.at({row, 1});
        for (int column = 1; column <= map.width; ++column, ++cell)
            line[column] = colours.colour(*cell);
    }
    return image;
}

// For each pixel of the smaller side, the source pixels it covers and by
// how much, in units of 1 / to of a source pixel: source pixel i spans
// [i * to, (i + 1) * to), target pixel j spans [j * from, (j + 1) * from),
// so every target pixel's weights add up to `from`.
struct Span
{
    int first;
    std::vector<int> weights;
};

std::vector<Span> spans(int from, int to)
{
    std::vector<Span> result(static_cast<std::size_t>(to));
    for (int j = 0; j < to; ++j) {
        const long long start = static_cast<long long>(j) * from;
        const long long end = start + from;
        Span& span = result[static_cast<std::size_t>(j)];
        span.first = static_cast<int>(start / to);
        for (long long i = span.first; i * to < end; ++i) {
            const long long covered = std::min(end, (i + 1) * to) - std::max(start, i * to);
            span.weights.push_back(static_cast<int>(covered));
        }
    }
    return result;
}

// (sum + divisor / 2) / divisor, for sums that share a divisor, without a
// division for each channel of each pixel: the product with the inverse is
// within one of the quotient, and whole numbers settle which.
class RoundedDivision
{
  public:
    explicit RoundedDivision(long long divisor)
        : divisor_(divisor), inverse_(1.0 / static_cast<double>(divisor))
    {
    }

    int operator()(long long sum) const
    {
        const long long dividend = sum + divisor_ / 2;
        auto quotient = static_cast<long long>(static_cast<double>(dividend) * inverse_);
        if (quotient * divisor_ > dividend)
            --quotient;
        else if ((quotient + 1) * divisor_ <= dividend)
            ++quotient;
        return static_cast<int>(quotient);
    }

  private:
    long long divisor_;
    double inverse_;
};

} // namespace

FitPlan planFit(const MapData& map, int fit)
{
    const QSize cells = cellsAcross(map);
    const int across = std::max(cells.width(), cells.height());
    FitPlan plan;
    plan.cellSize = fit / across;
    if (plan.cellSize > 0) {
        plan.picture = cells * plan.cellSize;
    } else {
        // The larger side gets exactly `fit` pixels; the other as many as its
        // share, and at least one.
        plan.picture = QSize(std::max(1, cells.width() * fit / across),
                             std::max(1, cells.height() * fit / across));
    }
    return plan;
}

QImage drawWithoutPictures(const MapData& map, const FitPlan& plan, const CellColours& colours)
{
    const QImage cells = onePixelACell(map, colours);
    if (plan.cellSize == 0)
        return areaAveraged(cells, plan.picture);
    QImage image(plan.picture, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(cells.constScanLine(y / plan.cellSize));
        auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            to[x] = from[x / plan.cellSize];
    }
    return image;
}

QImage areaAveraged(const QImage& source, QSize size)
{
    const QImage from = source.convertToFormat(QImage::Format_RGB32);
    const std::vector<Span> columns = spans(from.width(), size.width());
    const std::vector<Span> rows = spans(from.height(), size.height());
    // Whole numbers throughout: the same picture on every machine.
    const RoundedDivision mean(static_cast<long long>(from.width()) * from.height());
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        const Span& row = rows[static_cast<std::size_t>(y)];
        auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const Span& column = columns[static_cast<std::size_t>(x)];
            long long red = 0, green = 0, blue = 0;
            for (std::size_t dy = 0; dy < row.weights.size(); ++dy) {
                const auto* line = reinterpret_cast<const QRgb*>(
                    from.constScanLine(row.first + static_cast<int>(dy)));
                for (std::size_t dx = 0; dx < column.weights.size(); ++dx) {
                    const long long weight =
                        static_cast<long long>(row.weights[dy]) * column.weights[dx];
                    const QRgb pixel = line[column.first + static_cast<int>(dx)];
                    red += weight * qRed(pixel);
                    green += weight * qGreen(pixel);
                    blue += weight * qBlue(pixel);
                }
            }
            to[x] = qRgb(mean(red), mean(green), mean(blue));
        }
    }
    return image;
}

} // namespace delvard
