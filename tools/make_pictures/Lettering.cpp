#include "Lettering.h"

#include <QFontDatabase>
#include <QStringList>
#include <QTransform>

#include <algorithm>

namespace lettering {
namespace {

QString boldFamily;
QString narrowFamily;

QString loadFirst(const QStringList& paths)
{
    for (const QString& path : paths) {
        const int id = QFontDatabase::addApplicationFont(path);
        if (id < 0)
            continue;
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (!families.isEmpty())
            return families.first();
    }
    return {};
}

QFont outlineFont(const QString& family)
{
    QFont font(family);
    font.setBold(true);
    font.setPixelSize(200);
    // Outlines, not screen glyphs: hinting would make the result depend on
    // the font engine's settings.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    return font;
}

} // namespace

bool loadFonts(QString* error)
{
    const QString dir = QStringLiteral("/usr/share/fonts/truetype/");
    boldFamily = loadFirst({dir + QStringLiteral("liberation/LiberationSans-Bold.ttf"),
                            dir + QStringLiteral("dejavu/DejaVuSans-Bold.ttf")});
    narrowFamily = loadFirst({dir + QStringLiteral("liberation/LiberationSansNarrow-Bold.ttf"),
                              dir + QStringLiteral("dejavu/DejaVuSansCondensed-Bold.ttf")});
    if (boldFamily.isEmpty() || narrowFamily.isEmpty()) {
        *error = QStringLiteral("cannot load the bold fonts from %1 "
                                "(install fonts-liberation or fonts-dejavu-core)")
                     .arg(dir);
        return false;
    }
    return true;
}

QFont bold()
{
    return outlineFont(boldFamily);
}

QFont narrowBold()
{
    return outlineFont(narrowFamily);
}

QPainterPath fitted(const QString& text, const QFont& font, const QRectF& box, double maxStretch)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF bounds = path.boundingRect();
    double sx = box.width() / bounds.width();
    double sy = box.height() / bounds.height();
    if (sy > sx * maxStretch)
        sy = sx * maxStretch;
    if (sx > sy)
        sx = sy;
    QTransform transform;
    transform.translate(box.center().x(), box.center().y());
    transform.scale(sx, sy);
    transform.translate(-bounds.center().x(), -bounds.center().y());
    return transform.map(path);
}

} // namespace lettering
