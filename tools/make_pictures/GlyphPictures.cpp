#include "tools/make_pictures/GlyphPictures.h"

#include "tools/make_pictures/Lettering.h"
#include "tools/make_pictures/Prng.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace glyphs {
namespace {

QImage blank(int side, const QColor& fill = Qt::transparent)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

void fillPath(QImage& image, const QPainterPath& path, const QColor& colour, double embolden = 0)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (embolden > 0)
        painter.setPen(QPen(colour, embolden, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    else
        painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(path);
}

// Punches fully transparent shapes into what has been drawn.
void clearPath(QImage& image, const QPainterPath& path)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPath(path);
}

} // namespace

QImage heart(int side, bool small)
{
    const double m = small ? 0.02 : 0.06; // margin
    const double s = side * (1 - 2 * m);
    const auto p = [&](double x, double y) { return QPointF(side * m + x * s, side * m + y * s); };
    QPainterPath path;
    path.moveTo(p(0.5, 0.96));
    path.cubicTo(p(0.30, 0.78), p(0.0, 0.56), p(0.0, 0.30));
    path.cubicTo(p(0.0, 0.10), p(0.14, 0.02), p(0.27, 0.02));
    path.cubicTo(p(0.40, 0.02), p(0.47, 0.10), p(0.5, 0.19));
    path.cubicTo(p(0.53, 0.10), p(0.60, 0.02), p(0.73, 0.02));
    path.cubicTo(p(0.86, 0.02), p(1.0, 0.10), p(1.0, 0.30));
    path.cubicTo(p(1.0, 0.56), p(0.70, 0.78), p(0.5, 0.96));
    QImage image = blank(side);
    fillPath(image, path, Qt::black);
    return image;
}

QImage roomLettering(const QString& text, int side, bool small)
{
    // Four letters only fit a square in the narrow face; one to three keep
    // the wider one, which reads better when the cell is small.
    const QFont font = text.size() >= 4 ? lettering::narrowBold() : lettering::bold();
    const double margin = small ? 1.5 : side * 0.05;
    const QRectF box(margin, margin, side - 2 * margin, side - 2 * margin);
    // The toolbar's 16 x 16 leaves four pixels a letter: taller letters keep
    // their counters open there.
    const double stretch = (text.size() >= 3 ? 2.2 : 1.7) * (small ? 1.25 : 1.0);
    QImage image = blank(side);
    fillPath(image, lettering::fitted(text, font, box, stretch), Qt::black, small ? 0.8 : 0);
    return image;
}

QImage woodBridge(int side, bool small)
{
    // Planks laid across the bridge; the gaps between them, the butt joints
    // and the nail holes let the owner's colour through.
    const int planks = small ? 3 : 4;
    const double pitch = double(side) / planks;
    const double gap = small ? 3.5 : pitch * 0.3;
    QImage image = blank(side);
    QPainterPath boards;
    QPainterPath cuts;
    Prng random(17);
    for (int i = 0; i < planks; ++i) {
        const double top = i * pitch + gap / 2;
        const double height = pitch - gap;
        boards.addRect(QRectF(0, top, side, height));
        if (small)
            continue;
        const double joint = side * random.uniform(0.25, 0.75);
        cuts.addRect(QRectF(joint - 2, top, 4, height));
        for (const double x : {joint - 8.0, joint + 8.0, 6.0, side - 6.0}) {
            cuts.addEllipse(QPointF(x, top + height * 0.3), 2.5, 2.5);
            cuts.addEllipse(QPointF(x, top + height * 0.7), 2.5, 2.5);
        }
    }
    fillPath(image, boards, Qt::black);
    clearPath(image, cuts);
    return image;
}

QImage stoneBridge(int side, bool small)
{
    // Brick courses in running bond; the mortar lines are transparent.
    // The mortar is wide enough to stay open at the smallest cell size.
    const int courses = small ? 3 : 5;
    const int bricksPerCourse = small ? 2 : 3;
    const double courseHeight = double(side) / courses;
    const double brickWidth = double(side) / bricksPerCourse;
    const double mortar = small ? 3.0 : 7.0;
    QPainterPath bricks;
    for (int c = 0; c < courses; ++c) {
        const double offset = (c % 2) * brickWidth / 2;
        for (int b = -1; b <= bricksPerCourse; ++b) {
            const double left = offset + b * brickWidth + mortar / 2;
            bricks.addRect(QRectF(left, c * courseHeight + mortar / 2, brickWidth - mortar,
                                  courseHeight - mortar));
        }
    }
    QImage image = blank(side);
    QPainter painter(&image);
    painter.setClipRect(0, 0, side, side);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPath(bricks);
    return image;
}

QImage heroGate(const QString& letters, const QString& digit, int side)
{
    QImage image = blank(side, Qt::white);
    const QFont font = lettering::bold();
    if (digit.isEmpty()) {
        const QRectF box(side * 0.06, side * 0.12, side * 0.88, side * 0.76);
        fillPath(image, lettering::fitted(letters, font, box, 1.4), Qt::black);
    } else {
        const QRectF top(side * 0.06, side * 0.05, side * 0.88, side * 0.47);
        const QRectF bottom(side * 0.25, side * 0.58, side * 0.5, side * 0.37);
        fillPath(image, lettering::fitted(letters, font, top, 1.2), Qt::black);
        fillPath(image, lettering::fitted(digit, font, bottom, 1.2), Qt::black);
    }
    return image;
}

QImage yellowCheckerboard(int side, int squares)
{
    QImage image = blank(side, QColor(255, 215, 0));
    QPainter painter(&image);
    const double square = double(side) / squares;
    for (int y = 0; y < squares; ++y) {
        for (int x = (y % 2); x < squares; x += 2)
            painter.fillRect(QRectF(x * square, y * square, square, square), Qt::black);
    }
    return image;
}

QImage gridCheckerboard(int side, int squares)
{
    QImage image = blank(side);
    QPainter painter(&image);
    const double square = double(side) / squares;
    for (int y = 0; y < squares; ++y) {
        for (int x = (y % 2); x < squares; x += 2)
            painter.fillRect(QRectF(x * square, y * square, square, square), Qt::black);
    }
    return image;
}

// The bar of the zoom signs, lying across the middle of the square.
static QRect signBar(int side)
{
    const int bar = side / 4;
    const int start = side / 8;
    return {start, (side - bar) / 2, side - 2 * start, bar};
}

QImage minus(int side)
{
    QImage image = blank(side);
    QPainter painter(&image);
    painter.fillRect(signBar(side), Qt::black);
    return image;
}

QImage plus(int side)
{
    // The minus sign with the same bar standing across it.
    QImage image = minus(side);
    QPainter painter(&image);
    const QRect lying = signBar(side);
    painter.fillRect(QRect(lying.y(), lying.x(), lying.height(), lying.width()), Qt::black);
    return image;
}

QImage programIcon(int side)
{
    QImage image = blank(side, Qt::black);
    const QRectF box(side * 0.06, side * 0.12, side * 0.88, side * 0.76);
    fillPath(image, lettering::fitted(QStringLiteral("DV"), lettering::bold(), box, 1.4),
             QColor(255, 0, 0));
    return image;
}

QImage mapFileIcon(int side)
{
    QImage image = blank(side);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // A sheet with its top right corner folded over, as file types are drawn.
    const double line = std::max(1.0, side / 32.0);
    const double left = side * 0.13 + line / 2;
    const double right = side * 0.87 - line / 2;
    const double top = line / 2;
    const double bottom = side - line / 2;
    const double fold = side * 0.25;
    QPainterPath sheet;
    sheet.moveTo(left, top);
    sheet.lineTo(right - fold, top);
    sheet.lineTo(right, top + fold);
    sheet.lineTo(right, bottom);
    sheet.lineTo(left, bottom);
    sheet.closeSubpath();
    const QColor outline(70, 60, 50);
    painter.setPen(QPen(outline, line, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(QColor(250, 246, 236));
    painter.drawPath(sheet);
    QPainterPath corner;
    corner.moveTo(right - fold, top);
    corner.lineTo(right - fold, top + fold);
    corner.lineTo(right, top + fold);
    corner.closeSubpath();
    painter.setBrush(QColor(214, 204, 186));
    painter.drawPath(corner);

    // A map on the sheet, as the editor draws one: cells in a black margin.
    // Whole pixels, so that the cells stay crisp at 16 x 16.
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int cells = side < 32 ? 3 : 4;
    const int margin = std::max(1, side / 32);
    const int cell = (static_cast<int>(side * 0.60) - 2 * margin) / cells;
    const int map = cells * cell + 2 * margin;
    const int mapLeft = (side - map) / 2;
    const int mapTop = side - map - std::max(2, static_cast<int>(side * 0.10));
    painter.fillRect(mapLeft, mapTop, map, map, Qt::black);
    const QColor rock(154, 72, 44), dirt(205, 190, 160), water(42, 140, 156), gold(200, 160, 40),
        player(220, 30, 30);
    const QColor small[3][3] = {{rock, dirt, water}, {dirt, player, dirt}, {rock, dirt, rock}};
    const QColor large[4][4] = {{rock, rock, dirt, water},
                                {rock, player, player, water},
                                {dirt, player, player, dirt},
                                {gold, dirt, rock, rock}};
    for (int row = 0; row < cells; ++row) {
        for (int column = 0; column < cells; ++column)
            painter.fillRect(mapLeft + margin + column * cell, mapTop + margin + row * cell, cell,
                             cell, cells == 3 ? small[row][column] : large[row][column]);
    }
    return image;
}

} // namespace glyphs
