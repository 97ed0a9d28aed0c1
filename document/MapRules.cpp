#include "document/MapRules.h"

namespace delvard {

std::optional<Owner> onlyOwnerOf(Terrain terrain)
{
    if (terrain >= Terrain::HeroGate1 && terrain <= Terrain::HeroRest)
        return Owner::Hero;
    if (terrain >= Terrain::SolidRock && terrain <= Terrain::Gems)
        return Owner::Neutral;
    return std::nullopt;
}

bool ownerAllows(Owner owner, Terrain terrain)
{
    const std::optional<Owner> only = onlyOwnerOf(terrain);
    return !only || *only == owner;
}

bool isOnRing(int width, int height, CellPosition cell)
{
    return cell.row == 1 || cell.column == 1 || cell.row == height || cell.column == width;
}

int pictureOf(Terrain terrain)
{
    return static_cast<int>(terrain);
}

int pictureOf(Owner owner)
{
    return owner == Owner::None ? 0 : FirstOwnerPicture - 1 + static_cast<int>(owner);
}

} // namespace delvard
