#include "MapLint.h"
#include "MapSummary.h"
#include "TestMaps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

using delvard::Owner;
using delvard::Terrain;

struct Expected
{
    Finding::Severity severity;
    int row;
    int column;
    const char* text;
};

struct LintCase
{
    const char* name;
    std::function<QByteArray()> bytes;
    std::vector<Expected> expected;
};

void PrintTo(const LintCase& c, std::ostream* os)
{
    *os << c.name;
}

QByteArray map(int w, int h, const std::function<void(TestMap&)>& edit)
{
    TestMap m(w, h);
    edit(m);
    return m.bytes();
}

const LintCase Cases[] = {
    {"CleanLayouts",
     [] {
         return map(14, 8, [](TestMap& m) {
             m.set(1, 2, Terrain::OwnedRock, Owner::Keeper1);
             m.set(1, 3, Terrain::SolidRock, Owner::Neutral);
             m.set(2, 13, Terrain::HeroRest, Owner::Hero);
             m.fill(2, 2, 5, 10, Terrain::Heart, Owner::Keeper1); // two blocks side by side
         });
     },
     {}},
    {"WidthZero",
     [] { return TestMap(0, 5).bytes(); },
     {{Finding::Error, 0, 0,
       "The header gives a map of 0 x 5 cells; the editor still shows one cell, from the first "
       "record."}}},
    {"HeightZeroWithAnUnknownCode",
     [] { return TestMap(3, 0).setBytes(1, 1, 0x00, 0x02).bytes(); },
     {{Finding::Error, 0, 0, "3 x 0 cells"},
      {Finding::Error, 1, 1,
       "unknown terrain code 0x00; no earlier cell to show instead, so the editor shows no "
       "picture"}}},
    {"UnknownCodesShowTheCellBefore",
     [] {
         return map(5, 4, [](TestMap& m) {
             m.set(2, 2, Terrain::Treasury, Owner::Player);
             m.setBytes(2, 3, 0x1B, 0x09);
         });
     },
     {{Finding::Error, 2, 3,
       "unknown terrain code 0x1B; the editor shows Treasury, the cell before it"},
      {Finding::Error, 2, 3,
       "unknown owner code 0x09; the editor shows Player, the cell before it"}}},
    {"WrongTerrainOnTheRing",
     [] { return map(5, 4, [](TestMap& m) { m.set(4, 3, Terrain::Dirt, Owner::Neutral); }); },
     {{Finding::Warning, 4, 3,
       "Dirt on the outer ring, where rock is expected; the editor cannot repaint the ring"}}},
    {"OwnersThePaletteNeverGives",
     [] {
         return map(6, 5, [](TestMap& m) {
             m.set(2, 2, Terrain::HeroGate3, Owner::Keeper1);
             m.set(3, 4, Terrain::Gold, Owner::Player);
             m.set(5, 6, Terrain::Rock, Owner::Keeper1);
         });
     },
     {{Finding::Warning, 2, 2,
       "Hero Gate 3 owned by Keeper 1; the palette gives hero gates and the hero rest only to "
       "Hero"},
      {Finding::Warning, 3, 4,
       "Gold owned by Player; the palette gives Sold Rock to Gems only to Neutral"},
      {Finding::Warning, 5, 6, "Rock owned by Keeper 1"}}},
    {"HeartBlockWithTwoOwners",
     [] {
         return map(7, 7, [](TestMap& m) {
             m.fill(2, 2, 5, 5, Terrain::Heart, Owner::Player);
             m.set(6, 6, Terrain::Heart, Owner::Keeper1);
         });
     },
     {{Finding::Warning, 2, 2, "the Heart block starting here has more than one owner"}}},
    {"HeartBlockMissingACorner",
     [] {
         return map(7, 7, [](TestMap& m) {
             m.fill(2, 2, 5, 5, Terrain::Heart, Owner::Player);
             m.set(6, 6, Terrain::ClaimedDirt, Owner::Player);
         });
     },
     {{Finding::Warning, 2, 2,
       "Heart region of 24 cells starting here is not made of whole 5 x 5 blocks"}}},
    {"HeartOfTwentyFiveCellsInAStrip",
     [] {
         return map(27, 3, [](TestMap& m) { m.fill(2, 2, 1, 25, Terrain::Heart, Owner::Player); });
     },
     {{Finding::Warning, 2, 2, "Heart region of 25 cells"}}},
    {"OverlappingHeartBlocksAndASingleCell",
     [] {
         return map(12, 12, [](TestMap& m) {
             m.fill(2, 2, 5, 5, Terrain::Heart, Owner::Player);
             m.fill(4, 4, 5, 5, Terrain::Heart, Owner::Player);
             m.set(10, 10, Terrain::Heart, Owner::Player);
         });
     },
     {{Finding::Warning, 2, 2, "Heart region of 41 cells"},
      {Finding::Warning, 10, 10, "Heart region of 1 cells"}}},
};

class MapLintTest : public testing::TestWithParam<LintCase>
{
};

TEST_P(MapLintTest, ReportsExactlyTheExpectedFindings)
{
    const LintCase& c = GetParam();
    const std::vector<Finding> findings = lintMap(mapFileOf(c.bytes()));
    std::string found;
    for (const Finding& f : findings)
        found += cellLabel(f.row, f.column).toStdString() + ": " + f.message.toStdString() + '\n';
    ASSERT_EQ(findings.size(), c.expected.size()) << found;
    for (const Expected& e : c.expected) {
        const auto match = std::find_if(findings.begin(), findings.end(), [&](const Finding& f) {
            return f.severity == e.severity && f.row == e.row && f.column == e.column &&
                   f.message.contains(QLatin1String(e.text));
        });
        EXPECT_NE(match, findings.end()) << "missing: " << e.text << "\nfound:\n" << found;
    }
}

INSTANTIATE_TEST_SUITE_P(Maps, MapLintTest, testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
