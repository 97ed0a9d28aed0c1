#include "MapFileWriter.h"
#include "FileFaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace delvard;

namespace {

QByteArray pattern(int size, char seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(seed + i % 97);
    return bytes;
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
}

ino_t inodeOf(const QString& path)
{
    struct stat info
    {
    };
    ::stat(QFile::encodeName(path), &info);
    return info.st_ino;
}

} // namespace

// A save must keep the file the user opened: every name of it sees the new
// bytes, and it keeps its owner. Nothing is left beside it.
TEST(WriteMapOverFront, KeepsLinksHardLinksAndTheOwner)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("aMap.kld"));
    const QString hard = dir.filePath(QStringLiteral("hardMap.kld"));
    const QString soft = dir.filePath(QStringLiteral("softMap.kld"));
    const QString owned = dir.filePath(QStringLiteral("ownedMap.kld"));
    ASSERT_TRUE(writeAll(file, pattern(500, 'a')));
    ::chmod(QFile::encodeName(file), 0640);
    ASSERT_EQ(::link(QFile::encodeName(file), QFile::encodeName(hard)), 0);
    ASSERT_EQ(::symlink("aMap.kld", QFile::encodeName(soft)), 0);
    ASSERT_TRUE(writeAll(owned, pattern(500, 'a')));
    if (::chown(QFile::encodeName(owned), 4321, 4322) != 0)
        GTEST_SKIP() << "chown needs root";
    const QStringList before = entries(dir.path());
    const ino_t inode = inodeOf(file);
    const ino_t ownedInode = inodeOf(owned);

    ASSERT_TRUE(writeMapOverFront(hard, pattern(400, 'h')).ok);
    EXPECT_EQ(readAll(file), pattern(400, 'h') + pattern(500, 'a').mid(400));
    ASSERT_TRUE(writeMapOverFront(soft, pattern(300, 's')).ok);
    EXPECT_EQ(readAll(hard),
              pattern(300, 's') + pattern(400, 'h').mid(300) + pattern(500, 'a').mid(400));
    EXPECT_TRUE(QFileInfo(soft).isSymLink());
    EXPECT_EQ(inodeOf(file), inode);
    struct stat mode
    {
    };
    ::stat(QFile::encodeName(file), &mode);
    EXPECT_EQ(mode.st_mode & 07777, 0640u);
    EXPECT_EQ(inodeOf(hard), inode);

    ASSERT_TRUE(writeMapOverFront(owned, pattern(500, 'o')).ok);
    EXPECT_EQ(readAll(owned), pattern(500, 'o'));
    EXPECT_EQ(QFileInfo(owned).ownerId(), 4321u);
    EXPECT_EQ(QFileInfo(owned).groupId(), 4322u);
    EXPECT_EQ(inodeOf(owned), ownedInode);
    EXPECT_EQ(entries(dir.path()), before);
}

TEST(WriteMapOverFront, WritesInPlaceWhenTheFolderTakesNoNewFile)
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
    const FileWrite written = writeMapOverFront(file, content);
    EXPECT_TRUE(written.ok) << written.reason.toStdString();
    EXPECT_EQ(readAll(file), content + "tail");
    EXPECT_EQ(entries(folder), QStringList{QStringLiteral("aMap.kld")});
}

// A 255 x 255 map (260,136 bytes) on a disk with room for it once but not
// twice: neither the new copy beside it nor, for a map saved in place
// because it has a second name, the copy of the old map fits.
TEST(WriteMapOverFront, AFullDiskIsNamedAsSuchAndTheMapKeepsEveryByte)
{
    for (const bool hardLinked : {false, true}) {
        const ScratchMount disk(300);
        if (!disk.mounted())
            GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
        const QString file = disk.path() + QStringLiteral("/aMap.kld");
        const QByteArray original = pattern(260136, 'a');
        ASSERT_TRUE(writeAll(file, original));
        if (hardLinked) {
            ASSERT_EQ(
                ::link(QFile::encodeName(file), QFile::encodeName(file + QStringLiteral("2"))), 0);
        }
        const QStringList before = entries(disk.path());
        const FileWrite written = writeMapOverFront(file, pattern(260136, 'q'));
        EXPECT_FALSE(written.ok);
        EXPECT_TRUE(written.reason.contains(QStringLiteral("No space left on device")))
            << written.reason.toStdString();
        EXPECT_EQ(readAll(file), original);
        EXPECT_EQ(entries(disk.path()), before);
    }
}
