#include "PaletteClicks.h"

#include "Module1.h"
#include "ToolbarState.h"
#include "ViewCommands.h"

using namespace palette;

namespace {

constexpr int FirstTerrainButton = 1;
constexpr int LastTerrainButton = 27;
constexpr int FirstNeutralOnlyButton = 21;
constexpr int FirstHeroGateButton = 29;
constexpr int LastHeroGateButton = 35;
constexpr int FirstOwnerButton = 37;
constexpr int LastOwnerButton = 43;

bool between(int b, int first, int last)
{
    return b >= first && b <= last;
}

void releaseRange(ToolbarState& toolbar, int first, int last)
{
    for (int i = first; i <= last; ++i)
        toolbar.setPressed(i, false);
}

// Makes buttons first..last available only while the owner button is
// pressed; a pressed button that becomes unavailable hands the terrain
// choice back to the Heart.
void limitToOwner(ToolbarState& toolbar, int ownerButton, int first, int last)
{
    if (toolbar.pressed(ownerButton)) {
        for (int i = first; i <= last; ++i)
            toolbar.setEnabled(i, true);
        return;
    }
    for (int i = first; i <= last; ++i) {
        toolbar.setEnabled(i, false);
        if (toolbar.pressed(i)) {
            Module1::CurrentTerrain = 1;
            toolbar.setPressed(HeartButton, true);
            toolbar.setPressed(i, false);
        }
    }
}

} // namespace

void Toolbar1_ButtonClick(int b, ToolbarState& toolbar, ViewCommands* map)
{
    // 1. At most one of the 34 terrain buttons is pressed across both runs.
    if (between(b, FirstTerrainButton, LastTerrainButton))
        releaseRange(toolbar, FirstHeroGateButton, LastHeroGateButton);
    if (between(b, FirstHeroGateButton, LastHeroGateButton))
        releaseRange(toolbar, FirstTerrainButton, LastTerrainButton);

    // 2. Hero gates and the hero rest only with the owner "Hero".
    limitToOwner(toolbar, HeroButton, FirstHeroGateButton, LastHeroGateButton);
    // 3. The natural terrains only with the owner "Neutral".
    limitToOwner(toolbar, NeutralButton, FirstNeutralOnlyButton, LastTerrainButton);

    // 4.-6. The value the button selects.
    if (between(b, FirstTerrainButton, LastTerrainButton))
        Module1::CurrentTerrain = b;
    if (between(b, FirstHeroGateButton, LastHeroGateButton))
        Module1::CurrentTerrain = b - 1;
    if (between(b, FirstOwnerButton, LastOwnerButton))
        Module1::CurrentOwner = b - 36;

    // 7.-8. View buttons.
    if (b == ZoomInButton && map)
        map->ZoomIn();
    if (b == ZoomOutButton && map)
        map->ZoomOut();
    // The view buttons are enabled only once a map window exists.
    if (b == GridButton) {
        if (Module1::GridShown) {
            if (map)
                map->GridOff();
            Module1::GridShown = false;
        } else {
            toolbar.setPressed(GridButton, true);
            if (map)
                map->GridOn();
            Module1::GridShown = true;
        }
    }
}
