#pragma once

#include "document/FileReader.h"
#include "document/MapFormat.h"

#include <QString>

#include <cstddef>
#include <string>

namespace delvard {

// A map file as read from disk and decoded. The editor and every command
// load their maps through loadMap(), so they all name a bad file and its
// fault in the same words.
struct MapFile
{
    QString path;        // as the caller gave it
    QString readProblem; // why the file could not be read at all; empty if it was
    std::string bytes;   // the file's bytes, when it was read
    FileStamp stamp;     // what it held, to notice later that it changed
    delvard::DecodedMap decoded;

    bool readable() const { return readProblem.isEmpty(); }
    // Read, with a header and every record that it announces.
    bool ok() const { return readable() && decoded.check.ok(); }
    // The cells; empty unless ok().
    const delvard::MapData& map() const { return decoded.map; }
    int width() const { return decoded.check.width; }
    int height() const { return decoded.check.height; }
    // Why the file is not a whole map; empty when ok().
    QString problem() const;
    // The path as the user's platform writes it.
    QString displayName() const;
};

MapFile loadMap(const QString& path);

} // namespace delvard
