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
    PaintCommand(*this, paint.area, Cell::painted(terrain, owner)).redo();
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

std::vector<Cell> MapDocument::cellsIn(const CellArea& area) const
{
    std::vector<Cell> cells;
    cells.reserve(static_cast<std::size_t>(area.cellCount()));
    for (int row = area.top; row <= area.bottom; ++row)
        for (int column = area.left; column <= area.right; ++column)
            cells.push_back(map_.at(row, column));
    return cells;
}

void MapDocument::replaceCells(const CellArea& area, const std::vector<Cell>& cells)
{
    auto next = cells.begin();
    for (int row = area.top; row <= area.bottom; ++row)
        for (int column = area.left; column <= area.right; ++column)
            map_.at(row, column) = *next++;
    emit cellsChanged(QRect(QPoint(area.left, area.top), QPoint(area.right, area.bottom)));
}

PaintCommand::PaintCommand(MapDocument& document, const CellArea& area, const Cell& paint)
    : document_(document), area_(area), paint_(paint)
{
}

void PaintCommand::redo()
{
    replaced_ = document_.cellsIn(area_);
    document_.replaceCells(area_,
                           std::vector<Cell>(static_cast<std::size_t>(area_.cellCount()), paint_));
}

void PaintCommand::undo()
{
    document_.replaceCells(area_, replaced_);
}

} // namespace delvard
