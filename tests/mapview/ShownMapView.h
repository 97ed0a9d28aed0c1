#pragma once

#include "mapview/MapView.h"
#include "resources/PictureList.h"

#include <QTest>
#include <gtest/gtest.h>

#include <memory>

// A map whose cell at (row, column) is cellAt(row, column); a map with an
// empty side holds its one cell.
template <typename CellAt> delvard::MapData mapOf(int width, int height, CellAt cellAt)
{
    delvard::MapData map;
    map.header = std::string(36, '\0');
    map.width = width;
    map.height = height;
    const bool empty = width * height == 0;
    for (int row = 1; row <= (empty ? 1 : height); ++row)
        for (int column = 1; column <= (empty ? 1 : width); ++column)
            map.cells.push_back(cellAt(row, column));
    return map;
}

// A map view of a document, shown alone at 400 x 300: the map is larger
// than the view at the largest cells, so it scrolls.
class ShownMapView : public ::testing::Test
{
  protected:
    static const delvard::PictureList& pictures()
    {
        static const delvard::PictureList list;
        return list;
    }
    void show(delvard::MapData map)
    {
        document =
            std::make_unique<delvard::MapDocument>(QStringLiteral("testMap.kld"), std::move(map));
        view = std::make_unique<delvard::MapView>(*document, pictures());
        view->resize(400, 300);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }
    std::unique_ptr<delvard::MapDocument> document;
    std::unique_ptr<delvard::MapView> view;
};
