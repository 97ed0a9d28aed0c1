// What the real program does with the files and streams it is pointed at
// beyond the documented examples (pipes, devices, links, names that are not
// UTF-8, streams that fail or are closed): render keeps the map it draws and
// any file that is not a picture, and leaves nothing behind when it is
// stopped or the disk is full; names are shown escaped.

#include "tests/delvard-map/RunProgram.h"
#include "tests/support/FileFaults.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

const QByteArray PngSignature("\x89PNG\r\n\x1a\n", 8);

} // namespace

// The accident this guards against: a slip of the arguments, after which the
// map (or whatever file stood where the picture was to go) was gone: by
// another spelling of it, a link to it, standard output appended to it, a
// file that is no picture (a link to one, one shorter than the signature),
// the arguments swapped. Each is refused with status 1 and every file stays
// as it was. (The plainest cases are among the documented examples.)
TEST(RenderTargets, TheMapAndFilesThatAreNoPictureAreKeptByteForByte)
{
    const Scratch scratch;
    const RunResult run = scratch.shell(QLatin1String(R"sh(
cp "$SAMPLE" victimMap.kld; "$MAP" render victimMap.kld picture.png; echo notes > notes.txt
printf '\211PNG' > short.png; ln -s victimMap.kld map.png; ln -s notes.txt notes.png
kept() { ls -lA --time-style=+; cat ./*; }
before=$(kept | sha1sum); exec 2>&1
render() { "$MAP" render "$@"; local status=$?; [ $status = 1 ] || echo "status $status"; }
render victimMap.kld ./victimMap.kld; render victimMap.kld map.png
render victimMap.kld /dev/stdout >> victimMap.kld; render victimMap.kld - >> victimMap.kld
render victimMap.kld notes.png; render victimMap.kld short.png
render notes.txt victimMap.kld; render picture.png victimMap.kld
[ "$(kept | sha1sum)" = "$before" ] && echo "every file kept")sh"));
    EXPECT_EQ(
        run.out.toStdString(),
        R"(delvard-map render: ./victimMap.kld: This is the map being drawn; the picture will not overwrite it.
delvard-map render: map.png: This is the map being drawn; the picture will not overwrite it.
delvard-map render: /dev/stdout: This is the map being drawn; the picture will not overwrite it.
delvard-map render: standard output: This is the map being drawn; the picture will not overwrite it.
delvard-map render: notes.png: This file is not a PNG picture; the picture will not overwrite it.
delvard-map render: short.png: This file is not a PNG picture; the picture will not overwrite it.
delvard-map render: notes.txt: The file is 6 bytes long, too short for the 36-byte map header.
delvard-map render: victimMap.kld: This file is not a PNG picture; the picture will not overwrite it.
every file kept
)");
}

TEST(RenderTargets, AFullDiskIsNamedAndTheOldPictureStays)
{
    const ScratchMount disk(16); // a 72 px picture of the sample does not fit
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
    const QString old = disk.path() + QStringLiteral("/old.png");
    const QByteArray oldPicture = PngSignature + "old picture";
    ASSERT_TRUE(writeAll(old, oldPicture));
    const RunResult run = runProgram({QStringLiteral("render"), samplePath("small-10x8Map.kld"),
                                      old, QStringLiteral("--cell-size"), QStringLiteral("72")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("No space left on device")))
        << run.err.toStdString();
    EXPECT_EQ(readAll(old), oldPicture);
    EXPECT_EQ(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("old.png")});
}

// A stream closed before the program starts would hand its number to the
// first file opened: the program stops before opening any, here without a
// word, having nowhere to say it. (Standard input and output closed are
// among the documented examples.)
TEST(StandardStreams, WithStandardErrorClosedNoFileIsOpened)
{
    const Scratch scratch;
    const RunResult run = scratch.shell(
        QStringLiteral("\"$MAP\" render \"$SAMPLE\" out.png 2>&-\necho \"status $?\""));
    EXPECT_EQ(run.out, QStringLiteral("status 1\n"));
    EXPECT_EQ(run.err, QString());
    EXPECT_FALSE(QFile::exists(scratch.path(QStringLiteral("out.png"))));
}

// A name may hold a line break or a terminal's escape sequence; shown raw,
// it would forge a line of output or drive the terminal. Every command shows
// it as \xNN (info's text among the documented examples).
TEST(Names, ControlCharactersInANameAreShownEscaped)
{
    const Scratch scratch;
    const RunResult run = scratch.shell(QLatin1String(R"sh(
N=$'new\nline\e[2JMap.kld' C=$'cut\nline\e[2JMap.kld'
cp "$SAMPLE" "$N"; head -c 200 "$SAMPLE" > "$C"; exec 2>&1
"$MAP" check "$C"; "$MAP" info --json "$N" | grep '"file"'; "$MAP" info "$C"; "$MAP" diff "$N" "$C"
"$MAP" render "$C" x.png; "$MAP" render "$N" "$N"; "$MAP" merge "$C" "$N" "$SAMPLE")sh"));
    EXPECT_EQ(
        run.out.toStdString(),
        R"(cut\x0Aline\x1B[2JMap.kld: error: The map is 10 x 8 cells, so 80 cell records were expected, but the file holds only 41.
        "file": "new\\x0Aline\\x1B[2JMap.kld",
delvard-map info: cut\x0Aline\x1B[2JMap.kld: The map is 10 x 8 cells, so 80 cell records were expected, but the file holds only 41.
delvard-map diff: cut\x0Aline\x1B[2JMap.kld: The map is 10 x 8 cells, so 80 cell records were expected, but the file holds only 41.
delvard-map render: cut\x0Aline\x1B[2JMap.kld: The map is 10 x 8 cells, so 80 cell records were expected, but the file holds only 41.
delvard-map render: new\x0Aline\x1B[2JMap.kld: This is the map being drawn; the picture will not overwrite it.
delvard-map merge: new\x0Aline\x1B[2JMap.kld: not merged, ours is left as it was. The common ancestor (cut\x0Aline\x1B[2JMap.kld): The map is 10 x 8 cells, so 80 cell records were expected, but the file holds only 41.
)");
}
