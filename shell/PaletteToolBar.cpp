#include "shell/PaletteToolBar.h"

#include "resources/PictureList.h"
#include "shell/PaletteKeys.h"
#include "shell/PaletteModel.h"

#include <QAction>
#include <QSignalBlocker>
#include <QToolButton>

namespace delvard {

namespace {

constexpr QSize ButtonSize(24, 22);
constexpr QSize PictureSize(16, 16);

} // namespace

PaletteToolBar::PaletteToolBar(PaletteModel& model, const PictureList& pictures, QWidget* parent)
    : QToolBar(QStringLiteral("Palette"), parent), model_(model)
{
    setObjectName(QStringLiteral("palette"));
    setMovable(false);
    setFloatable(false);
    setIconSize(PictureSize);
    setToolButtonStyle(Qt::ToolButtonIconOnly);

    for (int number = 1; number <= PaletteButtonCount; ++number) {
        const PaletteButton button = buttonNumbered(number);
        const PaletteButtonInfo info = paletteButton(button);
        if (info.group == ButtonGroup::Separator) {
            actions_[static_cast<std::size_t>(number)] = addSeparator();
            continue;
        }
        const QString tip = QString::fromUtf8(info.toolTip);
        QAction* action = addAction(pictures.icon(info.picture), tip);
        actions_[static_cast<std::size_t>(number)] = action;
        action->setToolTip(tip);
        // Checkable so that the button can be shown pressed; whether it is
        // pressed is the model's to decide, not Qt's toggling.
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, button] {
            model_.click(button);
            showState(button); // Qt toggled it; the model may say otherwise
        });
        QToolButton* widget = buttonWidget(button);
        widget->setFixedSize(ButtonSize);
        widget->setAccessibleName(tip);
    }
    for (int number = 1; number <= PaletteButtonCount; ++number)
        showState(buttonNumbered(number));
    keys_ = new PaletteKeys(*this, model_);
    connect(&model_, &PaletteModel::buttonChanged, this, [this](PaletteButton button) {
        showState(button);
        keys_->followModel();
    });
    // The model takes its new terrain after the buttons have changed.
    connect(&model_, &PaletteModel::toolsChanged, keys_, &PaletteKeys::followModel);
}

QAction* PaletteToolBar::action(PaletteButton button) const
{
    return actions_.at(static_cast<std::size_t>(numberOf(button)));
}

QToolButton* PaletteToolBar::buttonWidget(PaletteButton button) const
{
    return qobject_cast<QToolButton*>(widgetForAction(action(button)));
}

void PaletteToolBar::showState(PaletteButton button)
{
    QAction* shown = action(button);
    if (!shown || shown->isSeparator())
        return;
    const QSignalBlocker blocker(shown);
    if (keys_ && !model_.isEnabled(button))
        keys_->beforeDisabling(button);
    shown->setEnabled(model_.isEnabled(button));
    shown->setChecked(model_.isPressed(button));
}

} // namespace delvard
