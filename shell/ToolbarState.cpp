#include "ToolbarState.h"

#include <cassert>

using namespace palette;

ToolbarState::ToolbarState() = default;

bool ToolbarState::pressed(int button) const
{
    assert(button >= 1 && button <= ButtonCount);
    return pressed_[button];
}

bool ToolbarState::enabled(int button) const
{
    assert(button >= 1 && button <= ButtonCount);
    return enabled_[button];
}

int ToolbarState::runFirst(int button)
{
    while (button > 1 && isRadio(button - 1))
        --button;
    return button;
}

int ToolbarState::runLast(int button)
{
    while (button < ButtonCount && isRadio(button + 1))
        ++button;
    return button;
}

void ToolbarState::setPressed(int button, bool pressed)
{
    assert(button >= 1 && button <= ButtonCount);
    if (isSeparator(button))
        return;
    if (pressed && isRadio(button)) {
        for (int other = runFirst(button); other <= runLast(button); ++other) {
            if (other != button && pressed_[other]) {
                pressed_[other] = false;
                notify(other);
            }
        }
    }
    if (pressed_[button] != pressed) {
        pressed_[button] = pressed;
        notify(button);
    }
}

void ToolbarState::setEnabled(int button, bool enabled)
{
    assert(button >= 1 && button <= ButtonCount);
    if (enabled_[button] != enabled) {
        enabled_[button] = enabled;
        notify(button);
    }
}

bool ToolbarState::click(int button)
{
    if (button < 1 || button > ButtonCount || isSeparator(button) || !enabled_[button])
        return false;
    if (isRadio(button))
        setPressed(button, true);
    else
        setPressed(button, false); // a push button is up again after its click
    return true;
}

void ToolbarState::notify(int button)
{
    if (changed)
        changed(button);
}
