#pragma once

#include "shell/PaletteButton.h"

#include <QObject>

class QToolButton;

namespace delvard {

class PaletteModel;
class PaletteToolBar;

// The palette by keyboard: one tab stop, on the pressed terrain's button
// while the focus is elsewhere; Left and Right (Home and End) move along
// the enabled buttons, the view buttons included, without wrapping; Space
// or Enter presses the focused button, as a click does. Buttons that do not
// fit the window's width (in the toolbar's extension menu) are passed over:
// the keys reach what is shown. A mouse click never puts the focus on the
// palette, so nothing changes for a mouse user.
class PaletteKeys : public QObject
{
    Q_OBJECT

  public:
    PaletteKeys(PaletteToolBar& bar, const PaletteModel& model);

    // The button Tab lands on.
    PaletteButton tabStop() const { return tabStop_; }
    // Called before a button is greyed: if it holds the focus, the focus
    // moves to its nearest enabled neighbour first, instead of leaving the
    // palette.
    void beforeDisabling(PaletteButton button);
    // The model changed; the tab stop follows the pressed terrain unless a
    // palette button has the focus.
    void followModel();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The enabled button `direction` steps (+1, -1) along from `from`, or
    // `from` itself when there is none that way.
    PaletteButton nextEnabled(PaletteButton from, int direction) const;
    PaletteButton firstEnabled(int direction) const;
    bool reachable(PaletteButton button) const;
    void setTabStop(PaletteButton button);
    void focusButton(PaletteButton button);
    bool paletteHasFocus() const;

    PaletteToolBar& bar_;
    const PaletteModel& model_;
    PaletteButton tabStop_ = PaletteButton::Heart;
};

} // namespace delvard
