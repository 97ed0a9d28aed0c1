#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A map being designed in memory: one terrain tool index and owner code per
// cell, rows and columns counted from 1. Drawing outside the map is ignored,
// so shapes may be placed near the edges without clipping by hand.
class MapBuilder
{
  public:
    MapBuilder(int width, int height, int terrain, int owner);

    int width() const { return width_; }
    int height() const { return height_; }
    int terrainAt(int row, int column) const;
    int ownerAt(int row, int column) const;

    void set(int row, int column, int terrain, int owner);
    void fillRect(int top, int left, int rows, int columns, int terrain, int owner);
    void outlineRect(int top, int left, int rows, int columns, int terrain, int owner);
    void fillEllipse(int centreRow, int centreColumn, int radiusRows, int radiusColumns,
                     int terrain, int owner);
    // The outer ring: row 1, the last row, column 1 and the last column.
    void ring(int terrain, int owner);

    // The map file: header, one record per cell, then trailing. Bytes 2 and 3
    // of the records vary from cell to cell, as they do in files made by
    // other tools, so that a save through the editor visibly rewrites them.
    std::string fileBytes(std::string_view trailing = {}) const;

  private:
    bool inside(int row, int column) const;
    std::size_t element(int row, int column) const;

    int width_;
    int height_;
    std::vector<std::uint8_t> terrain_;
    std::vector<std::uint8_t> owner_;
};
