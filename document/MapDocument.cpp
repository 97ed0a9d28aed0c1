#include "MapDocument.h"

#include "FileWriter.h"
#include "NativeFileName.h"
#include "ProblemWords.h"

#include <new>

namespace delvard {

MapDocument::Opened MapDocument::open(const QString& path)
{
    Opened opened;
    try {
        const FileRead file = readMapFile(nativePath(path));
        if (!file.ok) {
            opened.problem = describeProblem(file.problem, MapFiles);
            return opened;
        }
        DecodedMap decoded = decodeMap(file.bytes);
        if (!decoded.check.ok()) {
            opened.problem = describeProblem(decoded.check);
            return opened;
        }
        opened.document = std::make_unique<MapDocument>(path, std::move(decoded.map), file.stamp);
        std::error_code error;
        const auto copy = inPlaceCopyOf(std::filesystem::canonical(nativePath(path), error));
        if (!error && std::filesystem::exists(copy, error))
            opened.leftoverCopy = fromNativePath(copy);
    } catch (const std::bad_alloc&) {
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

SaveResult MapDocument::save()
{
    const QByteArray bytes = bytesToSave();
    const std::string_view content(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const std::filesystem::path file = nativePath(path_);
    const FileWrite written = replaceFile(file, content);
    if (!written.ok) {
        QString problem = describeProblem(written.problem, MapFiles);
        if (!written.keptCopy.empty())
            problem += QStringLiteral(" The map as it was is kept in \"%1\".")
                           .arg(displayName(fromNativePath(written.keptCopy)));
        return {false, problem};
    }
    std::error_code error;
    onDisk_.size = content.size();
    onDisk_.contentHash = contentHash(content);
    onDisk_.modified = std::filesystem::last_write_time(file, error);
    return {true, QString()};
}

} // namespace delvard
