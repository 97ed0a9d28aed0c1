#include "dialogs/ArialFont.h"

#include <QStringList>

namespace delvard {

namespace {

// Liberation Sans and Arimo share Arial's advance widths; Helvetica is the
// classic look-alike on systems that have neither.
const QStringList& arialFamilies()
{
    static const QStringList families{QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                                      QStringLiteral("Arimo"), QStringLiteral("Helvetica")};
    return families;
}

void registerSubstitutes()
{
    static const bool registered = [] {
        QFont::insertSubstitutions(arialFamilies().first(), arialFamilies().mid(1));
        return true;
    }();
    Q_UNUSED(registered);
}

} // namespace

QFont arialFont(qreal pointSize, bool bold)
{
    registerSubstitutes();
    QFont font;
    font.setFamilies(arialFamilies());
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace delvard
