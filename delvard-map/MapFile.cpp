#include "delvard-map/MapFile.h"

#include "delvard-map/CommandIo.h"
#include "document/FileReader.h"
#include "document/NativeFileName.h"
#include "document/ProblemWords.h"

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

MapFile loadMapFile(const QString& path)
{
    MapFile file;
    file.path = path;
    // The editor's own reader: the same reasons for the same bad files.
    const delvard::FileRead read = delvard::readMapFile(delvard::nativePath(path));
    if (!read.ok) {
        file.readProblem = delvard::describeProblem(read.problem, delvard::MapFiles);
        return file;
    }
    file.decoded = delvard::decodeMap(read.bytes);
    return file;
}

} // namespace delvard
