#include "delvard-map/RenderJob.h"

#include "document/MapFile.h"
#include "document/NativeFileName.h"

namespace delvard {

Outcome renderMapToFile(PictureMaker& maker, const QString& mapPath, const QString& picturePath,
                        StandardOutput* standardOutput, PictureFile::Interrupts interrupts)
{
    const MapFile file = loadMap(mapPath);
    if (!file.ok())
        return Outcome::failed(file.displayName() + QStringLiteral(": ") + file.problem());
    const QString target = picturePath == QLatin1String("-") ? QStringLiteral("standard output")
                                                             : delvard::displayName(picturePath);
    if (const QString problem = reasonToKeep(picturePath, mapPath); !problem.isEmpty())
        return Outcome::failed(target + QStringLiteral(": ") + problem);
    const auto cannotWrite = [&target](QString problem) {
        if (!problem.endsWith(u'.'))
            problem += u'.';
        return Outcome::failed(target + QStringLiteral(": Cannot write the picture: ") + problem);
    };
    PictureFile out(picturePath, standardOutput, interrupts);
    if (!out.open())
        return cannotWrite(out.problem());
    const Outcome drawn = maker.write(
        file.map(), [&out](const char* bytes, std::size_t size) { return out.write(bytes, size); });
    if (!drawn.ok || !out.finish()) {
        // Standard output's failure is named once, as the program ends, in
        // the words every command uses for it.
        if (out.isStandardOutput() && !out.problem().isEmpty())
            return Outcome::failed({});
        return cannotWrite(out.problem().isEmpty() ? drawn.problem : out.problem());
    }
    return {};
}

} // namespace delvard
