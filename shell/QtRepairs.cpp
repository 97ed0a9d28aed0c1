#include "shell/QtRepairs.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWindow>

namespace {

// With a screen reader listening, Qt hands each key to the accessibility
// registry and handles it only once the answer comes back, while an access
// key such as Alt+F opens its menu at once. The Alt press that began
// Alt+F then reaches the menu that is already open, and a menu closes on
// Alt: the next letter went to the menu bar. That late press is dropped;
// Alt pressed later in an open menu still closes it.
class LateAltKeys : public QObject
{
  public:
    using QObject::QObject;

    bool eventFilter(QObject* to, QEvent* event) override
    {
        auto* menu = qobject_cast<QMenu*>(to);
        if (!menu)
            return false;
        switch (event->type()) {
        case QEvent::Show:
            if (QGuiApplication::keyboardModifiers() & Qt::AltModifier)
                openedWithAlt_ = menu;
            break;
        case QEvent::Hide:
            if (menu == openedWithAlt_)
                openedWithAlt_ = nullptr;
            break;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            // Handed back keys come as posted, not spontaneous, events.
            if (menu == openedWithAlt_ && !event->spontaneous() &&
                static_cast<QKeyEvent*>(event)->key() == Qt::Key_Alt) {
                openedWithAlt_ = nullptr;
                return event->type() == QEvent::KeyPress;
            }
            break;
        default:
            break;
        }
        return false;
    }

  private:
    QPointer<QMenu> openedWithAlt_;
};

// While a popup is open (a menu, the file name completer of the Open
// dialog), Qt ignores the system's word that another window has the
// keyboard, and does not look again when the popup closes. With keys
// handed back late, the Open dialog can close under its completer's list:
// the main window then had the keyboard without knowing it, and no key
// reached the map. When the last popup has gone, the window the system
// gave the keyboard to is made the active one, if it is not.
class ActivationAfterPopups : public QObject
{
  public:
    using QObject::QObject;

    bool eventFilter(QObject* to, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && to->isWidgetType() &&
            static_cast<QWidget*>(to)->windowType() == Qt::Popup)
            QTimer::singleShot(0, this, &ActivationAfterPopups::activateFocusWindow);
        return false;
    }

  private:
    static void activateFocusWindow()
    {
        const QWindow* focus = QGuiApplication::focusWindow();
        const QWidget* active = QApplication::activeWindow();
        if (!focus || QApplication::activePopupWidget() ||
            (active && active->windowHandle() == focus))
            return;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->windowHandle() == focus)
                QApplication::setActiveWindow(window);
        }
    }
};

} // namespace

void installQtRepairs(QObject* owner)
{
    qApp->installEventFilter(new LateAltKeys(owner));
    qApp->installEventFilter(new ActivationAfterPopups(owner));
}
