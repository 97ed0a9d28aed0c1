#include "ProfileFile.h"
#include "SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

namespace {

struct ReadCase
{
    const char* name;
    std::optional<QByteArray> file; // nullopt: no file at all
    QByteArray section;
    QByteArray key;
    QByteArray defaultValue;
    qsizetype bufferSize;
    QByteArray expected;
};

void PrintTo(const ReadCase& c, std::ostream* os)
{
    *os << c.name;
}

// A literal with its zero bytes, all but the terminating one.
template <std::size_t N> QByteArray raw(const char (&text)[N])
{
    return QByteArray(text, qsizetype(N - 1));
}

const ReadCase readCases[] = {
    {"MissingFile", std::nullopt, "Paths", "Map", "dflt", 255, "dflt"},
    {"MissingSection", QByteArray("[Other]\nMap=x\n"), "Paths", "Map", "dflt", 255, "dflt"},
    {"MissingKey", QByteArray("[Paths]\nMapX=x\nXMap=y\n"), "Paths", "Map", "dflt", 255, "dflt"},
    {"EmptyFile", QByteArray(), "Paths", "Map", "dflt", 255, "dflt"},
    {"PlainEntry", QByteArray("[Paths]\nMap=/home/me/maps\n"), "Paths", "Map", "", 255,
     "/home/me/maps"},
    {"NamesIgnoreCase", QByteArray("[pATHS]\nmAp=x\n"), "Paths", "Map", "", 255, "x"},
    {"SpacesAroundNamesAndValue", QByteArray("  [  Paths  ]  \n\t Map \t=   C:\\Maps  \t\n"),
     "Paths", "Map", "", 255, "C:\\Maps"},
    {"QuotesRemoved", QByteArray("[Paths]\nMap=\"  C:\\My Maps  \"\n"), "Paths", "Map", "", 255,
     "  C:\\My Maps  "},
    {"UnmatchedQuoteKept", QByteArray("[Paths]\nMap=\"C:\\Maps\n"), "Paths", "Map", "", 255,
     "\"C:\\Maps"},
    {"EmptyValueIsNotDefault", QByteArray("[Paths]\nMap=\n"), "Paths", "Map", "dflt", 255, ""},
    {"EqualsInValue", QByteArray("[Paths]\nMap=a=b\n"), "Paths", "Map", "", 255, "a=b"},
    {"CommentedEntryIgnored", QByteArray("[Paths]\n;Map=old\n  ; Map=older\nMap=new\n"), "Paths",
     "Map", "", 255, "new"},
    {"CommentedSectionIgnored", QByteArray(";[Paths]\nMap=x\n"), "Paths", "Map", "dflt", 255,
     "dflt"},
    {"EntryBeforeAnySectionIgnored", QByteArray("Map=outside\n[Paths]\nOther=1\n"), "Paths", "Map",
     "dflt", 255, "dflt"},
    {"EntryOfAnotherSectionIgnored", QByteArray("[Paths]\nA=1\n[Other]\nMap=x\n"), "Paths", "Map",
     "dflt", 255, "dflt"},
    {"FirstOfTwoEntriesWins", QByteArray("[Paths]\nMap=first\nMap=second\n"), "Paths", "Map", "",
     255, "first"},
    {"CrLfLineEnds", QByteArray("[Paths]\r\nMap=C:\\Maps\r\nNext=1\r\n"), "Paths", "Map", "", 255,
     "C:\\Maps"},
    {"LastLineWithoutLineEnd", QByteArray("[Paths]\nMap=x"), "Paths", "Map", "", 255, "x"},
    {"ByteOrderMarkBeforeSection", QByteArray("\xEF\xBB\xBF[Paths]\nMap=x\n"), "Paths", "Map", "",
     255, "x"},
    {"TextAfterSectionBracket", QByteArray("[Paths] old\nMap=x\n"), "Paths", "Map", "", 255, "x"},
    {"LineWithoutEqualsNeverMatches", QByteArray("[Paths]\nMap\nMap x\n"), "Paths", "Map", "dflt",
     255, "dflt"},
    {"NulInKeyNeverMatches", raw("[Paths]\nMa\0p=x\nMap\0=y\n"), "Paths", "Map", "dflt", 255,
     "dflt"},
    {"NulInSectionNeverMatches", raw("[Pa\0ths]\nMap=x\n[Paths\0]\nMap=y\n"), "Paths", "Map",
     "dflt", 255, "dflt"},
    {"NulInValueKept", raw("[Paths]\nMap=a\0b\n"), "Paths", "Map", "", 255, raw("a\0b")},
    {"BinaryGarbageAround",
     raw("\xFF\xFE\x00\x01[\x80]\n\xC3\x28=\xFF\n[Paths]\n\x01\x02\x03\nMap=ok\n\xFF"), "Paths",
     "Map", "", 255, "ok"},
    {"UnclosedSectionIsNoSection", QByteArray("[Paths\nMap=x\n"), "Paths", "Map", "dflt", 255,
     "dflt"},
    {"LatinCaseNotFolded", QByteArray("[Paths]\n\xC3\x89t\xC3\xA9=x\n"), "Paths",
     "\xC3\xA9t\xC3\xA9", "dflt", 255, "dflt"},
    {"CutToBuffer", QByteArray("[Paths]\nMap=abcdef\n"), "Paths", "Map", "", 4, "abc"},
    {"DefaultCutToo", std::nullopt, "Paths", "Map", "default", 4, "def"},
    {"NoRoomAtAll", QByteArray("[Paths]\nMap=abc\n"), "Paths", "Map", "", 0, ""},
    {"ValueFillsBufferExactly", QByteArray("[Paths]\nMap=abc\n"), "Paths", "Map", "", 4, "abc"},
    {"CutInsideTwoByteCharacter", QByteArray("[Paths]\nMap=ab\xC3\xA9z\n"), "Paths", "Map", "", 4,
     "ab"},
    {"CutInsideThreeByteCharacter", QByteArray("[Paths]\nMap=a\xE2\x82\xACz\n"), "Paths", "Map", "",
     4, "a"},
    {"CutAfterWholeCharacter", QByteArray("[Paths]\nMap=a\xE2\x82\xACz\n"), "Paths", "Map", "", 5,
     "a\xE2\x82\xAC"},
    {"CutInsideFourByteCharacter", QByteArray("[Paths]\nMap=\xF0\x9F\x97\xBAz\n"), "Paths", "Map",
     "", 4, ""},
};

class ProfileFileRead : public ::testing::TestWithParam<ReadCase>
{
};

TEST_P(ProfileFileRead, GivesValueOrDefault)
{
    const ReadCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Delvard.ini"));
    if (c.file) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(*c.file), c.file->size());
    }
    const ProfileFile::ReadResult result =
        ProfileFile::read(c.section, c.key, c.defaultValue, c.bufferSize, path);
    EXPECT_EQ(result.value, c.expected);
    EXPECT_EQ(result.copied, c.expected.size());
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileFileRead, ::testing::ValuesIn(readCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileFileRead, FolderInPlaceOfFileGivesDefault)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Delvard.ini")));
    const auto result =
        ProfileFile::read("Paths", "Map", "dflt", 255, dir.filePath(QStringLiteral("Delvard.ini")));
    EXPECT_EQ(result.value, QByteArray("dflt"));
}

// readIniValue reads through a buffer of 255, so 254 bytes come back.
struct IniValueCase
{
    const char* name;
    QString stored;
    QString expected;
};

void PrintTo(const IniValueCase& c, std::ostream* os)
{
    *os << c.name;
}

const QString a300 = QString(300, QLatin1Char('a'));

const IniValueCase iniValueCases[] = {
    {"Short", QStringLiteral("/home/me/maps"), QStringLiteral("/home/me/maps")},
    {"Exactly254", a300.left(254), a300.left(254)},
    {"Of255CutTo254", a300.left(255), a300.left(254)},
    {"Of300CutTo254", a300, a300.left(254)},
    {"NonAsciiKeptWhole", QString::fromUtf8("/home/j\xC3\xB6rg/karten"),
     QString::fromUtf8("/home/j\xC3\xB6rg/karten")},
    // 253 letters and a two-byte letter: byte 254 is half of it, so it goes.
    {"HalfCharacterDropped", a300.left(253) + QString::fromUtf8("\xC3\xA9"), a300.left(253)},
    {"Empty", QString(), QString()},
};

class readIniValueCut : public ::testing::TestWithParam<IniValueCase>
{
};

TEST_P(readIniValueCut, ReadsBackAtMost254Bytes)
{
    const IniValueCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Delvard.ini"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Other]\nMap=wrong\n[Paths]\nMap=" + c.stored.toUtf8() + "\n");
    f.close();
    EXPECT_EQ(readIniValue(QStringLiteral("Paths"), QStringLiteral("Map"), path), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, readIniValueCut, ::testing::ValuesIn(iniValueCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(readIniValue, MissingFileSectionOrKeyGivesEmptyText)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Delvard.ini"));
    EXPECT_EQ(readIniValue(QStringLiteral("Paths"), QStringLiteral("Map"), path), QString());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Paths]\nOther=1\n");
    f.close();
    EXPECT_EQ(readIniValue(QStringLiteral("Paths"), QStringLiteral("Map"), path), QString());
    EXPECT_EQ(readIniValue(QStringLiteral("Nope"), QStringLiteral("Other"), path), QString());
    EXPECT_EQ(readIniValue(QStringLiteral("paths"), QStringLiteral("OTHER"), path),
              QStringLiteral("1"));
}

} // namespace
