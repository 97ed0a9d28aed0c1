#include "MapLint.h"

#include "CodeTables.h"
#include "MapSummary.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int HeartIndex = 1;
constexpr int HeroOwner = 1;
constexpr int NeutralOwner = 2;
constexpr int HeartSide = 5;

bool isRockLike(int terrain)
{
    // "Owned Rock", "Sold Rock", "Rock"
    return terrain >= 20 && terrain <= 22;
}

bool isHeroTerrain(int terrain)
{
    return terrain >= 28 && terrain <= 34; // the hero gates and the hero rest
}

bool isNeutralTerrain(int terrain)
{
    return terrain >= 21 && terrain <= 27; // "Sold Rock" to "Gems"
}

class Grid
{
  public:
    explicit Grid(const delvard::DecodedMap& map)
        : map_(map), width_(map.check.width), height_(map.check.height)
    {
    }
    int width() const { return width_; }
    int height() const { return height_; }
    const delvard::DecodedCell& at(int row, int column) const
    {
        return map_.cells[static_cast<std::size_t>(row - 1) * width_ + (column - 1)];
    }
    bool inside(int row, int column) const
    {
        return row >= 1 && row <= height_ && column >= 1 && column <= width_;
    }

  private:
    const delvard::DecodedMap& map_;
    int width_;
    int height_;
};

void lintOwners(const Grid& grid, std::vector<Finding>& findings)
{
    for (int r = 1; r <= grid.height(); ++r) {
        for (int c = 1; c <= grid.width(); ++c) {
            const delvard::DecodedCell& cell = grid.at(r, c);
            if (!cell.terrainKnown || !cell.ownerKnown)
                continue; // already an error; the shown values are borrowed
            if (isHeroTerrain(cell.terrainIndex) && cell.ownerCode != HeroOwner)
                findings.push_back(
                    {Finding::Warning, r, c,
                     QStringLiteral("%1 owned by %2; the palette gives hero "
                                    "gates and the hero rest only to Hero")
                         .arg(terrainLabel(cell.terrainIndex), ownerLabel(cell.ownerCode))});
            if (isNeutralTerrain(cell.terrainIndex) && cell.ownerCode != NeutralOwner)
                findings.push_back(
                    {Finding::Warning, r, c,
                     QStringLiteral("%1 owned by %2; the palette gives Sold Rock "
                                    "to Gems only to Neutral")
                         .arg(terrainLabel(cell.terrainIndex), ownerLabel(cell.ownerCode))});
        }
    }
}

void lintRing(const Grid& grid, std::vector<Finding>& findings)
{
    for (int r = 1; r <= grid.height(); ++r) {
        for (int c = 1; c <= grid.width(); ++c) {
            const bool onRing = r == 1 || c == 1 || r == grid.height() || c == grid.width();
            const delvard::DecodedCell& cell = grid.at(r, c);
            if (onRing && cell.terrainKnown && !isRockLike(cell.terrainIndex))
                findings.push_back({Finding::Warning, r, c,
                                    QStringLiteral("%1 on the outer ring, where rock is "
                                                   "expected; the editor cannot repaint the ring")
                                        .arg(terrainLabel(cell.terrainIndex))});
        }
    }
}

struct Cell
{
    int row;
    int column;
};

// Heart cells joined side by side, in row order.
std::vector<std::vector<Cell>> heartRegions(const Grid& grid)
{
    std::vector<char> seen(static_cast<std::size_t>(grid.width()) * grid.height(), 0);
    auto seenAt = [&](int r, int c) -> char& {
        return seen[static_cast<std::size_t>(r - 1) * grid.width() + (c - 1)];
    };
    std::vector<std::vector<Cell>> regions;
    for (int r = 1; r <= grid.height(); ++r) {
        for (int c = 1; c <= grid.width(); ++c) {
            if (seenAt(r, c) || grid.at(r, c).terrainIndex != HeartIndex)
                continue;
            std::vector<Cell> region;
            std::vector<Cell> stack{{r, c}};
            seenAt(r, c) = 1;
            while (!stack.empty()) {
                const Cell cell = stack.back();
                stack.pop_back();
                region.push_back(cell);
                const Cell next[] = {{cell.row - 1, cell.column},
                                     {cell.row + 1, cell.column},
                                     {cell.row, cell.column - 1},
                                     {cell.row, cell.column + 1}};
                for (const Cell n : next) {
                    if (grid.inside(n.row, n.column) && !seenAt(n.row, n.column) &&
                        grid.at(n.row, n.column).terrainIndex == HeartIndex) {
                        seenAt(n.row, n.column) = 1;
                        stack.push_back(n);
                    }
                }
            }
            std::sort(region.begin(), region.end(), [](Cell a, Cell b) {
                return a.row != b.row ? a.row < b.row : a.column < b.column;
            });
            regions.push_back(std::move(region));
        }
    }
    return regions;
}

// A region splits into whole 5 x 5 blocks exactly when taking, again and
// again, the first cell not yet covered as the top left of a block works.
void lintHeartRegion(const Grid& grid, const std::vector<Cell>& region,
                     std::vector<Finding>& findings)
{
    const Cell first = region.front();
    if (region.size() % (HeartSide * HeartSide) == 0) {
        std::vector<char> covered(region.size(), 0);
        auto indexOf = [&](int r, int c) -> std::ptrdiff_t {
            const auto it =
                std::lower_bound(region.begin(), region.end(), Cell{r, c}, [](Cell a, Cell b) {
                    return a.row != b.row ? a.row < b.row : a.column < b.column;
                });
            if (it == region.end() || it->row != r || it->column != c)
                return -1;
            return it - region.begin();
        };
        bool whole = true;
        std::vector<Cell> blockCorners;
        for (std::size_t i = 0; i < region.size() && whole; ++i) {
            if (covered[i])
                continue;
            const Cell corner = region[i];
            for (int dr = 0; dr < HeartSide && whole; ++dr) {
                for (int dc = 0; dc < HeartSide && whole; ++dc) {
                    const std::ptrdiff_t j = indexOf(corner.row + dr, corner.column + dc);
                    if (j < 0 || covered[j])
                        whole = false;
                    else
                        covered[j] = 1;
                }
            }
            blockCorners.push_back(corner);
        }
        if (whole) {
            for (const Cell corner : blockCorners) {
                const int owner = grid.at(corner.row, corner.column).ownerCode;
                bool oneOwner = true;
                for (int dr = 0; dr < HeartSide; ++dr)
                    for (int dc = 0; dc < HeartSide; ++dc)
                        oneOwner = oneOwner &&
                                   grid.at(corner.row + dr, corner.column + dc).ownerCode == owner;
                if (!oneOwner)
                    findings.push_back({Finding::Warning, corner.row, corner.column,
                                        QStringLiteral("the Heart block starting here has more "
                                                       "than one owner")});
            }
            return;
        }
    }
    findings.push_back(
        {Finding::Warning, first.row, first.column,
         QStringLiteral("Heart region of %1 cells starting here is not made of whole 5 x 5 blocks")
             .arg(region.size())});
}

} // namespace

std::vector<Finding> lintMap(const MapFile& file)
{
    std::vector<Finding> findings;
    if (!file.ok()) {
        findings.push_back({Finding::Error, 0, 0, file.problem()});
        return findings;
    }
    if (file.width() == 0 || file.height() == 0)
        findings.push_back(
            {Finding::Error, 0, 0,
             QStringLiteral("The header gives a map of %1 x %2 cells; the editor still shows "
                            "one cell, from the first record.")
                 .arg(file.width())
                 .arg(file.height())});

    const MapSummary summary = summarizeMap(file.decoded);
    for (const UnknownCode& code : summary.unknownCodes)
        findings.push_back({Finding::Error, code.row, code.column, describeUnknownCode(code)});

    if (file.width() == 0 || file.height() == 0)
        return findings;
    const Grid grid(file.decoded);
    lintRing(grid, findings);
    lintOwners(grid, findings);
    for (const std::vector<Cell>& region : heartRegions(grid))
        lintHeartRegion(grid, region, findings);
    return findings;
}
