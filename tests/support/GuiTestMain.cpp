#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArrayLiteral("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Delvard"));
    QApplication::setApplicationVersion(QStringLiteral("2.0.0"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
