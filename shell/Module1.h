#pragma once

#include "ByteQueue.h"
#include "CellText.h"
#include "CodeTables.h"
#include "MapCodec.h"

#include <QString>
#include <string>

// The editor state shared by every window: plain variables, read and
// written in place. Values before Main are the "cleared" ones; Main then
// sets the start-up defaults.
namespace Module1 {

inline constexpr int CellCodeRows = 401;
inline constexpr int CellCodeColumns = 401;
inline constexpr int CellCodeLayers = 3;

// [row 0..400][column 0..400][layer 0..2]; layer 1 the terrain tool index,
// layer 2 the owner code, both as decimal text. Row 0, column 0 and layer 0
// are never used.
inline CellText CellCodes[CellCodeRows][CellCodeColumns][CellCodeLayers];

inline int MapWidth = 0;       // cells, from header byte 20
inline int MapHeight = 0;      // cells, from header byte 24
inline int MapPixelWidth = 0;  // twips: (MapWidth + 2) x CellSize
inline int MapPixelHeight = 0; // twips: (MapHeight + 2) x CellSize
inline int CellSize = 1080;    // twips, 360..1080 in steps of 120
inline int RowTop = 1080;      // twips, layout cursor of the row being laid out
inline QString SettingsPath;
inline QString MapFilePath;
inline std::string MapHeader; // the file's first 36 bytes, verbatim
inline ByteQueue MapBody;     // the bytes after the header; records are taken off its front
inline bool GridShown = true;
inline int CurrentTerrain = 1; // terrain tool index
inline int CurrentOwner = 1;   // owner code
inline bool ChooseFolderMode = false;
inline QString MapFolder;

// Terrain and owner bytes the code tables did not know, per cell, so that
// a save gives an unpainted cell its file bytes back.
inline delvard::ForeignCodes ForeignCellCodes;

// The folder of the executable, without a trailing separator.
QString ProgramFolder();
// Makes ProgramFolder() answer another folder (tests of the settings file
// and the read-me viewer use scratch folders); empty restores the real one.
void OverrideProgramFolder(const QString& folder);

// Puts every variable back to its value before Main ran (tests start each
// case from here).
void ClearEditorState();

// Steps 1 and 2 of Main: the start-up defaults.
void SetStartupDefaults();

// The program's entry procedure: defaults, then the main window.
void Main();

using delvard::GetTerrainCode;

} // namespace Module1
