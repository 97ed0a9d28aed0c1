// The map file type and the thumbnailer as a desktop uses them: the MIME
// declaration read by the desktop's own tools, and the thumbnailer's Exec
// line run the way GNOME runs it, inside bubblewrap with no home folder,
// no display, no network and /usr read-only.

#include "tests/delvard-map/RunProgram.h"

#include <gtest/gtest.h>

namespace {

// GNOME's binds (gnome-desktop's thumbnailer script): /usr read-only, the
// top folders that lead into it, a fresh /proc and /dev, every namespace
// unshared; the output folder is /tmp and the input is bound read-only
// under a name of the sandbox's choosing. The program, which GNOME finds
// in /usr/bin, is bound beside it from the build. Each map is thumbnailed
// without HOME and DISPLAY, then with them out of reach.
const char* const Thumbnailer = R"sh(
sandbox=(--ro-bind /usr /usr --ro-bind-try /etc/ld.so.cache /etc/ld.so.cache --proc /proc
         --dev /dev --chdir / --setenv GIO_USE_VFS local --unshare-all --die-with-parent)
for top in /bin /lib /lib32 /lib64 /sbin; do
  if [ -L $top ]; then sandbox+=(--symlink "$(readlink $top)" $top)
  elif [ -e $top ]; then sandbox+=(--ro-bind $top $top); fi
done
bwrap "${sandbox[@]}" true || { echo "bwrap (Debian's bubblewrap) cannot make its sandbox here"; exit; }
input=/tmp/gnome-desktop-file-to-thumbnail.kld output=/tmp/gnome-desktop-thumbnailer.png
exec=$(sed -n 's/^Exec=//p' "$SOURCE/packaging/delvard.thumbnailer")
exec=${exec//%s/256}; exec=${exec//%i/$input}; exec=${exec//%o/$output}
head -c 200 "$SAMPLE" > cut.kld
for variables in '' 'HOME=/nonexistent/home DISPLAY=:77 XDG_RUNTIME_DIR=/nonexistent/run'; do
  for map in "$SAMPLES/large-255x255Map.kld" cut.kld; do
    rm -rf out; mkdir out
    env -i PATH=/opt/delvard/bin:/usr/bin $variables bwrap "${sandbox[@]}" --bind out /tmp \
      --ro-bind "$map" $input --ro-bind "$MAP" /opt/delvard/bin/delvard-map $exec 2>&1
    echo "status $?:" $(ls -A out | grep -v "${input##*/}") \
      $(od -An -tu1 -j16 -N8 "out/${output##*/}" 2>/dev/null)
  done
done
)sh";

} // namespace

// The thumbnail of the large sample, 256 x 256 (the size in its PNG header);
// a map that cannot be drawn fails, named, and leaves nothing.
TEST(DesktopFiles, TheThumbnailerWorksInGnomesSandbox)
{
    const Scratch scratch;
    const RunResult run = scratch.shell(
        QStringLiteral("SOURCE='" DELVARD_SOURCE_DIR "' SAMPLES='" DELVARD_SAMPLES_DIR "'\n") +
        QLatin1String(Thumbnailer));
    const std::string drawn = "status 0: gnome-desktop-thumbnailer.png 0 0 1 0 0 0 1 0\n";
    const std::string failed = "delvard-map render: /tmp/gnome-desktop-file-to-thumbnail.kld: The "
                               "map is 10 x 8 cells, so 80 cell records were expected, but the "
                               "file holds only 41.\nstatus 1:\n";
    EXPECT_EQ(run.out.toStdString(), drawn + failed + drawn + failed) << run.err.toStdString();
}

// The desktop's own reader of the declaration (shared-mime-info's
// update-mime-database, then GIO) gives map files their type whatever the
// case of their names, and no other file.
TEST(DesktopFiles, MapFilesGetTheirTypeInAnyCase)
{
    const Scratch share;
    const RunResult run = share.shell(QStringLiteral(
        "export XDG_DATA_HOME=\"$PWD\" XDG_DATA_DIRS=\"$PWD\"; mkdir -p mime/packages\n"
        "cp '" DELVARD_SOURCE_DIR "/packaging/mime/net.umbervault.delvard.xml' mime/packages/\n"
        "update-mime-database mime || exit\n"
        "for name in small-10x8Map.kld SMALLMAP.KLD map.kld small.kld Map.kld.png; do\n"
        "  cp \"$SAMPLE\" $name; echo \"$name: $(gio info -a standard::content-type $name | "
        "grep -o 'content-type: .*')\"\n"
        "done"));
    EXPECT_EQ(run.out.toStdString(), "small-10x8Map.kld: content-type: application/x-delvard-map\n"
                                     "SMALLMAP.KLD: content-type: application/x-delvard-map\n"
                                     "map.kld: content-type: application/x-delvard-map\n"
                                     "small.kld: content-type: application/octet-stream\n"
                                     "Map.kld.png: content-type: application/octet-stream\n")
        << run.err.toStdString();
}

// Tab offers what each command takes: its options, the values of an option,
// and for each file name in turn its kind, in the form the options chose.
TEST(DesktopFiles, TheShellCompletesWhatEachCommandTakes)
{
    const Scratch scratch;
    const RunResult run = scratch.shell(QStringLiteral(
        "source /usr/share/bash-completion/bash_completion\n"
        "source '" DELVARD_MAP_COMPLETION "'; mkdir folder; touch a.kld b.png c.txt\n"
        "tab() { COMP_WORDS=(delvard-map \"$@\"); COMP_CWORD=$#; COMPREPLY=()\n"
        "  COMP_LINE=\"delvard-map $*\"; COMP_POINT=${#COMP_LINE}\n"
        "  _delvard_map delvard-map \"${COMP_WORDS[-1]}\" \"${COMP_WORDS[-2]}\"\n"
        "  echo \"$*: $(printf '%s\\n' \"${COMPREPLY[@]}\" | LC_ALL=C sort | paste -sd' ')\"; }\n"
        "tab ''; tab check --strict --h; tab render --f; tab render --fit ''\n"
        "tab render ''; tab render --fit 64 a.kld ''; tab render a.kld b.png ''; tab render --to "
        "''\n"
        "tab render --grid --to folder a.kld ''; tab merge a a a ''; tab git-setup ''"));
    EXPECT_EQ(run.out.toStdString(),
              ": --help --version check diff git-setup info merge render text\n"
              "check --strict --h: --help\nrender --f: --fit\n"
              "render --fit : 1024 128 2048 256 4096 512\nrender : a.kld folder\n"
              "render --fit 64 a.kld : b.png folder\nrender a.kld b.png : \nrender --to : folder\n"
              "render --grid --to folder a.kld : a.kld folder\n"
              "merge a a a : a.kld b.png c.txt folder\ngit-setup : \n")
        << run.err.toStdString();
}
