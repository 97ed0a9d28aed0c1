// Frame times of the map window on the largest map, in a scroll area of a
// typical screen's size, on the offscreen platform. Every operation is timed
// to its painted frame; the floor is one ready-made pixmap of the viewport's
// size drawn through the same paint path.

#include "document/MapDocument.h"
#include "document/MapFormat.h"
#include "mapview/MapView.h"
#include "resources/PictureList.h"

#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

using namespace delvard;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Side = 255;
constexpr QSize ViewportSize(1600, 1000);
constexpr int Levels[] = {24, 32, 40, 48, 56, 64, 72};

// Random terrain and owner on every cell: the most picture combinations a
// map can put into one view, so the most tiles to compose after a zoom.
std::string makeMapFile()
{
    std::string bytes(delvard::HeaderSize, '\0');
    bytes[delvard::WidthOffset] = static_cast<char>(Side);
    bytes[delvard::HeightOffset] = static_cast<char>(Side);
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> terrain(1, delvard::TerrainCount);
    std::uniform_int_distribution<int> owner(1, delvard::OwnerCount);
    for (int k = 0; k < Side * Side; ++k) {
        bytes += static_cast<char>(
            *delvard::codeOfTerrain(static_cast<delvard::Terrain>(terrain(random))));
        bytes += static_cast<char>(owner(random));
        bytes += "\x01\x01";
    }
    return bytes;
}

std::unique_ptr<delvard::MapDocument> openDocument(const std::string& file)
{
    return std::make_unique<delvard::MapDocument>(QStringLiteral("benchMap.kld"),
                                                  delvard::decodeMap(file).map);
}

// One ready-made pixmap of the viewport's size: the least any frame costs.
class FloorWidget : public QWidget
{
  public:
    FloorWidget() : frame_(ViewportSize)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        QImage image(ViewportSize, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(x & 255, y & 255, (x ^ y) & 255));
        frame_ = QPixmap::fromImage(image);
    }

  protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawPixmap(0, 0, frame_);
    }

  private:
    QPixmap frame_;
};

// Counts paint events, so a frame that Qt silently skipped is noticed.
class PaintCounter : public QObject
{
  public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

struct Bench
{
    std::string file = makeMapFile();
    PictureList pictures;
    std::unique_ptr<delvard::MapDocument> document = openDocument(file);
    QWidget holder; // the window the map view fills, as the main window's middle
    MapView* map = nullptr;
    FloorWidget floor;
    PaintCounter paints;
    std::map<std::pair<std::string, int>, std::vector<double>> samples; // ms

    Bench()
    {
        auto* layout = new QVBoxLayout(&holder);
        layout->setContentsMargins(0, 0, 0, 0);
        holder.resize(ViewportSize);
        showMap();
        holder.show();
        floor.resize(ViewportSize);
        floor.show();
        QApplication::processEvents();
        // The frames must have the size they claim; a platform that clamped
        // the windows to its screen would make every figure too good.
        if (viewport()->size() != ViewportSize || floor.size() != ViewportSize ||
            map->viewport()->visibleRegion().boundingRect().size() != ViewportSize) {
            std::fprintf(stderr, "viewport is %dx%d, not %dx%d\n", viewport()->width(),
                         viewport()->height(), ViewportSize.width(), ViewportSize.height());
            std::exit(1);
        }
    }

    // A new view of the document in the window, without scroll bars so
    // that the viewport is the whole frame.
    void showMap()
    {
        delete map;
        map = new MapView(*document, pictures);
        map->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        map->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        map->viewport()->installEventFilter(&paints);
        holder.layout()->addWidget(map);
        map->show();
    }

    QWidget* viewport() { return map->viewport(); }

    // Every visible pixel of the map, painted now.
    void paintView() { viewport()->repaint(); }

    void settle() { QApplication::processEvents(); }

    void zoomTo(int cellSize)
    {
        while (map->cellSize() > cellSize)
            map->zoomOut();
        while (map->cellSize() < cellSize)
            map->zoomIn();
        settle();
    }

    void scrollTo(int i)
    {
        auto* h = map->horizontalScrollBar();
        auto* v = map->verticalScrollBar();
        h->setValue(static_cast<int>((static_cast<long long>(i) * 7919) % (h->maximum() + 1)));
        v->setValue(static_cast<int>((static_cast<long long>(i) * 4793) % (v->maximum() + 1)));
    }

    // A painted frame must have reached the map widget.
    void expectPainted(int before, const char* what)
    {
        if (paints.count == before) {
            std::fprintf(stderr, "no frame was painted for %s\n", what);
            std::exit(1);
        }
    }

    template <typename F>
    void time(benchmark::State& state, const std::string& name, int level, F&& body)
    {
        const auto start = Clock::now();
        body();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        samples[{name, level}].push_back(seconds * 1000.0);
    }
};

Bench* bench = nullptr;

void ZoomStep(benchmark::State& state, int level)
{
    // Arrive at the level from its neighbour, as a click on a zoom button does.
    const bool fromAbove = level < MapView::LargestCellSize;
    for (auto _ : state) {
        bench->zoomTo(fromAbove ? level + MapView::ZoomStep : level - MapView::ZoomStep);
        const int painted = bench->paints.count;
        bench->time(state, "zoom step", level, [&] {
            if (fromAbove)
                bench->map->zoomOut();
            else
                bench->map->zoomIn();
            QApplication::processEvents();
        });
        bench->expectPainted(painted, "a zoom step");
    }
}

void GridToggle(benchmark::State& state, int level)
{
    bench->zoomTo(level);
    bench->scrollTo(level);
    bench->settle();
    for (auto _ : state) {
        const int painted = bench->paints.count;
        bench->time(state, "grid toggle", level, [&] {
            bench->map->setGridShown(!bench->map->gridShown());
            QApplication::processEvents();
        });
        bench->expectPainted(painted, "a grid toggle");
    }
    bench->map->setGridShown(true);
}

void HeartClick(benchmark::State& state, int level)
{
    bench->zoomTo(level);
    bench->scrollTo(level + 3);
    bench->settle();
    const QPoint middle = bench->map->scrollOffset() + bench->viewport()->rect().center();
    const delvard::CellPosition cell = bench->map->cellAt(middle);
    int i = 0;
    for (auto _ : state) {
        const auto owner = static_cast<delvard::Owner>(3 + (i++ % 2));
        const int painted = bench->paints.count;
        bench->time(state, "click (Heart 5x5)", level, [&] {
            bench->document->paint(cell, delvard::Terrain::Heart, owner);
            QApplication::processEvents();
        });
        bench->expectPainted(painted, "a click");
    }
}

void ViewportPaint(benchmark::State& state, int level)
{
    bench->zoomTo(level);
    int i = 0;
    for (auto _ : state) {
        bench->scrollTo(++i);
        bench->settle();
        const int painted = bench->paints.count;
        bench->time(state, "viewport paint", level, [&] { bench->paintView(); });
        bench->expectPainted(painted, "a viewport paint");
    }
}

void Floor(benchmark::State& state)
{
    for (auto _ : state)
        bench->time(state, "floor: one viewport pixmap", 0, [&] { bench->floor.repaint(); });
}

void DecodeOnly(benchmark::State& state)
{
    for (auto _ : state) {
        bench->time(state, "decode 255x255 (decodeMap)", 0, [&] {
            auto decoded = delvard::decodeMap(bench->file);
            benchmark::DoNotOptimize(decoded.map.cells.data());
        });
    }
}

void LoadIntoWindow(benchmark::State& state)
{
    for (auto _ : state) {
        bench->time(state, "decode+view 255x255 (MapView)", 0, [&] {
            const auto document = openDocument(bench->file);
            MapView view(*document, bench->pictures);
            benchmark::DoNotOptimize(view.cellSize());
        });
    }
}

void OpenToFirstFrame(benchmark::State& state)
{
    for (auto _ : state) {
        delete bench->map;
        bench->map = nullptr;
        bench->settle();
        bench->time(state, "open to first frame", 0, [&] {
            bench->document = openDocument(bench->file);
            const int painted = bench->paints.count;
            bench->showMap();
            // A newly shown child is laid out and painted on the window's
            // next update tick; do both now instead of waiting for it.
            bench->holder.layout()->activate();
            bench->viewport()->repaint();
            bench->expectPainted(painted, "the first frame");
        });
    }
}

struct Stats
{
    double median, p95;
};

Stats statsOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const auto at = [&](double q) {
        const auto last = static_cast<double>(v.size() - 1);
        return v[std::min(v.size() - 1, static_cast<std::size_t>(q * last + 0.5))];
    };
    return {at(0.5), at(0.95)};
}

void printTable()
{
    const auto& samples = bench->samples;
    const auto median = [&](const char* name) {
        const auto found = samples.find({name, 0});
        return found == samples.end() ? 0.0 : statsOf(found->second).median;
    };
    const double floor = median("floor: one viewport pixmap");
    std::printf("\n%-30s %9s %10s %10s %9s\n", "operation", "zoom (px)", "median ms", "p95 ms",
                "x floor");
    const char* order[] = {"floor: one viewport pixmap",
                           "viewport paint",
                           "zoom step",
                           "grid toggle",
                           "click (Heart 5x5)",
                           "decode 255x255 (decodeMap)",
                           "decode+view 255x255 (MapView)",
                           "open to first frame"};
    for (const char* name : order) {
        for (const auto& [key, values] : samples) {
            if (key.first != name)
                continue;
            const Stats s = statsOf(values);
            const std::string zoom = key.second ? std::to_string(key.second) : "-";
            std::printf("%-30s %9s %10.3f %10.3f %9.2f\n", name, zoom.c_str(), s.median, s.p95,
                        floor > 0 ? s.median / floor : 0.0);
        }
    }
    const double decode = median("decode 255x255 (decodeMap)");
    const double load = median("decode+view 255x255 (MapView)");
    if (decode > 0)
        std::printf("\nload / decode = %.2f\n", load / decode);
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    Bench state;
    bench = &state;

    benchmark::RegisterBenchmark("floor", Floor)->UseManualTime()->Iterations(200);
    for (const int level : Levels) {
        const std::string px = std::to_string(level);
        benchmark::RegisterBenchmark(("viewport_paint/" + px).c_str(), ViewportPaint, level)
            ->UseManualTime()
            ->Iterations(100);
        benchmark::RegisterBenchmark(("zoom_step/" + px).c_str(), ZoomStep, level)
            ->UseManualTime()
            ->Iterations(30);
        benchmark::RegisterBenchmark(("grid_toggle/" + px).c_str(), GridToggle, level)
            ->UseManualTime()
            ->Iterations(40);
        benchmark::RegisterBenchmark(("heart_click/" + px).c_str(), HeartClick, level)
            ->UseManualTime()
            ->Iterations(100);
    }
    benchmark::RegisterBenchmark("decode_only", DecodeOnly)->UseManualTime()->Iterations(50);
    benchmark::RegisterBenchmark("load_into_window", LoadIntoWindow)
        ->UseManualTime()
        ->Iterations(30);
    benchmark::RegisterBenchmark("open_to_first_frame", OpenToFirstFrame)
        ->UseManualTime()
        ->Iterations(20);

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printTable();
    return 0;
}
