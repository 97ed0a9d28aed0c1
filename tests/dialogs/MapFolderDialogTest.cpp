#include "dialogs/MapFolderDialog.h"
#include "tests/dialogs/DialogTestHelpers.h"
#include "tests/support/ModalAnswer.h"
#include "tests/support/TempFolder.h"

#include <QApplication>
#include <QDir>
#include <QFileSystemModel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTreeView>

using namespace delvard;

using namespace Qt::StringLiterals;

namespace {

class MapFolderChooser : public ::testing::Test
{
  protected:
    void SetUp() override { ASSERT_TRUE(QDir(scratch.path()).mkpath(u"maps/old"_s)); }

    // A folder in the scratch folder as the program names it; "" is the scratch folder.
    QString folder(const char* name) const
    {
        return QDir::toNativeSeparators(*name ? scratch.file(QLatin1String(name)) : scratch.path());
    }

    TempFolder scratch;
};

TEST_F(MapFolderChooser, OkIsTheOnlyWayOut)
{
    QWidget corner; // the screen's middle, not its owner's
    corner.setGeometry(0, 0, 100, 100);
    MapFolderDialog chooser(folder("maps"), &corner);
    EXPECT_EQ(chooser.windowTitle(), u"Get Map File Path"_s);
    EXPECT_FALSE(chooser.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    expectAccessibleNames(&chooser, {{"prompt", u"Please pick the path of your map files"_s},
                                     {"folders", u"Folders"_s},
                                     {"ok", u"OK"_s}});

    // The list has the focus; Return, Escape and a close request leave the
    // chooser open: OK is the only way out.
    corner.show();
    chooser.show();
    const QPoint offCentre =
        chooser.frameGeometry().center() - chooser.screen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 4)
        << "opens in the middle of the screen, give or take its frame";
    auto* list = control<QTreeView>(&chooser, "folders");
    EXPECT_EQ(chooser.focusWidget(), list);
    QTest::keyClick(list, Qt::Key_Return);
    QTest::keyClick(&chooser, Qt::Key_Escape);
    EXPECT_FALSE(chooser.close());
    QTest::keyClick(list, Qt::Key_Tab);
    ASSERT_EQ(chooser.focusWidget(), control<QPushButton>(&chooser, "ok"));
    QTest::keyClick(chooser.focusWidget(), Qt::Key_Space);
    EXPECT_FALSE(chooser.isVisible());
}

TEST_F(MapFolderChooser, OpensAtTheStartFolderAndReturnsTheFolderPickedOnOk)
{
    const struct
    {
        QString start;
        int stepsLeft; // Left closes the open start folder, a second Left goes to its parent
        QString opensAt;
        QString returned;
    } cases[] = {{folder("maps") + QDir::separator(), 0, folder("maps"), folder("maps")},
                 {folder("maps/gone/deeper"), 0, folder("maps"), folder("maps")},
                 {folder("maps"), 2, folder("maps"), folder("")},
                 {QString(), 0, QDir::toNativeSeparators(QDir::homePath()),
                  QDir::toNativeSeparators(QDir::homePath())}};
    QWidget mainWindow;
    mainWindow.show();
    for (const auto& row : cases) {
        SCOPED_TRACE(row.start.toStdString());
        QString openedAt;
        bool modalOverMainWindow = false;
        ModalAnswer::queue(u"delvard::MapFolderDialog"_s, [&](QWidget* modal) {
            openedAt = qobject_cast<MapFolderDialog*>(modal)->selectedFolder();
            auto* list = control<QTreeView>(modal, "folders");
            EXPECT_TRUE(list->isExpanded(list->currentIndex())) << "its folders are not shown";
            modalOverMainWindow =
                modal->parentWidget() == &mainWindow && QApplication::activeModalWidget() == modal;
            for (int step = 0; step < row.stepsLeft; ++step)
                QTest::keyClick(modal->focusWidget(), Qt::Key_Left);
            EXPECT_TRUE(ModalAnswer::pressButton(modal, u"OK"_s));
        });
        EXPECT_EQ(MapFolderDialog::choose(row.start, new QWidget(&mainWindow)), row.returned);
        EXPECT_EQ(openedAt, row.opensAt);
        EXPECT_TRUE(modalOverMainWindow);
    }
}

} // namespace
