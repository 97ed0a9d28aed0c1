#include "Module1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Module1::Main();
    return app.exec();
}
