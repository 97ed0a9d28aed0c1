// Writes a map as a Tiled map (TMX) whose tileset holds every look a cell
// can have, terrain over owner, as delvard-map draws it: Tiled's own
// thumbnailer, tmxrasterizer, then draws the same map from the same cells,
// and tiled-ratio.sh compares the two programs' thumbnails.
//
//   delvard_tmx_export MAP.kld FOLDER     (writes FOLDER/map.tmx, FOLDER/cells.png)
#include "document/MapFile.h"
#include "drawing/CellSlots.h"
#include "drawing/TileCache.h"
#include "resources/PictureList.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>

using namespace delvard;

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: delvard_tmx_export MAP.kld FOLDER\n");
        return 2;
    }
    const MapFile file = loadMap(QString::fromLocal8Bit(argv[1]));
    if (!file.ok()) {
        std::fprintf(stderr, "delvard_tmx_export: %s\n", qPrintable(file.problem()));
        return 1;
    }
    const QString folder = QString::fromLocal8Bit(argv[2]);
    constexpr int Side = 24;

    // One tile a look: a column a terrain, a row an owner.
    const PictureList pictures;
    TileCache tiles(pictures);
    tiles.setScale(Side, 1.0);
    QImage sheet(CellSlots::Terrains * Side, CellSlots::Owners * Side, QImage::Format_RGB32);
    QPainter painter(&sheet);
    for (int t = 0; t < CellSlots::Terrains; ++t)
        for (int o = 0; o < CellSlots::Owners; ++o)
            painter.drawImage(t * Side, o * Side,
                              tiles.tile(static_cast<Terrain>(t), static_cast<Owner>(o), false));
    painter.end();
    if (!sheet.save(folder + QStringLiteral("/cells.png")))
        return 1;

    // The map inside a margin of one empty cell, as delvard-map draws it.
    const MapData& map = file.map();
    const int width = map.width + 2;
    const int height = map.height + 2;
    QByteArray tmx =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<map version=\"1.8\" orientation=\"orthogonal\" renderorder=\"right-down\" "
                       "width=\"%1\" height=\"%2\" tilewidth=\"%3\" tileheight=\"%3\" "
                       "infinite=\"0\" nextlayerid=\"2\" nextobjectid=\"1\">\n"
                       " <tileset firstgid=\"1\" name=\"cells\" tilewidth=\"%3\" "
                       "tileheight=\"%3\" tilecount=\"%4\" columns=\"%5\">\n"
                       "  <image source=\"cells.png\" width=\"%6\" height=\"%7\"/>\n"
                       " </tileset>\n"
                       " <layer id=\"1\" name=\"cells\" width=\"%1\" height=\"%2\">\n"
                       "  <data encoding=\"csv\">\n")
            .arg(width)
            .arg(height)
            .arg(Side)
            .arg(CellSlots::Count)
            .arg(CellSlots::Terrains)
            .arg(sheet.width())
            .arg(sheet.height())
            .toUtf8();
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            int gid = 0;
            if (row >= 1 && row <= map.height && column >= 1 && column <= map.width) {
                const Cell& cell = map.at({row, column});
                gid = static_cast<int>(cell.owner) * CellSlots::Terrains +
                      static_cast<int>(cell.terrain) + 1;
            }
            tmx += QByteArray::number(gid);
            if (row + 1 < height || column + 1 < width)
                tmx += ',';
        }
        tmx += '\n';
    }
    tmx += "  </data>\n </layer>\n</map>\n";
    QFile out(folder + QStringLiteral("/map.tmx"));
    return out.open(QIODevice::WriteOnly) && out.write(tmx) == tmx.size() ? 0 : 1;
}
