#include "PngWriter.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <thread>

namespace delvard {

namespace {

constexpr std::string_view PngSignature{"\x89PNG\r\n\x1a\n", 8};
// Rows are gathered into bands of about this many bytes before they are
// compressed: big enough that the history each band starts without costs
// little, small enough that every thread gets its share of a picture.
constexpr std::size_t BandBytes = 1 << 20;
// The compressed stream goes out in chunks of at most this size.
constexpr std::size_t MaxChunk = 1 << 20;

void appendBigEndian(std::string& bytes, std::uint32_t value)
{
    for (const int shift : {24, 16, 8, 0})
        bytes += static_cast<char>((value >> shift) & 0xFF);
}

} // namespace

PngWriter::PngWriter(Sink sink, int width, int height, unsigned threads)
    : sink_(std::move(sink)), width_(width), height_(height),
      threads_(threads != 0 ? threads : std::max(1u, std::thread::hardware_concurrency()))
{
}

bool PngWriter::fail(const std::string& why)
{
    if (error_.isEmpty() && !sinkFailed_)
        error_ = QString::fromStdString(why);
    return false;
}

bool PngWriter::writeChunk(const char* type, std::string_view data)
{
    std::string chunk;
    chunk.reserve(data.size() + 12);
    appendBigEndian(chunk, static_cast<std::uint32_t>(data.size()));
    chunk.append(type, 4);
    chunk.append(data);
    const auto crc = crc32_z(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(chunk.data() + 4),
                             data.size() + 4);
    appendBigEndian(chunk, static_cast<std::uint32_t>(crc));
    if (!sink_(chunk.data(), chunk.size())) {
        sinkFailed_ = true;
        return false;
    }
    return true;
}

bool PngWriter::writeImageData(std::string_view stream)
{
    for (std::size_t at = 0; at < stream.size(); at += MaxChunk) {
        if (!writeChunk("IDAT", stream.substr(at, MaxChunk)))
            return false;
    }
    return true;
}

bool PngWriter::start()
{
    if (deflate_)
        return true;
    if (width_ <= 0 || height_ <= 0 || width_ > std::numeric_limits<std::int32_t>::max() / 3)
        return fail("the picture has no size a PNG picture can have");
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
    rowsPerBand_ = static_cast<int>(std::clamp<std::size_t>(BandBytes / rowBytes, 1, 1 << 20));
    deflate_.emplace([this](std::string_view stream) { return writeImageData(stream); }, threads_);
    return true;
}

bool PngWriter::writeRows(const QImage& rows)
{
    if (!error_.isEmpty() || sinkFailed_ || !start())
        return false;
    if (rows.width() != width_ || rows.format() != QImage::Format_RGB32 ||
        rowsWritten_ + rows.height() > height_)
        return fail("rows do not fit the picture");
    const std::size_t rowBytes = 1 + 3 * static_cast<std::size_t>(width_);
    for (int y = 0; y < rows.height(); ++y) {
        if (filled_ == 0) {
            // A buffer of an earlier band, already as large as a band: no
            // fresh memory to fault in, nothing to clear.
            band_ = deflate_->spareBuffer();
            band_.resize(rowBytes * static_cast<std::size_t>(rowsPerBand_));
        }
        char* to = band_.data() + filled_;
        *to++ = 0; // no filter
        // A plain loop over the pixels: RGB32 holds them as 0xffRRGGBB.
        const auto* pixel = reinterpret_cast<const QRgb*>(rows.constScanLine(y));
        for (int x = 0; x < width_; ++x, to += 3) {
            to[0] = static_cast<char>(qRed(pixel[x]));
            to[1] = static_cast<char>(qGreen(pixel[x]));
            to[2] = static_cast<char>(qBlue(pixel[x]));
        }
        filled_ += rowBytes;
        ++rowsWritten_;
        if (filled_ == band_.size() && !handOnBand())
            return false;
    }
    return true;
}

bool PngWriter::handOnBand()
{
    band_.resize(filled_);
    filled_ = 0;
    return deflate_->add(std::move(band_)) || fail(deflate_->problem());
}

bool PngWriter::finish()
{
    if (!error_.isEmpty() || sinkFailed_ || !start())
        return false;
    if (rowsWritten_ != height_)
        return fail("the picture is missing rows");
    if ((filled_ != 0 && !handOnBand()) || !deflate_->finish())
        return fail(deflate_->problem());
    return writeChunk("IEND", {});
}

} // namespace delvard
