#include "drawing/CellArt.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace delvard {

namespace cellart {

namespace {

constexpr QRgb UnknownBackground = qRgb(64, 64, 64);
constexpr QRgb UnknownMark = qRgb(255, 0, 255);

// Dark grey with a magenta question mark: a code that no table knew, so the
// user sees that this cell does not show what the file holds. Drawn as a
// path rather than text so that every renderer draws it the same, fonts or not.
void drawUnknown(QPainter& painter, int sidePx)
{
    painter.fillRect(0, 0, sidePx, sidePx, QColor(UnknownBackground));
    const qreal s = sidePx;
    QPainterPath hook;
    hook.moveTo(0.32 * s, 0.36 * s);
    hook.arcTo(QRectF(0.32 * s, 0.18 * s, 0.36 * s, 0.32 * s), 180.0, -240.0);
    hook.quadTo(0.5 * s, 0.52 * s, 0.5 * s, 0.62 * s);
    QPen pen(QColor(UnknownMark), std::max(1.0, 0.09 * s), Qt::SolidLine, Qt::RoundCap,
             Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(hook);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(UnknownMark));
    const qreal dot = std::max(1.0, 0.1 * s);
    painter.drawEllipse(QRectF(0.5 * s - dot / 2, 0.76 * s - dot / 2, dot, dot));
}

} // namespace

QImage composeCell(const QImage& terrainPicture, const QImage& ownerPicture, int gridPx, int sidePx)
{
    QImage cell(std::max(sidePx, 0), std::max(sidePx, 0), QImage::Format_RGB32);
    cell.fill(Qt::black);
    if (sidePx <= 0)
        return cell;

    QPainter painter(&cell);
    painter.setRenderHint(QPainter::Antialiasing);
    if (ownerPicture.isNull())
        painter.fillRect(0, 0, sidePx, sidePx, QColor(UnknownBackground));
    else
        painter.drawImage(0, 0, ownerPicture);
    if (terrainPicture.isNull())
        drawUnknown(painter, sidePx);
    else
        painter.drawImage(0, 0, terrainPicture);

    if (gridPx > 0) {
        const int g = std::min(gridPx, sidePx);
        painter.fillRect(0, 0, sidePx, g, Qt::black);
        painter.fillRect(0, sidePx - g, sidePx, g, Qt::black);
        painter.fillRect(0, 0, g, sidePx, Qt::black);
        painter.fillRect(sidePx - g, 0, g, sidePx, Qt::black);
    }
    return cell;
}

int gridLineWidth(double devicePixelRatio)
{
    return std::max(1, static_cast<int>(std::lround(devicePixelRatio)));
}

} // namespace cellart

} // namespace delvard
