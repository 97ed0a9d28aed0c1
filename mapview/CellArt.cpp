#include "CellArt.h"

#include "ImageList.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace cellart {

namespace {

// A map shows each of its 42 cell pictures in many terrain and owner
// combinations; smooth scaling a 200-pixel picture is the costly part of a
// cell, so each picture is scaled once per size and reused. Per thread, so
// a renderer may draw on several threads without locking.
class ScaledPictures
{
  public:
    const QImage& get(const ImageList& images, int picture, int sidePx)
    {
        const quint64 key = (static_cast<quint64>(sidePx) << 32) | static_cast<quint32>(picture);
        if (const auto found = scaled_.constFind(key); found != scaled_.constEnd())
            return *found;
        // Seven zoom levels at one or two device pixel ratios stay well inside this.
        if (scaled_.size() > MaxEntries)
            scaled_.clear();
        const QImage& source = images.image(picture);
        QImage result = source.isNull() ? QImage()
                                        : source.scaled(sidePx, sidePx, Qt::IgnoreAspectRatio,
                                                        Qt::SmoothTransformation);
        return *scaled_.insert(key, std::move(result));
    }

  private:
    static constexpr qsizetype MaxEntries = 42 * 16;
    QHash<quint64, QImage> scaled_;
};

ScaledPictures& scaledPictures()
{
    thread_local ScaledPictures pictures;
    return pictures;
}

const QColor UnknownBackground(64, 64, 64);
const QColor UnknownMark(255, 0, 255);

// Dark grey with a magenta question mark: a code that no table knew, so the
// user sees that this cell does not show what the file holds. Drawn as a
// path rather than text so that renderers without fonts draw it the same.
void drawUnknown(QPainter& painter, int sidePx)
{
    painter.fillRect(0, 0, sidePx, sidePx, UnknownBackground);
    const qreal s = sidePx;
    QPainterPath hook;
    hook.moveTo(0.32 * s, 0.36 * s);
    hook.arcTo(QRectF(0.32 * s, 0.18 * s, 0.36 * s, 0.32 * s), 180.0, -240.0);
    hook.quadTo(0.5 * s, 0.52 * s, 0.5 * s, 0.62 * s);
    QPen pen(UnknownMark, std::max(1.0, 0.09 * s), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(hook);
    painter.setPen(Qt::NoPen);
    painter.setBrush(UnknownMark);
    const qreal dot = std::max(1.0, 0.1 * s);
    painter.drawEllipse(QRectF(0.5 * s - dot / 2, 0.76 * s - dot / 2, dot, dot));
}

} // namespace

QImage composeCell(const ImageList& images, int terrainPicture, int ownerPicture, int gridPx,
                   int sidePx)
{
    // Opaque, so that a cell is a plain copy onto the screen, with no blending.
    QImage cell(sidePx, sidePx, QImage::Format_RGB32);
    cell.fill(Qt::black);
    if (sidePx <= 0)
        return cell;

    QPainter painter(&cell);
    painter.setRenderHint(QPainter::Antialiasing);
    auto& pictures = scaledPictures();

    if (ownerPicture == 0)
        painter.fillRect(0, 0, sidePx, sidePx, UnknownBackground);
    else
        painter.drawImage(0, 0, pictures.get(images, ownerPicture, sidePx));

    if (terrainPicture == 0)
        drawUnknown(painter, sidePx);
    else
        painter.drawImage(0, 0, pictures.get(images, terrainPicture, sidePx));

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
