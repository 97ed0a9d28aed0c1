#pragma once

#include "delvard-map/PictureFile.h"
#include "document/Outcome.h"
#include "drawing/PictureMaker.h"

#include <QString>

namespace delvard {

class StandardOutput;

// Draws the map in mapPath and writes it to picturePath, or leaves
// picturePath as it was: the map could not be read, the picture must not
// go there (reasonToKeep), or it could not be written. The problem names the
// file ("x.png: Cannot write the picture: ..."); it is empty for a failed
// standard output, which the program names as it ends.
Outcome renderMapToFile(PictureMaker& maker, const QString& mapPath, const QString& picturePath,
                        StandardOutput* standardOutput, PictureFile::Interrupts interrupts);

} // namespace delvard
