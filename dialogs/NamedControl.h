#pragma once

#include <QRect>
#include <QWidget>

// Creates a control under the name the window's layout gives it; the same
// name serves as its accessible name, so tests and assistive tools find it.
template <typename Widget>
Widget* makeNamedControl(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* control = new Widget(parent);
    control->setObjectName(QLatin1String(name));
    control->setAccessibleName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
}
