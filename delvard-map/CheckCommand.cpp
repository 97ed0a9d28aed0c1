#include "delvard-map/CommandLine.h"
#include "delvard-map/CommandTable.h"
#include "document/MapLint.h"
#include "document/MapSummary.h"

namespace delvard {

namespace {

QString severityLabel(Finding::Severity severity)
{
    return severity == Finding::Error ? QStringLiteral("error") : QStringLiteral("warning");
}

int runCheck(const CommandLine& line, CommandIo& io, CommandContext&)
{
    const QStringList paths = line.files();
    const bool strict = line.isSet(QStringLiteral("strict"));
    int status = ExitSuccess;
    for (const QString& path : paths) {
        const MapFile file = loadMap(path);
        for (const Finding& finding : lintMap(file)) {
            io.out << file.displayName() << ": ";
            if (!finding.place.isNull())
                io.out << cellLabel(finding.place) << ": ";
            io.out << severityLabel(finding.severity) << ": " << finding.message << '\n';
            if (finding.severity == Finding::Error || strict)
                status = ExitProblem;
        }
    }
    io.out.flush();
    return status;
}

} // namespace

const Command& checkCommand()
{
    static const Command command{
        QStringLiteral("check"),
        {{QStringLiteral("[--strict] FILE..."),
          QStringLiteral("FILE..."),
          QStringLiteral("errors and layout warnings, one line each"),
          {QStringLiteral("kld")},
          1,
          AnyNumber,
          QStringLiteral("no map file given")}},
        QStringLiteral(
            "Looks for problems in each map file and writes one line per problem to\n"
            "standard output:\n"
            "  FILE: error: ...                        (the file as a whole)\n"
            "  FILE: row R, column C: warning: ...     (one cell)\n"
            "A file without problems prints nothing.\n"
            "\n"
            "Errors (exit status 1):\n"
            "  - the file cannot be read, or is too short for its 36-byte header;\n"
            "  - the body holds fewer cell records than width x height (both numbers\n"
            "    are given);\n"
            "  - the width or the height byte is 0;\n"
            "  - a terrain or owner byte that the code tables do not know; the editor\n"
            "    shows the cell before it instead, so a save would change the map.\n"
            "\n"
            "Warnings (exit status 0, or 1 with --strict), layouts that the editor's\n"
            "palette never makes:\n"
            "  - a cell of the outer ring that is not \"Rock\", \"Sold Rock\" or\n"
            "    \"Owned Rock\" (the editor cannot repaint the ring);\n"
            "  - a hero gate or the hero rest not owned by \"Hero\";\n"
            "  - \"Sold Rock\", \"Rock\", \"Dirt\", \"Water\", \"Lave\", \"Gold\" or \"Gems\" not\n"
            "    owned by \"Neutral\";\n"
            "  - Heart cells that do not form whole 5 x 5 blocks, or a block with more\n"
            "    than one owner."),
        {{QStringLiteral("strict"), {}, QStringLiteral("warnings make the exit status 1 as well")}},
        QStringLiteral(
            "Exit status: 0 when no file has an error, 1 when one has (or, with --strict,\n"
            "a warning) or standard output could not be written, 2 on a usage error."),
        runCheck};
    return command;
}

} // namespace delvard
