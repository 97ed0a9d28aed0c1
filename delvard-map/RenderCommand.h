#pragma once

#include "delvard-map/CommandIo.h"
#include "drawing/PictureMaker.h"

#include <QStringList>

namespace delvard {

class PicturesOnDemand;

// delvard-map render: args[0] is "render"; returns the exit status. The
// pictures are decoded only once the command line is known to be good.
int runRenderCommand(const QStringList& args, CommandIo& io, PicturesOnDemand& pictures);

} // namespace delvard
