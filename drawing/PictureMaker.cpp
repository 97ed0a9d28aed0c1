#include "drawing/PictureMaker.h"

#include "document/MapRules.h"
#include "drawing/FitPicture.h"
#include "resources/PictureList.h"

#include <array>
#include <new>
#include <thread>
#include <vector>

namespace delvard {

namespace {

// The pictures the map's cells show, in the order the first band meets them.
std::vector<int> picturesShown(const MapData& map)
{
    std::array<bool, PictureList::Count + 1> seen{};
    std::vector<int> shown;
    for (const Cell& cell : map.cells) {
        for (const int n : {pictureOf(cell.terrain), pictureOf(cell.owner)}) {
            if (n >= 1 && n <= PictureList::Count && !seen[static_cast<std::size_t>(n)]) {
                seen[static_cast<std::size_t>(n)] = true;
                shown.push_back(n);
            }
        }
    }
    return shown;
}

// A picture small enough to hold whole, in one go.
Outcome writeImagePng(const QImage& image, PngWriter::Sink sink)
{
    PngWriter png(std::move(sink), image.width(), image.height());
    if (!png.writeRows(image) || !png.finish())
        return Outcome::failed(png.problem());
    return {};
}

} // namespace

Outcome writeMapPng(MapRenderer& renderer, const delvard::MapData& map, PngWriter::Sink sink)
{
    const QSize size = renderer.mapSize(map);
    const int side = renderer.cellSize();
    QImage band(size.width(), side, QImage::Format_RGB32);
    if (band.isNull())
        return Outcome::failed(
            QStringLiteral("there is not enough memory for a band of the picture"));
    PngWriter png(std::move(sink), size.width(), size.height());
    for (int b = 0; b < size.height() / side; ++b) {
        renderer.drawBand(band, map, b);
        if (!png.writeRows(band))
            return Outcome::failed(png.problem());
    }
    if (!png.finish())
        return Outcome::failed(png.problem());
    return {};
}

PictureMaker::PictureMaker(const PictureList& pictures, PictureOptions options)
    : pictures_(pictures), options_(options), renderer_(pictures), colours_(builtCellColours())
{
    renderer_.setGridShown(options_.grid);
}

Outcome PictureMaker::write(const MapData& map, PngWriter::Sink sink)
{
    int cellSize = options_.cellSize;
    if (options_.fit) {
        const FitPlan plan = planFit(map, *options_.fit);
        if (plan.cellSize < SmallestPictureCell) {
            return writeImagePng(drawWithoutPictures(map, plan, colours_), std::move(sink));
        }
        cellSize = plan.cellSize;
    }
    // The drawing thread decodes and scales each picture as its first cell
    // comes. Another thread does the same meanwhile from the other end of
    // the list, so the two meet halfway.
    std::jthread decoder;
    if (options_.decodeAhead) {
        decoder =
            std::jthread([this, cellSize, shown = picturesShown(map)](const std::stop_token& stop) {
                try {
                    for (auto n = shown.rbegin(); n != shown.rend() && !stop.stop_requested(); ++n)
                        pictures_.scaled(*n, cellSize);
                } catch (const std::bad_alloc&) {
                    // The drawing thread decodes what is left, and says so if it cannot.
                }
            });
    }
    // The picture list keeps the pictures scaled to each size it met, so
    // maps of other sizes in one batch cost little more than the first.
    renderer_.setCellSize(cellSize);
    return writeMapPng(renderer_, map, std::move(sink));
}

} // namespace delvard
