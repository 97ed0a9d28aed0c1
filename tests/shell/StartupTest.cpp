#include "dialogs/MapFolderDialog.h"
#include "mapview/MapView.h"
#include "shell/PaletteToolBar.h"
#include "shell/WindowFit.h"
#include "tests/shell/EditorFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

using namespace delvard;
using namespace Qt::StringLiterals;

namespace {

// Answers the first run's questions, noting each window's class and title.
void answerFirstRun(const QString& folder, QStringList* seen)
{
    ModalAnswer::queue(QStringLiteral("delvard::AboutDialog"), [seen](QWidget* about) {
        *seen << u"About: "_s + about->windowTitle();
        EXPECT_TRUE(ModalAnswer::pressButton(about, QStringLiteral("OK")));
    });
    ModalAnswer::queue(QStringLiteral("delvard::MapFolderDialog"),
                       [folder, seen](QWidget* chooser) {
                           *seen << u"Folder: "_s + chooser->windowTitle();
                           qobject_cast<MapFolderDialog*>(chooser)->selectFolder(folder);
                           EXPECT_TRUE(ModalAnswer::pressButton(chooser, QStringLiteral("OK")));
                       });
}

} // namespace

using StartUp = EditorFixture;

TEST_F(StartUp, CaptionAndMenusAsTheWindowOpens)
{
    start();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Delvard Version 2.0.0"));
    EXPECT_FALSE(window->windowIcon().isNull());
    QStringList menus; // each menu's title and items, "-" for a separator
    for (const QAction* menu : window->menuBar()->actions()) {
        QString items = menu->text() + u':';
        for (const QAction* item : menu->menu()->actions()) {
            items += u' ' + (item->isSeparator() ? u"-"_s : item->text());
            EXPECT_TRUE(item->isEnabled());
            EXPECT_TRUE(item->shortcut().isEmpty());
        }
        menus << items;
    }
    EXPECT_EQ(menus, (QStringList{u"&File: &Open - &Save - &Exit"_s, u"&Path: &Map Files"_s,
                                  u"&Help: &About - &Read Me"_s}));
    EXPECT_EQ(window->cellText(), QStringLiteral("Open a map with File > Open."));
    EXPECT_TRUE(window->toolsText().isEmpty()); // the tools are named once a map is shown
}

TEST_F(StartUp, FirstRunAsksAboutThenTheFolderAndStoresIt)
{
    QFile::remove(programFolder.file(QStringLiteral("Delvard.ini")));
    QStringList seen;
    answerFirstRun(mapFolder.path(), &seen);
    start();
    EXPECT_EQ(seen, (QStringList{u"About: "_s, u"Folder: Get Map File Path"_s}));
    EXPECT_EQ(window->mapFolder(), QDir::toNativeSeparators(mapFolder.path()));
    EXPECT_EQ(window->settings().mapFolder(), window->mapFolder());

    // The next start reads the folder back and asks nothing (that only an
    // empty file is a first run is SettingsFileTest's).
    window.reset();
    start();
    EXPECT_EQ(window->mapFolder(), QDir::toNativeSeparators(mapFolder.path()));
}

TEST_F(StartUp, MapFilesStoresTheFolderChosen)
{
    start();
    const QString chosen = QDir::toNativeSeparators(programFolder.path());
    ModalAnswer::queue(QStringLiteral("delvard::MapFolderDialog"), [&](QWidget* chooser) {
        auto* dialog = qobject_cast<MapFolderDialog*>(chooser);
        EXPECT_EQ(dialog->selectedFolder(), QDir::toNativeSeparators(mapFolder.path()));
        dialog->selectFolder(chosen);
        ASSERT_TRUE(ModalAnswer::pressButton(chooser, QStringLiteral("OK")));
    });
    window->chooseMapFolder();
    EXPECT_EQ(window->mapFolder(), chosen);
    EXPECT_EQ(window->settings().mapFolder(), chosen);
}

// Made as small as it goes, the window still shows the palette, a strip of
// the map and the status bar, one below the other.
TEST_F(StartUp, AWindowMadeSmallKeepsPaletteMapAndStatusBarApart)
{
    start();
    openMapBytes(rockMap(30, 30));
    window->resize(10, 10);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->size(), window->minimumSize());
    const QRect map = window->mapView()->geometry();
    EXPECT_GE(map.top(), window->paletteBar()->geometry().bottom());
    EXPECT_GE(window->statusBar()->geometry().top(), map.bottom());
    EXPECT_GT(window->mapView()->viewport()->height(), 0);
    EXPECT_TRUE(window->paletteBar()->isVisible());
}

TEST(WindowFit, KeepsTheDesignedSizeWhereTheScreenAllowsAndShrinksWhereNot)
{
    const QSize designed = MainWindow::DesignedSize;
    EXPECT_EQ(fittedContentSize(designed, {1920, 1040}, {1, 30, 1, 1}), designed);
    // A 1366 x 768 laptop screen with a 28-pixel panel and a 30-pixel title bar.
    EXPECT_EQ(fittedContentSize(designed, {1366, 740}, {2, 30, 2, 2}), QSize(1240, 708));
    EXPECT_EQ(fittedContentSize(designed, {1024, 600}, {}), QSize(1024, 600));
}
