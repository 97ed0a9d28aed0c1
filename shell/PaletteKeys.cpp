#include "shell/PaletteKeys.h"

#include "shell/PaletteModel.h"
#include "shell/PaletteToolBar.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QToolButton>

namespace delvard {

PaletteKeys::PaletteKeys(PaletteToolBar& bar, const PaletteModel& model)
    : QObject(&bar), bar_(bar), model_(model)
{
    for (int number = 1; number <= PaletteButtonCount; ++number) {
        if (QToolButton* button = bar_.buttonWidget(buttonNumbered(number))) {
            button->setFocusPolicy(Qt::NoFocus);
            button->installEventFilter(this);
        }
    }
    followModel();
}

bool PaletteKeys::paletteHasFocus() const
{
    const QWidget* focused = bar_.focusWidget();
    return focused && focused->hasFocus() && bar_.isAncestorOf(focused);
}

void PaletteKeys::followModel()
{
    if (paletteHasFocus())
        return;
    const PaletteButton pressedTerrain = buttonFor(model_.terrain());
    setTabStop(model_.isEnabled(pressedTerrain) ? pressedTerrain : firstEnabled(+1));
}

void PaletteKeys::setTabStop(PaletteButton button)
{
    if (QToolButton* old = bar_.buttonWidget(tabStop_))
        old->setFocusPolicy(Qt::NoFocus);
    tabStop_ = button;
    // Tab only: a click on a button leaves the focus where it was.
    if (QToolButton* stop = bar_.buttonWidget(tabStop_))
        stop->setFocusPolicy(Qt::TabFocus);
}

void PaletteKeys::focusButton(PaletteButton button)
{
    setTabStop(button);
    QToolButton* widget = bar_.buttonWidget(button);
    if (!widget)
        return;
    widget->setFocus(Qt::TabFocusReason);
}

bool PaletteKeys::reachable(PaletteButton button) const
{
    // A button the window is too narrow for waits in the toolbar's
    // extension menu, where only the pointer reaches it.
    const QToolButton* widget = bar_.buttonWidget(button);
    return widget && model_.isEnabled(button) && (widget->isVisible() || !bar_.isVisible());
}

PaletteButton PaletteKeys::nextEnabled(PaletteButton from, int direction) const
{
    for (int number = numberOf(from) + direction; number >= 1 && number <= PaletteButtonCount;
         number += direction) {
        const PaletteButton button = buttonNumbered(number);
        if (reachable(button))
            return button;
    }
    return from;
}

PaletteButton PaletteKeys::firstEnabled(int direction) const
{
    const PaletteButton edge =
        direction > 0 ? buttonNumbered(1) : buttonNumbered(PaletteButtonCount);
    if (reachable(edge))
        return edge;
    return nextEnabled(edge, direction);
}

void PaletteKeys::beforeDisabling(PaletteButton button)
{
    QToolButton* widget = bar_.buttonWidget(button);
    if (!widget || !widget->hasFocus())
        return;
    PaletteButton to = nextEnabled(button, +1);
    if (to == button)
        to = nextEnabled(button, -1);
    if (to != button)
        focusButton(to);
}

bool PaletteKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        // Left by Tab or a click elsewhere: the next Tab comes back to the
        // pressed terrain. Not when a menu opens or the window is left: the
        // focus returns to the same button then.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        const QWidget* now = QApplication::focusWidget();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
            !(now && bar_.isAncestorOf(now)))
            followModel();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto* button = static_cast<QToolButton*>(watched);
    PaletteButton at = tabStop_;
    for (int number = 1; number <= PaletteButtonCount; ++number)
        if (bar_.buttonWidget(buttonNumbered(number)) == button)
            at = buttonNumbered(number);

    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~Qt::KeypadModifier)
        return false;
    switch (key->key()) {
    case Qt::Key_Left:
        focusButton(nextEnabled(at, -1));
        return true;
    case Qt::Key_Right:
        focusButton(nextEnabled(at, +1));
        return true;
    case Qt::Key_Home:
        focusButton(firstEnabled(+1));
        return true;
    case Qt::Key_End:
        focusButton(firstEnabled(-1));
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        button->click();
        return true;
    default:
        return false; // Space is the button's own
    }
}

} // namespace delvard
