#include "PngStreamWriter.h"

#include <QIODevice>
#include <QtEndian>

namespace {

constexpr int IdatChunkSize = 1 << 16;

QByteArray bigEndian(quint32 value)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToBigEndian(value, bytes.data());
    return bytes;
}

} // namespace

PngStreamWriter::PngStreamWriter(QIODevice& out, int width, int height)
    : out_(out), width_(width), height_(height)
{
    static const char signature[] = "\x89PNG\r\n\x1a\n";
    if (out_.write(signature, 8) != 8) {
        error_ = out_.errorString();
        return;
    }
    QByteArray header =
        bigEndian(static_cast<quint32>(width)) + bigEndian(static_cast<quint32>(height));
    header.append(char(8)); // bits per sample
    header.append(char(2)); // colour type: RGB
    header.append(char(0)); // deflate
    header.append(char(0)); // adaptive filtering (each row says its filter)
    header.append(char(0)); // not interlaced
    if (!chunk("IHDR", header))
        return;
    if (deflateInit(&stream_, 1) != Z_OK) {
        error_ = QStringLiteral("cannot start the compressor");
        return;
    }
    streamOpen_ = true;
    row_.resize(1 + 3 * static_cast<qsizetype>(width));
}

PngStreamWriter::~PngStreamWriter()
{
    if (streamOpen_)
        deflateEnd(&stream_);
}

bool PngStreamWriter::chunk(const char* type, const QByteArray& data)
{
    QByteArray typed(type, 4);
    typed.append(data);
    const uLong crc = crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(typed.constData()),
                            static_cast<uInt>(typed.size()));
    const QByteArray whole =
        bigEndian(static_cast<quint32>(data.size())) + typed + bigEndian(static_cast<quint32>(crc));
    if (out_.write(whole) != whole.size()) {
        error_ = out_.errorString();
        return false;
    }
    return true;
}

bool PngStreamWriter::compressRow()
{
    char buffer[IdatChunkSize];
    do {
        stream_.next_out = reinterpret_cast<Bytef*>(buffer);
        stream_.avail_out = sizeof buffer;
        const int status = deflate(&stream_, Z_NO_FLUSH);
        if (status == Z_STREAM_ERROR) {
            error_ = QStringLiteral("the compressor failed");
            return false;
        }
        compressed_.append(buffer, static_cast<qsizetype>(sizeof buffer - stream_.avail_out));
        while (compressed_.size() >= IdatChunkSize) {
            if (!chunk("IDAT", compressed_.left(IdatChunkSize)))
                return false;
            compressed_.remove(0, IdatChunkSize);
        }
    } while (stream_.avail_out == 0); // a full buffer means more output is waiting
    return true;
}

bool PngStreamWriter::writeRows(const QImage& rows)
{
    if (!error_.isEmpty())
        return false;
    if (rows.width() != width_ || rows.format() != QImage::Format_RGB32 ||
        rowsWritten_ + rows.height() > height_) {
        error_ = QStringLiteral("rows do not fit the picture");
        return false;
    }
    for (int y = 0; y < rows.height(); ++y) {
        const auto* pixel = reinterpret_cast<const QRgb*>(rows.constScanLine(y));
        char* to = row_.data();
        *to++ = 0; // filter: none
        for (int x = 0; x < width_; ++x) {
            *to++ = static_cast<char>(qRed(pixel[x]));
            *to++ = static_cast<char>(qGreen(pixel[x]));
            *to++ = static_cast<char>(qBlue(pixel[x]));
        }
        stream_.next_in = reinterpret_cast<Bytef*>(row_.data());
        stream_.avail_in = static_cast<uInt>(row_.size());
        if (!compressRow())
            return false;
    }
    rowsWritten_ += rows.height();
    return true;
}

bool PngStreamWriter::finish()
{
    if (!error_.isEmpty())
        return false;
    if (rowsWritten_ != height_) {
        error_ = QStringLiteral("the picture is missing rows");
        return false;
    }
    stream_.next_in = nullptr;
    stream_.avail_in = 0;
    int status = Z_OK;
    char buffer[IdatChunkSize];
    while (status != Z_STREAM_END) {
        stream_.next_out = reinterpret_cast<Bytef*>(buffer);
        stream_.avail_out = sizeof buffer;
        status = deflate(&stream_, Z_FINISH);
        if (status == Z_STREAM_ERROR) {
            error_ = QStringLiteral("the compressor failed");
            return false;
        }
        compressed_.append(buffer, static_cast<qsizetype>(sizeof buffer - stream_.avail_out));
    }
    for (qsizetype at = 0; at < compressed_.size(); at += IdatChunkSize)
        if (!chunk("IDAT", compressed_.mid(at, IdatChunkSize)))
            return false;
    compressed_.clear();
    return chunk("IEND", QByteArray());
}
