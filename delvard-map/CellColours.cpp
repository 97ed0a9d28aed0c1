#include "CellColours.h"

#include "FitPicture.h"

namespace delvard {

CellColours::CellColours(const PictureList& pictures) : tiles_(pictures)
{
    tiles_.setScale(SampleSide, 1.0);
}

QRgb CellColours::colour(const Cell& cell)
{
    const auto slot = static_cast<std::size_t>(cell.terrain) * (delvard::OwnerCount + 1) +
                      static_cast<std::size_t>(cell.owner);
    std::optional<QRgb>& colour = colours_[slot];
    if (!colour)
        colour =
            areaAveraged(tiles_.tile(cell.terrain, cell.owner, false), QSize(1, 1)).pixel(0, 0);
    return *colour;
}

} // namespace delvard
