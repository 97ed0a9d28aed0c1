#include "RenderCommand.h"

#include "CommandLine.h"
#include "MapFile.h"
#include "MapRenderer.h"
#include "NativeFileName.h"
#include "PictureFile.h"

#include <QImage>

namespace delvard {

namespace {

const QString Help =
    QStringLiteral("Usage: delvard-map render [--cell-size PX] [--grid] FILE OUT.png\n"
                   "\n"
                   "Draws the map as the editor's map window shows it: every cell as its owner\n"
                   "colour with the terrain picture over it, inside a black margin one cell\n"
                   "wide, and writes the picture as PNG.\n"
                   "\n"
                   "OUT.png is replaced whole once the picture is complete, or kept as it was\n"
                   "when the picture cannot be written. A named pipe or a device is written\n"
                   "into as a stream; \"-\" is standard output. Render refuses, and writes\n"
                   "nothing, when OUT.png is the map itself (by any name or link) or an\n"
                   "existing file that is neither empty nor a PNG picture.\n"
                   "\n"
                   "Options:\n"
                   "  --cell-size PX  side of a cell in pixels, 4 to 72 (default 24, the\n"
                   "                  editor's smallest zoom; 72 is its largest)\n"
                   "  --grid          draw the grid as the editor does: a thin border inside\n"
                   "                  every cell\n"
                   "  -h, --help      show this help\n"
                   "\n"
                   "Exit status: 0 when the picture was written, 1 when the map could not be\n"
                   "read or is not a whole map, or the picture could not or must not be\n"
                   "written, 2 on a usage error.\n");

constexpr int MinCellSize = 4;
constexpr int MaxCellSize = 72;
// The editor's smallest zoom: a whole 255 x 255 map is then a picture 6168
// pixels square, about 2.6 MB as PNG.
constexpr int DefaultCellSize = 24;

} // namespace

bool writeMapPng(MapRenderer& renderer, const delvard::MapData& map, PngWriter::Sink sink,
                 QString& problem)
{
    const QSize size = renderer.mapSize(map);
    const int side = renderer.cellSize();
    QImage band(size.width(), side, QImage::Format_RGB32);
    if (band.isNull()) {
        problem = QStringLiteral("there is not enough memory for a band of the picture");
        return false;
    }
    PngWriter png(std::move(sink), size.width(), size.height());
    for (int b = 0; b < size.height() / side; ++b) {
        renderer.drawBand(band, map, b);
        if (!png.writeRows(band)) {
            problem = png.problem();
            return false;
        }
    }
    if (!png.finish()) {
        problem = png.problem();
        return false;
    }
    return true;
}

int runRenderCommand(const QStringList& args, CommandIo& io, const PictureList& pictures)
{
    CommandLine line(QStringLiteral("render"), Help);
    line.addValue(QStringLiteral("cell-size"), QStringLiteral("PX"),
                  QStringLiteral("cell side in pixels"));
    line.addFlag(QStringLiteral("grid"), QStringLiteral("draw the grid"));
    if (const auto stop = line.parse(args, io))
        return *stop;
    const QStringList paths = line.positional();
    if (paths.size() != 2)
        return line.usageError(io, QStringLiteral("expected a map file and a PNG file, got %1 "
                                                  "file names")
                                       .arg(paths.size()));

    int cellSize = DefaultCellSize;
    if (line.isSet(QStringLiteral("cell-size"))) {
        bool number = false;
        cellSize = line.value(QStringLiteral("cell-size")).toInt(&number);
        if (!number || cellSize < MinCellSize || cellSize > MaxCellSize)
            return line.usageError(
                io, QStringLiteral("--cell-size must be a whole number from "
                                   "%1 to %2, not '%3'")
                        .arg(MinCellSize)
                        .arg(MaxCellSize)
                        .arg(delvard::displayName(line.value(QStringLiteral("cell-size")))));
    }

    const MapFile file = loadMapFile(paths[0]);
    if (!file.ok()) {
        io.err << "delvard-map render: " << file.displayName() << ": " << file.problem() << '\n';
        io.err.flush();
        return ExitProblem;
    }
    const QString target = paths[1] == QLatin1String("-") ? QStringLiteral("standard output")
                                                          : delvard::displayName(paths[1]);
    if (const QString problem = reasonToKeep(paths[1], paths[0]); !problem.isEmpty()) {
        io.err << "delvard-map render: " << target << ": " << problem << '\n';
        io.err.flush();
        return ExitProblem;
    }
    auto cannotWrite = [&](QString problem) {
        if (!problem.endsWith(u'.'))
            problem += u'.';
        io.err << "delvard-map render: " << target << ": Cannot write the picture: " << problem
               << '\n';
        io.err.flush();
        return ExitProblem;
    };
    PictureFile out(paths[1], io.standardOutput);
    if (!out.open())
        return cannotWrite(out.problem());
    MapRenderer renderer(pictures);
    renderer.setCellSize(cellSize);
    renderer.setGridShown(line.isSet(QStringLiteral("grid")));
    QString problem;
    if (!writeMapPng(
            renderer, file.map(),
            [&out](const char* bytes, std::size_t size) { return out.write(bytes, size); },
            problem) ||
        !out.finish()) {
        // Standard output's failure is named once, as the program ends, in
        // the words every command uses for it.
        if (out.isStandardOutput() && !out.problem().isEmpty())
            return ExitProblem;
        return cannotWrite(out.problem().isEmpty() ? problem : out.problem());
    }
    return ExitSuccess;
}

} // namespace delvard
