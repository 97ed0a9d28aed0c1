#include "MainWindow.h"
#include "PictureList.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral(DELVARD_TITLE));
    QApplication::setApplicationVersion(QStringLiteral(DELVARD_VERSION));

    const PictureList pictures;
    MainWindow window(pictures, QDir::toNativeSeparators(QApplication::applicationDirPath()));
    // The load runs before the window is first shown, so on the first run
    // the About box and the folder chooser are the first windows seen.
#ifdef DELVARD_SYSTEM_INSTALL
    window.start(SettingsFile::Install::SystemInstall);
#else
    window.start();
#endif
    window.show();
    return app.exec();
}
