#include "PngWriter.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

// Every channel of every pixel differs from its neighbours, so a swapped
// channel, a lost row or a shifted band shows.
QImage patterned(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7 + y) % 256, (y * 13 + x * 3) % 256, (x * y) % 256));
    return image;
}

PngWriter::Sink into(QByteArray& bytes)
{
    return [&bytes](const char* data, std::size_t size) {
        bytes.append(data, static_cast<qsizetype>(size));
        return true;
    };
}

} // namespace

TEST(PngWriter, BandsReadBackAsTheSamePicture)
{
    const QImage picture = patterned(157, 61);
    QByteArray buffer;
    PngWriter png(into(buffer), picture.width(), picture.height());
    for (int top = 0; top < picture.height(); top += 7)
        ASSERT_TRUE(png.writeRows(
            picture.copy(0, top, picture.width(), std::min(7, picture.height() - top))))
            << png.errorString().toStdString();
    ASSERT_TRUE(png.finish()) << png.errorString().toStdString();

    const QImage read = QImage::fromData(buffer, "PNG");
    ASSERT_FALSE(read.isNull());
    EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), picture);
}

TEST(PngWriter, RefusesRowsThatDoNotFitAShortPictureAndAFailingSink)
{
    QByteArray buffer;
    PngWriter png(into(buffer), 10, 4);
    EXPECT_FALSE(png.writeRows(patterned(9, 2)));

    PngWriter shortPicture(into(buffer), 10, 4);
    ASSERT_TRUE(shortPicture.writeRows(patterned(10, 3)));
    EXPECT_FALSE(shortPicture.finish());

    PngWriter refused([](const char*, std::size_t) { return false; }, 10, 4);
    EXPECT_FALSE(refused.writeRows(patterned(10, 4)) && refused.finish());
}
