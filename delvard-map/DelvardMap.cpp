#include "delvard-map/DelvardMap.h"

#include "delvard-map/CommandLine.h"
#include "delvard-map/CommandTable.h"
#include "delvard/Product.h"
#include "document/NativeFileName.h"

#include <QCoreApplication>

#include <filesystem>

namespace delvard {

namespace {

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
        io.out << programHelp();
        io.out.flush();
        return ExitSuccess;
    }
    if (first == QLatin1String("--version")) {
        io.out << "delvard-map " << delvard::product::Version << '\n';
        io.out.flush();
        return ExitSuccess;
    }
    for (const Command* command : commandTable()) {
        if (first != command->name)
            continue;
        CommandLine line(*command);
        if (const auto stop = line.parse(args, io))
            return *stop;
        CommandContext context{pictures, programPath()};
        return command->run(line, io, context);
    }
    io.err << "delvard-map: unknown command '" << delvard::displayName(first) << "'\n"
           << "Try 'delvard-map --help' for the list of commands.\n";
    return ExitUsage;
}

} // namespace delvard
