#include "document/MapSummary.h"

#include "document/CellDescription.h"
#include "document/MapFile.h"

namespace delvard {

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
        const delvard::CellPosition at = map.positionOf(k);
        if (cell.terrainKnown() && cell.ownerKnown())
            continue;
        const delvard::CellWords words = delvard::describeCell(map, at);
        if (!cell.terrainKnown())
            summary.unknownCodes.push_back({UnknownCode::Kind::Terrain, at, cell.terrainCode,
                                            QString::fromStdString(words.shownTerrain),
                                            words.terrainShownByName});
        if (!cell.ownerKnown())
            summary.unknownCodes.push_back({UnknownCode::Kind::Owner, at, cell.ownerCode,
                                            QString::fromStdString(words.shownOwner),
                                            words.ownerShownByName});
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

QString cellLabel(delvard::CellPosition cell)
{
    return QString::fromStdString(delvard::placeWords(cell));
}

QString describeUnknownCode(const UnknownCode& code)
{
    const QString shownPart =
        code.shownByName
            ? QStringLiteral("the editor shows %1, the cell before it").arg(code.shownAs)
            : QStringLiteral("no earlier cell to show instead, so the editor shows %1")
                  .arg(code.shownAs);
    return QStringLiteral("unknown %1 code %2; %3")
        .arg(code.kind == UnknownCode::Kind::Terrain ? QStringLiteral("terrain")
                                                     : QStringLiteral("owner"),
             QString::fromStdString(delvard::hexByte(code.fileByte)), shownPart);
}

} // namespace delvard
