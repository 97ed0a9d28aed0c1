#include <QFile>
#include <QStringDecoder>
#include <gtest/gtest.h>

// The guide that ships beside the program: the viewer shows it as UTF-8, and
// it must explain the files and commands a first run meets.
namespace {

TEST(ShippedGuide, IsUtf8AndExplainsTheFilesItWorksWith)
{
    QFile file(QStringLiteral(DELVARD_GUIDE_PATH));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << DELVARD_GUIDE_PATH;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(file.readAll());
    ASSERT_FALSE(utf8.hasError()) << "not UTF-8";
    for (const char* must : {"map.kld", "Delvard.ini", "Path > Map Files", "File > Open",
                             "File > Save", "~/.config/Delvard/"})
        EXPECT_TRUE(text.contains(QLatin1String(must))) << must;
}

} // namespace
