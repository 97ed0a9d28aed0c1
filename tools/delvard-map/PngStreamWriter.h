#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <zlib.h>

class QIODevice;

// Writes an 8-bit RGB PNG a band of rows at a time, so that a picture too
// big to hold whole never has to exist in memory. Fast settings (no row
// filter, deflate level 1): map pictures are large and made of repeated
// tiles, and the best compression costs seconds for little gain.
class PngStreamWriter
{
  public:
    PngStreamWriter(QIODevice& out, int width, int height);
    ~PngStreamWriter();
    PngStreamWriter(const PngStreamWriter&) = delete;
    PngStreamWriter& operator=(const PngStreamWriter&) = delete;

    // Rows of an RGB32 image exactly `width` wide.
    bool writeRows(const QImage& rows);
    // Ends the picture; false if it does not hold exactly `height` rows.
    bool finish();
    QString errorString() const { return error_; }

  private:
    bool chunk(const char* type, const QByteArray& data);
    bool compressRow();

    QIODevice& out_;
    const int width_;
    const int height_;
    int rowsWritten_ = 0;
    z_stream stream_{};
    bool streamOpen_ = false;
    QByteArray row_;
    QByteArray compressed_;
    QString error_;
};
