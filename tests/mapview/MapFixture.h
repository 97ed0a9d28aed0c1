#pragma once

#include "CodeTables.h"
#include "MapCodec.h"
#include "Module1.h"
#include "ToolbarState.h"
#include "frmMap.h"

#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// Builds maps the way the open command leaves them: the editor state filled
// from a header and a body, the cell size at its start value.
namespace maptest {

// A record with the terrain code of a tool index and an owner code.
inline std::string record(int terrainIndex, int ownerCode)
{
    const auto code = delvard::terrainCodeOfIndex(terrainIndex);
    return {static_cast<char>(code.value_or(0)), static_cast<char>(ownerCode), '\x05', '\x07'};
}

inline std::string rawRecord(unsigned char terrainCode, unsigned char ownerCode)
{
    return {static_cast<char>(terrainCode), static_cast<char>(ownerCode), '\0', '\0'};
}

// Every cell a different picture pair, so misplaced records show up:
// terrain 1..35 and owner 1..7 cycling with the element number.
inline int patternTerrain(int element)
{
    return element % delvard::TerrainCount + 1;
}
inline int patternOwner(int element)
{
    return element % delvard::OwnerCount + 1;
}

inline std::string patternBody(int width, int height)
{
    std::string body;
    const int cells = static_cast<int>(delvard::recordsToDecode(width, height));
    for (int k = 0; k < cells; ++k)
        body += record(patternTerrain(k), patternOwner(k));
    return body;
}

inline void openMap(int width, int height, std::string body)
{
    std::string header(delvard::HeaderSize, '\0');
    header[delvard::WidthOffset] = static_cast<char>(width);
    header[delvard::HeightOffset] = static_cast<char>(height);
    Module1::MapHeader = header;
    Module1::MapBody = std::move(body);
    Module1::MapWidth = width;
    Module1::MapHeight = height;
    Module1::MapPixelWidth = (width + 2) * Module1::CellSize;
    Module1::MapPixelHeight = (height + 2) * Module1::CellSize;
}

struct CellState
{
    int terrainPicture;
    int ownerPicture;
    std::string terrainText;
    std::string ownerText;
    friend bool operator==(const CellState&, const CellState&) = default;
};

// A map window over a fresh editor state.
class MapWindowTest : public ::testing::Test
{
  protected:
    void SetUp() override { Module1::ClearEditorState(); }

    frmMap& load(int width, int height, std::string body)
    {
        openMap(width, height, std::move(body));
        map = std::make_unique<frmMap>(toolbar, [this] { ++openDisabled; });
        map->Form_Load();
        return *map;
    }
    frmMap& load(int width, int height) { return load(width, height, patternBody(width, height)); }

    int element(int row, int column) const { return (row - 1) * Module1::MapWidth + (column - 1); }

    CellState cell(int row, int column) const
    {
        const int k = element(row, column);
        return {map->Image1(k).picture, map->Image2(k).picture,
                Module1::CellCodes[row][column][1].str(), Module1::CellCodes[row][column][2].str()};
    }

    std::vector<CellState> allCells() const
    {
        std::vector<CellState> cells;
        for (int r = 1; r <= Module1::MapHeight; ++r)
            for (int c = 1; c <= Module1::MapWidth; ++c)
                cells.push_back(cell(r, c));
        return cells;
    }

    ToolbarState toolbar;
    int openDisabled = 0;
    std::unique_ptr<frmMap> map;
};

} // namespace maptest
