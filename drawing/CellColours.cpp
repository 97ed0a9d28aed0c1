#include "drawing/CellColours.h"

#include "drawing/FitPicture.h"
#include "drawing/TileCache.h"

namespace delvard {

CellColours::Table CellColours::fromPictures(const PictureList& pictures)
{
    TileCache tiles(pictures);
    tiles.setScale(SampleSide, 1.0);
    Table table{};
    for (int terrain = 0; terrain < CellSlots::Terrains; ++terrain) {
        for (int owner = 0; owner < CellSlots::Owners; ++owner) {
            const auto t = static_cast<delvard::Terrain>(terrain);
            const auto o = static_cast<delvard::Owner>(owner);
            table[CellSlots::of(t, o)] =
                areaAveraged(tiles.tile(t, o, false), QSize(1, 1)).pixel(0, 0);
        }
    }
    return table;
}

} // namespace delvard
