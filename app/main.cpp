#include "delvard/Product.h"
#include "resources/PictureList.h"
#include "shell/MainWindow.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>

namespace {

// What to do without a display, in one line: Qt's own words for it end in
// an abort and "Reinstalling the application may fix this problem".
void sayThereIsNoDisplay(const char* why)
{
    std::fprintf(stderr,
                 "delvard: the editor needs a display to show its window, and %s. Run it in a "
                 "desktop session, in a virtual X server (xvfb-run -a delvard) or through VNC "
                 "(QT_QPA_PLATFORM=vnc:size=1280x860 delvard).\n",
                 why);
}

bool noDisplayIsNamed()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return qEnvironmentVariableIsEmpty("DISPLAY") &&
           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    return false;
#endif
}

// A display that is named but cannot be reached is only found out by Qt's
// platform plugin, which then gives up with a fatal message.
void handleQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg && message.contains(QLatin1String("platform plugin"))) {
        sayThereIsNoDisplay("the display it was given cannot be used");
        std::_Exit(1);
    }
    // The platform plugin's own complaints come before its fatal message,
    // which the line above replaces.
    const bool pluginComplaint =
        context.category && (qstrcmp(context.category, "qt.qpa.xcb") == 0 ||
                             qstrcmp(context.category, "qt.qpa.plugin") == 0);
    if (pluginComplaint && (message.contains(QLatin1String("could not connect to display")) ||
                            message.contains(QLatin1String("Could not load the Qt platform"))))
        return;
    const QString line = qFormatLogMessage(type, context, message);
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char* argv[])
{
    if (noDisplayIsNamed()) {
        sayThereIsNoDisplay("none is set (DISPLAY and WAYLAND_DISPLAY are empty)");
        return 1;
    }
    qInstallMessageHandler(handleQtMessage);
    QApplication app(argc, argv);
    // The user's settings folder is named after the application.
    QApplication::setApplicationName(QString::fromUtf8(delvard::product::Title));

    const delvard::PictureList pictures;
    delvard::MainWindow window(pictures,
                               QDir::toNativeSeparators(QApplication::applicationDirPath()));
    // The load runs before the window is first shown, so on the first run
    // the About box and the folder chooser are the first windows seen.
#ifdef DELVARD_SYSTEM_INSTALL
    window.start(delvard::SettingsFile::Install::SystemInstall);
#else
    window.start();
#endif
    window.show();
    return app.exec();
}
