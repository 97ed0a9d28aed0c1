#pragma once

#include <QAccessible>
#include <QRect>
#include <QWidget>
#include <gtest/gtest.h>
#include <initializer_list>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QRect& r, std::ostream* out)
{
    *out << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}

// The control of a window with the given object name; fails the test when
// it is missing or of another kind.
template <typename Widget> Widget* control(const QWidget* window, const char* objectName)
{
    auto* found = window->findChild<Widget*>(QLatin1String(objectName));
    EXPECT_NE(found, nullptr) << "no control " << objectName;
    return found;
}

// What a screen reader says for the widget.
inline QString accessibleName(QWidget* widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

// One control of a window's fixed layout, in pixels within its parent; an
// empty size stands for a label sized to its text.
struct PlacedControl
{
    const char* objectName;
    QString accessibleName;
    QRect geometry;
};

inline void expectLayout(const QWidget* window, std::initializer_list<PlacedControl> controls)
{
    for (const PlacedControl& expected : controls) {
        SCOPED_TRACE(expected.objectName);
        auto* widget = control<QWidget>(window, expected.objectName);
        ASSERT_NE(widget, nullptr);
        const QSize size =
            expected.geometry.isEmpty() ? widget->sizeHint() : expected.geometry.size();
        EXPECT_EQ(widget->geometry(), QRect(expected.geometry.topLeft(), size));
        EXPECT_EQ(accessibleName(widget), expected.accessibleName);
    }
}
