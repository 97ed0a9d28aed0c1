#include "DelvardMap.h"
#include "NativeFileName.h"

#include <QCoreApplication>

#include <exception>
#include <new>

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

} // namespace

int main(int argc, char** argv)
{
    // A core application is enough: maps are drawn into images in memory,
    // so no display or platform plugin is needed.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("delvard-map"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    CommandIo io{out, err};
    // Whatever a file does to the program, it ends with a sentence and a
    // status, never with an abort.
    try {
        PicturesOnDemand pictures;
        return runDelvardMap(argumentsAfterProgramName(argc, argv), io, pictures);
    } catch (const std::bad_alloc&) {
        err << "delvard-map: there is not enough memory to go on.\n";
    } catch (const std::exception& error) {
        err << "delvard-map: " << error.what() << '\n';
    }
    err.flush();
    return ExitProblem;
}
