#include "delvard-map/DelvardMap.h"

#include "delvard-map/CheckCommand.h"
#include "delvard-map/DiffCommand.h"
#include "delvard-map/InfoCommand.h"
#include "delvard-map/MergeCommand.h"
#include "delvard-map/RenderCommand.h"
#include "delvard-map/TextCommand.h"
#include "delvard-map/git/GitSetupCommand.h"
#include "delvard/Product.h"
#include "document/NativeFileName.h"

#include <QCoreApplication>

#include <filesystem>

namespace delvard {

namespace {

const QString Help = QStringLiteral(
    "Usage: delvard-map COMMAND [OPTIONS] ARGS...\n"
    "\n"
    "Works with the map files (*map.kld) of the Delvard map editor.\n"
    "\n"
    "Commands:\n"
    "  info FILE...              size, records, trailing bytes, terrain and owner\n"
    "                            counts, unknown codes\n"
    "  check FILE...             errors and layout warnings, one line each\n"
    "  render FILE OUT.png       the map as the editor shows it, as a PNG picture\n"
    "  render --to DIR FILE...   every map into a folder, on every core\n"
    "  diff A B                  cells whose terrain or owner differ\n"
    "  text FILE                 the map as text, one line per cell (for git diff)\n"
    "  merge BASE OURS THEIRS [PATH]\n"
    "                            three-way merge, cell by cell (git's merge driver)\n"
    "  git-setup [--global]      makes git diff and merge maps with text and merge\n"
    "\n"
    "Options:\n"
    "  -h, --help                show this help\n"
    "  --version                 show the version\n"
    "\n"
    "'delvard-map COMMAND --help' describes a command and its options.\n"
    "\n"
    "Exit status: 0 on success, 1 when a check finds a problem, diff finds\n"
    "differences, a merge has conflicts, a map cannot be read or an output (a\n"
    "picture, a map, standard output) cannot be written, 2 on a usage error.\n");

// This program's absolute path with all its bytes: Qt gives none where the
// path is not UTF-8.
QString programPath()
{
#ifdef Q_OS_LINUX
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        return fromNativePath(self);
#endif
    return QCoreApplication::applicationFilePath();
}

} // namespace

int runDelvardMap(const QStringList& args, CommandIo& io, PicturesOnDemand& pictures)
{
    if (args.isEmpty()) {
        io.err << "delvard-map: no command given\n"
               << "Try 'delvard-map --help' for more information.\n";
        return ExitUsage;
    }
    const QString& first = args.front();
    if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        io.out << Help;
        io.out.flush();
        return ExitSuccess;
    }
    if (first == QLatin1String("--version")) {
        io.out << "delvard-map " << delvard::product::Version << '\n';
        io.out.flush();
        return ExitSuccess;
    }
    if (first == QLatin1String("info"))
        return runInfoCommand(args, io);
    if (first == QLatin1String("check"))
        return runCheckCommand(args, io);
    if (first == QLatin1String("render"))
        return runRenderCommand(args, io, pictures);
    if (first == QLatin1String("diff"))
        return runDiffCommand(args, io);
    if (first == QLatin1String("text"))
        return runTextCommand(args, io);
    if (first == QLatin1String("merge"))
        return runMergeCommand(args, io);
    if (first == QLatin1String("git-setup"))
        return runGitSetupCommand(args, io, programPath());
    io.err << "delvard-map: unknown command '" << delvard::displayName(first) << "'\n"
           << "Try 'delvard-map --help' for the list of commands.\n";
    return ExitUsage;
}

} // namespace delvard
