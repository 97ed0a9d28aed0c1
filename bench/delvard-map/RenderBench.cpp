#include "document/MapFile.h"
#include "drawing/MapRenderer.h"
#include "drawing/PictureMaker.h"
#include "png/PixelPacking.h"
#include "resources/PictureList.h"

#include <benchmark/benchmark.h>

using namespace delvard;

namespace {

struct LargeSample
{
    MapFile file = loadMap(QStringLiteral(DELVARD_SAMPLES_DIR "/large-255x255Map.kld"));
    PictureList pictures;
};

const LargeSample& largeSample()
{
    static const LargeSample sample;
    return sample;
}

// Drawing every band of the largest map, without the PNG: composing the
// distinct cells and copying them into place. Arguments: cell size in
// pixels, grid.
void drawLargeMapBands(benchmark::State& state)
{
    const LargeSample& sample = largeSample();
    if (!sample.file.ok()) {
        state.SkipWithError("the large sample map cannot be read");
        return;
    }
    const int side = static_cast<int>(state.range(0));
    for (auto _ : state) {
        MapRenderer renderer(sample.pictures);
        renderer.setCellSize(side);
        renderer.setGridShown(state.range(1) != 0);
        QImage band(renderer.mapSize(sample.file.map()).width(), side, QImage::Format_RGB32);
        for (int b = 0; b < sample.file.height() + 2; ++b)
            renderer.drawBand(band, sample.file.map(), b);
        benchmark::DoNotOptimize(band.constBits());
    }
    state.counters["megapixels"] = double((255 + 2) * side) * ((255 + 2) * side) / 1e6;
}
BENCHMARK(drawLargeMapBands)
    ->Args({8, 0})
    ->Args({24, 0})
    ->Args({24, 1})
    ->Args({72, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// What the render command does: every band streamed into the PNG encoder.
// Argument: cell size in pixels.
void streamLargeMapPng(benchmark::State& state)
{
    const LargeSample& sample = largeSample();
    if (!sample.file.ok()) {
        state.SkipWithError("the large sample map cannot be read");
        return;
    }
    for (auto _ : state) {
        MapRenderer renderer(sample.pictures);
        renderer.setCellSize(static_cast<int>(state.range(0)));
        renderer.setGridShown(false); // render's default
        std::size_t written = 0;
        const Outcome drawn =
            writeMapPng(renderer, sample.file.map(), [&written](const char*, std::size_t size) {
                written += size;
                return true;
            });
        if (!drawn.ok) {
            state.SkipWithError(qPrintable(drawn.problem));
            break;
        }
        state.counters["megabytes"] = static_cast<double>(written) / 1e6;
    }
}
BENCHMARK(streamLargeMapPng)
    ->Arg(8)
    ->Arg(24)
    ->Arg(72)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Packing the rows of a 72 px render of the largest map into PNG rows:
// with AVX2 where the processor has it (argument 1), a pixel at a time (0).
// The vector path is kept for as long as it saves a good part of a render.
void packLargeMapRows(benchmark::State& state)
{
    const int width = (255 + 2) * 72;
    const std::vector<QRgb> row(static_cast<std::size_t>(width), 0xff336699u);
    std::string packed(3 * row.size(), '\0');
    const auto pack = state.range(0) != 0 ? packRgb : packRgbPortably;
    for (auto _ : state) {
        for (int y = 0; y < width; ++y)
            pack(row.data(), width, packed.data());
        benchmark::DoNotOptimize(packed.data());
    }
}
BENCHMARK(packLargeMapRows)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
