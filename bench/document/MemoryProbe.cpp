// The editor's start-up time and memory, measured in a fresh process:
// the main window as Main shows it, then the 255 x 255 sample opened in a
// map window inside the main window's scroll area and painted once. Prints
// one table. Runs on the offscreen platform unless QT_QPA_PLATFORM says
// otherwise.

#include "MapCommands.h"
#include "Module1.h"
#include "ResidentMemory.h"
#include "frmMain.h"
#include "frmMap.h"

#include <QApplication>
#include <QFile>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <cstdio>

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

long cellCodesResident()
{
    return residentmemory::rangeBytes(Module1::CellCodes, sizeof(Module1::CellCodes));
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
    const long cellCodesAtEntry = cellCodesResident();

    QApplication app(argc, argv);
    QTemporaryDir programFolder;
    if (!programFolder.isValid() || !prepareProgramFolder(programFolder)) {
        std::fprintf(stderr, "memory probe: no scratch program folder\n");
        return 1;
    }
    Module1::OverrideProgramFolder(programFolder.path());

    Module1::SetStartupDefaults();
    frmMain window;
    window.MDIForm_Load();
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
    const long cellCodesNoMap = cellCodesResident();

    const Clock::time_point openStart = Clock::now();
    const mapcommands::OpenResult opened =
        mapcommands::readMapIntoState(QStringLiteral(DELVARD_LARGE_SAMPLE_MAP));
    if (!opened.loaded) {
        std::fprintf(stderr, "memory probe: %s\n", qPrintable(opened.problem));
        return 1;
    }
    Module1::MapFilePath = QStringLiteral(DELVARD_LARGE_SAMPLE_MAP);
    // As File > Open builds it, without the file dialog.
    auto* map = new frmMap(window.toolbarState(), [] {});
    map->Form_Load();
    window.mapArea()->setWidget(map);
    map->show();
    QApplication::processEvents();
    window.grab();
    const double openMs =
        std::chrono::duration<double, std::milli>(Clock::now() - openStart).count();
    const long withMapKb = residentmemory::processKilobytes();
    const long cellCodesWithMap = cellCodesResident();

    const auto number = [](double value, int decimals) {
        return QString::number(value, 'f', decimals);
    };
    const auto kib = [](long bytes) { return QStringLiteral("%1 KiB").arg(bytes / 1024); };
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
    row("sizeof(Module1::CellCodes)", kib(static_cast<long>(sizeof(Module1::CellCodes))));
    row("CellCodes resident at main() entry", kib(cellCodesAtEntry));
    row("CellCodes resident, main window, no map", kib(cellCodesNoMap));
    row("CellCodes resident, 255x255 map open", kib(cellCodesWithMap));
    return 0;
}
