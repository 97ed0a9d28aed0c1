#include "shell/MainWindow.h"

#include "delvard/Product.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/MapFolderDialog.h"
#include "dialogs/NearestFolder.h"
#include "dialogs/ReadmeViewer.h"
#include "document/NativeFileName.h"
#include "mapview/CellSentence.h"
#include "mapview/MapView.h"
#include "resources/PictureList.h"
#include "shell/PaletteToolBar.h"
#include "shell/QtRepairs.h"
#include "shell/WindowFit.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>

namespace delvard {

// A message for a screen reader: an invisible notification that is shown
// for each message, which is what readers such as Orca speak.
class Announcement : public QWidget
{
    Q_OBJECT

  public:
    explicit Announcement(QWidget* parent) : QWidget(parent)
    {
        setFixedSize(0, 0);
        hide();
    }

    void say(const QString& message)
    {
        hide();
        setAccessibleName(message);
        show();
    }
};

namespace {

QAccessibleInterface* makeAnnouncementAccessible(const QString& className, QObject* object)
{
    Q_UNUSED(className);
    if (qobject_cast<Announcement*>(object))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

MainWindow::MainWindow(const PictureList& pictures, QString programFolder, QWidget* parent)
    : QMainWindow(parent), pictures_(pictures), programFolder_(std::move(programFolder)),
      mapFolder_(programFolder_)
{
    setWindowIcon(QIcon(QPixmap::fromImage(PictureList::programIcon())));
    buildMenus();
    installQtRepairs(this);

    paletteBar_ = new PaletteToolBar(palette_, pictures_, this);
    addToolBar(Qt::TopToolBarArea, paletteBar_);
    connect(&palette_, &PaletteModel::toolsChanged, this, &MainWindow::showCurrentTools);

    // Until a map is open its place is an empty dark area.
    auto* empty = new QWidget(this);
    empty->setBackgroundRole(QPalette::Dark);
    empty->setAutoFillBackground(true);
    setCentralWidget(empty);

    buildStatusBar();
    keepTheWorkingPartsUsable();

    // Before the window is shown its frame is not known yet; the style's
    // title bar stands in for it, and the first show corrects the guess.
    const int edge = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    fitToScreen(QMargins(edge, style()->pixelMetric(QStyle::PM_TitleBarHeight) + edge, edge, edge));
}

MainWindow::~MainWindow()
{
    // The view refers to the document; it goes first.
    delete mapView_;
}

QString MainWindow::caption()
{
    return QStringLiteral("%1 Version %2.%3.%4")
        .arg(QString::fromUtf8(delvard::product::Title))
        .arg(delvard::product::VersionMajor)
        .arg(delvard::product::VersionMinor)
        .arg(delvard::product::VersionPatch);
}

void MainWindow::buildMenus()
{
    auto item = [this](QMenu* menu, const QString& text, void (MainWindow::*command)()) {
        QAction* action = menu->addAction(text);
        connect(action, &QAction::triggered, this, command);
        return action;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    openAction_ = item(file, QStringLiteral("&Open"), &MainWindow::openMap);
    file->addSeparator();
    saveAction_ = item(file, QStringLiteral("&Save"), &MainWindow::saveMap);
    file->addSeparator();
    item(file, QStringLiteral("&Exit"), &MainWindow::exitProgram);

    QMenu* path = menuBar()->addMenu(QStringLiteral("&Path"));
    item(path, QStringLiteral("&Map Files"), &MainWindow::chooseMapFolder);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    item(help, QStringLiteral("&About"), &MainWindow::showAbout);
    help->addSeparator();
    item(help, QStringLiteral("&Read Me"), &MainWindow::showReadme);
}

void MainWindow::keepTheWorkingPartsUsable()
{
    // However small the window is made, the palette keeps its row (its
    // overflow button holds the buttons that do not fit), three rows of
    // the smallest cells stay in view, and the status bar never slides
    // over either.
    constexpr int MinimumWidth = 320;
    const int mapRows = 3 * MapView::SmallestCellSize;
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    setMinimumSize(MinimumWidth, menuBar()->sizeHint().height() + paletteBar_->sizeHint().height() +
                                     mapRows + scrollBar + statusBar()->sizeHint().height());
}

void MainWindow::buildStatusBar()
{
    cellLabel_ = new QLabel(this);
    toolsLabel_ = new QLabel(this);
    statusBar()->addWidget(cellLabel_, 1);
    statusBar()->addPermanentWidget(toolsLabel_);
    cellLabel_->setText(QStringLiteral("Open a map with File > Open."));
    QAccessible::installFactory(makeAnnouncementAccessible);
    announcement_ = new Announcement(statusBar());
}

void MainWindow::announce(const QString& message)
{
    static_cast<Announcement*>(announcement_)->say(message);
}

QString MainWindow::cellText() const
{
    return cellLabel_->text();
}

QString MainWindow::toolsText() const
{
    return toolsLabel_->text();
}

void MainWindow::start(SettingsFile::Install install)
{
    setWindowTitle(caption());
    settings_ = SettingsFile::prepare(programFolder_, SettingsFile::userFolder(), install);
    if (!settings_.usable()) {
        QMessageBox::warning(this, caption(), settings_.problem());
        return;
    }
    if (settings_.firstRun()) {
        AboutDialog::showModal(PictureList::programIcon(), this);
        mapFolder_ = MapFolderDialog::choose(mapFolder_, this);
        storeMapFolder();
    } else {
        mapFolder_ = settings_.mapFolder();
    }
}

void MainWindow::storeMapFolder()
{
    QString problem;
    if (!settings_.storeMapFolder(mapFolder_, &problem))
        QMessageBox::warning(this, caption(), problem);
}

void MainWindow::chooseMapFolder()
{
    mapFolder_ = MapFolderDialog::choose(mapFolder_, this);
    storeMapFolder();
}

QString MainWindow::chooseMapFile()
{
    // Qt's own dialog rather than the desktop's: it matches the pattern
    // without regard to case on every platform, so "...Map.kld" is listed.
    QFileDialog dialog(this);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(QStringLiteral("Qz4 Map File (*map.kld)"));
    // An empty or vanished map folder would leave the dialog at the list of
    // drives; the nearest folder that exists is a better start.
    dialog.setDirectory(nearestExistingFolder(mapFolder_));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void MainWindow::openMap()
{
    const QString path = chooseMapFile();
    if (!path.isEmpty())
        openMapFile(path);
}

bool MainWindow::openMapFile(const QString& path)
{
    MapDocument::Opened opened = MapDocument::open(path);
    if (!opened.document) {
        QMessageBox::warning(this, caption(),
                             QStringLiteral("The map file \"%1\" cannot be opened.\n\n%2")
                                 .arg(displayName(path), opened.problem));
        return false;
    }
    showMap(std::move(opened.document));
    if (!opened.leftoverCopy.isEmpty()) {
        QMessageBox::information(
            this, caption(),
            QStringLiteral("A save of the map file \"%1\" was stopped before it ended.\n\n"
                           "The map as it was before that save is kept in \"%2\". %3\n\nIf the "
                           "map now shown is damaged, close Delvard without saving and put that "
                           "copy in its place; the next save of this map removes the copy.")
                .arg(displayName(path), displayName(opened.leftoverCopy),
                     opened.leftoverCopyHolds));
    }
    return true;
}

void MainWindow::showMap(std::unique_ptr<MapDocument> document)
{
    // One map per run: Open is off once a map is shown.
    openAction_->setEnabled(false);
    document_ = std::move(document);
    mapView_ = new MapView(*document_, pictures_);
    // Short enough to hear each time the map takes the keyboard.
    mapView_->setAccessibleName(QStringLiteral("%1, %2 by %3 cells")
                                    .arg(QFileInfo(document_->path()).fileName())
                                    .arg(document_->width())
                                    .arg(document_->height()));
    mapView_->setGridShown(palette_.gridShown());
    mapView_->setBrushTerrain(palette_.terrain());
    connect(mapView_, &MapView::cellClicked, this, &MainWindow::paintCell);
    connect(mapView_, &MapView::indicatedCellChanged, this, &MainWindow::showIndicatedCell);
    connect(mapView_, &MapView::cellSizeChanged, this, [this] {
        palette_.setZoomAvailable(mapView_->canZoomIn(), mapView_->canZoomOut());
        showCurrentTools();
    });
    connect(&palette_, &PaletteModel::zoomInRequested, mapView_, &MapView::zoomIn);
    connect(&palette_, &PaletteModel::zoomOutRequested, mapView_, &MapView::zoomOut);
    connect(&palette_, &PaletteModel::gridShownChanged, mapView_, &MapView::setGridShown);
    connect(&palette_, &PaletteModel::toolsChanged, mapView_,
            [this] { mapView_->setBrushTerrain(palette_.terrain()); });
    connect(document_.get(), &MapDocument::cellsChanged, this,
            [this] { showIndicatedCell(indicated_); });
    palette_.enterWorkingState();
    setCentralWidget(mapView_); // the empty area goes
    // Ready for the keys: the first cell is current, no cursor drawn yet.
    // (A hidden widget takes no focus, and the layout shows it only later.)
    mapView_->show();
    mapView_->setFocus();
    showCurrentTools();
    cellLabel_->setText(displayName(document_->path()));
}

void MainWindow::paintCell(delvard::CellPosition cell)
{
    document_->paint(cell, palette_.terrain(), palette_.owner());
}

void MainWindow::saveMap()
{
    // Save works once per run: a save that reached the disk, or one asked
    // for before any map was open, uses it up. A save that wrote nothing
    // leaves it, so the map kept in memory can still reach the disk.
    if (!document_) {
        saveAction_->setEnabled(false);
        return;
    }
    const QString shownPath = displayName(document_->path());
    bool overwriteAgreed = false;
    for (;;) {
        const MapDocument::DiskCheck disk = document_->checkFileOnDisk();
        const bool changed = disk.state == MapDocument::OnDisk::Changed ||
                             disk.state == MapDocument::OnDisk::Vanished;
        if (changed && !overwriteAgreed) {
            if (!askToOverwrite(shownPath, disk.state == MapDocument::OnDisk::Vanished))
                return;
            overwriteAgreed = true;
        }
        delvard::SaveResult written = disk.state == MapDocument::OnDisk::Unreadable
                                          ? delvard::SaveResult{false, disk.problem}
                                          : document_->save();
        if (written.noSafetyCopy && askToSaveWithoutSafetyCopy(shownPath))
            written = document_->save(delvard::FileOutput::SafetyCopy::Optional);
        else if (written.noSafetyCopy)
            return;
        if (written.ok) {
            saveAction_->setEnabled(false);
            statusBar()->showMessage(QStringLiteral("Saved %1").arg(shownPath), 5000);
            announce(statusBar()->currentMessage());
            return;
        }
        QMessageBox box(QMessageBox::Warning, caption(),
                        QStringLiteral("The map could not be saved to \"%1\".\n\n%2\n\n"
                                       "The map is still open in the editor, unchanged.")
                            .arg(shownPath, written.problem),
                        QMessageBox::Retry | QMessageBox::Cancel, this);
        box.setDefaultButton(QMessageBox::Retry);
        if (box.exec() != QMessageBox::Retry)
            return;
    }
}

bool MainWindow::askToOverwrite(const QString& shownPath, bool vanished)
{
    const QString text =
        vanished ? QStringLiteral("The map file \"%1\" no longer exists. Save it there again?")
                 : QStringLiteral("The map file \"%1\" has changed on disk since it was "
                                  "opened.\n\nOverwrite it with the map as it is in the "
                                  "editor? What the other program wrote there is then lost.");
    QMessageBox question(QMessageBox::Warning, caption(), text.arg(shownPath),
                         QMessageBox::NoButton, this);
    QPushButton* overwrite = question.addButton(
        vanished ? QStringLiteral("Save") : QStringLiteral("Overwrite"), QMessageBox::AcceptRole);
    QPushButton* cancel = question.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    question.setDefaultButton(cancel);
    question.setEscapeButton(cancel);
    question.exec();
    return question.clickedButton() == overwrite;
}

bool MainWindow::askToSaveWithoutSafetyCopy(const QString& shownPath)
{
    QMessageBox question(
        QMessageBox::Warning, caption(),
        QStringLiteral("The map file \"%1\" is in a folder that takes no new file, and Delvard "
                       "cannot keep a safety copy while it saves; a crash during the save could "
                       "damage it. Save anyway?")
            .arg(shownPath),
        QMessageBox::NoButton, this);
    QPushButton* save = question.addButton(QStringLiteral("Save anyway"), QMessageBox::AcceptRole);
    QPushButton* cancel = question.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    question.setDefaultButton(cancel);
    question.setEscapeButton(cancel);
    question.exec();
    return question.clickedButton() == save;
}

void MainWindow::exitProgram()
{
    // Ends the run at once; edits that were not saved are dropped.
    QApplication::closeAllWindows();
    QApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    // The read-me viewer has no owner; it must not keep the program alive.
    QApplication::quit();
}

void MainWindow::showAbout()
{
    AboutDialog::showModal(PictureList::programIcon(), this);
}

void MainWindow::showReadme()
{
    ReadmeViewer::showSingle(
        readme_, programFolder_ + QDir::separator() + QStringLiteral("ReadMe.txt"), this);
}

void MainWindow::showCurrentTools()
{
    const int cellSize = mapView_ ? mapView_->cellSize() : MapView::LargestCellSize;
    toolsLabel_->setText(QStringLiteral("Terrain: %1   Owner: %2   Cell: %3 px%4")
                             .arg(QString::fromUtf8(delvard::terrainName(palette_.terrain())),
                                  QString::fromUtf8(delvard::ownerName(palette_.owner())))
                             .arg(cellSize)
                             .arg(palette_.gridShown() ? QStringLiteral("   Grid") : QString()));
}

void MainWindow::showIndicatedCell(delvard::CellPosition cell)
{
    indicated_ = cell;
    if (cell.isNull() || !document_) {
        cellLabel_->setText(displayName(document_ ? document_->path() : QString()));
        return;
    }
    cellLabel_->setText(delvard::cellSentence(document_->data(), cell));
}

void MainWindow::fitToScreen(QMargins frame)
{
    const QRect available = screen() ? screen()->availableGeometry() : QRect(0, 0, 1280, 860);
    resize(fittedContentSize(DesignedSize, available.size(), frame));
}

void MainWindow::showEvent(QShowEvent* event)
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

} // namespace delvard

#include "MainWindow.moc"
