#include "PaletteButtons.h"

#include <QFile>
#include <QStringConverter>
#include <QStringDecoder>
#include <QStringList>
#include <gtest/gtest.h>

// The guide that ships beside the program: the viewer shows it as UTF-8
// and wraps its paragraphs, and it must name the palette's buttons as their tool tips do.
namespace {

QString guideText()
{
    QFile file(QStringLiteral(DELVARD_GUIDE_PATH));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    return utf8.hasError() ? QString() : text;
}

TEST(ShippedGuide, IsUtf8TextOfAReadableLength)
{
    const QString text = guideText();
    ASSERT_FALSE(text.isEmpty()) << DELVARD_GUIDE_PATH << " missing or not UTF-8";
    const QStringList lines = text.split(QLatin1Char('\n'));
    EXPECT_GE(lines.size(), 80);
    EXPECT_LE(lines.size(), 160);
}

TEST(ShippedGuide, NamesEveryPaletteButtonByItsToolTip)
{
    const QString text = guideText();
    ASSERT_FALSE(text.isEmpty());
    for (int number = 1; number <= palette::ButtonCount; ++number) {
        if (palette::isSeparator(number))
            continue;
        const QString name = QString::fromUtf8(palette::button(number).toolTip);
        EXPECT_TRUE(text.contains(name)) << "button " << number << " " << name.toStdString();
    }
}

TEST(ShippedGuide, ExplainsTheFilesItWorksWith)
{
    const QString text = guideText();
    for (const char* must : {"map.kld", "Delvard.ini", "Path > Map Files", "File > Open",
                             "File > Save", "~/.config/Delvard/"})
        EXPECT_TRUE(text.contains(QLatin1String(must))) << must;
}

} // namespace
