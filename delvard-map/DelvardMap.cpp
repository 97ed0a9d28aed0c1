#include "delvard-map/DelvardMap.h"

#include "delvard-map/CommandLine.h"
#include "delvard-map/CommandTable.h"
#include "delvard/Product.h"
#include "document/NativeFileName.h"

namespace delvard {

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
        CommandContext context{pictures};
        return command->run(line, io, context);
    }
    io.err << "delvard-map: unknown command '" << delvard::displayName(first) << "'\n"
           << "Try 'delvard-map --help' for the list of commands.\n";
    return ExitUsage;
}

} // namespace delvard
