#include "delvard-map/DelvardMap.h"
#include "delvard-map/StandardOutput.h"
#include "document/NativeFileName.h"
#include "document/PlatformFile.h"

#include <QCoreApplication>

#include <cstdio>
#include <exception>
#include <new>
#include <string>

namespace delvard {
namespace {

// The arguments as the system handed them over. Qt's own list turns bytes
// that are not UTF-8 into replacement characters, after which such a file
// name no longer names the file; on Windows the system hands over UTF-16,
// which Qt keeps whole.
QStringList argumentsAfterProgramName(int argc, char** argv)
{
#ifdef Q_OS_WIN
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return args;
#else
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(delvard::decodeNativeName(QByteArray(argv[i])));
    return args;
#endif
}

int runCommand(const QStringList& args, CommandIo& io)
{
    // Whatever a file does to the program, it ends with a sentence and a
    // status, never with an abort.
    try {
        PicturesOnDemand pictures;
        return runDelvardMap(args, io, pictures);
    } catch (const std::bad_alloc&) {
        io.err << "delvard-map: there is not enough memory to go on.\n";
    } catch (const std::exception& error) {
        io.err << "delvard-map: " << error.what() << '\n';
    }
    return ExitProblem;
}

} // namespace
} // namespace delvard

int main(int argc, char** argv)
{
    // Before anything opens a file: the first file opened would get the
    // closed stream's number, and a map could receive the program's output
    // or its messages.
    if (const std::string closed = delvard::platform::closedStandardStream(); !closed.empty()) {
        // With standard error closed this goes nowhere; the status still tells.
        std::fprintf(stderr, "delvard-map: cannot run with %s closed.\n", closed.c_str());
        return delvard::ExitProblem;
    }

    // A core application is enough: maps are drawn into images in memory,
    // so no display or platform plugin is needed.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("delvard-map"));
    // The only pictures read are the program's own PNGs, which Qt Gui
    // decodes itself: no plugin is wanted, so none are looked for (Qt
    // otherwise opens every image plugin it finds on the first picture).
    QCoreApplication::setLibraryPaths({});

    delvard::StandardOutput standardOutput;
    QTextStream out(&standardOutput);
    QTextStream err(stderr);
    delvard::CommandIo io{out, err, &standardOutput};
    int status = delvard::runCommand(delvard::argumentsAfterProgramName(argc, argv), io);

    // Output that never arrived is a failure whatever the command found,
    // as with every tool that writes to standard output.
    out.flush();
    if (!standardOutput.finish()) {
        if (!standardOutput.readerLeft())
            err << "delvard-map: cannot write to standard output: "
                << QString::fromStdString(standardOutput.error().message()) << '\n';
        if (status == delvard::ExitSuccess)
            status = delvard::ExitProblem;
    }
    err.flush();
    return status;
}
