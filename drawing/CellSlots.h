#pragma once

#include "document/CodeTables.h"

#include <cstddef>

namespace delvard {

// Every look a cell can have, terrain over owner, numbered for the tables
// that hold one entry per look: None and each terrain, None and each owner.
struct CellSlots
{
    static constexpr int Terrains = TerrainCount + 1;
    static constexpr int Owners = OwnerCount + 1;
    static constexpr std::size_t Count = std::size_t{Terrains} * Owners;

    static constexpr std::size_t of(Terrain terrain, Owner owner)
    {
        return static_cast<std::size_t>(terrain) * Owners + static_cast<std::size_t>(owner);
    }
};

} // namespace delvard
