#include "MapFile.h"

#include "MapFileReader.h"
#include "NativeFileName.h"

#include <QDir>

QString MapFile::problem() const
{
    if (!readable())
        return readError;
    return QString::fromStdString(decoded.check.reason());
}

QString MapFile::displayName() const
{
    return delvard::displayName(path);
}

MapFile loadMapFile(const QString& path)
{
    MapFile file;
    file.path = path;
    // The editor's own reader: the same reasons for the same bad files.
    delvard::FileRead read = delvard::readMapFile(delvard::nativePath(path));
    if (!read.ok) {
        file.readError = QString::fromStdString(read.reason);
        return file;
    }
    file.bytes = std::move(read.bytes);
    file.decoded = delvard::decodeMap(file.bytes);
    return file;
}

CellPosition cellPosition(int width, std::size_t element)
{
    if (width <= 0)
        return {1, 1};
    return {static_cast<int>(element / width) + 1, static_cast<int>(element % width) + 1};
}
