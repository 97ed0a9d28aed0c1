#include "tools/make_pictures/PictureSet.h"

#include "tools/make_pictures/GlyphPictures.h"
#include "tools/make_pictures/TexturePictures.h"

#include <QColor>
#include <QStringList>

namespace pictures {
namespace {

// Lettering of the room pictures 2 to 16, "Portal" to "Mana".
QString roomText(int n)
{
    static const QStringList texts = {
        QStringLiteral("PR"),   QStringLiteral("$"),  QStringLiteral("LAIR"), QStringLiteral("HA"),
        QStringLiteral("LIB"),  QStringLiteral("TR"), QStringLiteral("WO"),   QStringLiteral("PIT"),
        QStringLiteral("PRIS"), QStringLiteral("TO"), QStringLiteral("GR"),   QStringLiteral("GY"),
        QStringLiteral("TMP"),  QStringLiteral("CA"), QStringLiteral("MA")};
    return texts.at(n - 2);
}

// Pictures 1 to 18 and their toolbar forms 43 to 60.
QImage blackGlyph(int terrain, int side, bool small)
{
    if (terrain == 1)
        return glyphs::heart(side, small);
    if (terrain == 17)
        return glyphs::woodBridge(side, small);
    if (terrain == 18)
        return glyphs::stoneBridge(side, small);
    return glyphs::roomLettering(roomText(terrain), side, small);
}

QImage ownerColour(const QColor& colour)
{
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

} // namespace

QImage draw(int n)
{
    if (n >= 1 && n <= 16)
        return blackGlyph(n, 200, false);
    if (n == 17 || n == 18)
        return blackGlyph(n, 150, false);
    if (n >= 19 && n <= 27)
        return textures::texture(n, 152, false);
    if (n >= 28 && n <= 33)
        return glyphs::heroGate(QStringLiteral("HG"), QString::number(n - 27), 200);
    if (n == 34)
        return glyphs::heroGate(QStringLiteral("HR"), QString(), 200);
    if (n == 35)
        return glyphs::yellowCheckerboard(150, 6);
    switch (n) {
    case 36:
        return ownerColour(QColor(255, 255, 255));
    case 37:
        return ownerColour(QColor(192, 192, 192));
    case 38:
        return ownerColour(QColor(255, 0, 0));
    case 39:
        return ownerColour(QColor(0, 0, 255));
    case 40:
        return ownerColour(QColor(0, 255, 0));
    case 41:
        return ownerColour(QColor(255, 255, 0));
    case 42:
        return ownerColour(QColor(255, 0, 255));
    default:
        break;
    }
    if (n >= 43 && n <= 60)
        return blackGlyph(n - 42, 32, true);
    if (n >= 61 && n <= 69)
        return textures::texture(n - 42, 32, true);
    if (n == 70)
        return glyphs::plus(32);
    if (n == 71)
        return glyphs::minus(32);
    if (n == 72)
        return glyphs::gridCheckerboard(32, 4);
    return {};
}

} // namespace pictures
