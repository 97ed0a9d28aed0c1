#include "PictureMaker.h"

#include "FitPicture.h"

namespace delvard {

namespace {

// A picture small enough to hold whole, in one go.
bool writeImagePng(const QImage& image, PngWriter::Sink sink, QString& why, unsigned threads)
{
    PngWriter png(std::move(sink), image.width(), image.height(), threads);
    if (!png.writeRows(image) || !png.finish()) {
        why = png.problem();
        return false;
    }
    return true;
}

} // namespace

bool writeMapPng(MapRenderer& renderer, const delvard::MapData& map, PngWriter::Sink sink,
                 QString& why, unsigned compressionThreads)
{
    const QSize size = renderer.mapSize(map);
    const int side = renderer.cellSize();
    QImage band(size.width(), side, QImage::Format_RGB32);
    if (band.isNull()) {
        why = QStringLiteral("there is not enough memory for a band of the picture");
        return false;
    }
    PngWriter png(std::move(sink), size.width(), size.height(), compressionThreads);
    for (int b = 0; b < size.height() / side; ++b) {
        renderer.drawBand(band, map, b);
        if (!png.writeRows(band)) {
            why = png.problem();
            return false;
        }
    }
    if (!png.finish()) {
        why = png.problem();
        return false;
    }
    return true;
}

PictureMaker::PictureMaker(const PictureList& pictures, PictureOptions options)
    : pictures_(pictures), options_(options), renderer_(pictures)
{
    renderer_.setGridShown(options_.grid);
}

bool PictureMaker::write(const MapData& map, PngWriter::Sink sink, QString& why)
{
    int cellSize = options_.cellSize;
    if (options_.fit) {
        const FitPlan plan = planFit(map, *options_.fit);
        if (plan.cellSize < SmallestPictureCell) {
            if (!colours_)
                colours_.emplace(pictures_);
            return writeImagePng(drawWithoutPictures(map, plan, *colours_), std::move(sink), why,
                                 options_.compressionThreads);
        }
        cellSize = plan.cellSize;
    }
    // The tile cache keeps the pictures scaled to each size it met, so
    // maps of other sizes in one batch cost little more than the first.
    renderer_.setCellSize(cellSize);
    return writeMapPng(renderer_, map, std::move(sink), why, options_.compressionThreads);
}

} // namespace delvard
