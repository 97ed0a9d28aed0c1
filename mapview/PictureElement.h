#pragma once

#include <cstdint>

// One windowless picture of the map window: an element of Image1 (terrain
// pictures) or Image2 (owner pictures). Positions and sizes are in twips,
// from the top left of the window's client area.
//
// Kept to 16 bytes: the largest map has 2 x 65,025 of them, and the load's
// time goes mostly into touching fresh memory. Sides never exceed 1080 twips
// and picture numbers 72; positions reach 277,560 twips.
struct PictureElement
{
    std::int32_t left = 1080;
    std::int32_t top = 1080;
    std::int16_t width = 1080;
    std::int16_t height = 1080;
    std::int8_t picture = 0;     // picture list number; 0 = none (a code no table knew)
    std::int8_t borderStyle = 0; // 0 none, 1 thin fixed border (the grid)
    bool visible = false;
};

static_assert(sizeof(PictureElement) == 16);
