#include "MapSummary.h"

#include "MapFile.h"

MapSummary summarizeMap(const delvard::DecodedMap& map)
{
    MapSummary summary;
    const int width = map.check.width;
    for (std::size_t k = 0; k < map.cells.size(); ++k) {
        const delvard::DecodedCell& cell = map.cells[k];
        ++summary.terrainCounts[cell.terrainIndex];
        ++summary.ownerCounts[cell.ownerCode];
        const CellPosition at = cellPosition(width, k);
        if (!cell.terrainKnown)
            summary.unknownCodes.push_back(
                {UnknownCode::Terrain, at.row, at.column, cell.fileTerrain, cell.terrainIndex});
        if (!cell.ownerKnown)
            summary.unknownCodes.push_back(
                {UnknownCode::Owner, at.row, at.column, cell.fileOwner, cell.ownerCode});
    }
    return summary;
}

namespace {

QString labelOf(std::string_view name)
{
    return name.empty() ? QStringLiteral("none") : QString::fromUtf8(name);
}

} // namespace

QString terrainLabel(int terrainIndex)
{
    return labelOf(delvard::terrainName(terrainIndex));
}

QString ownerLabel(int ownerCode)
{
    return labelOf(delvard::ownerName(ownerCode));
}

QString hexByte(int value)
{
    return QStringLiteral("0x") +
           QString::number(value, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

QString cellLabel(int row, int column)
{
    return QStringLiteral("row %1, column %2").arg(row).arg(column);
}

QString describeUnknownCode(const UnknownCode& code)
{
    const bool terrain = code.kind == UnknownCode::Terrain;
    const QString shown = terrain ? terrainLabel(code.shownAs) : ownerLabel(code.shownAs);
    const QString shownPart =
        code.shownAs == 0 ? QStringLiteral("no earlier cell to show instead, so the editor shows "
                                           "no picture")
                          : QStringLiteral("the editor shows %1, the cell before it").arg(shown);
    return QStringLiteral("unknown %1 code %2; %3")
        .arg(terrain ? QStringLiteral("terrain") : QStringLiteral("owner"), hexByte(code.fileByte),
             shownPart);
}
