#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

namespace delvard {

// Creates a control at its place in a window's fixed layout. The object name
// lets code and tests find it; the accessible name is what a screen reader
// says for it: its visible text, or a short description when it has none.
template <typename Widget>
Widget* addControl(QWidget* parent, const QRect& geometry, const char* objectName,
                   const QString& accessibleName)
{
    auto* control = new Widget(parent);
    control->setObjectName(QLatin1String(objectName));
    control->setAccessibleName(accessibleName);
    control->setGeometry(geometry);
    return control;
}

} // namespace delvard
