#include "document/MapDocument.h"

#include "document/FileWriter.h"
#include "document/MapFile.h"
#include "document/NativeFileName.h"
#include "document/ProblemWords.h"

#include <QFileInfo>
#include <QLocale>

#include <new>

namespace delvard {

namespace {

// What a safety copy holds, so that the user can judge whether it is worth
// putting back: its map's size or that it is none, and its time.
QString describeCopy(const FileRead& copy, const std::filesystem::path& name)
{
    const QString written =
        QLocale().toString(QFileInfo(fromNativePath(name)).lastModified(), QLocale::ShortFormat);
    if (!copy.ok)
        return QStringLiteral("It was written %1 and cannot be read: %2")
            .arg(written, describeProblem(copy.problem, MapFiles));
    const MapCheck check = checkMapBytes(copy.bytes);
    if (!check.ok())
        return QStringLiteral("It was written %1 and holds %2 bytes that are not a whole map.")
            .arg(written)
            .arg(copy.bytes.size());
    return QStringLiteral("It was written %1 and holds a map of %2 x %3 cells.")
        .arg(written)
        .arg(check.width)
        .arg(check.height);
}

// A copy that holds the file's own bytes lost nothing: it goes silently.
void findLeftoverCopy(const QString& path, const std::string& bytes, MapDocument::Opened& opened)
{
    std::error_code error;
    const auto file = std::filesystem::canonical(nativePath(path), error);
    if (error)
        return;
    for (const std::filesystem::path& copy : safetyCopiesOf(file)) {
        if (copy.empty() || !std::filesystem::exists(std::filesystem::symlink_status(copy, error)))
            continue;
        const FileRead held = readMapFile(copy);
        if (held.ok && held.bytes == bytes && std::filesystem::remove(copy, error))
            continue;
        opened.leftoverCopy = fromNativePath(copy);
        opened.leftoverCopyHolds = describeCopy(held, copy);
        return;
    }
}

} // namespace

MapDocument::Opened MapDocument::open(const QString& path)
{
    Opened opened;
    MapFile file = loadMap(path);
    if (!file.ok()) {
        opened.problem = file.problem();
        return opened;
    }
    try {
        opened.document =
            std::make_unique<MapDocument>(path, std::move(file.decoded.map), file.stamp);
        findLeftoverCopy(path, file.bytes, opened);
    } catch (const std::bad_alloc&) {
        opened.document.reset();
        opened.problem = describeProblem({FileProblem::Kind::OutOfMemory, {}, 0, {}}, MapFiles);
    }
    return opened;
}

MapDocument::MapDocument(QString path, MapData map, FileStamp stamp, QObject* parent)
    : QObject(parent), path_(std::move(path)), map_(std::move(map)), onDisk_(stamp)
{
}

PaintArea MapDocument::paintArea(CellPosition cell, Terrain terrain) const
{
    return delvard::paintArea(map_.width, map_.height, cell, terrain);
}

bool MapDocument::paint(CellPosition cell, Terrain terrain, Owner owner)
{
    const PaintArea paint = paintArea(cell, terrain);
    if (!paint.accepted)
        return false;
    const Cell painted = Cell::painted(terrain, owner);
    const CellArea& area = paint.area;
    for (int r = area.top; r <= area.bottom; ++r)
        for (int c = area.left; c <= area.right; ++c)
            map_.at({r, c}) = painted;
    emit cellsChanged(area);
    return true;
}

QByteArray MapDocument::bytesToSave() const
{
    const std::string bytes = encodeMap(map_) + map_.trailing;
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

MapDocument::DiskCheck MapDocument::checkFileOnDisk() const
{
    const FileRead now = readMapFile(nativePath(path_));
    if (now.missing)
        return {OnDisk::Vanished, QString()};
    if (!now.ok)
        return {OnDisk::Unreadable, describeProblem(now.problem, MapFiles)};
    const bool sameBytes =
        now.stamp.size == onDisk_.size && now.stamp.contentHash == onDisk_.contentHash;
    return {sameBytes ? OnDisk::AsLeft : OnDisk::Changed, QString()};
}

SaveResult MapDocument::save(FileOutput::SafetyCopy safetyCopy)
{
    const QByteArray bytes = bytesToSave();
    const std::string_view content(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const std::filesystem::path file = nativePath(path_);
    const FileWrite written = replaceFile(file, content, safetyCopy);
    if (!written.ok) {
        QString problem = describeProblem(written.problem, MapFiles);
        if (!written.keptCopy.empty())
            problem += QStringLiteral(" The map as it was is kept in \"%1\".")
                           .arg(displayName(fromNativePath(written.keptCopy)));
        return {false, problem, written.problem.kind == FileProblem::Kind::NoSafetyCopy};
    }
    std::error_code error;
    onDisk_.size = content.size();
    onDisk_.contentHash = contentHash(content);
    onDisk_.modified = std::filesystem::last_write_time(file, error);
    return {true, QString()};
}

} // namespace delvard
