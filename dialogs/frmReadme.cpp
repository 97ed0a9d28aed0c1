#include "frmReadme.h"

#include "Module1.h"
#include "NamedControl.h"
#include "Twips.h"
#include "WindowPlacement.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPointer>

namespace {

QPointer<frmReadme> openViewer;
QString pathOverride;

constexpr Qt::WindowFlags viewerFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                        Qt::WindowCloseButtonHint |
                                        Qt::MSWindowsFixedSizeDialogHint;

// The guide's text, or a short explanation naming the file when it cannot
// be read: the viewer is only a convenience, so it reports and carries on.
QString readGuide(const QString& path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        if (file.error() == QFileDevice::NoError)
            return QString::fromUtf8(bytes);
    }
    return QStringLiteral("The file %1 could not be read: %2.")
        .arg(QDir::toNativeSeparators(path), file.errorString());
}

} // namespace

frmReadme::frmReadme() : QWidget(nullptr, viewerFlags)
{
    setObjectName(QStringLiteral("frmReadme"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("ReadMe.txt"));
    setAccessibleName(QStringLiteral("ReadMe.txt"));
    setFixedSize(twipsSize(4680, 3195));

    Text1 = makeNamedControl<QPlainTextEdit>(this, "Text1", twipsRect(120, 120, 4455, 3015));
    Text1->setReadOnly(true);
    // Keyboard reading and copying work; nothing is ever written back.
    Text1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Text1->setFocusPolicy(Qt::StrongFocus);
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    Form_Load();
}

void frmReadme::Form_Load()
{
    Text1->setPlainText(readGuide(ReadmePath()));
}

frmReadme* frmReadme::showSingle(QWidget* centreOver)
{
    // A viewer that was closed is hidden until its deferred deletion runs;
    // it no longer counts as open.
    if (openViewer && openViewer->isVisible()) {
        openViewer->raise();
        openViewer->activateWindow();
        return openViewer;
    }
    auto* viewer = new frmReadme();
    openViewer = viewer;
    ::centreOver(viewer, centreOver);
    viewer->show();
    // The title bar's size is known only once the window is on screen.
    ::centreOver(viewer, centreOver);
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

QString frmReadme::ReadmePath()
{
    if (!pathOverride.isEmpty())
        return pathOverride;
    return Module1::ProgramFolder() + QDir::separator() + QStringLiteral("ReadMe.txt");
}

void frmReadme::overrideReadmePath(const QString& path)
{
    pathOverride = path;
}
