#include "PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace delvard {

struct PngWriter::Library
{
    png_structp png = nullptr;
    png_infop info = nullptr;
    Sink* sink = nullptr;
    bool sinkFailed = false;
    std::vector<uchar> rgbRow; // one row as the picture stores it: R, G, B
    char message[200] = {};
};

namespace {

// libpng leaves by longjmp on every error. Each call into it goes through
// one of these small functions, which hold no C++ object that a jump could
// skip; a failure comes back as false.
bool startPicture(PngWriter::Library& lib, png_uint_32 width, png_uint_32 height)
{
    if (setjmp(png_jmpbuf(lib.png)))
        return false;
    png_set_IHDR(lib.png, lib.info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(lib.png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(lib.png, 1);
    // Fewer, larger IDAT chunks: one write per 64 KiB instead of per 8 KiB.
    png_set_compression_buffer_size(lib.png, 1 << 16);
    png_write_info(lib.png, lib.info);
    return true;
}

bool writeRow(PngWriter::Library& lib, uchar* row)
{
    if (setjmp(png_jmpbuf(lib.png)))
        return false;
    png_write_row(lib.png, row);
    return true;
}

bool endPicture(PngWriter::Library& lib)
{
    if (setjmp(png_jmpbuf(lib.png)))
        return false;
    png_write_end(lib.png, nullptr);
    return true;
}

void onError(png_structp png, png_const_charp message)
{
    auto* lib = static_cast<PngWriter::Library*>(png_get_error_ptr(png));
    std::snprintf(lib->message, sizeof lib->message, "%s", message);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

void onWrite(png_structp png, png_bytep bytes, png_size_t size)
{
    auto* lib = static_cast<PngWriter::Library*>(png_get_io_ptr(png));
    if (!(*lib->sink)(reinterpret_cast<const char*>(bytes), size)) {
        lib->sinkFailed = true;
        png_error(png, "the picture could not be written");
    }
}

void onFlush(png_structp) {}

} // namespace

PngWriter::PngWriter(Sink sink, int width, int height)
    : sink_(std::move(sink)), width_(width), height_(height), png_(std::make_unique<Library>())
{
    png_->sink = &sink_;
    png_->png = png_create_write_struct(PNG_LIBPNG_VER_STRING, png_.get(), onError, onWarning);
    if (png_->png)
        png_->info = png_create_info_struct(png_->png);
    if (!png_->png || !png_->info) {
        error_ = QStringLiteral("the PNG library could not start");
        return;
    }
    png_set_write_fn(png_->png, png_.get(), onWrite, onFlush);
}

PngWriter::~PngWriter()
{
    if (png_->png)
        png_destroy_write_struct(&png_->png, png_->info ? &png_->info : nullptr);
}

bool PngWriter::start()
{
    if (started_)
        return true;
    started_ = true;
    if (!startPicture(*png_, static_cast<png_uint_32>(width_), static_cast<png_uint_32>(height_))) {
        error_ = QString::fromUtf8(png_->message);
        return false;
    }
    return true;
}

bool PngWriter::writeRows(const QImage& rows)
{
    if (!error_.isEmpty() || png_->sinkFailed || !start())
        return false;
    if (rows.width() != width_ || rows.format() != QImage::Format_RGB32 ||
        rowsWritten_ + rows.height() > height_) {
        error_ = QStringLiteral("rows do not fit the picture");
        return false;
    }
    png_->rgbRow.resize(static_cast<std::size_t>(width_) * 3);
    for (int y = 0; y < rows.height(); ++y) {
        // A plain loop over the pixels beats libpng's own filler and order
        // transforms, which run through generic code byte by byte.
        const auto* pixel = reinterpret_cast<const QRgb*>(rows.constScanLine(y));
        uchar* to = png_->rgbRow.data();
        for (int x = 0; x < width_; ++x, to += 3) {
            to[0] = static_cast<uchar>(qRed(pixel[x]));
            to[1] = static_cast<uchar>(qGreen(pixel[x]));
            to[2] = static_cast<uchar>(qBlue(pixel[x]));
        }
        if (!writeRow(*png_, png_->rgbRow.data())) {
            error_ = QString::fromUtf8(png_->message);
            return false;
        }
    }
    rowsWritten_ += rows.height();
    return true;
}

bool PngWriter::finish()
{
    if (!error_.isEmpty() || png_->sinkFailed || !start())
        return false;
    if (rowsWritten_ != height_) {
        error_ = QStringLiteral("the picture is missing rows");
        return false;
    }
    if (!endPicture(*png_)) {
        error_ = QString::fromUtf8(png_->message);
        return false;
    }
    return true;
}

} // namespace delvard
