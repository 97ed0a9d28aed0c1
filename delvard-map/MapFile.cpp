#include "MapFile.h"

#include "CommandIo.h"
#include "FileReader.h"
#include "NativeFileName.h"

QString MapFile::problem() const
{
    if (!readable())
        return delvard::withControlCharactersEscaped(readError);
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
    const delvard::FileRead read = delvard::readMapFile(delvard::nativePath(path));
    if (!read.ok) {
        file.readError = QString::fromStdString(read.reason);
        return file;
    }
    file.decoded = delvard::decodeMap(read.bytes);
    return file;
}

CellPosition cellPosition(const delvard::MapData& map, std::size_t index)
{
    if (map.width <= 0 || map.height <= 0)
        return {1, 1};
    const auto width = static_cast<std::size_t>(map.width);
    return {static_cast<int>(index / width) + 1, static_cast<int>(index % width) + 1};
}
