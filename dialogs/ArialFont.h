#pragma once

#include <QFont>

namespace delvard {

// The About box is laid out for Arial. Machines without it (most Linux
// systems) get a metric-compatible face, so the labels keep the sizes the
// layout was drawn for.
QFont arialFont(qreal pointSize, bool bold);

} // namespace delvard
