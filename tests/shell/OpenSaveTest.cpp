#include "document/FileWriter.h"
#include "document/NativeFileName.h"
#include "mapview/MapView.h"
#include "shell/PaletteToolBar.h"
#include "tests/shell/EditorFixture.h"
#include "tests/support/FileFaults.h"

#include <QAccessible>
#include <QDir>
#include <QFileInfo>
#include <QToolButton>

using namespace delvard;
using namespace Qt::StringLiterals;
using OpenSave = EditorFixture;

// An opened map fills the window; the status bar names the file and the
// tools, and follows the palette's zoom and grid. (The saved bytes of an
// editing run are the document's tests' and the end-to-end road's.)
TEST_F(OpenSave, AnOpenedMapIsShownWithItsFileAndTools)
{
    start();
    const QString path = openMapBytes(rockMap(7, 5));
    ASSERT_TRUE(window->mapView());
    EXPECT_EQ(window->centralWidget(), window->mapView());
    EXPECT_FALSE(window->openAction()->isEnabled());
    EXPECT_EQ(window->cellText(), QDir::toNativeSeparators(path));
    EXPECT_EQ(window->toolsText(),
              QStringLiteral("Terrain: Heart   Owner: Hero   Cell: 72 px   Grid"));
    press(PaletteButton::Neutral);
    press(buttonFor(Terrain::Gold));
    press(PaletteButton::ZoomOut);
    press(PaletteButton::Grid);
    EXPECT_EQ(window->toolsText(), QStringLiteral("Terrain: Gold   Owner: Neutral   Cell: 64 px"));
    EXPECT_FALSE(window->mapView()->gridShown());
}

// A map with a side of 0 shows one cell; saved unedited, it is the same file.
TEST_F(OpenSave, AnUneditedSaveOfAZeroWideMapGivesTheFileBack)
{
    start();
    QByteArray bytes = rockMap(4, 3) + "tail";
    bytes[20] = 0;
    const QString path = openMapBytes(bytes);
    ASSERT_TRUE(window->mapView());
    window->saveAction()->trigger();
    EXPECT_EQ(readAll(path), bytes);
}

// Open stays usable after a file it cannot read; Save before any map writes
// nothing and switches itself off.
TEST_F(OpenSave, ABadFileIsNamedAndOpenStaysUsable)
{
    start();
    QString message;
    answerMessage(QStringLiteral("OK"), &message);
    const QString path = openMapBytes(rockMap(10, 8).left(200), QStringLiteral("shortMap.kld"));
    // The reason's words are ProblemWordsTest's.
    EXPECT_TRUE(
        message.startsWith(u"The map file \"%1\" cannot be opened.\n\nThe map is 10 x 8"_s.arg(
            QDir::toNativeSeparators(path))))
        << message.toStdString();
    EXPECT_FALSE(window->mapView());
    EXPECT_TRUE(window->openAction()->isEnabled());
    EXPECT_FALSE(window->palette().isEnabled(PaletteButton::Heart));
    window->saveAction()->trigger();
    EXPECT_FALSE(window->saveAction()->isEnabled());
    EXPECT_EQ(QDir(mapFolder.path()).entryList(QDir::Files), QStringList{u"shortMap.kld"_s});
    openMapBytes(rockMap(5, 5));
    EXPECT_TRUE(window->mapView());
}

// A failed save names the file and the reason and offers Retry, which tries
// again; after Cancel the file and the map are as they were, and Save is
// still there for when the fault is gone.
TEST_F(OpenSave, AReadOnlyMapIsReportedWithRetryAndSavedOnceTheFaultIsGone)
{
    start();
    const QByteArray original = rockMap(8, 8);
    const QString path = openMapBytes(original);
    clickCell({4, 4}); // a Heart
    QString first;
    QString second;
    {
        const Immutable readOnly(path);
        if (!readOnly.active())
            GTEST_SKIP() << "chattr +i does not work here";
        answerMessage(QStringLiteral("Retry"), &first);
        answerMessage(QStringLiteral("Cancel"), &second);
        window->saveAction()->trigger();
    }
    EXPECT_EQ(first, QStringLiteral("The map could not be saved to \"%1\".\n\nThe file is "
                                    "read-only: Operation not permitted.\n\nThe map is still "
                                    "open in the editor, unchanged.")
                         .arg(QDir::toNativeSeparators(path)));
    EXPECT_EQ(second, first);
    EXPECT_EQ(readAll(path), original);
    EXPECT_EQ(window->document()->cellAt({4, 4}).terrain, Terrain::Heart);
    ASSERT_TRUE(window->saveAction()->isEnabled());

    window->saveAction()->trigger();
    EXPECT_EQ(readAll(path), window->document()->bytesToSave());
    EXPECT_FALSE(window->saveAction()->isEnabled());
}

// In a folder that takes no new file, with nowhere else for a safety copy,
// Save asks first; Cancel writes nothing, "Save anyway" writes the map.
TEST_F(OpenSave, WithoutAPlaceForASafetyCopySaveAsksFirst)
{
    start();
    const QString path = openMapBytes(rockMap(8, 8));
    clickCell({4, 4});
    const Immutable noNewFile(mapFolder.path());
    const Immutable noCopies(programFolder.path());
    if (!noNewFile.active() || !noCopies.active())
        GTEST_SKIP() << "chattr +i does not work here";
    const QByteArray savedState = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", QFile::encodeName(programFolder.path()));
    QString question;
    answerMessage(u"Cancel"_s, &question);
    window->saveAction()->trigger();
    EXPECT_TRUE(question.contains(u"cannot keep a safety copy while it saves; a crash during the "
                                  u"save could damage it. Save anyway?"_s))
        << question.toStdString();
    EXPECT_EQ(readAll(path), rockMap(8, 8));
    answerMessage(u"Save anyway"_s);
    window->saveAction()->trigger();
    EXPECT_EQ(readAll(path), window->document()->bytesToSave());
    qputenv("XDG_STATE_HOME", savedState);
}

// Another program replaced the map (or removed it) after Open. Save asks
// first; Cancel writes nothing and keeps Save; Overwrite writes the map as
// Open read it, with this run's edits, and the file ends there: nothing of
// the other program's file is mixed in.
TEST_F(OpenSave, AMapChangedOnDiskIsOverwrittenOnlyWhenTheUserSaysSo)
{
    const QByteArray small = rockMap(10, 8);
    for (const bool vanished : {false, true}) {
        start();
        const QString path = openMapBytes(small);
        clickCell({4, 4});
        const QByteArray edited = window->document()->bytesToSave();
        const QByteArray others = rockMap(40, 40);
        if (vanished)
            ASSERT_TRUE(QFile::remove(path));
        else
            mapFolder.write(QStringLiteral("testMap.kld"), others);

        QString question;
        answerMessage(QStringLiteral("Cancel"), &question);
        window->saveAction()->trigger();
        const QString changedOrGone =
            vanished ? u"no longer exists. Save it there again?"_s
                     : u"has changed on disk since it was opened.\n\nOverwrite it with the map as "
                       u"it is in the editor? What the other program wrote there is then lost."_s;
        EXPECT_EQ(question, QStringLiteral("The map file \"%1\" %2")
                                .arg(QDir::toNativeSeparators(path), changedOrGone));
        EXPECT_EQ(QFile::exists(path), !vanished);
        EXPECT_EQ(readAll(path), vanished ? QByteArray() : others);
        ASSERT_TRUE(window->saveAction()->isEnabled());

        answerMessage(vanished ? u"Save"_s : u"Overwrite"_s);
        window->saveAction()->trigger();
        EXPECT_EQ(readAll(path), edited);
        EXPECT_EQ(edited.size(), small.size());
        EXPECT_FALSE(window->saveAction()->isEnabled());
        EXPECT_EQ(ModalAnswer::pending(), 0);
        window.reset();
    }
}

// A save in place that was stopped leaves a copy of the old map beside it;
// the next Open says where it is and what it holds.
TEST_F(OpenSave, OpenNamesACopyThatAStoppedSaveLeftBehind)
{
    start();
    const QString path = mapFolder.write(QStringLiteral("leftMap.kld"), rockMap(6, 6));
    const QString copy = delvard::fromNativePath(delvard::inPlaceCopyOf(delvard::nativePath(path)));
    mapFolder.write(QFileInfo(copy).fileName(), rockMap(4, 5));
    QString message;
    answerMessage(QStringLiteral("OK"), &message);
    openThroughDialog(path);
    EXPECT_TRUE(window->mapView());
    EXPECT_TRUE(message.contains(QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(copy))))
        << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("holds a map of 4 x 5 cells")))
        << message.toStdString();
}

// The buttons as a screen reader finds them: named by their tool tips, odd
// spellings as they are, greyed until a map is shown, then pressed and
// greyed as the model says (whose rules are PaletteModelTest's).
TEST_F(OpenSave, ThePaletteShowsTheModelAndIsOffUntilAMapIsShown)
{
    start();
    PaletteToolBar* bar = window->paletteBar();
    const auto shown = [bar](PaletteButton button) {
        return QAccessible::queryAccessibleInterface(bar->buttonWidget(button));
    };
    for (int number = 1; number <= PaletteButtonCount; ++number) {
        if (const QToolButton* button = bar->buttonWidget(buttonNumbered(number))) {
            EXPECT_FALSE(button->isEnabled()) << number;
        }
    }
    EXPECT_EQ(shown(buttonFor(Terrain::Library))->text(QAccessible::Name), u"Libaray"_s);
    openMapBytes(rockMap(8, 8));
    EXPECT_TRUE(shown(PaletteButton::Heart)->state().checked);
    EXPECT_TRUE(shown(buttonFor(Terrain::Gold))->state().disabled); // "Neutral"'s alone
    press(PaletteButton::Neutral);
    press(buttonFor(Terrain::Gold));
    EXPECT_TRUE(shown(buttonFor(Terrain::Gold))->state().checked);
    EXPECT_FALSE(shown(PaletteButton::Heart)->state().checked);
    press(PaletteButton::ZoomOut);
    EXPECT_FALSE(shown(PaletteButton::ZoomOut)->state().checked);
    EXPECT_FALSE(shown(PaletteButton::ZoomIn)->state().disabled);
}
