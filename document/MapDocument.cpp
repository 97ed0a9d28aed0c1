#include "MapDocument.h"

#include "MapFileReader.h"
#include "NativeFileName.h"

#include <new>

namespace delvard {

MapDocument::Opened MapDocument::open(const QString& path)
{
    Opened opened;
    try {
        const FileRead file = readMapFile(nativePath(path));
        if (!file.ok) {
            opened.problem = QString::fromStdString(file.reason);
            return opened;
        }
        DecodedMap decoded = decodeMap(file.bytes);
        if (!decoded.check.ok()) {
            opened.problem = QString::fromStdString(decoded.check.reason());
            return opened;
        }
        opened.document = std::make_unique<MapDocument>(path, std::move(decoded.map));
    } catch (const std::bad_alloc&) {
        opened.problem = QStringLiteral("There is not enough memory to read it.");
    }
    return opened;
}

MapDocument::MapDocument(QString path, MapData map, QObject* parent)
    : QObject(parent), path_(std::move(path)), map_(std::move(map))
{
}

PaintArea MapDocument::paintArea(int row, int column, Terrain terrain) const
{
    return delvard::paintArea(map_.width, map_.height, row, column, terrain);
}

bool MapDocument::paint(int row, int column, Terrain terrain, Owner owner)
{
    const PaintArea paint = paintArea(row, column, terrain);
    if (!paint.accepted)
        return false;
    const Cell painted = Cell::painted(terrain, owner);
    const CellArea& area = paint.area;
    for (int r = area.top; r <= area.bottom; ++r)
        for (int c = area.left; c <= area.right; ++c)
            map_.at(r, c) = painted;
    emit cellsChanged(QRect(QPoint(area.left, area.top), QPoint(area.right, area.bottom)));
    return true;
}

QByteArray MapDocument::bytesToSave() const
{
    const std::string bytes = encodeMap(map_);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

FileWrite MapDocument::save() const
{
    return writeMapOverFront(path_, bytesToSave());
}

} // namespace delvard
