#pragma once

#include <QRect>
#include <QWidget>
#include <gtest/gtest.h>

// The control of a window with the given object name; fails the test when
// it is missing or of another kind.
template <typename Widget> Widget* control(const QWidget* window, const char* name)
{
    auto* found = window->findChild<Widget*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << "no control " << name;
    return found;
}

struct ControlGeometry
{
    const char* name;
    QRect pixels;
};

inline void PrintTo(const ControlGeometry& row, std::ostream* out)
{
    *out << row.name;
}

inline std::ostream& operator<<(std::ostream& out, const QRect& r)
{
    return out << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}
