#include "mapview/CellSentence.h"

namespace delvard {

QString cellSentence(const MapData& map, CellPosition cell)
{
    const CellWords words = describeCell(map, cell);
    return QStringLiteral("Row %1, column %2: %3, %4")
        .arg(cell.row)
        .arg(cell.column)
        .arg(QString::fromStdString(words.terrain), QString::fromStdString(words.owner));
}

} // namespace delvard
