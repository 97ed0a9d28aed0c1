#pragma once

#include <QToolBar>
#include <array>

class QAction;
class QToolButton;
class ToolbarState;

// The palette toolbar: 47 numbered buttons (separators counted) drawn from
// the picture list. The pressed and enabled states live in a ToolbarState;
// this widget only shows them and turns clicks into reported button numbers.
class Toolbar1 : public QToolBar
{
    Q_OBJECT

  public:
    explicit Toolbar1(ToolbarState& state, QWidget* parent = nullptr);
    ~Toolbar1() override;

    // The action of button number (1..47); separators have one too.
    QAction* action(int number) const;
    // The tool button that shows a (non-separator) button.
    QToolButton* buttonWidget(int number) const;

  signals:
    // An enabled button was clicked; its pressed state is already updated.
    void ButtonClick(int number);

  private:
    void showState(int number);
    void userClicked(int number);

    ToolbarState& state_;
    std::array<QAction*, 48> actions_{};
};
