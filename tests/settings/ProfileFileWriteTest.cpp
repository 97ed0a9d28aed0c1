#include "ProfileFile.h"
#include "ReadOnlyPath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

namespace {

#ifdef Q_OS_WIN
const QByteArray NewFileLineEnd = QByteArrayLiteral("\r\n");
#else
const QByteArray NewFileLineEnd = QByteArrayLiteral("\n");
#endif

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

template <std::size_t N> QByteArray raw(const char (&text)[N])
{
    return QByteArray(text, qsizetype(N - 1));
}

struct WriteCase
{
    const char* name;
    std::optional<QByteArray> before; // nullopt: no file yet
    QByteArray section;
    QByteArray key;
    QByteArray value;
    QByteArray after; // "\n" stands for the platform's line end when there was no file
};

void PrintTo(const WriteCase& c, std::ostream* os)
{
    *os << c.name;
}

const WriteCase writeCases[] = {
    {"NewFile", std::nullopt, "Paths", "Map", "/home/me/maps", "[Paths]\nMap=/home/me/maps\n"},
    {"EmptyFile", QByteArray(), "Paths", "Map", "/m", "[Paths]\nMap=/m\n"},
    {"NewSectionAtEnd", QByteArray("[Other]\nA=1\n"), "Paths", "Map", "/m",
     "[Other]\nA=1\n\n[Paths]\nMap=/m\n"},
    {"NewSectionAfterUnterminatedLine", QByteArray("[Other]\nA=1"), "Paths", "Map", "/m",
     "[Other]\nA=1\n\n[Paths]\nMap=/m\n"},
    {"NewSectionAfterBlankLine", QByteArray("[Other]\nA=1\n\n"), "Paths", "Map", "/m",
     "[Other]\nA=1\n\n[Paths]\nMap=/m\n"},
    {"NewKeyAfterLastLineOfSection", QByteArray("[Paths]\nOld=1\n\n\n[Other]\nB=2\n"), "Paths",
     "Map", "/m", "[Paths]\nOld=1\nMap=/m\n\n\n[Other]\nB=2\n"},
    {"NewKeyInEmptySection", QByteArray("[Paths]\n[Other]\nB=2\n"), "Paths", "Map", "/m",
     "[Paths]\nMap=/m\n[Other]\nB=2\n"},
    {"NewKeyInUnterminatedLastSection", QByteArray("[Paths]\nA=1"), "Paths", "Map", "/m",
     "[Paths]\nA=1\nMap=/m\n"},
    {"NewKeyAfterCommentedKey", QByteArray("[Paths]\n;Map=old\n"), "Paths", "Map", "/m",
     "[Paths]\n;Map=old\nMap=/m\n"},
    {"ReplaceKeepsOtherLinesByteForByte",
     QByteArray("; written by hand\n\n[Other]\n  B  =  2  \n\tunknown line\n[paths]\n  map =  old "
                "value \nLast=1\n;end\n"),
     "Paths", "Map", "/new",
     "; written by hand\n\n[Other]\n  B  =  2  \n\tunknown line\n[paths]\n  map =  /new\nLast=1\n;"
     "end\n"},
    {"ReplaceInRepeatedSection", QByteArray("[Paths]\nA=1\n[X]\n[Paths]\nMap=old\n"), "Paths",
     "Map", "/m", "[Paths]\nA=1\n[X]\n[Paths]\nMap=/m\n"},
    {"CrLfKeptForNewSection", QByteArray("[Other]\r\nA=1\r\n"), "Paths", "Map", "/m",
     "[Other]\r\nA=1\r\n\r\n[Paths]\r\nMap=/m\r\n"},
    {"CrLfKeptForNewKey", QByteArray("[Paths]\r\nA=1\r\n[B]\r\n"), "Paths", "Map", "/m",
     "[Paths]\r\nA=1\r\nMap=/m\r\n[B]\r\n"},
    {"CrLfKeptOnReplace", QByteArray("[Paths]\r\nMap=old\r\nZ=9"), "Paths", "Map", "/m",
     "[Paths]\r\nMap=/m\r\nZ=9"},
    {"LfKeptOnReplace", QByteArray("[Paths]\nMap=C:\\Old\n"), "Paths", "Map", "C:\\New",
     "[Paths]\nMap=C:\\New\n"},
    {"GarbageKept", raw("\x00\xFF junk\n[Paths]\nMap=old\n\x01\x02"), "Paths", "Map", "/m",
     raw("\x00\xFF junk\n[Paths]\nMap=/m\n\x01\x02")},
    {"OuterBlanksQuoted", QByteArray("[Paths]\n"), "Paths", "Map", " /m ",
     "[Paths]\nMap=\" /m \"\n"},
    {"OuterQuotesQuoted", QByteArray("[Paths]\n"), "Paths", "Map", "\"/m\"",
     "[Paths]\nMap=\"\"/m\"\"\n"},
    {"EmptyValue", QByteArray("[Paths]\nMap=old\n"), "Paths", "Map", "", "[Paths]\nMap=\n"},
    {"Utf8Value", QByteArray("[Paths]\n"), "Paths", "Map", "/home/j\xC3\xB6rg",
     "[Paths]\nMap=/home/j\xC3\xB6rg\n"},
};

class ProfileFileWrite : public ::testing::TestWithParam<WriteCase>
{
};

TEST_P(ProfileFileWrite, ChangesOnlyTheEntry)
{
    const WriteCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Delvard.ini"));
    QByteArray expected = c.after;
    if (c.before) {
        ASSERT_TRUE(writeAll(path, *c.before));
    }
    if (!c.before || c.before->isEmpty())
        expected.replace("\n", NewFileLineEnd);

    const ProfileFile::WriteResult result = ProfileFile::write(c.section, c.key, c.value, path);
    ASSERT_TRUE(result.ok) << result.problem.toStdString();
    EXPECT_TRUE(result.problem.isEmpty());
    EXPECT_EQ(readAll(path), expected);
    EXPECT_EQ(ProfileFile::read(c.section, c.key, "dflt", 1000, path).value, c.value);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileFileWrite, ::testing::ValuesIn(writeCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct RefusedCase
{
    const char* name;
    QByteArray section;
    QByteArray key;
    QByteArray value;
};

void PrintTo(const RefusedCase& c, std::ostream* os)
{
    *os << c.name;
}

const RefusedCase refusedCases[] = {
    {"LineBreakInValue", "Paths", "Map", "/a\n[Evil]\nX=1"},
    {"CarriageReturnInValue", "Paths", "Map", "/a\r"},
    {"NulInValue", "Paths", "Map", raw("/a\0b")},
    {"EqualsInKey", "Paths", "Ma=p", "/a"},
    {"CommentKey", "Paths", ";Map", "/a"},
    {"EmptyKey", "Paths", "  ", "/a"},
    {"EmptySection", "", "Map", "/a"},
    {"LineBreakInSection", "Pa\nths", "Map", "/a"},
};

class ProfileFileRefused : public ::testing::TestWithParam<RefusedCase>
{
};

TEST_P(ProfileFileRefused, LeavesTheFileAlone)
{
    const RefusedCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Delvard.ini"));
    const QByteArray before("[Paths]\nMap=/old\n");
    ASSERT_TRUE(writeAll(path, before));
    const ProfileFile::WriteResult result = ProfileFile::write(c.section, c.key, c.value, path);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.problem.contains(QDir::toNativeSeparators(path)))
        << result.problem.toStdString();
    EXPECT_EQ(readAll(path), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileFileRefused, ::testing::ValuesIn(refusedCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileFileWrite, FolderInPlaceOfFileIsReported)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Delvard.ini")));
    const QString path = dir.filePath(QStringLiteral("Delvard.ini"));
    const auto result = ProfileFile::write("Paths", "Map", "/a", path);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.problem.contains(QDir::toNativeSeparators(path)));
}

TEST(ProfileFileWrite, ReadOnlyFileIsReportedAndKept)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Delvard.ini"));
    const QByteArray before("[Paths]\nMap=/old\n");
    ASSERT_TRUE(writeAll(path, before));
    ReadOnlyPath readOnly(path);
    if (!readOnly.active())
        GTEST_SKIP() << "cannot make a file read-only here: " << readOnly.why().toStdString();
    const auto result = ProfileFile::write("Paths", "Map", "/new", path);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.problem.contains(QDir::toNativeSeparators(path)))
        << result.problem.toStdString();
    EXPECT_EQ(readAll(path), before);
}

TEST(ProfileFileWrite, WritableFileInReadOnlyFolderIsWrittenInPlace)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Delvard.ini"));
    ASSERT_TRUE(writeAll(path, "[Paths]\nMap=/old\n"));
    ReadOnlyPath readOnly(dir.path());
    if (!readOnly.active())
        GTEST_SKIP() << "cannot make a folder read-only here: " << readOnly.why().toStdString();
    const auto result = ProfileFile::write("Paths", "Map", "/new", path);
    ASSERT_TRUE(result.ok) << result.problem.toStdString();
    EXPECT_EQ(readAll(path), QByteArray("[Paths]\nMap=/new\n"));
}

TEST(ProfileFileWrite, NoFileInReadOnlyFolderIsReported)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Delvard.ini"));
    ReadOnlyPath readOnly(dir.path());
    if (!readOnly.active())
        GTEST_SKIP() << "cannot make a folder read-only here: " << readOnly.why().toStdString();
    const auto result = ProfileFile::write("Paths", "Map", "/new", path);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.problem.contains(QDir::toNativeSeparators(path)))
        << result.problem.toStdString();
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
