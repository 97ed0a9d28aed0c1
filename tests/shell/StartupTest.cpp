#include "EditorFixture.h"
#include "Module1.h"
#include "WindowFit.h"
#include "frmGetDir.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>

namespace {

QStringList menuTexts(QMenu* menu)
{
    QStringList texts;
    const auto actions = menu->actions();
    for (QAction* action : actions)
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

// Answers the About box and the folder chooser with OK, as a person would.
void answerFirstRunQuestions()
{
    ModalAnswer::queue(QStringLiteral("frmSplash"), [](QWidget* modal) {
        ASSERT_TRUE(ModalAnswer::pressButton(modal, QStringLiteral("OK")));
    });
    ModalAnswer::queue(QStringLiteral("frmGetDir"), [](QWidget* modal) {
        ASSERT_TRUE(ModalAnswer::pressButton(modal, QStringLiteral("OK")));
    });
}

bool chattr(const QString& flag, const QString& path)
{
    return QProcess::execute(QStringLiteral("chattr"), {flag, path}) == 0;
}

// Makes a folder immutable (root ignores permission bits) for one scope.
struct ImmutableFolder
{
    explicit ImmutableFolder(QString folder) : path(std::move(folder))
    {
        active = chattr(QStringLiteral("+i"), path);
    }
    ~ImmutableFolder()
    {
        if (active)
            chattr(QStringLiteral("-i"), path);
    }
    QString path;
    bool active = false;
};

} // namespace

using StartUp = EditorFixture;

TEST_F(StartUp, CaptionComesFromTitleAndVersionNumbers)
{
    EXPECT_EQ(frmMain::caption(), QStringLiteral("Delvard Version 2.0.0"));
    start();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Delvard Version 2.0.0"));
    EXPECT_FALSE(window->windowIcon().isNull());
}

TEST(WindowFit, KeepsTheDesignedSizeWhereTheScreenAllowsAndShrinksWhereNot)
{
    const QSize designed = frmMain::DesignedSize;
    EXPECT_EQ(fittedContentSize(designed, {1920, 1040}, {1, 30, 1, 1}), designed);
    // A 1366 x 768 laptop screen with a 28-pixel panel and a 30-pixel title bar.
    EXPECT_EQ(fittedContentSize(designed, {1366, 740}, {2, 30, 2, 2}), QSize(1240, 708));
    EXPECT_EQ(fittedContentSize(designed, {1024, 600}, {}), QSize(1024, 600));
}

TEST_F(StartUp, TheWindowAndItsStatusBarFitTheScreen)
{
    start();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const QRect available = window->screen()->availableGeometry();
    ASSERT_LT(available.height(), frmMain::DesignedSize.height()); // the offscreen screen is small
    EXPECT_TRUE(available.contains(window->frameGeometry()));
    const QRect statusBar(window->statusBar()->mapToGlobal(QPoint()), window->statusBar()->size());
    EXPECT_TRUE(available.contains(statusBar));
}

TEST_F(StartUp, MenuBarHasEveryItemEnabledWithoutShortcuts)
{
    start();
    QStringList bar;
    const auto menus = window->menuBar()->actions();
    for (QAction* action : menus)
        bar << action->text();
    EXPECT_EQ(bar, (QStringList{QStringLiteral("&File"), QStringLiteral("&Path"),
                                QStringLiteral("&Help")}));
    EXPECT_EQ(menuTexts(window->mnuFile),
              (QStringList{QStringLiteral("&Open"), QStringLiteral("-"), QStringLiteral("&Save"),
                           QStringLiteral("-"), QStringLiteral("&Exit")}));
    EXPECT_EQ(menuTexts(window->mnuPath), (QStringList{QStringLiteral("&Map Files")}));
    EXPECT_EQ(
        menuTexts(window->mnuHelp),
        (QStringList{QStringLiteral("&About"), QStringLiteral("-"), QStringLiteral("&Read Me")}));
    for (QMenu* menu : {window->mnuFile, window->mnuPath, window->mnuHelp}) {
        const auto actions = menu->actions();
        for (QAction* action : actions) {
            EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
            EXPECT_TRUE(action->shortcut().isEmpty()) << action->text().toStdString();
        }
    }
}

TEST_F(StartUp, FirstRunWithoutSettingsFileAsksAboutThenFolderAndStoresIt)
{
    QFile::remove(programFolder.file(QStringLiteral("Delvard.ini")));
    answerFirstRunQuestions();
    start();
    ASSERT_EQ(ModalAnswer::seen().size(), 2);
    EXPECT_TRUE(ModalAnswer::seen().at(0).startsWith(QStringLiteral("frmSplash")));
    EXPECT_EQ(ModalAnswer::seen().at(1), QStringLiteral("frmGetDir: Get Map File Path"));
    EXPECT_TRUE(Module1::ChooseFolderMode); // the first run leaves it set
    const QString ini =
        QString::fromUtf8(bytesOf(programFolder.file(QStringLiteral("Delvard.ini"))));
    EXPECT_TRUE(ini.contains(QStringLiteral("[Paths]")));
    EXPECT_TRUE(ini.contains(QStringLiteral("Map=%1").arg(Module1::MapFolder)))
        << ini.toStdString();

    // The next start asks nothing and reads the folder back.
    const QString stored = Module1::MapFolder;
    window.reset();
    ModalAnswer::reset();
    Module1::ClearEditorState();
    start();
    EXPECT_TRUE(ModalAnswer::seen().isEmpty());
    EXPECT_EQ(Module1::MapFolder, stored);
}

TEST_F(StartUp, AnEmptySettingsFileIsAFirstRunToo)
{
    programFolder.write(QStringLiteral("Delvard.ini"), QByteArray());
    answerFirstRunQuestions();
    start();
    EXPECT_EQ(ModalAnswer::seen().size(), 2);
}

TEST_F(StartUp, ASettingsFileWithoutTheEntryGivesAnEmptyMapFolderAndNoQuestions)
{
    programFolder.write(QStringLiteral("Delvard.ini"), QByteArrayLiteral("[Other]\nKey=1\n"));
    start();
    EXPECT_TRUE(ModalAnswer::seen().isEmpty());
    EXPECT_TRUE(Module1::MapFolder.isEmpty());
}

TEST_F(StartUp, ALongStoredFolderIsReadBackCutTo254Characters)
{
    const QString folder = QStringLiteral("/") + QString(299, QLatin1Char('f'));
    programFolder.write(QStringLiteral("Delvard.ini"),
                        QStringLiteral("[Paths]\r\nMap=%1\r\n").arg(folder).toUtf8());
    start();
    EXPECT_EQ(Module1::MapFolder, folder.left(254));
}

TEST_F(StartUp, AReadOnlyProgramFolderFallsBackAndAsksOnlyOnce)
{
    QFile::remove(programFolder.file(QStringLiteral("Delvard.ini")));
    const QString fallback = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir(fallback).removeRecursively();
    const ImmutableFolder readOnly(programFolder.path());
    if (!readOnly.active)
        GTEST_SKIP() << "chattr +i does not work on " << programFolder.path().toStdString();

    answerFirstRunQuestions();
    start();
    EXPECT_EQ(ModalAnswer::seen().size(), 2);
    EXPECT_FALSE(QFile::exists(programFolder.file(QStringLiteral("Delvard.ini"))));
    EXPECT_TRUE(Module1::SettingsPath.startsWith(QDir::toNativeSeparators(fallback)))
        << Module1::SettingsPath.toStdString();

    window.reset();
    ModalAnswer::reset();
    Module1::ClearEditorState();
    start();
    EXPECT_TRUE(ModalAnswer::seen().isEmpty());
    QDir(fallback).removeRecursively();
}

TEST_F(StartUp, MapFilesStoresTheChosenFolder)
{
    start();
    QDir(mapFolder.path()).mkdir(QStringLiteral("sub"));
    const QString sub = QDir::toNativeSeparators(mapFolder.file(QStringLiteral("sub")));
    ModalAnswer::queue(QStringLiteral("frmGetDir"), [sub](QWidget* modal) {
        auto* chooser = qobject_cast<frmGetDir*>(modal);
        ASSERT_TRUE(chooser);
        chooser->setDir1Path(sub);
        ModalAnswer::pressButton(modal, QStringLiteral("OK"));
    });
    window->mnuMapFiles_Click();
    EXPECT_EQ(Module1::MapFolder, sub);
    EXPECT_FALSE(Module1::ChooseFolderMode);
    const QString ini =
        QString::fromUtf8(bytesOf(programFolder.file(QStringLiteral("Delvard.ini"))));
    EXPECT_TRUE(ini.contains(QStringLiteral("Map=%1").arg(sub))) << ini.toStdString();
}

TEST_F(StartUp, ReadMeTwiceGivesOneViewer)
{
    programFolder.write(QStringLiteral("ReadMe.txt"), QByteArrayLiteral("How to use Delvard."));
    start();
    window->mnuReadMe_Click();
    window->mnuReadMe_Click();
    int viewers = 0;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows)
        viewers += w->inherits("frmReadme") && w->isVisible();
    EXPECT_EQ(viewers, 1);
    for (QWidget* w : windows)
        if (w->inherits("frmReadme"))
            w->close();
}
