#include "document/MapFile.h"

#include "document/FileReader.h"
#include "document/NativeFileName.h"
#include "document/ProblemWords.h"

#include <new>

namespace delvard {

QString MapFile::problem() const
{
    if (!readable())
        return readProblem;
    return delvard::describeProblem(decoded.check);
}

QString MapFile::displayName() const
{
    return delvard::displayName(path);
}

MapFile loadMap(const QString& path)
{
    MapFile file;
    file.path = path;
    try {
        FileRead read = readMapFile(nativePath(path));
        if (!read.ok) {
            file.readProblem = describeProblem(read.problem, MapFiles);
            return file;
        }
        file.decoded = decodeMap(read.bytes);
        file.bytes = std::move(read.bytes);
        file.stamp = read.stamp;
    } catch (const std::bad_alloc&) {
        file = MapFile{};
        file.path = path;
        file.readProblem = describeProblem({FileProblem::Kind::OutOfMemory, {}, 0, {}}, MapFiles);
    }
    return file;
}

} // namespace delvard
