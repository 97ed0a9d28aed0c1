// What delvard-map does with everything a user's system can hand over in
// place of a map or a picture file. Every run goes through the real program
// with an outer timeout: a run that blocked would hit it and fail.

#include "RunProgram.h"
#include "TestMaps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

const QString Sample = samplePath("small-10x8Map.kld");

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
}

// The picture the program draws of the sample, written to a regular file.
QImage expectedPicture(const QTemporaryDir& dir)
{
    const QString reference = dir.filePath(QStringLiteral("reference.png"));
    EXPECT_EQ(runProgram({QStringLiteral("render"), Sample, reference}).status, 0);
    return QImage(reference);
}

} // namespace

TEST(HostileInput, IsRefusedAtOnceWithWhatItIs)
{
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("pipeMap.kld"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe), 0644), 0);
    // A header that announces a 10 x 8 map, then 200 MB.
    const QString huge = dir.filePath(QStringLiteral("hugeMap.kld"));
    ASSERT_TRUE(writeFile(huge, readAll(Sample)));
    ASSERT_TRUE(QFile::resize(huge, 200'000'000));
    ::symlink("loopB.kld", QFile::encodeName(dir.filePath(QStringLiteral("loopA.kld"))));
    ::symlink("loopA.kld", QFile::encodeName(dir.filePath(QStringLiteral("loopB.kld"))));

    const struct
    {
        QString file;
        const char* told;
    } inputs[] = {
        {pipe, "This is a named pipe, not a map file."},
        {QStringLiteral("/dev/zero"), "This is a device, not a map file."},
        {huge, "200,000,000 bytes long; a map file is never larger than 64 MiB"},
        {dir.filePath(QStringLiteral("loopA.kld")), "Too many levels of symbolic links"},
        {dir.filePath(QStringLiteral("goneMap.kld")), "The file does not exist"},
    };
    const QString out = dir.filePath(QStringLiteral("out.png"));
    for (const auto& input : inputs) {
        // check reports on standard output, the others on standard error.
        for (const QStringList& args : {QStringList{QStringLiteral("info"), input.file},
                                        QStringList{QStringLiteral("check"), input.file},
                                        QStringList{QStringLiteral("render"), input.file, out},
                                        QStringList{QStringLiteral("diff"), Sample, input.file}}) {
            const RunResult run = runProgram(args);
            const QString told = run.out + run.err;
            EXPECT_EQ(run.status, args[0] == QLatin1String("diff") ? 2 : 1)
                << args.join(u' ').toStdString();
            EXPECT_TRUE(told.contains(input.file + QStringLiteral(": "))) << told.toStdString();
            EXPECT_TRUE(told.contains(QLatin1String(input.told))) << told.toStdString();
        }
    }
    EXPECT_FALSE(QFile::exists(out));
}

TEST(PictureDestination, StreamsAreWrittenIntoAndNeverReplaced)
{
    QTemporaryDir dir;
    const QImage expected = expectedPicture(dir);
    ASSERT_FALSE(expected.isNull());

    struct stat null
    {
    };
    ::stat("/dev/null", &null);
    EXPECT_EQ(runProgram({QStringLiteral("render"), Sample, QStringLiteral("/dev/null")}).status,
              0);
    struct stat after
    {
    };
    ::stat("/dev/null", &after);
    EXPECT_TRUE(S_ISCHR(after.st_mode));
    EXPECT_EQ(after.st_rdev, null.st_rdev);

    const QString pipe = dir.filePath(QStringLiteral("picture.pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe), 0644), 0);
    QByteArray fromPipe;
    std::thread reader([&] { fromPipe = readAll(pipe); });
    const RunResult intoPipe = runProgram({QStringLiteral("render"), Sample, pipe});
    reader.join();
    EXPECT_EQ(intoPipe.status, 0) << intoPipe.err.toStdString();
    EXPECT_EQ(QImage::fromData(fromPipe), expected);
    EXPECT_TRUE(QFileInfo(pipe).isFile() == false && QFileInfo::exists(pipe));

    // "-" is standard output; /dev/stdout reaches a shell's redirection.
    const RunResult dash = runShell(QStringLiteral("\"$MAP\" render \"$SAMPLE\" - > dash.png && "
                                                   "\"$MAP\" render \"$SAMPLE\" /dev/stdout > "
                                                   "devstdout.png"),
                                    dir.path());
    EXPECT_EQ(dash.status, 0) << dash.err.toStdString();
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("dash.png"))), expected);
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("devstdout.png"))), expected);
}

TEST(PictureDestination, LinksAreKeptFoldersRefusedAndAFailureLeavesNoPartialFile)
{
    QTemporaryDir dir;
    const QImage expected = expectedPicture(dir);
    const QString target = dir.filePath(QStringLiteral("target.png"));
    ASSERT_TRUE(writeFile(target, "old picture"));
    ::chmod(QFile::encodeName(target), 0640);
    const QString link = dir.filePath(QStringLiteral("link.png"));
    ASSERT_EQ(::symlink("target.png", QFile::encodeName(link)), 0);
    ASSERT_EQ(runProgram({QStringLiteral("render"), Sample, link}).status, 0);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(QImage(target), expected);
    struct stat info
    {
    };
    ::stat(QFile::encodeName(target), &info);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    const QStringList before = entries(dir.path());
    const RunResult folder = runProgram({QStringLiteral("render"), Sample, dir.path()});
    EXPECT_EQ(folder.status, 1);
    EXPECT_TRUE(folder.err.contains(QStringLiteral("This is a folder")))
        << folder.err.toStdString();
    EXPECT_EQ(entries(dir.path()), before);

    // A 72 px picture of the sample does not fit on a 16 KB disk.
    QTemporaryDir mountPoint;
    QProcess mount;
    mount.start(QStringLiteral("mount"),
                {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                 QStringLiteral("size=16k"), QStringLiteral("tmpfs"), mountPoint.path()});
    if (!mount.waitForFinished() || mount.exitCode() != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
    const QString small = mountPoint.filePath(QStringLiteral("old.png"));
    ASSERT_TRUE(writeFile(small, "old picture"));
    const RunResult full = runProgram({QStringLiteral("render"), Sample, small,
                                       QStringLiteral("--cell-size"), QStringLiteral("72")});
    EXPECT_EQ(full.status, 1);
    EXPECT_TRUE(full.err.contains(QStringLiteral("No space left on device")))
        << full.err.toStdString();
    EXPECT_EQ(readAll(small), QByteArray("old picture"));
    EXPECT_EQ(entries(mountPoint.path()), QStringList{QStringLiteral("old.png")});
    QProcess::execute(QStringLiteral("umount"), {mountPoint.path()});
}

TEST(FileNames, BytesThatAreNotUtf8NameTheFileAndShowLegibly)
{
    QTemporaryDir dir;
    const RunResult run =
        runShell(QStringLiteral("name=$(printf 'n\\377\\376Map.kld'); cp \"$SAMPLE\" \"$name\" && "
                                "\"$MAP\" info \"$name\" && "
                                "\"$MAP\" render \"$name\" \"$(printf 'p\\377.png')\" && "
                                "\"$MAP\" info \"$(printf 'gone\\377Map.kld')\""),
                 dir.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("n\\xFF\\xFEMap.kld\n  size:           10 x 8")))
        << run.out.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("gone\\xFFMap.kld: The file does not exist")))
        << run.err.toStdString();
    struct stat picture
    {
    };
    ASSERT_EQ(::stat(QFile::encodeName(dir.path()) + "/p\xff.png", &picture), 0);
    EXPECT_GT(picture.st_size, 100);
}
