#include "png/PngWriter.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <thread>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace delvard {

namespace {

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

// RGB32 holds a pixel as 0xffRRGGBB, in memory B, G, R, 255; the PNG
// rows want R, G, B.
void packPixelsPortably(const QRgb* pixels, int count, char* to)
{
    for (int x = 0; x < count; ++x, to += 3) {
        to[0] = static_cast<char>(qRed(pixels[x]));
        to[1] = static_cast<char>(qGreen(pixels[x]));
        to[2] = static_cast<char>(qBlue(pixels[x]));
    }
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
// Eight pixels at a step: their bytes put in order within each half of the
// register, the two halves' 12 bytes then moved together, 32 bytes stored
// of which the last 8 the next step writes over. The drawing thread packs
// every row, so this is most of its own work after the drawing itself.
__attribute__((target("avx2"))) void packPixelsAvx2(const QRgb* pixels, int count, char* to)
{
    const __m256i order = _mm256_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1,
                                           2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    const __m256i together = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7);
    int x = 0;
    // 32 bytes are stored where 24 are packed: the step stays within the row.
    for (; count - x >= 11; x += 8, to += 24) {
        const __m256i eight = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels + x));
        const __m256i packed =
            _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(eight, order), together);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(to), packed);
    }
    packPixelsPortably(pixels + x, count - x, to);
}

void packPixels(const QRgb* pixels, int count, char* to)
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2)
        packPixelsAvx2(pixels, count, to);
    else
        packPixelsPortably(pixels, count, to);
}
#else
void packPixels(const QRgb* pixels, int count, char* to)
{
    packPixelsPortably(pixels, count, to);
}
#endif

} // namespace

PngWriter::PngWriter(Sink sink, int width, int height, unsigned threads)
    : sink_(std::move(sink)), width_(width), height_(height),
      threads_(threads != 0 ? threads : std::max(1u, std::thread::hardware_concurrency()))
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
    rowsPerBand_ = static_cast<int>(std::clamp<std::size_t>(BandBytes / rowBytes, 1, 1 << 20));
    // No more threads than bands: a thumbnail of one band is compressed
    // on this thread, without starting any.
    const auto bands = static_cast<unsigned>((height_ - 1) / rowsPerBand_ + 1);
    deflate_.emplace([this](std::string_view stream) { return writeImageData(stream); },
                     std::min(threads_, bands));
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
        if (filled_ == 0) {
            // A buffer of an earlier band, already as large as a band: no
            // fresh memory to fault in, nothing to clear. The last band
            // takes only the rows left, and a picture smaller than a band
            // touches no more memory than it needs.
            band_ = deflate_->spareBuffer();
            const int rowsLeft = height_ - rowsWritten_;
            band_.resize(rowBytes * static_cast<std::size_t>(std::min(rowsPerBand_, rowsLeft)));
        }
        char* to = band_.data() + filled_;
        *to++ = 0; // no filter
        packPixels(reinterpret_cast<const QRgb*>(rows.constScanLine(y)), width_, to);
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
        return fail(QStringLiteral("the picture is missing rows"));
    if ((filled_ != 0 && !handOnBand()) || !deflate_->finish())
        return fail(deflate_->problem());
    return writeChunk("IEND", {});
}

} // namespace delvard
