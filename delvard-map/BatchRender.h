#pragma once

#include "delvard-map/CommandIo.h"
#include "drawing/PictureMaker.h"

#include <QStringList>

namespace delvard {

class PictureList;

// The picture render --to writes for a map: its file name without a final
// ".kld" (in any case), with ".png".
QString pictureNameFor(const QString& mapPath);

// delvard-map render --to FOLDER MAP...: every map drawn into the folder
// (made if missing), on every core. A progress line on standard error
// when it is a terminal; each failure named, the other pictures still
// written. Maps that would give one picture name refuse the whole batch
// before anything is written. An interrupt removes the pictures being
// written and says how many are finished. Returns the exit status.
int renderBatch(const QStringList& maps, const QString& folder, const PictureOptions& options,
                const PictureList& pictures, CommandIo& io);

} // namespace delvard
