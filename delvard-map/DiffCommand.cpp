#include "delvard-map/CommandLine.h"
#include "delvard-map/CommandTable.h"
#include "document/CellDescription.h"
#include "document/CodeTables.h"
#include "document/MapFile.h"
#include "document/MapSummary.h"

namespace delvard {

namespace {

// The cell as the file stores it.
QString cellText(const delvard::MapData& map, delvard::CellPosition place)
{
    const delvard::CellWords words = delvard::describeCell(map, place);
    return QString::fromStdString(words.terrain) + QStringLiteral(" / ") +
           QString::fromStdString(words.owner);
}

bool loadForDiff(const QString& path, MapFile& file, CommandIo& io)
{
    file = loadMap(path);
    if (file.ok())
        return true;
    io.err << "delvard-map diff: " << file.displayName() << ": " << file.problem() << '\n';
    return false;
}

int runDiff(const CommandLine& line, CommandIo& io, CommandContext&)
{
    const QStringList paths = line.files();
    MapFile a;
    MapFile b;
    const bool aRead = loadForDiff(paths[0], a, io);
    const bool bRead = loadForDiff(paths[1], b, io);
    if (!aRead || !bRead) {
        return ExitUsage;
    }
    if (a.width() != b.width() || a.height() != b.height()) {
        io.err << "delvard-map diff: " << a.displayName() << " is " << a.width() << " x "
               << a.height() << " cells but " << b.displayName() << " is " << b.width() << " x "
               << b.height() << "; only maps of the same size can be compared.\n";
        return ExitUsage;
    }

    const std::vector<delvard::Cell>& cellsA = a.map().cells;
    const std::vector<delvard::Cell>& cellsB = b.map().cells;
    std::size_t differing = 0;
    for (std::size_t k = 0; k < cellsA.size(); ++k) {
        if (cellsA[k].terrainCode == cellsB[k].terrainCode &&
            cellsA[k].ownerCode == cellsB[k].ownerCode)
            continue;
        ++differing;
        const delvard::CellPosition at = a.map().positionOf(k);
        io.out << cellLabel(at) << ": " << cellText(a.map(), at) << " -> " << cellText(b.map(), at)
               << '\n';
    }
    io.out << differing << " of " << cellsA.size() << " cells differ\n";
    io.out.flush();
    return differing == 0 ? ExitSuccess : ExitProblem;
}

} // namespace

const Command& diffCommand()
{
    static const Command command{
        QStringLiteral("diff"),
        {{QStringLiteral("A B"),
          QStringLiteral("A B"),
          QStringLiteral("cells whose terrain or owner differ"),
          {QStringLiteral("kld")},
          2,
          2,
          QStringLiteral("expected two map files, got %1")}},
        QStringLiteral(
            "Lists the cells whose terrain or owner differ between two maps of the same\n"
            "size, one line per cell:\n"
            "  row R, column C: TERRAIN / OWNER -> TERRAIN / OWNER\n"
            "followed by a count. Terrain and owner are compared as the files hold them,\n"
            "so a byte that the code tables do not know is shown as \"unknown 0xNN\".\n"
            "The header, bytes 2 and 3 of each record (which the editor rewrites as\n"
            "0x01) and bytes after the last record are not compared."),
        {},
        QStringLiteral(
            "Exit status: 0 when no cell differs, 1 when some do or standard output\n"
            "could not be written, 2 when the maps cannot be compared (a file cannot be\n"
            "read or is not a whole map, or the sizes differ) or on a usage error."),
        runDiff};
    return command;
}

} // namespace delvard
