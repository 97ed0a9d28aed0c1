#include "MapLint.h"
#include "TestMaps.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr int Heart = 1;
constexpr int Treasury = 3;
constexpr int OwnedRock = 20;
constexpr int SoldRock = 21;
constexpr int Gold = 26;
constexpr int HeroGate3 = 30;
constexpr int HeroRest = 34;
constexpr int Hero = 1;
constexpr int Neutral = 2;
constexpr int Player = 3;
constexpr int Keeper1 = 4;

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

QByteArray map(int w, int h, const std::function<void(TestMap&)>& edit = {})
{
    TestMap m(w, h);
    if (edit)
        edit(m);
    return m.bytes();
}

const LintCase Cases[] = {
    {"CleanMap", [] { return map(8, 6); }, {}},
    {"TooShortForHeader",
     [] { return QByteArray(10, '\x02'); },
     {{Finding::Error, 0, 0, "10 bytes long, too short for the 36-byte map header"}}},
    {"EmptyFile", [] { return QByteArray(); }, {{Finding::Error, 0, 0, "0 bytes long"}}},
    {"TruncatedBody",
     [] { return map(4, 3).left(36 + 4 * 7 + 2); },
     {{Finding::Error, 0, 0, "12 cell records were expected, but the file holds only 7"}}},
    {"WidthZero",
     [] { return map(0, 5); },
     {{Finding::Error, 0, 0, "0 x 5 cells; the editor still shows one cell"}}},
    {"HeightZero", [] { return map(3, 0); }, {{Finding::Error, 0, 0, "3 x 0 cells"}}},
    {"UnknownTerrainInFirstRecord",
     [] { return map(5, 4, [](TestMap& m) { m.setBytes(1, 1, 0x30, Neutral); }); },
     {{Finding::Error, 1, 1, "unknown terrain code 0x30; no earlier cell"}}},
    {"UnknownOwnerLater",
     [] { return map(5, 4, [](TestMap& m) { m.setBytes(3, 2, 0x03, 0x09); }); },
     {{Finding::Error, 3, 2, "unknown owner code 0x09; the editor shows Neutral"}}},
    {"UnknownTerrainShowsCellBefore",
     [] {
         return map(5, 4, [](TestMap& m) {
             m.set(2, 2, Treasury, Player);
             m.setBytes(2, 3, 0x1B, Player);
         });
     },
     {{Finding::Error, 2, 3, "unknown terrain code 0x1B; the editor shows Treasury"}}},
    {"DirtOnTheRing",
     [] { return map(5, 4, [](TestMap& m) { m.set(4, 3, 23, Neutral); }); },
     {{Finding::Warning, 4, 3, "Dirt on the outer ring"}}},
    {"OwnedAndSoldRockAreRockLike",
     [] {
         return map(5, 4, [](TestMap& m) {
             m.set(1, 2, OwnedRock, Keeper1);
             m.set(1, 3, SoldRock, Neutral);
         });
     },
     {}},
    {"HeroGateNotOwnedByHero",
     [] {
         return map(6, 5, [](TestMap& m) {
             m.set(2, 2, HeroGate3, Keeper1);
             m.set(2, 3, HeroRest, Hero);
         });
     },
     {{Finding::Warning, 2, 2, "Hero Gate 3 owned by Keeper 1"}}},
    {"GoldNotOwnedByNeutral",
     [] { return map(6, 5, [](TestMap& m) { m.set(3, 4, Gold, Player); }); },
     {{Finding::Warning, 3, 4, "Gold owned by Player"}}},
    {"RockOnTheRingOwnedByAKeeper",
     [] { return map(6, 5, [](TestMap& m) { m.set(5, 6, 22, Keeper1); }); },
     {{Finding::Warning, 5, 6, "Rock owned by Keeper 1"}}},
    {"WholeHeartBlock",
     [] { return map(7, 7, [](TestMap& m) { m.fill(2, 2, 5, 5, Heart, Player); }); },
     {}},
    {"TwoHeartBlocksSideBySide",
     [] { return map(12, 7, [](TestMap& m) { m.fill(2, 2, 5, 10, Heart, Keeper1); }); },
     {}},
    {"HeartBlockWithTwoOwners",
     [] {
         return map(7, 7, [](TestMap& m) {
             m.fill(2, 2, 5, 5, Heart, Player);
             m.set(6, 6, Heart, Keeper1);
         });
     },
     {{Finding::Warning, 2, 2, "Heart block starting here has more than one owner"}}},
    {"HeartBlockMissingACorner",
     [] {
         return map(7, 7, [](TestMap& m) {
             m.fill(2, 2, 5, 5, Heart, Player);
             m.set(6, 6, 19, Player);
         });
     },
     {{Finding::Warning, 2, 2, "Heart region of 24 cells"}}},
    {"HeartOfTwentyFiveCellsInAStrip",
     [] { return map(27, 3, [](TestMap& m) { m.fill(2, 2, 1, 25, Heart, Player); }); },
     {{Finding::Warning, 2, 2, "not made of whole 5 x 5 blocks"}}},
    {"OverlappingHeartBlocks",
     [] {
         return map(10, 10, [](TestMap& m) {
             m.fill(2, 2, 5, 5, Heart, Player);
             m.fill(4, 4, 5, 5, Heart, Player);
         });
     },
     {{Finding::Warning, 2, 2, "Heart region of 41 cells"}}},
    {"SingleHeartCell",
     [] { return map(5, 5, [](TestMap& m) { m.set(3, 3, Heart, Player); }); },
     {{Finding::Warning, 3, 3, "Heart region of 1 cells"}}},
};

class MapLintTest : public testing::TestWithParam<LintCase>
{
};

TEST_P(MapLintTest, ReportsExactlyTheExpectedFindings)
{
    const LintCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("caseMap.kld"));
    {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(c.bytes());
    }
    const std::vector<Finding> findings = lintMap(loadMapFile(path));
    ASSERT_EQ(findings.size(), c.expected.size());
    for (const Expected& e : c.expected) {
        const auto match = std::find_if(findings.begin(), findings.end(), [&](const Finding& f) {
            return f.severity == e.severity && f.row == e.row && f.column == e.column &&
                   f.message.contains(QLatin1String(e.text));
        });
        EXPECT_NE(match, findings.end())
            << "missing: " << e.text
            << "\nfirst finding: " << findings.front().message.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Maps, MapLintTest, testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MapLintFileTest, MissingFileIsAnErrorNamingTheReason)
{
    QTemporaryDir dir;
    const std::vector<Finding> findings =
        lintMap(loadMapFile(dir.filePath(QStringLiteral("goneMap.kld"))));
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].severity, Finding::Error);
    EXPECT_TRUE(findings[0].message.contains(QLatin1String("does not exist")))
        << findings[0].message.toStdString();
}

TEST(MapLintFileTest, FolderIsNotTakenForAnEmptyFile)
{
    QTemporaryDir dir;
    const std::vector<Finding> findings = lintMap(loadMapFile(dir.path()));
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_TRUE(findings[0].message.contains(QLatin1String("folder")));
}

} // namespace
