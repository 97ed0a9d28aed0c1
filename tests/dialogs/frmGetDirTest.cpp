#include "frmGetDir.h"
#include "DialogTestHelpers.h"
#include "ModalAnswer.h"
#include "Module1.h"
#include "TempFolder.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

class FolderChooser : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        Module1::ClearEditorState();
        Module1::ChooseFolderMode = true;
        ModalAnswer::reset();
        ASSERT_TRUE(QDir(scratch.path()).mkpath(QStringLiteral("maps/old")));
        Module1::MapFolder = native(scratch.file(QStringLiteral("maps")));
    }
    void TearDown() override { Module1::ClearEditorState(); }

    // Shows the chooser as the Map Files command does; `pick` runs while
    // it is open, then OK is pressed.
    void chooseWith(const std::function<void(frmGetDir*)>& pick)
    {
        ModalAnswer::queue(QStringLiteral("frmGetDir"), [&](QWidget* modal) {
            auto* chooser = qobject_cast<frmGetDir*>(modal);
            ASSERT_NE(chooser, nullptr);
            openedAt = chooser->Dir1Path();
            caption = chooser->windowTitle();
            wasModalOverOwner = chooser->isModal() && chooser->parentWidget() == &owner;
            pick(chooser);
            EXPECT_TRUE(ModalAnswer::pressButton(chooser, QStringLiteral("OK")));
        });
        frmGetDir::showModal(&owner);
        EXPECT_EQ(ModalAnswer::pending(), 0);
    }

    TempFolder scratch;
    QWidget owner;
    QString openedAt;
    QString caption;
    bool wasModalOverOwner = false;
};

class ChooserGeometry : public ::testing::TestWithParam<ControlGeometry>
{
};

TEST_P(ChooserGeometry, ControlSitsWhereTheLayoutPutsIt)
{
    frmGetDir chooser;
    const ControlGeometry row = GetParam();
    QWidget* widget = control<QWidget>(&chooser, row.name);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->geometry(), row.pixels);
}

INSTANTIATE_TEST_SUITE_P(FolderChooser, ChooserGeometry,
                         ::testing::Values(ControlGeometry{"Label1", {16, 16, 281, 17}},
                                           ControlGeometry{"Dir1", {8, 64, 289, 156}},
                                           ControlGeometry{"Command1", {112, 248, 81, 33}}));

TEST_F(FolderChooser, FillsItselfInChooseFolderMode)
{
    frmGetDir chooser;
    EXPECT_EQ(chooser.windowTitle(), QStringLiteral("Get Map File Path"));
    auto* label = control<QLabel>(&chooser, "Label1");
    EXPECT_EQ(label->text(), QStringLiteral("Please pick the path of your map files"));
    EXPECT_TRUE(label->alignment().testFlag(Qt::AlignHCenter));
    EXPECT_EQ(control<QPushButton>(&chooser, "Command1")->text(), QStringLiteral("OK"));
    EXPECT_EQ(chooser.Dir1Path(), Module1::MapFolder);
}

TEST_F(FolderChooser, HasAFixedBorderAndNoWindowButtons)
{
    frmGetDir chooser;
    const Qt::WindowFlags flags = chooser.windowFlags();
    EXPECT_EQ(chooser.windowType(), Qt::Dialog);
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowContextHelpButtonHint));
    EXPECT_EQ(chooser.minimumSize(), QSize(312, 299));
    EXPECT_EQ(chooser.maximumSize(), QSize(312, 299));
}

TEST_F(FolderChooser, OnlyOkClosesIt)
{
    frmGetDir chooser;
    chooser.show();
    QTest::keyClick(&chooser, Qt::Key_Escape);
    EXPECT_TRUE(chooser.isVisible());
    EXPECT_FALSE(chooser.close());
    EXPECT_TRUE(chooser.isVisible());
    QTest::keyClick(control<QTreeView>(&chooser, "Dir1"), Qt::Key_Return);
    EXPECT_TRUE(chooser.isVisible());

    control<QPushButton>(&chooser, "Command1")->click();
    EXPECT_FALSE(chooser.isVisible());
}

TEST_F(FolderChooser, FolderListHasTheFocusAndTabLeadsToOk)
{
    frmGetDir chooser;
    chooser.show();
    auto* list = control<QTreeView>(&chooser, "Dir1");
    EXPECT_EQ(chooser.focusWidget(), list);
    QTest::keyClick(list, Qt::Key_Tab);
    EXPECT_EQ(chooser.focusWidget(), control<QPushButton>(&chooser, "Command1"));
}

TEST_F(FolderChooser, OkAtOnceStoresTheSameFolder)
{
    const QString before = Module1::MapFolder;
    chooseWith([](frmGetDir*) {});
    EXPECT_EQ(openedAt, before);
    EXPECT_EQ(caption, QStringLiteral("Get Map File Path"));
    EXPECT_TRUE(wasModalOverOwner);
    EXPECT_EQ(Module1::MapFolder, before);
}

TEST_F(FolderChooser, TheStartFolderIsInViewOnceTheTreeHasBeenRead)
{
    // Many folders above the start folder's line, read in the background,
    // would push it out of view if the list scrolled only once.
    for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(
            QDir(scratch.path()).mkpath(QStringLiteral("a%1").arg(i, 2, 10, QLatin1Char('0'))));
    ASSERT_TRUE(QDir(scratch.path()).mkpath(QStringLiteral("maps/old/deep")));
    Module1::MapFolder = native(scratch.file(QStringLiteral("maps/old/deep")));
    bool inView = false;
    chooseWith([&](frmGetDir* chooser) {
        auto* list = chooser->findChild<QTreeView*>(QStringLiteral("Dir1"));
        auto shown = [list] {
            return list->viewport()->rect().contains(list->visualRect(list->currentIndex()));
        };
        // Let the background reading settle, then look.
        QTest::qWait(400);
        inView = shown();
    });
    EXPECT_TRUE(inView);
    EXPECT_EQ(Module1::MapFolder, native(scratch.file(QStringLiteral("maps/old/deep"))));
}

TEST_F(FolderChooser, AFolderWithATrailingSeparatorIsStoredWithout)
{
    const QString folder = Module1::MapFolder;
    Module1::MapFolder = folder + QDir::separator();
    chooseWith([](frmGetDir*) {});
    EXPECT_EQ(openedAt, folder);
    EXPECT_EQ(Module1::MapFolder, folder);
}

TEST_F(FolderChooser, PickingASubfolderMakesItTheMapFolder)
{
    const QString subfolder = native(scratch.file(QStringLiteral("maps/old")));
    chooseWith([&](frmGetDir* chooser) { chooser->setDir1Path(subfolder); });
    EXPECT_EQ(Module1::MapFolder, subfolder);
}

TEST_F(FolderChooser, PickingAParentFolderMakesItTheMapFolder)
{
    const QString parent = native(scratch.path());
    chooseWith([&](frmGetDir* chooser) {
        auto* list = chooser->findChild<QTreeView*>(QStringLiteral("Dir1"));
        list->setCurrentIndex(list->currentIndex().parent());
    });
    EXPECT_EQ(Module1::MapFolder, parent);
}

TEST_F(FolderChooser, OutsideChooseFolderModeItLeavesMapFolderAlone)
{
    Module1::ChooseFolderMode = false;
    const QString before = Module1::MapFolder;
    chooseWith([&](frmGetDir* chooser) {
        EXPECT_TRUE(control<QLabel>(chooser, "Label1")->text().isEmpty());
        chooser->setDir1Path(native(scratch.file(QStringLiteral("maps/old"))));
    });
    EXPECT_TRUE(caption.isEmpty());
    EXPECT_EQ(Module1::MapFolder, before);
}

// Where the list opens when MapFolder names no existing folder.
struct StaleFolder
{
    const char* label;
    QString (*mapFolder)(const TempFolder&);
    QString (*expected)(const TempFolder&);
};

void PrintTo(const StaleFolder& row, std::ostream* out)
{
    *out << row.label;
}

class ChooserStartFolder : public FolderChooser, public ::testing::WithParamInterface<StaleFolder>
{
};

TEST_P(ChooserStartFolder, OpensAtAnExistingFolder)
{
    Module1::MapFolder = GetParam().mapFolder(scratch);
    const QString expected = GetParam().expected(scratch);
    chooseWith([](frmGetDir*) {});
    EXPECT_EQ(openedAt, expected);
    EXPECT_EQ(Module1::MapFolder, expected);
}

INSTANTIATE_TEST_SUITE_P(
    FolderChooser, ChooserStartFolder,
    ::testing::Values(
        StaleFolder{"empty", [](const TempFolder&) { return QString(); },
                    [](const TempFolder&) { return native(QDir::homePath()); }},
        StaleFolder{"relative", [](const TempFolder&) { return QStringLiteral("maps"); },
                    [](const TempFolder&) { return native(QDir::homePath()); }},
        StaleFolder{"removed",
                    [](const TempFolder& t) { return native(t.file(QStringLiteral("gone"))); },
                    [](const TempFolder& t) { return native(t.path()); }},
        StaleFolder{
            "removed two deep",
            [](const TempFolder& t) { return native(t.file(QStringLiteral("maps/gone/deeper"))); },
            [](const TempFolder& t) { return native(t.file(QStringLiteral("maps"))); }},
        StaleFolder{"a file, not a folder",
                    [](const TempFolder& t) {
                        return native(t.write(QStringLiteral("level1map.kld"), "x"));
                    },
                    [](const TempFolder& t) { return native(t.path()); }}),
    [](const ::testing::TestParamInfo<StaleFolder>& info) {
        std::string name = info.param.label;
        for (char& c : name)
            if (c == ' ' || c == ',')
                c = '_';
        return name;
    });

} // namespace
