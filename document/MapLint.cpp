#include "document/MapLint.h"

#include "document/CodeTables.h"
#include "document/MapRules.h"
#include "document/MapSummary.h"

#include <algorithm>
#include <vector>

namespace delvard {

namespace {

bool isRockLike(Terrain terrain)
{
    return terrain == Terrain::OwnedRock || terrain == Terrain::SolidRock ||
           terrain == Terrain::Rock;
}

bool inside(const MapData& map, CellPosition at)
{
    return at.row >= 1 && at.row <= map.height && at.column >= 1 && at.column <= map.width;
}

bool before(CellPosition a, CellPosition b)
{
    return a.row != b.row ? a.row < b.row : a.column < b.column;
}

void lintOwners(const MapData& map, std::vector<Finding>& findings)
{
    for (int r = 1; r <= map.height; ++r) {
        for (int c = 1; c <= map.width; ++c) {
            const Cell& cell = map.at({r, c});
            if (!cell.terrainKnown() || !cell.ownerKnown())
                continue; // already an error; the shown values are borrowed
            if (delvard::ownerAllows(cell.owner, cell.terrain))
                continue;
            const QString why = delvard::onlyOwnerOf(cell.terrain) == Owner::Hero
                                    ? QStringLiteral("the palette gives hero gates and the hero "
                                                     "rest only to Hero")
                                    : QStringLiteral("the palette gives Sold Rock to Gems only to "
                                                     "Neutral");
            findings.push_back({Finding::Warning,
                                {r, c},
                                QStringLiteral("%1 owned by %2; %3")
                                    .arg(terrainLabel(cell.terrain), ownerLabel(cell.owner), why)});
        }
    }
}

void lintRing(const MapData& map, std::vector<Finding>& findings)
{
    for (int r = 1; r <= map.height; ++r) {
        for (int c = 1; c <= map.width; ++c) {
            const bool onRing = delvard::isOnRing(map.width, map.height, {r, c});
            const Cell& cell = map.at({r, c});
            if (onRing && cell.terrainKnown() && !isRockLike(cell.terrain))
                findings.push_back({Finding::Warning,
                                    {r, c},
                                    QStringLiteral("%1 on the outer ring, where rock is "
                                                   "expected; the editor cannot repaint the ring")
                                        .arg(terrainLabel(cell.terrain))});
        }
    }
}

// Heart cells joined side by side, each region in row order.
std::vector<std::vector<CellPosition>> heartRegions(const MapData& map)
{
    std::vector<char> seen(map.cells.size(), 0);
    auto seenAt = [&](CellPosition at) -> char& { return seen[map.indexOf(at)]; };
    auto isHeart = [&](CellPosition at) { return map.at(at).terrain == Terrain::Heart; };
    std::vector<std::vector<CellPosition>> regions;
    for (int r = 1; r <= map.height; ++r) {
        for (int c = 1; c <= map.width; ++c) {
            if (seenAt({r, c}) || !isHeart({r, c}))
                continue;
            std::vector<CellPosition> region;
            std::vector<CellPosition> stack{{r, c}};
            seenAt({r, c}) = 1;
            while (!stack.empty()) {
                const CellPosition cell = stack.back();
                stack.pop_back();
                region.push_back(cell);
                const CellPosition next[] = {{cell.row - 1, cell.column},
                                             {cell.row + 1, cell.column},
                                             {cell.row, cell.column - 1},
                                             {cell.row, cell.column + 1}};
                for (const CellPosition n : next) {
                    if (inside(map, n) && !seenAt(n) && isHeart(n)) {
                        seenAt(n) = 1;
                        stack.push_back(n);
                    }
                }
            }
            std::sort(region.begin(), region.end(), before);
            regions.push_back(std::move(region));
        }
    }
    return regions;
}

// A region splits into whole 5 x 5 blocks exactly when taking, again and
// again, the first cell not yet covered as the top left of a block works.
void lintHeartRegion(const MapData& map, const std::vector<CellPosition>& region,
                     std::vector<Finding>& findings)
{
    const CellPosition first = region.front();
    if (region.size() % (HeartSide * HeartSide) == 0) {
        std::vector<char> covered(region.size(), 0);
        auto indexOf = [&](CellPosition at) -> std::ptrdiff_t {
            const auto it = std::lower_bound(region.begin(), region.end(), at, before);
            if (it == region.end() || it->row != at.row || it->column != at.column)
                return -1;
            return it - region.begin();
        };
        bool whole = true;
        std::vector<CellPosition> blockCorners;
        for (std::size_t i = 0; i < region.size() && whole; ++i) {
            if (covered[i])
                continue;
            const CellPosition corner = region[i];
            for (int dr = 0; dr < HeartSide && whole; ++dr) {
                for (int dc = 0; dc < HeartSide && whole; ++dc) {
                    const std::ptrdiff_t j = indexOf({corner.row + dr, corner.column + dc});
                    if (j < 0 || covered[j])
                        whole = false;
                    else
                        covered[j] = 1;
                }
            }
            blockCorners.push_back(corner);
        }
        if (whole) {
            for (const CellPosition corner : blockCorners) {
                const Owner owner = map.at(corner).owner;
                bool oneOwner = true;
                for (int dr = 0; dr < HeartSide; ++dr)
                    for (int dc = 0; dc < HeartSide; ++dc)
                        oneOwner = oneOwner &&
                                   map.at({corner.row + dr, corner.column + dc}).owner == owner;
                if (!oneOwner)
                    findings.push_back({Finding::Warning, corner,
                                        QStringLiteral("the Heart block starting here has more "
                                                       "than one owner")});
            }
            return;
        }
    }
    findings.push_back(
        {Finding::Warning, first,
         QStringLiteral("Heart region of %1 cells starting here is not made of whole 5 x 5 blocks")
             .arg(region.size())});
}

} // namespace

std::vector<Finding> lintMap(const MapFile& file)
{
    std::vector<Finding> findings;
    if (!file.ok()) {
        findings.push_back({Finding::Error, {}, file.problem()});
        return findings;
    }
    const MapData& map = file.map();
    const bool laidOut = map.width > 0 && map.height > 0;
    if (!laidOut)
        findings.push_back(
            {Finding::Error,
             {},
             QStringLiteral("The header gives a map of %1 x %2 cells; the editor still shows "
                            "one cell, from the first record.")
                 .arg(map.width)
                 .arg(map.height)});

    for (const UnknownCode& code : summarizeMap(map).unknownCodes)
        findings.push_back({Finding::Error, code.place, describeUnknownCode(code)});

    if (!laidOut)
        return findings;
    lintRing(map, findings);
    lintOwners(map, findings);
    for (const std::vector<CellPosition>& region : heartRegions(map))
        lintHeartRegion(map, region, findings);
    return findings;
}

} // namespace delvard
