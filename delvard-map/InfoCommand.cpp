#include "delvard-map/CommandLine.h"
#include "delvard-map/CommandTable.h"
#include "document/MapFile.h"
#include "document/MapSummary.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace delvard {

namespace {

// Terrain entries carry the terrain's number and the byte of the file,
// owner entries the owner code, which is its own byte.
QJsonArray terrainCountsJson(const MapSummary& summary)
{
    QJsonArray array;
    for (std::size_t i = 0; i < summary.terrainCounts.size(); ++i) {
        if (summary.terrainCounts[i] == 0)
            continue;
        const auto terrain = static_cast<delvard::Terrain>(i);
        const auto code = delvard::codeOfTerrain(terrain);
        array.append(
            QJsonObject{{QStringLiteral("index"), static_cast<int>(i)},
                        {QStringLiteral("code"), code ? QJsonValue(int{*code}) : QJsonValue()},
                        {QStringLiteral("name"), terrainLabel(terrain)},
                        {QStringLiteral("count"), summary.terrainCounts[i]}});
    }
    return array;
}

QJsonArray ownerCountsJson(const MapSummary& summary)
{
    QJsonArray array;
    int code = 0;
    for (const int count : summary.ownerCounts) {
        if (count != 0)
            array.append(
                QJsonObject{{QStringLiteral("code"), code},
                            {QStringLiteral("name"), ownerLabel(static_cast<delvard::Owner>(code))},
                            {QStringLiteral("count"), count}});
        ++code;
    }
    return array;
}

QJsonObject infoJson(const MapFile& file, const MapSummary& summary)
{
    QJsonArray unknown;
    for (const UnknownCode& code : summary.unknownCodes) {
        const bool terrain = code.kind == UnknownCode::Kind::Terrain;
        unknown.append(QJsonObject{
            {QStringLiteral("row"), code.place.row},
            {QStringLiteral("column"), code.place.column},
            {QStringLiteral("kind"), terrain ? QStringLiteral("terrain") : QStringLiteral("owner")},
            {QStringLiteral("byte"), int{code.fileByte}},
            {QStringLiteral("shownAs"),
             code.shownByName ? QJsonValue(code.shownAs) : QJsonValue()}});
    }
    const delvard::MapCheck& check = file.decoded.check;
    return QJsonObject{{QStringLiteral("file"), file.displayName()},
                       {QStringLiteral("width"), check.width},
                       {QStringLiteral("height"), check.height},
                       {QStringLiteral("records"), static_cast<qint64>(check.expectedRecords)},
                       {QStringLiteral("trailingBytes"), static_cast<qint64>(check.trailingBytes)},
                       {QStringLiteral("terrain"), terrainCountsJson(summary)},
                       {QStringLiteral("owners"), ownerCountsJson(summary)},
                       {QStringLiteral("unknownCodes"), unknown}};
}

template <typename Kind, std::size_t N>
void writeCounts(QTextStream& out, const std::array<int, N>& counts, QString (*label)(Kind))
{
    for (std::size_t i = 0; i < N; ++i) {
        if (counts[i] != 0)
            out << "    " << qSetFieldWidth(14) << Qt::left << label(static_cast<Kind>(i))
                << qSetFieldWidth(7) << Qt::right << counts[i] << qSetFieldWidth(0) << Qt::left
                << '\n';
    }
}

void writeText(QTextStream& out, const MapFile& file, const MapSummary& summary)
{
    const delvard::MapCheck& check = file.decoded.check;
    out << file.displayName() << '\n'
        << "  size:           " << check.width << " x " << check.height << " cells\n"
        << "  records:        " << check.expectedRecords << '\n'
        << "  trailing bytes: " << check.trailingBytes << '\n'
        << "  terrain:\n";
    writeCounts(out, summary.terrainCounts, terrainLabel);
    out << "  owners:\n";
    writeCounts(out, summary.ownerCounts, ownerLabel);
    if (summary.unknownCodes.empty()) {
        out << "  unknown codes:  none\n";
    } else {
        out << "  unknown codes:  " << summary.unknownCodes.size() << '\n';
        for (const UnknownCode& code : summary.unknownCodes)
            out << "    " << cellLabel(code.place) << ": " << describeUnknownCode(code) << '\n';
    }
}

int runInfo(const CommandLine& line, CommandIo& io, CommandContext&)
{
    const QStringList paths = line.files();
    const bool json = line.isSet(QStringLiteral("json"));
    int status = ExitSuccess;
    QJsonArray files;
    bool first = true;
    for (const QString& path : paths) {
        const MapFile file = loadMap(path);
        if (!file.ok()) {
            io.err << "delvard-map info: " << file.displayName() << ": " << file.problem() << '\n';
            status = ExitProblem;
            continue;
        }
        const MapSummary summary = summarizeMap(file.map());
        if (json) {
            files.append(infoJson(file, summary));
        } else {
            if (!first)
                io.out << '\n';
            writeText(io.out, file, summary);
        }
        first = false;
    }
    if (json)
        io.out << QString::fromUtf8(QJsonDocument(files).toJson(QJsonDocument::Indented));
    io.out.flush();
    return status;
}

} // namespace

const Command& infoCommand()
{
    static const Command command{
        QStringLiteral("info"),
        {{QStringLiteral("[--json] FILE..."),
          QStringLiteral("FILE..."),
          QStringLiteral("size, records, trailing bytes, terrain and owner\n"
                         "counts, unknown codes"),
          {QStringLiteral("kld")},
          1,
          AnyNumber,
          QStringLiteral("no map file given")}},
        QStringLiteral(
            "Describes each map file: its size in cells, how many cell records it holds,\n"
            "how many bytes follow the last record, how many cells show each terrain and\n"
            "each owner (by palette name; terrain 35, which no button makes, is called\n"
            "\"Checkerboard\"), and every byte that the code tables do not know, with its\n"
            "row and column. Such a cell shows the terrain or owner of the cell decoded\n"
            "before it, which is what the counts include."),
        {{QStringLiteral("json"),
          {},
          QStringLiteral("one JSON array with an object per file, for scripts")}},
        QStringLiteral("Exit status: 0 when every file was described, 1 when a file could not be\n"
                       "read or is not a whole map (the reason is written to standard error) or\n"
                       "standard output could not be written, 2 on a usage error."),
        runInfo};
    return command;
}

} // namespace delvard
