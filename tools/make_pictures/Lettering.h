#pragma once

#include <QFont>
#include <QPainterPath>
#include <QRectF>
#include <QString>

// Lettering for the pictures, always from fonts that Debian installs, loaded
// from their files so that no other font on the machine can slip in:
// Liberation Sans Bold and Liberation Sans Narrow Bold (fonts-liberation),
// with DejaVu Sans Bold and DejaVu Sans Condensed Bold (fonts-dejavu-core)
// standing in where Liberation is missing.
namespace lettering {

// False, with the reason in `error`, when none of the font files loads.
bool loadFonts(QString* error);

QFont bold();
QFont narrowBold();

// The outline of `text` scaled to fill `box` and centred in it. Letters may be
// drawn up to `maxStretch` times taller than the font draws them, which lets
// short words fill a square without turning into thin strokes.
QPainterPath fitted(const QString& text, const QFont& font, const QRectF& box,
                    double maxStretch = 1.6);

} // namespace lettering
