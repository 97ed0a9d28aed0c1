#include "MapFile.h"

#include "MapFileStore.h"

#include <QDir>

QString MapFile::problem() const
{
    if (!readable())
        return readError;
    return QString::fromStdString(decoded.check.reason());
}

QString MapFile::displayName() const
{
    return QDir::toNativeSeparators(path);
}

MapFile loadMapFile(const QString& path)
{
    MapFile file;
    file.path = path;
    // The editor's own reader: the same reasons for the same bad files.
    delvard::FileReadResult read = delvard::readWholeFile(path);
    if (!read.ok) {
        file.readError = read.reason;
        return file;
    }
    file.bytes = std::move(read.bytes);
    file.decoded = delvard::decodeMap(
        std::string_view(file.bytes.constData(), static_cast<std::size_t>(file.bytes.size())));
    return file;
}

CellPosition cellPosition(int width, std::size_t element)
{
    if (width <= 0)
        return {1, 1};
    return {static_cast<int>(element / width) + 1, static_cast<int>(element % width) + 1};
}
