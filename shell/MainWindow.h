#pragma once

#include "document/MapDocument.h"
#include "shell/PaletteModel.h"
#include "shell/SettingsFile.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QLabel;

namespace delvard {

class MapView;
class PaletteToolBar;
class PictureList;
class ReadmeViewer;

// The main window: the menu, the palette, the map, and a status bar naming
// the cell the map indicates (under the pointer, or the keys' current cell)
// and the current tools. It runs the open, save and first-run flows; the map
// document, the palette model and the map view do the rest.
class MainWindow : public QMainWindow
{
    Q_OBJECT

  public:
    // programFolder: where the settings file and the read-me are looked for.
    MainWindow(const PictureList& pictures, QString programFolder, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs before the window is first shown: the caption, the settings
    // file, and on the first run the About box and the map folder chooser.
    void start(SettingsFile::Install install = SettingsFile::Install::Portable);

    // The menu's commands.
    void openMap();
    // Opens a map file without asking for it; false, after telling the
    // user why, when it gives no map.
    bool openMapFile(const QString& path);
    void saveMap();
    void exitProgram();
    void chooseMapFolder();
    void showAbout();
    void showReadme();

    // "Delvard Version 2.0.0": the program's title and version numbers.
    static QString caption();
    // The size the window opens at where the screen has room for it.
    static constexpr QSize DesignedSize{1240, 820};

    QString mapFolder() const { return mapFolder_; }
    const SettingsFile& settings() const { return settings_; }
    PaletteModel& palette() { return palette_; }
    PaletteToolBar* paletteBar() const { return paletteBar_; }
    QAction* openAction() const { return openAction_; }
    QAction* saveAction() const { return saveAction_; }
    // The open map and its view; null before a map is shown.
    delvard::MapDocument* document() const { return document_.get(); }
    MapView* mapView() const { return mapView_; }
    QString cellText() const;
    QString toolsText() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void buildMenus();
    void buildStatusBar();
    void keepTheWorkingPartsUsable();
    QString chooseMapFile();
    void showMap(std::unique_ptr<delvard::MapDocument> document);
    void storeMapFolder();
    // Whether to save over a map another program changed, or in the place of
    // one that was removed.
    bool askToOverwrite(const QString& shownPath, bool vanished);
    bool askToSaveWithoutSafetyCopy(const QString& shownPath);
    void paintCell(delvard::CellPosition cell);
    void showIndicatedCell(delvard::CellPosition cell);
    void showCurrentTools();
    // Says message to a screen reader, if one listens.
    void announce(const QString& message);
    void fitToScreen(QMargins frame);

    const PictureList& pictures_;
    const QString programFolder_;
    SettingsFile settings_;
    QString mapFolder_;
    PaletteModel palette_;
    PaletteToolBar* paletteBar_ = nullptr;
    QAction* openAction_ = nullptr;
    QAction* saveAction_ = nullptr;
    std::unique_ptr<delvard::MapDocument> document_;
    MapView* mapView_ = nullptr;
    QPointer<ReadmeViewer> readme_;
    QLabel* cellLabel_ = nullptr;
    QLabel* toolsLabel_ = nullptr;
    QWidget* announcement_ = nullptr;
    delvard::CellPosition indicated_;
    bool fittedOnScreen_ = false;
};

} // namespace delvard
