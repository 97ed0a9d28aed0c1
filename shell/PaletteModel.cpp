#include "shell/PaletteModel.h"

#include "document/MapRules.h"

namespace delvard {

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
        if (buttonNumbered(b) != PaletteButton::ZoomIn)
            setEnabled(buttonNumbered(b), true);
    }
    setPressed(PaletteButton::Heart, true);
    setPressed(PaletteButton::Hero, true);
    setPressed(PaletteButton::Grid, true);
    limitTerrainsToOwner();
}

void PaletteModel::setZoomAvailable(bool zoomIn, bool zoomOut)
{
    setEnabled(PaletteButton::ZoomIn, zoomIn);
    setEnabled(PaletteButton::ZoomOut, zoomOut);
}

// A terrain that only one owner may hold is there only while that owner's
// button is pressed; a pressed one that becomes unavailable hands the
// terrain choice back to the Heart.
void PaletteModel::limitTerrainsToOwner()
{
    std::optional<Owner> pressedOwner;
    for (int o = 1; o <= delvard::OwnerCount; ++o) {
        if (isPressed(buttonFor(static_cast<Owner>(o))))
            pressedOwner = static_cast<Owner>(o);
    }
    for (int b = 1; b <= PaletteButtonCount; ++b) {
        const PaletteButton button = buttonNumbered(b);
        const std::optional<Terrain> terrain = paletteButton(button).terrain;
        if (!terrain || !delvard::onlyOwnerOf(*terrain))
            continue;
        const bool available = pressedOwner && delvard::ownerAllows(*pressedOwner, *terrain);
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

    limitTerrainsToOwner();

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

} // namespace delvard
