#include "Module1.h"

#include <QCoreApplication>
#include <QDir>

namespace Module1 {

namespace {
QString programFolderOverride;
}

QString ProgramFolder()
{
    if (!programFolderOverride.isEmpty())
        return programFolderOverride;
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

void OverrideProgramFolder(const QString& folder)
{
    programFolderOverride = QDir::toNativeSeparators(folder);
}

void ClearEditorState()
{
    for (auto& row : CellCodes)
        for (auto& column : row)
            for (auto& layer : column)
                layer = CellText();
    MapWidth = 0;
    MapHeight = 0;
    MapPixelWidth = 0;
    MapPixelHeight = 0;
    CellSize = 1080;
    RowTop = 1080;
    SettingsPath.clear();
    MapFilePath.clear();
    MapHeader.clear();
    MapBody.clear();
    GridShown = true;
    CurrentTerrain = 1;
    CurrentOwner = 1;
    ChooseFolderMode = false;
    MapFolder = ProgramFolder();
    ForeignCellCodes.reset(0);
}

void SetStartupDefaults()
{
    MapFolder = ProgramFolder();
    GridShown = true;
    RowTop = 1080;
    CellSize = 1080;
    CurrentTerrain = 1;
    CurrentOwner = 1;
}

} // namespace Module1
