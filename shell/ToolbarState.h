#pragma once

#include "PaletteButtons.h"

#include <array>
#include <functional>

// Pressed and enabled state of the palette's 47 buttons, addressed by number.
//
// Radio buttons form runs of adjacent radio buttons between separators
// (1-27, 29-35, 37-43). Pressing one, by a click or by program, releases the
// pressed one of its run; clicking the pressed one keeps it pressed. Push
// buttons are up again after every click, but stay pressed when the program
// presses them, until their next click.
//
// Qt's exclusive QActionGroup behaves the same way for the radio runs
// (pressing by program releases the other, releasing by program is allowed,
// a click on the pressed one keeps it). The state is kept here all the same,
// in plain C++, so that the palette's rules and the map window work on button
// numbers without widgets and can be tested without them; the toolbar widget
// only mirrors it.
class ToolbarState
{
  public:
    ToolbarState();

    bool pressed(int button) const;
    bool enabled(int button) const;

    void setPressed(int button, bool pressed);
    void setEnabled(int button, bool enabled);

    // A user's click on a button. Returns false, changing nothing, for a
    // separator or a disabled button; otherwise updates the pressed states
    // as the toolbar does and returns true: the click is then reported.
    bool click(int button);

    // First and last button of the radio run that holds button.
    static int runFirst(int button);
    static int runLast(int button);

    // Called with a button's number whenever its pressed or enabled state changes.
    std::function<void(int button)> changed;

  private:
    void notify(int button);

    std::array<bool, palette::ButtonCount + 1> pressed_{};
    std::array<bool, palette::ButtonCount + 1> enabled_{};
};
