#include "tools/make_samples/SampleMaps.h"

#include "tools/make_samples/MapBuilder.h"

#include <array>
#include <cmath>

namespace {

using delvard::Owner;
using delvard::Terrain;

// The terrain `steps` places after `first` in the editor's order.
Terrain terrainAfter(Terrain first, int steps)
{
    return static_cast<Terrain>(static_cast<int>(first) + steps);
}

MapBuilder small10x8()
{
    MapBuilder map(10, 8, Terrain::Dirt, Owner::Neutral);
    map.ring(Terrain::Rock, Owner::Neutral);
    map.fillRect(2, 2, 4, 5, Terrain::ClaimedDirt, Owner::Player);
    map.fillRect(3, 3, 2, 3, Terrain::Treasury, Owner::Player);
    map.set(2, 6, Terrain::OwnedRock, Owner::Player);
    map.set(5, 6, Terrain::OwnedRock, Owner::Player);
    map.fillRect(5, 7, 3, 3, Terrain::Water, Owner::Neutral);
    map.set(2, 9, Terrain::Gold, Owner::Neutral);
    map.fillRect(6, 2, 2, 2, Terrain::Lair, Owner::Keeper1);
    map.set(7, 4, Terrain::ClaimedDirt, Owner::Keeper1);
    return map;
}

// Claimed floor inside, rock around: a click on the centre places a Heart
// block that fills the whole inside.
MapBuilder heart7x7()
{
    MapBuilder map(7, 7, Terrain::ClaimedDirt, Owner::Player);
    map.ring(Terrain::Rock, Owner::Neutral);
    return map;
}

MapBuilder trailing12x9()
{
    MapBuilder map(12, 9, Terrain::Dirt, Owner::Neutral);
    map.ring(Terrain::Rock, Owner::Neutral);
    map.fillRect(2, 2, 3, 4, Terrain::ClaimedDirt, Owner::Keeper2);
    map.fillRect(2, 2, 2, 2, Terrain::Library, Owner::Keeper2);
    map.set(2, 4, Terrain::Hatchery, Owner::Keeper2);
    map.fillRect(5, 2, 1, 10, Terrain::Lava, Owner::Neutral);
    map.set(5, 4, Terrain::StoneBridge, Owner::Keeper2);
    map.fillRect(6, 8, 3, 4, Terrain::SolidRock, Owner::Neutral);
    map.set(3, 10, Terrain::Gems, Owner::Neutral);
    map.set(7, 3, Terrain::Checkerboard, Owner::Neutral);
    return map;
}

// A keeper's base: claimed floor walled with owned rock (a door in each
// wall), the Heart in the middle and rooms around it, each base with its
// own choice and order of rooms.
void drawBase(MapBuilder& map, int centreRow, int centreColumn, Owner owner)
{
    map.fillRect(centreRow - 16, centreColumn - 16, 33, 33, Terrain::OwnedRock, owner);
    map.fillRect(centreRow - 15, centreColumn - 15, 31, 31, Terrain::ClaimedDirt, owner);
    for (int d = -1; d <= 1; ++d) {
        map.set(centreRow - 16, centreColumn + d, Terrain::ClaimedDirt, owner);
        map.set(centreRow + 16, centreColumn + d, Terrain::ClaimedDirt, owner);
        map.set(centreRow + d, centreColumn - 16, Terrain::ClaimedDirt, owner);
        map.set(centreRow + d, centreColumn + 16, Terrain::ClaimedDirt, owner);
    }
    map.fillRect(centreRow - 2, centreColumn - 2, 5, 5, Terrain::Heart, owner);

    constexpr std::array<int, 5> offsets{-12, -6, 0, 6, 12};
    int slot = 0;
    for (const int dr : offsets) {
        for (const int dc : offsets) {
            if (dr == 0 && dc == 0)
                continue;
            ++slot;
            // Fifteen room kinds in 24 slots: some slots stay open floor.
            const int kind = (slot * 5 + static_cast<int>(owner) * 3) % 24;
            if (kind >= 15)
                continue;
            const int size = 3 + (slot + static_cast<int>(owner)) % 3;
            map.fillRect(centreRow + dr - size / 2, centreColumn + dc - size / 2, size, size,
                         terrainAfter(Terrain::Portal, kind), owner);
        }
    }
}

// The heroes' keep: every hero gate and the hero rest, on hero floor.
void drawHeroKeep(MapBuilder& map, int top, int left)
{
    map.fillRect(top, left, 13, 25, Terrain::OwnedRock, Owner::Hero);
    map.fillRect(top + 1, left + 1, 11, 23, Terrain::ClaimedDirt, Owner::Hero);
    map.fillRect(top + 12, left + 11, 1, 3, Terrain::ClaimedDirt, Owner::Hero);
    for (int gate = 0; gate < 6; ++gate)
        map.fillRect(top + 2, left + 2 + gate * 4, 2, 2, terrainAfter(Terrain::HeroGate1, gate),
                     Owner::Hero);
    map.fillRect(top + 6, left + 9, 4, 7, Terrain::HeroRest, Owner::Hero);
    map.fillRect(top + 6, left + 3, 3, 3, Terrain::GuardRoom, Owner::Hero);
    map.fillRect(top + 6, left + 19, 3, 3, Terrain::Temple, Owner::Hero);
}

// A river that winds across the map from left to right.
void drawRiver(MapBuilder& map, int row, int amplitude, double period, Terrain terrain)
{
    for (int c = 2; c < map.width(); ++c) {
        const int centre =
            row + static_cast<int>(std::lround(amplitude * std::sin(c * 6.283185307 / period)));
        map.fillRect(centre - 1, c, 3, 1, terrain, Owner::Neutral);
    }
}

// A bridge across whatever lies in column `column` from `top` for `rows`.
void drawBridge(MapBuilder& map, int top, int column, int rows, Terrain terrain, Owner owner)
{
    map.fillRect(top, column, rows, 2, terrain, owner);
}

MapBuilder large255x255()
{
    MapBuilder map(255, 255, Terrain::Dirt, Owner::Neutral);

    // Rock masses and solid rock, then the veins that run through them.
    map.fillEllipse(128, 40, 20, 14, Terrain::Rock, Owner::Neutral);
    map.fillEllipse(128, 216, 20, 14, Terrain::Rock, Owner::Neutral);
    map.fillEllipse(88, 128, 10, 24, Terrain::SolidRock, Owner::Neutral);
    map.fillEllipse(200, 100, 9, 18, Terrain::SolidRock, Owner::Neutral);
    map.fillEllipse(200, 160, 9, 18, Terrain::Rock, Owner::Neutral);
    for (int i = 0; i < 30; ++i) {
        map.set(112 + i, 30 + i / 2, Terrain::Gold, Owner::Neutral);
        map.set(112 + i, 226 - i / 2, Terrain::Gold, Owner::Neutral);
        map.set(82 + i / 5, 110 + i, Terrain::Gold, Owner::Neutral);
    }
    for (int i = 0; i < 6; ++i) {
        map.fillRect(124 + (i % 2) * 6, 36 + i, 2, 2, Terrain::Gems, Owner::Neutral);
        map.fillRect(124 + (i % 2) * 6, 212 + i, 2, 2, Terrain::Gems, Owner::Neutral);
    }
    map.fillRect(197, 96, 3, 3, Terrain::Gems, Owner::Neutral);

    // Water in the west and east, lava across the north and south.
    map.fillEllipse(128, 84, 14, 10, Terrain::Water, Owner::Neutral);
    map.fillEllipse(128, 172, 14, 10, Terrain::Water, Owner::Neutral);
    drawRiver(map, 68, 4, 60.0, Terrain::Lava);
    drawRiver(map, 186, 5, 45.0, Terrain::Lava);

    drawBase(map, 40, 40, Owner::Keeper1);
    drawBase(map, 40, 216, Owner::Keeper2);
    drawBase(map, 216, 40, Owner::Keeper3);
    drawBase(map, 216, 216, Owner::Keeper4);
    drawBase(map, 128, 128, Owner::Player);
    drawHeroKeep(map, 20, 116);

    // Bridges over the lava rivers and through the lakes.
    drawBridge(map, 60, 40, 18, Terrain::StoneBridge, Owner::Keeper1);
    drawBridge(map, 60, 216, 18, Terrain::StoneBridge, Owner::Keeper2);
    drawBridge(map, 176, 40, 20, Terrain::StoneBridge, Owner::Keeper3);
    drawBridge(map, 176, 216, 20, Terrain::StoneBridge, Owner::Keeper4);
    drawBridge(map, 60, 128, 18, Terrain::StoneBridge, Owner::Hero);
    map.fillRect(127, 72, 2, 24, Terrain::WoodBridge, Owner::Player);
    map.fillRect(127, 160, 2, 24, Terrain::WoodBridge, Owner::Player);

    // An odd patch of the terrain that no palette button makes.
    map.fillRect(236, 124, 4, 8, Terrain::Checkerboard, Owner::Neutral);

    map.outlineRect(2, 2, 253, 253, Terrain::Rock, Owner::Neutral);
    map.ring(Terrain::Rock, Owner::Neutral);
    return map;
}

} // namespace

std::vector<SampleMap> sampleMaps()
{
    // Never a multiple of 4, so no tool can mistake it for a record.
    const std::string trailing = "\x7F"
                                 "END OF SAMPLE\n";
    return {
        {"small-10x8Map.kld", small10x8().fileBytes()},
        {"heart-7x7Map.kld", heart7x7().fileBytes()},
        {"large-255x255Map.kld", large255x255().fileBytes()},
        {"trailing-12x9Map.kld", trailing12x9().fileBytes(trailing)},
    };
}
