#include "delvard-map/RenderCommand.h"

#include "delvard-map/BatchRender.h"
#include "delvard-map/CommandLine.h"
#include "delvard-map/DelvardMap.h"
#include "delvard-map/RenderJob.h"
#include "document/NativeFileName.h"
#include "drawing/FitPicture.h"

namespace delvard {

namespace {

const QString Help = QStringLiteral(
    "Usage: delvard-map render [--cell-size PX | --fit N] [--grid] FILE OUT.png\n"
    "       delvard-map render [--cell-size PX | --fit N] [--grid] --to FOLDER FILE...\n"
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
    "With --to, every FILE is drawn into FOLDER (made if missing), as its name\n"
    "without a final .kld and with .png, on every processor core; a map that\n"
    "cannot be drawn is named and the others are still drawn. Maps that would\n"
    "give the same picture name (also in another letter case) stop the batch\n"
    "before anything is drawn. On a terminal a progress line counts the maps.\n"
    "An interrupt (Ctrl+C, kill) removes the pictures being written, keeps the\n"
    "finished ones and says how many were written.\n"
    "\n"
    "Options:\n"
    "  --cell-size PX  side of a cell in pixels, 4 to 72 (default 24, the\n"
    "                  editor's smallest zoom; 72 is its largest)\n"
    "  --fit N         the whole map, margin included, as large as fits in\n"
    "                  N x N pixels, N from 16 to 4096 (for thumbnails): cells\n"
    "                  smaller than 4 pixels are drawn in the average colour of\n"
    "                  the cell, and below a pixel a cell the picture is\n"
    "                  averaged down\n"
    "  --grid          draw the grid as the editor does: a thin border inside\n"
    "                  every cell (not in cells smaller than 4 pixels)\n"
    "  --to FOLDER     draw every FILE into FOLDER\n"
    "  -h, --help      show this help\n"
    "\n"
    "Exit status: 0 when every picture was written, 1 when a map could not be\n"
    "read or is not a whole map, or a picture could not or must not be\n"
    "written, 2 on a usage error or pictures that would clash.\n");

constexpr int MinCellSize = SmallestPictureCell;
constexpr int MaxCellSize = 72;
// The editor's smallest zoom: a whole 255 x 255 map is then a picture 6168
// pixels square, about 2.6 MB as PNG.
constexpr int DefaultCellSize = 24;

// A whole number from min to max given to `option`, or a usage error.
std::optional<int> numberOption(CommandLine& line, CommandIo& io, const QString& option, int min,
                                int max, int& status)
{
    bool number = false;
    const int value = line.value(option).toInt(&number);
    if (number && value >= min && value <= max)
        return value;
    status =
        line.usageError(io, QStringLiteral("--%1 must be a whole number from %2 to %3, not '%4'")
                                .arg(option)
                                .arg(min)
                                .arg(max)
                                .arg(delvard::displayName(line.value(option))));
    return std::nullopt;
}

} // namespace

int runRenderCommand(const QStringList& args, CommandIo& io, PicturesOnDemand& pictures)
{
    CommandLine line(QStringLiteral("render"), Help);
    const QString cellSizeOption = QStringLiteral("cell-size");
    const QString fitOption = QStringLiteral("fit");
    const QString toOption = QStringLiteral("to");
    line.addValue(cellSizeOption, QStringLiteral("PX"), QStringLiteral("cell side in pixels"));
    line.addValue(fitOption, QStringLiteral("N"), QStringLiteral("the largest side in pixels"));
    line.addFlag(QStringLiteral("grid"), QStringLiteral("draw the grid"));
    line.addValue(toOption, QStringLiteral("FOLDER"), QStringLiteral("draw every map there"));
    if (const auto stop = line.parse(args, io))
        return *stop;
    const QStringList paths = line.positional();
    const bool batch = line.isSet(toOption);
    if (batch && paths.isEmpty())
        return line.usageError(io, QStringLiteral("--to needs at least one map file"));
    if (!batch && paths.size() != 2)
        return line.usageError(io, QStringLiteral("expected a map file and a PNG file, got %1 "
                                                  "file names")
                                       .arg(paths.size()));

    PictureOptions options;
    options.cellSize = DefaultCellSize;
    options.grid = line.isSet(QStringLiteral("grid"));
    if (line.isSet(cellSizeOption) && line.isSet(fitOption))
        return line.usageError(io, QStringLiteral("--cell-size and --fit cannot be used together"));
    int status = ExitUsage;
    if (line.isSet(cellSizeOption)) {
        const auto value = numberOption(line, io, cellSizeOption, MinCellSize, MaxCellSize, status);
        if (!value)
            return status;
        options.cellSize = *value;
    }
    if (line.isSet(fitOption)) {
        options.fit = numberOption(line, io, fitOption, MinFit, MaxFit, status);
        if (!options.fit)
            return status;
    }

    if (batch)
        return renderBatch(paths, line.value(toOption), options, pictures.get(), io);
    PictureMaker maker(pictures.get(), options);
    const RenderOutcome outcome = renderMapToFile(maker, paths[0], paths[1], io.standardOutput,
                                                  PictureFile::Interrupts::RemoveUnfinished);
    if (!outcome.message.isEmpty()) {
        io.err << "delvard-map render: " << outcome.message << '\n';
        io.err.flush();
    }
    return outcome.ok ? ExitSuccess : ExitProblem;
}

} // namespace delvard
