// What git is given for maps: their text for git diff, the three-way merge
// unit by unit (on bytes made here), the line of .gitattributes that hands
// map files to both, and the program's path. (Their use through git is among
// the documented examples.)

#include "delvard-map/git/GitAttributes.h"
#include "document/MapFormat.h"
#include "document/MapMerge.h"
#include "document/MapText.h"
#include "tests/delvard-map/RunProgram.h"
#include "tests/document/MapBytes.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace delvard;

namespace {

// A 3 x 2 map of Rock owned by Neutral, records as the editor writes them.
std::string baseMap(const std::string& trailing = "END")
{
    std::string bytes = mapBytes(3, 2, {}, trailing);
    for (int k = 0; k < 6; ++k)
        bytes.insert(HeaderSize, "\x02\x02\x01\x01");
    return bytes;
}

std::string withByte(std::string bytes, std::size_t offset, char value)
{
    bytes.replace(offset, 1, 1, value); // operator[] makes GCC 12 see a write past a short string
    return bytes;
}

// Record k's byte i.
constexpr std::size_t at(std::size_t k, std::size_t i = 0)
{
    return HeaderSize + k * RecordSize + i;
}

} // namespace

// What git's diff relies on: no two files give the same text.
// Unknown codes (the first cell's terrain, before any known one), records
// whose unread bytes are not 01 01, a tail longer than a line of hex; a map
// without width; files cut short.
TEST(MapText, EveryByteOfEveryKindOfFileShows)
{
    const std::string odd = mapBytes(3, 2,
                                     {{0x30, 0x03, 1, 1},
                                      {0x0B, 0x04, 0, 0},
                                      {0x1E, 0x09, 1, 1},
                                      {0x0E, 0x03, 1, 7},
                                      {0x27, 0xFF, 0xFF, 1},
                                      {0x23, 0x01, 1, 1}},
                                     "tail: forty bytes that no reader reads..");
    const std::string files[] = {odd, mapBytes(0, 5, {{0x02, 0x02, 1, 1}}, "xy"), odd.substr(0, 50),
                                 odd.substr(0, 20)};
    for (const std::string& bytes : files) {
        const std::string text = mapText(bytes);
        EXPECT_EQ(text.find('\r'), std::string::npos);
        for (std::size_t offset = 0; offset < bytes.size(); ++offset) {
            std::string changed = bytes;
            changed[offset] = static_cast<char>(changed[offset] ^ 0x40);
            EXPECT_NE(mapText(changed), text) << "byte " << offset << " of " << bytes.size();
        }
        EXPECT_NE(mapText(bytes + '\0'), text);
    }
}

TEST(MapMerge, AUnitChangedOnOneSideOrAlikeOnBothTakesTheChange)
{
    const std::string base = baseMap();
    const struct
    {
        const char* what;
        std::string ours;
        std::string theirs;
        std::string merged;
    } cases[] = {
        {"different cells", withByte(base, at(0), 0x0B), withByte(base, at(5, 1), 0x04),
         withByte(withByte(base, at(0), 0x0B), at(5, 1), 0x04)},
        {"the same cell alike", withByte(base, at(2), 0x0E), withByte(base, at(2), 0x0E),
         withByte(base, at(2), 0x0E)},
        {"a cell's unread byte and a header byte", withByte(base, at(1, 3), 0x07),
         withByte(base, 3, 0x55), withByte(withByte(base, 3, 0x55), at(1, 3), 0x07)},
        {"the tail on their side", withByte(base, at(4), 0x03), baseMap("longer tail"),
         withByte(baseMap("longer tail"), at(4), 0x03)},
        {"nothing", base, base, base},
    };
    for (const auto& c : cases) {
        const MapMerge merge = mergeMaps(base, c.ours, c.theirs);
        EXPECT_FALSE(merge.refused) << c.what;
        EXPECT_EQ(merge.merged, c.merged) << c.what;
        EXPECT_TRUE(merge.conflicts.empty()) << c.what;
        // The other way round gives the same map.
        EXPECT_EQ(mergeMaps(base, c.theirs, c.ours).merged, c.merged) << c.what;
    }
}

TEST(MapMerge, UnitsChangedDifferentlyOnBothSidesKeepOursAndAreEachListed)
{
    const std::string base = baseMap();
    // Row 2, column 2 painted differently, a header byte and the tail too;
    // their change to row 1, column 3 still comes in.
    const std::string ours = withByte(withByte(baseMap("OURS"), at(4), 0x0B), 7, 0x10);
    const std::string theirs =
        withByte(withByte(withByte(baseMap("THEIRS"), at(4, 1), 0x05), 7, 0x20), at(2), 0x04);
    const MapMerge merge = mergeMaps(base, ours, theirs);
    ASSERT_FALSE(merge.refused);
    EXPECT_EQ(merge.merged, withByte(ours, at(2), 0x04));
    // Each conflict as its kind, offset, record number and the three versions' bytes.
    using Listed = std::tuple<MergeUnit::Kind, std::size_t, std::size_t, std::string, std::string,
                              std::string>;
    std::vector<Listed> listed;
    for (const MergeConflict& c : merge.conflicts)
        listed.emplace_back(c.unit.kind, c.unit.offset, c.unit.record, c.base, c.ours, c.theirs);
    const auto record4 = [](const std::string& bytes) { return bytes.substr(at(4), 4); };
    EXPECT_EQ(listed,
              (std::vector<Listed>{{MergeUnit::Kind::HeaderByte, 7, 0, "\x07", "\x10", "\x20"},
                                   {MergeUnit::Kind::Record, at(4), 4, record4(base), record4(ours),
                                    record4(theirs)},
                                   {MergeUnit::Kind::Tail, at(6), 0, "END", "OURS", "THEIRS"}}));
}

TEST(MapMerge, VersionsOfAnotherSizeOrNotWholeAreRefused)
{
    const std::string base = baseMap();
    const std::string wider = withByte(base, WidthOffset, 2); // 2 x 2: records 5 and 6 are a tail
    const std::string cut = base.substr(0, at(4));
    for (const auto& [ours, theirs] : {std::pair{wider, base}, std::pair{base, wider},
                                       std::pair{wider, wider}, std::pair{cut, base}}) {
        const MapMerge merge = mergeMaps(base, ours, theirs);
        EXPECT_TRUE(merge.refused);
        EXPECT_TRUE(merge.merged.empty());
    }
}

TEST(MapMerge, AMapWithoutWidthMergesItsOneRecord)
{
    const std::string base = mapBytes(0, 4, {{0x02, 0x02, 1, 1}}, "xyz");
    const MapMerge merge = mergeMaps(base, withByte(base, at(0), 0x03), withByte(base, at(1), 'X'));
    ASSERT_FALSE(merge.refused);
    EXPECT_EQ(merge.merged, withByte(withByte(base, at(0), 0x03), at(1), 'X'));
}

TEST(GitAttributes, TheLineIsAddedOnceInTheFilesOwnLineEnds)
{
    const std::string line(MapAttributesLine);
    const struct
    {
        std::string before;
        std::string after;
    } added[] = {
        {"", line + "\n"},
        {"*.png binary\n", "*.png binary\n" + line + "\n"},
        {"*.png binary", "*.png binary\n" + line + "\n"},
        {"*.png binary\r\n*.txt text\r\n", "*.png binary\r\n*.txt text\r\n" + line + "\r\n"},
        // Another rule for the same names: ours, added after it, wins.
        {"*[mM][aA][pP].[kK][lL][dD] diff=other\n",
         "*[mM][aA][pP].[kK][lL][dD] diff=other\n" + line + "\n"},
        {"# " + line + "\n", "# " + line + "\n" + line + "\n"},
    };
    for (const auto& c : added) {
        const auto result = withMapAttributes(c.before);
        ASSERT_TRUE(result.has_value()) << c.before;
        EXPECT_EQ(*result, c.after);
        EXPECT_FALSE(withMapAttributes(*result).has_value()) << *result;
    }
    for (const std::string& present :
         {line, "*.png binary\n" + line + "\n*.txt text\n", "  " + line + " \r\n"})
        EXPECT_FALSE(withMapAttributes(present).has_value()) << present;
}

// git runs delvard-map by its path as the system holds it: a byte that is
// not UTF-8, a line break, a quote for the shell and a % for git's driver.
TEST(GitSetup, GitDiffsAndMergesWithTheProgramInAFolderOfAnyName)
{
    Scratch scratch;
    const RunResult run = scratch.shell(QStringLiteral(R"(bin=$PWD/$(printf "b\377\nit's %%O")
trap 'rm -rf "$bin" "${bin%/*}/r"' EXIT
export HOME=$PWD GIT_CONFIG_NOSYSTEM=1 GIT_AUTHOR_NAME=A GIT_AUTHOR_EMAIL=a@b GIT_COMMITTER_NAME=A \
  GIT_COMMITTER_EMAIL=a@b
mkdir "$bin" && cp "$MAP" "$bin/" && git init -q -b main r && cd r && cp "$SAMPLE" aMap.kld
"$bin/delvard-map" git-setup >/dev/null && git add . && git commit -qm 1 && git checkout -qb side
printf '\x04' | dd of=aMap.kld bs=1 seek=36 conv=notrunc 2>/dev/null && git commit -qam 2
git checkout -q main && printf '\x06' | dd of=aMap.kld bs=1 seek=40 conv=notrunc 2>/dev/null
git commit -qam 3 && git merge -q --no-edit side && git diff HEAD~2 HEAD | grep '^[-+]row')"));
    EXPECT_EQ(run.out.toStdString(), "Auto-merging aMap.kld\n"
                                     "-row 1, column 1: Rock, Neutral [00 00]\n"
                                     "-row 1, column 2: Rock, Neutral\n"
                                     "+row 1, column 1: Water, Neutral [00 00]\n"
                                     "+row 1, column 2: Gold, Neutral\n")
        << run.err.toStdString();
}
