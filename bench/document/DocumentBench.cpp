// Open and save of the largest map (255 x 255) without any drawing: the
// file read and decode behind File > Open, and the encoding and write
// behind File > Save. Saving should stay under 10 ms.

#include "document/FileWriter.h"
#include "document/MapDocument.h"
#include "document/NativeFileName.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

using namespace delvard;

namespace {

const QString LargeMap = QStringLiteral(DELVARD_LARGE_SAMPLE_MAP);

void fail(const QString& what)
{
    std::fprintf(stderr, "document bench: %s\n", qPrintable(what));
    std::exit(1);
}

void BM_OpenDocument(benchmark::State& state)
{
    for (auto _ : state) {
        const delvard::MapDocument::Opened opened = delvard::MapDocument::open(LargeMap);
        if (!opened.document)
            state.SkipWithError(qPrintable(opened.problem));
        benchmark::DoNotOptimize(opened.document.get());
    }
    state.SetBytesProcessed(state.iterations() * QFile(LargeMap).size());
}

// The save benchmarks write over a copy of the sample of their own.
struct OpenMap
{
    QTemporaryDir folder;
    std::unique_ptr<delvard::MapDocument> document;
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
        delvard::MapDocument::Opened opened = delvard::MapDocument::open(copy);
        if (!opened.document)
            fail(opened.problem);
        document = std::move(opened.document);
    }
};

OpenMap* openMap = nullptr;

void BM_EncodeForSave(benchmark::State& state)
{
    for (auto _ : state) {
        QByteArray content = openMap->document->bytesToSave();
        benchmark::DoNotOptimize(content.data());
    }
}

void BM_WriteMapFile(benchmark::State& state)
{
    const QByteArray content = openMap->document->bytesToSave();
    for (auto _ : state) {
        const delvard::FileWrite written = delvard::replaceFile(
            delvard::nativePath(openMap->document->path()),
            std::string_view(content.constData(), static_cast<std::size_t>(content.size())));
        if (!written.ok)
            state.SkipWithError(written.problem.os.message().c_str());
    }
    state.SetBytesProcessed(state.iterations() * content.size());
}

// File > Save as a whole: encode, then write over the file.
void BM_Save(benchmark::State& state)
{
    for (auto _ : state) {
        const delvard::SaveResult written = openMap->document->save();
        if (!written.ok)
            state.SkipWithError(qPrintable(written.problem));
    }
}

BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeForSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteMapFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    OpenMap map;
    openMap = &map;
    // An unpainted map must save as the bytes it was read from, bytes 2 and
    // 3 of each record set to 1, or the timings below are of the wrong work.
    QByteArray expected = map.original;
    for (auto at = static_cast<qsizetype>(delvard::HeaderSize); at + 3 < expected.size();
         at += static_cast<qsizetype>(delvard::RecordSize))
        expected[at + 2] = expected[at + 3] = '\x01';
    if (map.document->bytesToSave() != expected)
        fail(QStringLiteral("the unpainted map does not save as read"));

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
