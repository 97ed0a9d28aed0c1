#pragma once

#include "document/CodeTables.h"

#include <string>
#include <string_view>
#include <vector>

// A map being designed in memory: a terrain and an owner per cell, rows and
// columns counted from 1. Drawing outside the map is ignored,
// so shapes may be placed near the edges without clipping by hand.
class MapBuilder
{
  public:
    using Terrain = delvard::Terrain;
    using Owner = delvard::Owner;

    MapBuilder(int width, int height, Terrain terrain, Owner owner);

    int width() const { return width_; }
    int height() const { return height_; }

    void set(int row, int column, Terrain terrain, Owner owner);
    void fillRect(int top, int left, int rows, int columns, Terrain terrain, Owner owner);
    void outlineRect(int top, int left, int rows, int columns, Terrain terrain, Owner owner);
    void fillEllipse(int centreRow, int centreColumn, int radiusRows, int radiusColumns,
                     Terrain terrain, Owner owner);
    // The outer ring: row 1, the last row, column 1 and the last column.
    void ring(Terrain terrain, Owner owner);

    // The map file: header, one record per cell, then trailing. Bytes 2 and 3
    // of the records vary from cell to cell, as they do in files made by
    // other tools, so that a save through the editor visibly rewrites them.
    std::string fileBytes(std::string_view trailing = {}) const;

  private:
    bool inside(int row, int column) const;
    std::size_t element(int row, int column) const;

    int width_;
    int height_;
    std::vector<Terrain> terrain_;
    std::vector<Owner> owner_;
};
