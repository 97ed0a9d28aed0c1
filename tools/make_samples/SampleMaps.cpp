#include "SampleMaps.h"

#include "MapBuilder.h"

#include <array>
#include <cmath>

namespace {

// Terrain tool indexes and owner codes by their palette names.
enum Terrain {
    Heart = 1,
    Portal,
    Treasury,
    Lair,
    Hatchery,
    Libaray,
    Training,
    WorkShop,
    CombatPit,
    Prison,
    Torture,
    GuardRoom,
    Graveyard,
    Temple,
    Casion,
    Mana,
    WoodBridge,
    StoneBridge,
    ClaimedDirt,
    OwnedRock,
    SoldRock,
    Rock,
    Dirt,
    Water,
    Lave,
    Gold,
    Gems,
    HeroGate1,
    HeroRest = 34,
    Checkerboard = 35,
};

enum Owner { Hero = 1, Neutral, Player, Keeper1, Keeper2, Keeper3, Keeper4 };

MapBuilder small10x8()
{
    MapBuilder map(10, 8, Dirt, Neutral);
    map.ring(Rock, Neutral);
    map.fillRect(2, 2, 4, 5, ClaimedDirt, Player);
    map.fillRect(3, 3, 2, 3, Treasury, Player);
    map.set(2, 6, OwnedRock, Player);
    map.set(5, 6, OwnedRock, Player);
    map.fillRect(5, 7, 3, 3, Water, Neutral);
    map.set(2, 9, Gold, Neutral);
    map.fillRect(6, 2, 2, 2, Lair, Keeper1);
    map.set(7, 4, ClaimedDirt, Keeper1);
    return map;
}

// Claimed floor inside, rock around: a click on the centre places a Heart
// block that fills the whole inside.
MapBuilder heart7x7()
{
    MapBuilder map(7, 7, ClaimedDirt, Player);
    map.ring(Rock, Neutral);
    return map;
}

MapBuilder trailing12x9()
{
    MapBuilder map(12, 9, Dirt, Neutral);
    map.ring(Rock, Neutral);
    map.fillRect(2, 2, 3, 4, ClaimedDirt, Keeper2);
    map.fillRect(2, 2, 2, 2, Libaray, Keeper2);
    map.set(2, 4, Hatchery, Keeper2);
    map.fillRect(5, 2, 1, 10, Lave, Neutral);
    map.set(5, 4, StoneBridge, Keeper2);
    map.fillRect(6, 8, 3, 4, SoldRock, Neutral);
    map.set(3, 10, Gems, Neutral);
    map.set(7, 3, Checkerboard, Neutral);
    return map;
}

// A keeper's base: claimed floor walled with owned rock (a door in each
// wall), the Heart in the middle and rooms around it, each base with its
// own choice and order of rooms.
void drawBase(MapBuilder& map, int centreRow, int centreColumn, int owner)
{
    map.fillRect(centreRow - 16, centreColumn - 16, 33, 33, OwnedRock, owner);
    map.fillRect(centreRow - 15, centreColumn - 15, 31, 31, ClaimedDirt, owner);
    for (int d = -1; d <= 1; ++d) {
        map.set(centreRow - 16, centreColumn + d, ClaimedDirt, owner);
        map.set(centreRow + 16, centreColumn + d, ClaimedDirt, owner);
        map.set(centreRow + d, centreColumn - 16, ClaimedDirt, owner);
        map.set(centreRow + d, centreColumn + 16, ClaimedDirt, owner);
    }
    map.fillRect(centreRow - 2, centreColumn - 2, 5, 5, Heart, owner);

    constexpr std::array<int, 5> offsets{-12, -6, 0, 6, 12};
    int slot = 0;
    for (const int dr : offsets) {
        for (const int dc : offsets) {
            if (dr == 0 && dc == 0)
                continue;
            ++slot;
            // Fifteen room kinds in 24 slots: some slots stay open floor.
            const int kind = (slot * 5 + owner * 3) % 24;
            if (kind >= 15)
                continue;
            const int size = 3 + (slot + owner) % 3;
            map.fillRect(centreRow + dr - size / 2, centreColumn + dc - size / 2, size, size,
                         Portal + kind, owner);
        }
    }
}

// The heroes' keep: every hero gate and the hero rest, on hero floor.
void drawHeroKeep(MapBuilder& map, int top, int left)
{
    map.fillRect(top, left, 13, 25, OwnedRock, Hero);
    map.fillRect(top + 1, left + 1, 11, 23, ClaimedDirt, Hero);
    map.fillRect(top + 12, left + 11, 1, 3, ClaimedDirt, Hero);
    for (int gate = 0; gate < 6; ++gate)
        map.fillRect(top + 2, left + 2 + gate * 4, 2, 2, HeroGate1 + gate, Hero);
    map.fillRect(top + 6, left + 9, 4, 7, HeroRest, Hero);
    map.fillRect(top + 6, left + 3, 3, 3, GuardRoom, Hero);
    map.fillRect(top + 6, left + 19, 3, 3, Temple, Hero);
}

// A river that winds across the map from left to right.
void drawRiver(MapBuilder& map, int row, int amplitude, double period, int terrain)
{
    for (int c = 2; c < map.width(); ++c) {
        const int centre =
            row + static_cast<int>(std::lround(amplitude * std::sin(c * 6.283185307 / period)));
        map.fillRect(centre - 1, c, 3, 1, terrain, Neutral);
    }
}

// A bridge across whatever lies in column `column` from `top` for `rows`.
void drawBridge(MapBuilder& map, int top, int column, int rows, int terrain, int owner)
{
    map.fillRect(top, column, rows, 2, terrain, owner);
}

MapBuilder large255x255()
{
    MapBuilder map(255, 255, Dirt, Neutral);

    // Rock masses and solid rock, then the veins that run through them.
    map.fillEllipse(128, 40, 20, 14, Rock, Neutral);
    map.fillEllipse(128, 216, 20, 14, Rock, Neutral);
    map.fillEllipse(88, 128, 10, 24, SoldRock, Neutral);
    map.fillEllipse(200, 100, 9, 18, SoldRock, Neutral);
    map.fillEllipse(200, 160, 9, 18, Rock, Neutral);
    for (int i = 0; i < 30; ++i) {
        map.set(112 + i, 30 + i / 2, Gold, Neutral);
        map.set(112 + i, 226 - i / 2, Gold, Neutral);
        map.set(82 + i / 5, 110 + i, Gold, Neutral);
    }
    for (int i = 0; i < 6; ++i) {
        map.fillRect(124 + (i % 2) * 6, 36 + i, 2, 2, Gems, Neutral);
        map.fillRect(124 + (i % 2) * 6, 212 + i, 2, 2, Gems, Neutral);
    }
    map.fillRect(197, 96, 3, 3, Gems, Neutral);

    // Water in the west and east, lava across the north and south.
    map.fillEllipse(128, 84, 14, 10, Water, Neutral);
    map.fillEllipse(128, 172, 14, 10, Water, Neutral);
    drawRiver(map, 68, 4, 60.0, Lave);
    drawRiver(map, 186, 5, 45.0, Lave);

    drawBase(map, 40, 40, Keeper1);
    drawBase(map, 40, 216, Keeper2);
    drawBase(map, 216, 40, Keeper3);
    drawBase(map, 216, 216, Keeper4);
    drawBase(map, 128, 128, Player);
    drawHeroKeep(map, 20, 116);

    // Bridges over the lava rivers and through the lakes.
    drawBridge(map, 60, 40, 18, StoneBridge, Keeper1);
    drawBridge(map, 60, 216, 18, StoneBridge, Keeper2);
    drawBridge(map, 176, 40, 20, StoneBridge, Keeper3);
    drawBridge(map, 176, 216, 20, StoneBridge, Keeper4);
    drawBridge(map, 60, 128, 18, StoneBridge, Hero);
    map.fillRect(127, 72, 2, 24, WoodBridge, Player);
    map.fillRect(127, 160, 2, 24, WoodBridge, Player);

    // An odd patch of the terrain that no palette button makes.
    map.fillRect(236, 124, 4, 8, Checkerboard, Neutral);

    map.outlineRect(2, 2, 253, 253, Rock, Neutral);
    map.ring(Rock, Neutral);
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
