#include "RenderCommand.h"

#include "CommandLine.h"
#include "MapFile.h"
#include "MapRenderer.h"
#include "NativeFileName.h"
#include "PictureFile.h"
#include "PngWriter.h"

namespace {

const QString Help =
    QStringLiteral("Usage: delvard-map render [--cell-size PX] [--grid] FILE OUT.png\n"
                   "\n"
                   "Draws the map as the editor's map window shows it: every cell as its owner\n"
                   "colour with the terrain picture over it, inside a black margin one cell\n"
                   "wide, and writes the picture as PNG.\n"
                   "\n"
                   "Options:\n"
                   "  --cell-size PX  side of a cell in pixels, 4 to 72 (default 24, the\n"
                   "                  editor's smallest zoom; 72 is its largest)\n"
                   "  --grid          draw the grid as the editor does: a thin border inside\n"
                   "                  every cell\n"
                   "  -h, --help      show this help\n"
                   "\n"
                   "Exit status: 0 when the picture was written, 1 when the map could not be\n"
                   "read or is not a whole map, or the picture could not be written, 2 on a\n"
                   "usage error.\n");

} // namespace

int runRenderCommand(const QStringList& args, CommandIo& io)
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

    RenderOptions options;
    options.grid = line.isSet(QStringLiteral("grid"));
    if (line.isSet(QStringLiteral("cell-size"))) {
        bool number = false;
        options.cellSize = line.value(QStringLiteral("cell-size")).toInt(&number);
        if (!number || options.cellSize < RenderOptions::MinCellSize ||
            options.cellSize > RenderOptions::MaxCellSize)
            return line.usageError(io, QStringLiteral("--cell-size must be a whole number from "
                                                      "%1 to %2, not '%3'")
                                           .arg(RenderOptions::MinCellSize)
                                           .arg(RenderOptions::MaxCellSize)
                                           .arg(line.value(QStringLiteral("cell-size"))));
    }

    const MapFile file = loadMapFile(paths[0]);
    if (!file.ok()) {
        io.err << "delvard-map render: " << file.displayName() << ": " << file.problem() << '\n';
        io.err.flush();
        return ExitProblem;
    }
    const QString target = delvard::displayName(paths[1]);
    auto cannotWrite = [&](const QString& why) {
        io.err << "delvard-map render: " << target << ": Cannot write the picture: " << why
               << ".\n";
        io.err.flush();
        return ExitProblem;
    };
    // Band by band straight into the file: the whole picture of a big map at
    // a large cell size would not fit in memory.
    MapBands bands(file.decoded, options);
    PictureFile out(paths[1]);
    if (!out.open())
        return cannotWrite(out.problem());
    PngWriter png([&out](const char* bytes, std::size_t size) { return out.write(bytes, size); },
                  bands.pictureWidth(), bands.pictureHeight());
    auto failure = [&] {
        return cannotWrite(out.problem().isEmpty() ? png.errorString() : out.problem());
    };
    for (int b = 0; b < bands.bandCount(); ++b)
        if (!png.writeRows(bands.band(b)))
            return failure();
    if (!png.finish() || !out.finish())
        return failure();
    return ExitSuccess;
}
