#include "document/ProfileFile.h"
#include "tests/support/FileFaults.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

using namespace delvard;

namespace {

// A literal with its zero bytes, all but the terminating one.
template <std::size_t N> QByteArray raw(const char (&text)[N])
{
    return QByteArray(text, qsizetype(N - 1));
}

struct Read
{
    std::optional<QByteArray> file; // nullopt: no file at all
    qsizetype bufferSize;
    QByteArray expected; // of [Paths] Map, with "dflt" as the default
};

using ProfileFileRead = ::testing::TestWithParam<Read>;

struct Write
{
    std::optional<QByteArray> before; // nullopt: no file yet
    QByteArray value;                 // for [Paths] Map
    QByteArray after;                 // "\n" is the platform's line end for a new file
};

using ProfileFileWrite = ::testing::TestWithParam<Write>;

} // namespace

// Read as Windows' profile functions read: names without regard to ASCII
// case and spacing, comments and other sections skipped, quotes removed,
// the first entry winning, a value cut to the buffer (never inside a UTF-8
// character), and a damaged file never handing out a value it does not hold.
TEST_P(ProfileFileRead, GivesTheValueOrTheDefault)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Delvard.ini"));
    if (GetParam().file)
        writeAll(path, *GetParam().file);
    const auto result = ProfileFile::read("Paths", "Map", "dflt", GetParam().bufferSize, path);
    EXPECT_EQ(result.value, GetParam().expected);
    EXPECT_EQ(result.copied, GetParam().expected.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileFileRead,
    ::testing::Values(
        Read{std::nullopt, 255, "dflt"},
        Read{QByteArray("Map=outside\n[Paths]\nMapX=x\n;Map=old\n[Other]\nMap=x\n"), 255, "dflt"},
        Read{QByteArray("\xEF\xBB\xBF  [  pATHS  ] \r\n\t mAp \t=  \"  a=b  \"  \r\nMap=2"), 255,
             "  a=b  "},
        Read{QByteArray("[Paths]\nMap=\"\"\n"), 255, ""},
        Read{QByteArray("[Paths\nMap=x\n"), 255, "dflt"},
        Read{raw("[Paths]\nMa\0p=x\n[Paths\0]\nMap=y\n"), 255, "dflt"},
        Read{raw("\xFF\xFE\x00[\x80]\n\xC3\x28=\xFF\n[Paths]\n\x01\x02\nMap=ok\n\xFF"), 255, "ok"},
        Read{std::nullopt, 4, "dfl"}, Read{QByteArray("[Paths]\nMap=abc\n"), 4, "abc"},
        Read{QByteArray("[Paths]\nMap=ab\xC3\xA9z\n"), 4, "ab"},
        Read{QByteArray("[Paths]\nMap=a\xE2\x82\xACz\n"), 5, "a\xE2\x82\xAC"}));

// Only the entry changes: every other line keeps its bytes and the file its
// line ends; a value that reading would change is quoted.
TEST_P(ProfileFileWrite, ChangesOnlyTheEntry)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Delvard.ini"));
    QByteArray expected = GetParam().after;
    if (GetParam().before)
        writeAll(path, *GetParam().before);
#ifdef Q_OS_WIN
    if (!GetParam().before)
        expected.replace("\n", "\r\n");
#endif
    const auto result = ProfileFile::write("Paths", "Map", GetParam().value, path);
    ASSERT_TRUE(result.ok) << result.problem.toStdString();
    EXPECT_EQ(readAll(path), expected);
    EXPECT_EQ(ProfileFile::read("Paths", "Map", "dflt", 1000, path).value, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileFileWrite,
    ::testing::Values(
        Write{std::nullopt, "/home/me/maps", "[Paths]\nMap=/home/me/maps\n"},
        Write{QByteArray("[Other]\nA=1"), " /m ", "[Other]\nA=1\n\n[Paths]\nMap=\" /m \"\n"},
        Write{QByteArray("[Paths]\r\nOld=1\r\n\r\n[B]\r\n"), "\"/m\"",
              "[Paths]\r\nOld=1\r\nMap=\"\"/m\"\"\r\n\r\n[B]\r\n"},
        Write{QByteArray("[Paths]\r\nMap=old\r\nZ=1\r\n"), "/new",
              "[Paths]\r\nMap=/new\r\nZ=1\r\n"},
        Write{raw("\x00\xFF junk\n[Other]\n  B  =  2  \n[paths]\n  map =  old \nZ=1"), "/new",
              raw("\x00\xFF junk\n[Other]\n  B  =  2  \n[paths]\n  map =  /new\nZ=1")}));

TEST(ProfileFileWrite, RefusesWhatCannotBeStoredAndKeepsTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Delvard.ini"));
    const QByteArray before("[Paths]\nMap=/old\n");
    writeAll(path, before);
    const QByteArray refused[][3] = {{"Paths", "Map", "/a\n[Evil]\nX=1"},
                                     {"Paths", "Map", "/a\r"},
                                     {"Paths", "Map", raw("/a\0b")},
                                     {"Paths", "Ma=p", "/a"},
                                     {"Paths", ";Map", "/a"},
                                     {"Paths", "  ", "/a"},
                                     {"", "Map", "/a"},
                                     {"Pa\nths", "Map", "/a"}};
    for (const auto& r : refused) {
        const auto result = ProfileFile::write(r[0], r[1], r[2], path);
        EXPECT_FALSE(result.ok) << r[1].constData();
        EXPECT_TRUE(result.problem.contains(QDir::toNativeSeparators(path)));
    }
    EXPECT_EQ(readAll(path), before);
}
