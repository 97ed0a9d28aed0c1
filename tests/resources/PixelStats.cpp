#include "PixelStats.h"

#include <QPainter>

#include <algorithm>

namespace pixelstats {

QColor at(const QImage& image, QPointF fraction)
{
    const int x = std::clamp(static_cast<int>(fraction.x() * image.width()), 0, image.width() - 1);
    const int y =
        std::clamp(static_cast<int>(fraction.y() * image.height()), 0, image.height() - 1);
    return image.pixelColor(x, y);
}

double share(const QImage& image, const std::function<bool(const QColor&)>& test)
{
    qint64 hits = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            hits += test(image.pixelColor(x, y)) ? 1 : 0;
    }
    return double(hits) / (qint64(image.width()) * image.height());
}

bool every(const QImage& image, const std::function<bool(const QColor&)>& test)
{
    return share(image, test) == 1.0;
}

Mean mean(const QImage& image)
{
    Mean sum{0, 0, 0};
    double n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() == 0)
                continue;
            sum = {sum.r + c.red(), sum.g + c.green(), sum.b + c.blue()};
            n += 1;
        }
    }
    if (n == 0)
        return sum;
    return {sum.r / n, sum.g / n, sum.b / n};
}

bool hasTransparentRow(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        bool clear = true;
        for (int x = 0; x < image.width() && clear; ++x)
            clear = qAlpha(image.pixel(x, y)) == 0;
        if (clear)
            return true;
    }
    return false;
}

QImage composed(const QImage& owner, const QImage& terrain, int side)
{
    QImage cell = owner.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                      .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&cell);
    painter.drawImage(0, 0,
                      terrain.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    painter.end();
    return cell;
}

} // namespace pixelstats
