#include "delvard-map/CommandLine.h"
#include "delvard-map/CommandTable.h"
#include "document/CellDescription.h"
#include "document/FileWriter.h"
#include "document/MapFile.h"
#include "document/MapMerge.h"
#include "document/MapSummary.h"
#include "document/MapText.h"
#include "document/NativeFileName.h"
#include "document/ProblemWords.h"

#include <array>

namespace delvard {

namespace {

// A version as the messages name it.
struct Version
{
    const char* role;
    QString path;
    MapFile file = {};
};

QString text(const std::string& words)
{
    return QString::fromStdString(words);
}

QString tailText(const std::string& tail)
{
    if (tail.empty())
        return QStringLiteral("none");
    QString words = QStringLiteral("%1 bytes").arg(tail.size());
    // Short tails are shown whole; a long one is better compared with text.
    if (tail.size() <= 8)
        words += QStringLiteral(" (%1)").arg(text(hexBytes(tail)));
    return words;
}

QString conflictLine(const MergeConflict& conflict, const std::array<Version, 3>& versions)
{
    const auto& [base, ours, theirs] = versions;
    switch (conflict.unit.kind) {
    case MergeUnit::Kind::HeaderByte: {
        const auto byte = [](const std::string& bytes) {
            return text(hexByte(static_cast<std::uint8_t>(bytes.front())));
        };
        return QStringLiteral("header byte %1: ours %2, theirs %3, base %4")
            .arg(conflict.unit.offset)
            .arg(byte(conflict.ours), byte(conflict.theirs), byte(conflict.base));
    }
    case MergeUnit::Kind::Record: {
        const CellPosition place = ours.file.map().positionOf(conflict.unit.record);
        const auto words = [place](const Version& version, const std::string& record) {
            return text(recordText(version.file.map(), place, record));
        };
        return QStringLiteral("%1: ours %2, theirs %3, base %4")
            .arg(cellLabel(place), words(ours, conflict.ours), words(theirs, conflict.theirs),
                 words(base, conflict.base));
    }
    case MergeUnit::Kind::Tail:
        return QStringLiteral("bytes after the records: ours %1, theirs %2, base %3")
            .arg(tailText(conflict.ours), tailText(conflict.theirs), tailText(conflict.base));
    }
    return {};
}

// Why the versions cannot be merged; empty when they can.
QString whyNotMerged(std::array<Version, 3>& versions)
{
    for (Version& version : versions) {
        // The reason is a sentence of its own, after "…left as it was."
        QString role = QLatin1String(version.role);
        role[0] = role[0].toUpper();
        version.file = loadMap(version.path);
        if (!version.file.ok())
            return QStringLiteral("%1 (%2): %3")
                .arg(role, version.file.displayName(), version.file.problem());
    }
    const auto& [base, ours, theirs] = versions;
    const auto size = [](const Version& version) {
        return QStringLiteral("%1 x %2")
            .arg(version.file.map().width)
            .arg(version.file.map().height);
    };
    if (size(base) != size(ours) || size(theirs) != size(ours))
        return QStringLiteral("The versions differ in size: the common ancestor is %1 cells, ours "
                              "%2, theirs %3; a map is merged cell by cell only between versions "
                              "of one width and height.")
            .arg(size(base), size(ours), size(theirs));
    return {};
}

int runMerge(const CommandLine& line, CommandIo& io, CommandContext&)
{
    const QStringList paths = line.files();
    std::array<Version, 3> versions{Version{"the common ancestor", paths[0]},
                                    Version{"ours", paths[1]}, Version{"theirs", paths[2]}};
    const QString name = displayName(paths.size() == 4 ? paths[3] : paths[1]);

    if (const QString why = whyNotMerged(versions); !why.isEmpty()) {
        io.err << "delvard-map merge: " << name << ": not merged, ours is left as it was. " << why
               << '\n';
        return ExitProblem;
    }
    const auto& [base, ours, theirs] = versions;
    const MapMerge merge = mergeMaps(base.file.bytes, ours.file.bytes, theirs.file.bytes);
    if (merge.refused) { // whyNotMerged has said why for every case the merge refuses
        io.err << "delvard-map merge: " << name << ": not merged, ours is left as it was.\n";
        return ExitProblem;
    }
    for (const MergeConflict& conflict : merge.conflicts)
        io.err << name << ": " << conflictLine(conflict, versions) << '\n';

    if (merge.merged != ours.file.bytes) {
        const FileWrite write = replaceFile(nativePath(ours.file.path), merge.merged);
        if (!write.ok) {
            io.err << "delvard-map merge: " << name << ": the merged map could not be written to "
                   << ours.file.displayName() << ": " << describeProblem(write.problem, MapFiles);
            if (!write.keptCopy.empty())
                io.err << " Ours as it was is kept in \""
                       << displayName(fromNativePath(write.keptCopy)) << "\".";
            io.err << '\n';
            return ExitProblem;
        }
    }
    return merge.conflicts.empty() ? ExitSuccess : ExitProblem;
}

} // namespace

const Command& mergeCommand()
{
    static const Command command{
        QStringLiteral("merge"),
        {{QStringLiteral("BASE OURS THEIRS [PATH]"),
          QStringLiteral("BASE OURS THEIRS [PATH]"),
          QStringLiteral("three-way merge, cell by cell (git's merge driver)"),
          {QStringLiteral("kld"), QStringLiteral("kld"), QStringLiteral("kld"), QString()},
          3,
          4,
          QStringLiteral("expected the base, ours, theirs and optionally the path, got %1 names")}},
        QStringLiteral(
            "Merges two versions of a map that grew from a common ancestor, BASE, into\n"
            "OURS, as git's merge driver (see git-setup, which passes -- %O %A %B %P).\n"
            "Each cell's 4-byte record, each other header byte and the bytes after the\n"
            "last record (as one piece) are merged on their own: a piece changed on one\n"
            "side takes that side's value; changed on both sides differently, it keeps\n"
            "ours and is listed on standard error, PATH (default OURS) first:\n"
            "  PATH: row R, column C: ours X, theirs Y, base Z\n"
            "  PATH: header byte N: ours 0xNN, theirs 0xNN, base 0xNN\n"
            "  PATH: bytes after the records: ours ..., theirs ..., base ...\n"
            "OURS is replaced whole once the merged map is complete.\n"
            "\n"
            "All three versions must be whole maps of the same width and height;\n"
            "otherwise nothing is merged, OURS is left as it was, and the message says\n"
            "why."),
        {},
        QStringLiteral("Exit status: 0 when the merge is clean, 1 when there are conflicts or the\n"
                       "maps could not be merged or written, 2 on a usage error."),
        runMerge};
    return command;
}

} // namespace delvard
