#pragma once

#include <QAccessible>
#include <QWidget>
#include <gtest/gtest.h>
#include <initializer_list>
#include <utility>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
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

// What a screen reader says for each named control of a window.
inline void expectAccessibleNames(const QWidget* window,
                                  std::initializer_list<std::pair<const char*, QString>> controls)
{
    for (const auto& [objectName, name] : controls) {
        auto* widget = control<QWidget>(window, objectName);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(accessibleName(widget), name) << objectName;
    }
}
