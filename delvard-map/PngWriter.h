#pragma once

#include <QImage>
#include <QString>

#include <functional>
#include <memory>

namespace delvard {

// Writes an 8-bit RGB PNG a band of rows at a time through libpng, so that a
// picture too big to hold whole never has to exist in memory. Fast settings
// (no row filter, deflate level 1): map pictures are large and made of
// repeated tiles, and the best compression costs seconds for little gain.
class PngWriter
{
  public:
    // Takes the encoded bytes as they come; returns false when they could
    // not be written, and the writer then stops.
    using Sink = std::function<bool(const char* bytes, std::size_t size)>;

    PngWriter(Sink sink, int width, int height);
    ~PngWriter();
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;

    // Rows of an RGB32 image exactly `width` wide.
    bool writeRows(const QImage& rows);
    // Ends the picture; false if it does not hold exactly `height` rows.
    bool finish();
    // Why the picture could not be written, when it was not the sink's fault.
    QString problem() const { return error_; }

    struct Library; // libpng's state, kept out of this header

  private:
    bool start();

    Sink sink_;
    const int width_;
    const int height_;
    int rowsWritten_ = 0;
    bool started_ = false;
    std::unique_ptr<Library> png_;
    QString error_;
};

} // namespace delvard
