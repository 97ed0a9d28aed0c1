#include "PaletteModel.h"

using delvard::Terrain;

namespace {

// Every button of a run of radio buttons, first to last.
template <typename Visit> void forEachInRun(PaletteButton button, Visit visit)
{
    const ButtonGroup group = paletteButton(button).group;
    // The terrain run holds two groups: those with any owner and the neutral ones.
    auto sameRun = [group](ButtonGroup other) {
        const bool terrain = group == ButtonGroup::Terrain || group == ButtonGroup::NeutralTerrain;
        return terrain ? other == ButtonGroup::Terrain || other == ButtonGroup::NeutralTerrain
                       : other == group;
    };
    for (int b = 1; b <= PaletteButtonCount; ++b)
        if (sameRun(paletteButton(buttonNumbered(b)).group))
            visit(buttonNumbered(b));
}

bool isRadio(ButtonGroup group)
{
    return group != ButtonGroup::View && group != ButtonGroup::Separator;
}

} // namespace

PaletteModel::PaletteModel(QObject* parent) : QObject(parent) {}

void PaletteModel::setPressed(PaletteButton button, bool pressed)
{
    const ButtonGroup group = paletteButton(button).group;
    if (group == ButtonGroup::Separator)
        return;
    if (pressed && isRadio(group)) {
        forEachInRun(button, [&](PaletteButton other) {
            if (other != button && pressed_[index(other)]) {
                pressed_[index(other)] = false;
                emit buttonChanged(other);
            }
        });
    }
    if (pressed_[index(button)] != pressed) {
        pressed_[index(button)] = pressed;
        emit buttonChanged(button);
    }
}

void PaletteModel::setEnabled(PaletteButton button, bool enabled)
{
    if (enabled_[index(button)] != enabled) {
        enabled_[index(button)] = enabled;
        emit buttonChanged(button);
    }
}

void PaletteModel::setTerrain(Terrain terrain)
{
    terrain_ = terrain;
    emit toolsChanged();
}

void PaletteModel::enterWorkingState()
{
    for (int b = 1; b <= PaletteButtonCount; ++b) {
        const PaletteButtonInfo info = paletteButton(buttonNumbered(b));
        if (info.group != ButtonGroup::NeutralTerrain && buttonNumbered(b) != PaletteButton::ZoomIn)
            setEnabled(buttonNumbered(b), true);
    }
    setPressed(PaletteButton::Heart, true);
    setPressed(PaletteButton::Hero, true);
    setPressed(PaletteButton::Grid, true);
}

void PaletteModel::setZoomAvailable(bool zoomIn, bool zoomOut)
{
    setEnabled(PaletteButton::ZoomIn, zoomIn);
    setEnabled(PaletteButton::ZoomOut, zoomOut);
}

// The buttons of a group only while the owner button is pressed; a pressed
// one that becomes unavailable hands the terrain choice back to the Heart.
void PaletteModel::limitToOwner(PaletteButton ownerButton, ButtonGroup group)
{
    const bool available = isPressed(ownerButton);
    for (int b = 1; b <= PaletteButtonCount; ++b) {
        const PaletteButton button = buttonNumbered(b);
        if (paletteButton(button).group != group)
            continue;
        setEnabled(button, available);
        if (!available && isPressed(button)) {
            setTerrain(Terrain::Heart);
            setPressed(PaletteButton::Heart, true);
            setPressed(button, false);
        }
    }
}

void PaletteModel::click(PaletteButton button)
{
    const PaletteButtonInfo info = paletteButton(button);
    if (info.group == ButtonGroup::Separator || !isEnabled(button))
        return;
    // As a toolbar does: a radio button is pressed, a push button up again.
    setPressed(button, isRadio(info.group));

    // One terrain at most is pressed across the terrain and hero runs.
    if (info.group == ButtonGroup::Terrain || info.group == ButtonGroup::NeutralTerrain)
        forEachInRun(PaletteButton::HeroGate1, [&](PaletteButton b) { setPressed(b, false); });
    if (info.group == ButtonGroup::HeroTerrain)
        forEachInRun(PaletteButton::Heart, [&](PaletteButton b) { setPressed(b, false); });

    limitToOwner(PaletteButton::Hero, ButtonGroup::HeroTerrain);
    limitToOwner(PaletteButton::Neutral, ButtonGroup::NeutralTerrain);

    if (info.terrain)
        setTerrain(*info.terrain);
    if (info.owner) {
        owner_ = *info.owner;
        emit toolsChanged();
    }
    if (button == PaletteButton::ZoomIn)
        emit zoomInRequested();
    if (button == PaletteButton::ZoomOut)
        emit zoomOutRequested();
    if (button == PaletteButton::Grid) {
        // Shown pressed exactly while the grid is on: the click that turns
        // it off has already put the button up.
        gridShown_ = !gridShown_;
        if (gridShown_)
            setPressed(PaletteButton::Grid, true);
        emit gridShownChanged(gridShown_);
        emit toolsChanged();
    }
}
