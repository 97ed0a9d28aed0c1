#pragma once

#include "document/CodeTables.h"
#include "shell/PaletteButton.h"

#include <QObject>

#include <array>

namespace delvard {

// The palette's state and rules: which of the 47 buttons are pressed and
// enabled, the terrain and the owner a click on a cell paints with, and
// whether the grid is shown.
//
// Buttons of a run between separators (the terrains 1-27, the hero gates
// 29-35, the owners 37-43) behave as radio buttons: pressing one, by a click
// or by program, releases the pressed one of its run, and clicking the
// pressed one keeps it. The view buttons 45-47 are push buttons: up again
// after every click, though the program may show one pressed (the grid
// button, while the grid is on). The owner decides which terrains can be
// chosen: the hero gates and the hero rest only with "Hero", "Sold Rock" to
// "Gems" only with "Neutral"; a change of owner that rules out the pressed
// terrain falls back to the Heart.
class PaletteModel : public QObject
{
    Q_OBJECT

  public:
    explicit PaletteModel(QObject* parent = nullptr);

    bool isPressed(PaletteButton button) const { return pressed_[index(button)]; }
    bool isEnabled(PaletteButton button) const { return enabled_[index(button)]; }
    delvard::Terrain terrain() const { return terrain_; }
    delvard::Owner owner() const { return owner_; }
    bool gridShown() const { return gridShown_; }

    // A person's click on a button. A separator or a disabled button does
    // nothing; otherwise the button's own pressed state changes as a
    // toolbar's does, then the palette's rules run.
    void click(PaletteButton button);

    // A map is shown: the buttons it needs are enabled, and "Heart", "Hero"
    // and "Grid On/Off" pressed, matching the tools' start values. "Zoom
    // in" stays off: a map opens at the largest cell size.
    void enterWorkingState();

    // The map view's zoom limits, for the two zoom buttons.
    void setZoomAvailable(bool zoomIn, bool zoomOut);

  signals:
    void buttonChanged(PaletteButton button);
    void toolsChanged(); // terrain, owner or grid
    void zoomInRequested();
    void zoomOutRequested();
    void gridShownChanged(bool shown);

  private:
    static std::size_t index(PaletteButton button) { return numberOf(button); }
    void setPressed(PaletteButton button, bool pressed);
    void setEnabled(PaletteButton button, bool enabled);
    void limitTerrainsToOwner();
    void setTerrain(delvard::Terrain terrain);

    std::array<bool, PaletteButtonCount + 1> pressed_{};
    std::array<bool, PaletteButtonCount + 1> enabled_{};
    delvard::Terrain terrain_ = delvard::Terrain::Heart;
    delvard::Owner owner_ = delvard::Owner::Hero;
    bool gridShown_ = true;
};

} // namespace delvard
