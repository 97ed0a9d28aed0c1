#include "delvard-map/BatchRender.h"
#include "delvard-map/CommandLine.h"
#include "delvard-map/CommandTable.h"
#include "delvard-map/DelvardMap.h"
#include "delvard-map/RenderJob.h"
#include "document/NativeFileName.h"
#include "drawing/FitPicture.h"

namespace delvard {

namespace {

constexpr int MinCellSize = SmallestPictureCell;
constexpr int MaxCellSize = 72;
// The editor's smallest zoom: a whole 255 x 255 map is then a picture 6168
// pixels square, about 2.6 MB as PNG.
constexpr int DefaultCellSize = 24;

// A whole number from min to max given to `option`, or a usage error.
std::optional<int> numberOption(const CommandLine& line, CommandIo& io, const QString& option,
                                int min, int max, int& status)
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

int runRender(const CommandLine& line, CommandIo& io, CommandContext& context)
{
    const QString cellSizeOption = QStringLiteral("cell-size");
    const QString fitOption = QStringLiteral("fit");
    const QString toOption = QStringLiteral("to");
    const QStringList paths = line.files();
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

    if (line.isSet(toOption))
        return renderBatch(paths, line.value(toOption), options, context.pictures.get(), io);
    PictureMaker maker(context.pictures.get(), options);
    const Outcome outcome = renderMapToFile(maker, paths[0], paths[1], io.standardOutput,
                                            PictureFile::Interrupts::RemoveUnfinished);
    if (!outcome.problem.isEmpty()) {
        io.err << "delvard-map render: " << outcome.problem << '\n';
        io.err.flush();
    }
    return outcome.ok ? ExitSuccess : ExitProblem;
}

} // namespace

const Command& renderCommand()
{
    const QString options = QStringLiteral("[--cell-size PX | --fit N] [--grid] ");
    static const Command command{
        QStringLiteral("render"),
        {{options + QStringLiteral("FILE OUT.png"),
          QStringLiteral("FILE OUT.png"),
          QStringLiteral("the map as the editor shows it, as a PNG picture"),
          {QStringLiteral("kld"), QStringLiteral("png")},
          2,
          2,
          QStringLiteral("expected a map file and a PNG file, got %1 file names")},
         {options + QStringLiteral("--to FOLDER FILE..."),
          QStringLiteral("--to DIR FILE..."),
          QStringLiteral("every map into a folder, on every core"),
          {QStringLiteral("kld")},
          1,
          AnyNumber,
          QStringLiteral("--to needs at least one map file"),
          QStringLiteral("to")}},
        QStringLiteral(
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
            "finished ones and says how many were written."),
        {{QStringLiteral("cell-size"), QStringLiteral("PX"),
          QStringLiteral("side of a cell in pixels, 4 to 72 (default 24, the\n"
                         "editor's smallest zoom; 72 is its largest)"),
          QStringLiteral("24 32 40 48 56 64 72")},
         {QStringLiteral("fit"), QStringLiteral("N"),
          QStringLiteral("the whole map, margin included, as large as fits in\n"
                         "N x N pixels, N from 16 to 4096 (for thumbnails): cells\n"
                         "smaller than 4 pixels are drawn in the average colour of\n"
                         "the cell, and below a pixel a cell the picture is\n"
                         "averaged down"),
          QStringLiteral("128 256 512 1024 2048 4096")},
         {QStringLiteral("grid"),
          {},
          QStringLiteral("draw the grid as the editor does: a thin border inside\n"
                         "every cell (not in cells smaller than 4 pixels)")},
         {QStringLiteral("to"), QStringLiteral("FOLDER"),
          QStringLiteral("draw every FILE into FOLDER"), FolderNames}},
        QStringLiteral("Exit status: 0 when every picture was written, 1 when a map could not be\n"
                       "read or is not a whole map, or a picture could not or must not be\n"
                       "written, 2 on a usage error or pictures that would clash."),
        runRender};
    return command;
}

} // namespace delvard
