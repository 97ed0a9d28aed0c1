// Open and save of the largest map (255 x 255) without the window's
// drawing: the file read and check behind File > Open, and the encoding and
// in-place write behind File > Save. Saving should stay under 10 ms.

#include "MapCommands.h"
#include "Module1.h"
#include "ToolbarState.h"
#include "frmMap.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

const QString LargeMap = QStringLiteral(DELVARD_LARGE_SAMPLE_MAP);

void fail(const QString& what)
{
    std::fprintf(stderr, "document bench: %s\n", qPrintable(what));
    std::exit(1);
}

void BM_ReadMapIntoState(benchmark::State& state)
{
    for (auto _ : state) {
        const mapcommands::OpenResult opened = mapcommands::readMapIntoState(LargeMap);
        if (!opened.loaded)
            state.SkipWithError(qPrintable(opened.problem));
        benchmark::DoNotOptimize(Module1::MapBody);
    }
    state.SetBytesProcessed(state.iterations() * QFile(LargeMap).size());
}

// The save benchmarks need CellCodes as the map window's load leaves them,
// and a file of their own to write over.
struct OpenMap
{
    QTemporaryDir folder;
    ToolbarState toolbar;
    frmMap* window = nullptr;
    QByteArray original;

    OpenMap()
    {
        if (!folder.isValid())
            fail(QStringLiteral("no scratch folder"));
        const QString copy = folder.filePath(QStringLiteral("large-255x255Map.kld"));
        if (!QFile::copy(LargeMap, copy))
            fail(QStringLiteral("cannot copy %1").arg(LargeMap));
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        QFile in(LargeMap);
        if (!in.open(QIODevice::ReadOnly))
            fail(in.errorString());
        original = in.readAll();

        const mapcommands::OpenResult opened = mapcommands::readMapIntoState(copy);
        if (!opened.loaded)
            fail(opened.problem);
        Module1::MapFilePath = copy;
        window = new frmMap(toolbar, [] {});
        window->Form_Load();
    }
    ~OpenMap() { delete window; }
};

void BM_EncodeStateForSave(benchmark::State& state)
{
    for (auto _ : state) {
        QByteArray content = mapcommands::encodeStateForSave();
        benchmark::DoNotOptimize(content.data());
    }
}

void BM_WriteToMapFile(benchmark::State& state)
{
    const QByteArray content = mapcommands::encodeStateForSave();
    for (auto _ : state) {
        const mapcommands::SaveResult saved = mapcommands::writeToMapFile(content);
        if (!saved.saved)
            state.SkipWithError(qPrintable(saved.problem));
    }
    state.SetBytesProcessed(state.iterations() * content.size());
}

// File > Save as a whole: encode, then write over the file.
void BM_Save(benchmark::State& state)
{
    for (auto _ : state) {
        const mapcommands::SaveResult saved =
            mapcommands::writeToMapFile(mapcommands::encodeStateForSave());
        if (!saved.saved)
            state.SkipWithError(qPrintable(saved.problem));
    }
}

BENCHMARK(BM_ReadMapIntoState)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeStateForSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteToMapFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    OpenMap map;
    // An unpainted map must save as the bytes it was read from, bytes 2 and
    // 3 of each record set to 1, or the timings below are of the wrong work.
    QByteArray expected = map.original;
    for (auto at = static_cast<qsizetype>(delvard::HeaderSize); at + 3 < expected.size();
         at += static_cast<qsizetype>(delvard::RecordSize))
        expected[at + 2] = expected[at + 3] = '\x01';
    if (mapcommands::encodeStateForSave() != expected)
        fail(QStringLiteral("the unpainted map does not save as read"));

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
