#include "tools/make_pictures/ContactSheet.h"

#include "document/CodeTables.h"
#include "tools/make_pictures/Lettering.h"
#include "tools/make_pictures/PictureSet.h"

#include <QPainter>

namespace sheets {
namespace {

constexpr int Cell = 72;
constexpr int Gap = 4;
constexpr int LabelWidth = 130;
constexpr int HeaderHeight = 28;

QImage composed(const QImage& owner, const QImage& terrain, int side)
{
    // Scaled as the map window scales them: each picture on its own, by
    // area averaging, before they are laid over each other.
    QImage cell = owner.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                      .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&cell);
    painter.drawImage(0, 0,
                      terrain.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return cell;
}

QFont labelFont(int pixelSize)
{
    QFont font = lettering::bold();
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace

QImage contactSheet(const QVector<QImage>& pictures)
{
    const int columns = delvard::OwnerCount;
    const int rows = delvard::TerrainCount;
    QImage sheet(LabelWidth + columns * (Cell + Gap) + Gap, HeaderHeight + rows * (Cell + Gap),
                 QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(236, 236, 236));
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(Qt::black);
    painter.setFont(labelFont(12));
    for (int o = 1; o <= columns; ++o) {
        const QRect header(LabelWidth + (o - 1) * (Cell + Gap), 0, Cell, HeaderHeight);
        painter.drawText(header, Qt::AlignCenter,
                         QString::fromUtf8(delvard::ownerName(static_cast<delvard::Owner>(o))));
    }
    painter.setFont(labelFont(14));
    for (int t = 1; t <= rows; ++t) {
        const int top = HeaderHeight + (t - 1) * (Cell + Gap);
        painter.drawText(QRect(6, top, LabelWidth - 10, Cell), Qt::AlignVCenter | Qt::AlignLeft,
                         QStringLiteral("%1 %2").arg(t).arg(QString::fromUtf8(
                             delvard::terrainName(static_cast<delvard::Terrain>(t)))));
        for (int o = 1; o <= columns; ++o) {
            const QImage cell =
                composed(pictures.at(pictures::FirstOwnerPicture + o - 1), pictures.at(t), Cell);
            painter.drawImage(LabelWidth + (o - 1) * (Cell + Gap), top, cell);
        }
    }
    return sheet;
}

QImage smallSizesSheet(const QVector<QImage>& pictures)
{
    constexpr int Zoom = 4;
    constexpr int Columns = 9;
    constexpr int Pitch = 26;
    // Upper block: pictures 43-72 as the toolbar shows them; lower block:
    // cells 1-35 at 24 px over the neutral grey and over the player red.
    const int toolbarRows = (30 + Columns - 1) / Columns;
    const int cellRows = (35 + Columns - 1) / Columns;
    QImage small(Columns * Pitch * 2, (toolbarRows + cellRows) * Pitch + 8,
                 QImage::Format_ARGB32_Premultiplied);
    small.fill(QColor(212, 208, 200)); // the grey of a classic toolbar
    QPainter painter(&small);
    for (int i = 0; i < 30; ++i) {
        painter.drawImage(
            (i % Columns) * Pitch + 4, (i / Columns) * Pitch + 4,
            pictures.at(43 + i).scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    const int cellTop = toolbarRows * Pitch + 8;
    for (int pass = 0; pass < 2; ++pass) {
        const QImage& owner = pictures.at(pass == 0 ? 37 : 38);
        for (int t = 1; t <= 35; ++t) {
            const int x = ((t - 1) % Columns) * Pitch + pass * Columns * Pitch;
            const int y = cellTop + ((t - 1) / Columns) * Pitch;
            const QImage cell = composed(owner, pictures.at(t), 24);
            painter.drawImage(x, y, cell);
        }
    }
    painter.end();
    return small.scaled(small.size() * Zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

} // namespace sheets
