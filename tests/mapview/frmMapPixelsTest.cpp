#include "CellArt.h"
#include "ImageList.h"
#include "MapFixture.h"

#include <QImage>

using namespace maptest;

namespace {

using PixelTest = MapWindowTest;

QImage grabbed(frmMap& map)
{
    return map.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Centre of a fully transparent square of the picture, as a fraction of its
// size, or nothing when the picture has no such place.
std::optional<QPointF> transparentSpot(const QImage& picture)
{
    const int span = std::max(3, picture.width() / 12);
    for (int y = span; y + span < picture.height(); y += span / 2)
        for (int x = span; x + span < picture.width(); x += span / 2) {
            bool clear = true;
            for (int dy = -span; dy <= span && clear; ++dy)
                for (int dx = -span; dx <= span && clear; ++dx)
                    clear = qAlpha(picture.pixel(x + dx, y + dy)) == 0;
            if (clear)
                return QPointF((x + 0.5) / picture.width(), (y + 0.5) / picture.height());
        }
    return std::nullopt;
}

bool picturesPresent()
{
    for (int n = 1; n <= 42; ++n)
        if (ImageList::instance().image(n).isNull())
            return false;
    return true;
}

TEST_F(PixelTest, OwnerColourShowsThroughTheTerrainAndTheMarginIsBlack)
{
    if (!picturesPresent())
        GTEST_SKIP() << "the picture list is not built in";
    const QImage& heart = ImageList::instance().image(1);
    const auto spot = transparentSpot(heart);
    ASSERT_TRUE(spot) << "picture 1 has no transparent part";
    const QRgb red = ImageList::instance().image(38).pixel(16, 16);

    load(3, 3, record(1, 3) + patternBody(8, 1));
    const QImage image = grabbed(*map);
    const QRect cell = map->elementRect(0);
    const QPoint inside = cell.topLeft() + QPoint(qRound(spot->x() * cell.width()),
                                                  qRound(spot->y() * cell.height()));
    EXPECT_EQ(image.pixel(inside), red | 0xff000000);
    for (const QPoint margin : {QPoint(0, 0), QPoint(cell.left() - 1, cell.center().y()),
                                QPoint(image.width() - 1, image.height() - 1)})
        EXPECT_EQ(image.pixel(margin), qRgb(0, 0, 0)) << margin.x() << "," << margin.y();
}

TEST_F(PixelTest, GridIsABlackLineInsideEachTerrainSquare)
{
    if (!picturesPresent())
        GTEST_SKIP() << "the picture list is not built in";
    load(3, 3, std::string() + record(24, 2) + patternBody(8, 1));
    const QRect cell = map->elementRect(0);
    const QPoint edge(cell.left(), cell.center().y());
    EXPECT_EQ(grabbed(*map).pixel(edge), qRgb(0, 0, 0));
    map->GridOff();
    const QImage bare = grabbed(*map);
    EXPECT_NE(bare.pixel(edge), qRgb(0, 0, 0));
    EXPECT_EQ(bare.pixel(edge.x() - 1, edge.y()), qRgb(0, 0, 0)); // the margin
}

TEST_F(PixelTest, WindowDrawsEachCellAsTheSharedCellArt)
{
    load(4, 3);
    map->ZoomOut();
    map->ZoomOut();
    const QImage image = grabbed(*map);
    for (const int k : {0, 5, 11}) {
        const QRect cell = map->elementRect(k);
        const QImage expected = cellart::composeCell(ImageList::instance(), map->Image1(k).picture,
                                                     map->Image2(k).picture, 1, cell.width());
        EXPECT_EQ(image.copy(cell), expected.convertToFormat(QImage::Format_RGB32)) << k;
    }
}

TEST_F(PixelTest, CodesNoTableKnewLookUnknown)
{
    load(3, 3, rawRecord(0xFF, 0xEE) + patternBody(8, 1));
    const QImage image = grabbed(*map);
    const QRect cell = map->elementRect(0);
    int magenta = 0;
    int grey = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            magenta += qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) > 200;
            grey += qRed(p) == qGreen(p) && qGreen(p) == qBlue(p) && qRed(p) > 30 && qRed(p) < 100;
        }
    EXPECT_GT(magenta, cell.width());
    EXPECT_GT(grey, cell.width() * cell.height() / 2);
}

} // namespace
