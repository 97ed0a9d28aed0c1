#include "document/CodeTables.h"

#include <gtest/gtest.h>

using namespace delvard;

// Codes and names from the map format's tables, written out here rather
// than read from the program's table.
TEST(CodeTables, KnownCodesDecodeToTheirTerrainAndBack)
{
    const struct
    {
        std::uint8_t code;
        Terrain terrain;
        const char* name;
    } known[] = {{0x0E, Terrain::Heart, "Heart"},
                 {0x0F, Terrain::Library, "Libaray"},
                 {0x18, Terrain::Casino, "Casion"},
                 {0x20, Terrain::Mana, "Mana"},
                 {0x1A, Terrain::StoneBridge, "Stone Bridge"},
                 {0x01, Terrain::SolidRock, "Sold Rock"},
                 {0x05, Terrain::Lava, "Lave"},
                 {0x07, Terrain::Gems, "Gems"},
                 {0x1C, Terrain::HeroGate1, "Hero Gate 1"},
                 {0x21, Terrain::HeroGate3, "Hero Gate 3"},
                 {0x25, Terrain::HeroGate6, "Hero Gate 6"},
                 {0x23, Terrain::HeroRest, "Hero rest"},
                 {0x1E, Terrain::Checkerboard, "Checkerboard"}};
    for (const auto& k : known) {
        EXPECT_EQ(terrainOfCode(k.code), k.terrain) << k.name;
        EXPECT_EQ(codeOfTerrain(k.terrain), k.code) << k.name;
        EXPECT_EQ(terrainName(k.terrain), k.name);
    }
    EXPECT_FALSE(codeOfTerrain(Terrain::None));
}

TEST(CodeTables, EveryOtherByteIsNoTerrainCodeAndOwnersAreOneToSeven)
{
    int terrainCodes = 0;
    for (int byte = 0; byte <= 0xFF; ++byte) {
        const bool isCode = terrainOfCode(static_cast<std::uint8_t>(byte)).has_value();
        terrainCodes += isCode;
        if (byte == 0x00 || byte == 0x1B || byte == 0x1F || byte >= 0x26) {
            EXPECT_FALSE(isCode) << byte;
        }
        EXPECT_EQ(ownerOfCode(static_cast<std::uint8_t>(byte)).has_value(), byte >= 1 && byte <= 7);
    }
    EXPECT_EQ(terrainCodes, 35); // distinct codes: no two terrains share one
    EXPECT_EQ(ownerName(Owner::Hero), "Hero");
    EXPECT_EQ(ownerName(Owner::Keeper4), "Keeper 4");
    EXPECT_EQ(ownerName(Owner::None), "");
}
