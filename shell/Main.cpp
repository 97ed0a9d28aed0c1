#include "Module1.h"
#include "frmMain.h"

#include <QApplication>

namespace Module1 {

void Main()
{
    QApplication::setApplicationName(QStringLiteral(DELVARD_TITLE));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(DELVARD_VERSION_MAJOR)
                                            .arg(DELVARD_VERSION_MINOR)
                                            .arg(DELVARD_VERSION_REVISION));
    SetStartupDefaults();
    // The load runs before the window is first shown, so on the first run
    // the About box and the folder chooser are the first windows seen.
    auto* window = new frmMain;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->MDIForm_Load();
    window->show();
}

} // namespace Module1
