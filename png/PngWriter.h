#pragma once

#include "png/ZlibStream.h"

#include <QImage>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace delvard {

// The eight bytes every PNG file begins with.
inline constexpr std::string_view PngSignature{"\x89PNG\r\n\x1a\n", 8};

// Writes an 8-bit RGB PNG a band of rows at a time, so that a picture too
// big to hold whole never has to exist in memory. Fast settings (no row
// filter, deflate level 1): map pictures are large and made of repeated
// tiles, and the best compression costs seconds for little gain.
class PngWriter
{
  public:
    // Takes the encoded bytes as they come; returns false when they could
    // not be written, and the writer then stops.
    using Sink = std::function<bool(const char* bytes, std::size_t size)>;

    PngWriter(Sink sink, int width, int height);
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;

    // Rows of an RGB32 image exactly `width` wide.
    bool writeRows(const QImage& rows);
    // Ends the picture; false if it does not hold exactly `height` rows.
    bool finish();
    // Why the picture could not be written, when it was not the sink's fault.
    QString problem() const { return error_; }

  private:
    bool start();
    bool writeChunk(const char* type, std::string_view data);
    bool handOnPiece();
    bool fail(const QString& why);

    Sink sink_;
    const int width_;
    const int height_;
    int rowsWritten_ = 0;
    std::string piece_;      // rows packed for the compressor
    std::size_t filled_ = 0; // bytes of it filled
    std::optional<ZlibStream> deflate_;
    bool sinkFailed_ = false;
    QString error_;
};

} // namespace delvard
