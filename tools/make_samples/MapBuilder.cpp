#include "tools/make_samples/MapBuilder.h"

#include "document/MapFormat.h"

#include <stdexcept>

MapBuilder::MapBuilder(int width, int height, Terrain terrain, Owner owner)
    : width_(width), height_(height), terrain_(static_cast<std::size_t>(width) * height, terrain),
      owner_(static_cast<std::size_t>(width) * height, owner)
{
}

bool MapBuilder::inside(int row, int column) const
{
    return row >= 1 && row <= height_ && column >= 1 && column <= width_;
}

std::size_t MapBuilder::element(int row, int column) const
{
    return static_cast<std::size_t>(row - 1) * width_ + (column - 1);
}

void MapBuilder::set(int row, int column, Terrain terrain, Owner owner)
{
    if (!inside(row, column))
        return;
    terrain_[element(row, column)] = terrain;
    owner_[element(row, column)] = owner;
}

void MapBuilder::fillRect(int top, int left, int rows, int columns, Terrain terrain, Owner owner)
{
    for (int r = top; r < top + rows; ++r)
        for (int c = left; c < left + columns; ++c)
            set(r, c, terrain, owner);
}

void MapBuilder::outlineRect(int top, int left, int rows, int columns, Terrain terrain, Owner owner)
{
    for (int c = left; c < left + columns; ++c) {
        set(top, c, terrain, owner);
        set(top + rows - 1, c, terrain, owner);
    }
    for (int r = top; r < top + rows; ++r) {
        set(r, left, terrain, owner);
        set(r, left + columns - 1, terrain, owner);
    }
}

void MapBuilder::fillEllipse(int centreRow, int centreColumn, int radiusRows, int radiusColumns,
                             Terrain terrain, Owner owner)
{
    const double rr = static_cast<double>(radiusRows) * radiusRows;
    const double rc = static_cast<double>(radiusColumns) * radiusColumns;
    for (int r = centreRow - radiusRows; r <= centreRow + radiusRows; ++r) {
        for (int c = centreColumn - radiusColumns; c <= centreColumn + radiusColumns; ++c) {
            const double dr = r - centreRow;
            const double dc = c - centreColumn;
            if (dr * dr / rr + dc * dc / rc <= 1.0)
                set(r, c, terrain, owner);
        }
    }
}

void MapBuilder::ring(Terrain terrain, Owner owner)
{
    outlineRect(1, 1, height_, width_, terrain, owner);
}

std::string MapBuilder::fileBytes(std::string_view trailing) const
{
    std::string bytes(delvard::HeaderSize, '\0');
    // A fixed header of our own; only width and height mean anything.
    const char tag[] = "DELVARD SAMPLE";
    for (std::size_t i = 0; i + 1 < sizeof tag; ++i)
        bytes[i] = tag[i];
    for (std::size_t i = 28; i < delvard::HeaderSize; ++i)
        bytes[i] = static_cast<char>(0x40 + i);
    bytes[delvard::WidthOffset] = static_cast<char>(width_);
    bytes[delvard::HeightOffset] = static_cast<char>(height_);

    bytes.reserve(bytes.size() + terrain_.size() * delvard::RecordSize + trailing.size());
    for (std::size_t k = 0; k < terrain_.size(); ++k) {
        const auto terrainCode = delvard::codeOfTerrain(terrain_[k]);
        if (!terrainCode || owner_[k] == Owner::None)
            throw std::logic_error("sample design leaves a cell without terrain or owner");
        bytes += static_cast<char>(*terrainCode);
        bytes += static_cast<char>(delvard::codeOfOwner(owner_[k]));
        bytes += static_cast<char>(k % 5);
        bytes += static_cast<char>((k * 7) % 3);
    }
    bytes.append(trailing);
    return bytes;
}
