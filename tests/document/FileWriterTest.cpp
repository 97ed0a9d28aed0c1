#include "document/FileWriter.h"
#include "document/NativeFileName.h"
#include "document/ProblemWords.h"
#include "tests/support/FileFaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include <fcntl.h>
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
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                  QDir::NoDotAndDotDot);
}

ino_t inodeOf(const QString& path)
{
    struct stat info = {};
    ::stat(QFile::encodeName(path), &info);
    return info.st_ino;
}

FileWrite replace(const QString& path, const QByteArray& bytes)
{
    return replaceFile(nativePath(path),
                       std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

std::string told(const FileWrite& written)
{
    return describeProblem(written.problem, MapFiles).toStdString();
}

} // namespace

// A save must keep the file the user opened: every name of it sees the new
// bytes, and it keeps its mode and its owner. Nothing is left beside it.
TEST(ReplaceFile, KeepsLinksHardLinksModeAndOwner)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("aMap.kld"));
    const QString hard = dir.filePath(QStringLiteral("hardMap.kld"));
    const QString soft = dir.filePath(QStringLiteral("softMap.kld"));
    const QString owned = dir.filePath(QStringLiteral("ownedMap.kld"));
    const QString plain = dir.filePath(QStringLiteral("plainMap.kld"));
    ASSERT_TRUE(writeAll(file, pattern(500, 'a')));
    ::chmod(QFile::encodeName(file), 0640);
    ASSERT_EQ(::link(QFile::encodeName(file), QFile::encodeName(hard)), 0);
    ASSERT_EQ(::symlink("aMap.kld", QFile::encodeName(soft)), 0);
    ASSERT_TRUE(writeAll(owned, pattern(500, 'a')));
    ASSERT_TRUE(writeAll(plain, pattern(500, 'a')));
    ::chmod(QFile::encodeName(plain), 0604);
    if (::chown(QFile::encodeName(owned), 4321, 4322) != 0)
        GTEST_SKIP() << "chown needs root";
    const QStringList before = entries(dir.path());
    const ino_t inode = inodeOf(file);
    const ino_t ownedInode = inodeOf(owned);

    ASSERT_TRUE(replace(hard, pattern(400, 'h')).ok);
    EXPECT_EQ(readAll(file), pattern(400, 'h'));
    ASSERT_TRUE(replace(soft, pattern(600, 's')).ok);
    EXPECT_EQ(readAll(hard), pattern(600, 's'));
    EXPECT_TRUE(QFileInfo(soft).isSymLink());
    EXPECT_EQ(inodeOf(file), inode);
    EXPECT_EQ(inodeOf(hard), inode);
    struct stat mode = {};
    ::stat(QFile::encodeName(file), &mode);
    EXPECT_EQ(mode.st_mode & 07777, 0640u);

    ASSERT_TRUE(replace(owned, pattern(500, 'o')).ok);
    EXPECT_EQ(readAll(owned), pattern(500, 'o'));
    EXPECT_EQ(QFileInfo(owned).ownerId(), 4321u);
    EXPECT_EQ(QFileInfo(owned).groupId(), 4322u);
    EXPECT_EQ(inodeOf(owned), ownedInode);

    // A file of its own, with one name, gets a new file renamed over it.
    const ino_t plainInode = inodeOf(plain);
    ASSERT_TRUE(replace(plain, pattern(10, 'p')).ok);
    EXPECT_EQ(readAll(plain), pattern(10, 'p'));
    EXPECT_NE(inodeOf(plain), plainInode);
    ::stat(QFile::encodeName(plain), &mode);
    EXPECT_EQ(mode.st_mode & 07777, 0604u);
    EXPECT_EQ(entries(dir.path()), before);
}

// The temporary file's name does not grow with the file's: a name as long
// as the file system allows is saved, and a new file of that name made.
TEST(ReplaceFile, SavesUnderTheLongestNameTheSystemAllows)
{
    QTemporaryDir dir;
    const QString longest = dir.filePath(QString(248, u'n') + QStringLiteral("Map.kld"));
    ASSERT_EQ(QFileInfo(longest).fileName().size(), 255);
    for (const char seed : {'a', 'b'}) { // made, then replaced
        const FileWrite written = replace(longest, pattern(300, seed));
        EXPECT_TRUE(written.ok) << told(written);
        EXPECT_EQ(readAll(longest), pattern(300, seed));
    }
    EXPECT_EQ(entries(dir.path()).size(), 1);
}

// A folder that takes no new file gets the map written in place, its old
// bytes kept meanwhile in the user's state folder; with no place at all for
// that copy the write is refused unless the caller allows it. A finished
// write leaves no copy anywhere.
TEST(ReplaceFile, WritesInPlaceWithItsCopyInTheStateFolderWhenTheFolderTakesNoNewFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("maps")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("state")));
    const QString folder = dir.filePath(QStringLiteral("maps"));
    const QString state = dir.filePath(QStringLiteral("state"));
    const QString file = folder + QStringLiteral("/aMap.kld");
    const QByteArray old = pattern(3000, 'a') + "tail";
    ASSERT_TRUE(writeAll(file, old));
    const Immutable readOnlyFolder(folder);
    if (!readOnlyFolder.active())
        GTEST_SKIP() << "chattr +i does not work here";
    const QByteArray savedState = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", QFile::encodeName(state));

    const fs::path copy = stateCopyOf(nativePath(file));
    ASSERT_EQ(copy.parent_path(), nativePath(state + QStringLiteral("/delvard/copies")));
    {
        FileOutput output(nativePath(file));
        ASSERT_TRUE(output.open()) << describeProblem(output.problem(), MapFiles).toStdString();
        EXPECT_EQ(output.method(), FileOutput::Method::InPlace);
        EXPECT_EQ(readAll(fromNativePath(copy)), old) << "no whole copy before the map is touched";
        ASSERT_TRUE(output.write("new") && output.commit());
    }
    EXPECT_EQ(readAll(file), QByteArray("new"));
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_EQ(entries(folder), QStringList{QStringLiteral("aMap.kld")});

    const Immutable readOnlyState(state + QStringLiteral("/delvard/copies"));
    const FileWrite refused = replace(file, "refused");
    EXPECT_EQ(refused.problem.kind, FileProblem::Kind::NoSafetyCopy) << told(refused);
    EXPECT_EQ(readAll(file), QByteArray("new"));
    const std::string_view anyway("anyway");
    EXPECT_TRUE(replaceFile(nativePath(file), anyway, FileOutput::SafetyCopy::Optional).ok);
    EXPECT_EQ(readAll(file), QByteArray("anyway"));
    qputenv("XDG_STATE_HOME", savedState);
}

// A copy that an earlier, stopped save left is outdated once a save has
// reached the disk, whichever way that save went.
TEST(ReplaceFile, AFinishedSaveRemovesTheCopiesAStoppedOneLeft)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("aMap.kld"));
    const QString second = dir.filePath(QStringLiteral("secondName.kld"));
    ASSERT_TRUE(writeAll(file, pattern(100, 'a')));
    ASSERT_EQ(::link(QFile::encodeName(file), QFile::encodeName(second)), 0);
    for (const QString& saved : {file, second}) { // in place (two names), then by rename
        if (saved == second) {
            ASSERT_TRUE(QFile::remove(file));
        }
        const QString staleCopy = fromNativePath(inPlaceCopyOf(nativePath(saved)));
        ASSERT_TRUE(writeAll(staleCopy, pattern(100, 'o')));
        const FileWrite written = replace(saved, pattern(50, 'n'));
        EXPECT_TRUE(written.ok) << told(written);
        EXPECT_EQ(entries(dir.path()).filter(QStringLiteral(".copy")), QStringList());
    }
}

// A read-only file, or one on a read-only disk, is refused as such and kept.
TEST(ReplaceFile, AReadOnlyFileOrDiskIsRefusedAndTheFileKept)
{
    for (const bool wholeDisk : {false, true}) {
        ScratchMount disk(64);
        if (!disk.mounted())
            GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
        const QString file = disk.path() + QStringLiteral("/aMap.kld");
        ASSERT_TRUE(writeAll(file, pattern(100, 'a')));
        const Immutable readOnly(wholeDisk ? QString() : file);
        ASSERT_TRUE(wholeDisk ? disk.makeReadOnly() : readOnly.active());
        const FileWrite written = replace(file, pattern(100, 'b'));
        EXPECT_EQ(told(written), wholeDisk ? "The file is read-only: Read-only file system."
                                           : "The file is read-only: Operation not permitted.");
        EXPECT_EQ(readAll(file), pattern(100, 'a'));
        EXPECT_EQ(entries(disk.path()), QStringList{QStringLiteral("aMap.kld")});
    }
}

// A 255 x 255 map (260,136 bytes) on a disk with room for it once but not
// twice: neither the new copy beside it nor, for a map saved in place
// because it has a second name, the copy of the old map fits. And a map
// saved in place that grows past the room left: the write fails half way,
// and the old bytes are put back from the copy.
TEST(ReplaceFile, AFullDiskIsNamedAsSuchAndTheFileKeepsEveryByte)
{
    struct Case
    {
        int oldSize;
        int newSize;
        bool hardLinked;
    };
    for (const Case& c :
         {Case{260136, 260136, false}, Case{260136, 260136, true}, Case{100000, 250000, true}}) {
        const ScratchMount disk(300);
        if (!disk.mounted())
            GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
        const QString file = disk.path() + QStringLiteral("/aMap.kld");
        const QByteArray original = pattern(c.oldSize, 'a');
        ASSERT_TRUE(writeAll(file, original));
        if (c.hardLinked) {
            ASSERT_EQ(
                ::link(QFile::encodeName(file), QFile::encodeName(file + QStringLiteral("2"))), 0);
        }
        const QStringList before = entries(disk.path());
        if (c.hardLinked && c.oldSize == c.newSize) { // no room for the copy: refused at once
            EXPECT_FALSE(FileOutput(nativePath(file)).open());
        }
        const FileWrite written = replace(file, pattern(c.newSize, 'q'));
        EXPECT_FALSE(written.ok);
        EXPECT_NE(told(written).find("No space left on device"), std::string::npos)
            << told(written);
        EXPECT_TRUE(written.keptCopy.empty());
        EXPECT_EQ(readAll(file), original) << c.oldSize << " to " << c.newSize;
        EXPECT_EQ(entries(disk.path()), before);
    }
}

// A write that was killed leaves its temporary file; the next write in the
// folder removes it once no live writer can own it any more.
TEST(ReplaceFile, TemporaryFilesLeftBehindGoWithTheNextWriteInTheFolder)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("aMap.kld"));
    const QString old = dir.filePath(QStringLiteral(".delvard-0123456789ab.new"));
    const QString fresh = dir.filePath(QStringLiteral(".delvard-ba9876543210.new"));
    const QString someoneElses = dir.filePath(QStringLiteral(".delvard-notours.new"));
    for (const QString& name : {old, fresh, someoneElses})
        ASSERT_TRUE(writeAll(name, "half a map"));
    QFile aged(old);
    ASSERT_TRUE(aged.open(QIODevice::ReadWrite));
    ASSERT_TRUE(aged.setFileTime(QDateTime::currentDateTime().addMSecs(-60500),
                                 QFileDevice::FileModificationTime));
    aged.close();
    EXPECT_TRUE(isTemporaryName(nativePath(old)));
    EXPECT_FALSE(isTemporaryName(nativePath(someoneElses)));
    // Only files are the writer's: a folder of that name is someone's.
    const QString folder = dir.filePath(QStringLiteral(".delvard-00000000000f.new"));
    ASSERT_TRUE(QDir().mkdir(folder));
    std::filesystem::last_write_time(nativePath(folder),
                                     std::filesystem::file_time_type::clock::now() -
                                         std::chrono::minutes(2));

    // A live writer has a minute: a file just past it goes, one just short of it stays.
    std::filesystem::last_write_time(nativePath(fresh),
                                     std::filesystem::file_time_type::clock::now() -
                                         std::chrono::milliseconds(59200));
    ASSERT_TRUE(replace(file, "new map").ok);
    EXPECT_FALSE(QFile::exists(old));
    EXPECT_TRUE(QFile::exists(fresh));
    EXPECT_TRUE(QFile::exists(someoneElses));
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

// An output abandoned half way (the program gave up, or threw) leaves the
// file as it was and nothing beside it, in both ways of writing.
TEST(FileOutput, AnUncommittedWriteLeavesTheFileAsItWas)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("aMap.kld"));
    ASSERT_TRUE(writeAll(file, pattern(5000, 'a')));
    for (const bool hardLinked : {false, true}) {
        if (hardLinked) {
            ASSERT_EQ(::link(QFile::encodeName(file),
                             QFile::encodeName(dir.filePath(QStringLiteral("otherMap.kld")))),
                      0);
        }
        const QStringList before = entries(dir.path());
        {
            FileOutput output(nativePath(file));
            ASSERT_TRUE(output.open());
            EXPECT_EQ(output.method(),
                      hardLinked ? FileOutput::Method::InPlace : FileOutput::Method::Rename);
            ASSERT_TRUE(output.write(pattern(7000, 'z').toStdString()));
        }
        EXPECT_EQ(readAll(file), pattern(5000, 'a'));
        EXPECT_EQ(entries(dir.path()), before);
    }
}

// Bytes offered after the commit (a caller that kept writing) change nothing
// and are refused as written to a file that is not open; so is a commit of
// a file never opened.
TEST(FileOutput, NothingIsWrittenAfterTheCommit)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("aMap.kld"));
    ASSERT_TRUE(writeAll(file, pattern(100, 'a')));
    FileOutput output(nativePath(file));
    ASSERT_TRUE(output.open());
    ASSERT_TRUE(output.write("new bytes"));
    ASSERT_TRUE(output.commit());
    EXPECT_FALSE(output.write("more"));
    EXPECT_EQ(output.problem().kind, FileProblem::Kind::NotOpen);
    EXPECT_EQ(readAll(file), QByteArray("new bytes"));
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("aMap.kld")});

    // Nor does a commit without an open succeed without a reason.
    FileOutput unopened(nativePath(file));
    EXPECT_FALSE(unopened.commit());
    EXPECT_EQ(unopened.problem().kind, FileProblem::Kind::NotOpen);
}

// A name the system hands out for a file already open (/dev/fd/N,
// /proc/self/fd/N, as a shell's redirection gives) is written as a stream:
// a new file renamed over it would leave the open file without the bytes.
TEST(FileOutput, TheSystemsNamesForAnOpenFileAreWrittenAsStreams)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("out.png"));
    ASSERT_TRUE(writeAll(file, "old"));
    const int open = ::open(QFile::encodeName(file), O_WRONLY | O_APPEND);
    ASSERT_GE(open, 0);
    for (const char* folder : {"/dev/fd/", "/proc/self/fd/"}) {
        FileOutput output(folder + std::to_string(open), FileOutput::Streams::Allowed);
        ASSERT_TRUE(output.open() && output.write("+") && output.commit()) << folder;
        EXPECT_EQ(output.method(), FileOutput::Method::Stream) << folder;
    }
    ::close(open);
    EXPECT_EQ(readAll(file), QByteArray("old++"));
}
