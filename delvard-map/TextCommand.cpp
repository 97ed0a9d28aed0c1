#include "delvard-map/CommandLine.h"
#include "delvard-map/CommandTable.h"
#include "delvard-map/StandardOutput.h"
#include "document/MapFile.h"
#include "document/MapText.h"
#include "document/NativeFileName.h"
#include "document/ProblemWords.h"

namespace delvard {

namespace {

int runText(const CommandLine& line, CommandIo& io, CommandContext&)
{
    const QStringList paths = line.files();
    // Any file that can be read has a text form, a whole map or not.
    const MapFile file = loadMap(paths[0]);
    if (!file.readable()) {
        io.err << "delvard-map text: " << file.displayName() << ": " << file.readProblem << '\n';
        return ExitProblem;
    }
    // LF on every system: Windows would otherwise turn each into CR LF.
    if (io.standardOutput != nullptr)
        io.standardOutput->switchToBinary();
    const std::string text = delvard::mapText(file.bytes);
    io.out << QLatin1String(text.data(), static_cast<qsizetype>(text.size()));
    io.out.flush();
    return ExitSuccess;
}

} // namespace

const Command& textCommand()
{
    static const Command command{
        QStringLiteral("text"),
        {{QStringLiteral("FILE"),
          QStringLiteral("FILE"),
          QStringLiteral("the map as text, one line per cell (for git diff)"),
          {QStringLiteral("kld")},
          1,
          1,
          QStringLiteral("expected one map file, got %1")}},
        QStringLiteral("Writes the map as text, for git's diff (see git-setup) and for reading:\n"
                       "  size: W x H cells\n"
                       "  header: the 36 header bytes in hex\n"
                       "  row R, column C: TERRAIN, OWNER [XX XX]\n"
                       "      one line per cell in row order; a code that the tables do not know\n"
                       "      is \"unknown 0xNN\"; [XX XX] holds the record's two other bytes and\n"
                       "      is there only when they are not 01 01\n"
                       "  trailing bytes: N\n"
                       "  at OFFSET: the bytes after the last record in hex, 32 to a line\n"
                       "A file that is not a whole map gives why and all of its bytes in hex.\n"
                       "The text is ASCII with LF line ends, the same in every language and on\n"
                       "every system, so a change to any byte of the file changes it."),
        {},
        QStringLiteral("Exit status: 0 when the text was written, 1 when the file could not be\n"
                       "read or standard output could not be written, 2 on a usage error."),
        runText};
    return command;
}

} // namespace delvard
