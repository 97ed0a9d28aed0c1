#include "MapFileStore.h"
#include "ScratchMount.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace delvard;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

QByteArray pattern(int size, char seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(seed + i % 97);
    return bytes;
}

} // namespace

TEST(ReadWholeFile, RefusesWhatIsNotAReadableFileWithoutCreatingIt)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missingMap.kld"));
    FileReadResult read = readWholeFile(missing);
    EXPECT_FALSE(read.ok);
    EXPECT_TRUE(read.reason.contains(QStringLiteral("does not exist")));
    EXPECT_FALSE(QFile::exists(missing));

    read = readWholeFile(dir.path());
    EXPECT_FALSE(read.ok);
    EXPECT_TRUE(read.reason.contains(QStringLiteral("folder")));

    read = readWholeFile(QString());
    EXPECT_FALSE(read.ok);

    const QString file = dir.filePath(QStringLiteral("aMap.kld"));
    ASSERT_TRUE(writeAll(file, "bytes"));
    read = readWholeFile(file);
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.bytes, QByteArray("bytes"));
}

TEST(WriteOverFront, KeepsTheBytesBeyondTheNewContentAndThePermissions)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("aMap.kld"));
    ASSERT_TRUE(writeAll(file, "0123456789tail"));
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                    QFileDevice::ReadGroup);
    const FileWriteResult written = writeOverFront(file, "ABCDEFGHIJ");
    ASSERT_TRUE(written.ok) << written.reason.toStdString();
    EXPECT_EQ(readAll(file), QByteArray("ABCDEFGHIJtail"));
    // Owner, group and others; the "user" bits only mirror the owner's for us.
    const auto mask = QFileDevice::Permissions::fromInt(0x7077);
    EXPECT_EQ(QFileInfo(file).permissions() & mask,
              (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup) & mask);
}

TEST(WriteOverFront, RefusesAMissingFileOrAFolderAndCreatesNothing)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("goneMap.kld"));
    FileWriteResult written = writeOverFront(missing, "x");
    EXPECT_FALSE(written.ok);
    EXPECT_TRUE(written.reason.contains(QStringLiteral("does not exist")));
    EXPECT_FALSE(QFile::exists(missing));

    written = writeOverFront(dir.path(), "x");
    EXPECT_FALSE(written.ok);
    EXPECT_TRUE(written.reason.contains(QStringLiteral("folder")));
}

TEST(WriteOverFront, ReportsAReadOnlyFileAndLeavesItWhole)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("aMap.kld"));
    const QByteArray original = pattern(5000, 'a');
    ASSERT_TRUE(writeAll(file, original));
    const Immutable readOnly(file);
    if (!readOnly.active())
        GTEST_SKIP() << "chattr +i does not work here";
    const FileWriteResult written = writeOverFront(file, pattern(5000, 'b'));
    EXPECT_FALSE(written.ok);
    EXPECT_TRUE(written.reason.contains(QStringLiteral("read-only")))
        << written.reason.toStdString();
    EXPECT_EQ(readAll(file), original);
}

TEST(WriteOverFront, WritesInPlaceWhenTheFolderForbidsATemporaryFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("maps")));
    const QString folder = dir.filePath(QStringLiteral("maps"));
    const QString file = folder + QStringLiteral("/aMap.kld");
    ASSERT_TRUE(writeAll(file, pattern(3000, 'a') + "tail"));
    const Immutable readOnlyFolder(folder);
    if (!readOnlyFolder.active())
        GTEST_SKIP() << "chattr +i does not work here";
    const QByteArray content = pattern(3000, 'z');
    const FileWriteResult written = writeOverFront(file, content);
    EXPECT_TRUE(written.ok) << written.reason.toStdString();
    EXPECT_EQ(readAll(file), content + "tail");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("aMap.kld")});
}

class FullDisk : public ::testing::TestWithParam<int>
{
};

// A small map fits in Qt's write buffer, so its failure only shows when the
// buffer is flushed; a large one fails while it is written.
INSTANTIATE_TEST_SUITE_P(MapSizes, FullDisk, ::testing::Values(356, 60000));

TEST_P(FullDisk, IsReportedAndTheMapKeepsEveryByte)
{
    const ScratchMount disk(256);
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
    const QString file = disk.path() + QStringLiteral("/aMap.kld");
    const QByteArray original = pattern(GetParam(), 'a');
    ASSERT_TRUE(writeAll(file, original));
    disk.fill();

    const FileWriteResult written = writeOverFront(file, pattern(GetParam(), 'q'));
    EXPECT_FALSE(written.ok);
    EXPECT_FALSE(written.reason.isEmpty());
    EXPECT_EQ(readAll(file), original);
    // No temporary file is left behind to fill the disk further.
    const QStringList maps = QDir(disk.path()).entryList({QStringLiteral("*.kld*")}, QDir::Files);
    EXPECT_EQ(maps, QStringList{QStringLiteral("aMap.kld")});
}
