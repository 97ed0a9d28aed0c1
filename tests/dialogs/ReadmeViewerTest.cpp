#include "dialogs/ReadmeViewer.h"
#include "tests/dialogs/DialogTestHelpers.h"
#include "tests/support/TempFolder.h"

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>

#include <sys/stat.h>

using namespace delvard;

using namespace Qt::StringLiterals;

namespace {

class ReadmeViewerTest : public ::testing::Test
{
  protected:
    void TearDown() override
    {
        if (viewer)
            viewer->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Shows the viewer of the guide as it stands; returns its text box.
    QPlainTextEdit* show(QWidget* centreOver = nullptr)
    {
        return control<QPlainTextEdit>(ReadmeViewer::showSingle(viewer, guide, centreOver), "text");
    }
    void write(const QString& text) { scratch.write(u"ReadMe.txt"_s, text.toUtf8()); }
    TempFolder scratch;
    const QString guide = scratch.file(u"ReadMe.txt"_s);
    QPointer<ReadmeViewer> viewer;
};

} // namespace

// A window without owner, not modal, showing the whole guide read-only and
// wrapped, selectable by keyboard.
TEST_F(ReadmeViewerTest, ShowsTheWholeGuideInAModelessWindow)
{
    const QString text = u"Delvard \u2014 guide\n\nGr\u00F6\u00DFe.\n"_s +
                         u"Every cell holds one kind of terrain and one owner. "_s.repeated(8);
    write(text);
    QWidget mainWindow;
    mainWindow.show();
    QPlainTextEdit* box = show(new QWidget(&mainWindow));
    EXPECT_EQ(viewer->windowTitle(), u"ReadMe.txt"_s);
    EXPECT_EQ(viewer->parentWidget(), nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(accessibleName(box), u"Read-me text"_s);
    EXPECT_EQ(box->toPlainText(), text);
    QTest::keyClicks(box, u"xyz"_s);
    EXPECT_EQ(box->toPlainText(), text) << "the text cannot be edited";
    EXPECT_GT(box->document()->lastBlock().layout()->lineCount(), 1) << "long lines wrap";
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(box->textCursor().hasSelection());
}

// One window at most; it reads the guide when it opens, not while it is open.
TEST_F(ReadmeViewerTest, KeepsOneWindowThatReadsTheFileWhenItOpens)
{
    write(u"first edition"_s);
    show();
    QPointer<ReadmeViewer> first = viewer;
    write(QString());
    EXPECT_EQ(show()->toPlainText(), u"first edition"_s);
    EXPECT_EQ(viewer, first);
    first->close();
    EXPECT_EQ(show()->toPlainText(), QString()); // an empty guide, an empty viewer
    EXPECT_NE(viewer, first);
    EXPECT_TRUE(QTest::qWaitFor([&] { return first.isNull(); })) << "a closed viewer is freed";
}

// A guide that is missing, or a pipe in its place (which would wait for a
// writer for ever), is named with the reason, at once.
TEST_F(ReadmeViewerTest, AGuideThatCannotBeReadIsNamedWithTheReason)
{
    const QString missing = show()->toPlainText();
    EXPECT_EQ(missing, QStringLiteral("The file %1 could not be read. The file does not exist (it "
                                      "may have been moved or deleted).")
                           .arg(QDir::toNativeSeparators(guide)));
    viewer->close();
    ASSERT_EQ(::mkfifo(QFile::encodeName(guide), 0644), 0);
    const QString pipe = show()->toPlainText();
    EXPECT_TRUE(pipe.endsWith(QStringLiteral("This is a named pipe, not a text file.")))
        << pipe.toStdString();
}
