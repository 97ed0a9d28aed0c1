#include "document/CodeTables.h"

namespace delvard {

// The names are the palette's own, spelt as players have always seen them:
// "Libaray", "WorkShop", "Casion", "Sold Rock", "Lave" and "Hero rest" are
// deliberate and must stay as they are (the tool tips, the status bar and
// delvard-map all show them, and users search for them).
const std::array<TerrainRow, TerrainCount> TerrainTable{{
    {Terrain::Heart, "Heart", 0x0E},
    {Terrain::Portal, "Portal", 0x0C},
    {Terrain::Treasury, "Treasury", 0x0A},
    {Terrain::Lair, "Lair", 0x0B},
    {Terrain::Hatchery, "Hatchery", 0x0D},
    {Terrain::Library, "Libaray", 0x0F},
    {Terrain::Training, "Training", 0x10},
    {Terrain::Workshop, "WorkShop", 0x13},
    {Terrain::CombatPit, "Combat Pit", 0x19},
    {Terrain::Prison, "Prison", 0x14},
    {Terrain::Torture, "Torture", 0x15},
    {Terrain::GuardRoom, "Guard Room", 0x12},
    {Terrain::Graveyard, "Graveyard", 0x17},
    {Terrain::Temple, "Temple", 0x16},
    {Terrain::Casino, "Casion", 0x18},
    {Terrain::Mana, "Mana", 0x20},
    {Terrain::WoodBridge, "Wood Bridge", 0x11},
    {Terrain::StoneBridge, "Stone Bridge", 0x1A},
    {Terrain::ClaimedDirt, "Claimed Dirt", 0x08},
    {Terrain::OwnedRock, "Owned Rock", 0x09},
    {Terrain::SolidRock, "Sold Rock", 0x01},
    {Terrain::Rock, "Rock", 0x02},
    {Terrain::Dirt, "Dirt", 0x03},
    {Terrain::Water, "Water", 0x04},
    {Terrain::Lava, "Lave", 0x05},
    {Terrain::Gold, "Gold", 0x06},
    {Terrain::Gems, "Gems", 0x07},
    {Terrain::HeroGate1, "Hero Gate 1", 0x1C},
    {Terrain::HeroGate2, "Hero Gate 2", 0x1D},
    {Terrain::HeroGate3, "Hero Gate 3", 0x21},
    {Terrain::HeroGate4, "Hero Gate 4", 0x22},
    {Terrain::HeroGate5, "Hero Gate 5", 0x24},
    {Terrain::HeroGate6, "Hero Gate 6", 0x25},
    {Terrain::HeroRest, "Hero rest", 0x23},
    {Terrain::Checkerboard, "Checkerboard", 0x1E},
}};

namespace {

constexpr std::array<Terrain, 256> terrainsByCode()
{
    std::array<Terrain, 256> byCode{};
    for (const TerrainRow& row : TerrainTable)
        byCode[row.code] = row.terrain;
    return byCode;
}

} // namespace

std::optional<Terrain> terrainOfCode(std::uint8_t code)
{
    // Built once: decoding a record is then one lookup.
    static const std::array<Terrain, 256> byCode = terrainsByCode();
    const Terrain terrain = byCode[code];
    if (terrain == Terrain::None)
        return std::nullopt;
    return terrain;
}

std::optional<std::uint8_t> codeOfTerrain(Terrain terrain)
{
    const int index = static_cast<int>(terrain);
    if (index < 1 || index > TerrainCount)
        return std::nullopt;
    return TerrainTable[static_cast<std::size_t>(index - 1)].code;
}

std::optional<Owner> ownerOfCode(std::uint8_t code)
{
    if (code < 1 || code > OwnerCount)
        return std::nullopt;
    return static_cast<Owner>(code);
}

std::string_view terrainName(Terrain terrain)
{
    const int index = static_cast<int>(terrain);
    if (index < 1 || index > TerrainCount)
        return {};
    return TerrainTable[static_cast<std::size_t>(index - 1)].name;
}

std::string_view ownerName(Owner owner)
{
    static constexpr std::array<std::string_view, OwnerCount + 1> names{
        "", "Hero", "Neutral", "Player", "Keeper 1", "Keeper 2", "Keeper 3", "Keeper 4"};
    const auto index = static_cast<std::size_t>(owner);
    return index < names.size() ? names[index] : std::string_view();
}

} // namespace delvard
