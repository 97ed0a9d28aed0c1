#include "dialogs/ReadmeViewer.h"

#include "dialogs/NamedControl.h"
#include "dialogs/WindowPlacement.h"
#include "document/FileReader.h"
#include "document/NativeFileName.h"
#include "document/ProblemWords.h"

#include <QPlainTextEdit>

namespace delvard {

namespace {

// A fixed frame with a close box only.
constexpr Qt::WindowFlags viewerFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                        Qt::WindowCloseButtonHint |
                                        Qt::MSWindowsFixedSizeDialogHint;

// The guide's text, or a sentence naming the file and the reason when it
// cannot be read: the viewer is only a convenience, so it reports and
// carries on. A pipe or a huge file in its place is refused at once rather
// than read, so the editor never freezes here.
QString readGuide(const QString& path)
{
    const delvard::FileRead read =
        delvard::readWholeFile(delvard::nativePath(path), delvard::GuideFiles);
    if (read.ok)
        return QString::fromUtf8(read.bytes);
    return QStringLiteral("The file %1 could not be read. %2")
        .arg(delvard::displayName(path),
             delvard::describeProblem(read.problem, delvard::GuideFiles));
}

} // namespace

ReadmeViewer::ReadmeViewer(const QString& path) : QWidget(nullptr, viewerFlags)
{
    const QString title = QStringLiteral("ReadMe.txt");
    setObjectName(QStringLiteral("readmeViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title);
    setAccessibleName(title);
    setFixedSize(312, 213);

    auto* text =
        addControl<QPlainTextEdit>(this, {8, 8, 297, 201}, "text", QStringLiteral("Read-me text"));
    text->setReadOnly(true);
    // Keyboard reading and copying work (the text takes the focus, lines wrap
    // at the window's width); nothing is ever written back.
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setPlainText(readGuide(path));
}

ReadmeViewer* ReadmeViewer::showSingle(QPointer<ReadmeViewer>& viewer, const QString& path,
                                       QWidget* centreOver)
{
    // A viewer that was closed is hidden until its deferred deletion runs;
    // it no longer counts as open.
    if (viewer && viewer->isVisible()) {
        viewer->raise();
        viewer->activateWindow();
        return viewer;
    }
    if (viewer)
        viewer->deleteLater(); // hidden without being closed: it is replaced all the same
    viewer = new ReadmeViewer(path);
    delvard::centreOver(viewer, centreOver);
    viewer->show();
    // The title bar's size is known only once the window is on screen.
    delvard::centreOver(viewer, centreOver);
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

} // namespace delvard
