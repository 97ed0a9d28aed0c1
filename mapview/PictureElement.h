#pragma once

// One windowless picture of the map window: an element of Image1 (terrain
// pictures) or Image2 (owner pictures). Positions and sizes are in twips,
// from the top left of the window's client area.
struct PictureElement
{
    int picture = 0;     // picture list number; 0 = none (a code no table knew)
    int left = 1080;
    int top = 1080;
    int width = 1080;
    int height = 1080;
    int borderStyle = 0; // 0 none, 1 thin fixed border (the grid)
    bool visible = false;
};
