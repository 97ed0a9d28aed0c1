#pragma once

#include "ToolbarState.h"
#include "frmMap.h"

#include <QMainWindow>
#include <QPointer>

class QAction;
class QLabel;
class QMenu;
class QScrollArea;
class Toolbar1;

// The main window: menu, palette toolbar, the scrolling area that holds the
// map window, and a status bar. It holds no editor state of its own.
class frmMain : public QMainWindow
{
    Q_OBJECT

  public:
    frmMain();
    ~frmMain() override;

    // The one main window, or null before Main made it.
    static frmMain* instance();

    // Runs before the window is first shown: caption, settings file, and on
    // the first run the About box and the map folder chooser.
    void MDIForm_Load();

    void mnuOpen_Click();
    void mnuSave_Click();
    void mnuExit_Click();
    void mnuMapFiles_Click();
    void mnuAbout_Click();
    void mnuReadMe_Click();
    void Toolbar1_ButtonClick(int b);

    ToolbarState& toolbarState() { return toolbarState_; }
    Toolbar1* toolbar() const { return toolbar_; }
    frmMap* map() const { return map_; }
    QScrollArea* mapArea() const { return mapArea_; }

    QMenu* mnuFile = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* mnuSpace1 = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuSpace5 = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnuPath = nullptr;
    QAction* mnuMapFiles = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuAbout = nullptr;
    QAction* mnuSpace4 = nullptr;
    QAction* mnuReadMe = nullptr;

    // "Delvard Version 2.0.0", from the application's title and version numbers.
    static QString caption();

    // The size the window opens at where the screen has room for it.
    static constexpr QSize DesignedSize{1240, 820};

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void buildMenus();
    void buildStatusBar();
    QString chooseMapFile();
    void showMapWindow();
    void storeMapFolder();
    void showHoveredCell(int element);
    void showCurrentTools();
    void fitToScreen(QMargins frame);

    ToolbarState toolbarState_;
    Toolbar1* toolbar_ = nullptr;
    QScrollArea* mapArea_ = nullptr;
    QPointer<frmMap> map_;
    QLabel* cellLabel_ = nullptr;
    QLabel* toolsLabel_ = nullptr;
    // The element under the pointer, shown in the status bar (-1: none).
    int hoveredElement_ = -1;
    static constexpr int RepeatHoveredCell = -2;
    bool fittedOnScreen_ = false;
};
