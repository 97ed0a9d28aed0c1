#include "frmMain.h"

#include "CodeTables.h"
#include "ImageList.h"
#include "MapCommands.h"
#include "Module1.h"
#include "PaletteClicks.h"
#include "Settings.h"
#include "Toolbar1.h"
#include "Twips.h"
#include "WindowFit.h"
#include "frmGetDir.h"
#include "frmMap.h"
#include "frmReadme.h"
#include "frmSplash.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>

namespace {

frmMain* theMainWindow = nullptr;

// The open dialog's one filter: description and pattern.
const QString MapFileFilter = QStringLiteral("Qz4 Map File (*map.kld)");

} // namespace

frmMain::frmMain()
{
    theMainWindow = this;
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(QIcon(QPixmap::fromImage(ImageList::programIcon())));

    buildMenus();

    toolbar_ = new Toolbar1(toolbarState_, this);
    addToolBar(Qt::TopToolBarArea, toolbar_);
    connect(toolbar_, &Toolbar1::ButtonClick, this, &frmMain::Toolbar1_ButtonClick);

    // The client area: scrolls when the map window is larger than it.
    mapArea_ = new QScrollArea(this);
    mapArea_->setObjectName(QStringLiteral("mapArea"));
    mapArea_->setWidgetResizable(false);
    mapArea_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mapArea_->setBackgroundRole(QPalette::Dark);
    setCentralWidget(mapArea_);

    buildStatusBar();

    // Before the window is shown its frame is not known yet; the style's
    // title bar stands in for it, and the first show corrects the guess.
    const int edge = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    fitToScreen(QMargins(edge, style()->pixelMetric(QStyle::PM_TitleBarHeight) + edge, edge, edge));
}

void frmMain::fitToScreen(QMargins frame)
{
    const QRect available = screen() ? screen()->availableGeometry() : QRect(0, 0, 1280, 860);
    resize(fittedContentSize(DesignedSize, available.size(), frame));
}

void frmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (fittedOnScreen_)
        return;
    fittedOnScreen_ = true;
    // The window system has placed the frame by the time the first events
    // after showing are handled; a window that still pokes out of the
    // available area (a laptop screen, a task bar) is made to fit.
    QTimer::singleShot(0, this, [this] {
        const QRect available = screen() ? screen()->availableGeometry() : QRect();
        const QRect frame = frameGeometry();
        if (available.isEmpty() || available.contains(frame))
            return;
        fitToScreen(QMargins(geometry().left() - frame.left(), geometry().top() - frame.top(),
                             frame.right() - geometry().right(),
                             frame.bottom() - geometry().bottom()));
        move(available.topLeft());
    });
}

frmMain::~frmMain()
{
    if (theMainWindow == this)
        theMainWindow = nullptr;
}

frmMain* frmMain::instance()
{
    return theMainWindow;
}

QString frmMain::caption()
{
    return QStringLiteral("%1 Version %2.%3.%4")
        .arg(QStringLiteral(DELVARD_TITLE))
        .arg(DELVARD_VERSION_MAJOR)
        .arg(DELVARD_VERSION_MINOR)
        .arg(DELVARD_VERSION_REVISION);
}

void frmMain::buildMenus()
{
    auto item = [this](QMenu* menu, const char* name, const QString& text,
                       void (frmMain::*handler)()) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto separator = [](QMenu* menu, const char* name) {
        QAction* action = menu->addSeparator();
        action->setObjectName(QLatin1String(name));
        return action;
    };

    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuOpen = item(mnuFile, "mnuOpen", QStringLiteral("&Open"), &frmMain::mnuOpen_Click);
    mnuSpace1 = separator(mnuFile, "mnuSpace1");
    mnuSave = item(mnuFile, "mnuSave", QStringLiteral("&Save"), &frmMain::mnuSave_Click);
    mnuSpace5 = separator(mnuFile, "mnuSpace5");
    mnuExit = item(mnuFile, "mnuExit", QStringLiteral("&Exit"), &frmMain::mnuExit_Click);

    mnuPath = menuBar()->addMenu(QStringLiteral("&Path"));
    mnuPath->setObjectName(QStringLiteral("mnuPath"));
    mnuMapFiles =
        item(mnuPath, "mnuMapFiles", QStringLiteral("&Map Files"), &frmMain::mnuMapFiles_Click);

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuAbout = item(mnuHelp, "mnuAbout", QStringLiteral("&About"), &frmMain::mnuAbout_Click);
    mnuSpace4 = separator(mnuHelp, "mnuSpace4");
    mnuReadMe = item(mnuHelp, "mnuReadMe", QStringLiteral("&Read Me"), &frmMain::mnuReadMe_Click);
}

void frmMain::buildStatusBar()
{
    cellLabel_ = new QLabel(this);
    cellLabel_->setObjectName(QStringLiteral("cellLabel"));
    toolsLabel_ = new QLabel(this);
    toolsLabel_->setObjectName(QStringLiteral("toolsLabel"));
    statusBar()->addWidget(cellLabel_, 1);
    statusBar()->addPermanentWidget(toolsLabel_);
    cellLabel_->setText(QStringLiteral("Open a map with File > Open."));
}

void frmMain::MDIForm_Load()
{
    setWindowTitle(caption());

    const SettingsStart settings =
        prepareSettingsFile(Module1::ProgramFolder(), settingsFallbackFolder());
    Module1::SettingsPath = settings.path;
    if (!settings.usable) {
        QMessageBox::warning(this, caption(), settings.problem);
        return;
    }

    if (settings.firstRun) {
        frmSplash::showModal(this);
        Module1::ChooseFolderMode = true;
        frmGetDir::showModal(this);
        storeMapFolder();
        // The first run leaves ChooseFolderMode set, as the chooser's own
        // command does not.
    } else {
        Module1::MapFolder =
            GetIniValue(QStringLiteral("Paths"), QStringLiteral("Map"), Module1::SettingsPath);
    }
}

void frmMain::storeMapFolder()
{
    QString problem;
    if (!::storeMapFolder(&problem))
        QMessageBox::warning(this, caption(), problem);
}

QString frmMain::chooseMapFile()
{
    // Qt's own dialog rather than the desktop's: it matches the pattern
    // without regard to case on every platform, so "...Map.kld" is listed.
    QFileDialog dialog(this);
    dialog.setObjectName(QStringLiteral("Dialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(MapFileFilter);
    // An empty or vanished map folder would leave the dialog at the list of
    // drives; the nearest folder that exists is a better start.
    dialog.setDirectory(frmGetDir::existingFolderFor(Module1::MapFolder));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void frmMain::mnuOpen_Click()
{
    Module1::MapFilePath = chooseMapFile();
    if (Module1::MapFilePath.isEmpty())
        return;

    // A file is read whole; no file may end the program, not even one that
    // takes more memory than there is.
    try {
        const mapcommands::OpenResult opened = mapcommands::readMapIntoState(Module1::MapFilePath);
        if (!opened.loaded) {
            QMessageBox::warning(this, caption(), opened.problem);
            return;
        }
        showMapWindow();
    } catch (const std::bad_alloc&) {
        QMessageBox::warning(this, caption(),
                             QStringLiteral("The map file \"%1\" cannot be opened.\n\nThere is "
                                            "not enough memory to read it.")
                                 .arg(QDir::toNativeSeparators(Module1::MapFilePath)));
    }
}

void frmMain::showMapWindow()
{
    if (map_) {
        mapArea_->takeWidget();
        delete map_;
    }
    map_ = new frmMap(toolbarState_, [this] { mnuOpen->setEnabled(false); });
    map_->setObjectName(QStringLiteral("frmMap"));
    map_->Form_Load();
    connect(map_, &frmMap::hoveredElementChanged, this, &frmMain::showHoveredCell);
    connect(map_, &frmMap::cellsChanged, this, [this] { showHoveredCell(RepeatHoveredCell); });
    mapArea_->setWidget(map_);
    map_->show();
    showCurrentTools();
    cellLabel_->setText(QDir::toNativeSeparators(Module1::MapFilePath));
}

void frmMain::mnuSave_Click()
{
    mnuSave->setEnabled(false);
    const QByteArray content = mapcommands::encodeStateForSave();
    if (content.isEmpty())
        return;
    for (;;) {
        const mapcommands::SaveResult saved = mapcommands::writeToMapFile(content);
        if (saved.saved) {
            statusBar()->showMessage(
                QStringLiteral("Saved %1").arg(QDir::toNativeSeparators(Module1::MapFilePath)),
                5000);
            return;
        }
        QMessageBox box(QMessageBox::Warning, caption(), saved.problem,
                        QMessageBox::Retry | QMessageBox::Cancel, this);
        box.setDefaultButton(QMessageBox::Retry);
        if (box.exec() != QMessageBox::Retry)
            return;
    }
}

void frmMain::mnuExit_Click()
{
    // Ends the run at once; edits that were not saved are dropped.
    QApplication::closeAllWindows();
    QApplication::quit();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    event->accept();
    // The read-me viewer has no owner; it must not keep the program alive.
    QApplication::quit();
}

void frmMain::mnuMapFiles_Click()
{
    Module1::ChooseFolderMode = true;
    frmGetDir::showModal(this);
    Module1::ChooseFolderMode = false;
    storeMapFolder();
}

void frmMain::mnuAbout_Click()
{
    frmSplash::showModal(this);
}

void frmMain::mnuReadMe_Click()
{
    frmReadme::showSingle(this);
}

void frmMain::Toolbar1_ButtonClick(int b)
{
    ::Toolbar1_ButtonClick(b, toolbarState_, map_.data());
    showCurrentTools();
}

void frmMain::showCurrentTools()
{
    toolsLabel_->setText(QStringLiteral("Terrain: %1   Owner: %2   Cell: %3 px%4")
                             .arg(QString::fromUtf8(delvard::terrainName(Module1::CurrentTerrain)),
                                  QString::fromUtf8(delvard::ownerName(Module1::CurrentOwner)))
                             .arg(twipsToPixels(Module1::CellSize))
                             .arg(Module1::GridShown ? QStringLiteral("   Grid") : QString()));
}

void frmMain::showHoveredCell(int element)
{
    if (element == RepeatHoveredCell) // the cells changed under the pointer
        element = hoveredElement_;
    hoveredElement_ = element;
    using namespace Module1;
    if (element < 0 || MapWidth <= 0 || !map_ || element >= map_->elementCount()) {
        cellLabel_->setText(QDir::toNativeSeparators(MapFilePath));
        return;
    }
    const int row = element / MapWidth + 1;
    const int column = element % MapWidth + 1;
    const int terrain = CellCodes[row][column][1].toInt();
    const int owner = CellCodes[row][column][2].toInt();
    auto name = [](std::string_view known, const char* unknown) {
        return known.empty() ? QLatin1String(unknown) : QString::fromUtf8(known);
    };
    cellLabel_->setText(QStringLiteral("Row %1, column %2: %3, %4")
                            .arg(row)
                            .arg(column)
                            .arg(name(delvard::terrainName(terrain), "unknown terrain"),
                                 name(delvard::ownerName(owner), "unknown owner")));
}
