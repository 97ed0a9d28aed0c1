#include "mapview/CellSentence.h"

namespace delvard {

QString cellSentence(const MapData& map, CellPosition cell)
{
    const CellWords words = describeCell(map, cell);
    QString place = QString::fromStdString(placeWords(cell));
    place[0] = place[0].toUpper(); // the sentence's first word
    return QStringLiteral("%1: %2, %3")
        .arg(place, QString::fromStdString(words.terrain), QString::fromStdString(words.owner));
}

} // namespace delvard
