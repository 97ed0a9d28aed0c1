#include "EditorFixture.h"
#include "MapFolderDialog.h"
#include "MapView.h"
#include "PaletteToolBar.h"
#include "WindowFit.h"

#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

using namespace delvard;

namespace {

QStringList menuTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

void answerFirstRun(const QString& folder)
{
    ModalAnswer::queue(QStringLiteral("delvard::AboutDialog"), [](QWidget* about) {
        ASSERT_TRUE(ModalAnswer::pressButton(about, QStringLiteral("OK")));
    });
    ModalAnswer::queue(QStringLiteral("delvard::MapFolderDialog"), [folder](QWidget* chooser) {
        qobject_cast<MapFolderDialog*>(chooser)->selectFolder(folder);
        ASSERT_TRUE(ModalAnswer::pressButton(chooser, QStringLiteral("OK")));
    });
}

} // namespace

using StartUp = EditorFixture;

TEST_F(StartUp, CaptionMenusAndPaletteAsTheWindowOpens)
{
    start();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Delvard Version 2.0.0"));
    EXPECT_FALSE(window->windowIcon().isNull());
    const QList<QAction*> bar = window->menuBar()->actions();
    ASSERT_EQ(bar.size(), 3);
    EXPECT_EQ(bar[0]->text(), QStringLiteral("&File"));
    EXPECT_EQ(menuTexts(bar[0]->menu()),
              (QStringList{QStringLiteral("&Open"), QStringLiteral("-"), QStringLiteral("&Save"),
                           QStringLiteral("-"), QStringLiteral("&Exit")}));
    EXPECT_EQ(bar[1]->text(), QStringLiteral("&Path"));
    EXPECT_EQ(menuTexts(bar[1]->menu()), QStringList{QStringLiteral("&Map Files")});
    EXPECT_EQ(bar[2]->text(), QStringLiteral("&Help"));
    EXPECT_EQ(menuTexts(bar[2]->menu()), (QStringList{QStringLiteral("&About"), QStringLiteral("-"),
                                                      QStringLiteral("&Read Me")}));
    for (const QAction* menu : bar)
        for (const QAction* item : menu->menu()->actions()) {
            EXPECT_TRUE(item->isEnabled());
            EXPECT_TRUE(item->shortcut().isEmpty());
        }
    EXPECT_EQ(window->cellText(), QStringLiteral("Open a map with File > Open."));
    EXPECT_TRUE(window->toolsText().isEmpty()); // the tools are named once a map is shown
}

TEST_F(StartUp, FirstRunAsksAboutThenTheFolderAndStoresIt)
{
    QFile::remove(programFolder.file(QStringLiteral("Delvard.ini")));
    answerFirstRun(mapFolder.path());
    start();
    EXPECT_EQ(ModalAnswer::seen(),
              (QStringList{QStringLiteral("delvard::AboutDialog: "),
                           QStringLiteral("delvard::MapFolderDialog: Get Map File Path")}));
    EXPECT_EQ(window->mapFolder(), QDir::toNativeSeparators(mapFolder.path()));
    EXPECT_EQ(window->settings().mapFolder(), window->mapFolder());

    // The next start reads the folder back and asks nothing; an empty
    // settings file is a first run again.
    window.reset();
    start();
    EXPECT_EQ(window->mapFolder(), QDir::toNativeSeparators(mapFolder.path()));
    programFolder.write(QStringLiteral("Delvard.ini"), QByteArray());
    window.reset();
    answerFirstRun(mapFolder.path());
    start();
    EXPECT_EQ(ModalAnswer::pending(), 0);
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
    openMapBytes(
        QByteArray(36 + 4 * 30 * 30, '\x02').replace(20, 1, "\x1e").replace(24, 1, "\x1e"));
    window->show();
    window->resize(10, 10);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->size(), window->minimumSize());
    const QRect palette = window->paletteBar()->geometry();
    const QRect map = window->mapView()->geometry();
    const QRect status = window->statusBar()->geometry();
    EXPECT_GE(map.top(), palette.bottom());
    EXPECT_GE(status.top(), map.bottom());
    EXPECT_GE(window->mapView()->viewport()->height(), 3 * 24);
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
