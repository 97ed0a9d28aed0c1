#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

namespace delvard {

// The size for a top-level window's contents that keeps the whole window,
// frame and title bar included, inside the screen's available area: the
// designed size where the area allows it, less where it does not.
inline QSize fittedContentSize(QSize designed, QSize available, QMargins frame)
{
    return designed.boundedTo(available.shrunkBy(frame)).expandedTo(QSize(1, 1));
}

} // namespace delvard
