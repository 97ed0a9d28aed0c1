#pragma once

#include <QByteArray>
#include <QString>

// The work behind File > Open and File > Save that needs no window.
namespace mapcommands {

struct OpenResult
{
    bool loaded = false;
    QString problem; // for the user, names the file; empty when loaded
};

// Reads the chosen map file and, only when it holds a whole map, puts it
// into the editor state (MapHeader, MapBody, MapWidth, MapHeight and the
// window size). A bad file leaves the state exactly as it was.
OpenResult readMapIntoState(const QString& path);

// The bytes Save writes: the unchanged header, then one record per cell
// from CellCodes. Cells whose file codes no table knew, and that were not
// painted since, get their file bytes back. Empty when no map is loaded.
QByteArray encodeStateForSave();

struct SaveResult
{
    bool saved = false;
    QString problem; // for the user, names the file
};

// Writes content over the front of MapFilePath, never shortening it.
SaveResult writeToMapFile(const QByteArray& content);

} // namespace mapcommands
