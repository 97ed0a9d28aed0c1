// The editor's start-up time and memory, measured in a fresh process:
// the main window as main() shows it, then the 255 x 255 sample opened in
// the main window's map view and painted once. Prints
// one table. Runs on the offscreen platform unless QT_QPA_PLATFORM says
// otherwise.

#include "bench/document/ResidentMemory.h"
#include "mapview/MapView.h"
#include "resources/PictureList.h"
#include "shell/MainWindow.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <cstdio>

using namespace delvard;

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double mebibytes(long kilobytes)
{
    return static_cast<double>(kilobytes) / 1024.0;
}

// A settings file that is not empty, so the load takes the map folder from
// it instead of asking on a first run.
bool prepareProgramFolder(const QTemporaryDir& folder)
{
    QFile ini(folder.filePath(QStringLiteral("Delvard.ini")));
    if (!ini.open(QIODevice::WriteOnly))
        return false;
    ini.write("[Paths]\r\nMap=");
    ini.write(QFile::encodeName(folder.path()));
    ini.write("\r\n");
    return true;
}

void row(const char* what, const QString& value)
{
    std::printf("| %-52s | %14s |\n", what, qPrintable(value));
}

} // namespace

int main(int argc, char* argv[])
{
    const Clock::time_point entry = Clock::now();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QTemporaryDir programFolder;
    if (!programFolder.isValid() || !prepareProgramFolder(programFolder)) {
        std::fprintf(stderr, "memory probe: no scratch program folder\n");
        return 1;
    }
    const PictureList pictures;
    MainWindow window(pictures, programFolder.path());
    window.start();
    window.show();
    double shownMs = 0;
    QTimer::singleShot(0, &app, [&] {
        shownMs = millisecondsSince(entry);
        app.quit();
    });
    app.exec();
    window.grab();
    QApplication::processEvents();
    const double firstFrameMs = millisecondsSince(entry);
    const long noMapKb = residentmemory::processKilobytes();

    const Clock::time_point openStart = Clock::now();
    // As File > Open does it, without the file dialog.
    if (!window.openMapFile(QStringLiteral(DELVARD_LARGE_SAMPLE_MAP))) {
        std::fprintf(stderr, "memory probe: the sample cannot be opened\n");
        return 1;
    }
    QApplication::processEvents();
    window.grab();
    const double openMs =
        std::chrono::duration<double, std::milli>(Clock::now() - openStart).count();
    const long withMapKb = residentmemory::processKilobytes();

    const auto number = [](double value, int decimals) {
        return QString::number(value, 'f', decimals);
    };
    std::printf("Platform: %s\n", qPrintable(QApplication::platformName()));
    std::printf("| %-52s | %14s |\n", "Measure", "Value");
    std::printf("|%s|%s|\n", "------------------------------------------------------",
                "----------------");
    row("main() to main window shown (first event loop turn)",
        number(shownMs, 1) + QStringLiteral(" ms"));
    row("main() to main window painted once (grab)",
        number(firstFrameMs, 1) + QStringLiteral(" ms"));
    row("RSS, main window, no map", number(mebibytes(noMapKb), 1) + QStringLiteral(" MiB"));
    row("open 255x255 map: read, load, paint once", number(openMs, 1) + QStringLiteral(" ms"));
    row("RSS, 255x255 map open and painted",
        number(mebibytes(withMapKb), 1) + QStringLiteral(" MiB"));
    row("RSS difference, map open vs none",
        number(mebibytes(withMapKb - noMapKb), 1) + QStringLiteral(" MiB"));
    return 0;
}
