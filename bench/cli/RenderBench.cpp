#include "MapFile.h"
#include "MapRenderer.h"
#include "PngWriter.h"

#include <benchmark/benchmark.h>

namespace {

const MapFile& largeSample()
{
    static const MapFile file =
        loadMapFile(QStringLiteral(DELVARD_SAMPLES_DIR "/large-255x255Map.kld"));
    return file;
}

// The whole map into an image: composing the distinct cells and copying
// them into place. Argument: cell size in pixels; second: grid.
void renderLargeMap(benchmark::State& state)
{
    const MapFile& file = largeSample();
    if (!file.ok()) {
        state.SkipWithError("the large sample map cannot be read");
        return;
    }
    const RenderOptions options{static_cast<int>(state.range(0)), state.range(1) != 0};
    for (auto _ : state) {
        QImage image = renderMap(file.decoded, options);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["megapixels"] =
        double((255 + 2) * options.cellSize) * ((255 + 2) * options.cellSize) / 1e6;
}
BENCHMARK(renderLargeMap)
    ->Args({8, 0})
    ->Args({24, 0})
    ->Args({24, 1})
    ->Args({72, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// What the render command does: draw band by band and stream each band
// into the PNG, never holding the whole picture.
void streamLargeMapPng(benchmark::State& state)
{
    const MapFile& file = largeSample();
    const RenderOptions options{static_cast<int>(state.range(0)), false};
    for (auto _ : state) {
        std::size_t written = 0;
        MapBands bands(file.decoded, options);
        PngWriter png(
            [&written](const char*, std::size_t size) {
                written += size;
                return true;
            },
            bands.pictureWidth(), bands.pictureHeight());
        for (int b = 0; b < bands.bandCount(); ++b)
            png.writeRows(bands.band(b));
        benchmark::DoNotOptimize(png.finish());
        state.counters["megabytes"] = static_cast<double>(written) / 1e6;
    }
}
BENCHMARK(streamLargeMapPng)
    ->Arg(8)
    ->Arg(24)
    ->Arg(72)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
