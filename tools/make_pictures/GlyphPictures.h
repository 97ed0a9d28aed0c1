#pragma once

#include <QImage>
#include <QString>

// The black-on-transparent pictures (heart, room lettering, bridges, view
// buttons), the hero gates, the checkerboard, the program icon and the
// map file's icon.
// `small` draws the 32 x 32 toolbar form: fewer, heavier strokes that still
// read when the toolbar shows them at 16 x 16.
namespace glyphs {

QImage heart(int side, bool small);
QImage roomLettering(const QString& text, int side, bool small);
QImage woodBridge(int side, bool small);
QImage stoneBridge(int side, bool small);

QImage heroGate(const QString& letters, const QString& digit, int side);

QImage yellowCheckerboard(int side, int squares);
QImage gridCheckerboard(int side, int squares);
QImage plus(int side);
QImage minus(int side);

QImage programIcon(int side);
// The file manager's icon for a map file: a sheet with a small map on it.
QImage mapFileIcon(int side);

} // namespace glyphs
