#pragma once

#include "delvard-map/PictureFile.h"
#include "drawing/PictureMaker.h"

#include <QString>

namespace delvard {

class StandardOutput;

struct RenderOutcome
{
    bool ok = false;
    // What went wrong, naming the file ("x.png: Cannot write the picture:
    // ..."); empty on success, and for a failed standard output, which the
    // program names as it ends.
    QString message;
};

// Draws the map in mapPath and writes it to picturePath, or leaves
// picturePath as it was: the map could not be read, the picture must not
// go there (reasonToKeep), or it could not be written.
RenderOutcome renderMapToFile(PictureMaker& maker, const QString& mapPath,
                              const QString& picturePath, StandardOutput* standardOutput,
                              PictureFile::Interrupts interrupts);

} // namespace delvard
