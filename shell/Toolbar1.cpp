#include "Toolbar1.h"

#include "ImageList.h"
#include "PaletteButtons.h"
#include "ToolbarState.h"

#include <QAction>
#include <QSignalBlocker>
#include <QToolButton>

namespace {

constexpr QSize ButtonSize(24, 22);
constexpr QSize PictureSize(16, 16);

} // namespace

Toolbar1::Toolbar1(ToolbarState& state, QWidget* parent)
    : QToolBar(QStringLiteral("Palette"), parent), state_(state)
{
    setObjectName(QStringLiteral("Toolbar1"));
    setMovable(false);
    setFloatable(false);
    setIconSize(PictureSize);
    setToolButtonStyle(Qt::ToolButtonIconOnly);

    const ImageList& images = ImageList::instance();
    for (int number = 1; number <= palette::ButtonCount; ++number) {
        const palette::Button& entry = palette::button(number);
        QAction* action = nullptr;
        if (palette::isSeparator(number)) {
            action = addSeparator();
        } else {
            const QString tip = QString::fromUtf8(entry.toolTip);
            action = addAction(images.icon(entry.image), tip);
            action->setToolTip(tip);
            // Checkable so that the button can be shown pressed; whether it
            // is pressed is decided by the state, not by Qt's toggling.
            action->setCheckable(true);
            connect(action, &QAction::triggered, this, [this, number] { userClicked(number); });
            if (auto* button = qobject_cast<QToolButton*>(widgetForAction(action))) {
                button->setFixedSize(ButtonSize);
                button->setAccessibleName(tip);
                button->setObjectName(QStringLiteral("Toolbar1Button%1").arg(number));
            }
        }
        action->setObjectName(QStringLiteral("Toolbar1Action%1").arg(number));
        actions_[static_cast<std::size_t>(number)] = action;
        showState(number);
    }
    state_.changed = [this](int number) { showState(number); };
}

Toolbar1::~Toolbar1()
{
    state_.changed = nullptr;
}

QAction* Toolbar1::action(int number) const
{
    return actions_.at(static_cast<std::size_t>(number));
}

QToolButton* Toolbar1::buttonWidget(int number) const
{
    return qobject_cast<QToolButton*>(widgetForAction(action(number)));
}

void Toolbar1::showState(int number)
{
    QAction* shown = action(number);
    if (!shown || palette::isSeparator(number))
        return;
    const QSignalBlocker blocker(shown);
    shown->setEnabled(state_.enabled(number));
    shown->setChecked(state_.pressed(number));
}

void Toolbar1::userClicked(int number)
{
    // Qt has already toggled the action; the state decides what is shown.
    const bool reported = state_.click(number);
    showState(number);
    if (reported)
        emit ButtonClick(number);
}
