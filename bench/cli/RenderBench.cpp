#include "MapFile.h"
#include "MapRenderer.h"

#include <QBuffer>
#include <QImageWriter>

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

// Writing the picture, which the render command does after drawing.
void encodeLargeMapPng(benchmark::State& state)
{
    const MapFile& file = largeSample();
    const QImage image = renderMap(file.decoded, {static_cast<int>(state.range(0)), false});
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        benchmark::DoNotOptimize(writer.write(image));
    }
}
BENCHMARK(encodeLargeMapPng)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
