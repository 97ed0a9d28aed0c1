#include "tools/make_pictures/Lettering.h"

#include <QFontDatabase>
#include <QStringList>
#include <QTransform>

#include <algorithm>

namespace lettering {
namespace {

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

const QString FontFolder = QStringLiteral("/usr/share/fonts/truetype/");

// Each face is loaded from its file once, the first time it is asked for.
const QString& boldFamily()
{
    static const QString family =
        loadFirst({FontFolder + QStringLiteral("liberation/LiberationSans-Bold.ttf"),
                   FontFolder + QStringLiteral("dejavu/DejaVuSans-Bold.ttf")});
    return family;
}

const QString& narrowFamily()
{
    static const QString family =
        loadFirst({FontFolder + QStringLiteral("liberation/LiberationSansNarrow-Bold.ttf"),
                   FontFolder + QStringLiteral("dejavu/DejaVuSansCondensed-Bold.ttf")});
    return family;
}

} // namespace

bool loadFonts(QString* error)
{
    if (boldFamily().isEmpty() || narrowFamily().isEmpty()) {
        *error = QStringLiteral("cannot load the bold fonts from %1 "
                                "(install fonts-liberation or fonts-dejavu-core)")
                     .arg(FontFolder);
        return false;
    }
    return true;
}

QFont bold()
{
    return outlineFont(boldFamily());
}

QFont narrowBold()
{
    return outlineFont(narrowFamily());
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
