#pragma once

#include "shell/PaletteButton.h"

#include <QToolBar>

#include <array>

class QToolButton;

namespace delvard {

class PaletteKeys;
class PaletteModel;
class PictureList;

// The palette along the top of the main window: 47 numbered buttons
// (separators counted), 24 x 22 pixels around a 16 x 16 picture, each with
// its tool tip as its accessible name. It shows the model's pressed and
// enabled states and hands a person's clicks and keys to the model.
class PaletteToolBar : public QToolBar
{
    Q_OBJECT

  public:
    PaletteToolBar(PaletteModel& model, const PictureList& pictures, QWidget* parent = nullptr);

    // The action of a button; separators have one too.
    QAction* action(PaletteButton button) const;
    // The tool button that shows a button other than a separator.
    QToolButton* buttonWidget(PaletteButton button) const;
    const PaletteKeys& keys() const { return *keys_; }

  private:
    void showState(PaletteButton button);

    PaletteModel& model_;
    std::array<QAction*, PaletteButtonCount + 1> actions_{};
    PaletteKeys* keys_ = nullptr;
};

} // namespace delvard
