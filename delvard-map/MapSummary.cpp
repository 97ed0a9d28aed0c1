#include "MapSummary.h"

#include "MapFile.h"

using delvard::Cell;
using delvard::Owner;
using delvard::Terrain;

namespace {

QString labelOf(std::string_view name)
{
    return name.empty() ? QStringLiteral("none") : QString::fromUtf8(name);
}

} // namespace

MapSummary summarizeMap(const delvard::MapData& map)
{
    MapSummary summary;
    for (std::size_t k = 0; k < map.cells.size(); ++k) {
        const Cell& cell = map.cells[k];
        ++summary.terrainCounts[static_cast<std::size_t>(cell.terrain)];
        ++summary.ownerCounts[static_cast<std::size_t>(cell.owner)];
        const CellPosition at = cellPosition(map, k);
        if (!cell.terrainKnown())
            summary.unknownCodes.push_back({UnknownCode::Kind::Terrain, at.row, at.column,
                                            cell.terrainCode,
                                            QString::fromUtf8(delvard::terrainName(cell.terrain))});
        if (!cell.ownerKnown())
            summary.unknownCodes.push_back({UnknownCode::Kind::Owner, at.row, at.column,
                                            cell.ownerCode,
                                            QString::fromUtf8(delvard::ownerName(cell.owner))});
    }
    return summary;
}

QString terrainLabel(Terrain terrain)
{
    return labelOf(delvard::terrainName(terrain));
}

QString ownerLabel(Owner owner)
{
    return labelOf(delvard::ownerName(owner));
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
    const QString shownPart =
        code.shownAs.isEmpty()
            ? QStringLiteral("no earlier cell to show instead, so the editor shows no picture")
            : QStringLiteral("the editor shows %1, the cell before it").arg(code.shownAs);
    return QStringLiteral("unknown %1 code %2; %3")
        .arg(code.kind == UnknownCode::Kind::Terrain ? QStringLiteral("terrain")
                                                     : QStringLiteral("owner"),
             hexByte(code.fileByte), shownPart);
}
