#pragma once

#include "CommandIo.h"
#include "MapFormat.h"
#include "PngWriter.h"

#include <QStringList>

namespace delvard {

class MapRenderer;
class PictureList;

// Writes the picture of the map that the renderer draws as a PNG, one band
// (one row of cells, as high as a cell and as wide as the picture) at a
// time: a whole 255 x 255 map at 72 px would take 1.3 GB as one image, band
// by band it takes a few megabytes. Returns false when the picture could not
// be written; `why` then holds the PNG library's reason (a sink that failed
// knows its own).
bool writeMapPng(MapRenderer& renderer, const delvard::MapData& map, PngWriter::Sink sink,
                 QString& why);

// delvard-map render: args[0] is "render"; returns the exit status.
int runRenderCommand(const QStringList& args, CommandIo& io, const PictureList& pictures);

} // namespace delvard
