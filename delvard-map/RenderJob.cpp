#include "delvard-map/RenderJob.h"

#include "document/MapFile.h"
#include "document/NativeFileName.h"

namespace delvard {

RenderOutcome renderMapToFile(PictureMaker& maker, const QString& mapPath,
                              const QString& picturePath, StandardOutput* standardOutput,
                              PictureFile::Interrupts interrupts)
{
    const MapFile file = loadMap(mapPath);
    if (!file.ok())
        return {false, file.displayName() + QStringLiteral(": ") + file.problem()};
    const QString target = picturePath == QLatin1String("-") ? QStringLiteral("standard output")
                                                             : delvard::displayName(picturePath);
    if (const QString problem = reasonToKeep(picturePath, mapPath); !problem.isEmpty())
        return {false, target + QStringLiteral(": ") + problem};
    const auto cannotWrite = [&target](QString problem) {
        if (!problem.endsWith(u'.'))
            problem += u'.';
        return RenderOutcome{false,
                             target + QStringLiteral(": Cannot write the picture: ") + problem};
    };
    PictureFile out(picturePath, standardOutput, interrupts);
    if (!out.open())
        return cannotWrite(out.problem());
    QString problem;
    if (!maker.write(
            file.map(),
            [&out](const char* bytes, std::size_t size) { return out.write(bytes, size); },
            problem) ||
        !out.finish()) {
        // Standard output's failure is named once, as the program ends, in
        // the words every command uses for it.
        if (out.isStandardOutput() && !out.problem().isEmpty())
            return {false, {}};
        return cannotWrite(out.problem().isEmpty() ? problem : out.problem());
    }
    return {true, {}};
}

} // namespace delvard
