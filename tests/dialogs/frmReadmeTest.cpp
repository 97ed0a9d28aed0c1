#include "frmReadme.h"
#include "DialogTestHelpers.h"
#include "Module1.h"
#include "TempFolder.h"

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>

namespace {

QList<frmReadme*> visibleViewers()
{
    QList<frmReadme*> viewers;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        if (auto* viewer = qobject_cast<frmReadme*>(window); viewer && viewer->isVisible())
            viewers << viewer;
    return viewers;
}

void runDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString shownText(const frmReadme* viewer)
{
    auto* text = viewer->findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
    return text ? text->toPlainText() : QStringLiteral("<no Text1>");
}

class ReadmeViewer : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        guide = scratch.file(QStringLiteral("ReadMe.txt"));
        frmReadme::overrideReadmePath(guide);
    }
    void TearDown() override
    {
        for (frmReadme* viewer : visibleViewers())
            viewer->close();
        runDeferredDeletes();
        frmReadme::overrideReadmePath(QString());
    }

    TempFolder scratch;
    QString guide;
};

TEST_F(ReadmeViewer, ShowsTheFileWholeAsUtf8)
{
    const QString content = QStringLiteral("Delvard \u2014 user's guide\n\nZoom: 24 to 72 px.\n"
                                           "Gr\u00F6\u00DFe, na\u00EFve, \u00E6sc.\n");
    scratch.write(QStringLiteral("ReadMe.txt"), content.toUtf8());
    frmReadme* viewer = frmReadme::showSingle(nullptr);
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(shownText(viewer), content);
}

TEST_F(ReadmeViewer, EmptyFileGivesAnEmptyViewer)
{
    scratch.write(QStringLiteral("ReadMe.txt"), QByteArray());
    EXPECT_TRUE(shownText(frmReadme::showSingle(nullptr)).isEmpty());
}

TEST_F(ReadmeViewer, WindowIsAFixedModelessTopLevelWithACloseButtonOnly)
{
    scratch.write(QStringLiteral("ReadMe.txt"), "text");
    QWidget mainWindow;
    mainWindow.show();
    frmReadme* viewer = frmReadme::showSingle(&mainWindow);
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("ReadMe.txt"));
    EXPECT_EQ(viewer->parentWidget(), nullptr);
    EXPECT_TRUE(viewer->isWindow());
    EXPECT_EQ(viewer->windowModality(), Qt::NonModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    const Qt::WindowFlags flags = viewer->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(viewer->minimumSize(), QSize(312, 213));
    EXPECT_EQ(viewer->maximumSize(), QSize(312, 213));

    auto* text = control<QPlainTextEdit>(viewer, "Text1");
    EXPECT_EQ(text->geometry(), QRect(8, 8, 297, 201));
    EXPECT_TRUE(text->isReadOnly());
}

TEST_F(ReadmeViewer, OpensCentredOverTheMainWindow)
{
    scratch.write(QStringLiteral("ReadMe.txt"), "text");
    QWidget mainWindow;
    mainWindow.setGeometry(60, 40, 500, 400);
    mainWindow.show();
    frmReadme* viewer = frmReadme::showSingle(&mainWindow);
    const QPoint offset = viewer->frameGeometry().center() - mainWindow.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2)
        << viewer->frameGeometry() << " over " << mainWindow.frameGeometry();
}

TEST_F(ReadmeViewer, ShowingTwiceKeepsOneWindow)
{
    scratch.write(QStringLiteral("ReadMe.txt"), "text");
    frmReadme* first = frmReadme::showSingle(nullptr);
    frmReadme* second = frmReadme::showSingle(nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(visibleViewers().size(), 1);
}

TEST_F(ReadmeViewer, ReadsTheFileOnlyWhenItOpens)
{
    scratch.write(QStringLiteral("ReadMe.txt"), "first edition");
    QPointer<frmReadme> first = frmReadme::showSingle(nullptr);
    scratch.write(QStringLiteral("ReadMe.txt"), "second edition");
    frmReadme::showSingle(nullptr);
    EXPECT_EQ(shownText(first), QStringLiteral("first edition"));

    first->close();
    frmReadme* reopened = frmReadme::showSingle(nullptr);
    EXPECT_EQ(shownText(reopened), QStringLiteral("second edition"));
    runDeferredDeletes();
    EXPECT_TRUE(first.isNull()) << "a closed viewer is freed";
    EXPECT_EQ(visibleViewers().size(), 1);
}

// A guide that cannot be read still opens the viewer, which says which file
// and why instead of showing nothing.
struct UnreadableGuide
{
    const char* label;
    void (*prepare)(const TempFolder&);
};

void PrintTo(const UnreadableGuide& row, std::ostream* out)
{
    *out << row.label;
}

class ReadmeViewerFailure : public ReadmeViewer,
                            public ::testing::WithParamInterface<UnreadableGuide>
{
};

TEST_P(ReadmeViewerFailure, NamesTheFileAndTheReason)
{
    GetParam().prepare(scratch);
    frmReadme* viewer = frmReadme::showSingle(nullptr);
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    const QString message = shownText(viewer);
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(guide))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("could not be read: "))) << message.toStdString();
    // The reason follows the colon; it is the system's, so only its presence is checked.
    EXPECT_GT(message.section(QStringLiteral(": "), -1).trimmed().size(), 1);
}

INSTANTIATE_TEST_SUITE_P(ReadmeViewer, ReadmeViewerFailure,
                         ::testing::Values(UnreadableGuide{"missing", [](const TempFolder&) {}},
                                           UnreadableGuide{"a folder",
                                                           [](const TempFolder& t) {
                                                               QDir(t.path()).mkdir(
                                                                   QStringLiteral("ReadMe.txt"));
                                                           }}),
                         [](const ::testing::TestParamInfo<UnreadableGuide>& info) {
                             return std::string(info.param.label[0] == 'm' ? "missing" : "folder");
                         });

TEST(ReadmeViewerPath, IsTheGuideBesideTheProgram)
{
    frmReadme::overrideReadmePath(QString());
    EXPECT_EQ(frmReadme::ReadmePath(),
              QDir::toNativeSeparators(QCoreApplication::applicationDirPath() +
                                       QStringLiteral("/ReadMe.txt")));
}

} // namespace
