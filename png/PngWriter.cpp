#include "png/PngWriter.h"

#include "png/PixelPacking.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace delvard {

namespace {

// Rows are gathered into pieces of about this many bytes before they are
// compressed, whatever the caller's bands: where the pieces end depends on
// the picture's width alone, and so do the compressed bytes.
constexpr std::size_t PieceBytes = 1 << 18;

void appendBigEndian(std::string& bytes, std::uint32_t value)
{
    for (const int shift : {24, 16, 8, 0})
        bytes += static_cast<char>((value >> shift) & 0xFF);
}

} // namespace

PngWriter::PngWriter(Sink sink, int width, int height)
    : sink_(std::move(sink)), width_(width), height_(height)
{
}

bool PngWriter::fail(const QString& why)
{
    if (error_.isEmpty() && !sinkFailed_)
        error_ = why;
    return false;
}

bool PngWriter::writeChunk(const char* type, std::string_view data)
{
    // Length and type, the data as it is (a chunk can be the size of a
    // compressed piece, not worth copying), then the CRC of type and data.
    std::string head;
    appendBigEndian(head, static_cast<std::uint32_t>(data.size()));
    head.append(type, 4);
    auto crc = crc32_z(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(type), 4);
    if (!data.empty()) // zlib answers a call without data with its starting value
        crc = crc32_z(crc, reinterpret_cast<const Bytef*>(data.data()), data.size());
    std::string tail;
    appendBigEndian(tail, static_cast<std::uint32_t>(crc));
    if (!sink_(head.data(), head.size()) || (!data.empty() && !sink_(data.data(), data.size())) ||
        !sink_(tail.data(), tail.size())) {
        sinkFailed_ = true;
        return false;
    }
    return true;
}

bool PngWriter::start()
{
    if (deflate_)
        return true;
    if (width_ <= 0 || height_ <= 0 || width_ > std::numeric_limits<std::int32_t>::max() / 3)
        return fail(QStringLiteral("the picture has no size a PNG picture can have"));
    if (!sink_(PngSignature.data(), PngSignature.size())) {
        sinkFailed_ = true;
        return false;
    }
    std::string header;
    appendBigEndian(header, static_cast<std::uint32_t>(width_));
    appendBigEndian(header, static_cast<std::uint32_t>(height_));
    // 8 bits a sample, RGB; deflate, adaptive filtering's method, no interlace.
    header += std::string("\x08\x02\x00\x00\x00", 5);
    if (!writeChunk("IHDR", header))
        return false;
    const std::size_t rowBytes = 1 + 3 * static_cast<std::size_t>(width_);
    const auto rowsPerPiece =
        std::clamp<std::size_t>(PieceBytes / rowBytes, 1, static_cast<std::size_t>(height_));
    piece_.resize(rowBytes * rowsPerPiece);
    deflate_.emplace([this](std::string_view stream) { return writeChunk("IDAT", stream); });
    return true;
}

bool PngWriter::writeRows(const QImage& rows)
{
    if (!error_.isEmpty() || sinkFailed_ || !start())
        return false;
    if (rows.width() != width_ || rows.format() != QImage::Format_RGB32 ||
        rowsWritten_ + rows.height() > height_)
        return fail(QStringLiteral("rows do not fit the picture"));
    const std::size_t rowBytes = 1 + 3 * static_cast<std::size_t>(width_);
    for (int y = 0; y < rows.height(); ++y) {
        char* to = piece_.data() + filled_;
        *to++ = 0; // no filter
        packRgb(reinterpret_cast<const QRgb*>(rows.constScanLine(y)), width_, to);
        filled_ += rowBytes;
        ++rowsWritten_;
        if (filled_ == piece_.size() && !handOnPiece())
            return false;
    }
    return true;
}

bool PngWriter::handOnPiece()
{
    const std::size_t filled = std::exchange(filled_, 0);
    return deflate_->add(std::string_view(piece_.data(), filled)) || fail(deflate_->problem());
}

bool PngWriter::finish()
{
    if (!error_.isEmpty() || sinkFailed_ || !start())
        return false;
    if (rowsWritten_ != height_)
        return fail(QStringLiteral("the picture is missing rows"));
    if ((filled_ != 0 && !handOnPiece()) || !deflate_->finish())
        return fail(deflate_->problem());
    return writeChunk("IEND", {});
}

} // namespace delvard
