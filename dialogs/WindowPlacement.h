#pragma once

class QWidget;

namespace delvard {

// Puts a top-level window in the middle of the screen it is on (or the
// primary screen).
void centreOnScreen(QWidget* window);

// Puts a top-level window in the middle of another widget's window; a
// missing or hidden widget leaves the screen's centre. The window is kept
// on the screen either way.
void centreOver(QWidget* window, const QWidget* over);

} // namespace delvard
