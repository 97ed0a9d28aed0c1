#include "DelvardMap.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    // A core application is enough: maps are drawn into images in memory,
    // so no display or platform plugin is needed.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("delvard-map"));
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();

    QTextStream out(stdout);
    QTextStream err(stderr);
    CommandIo io{out, err};
    return runDelvardMap(args, io);
}
