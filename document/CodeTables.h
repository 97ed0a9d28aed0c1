#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// The two code tables that link the bytes of a cell record to the editor's
// terrains and owners.
namespace delvard {

// A terrain by the editor's number for it, which is also the number of its
// cell picture. The palette offers 1 to 34; 35 only comes from map files.
enum class Terrain : std::uint8_t {
    None = 0, // a cell before the first known terrain code of a file
    Heart = 1,
    Portal,
    Treasury,
    Lair,
    Hatchery,
    Library,
    Training,
    Workshop,
    CombatPit,
    Prison,
    Torture,
    GuardRoom,
    Graveyard,
    Temple,
    Casino,
    Mana,
    WoodBridge,
    StoneBridge,
    ClaimedDirt,
    OwnedRock,
    SolidRock, // named "Sold Rock" on the palette
    Rock,
    Dirt,
    Water,
    Lava,
    Gold,
    Gems,
    HeroGate1,
    HeroGate2,
    HeroGate3,
    HeroGate4,
    HeroGate5,
    HeroGate6,
    HeroRest,
    Checkerboard,
};

// An owner by its code, the record's byte 1.
enum class Owner : std::uint8_t {
    None = 0, // a cell before the first known owner code of a file
    Hero = 1,
    Neutral,
    Player,
    Keeper1,
    Keeper2,
    Keeper3,
    Keeper4,
};

inline constexpr int TerrainCount = 35;
inline constexpr int OwnerCount = 7;

struct TerrainRow
{
    Terrain terrain;
    std::string_view name; // as the palette names it
    std::uint8_t code;     // byte 0 of a cell record
};

// Row t - 1 describes terrain t.
extern const std::array<TerrainRow, TerrainCount> TerrainTable;

// The terrain of a record's byte 0, or nothing for a byte that is not a terrain code.
std::optional<Terrain> terrainOfCode(std::uint8_t code);
// The byte 0 that stands for a terrain; nothing for Terrain::None.
std::optional<std::uint8_t> codeOfTerrain(Terrain terrain);

// The owner of a record's byte 1, or nothing for a byte outside 1..7.
std::optional<Owner> ownerOfCode(std::uint8_t code);
inline std::uint8_t codeOfOwner(Owner owner)
{
    return static_cast<std::uint8_t>(owner);
}

// Palette names; terrain 35, which no button makes, is called "Checkerboard";
// None has no name.
std::string_view terrainName(Terrain terrain);
std::string_view ownerName(Owner owner);

} // namespace delvard
