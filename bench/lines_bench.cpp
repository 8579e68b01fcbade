// Map lines over all Japan at 1800 × 1800: 50 displayed line files of 1000 points each
// (random walks across the country in several looks: widths, dashed and dotted pens,
// arrows every 50 points). The line layer alone, the whole redraw with the lines shown,
// and reading the 50 files. Goal: the line layer within one 60 Hz frame (16 ms) on top
// of the map.
//   build/bench/oboro_bench --benchmark_filter=Lines
#include "app/mapsession.h"
#include "bench/japansession.h"
#include "common/paths.h"
#include "lines/linelayer.h"
#include "mapdata/namelists.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <random>

using namespace oboro;

namespace {

constexpr int kFiles = 50;
constexpr int kPoints = 1000;

struct LinesOverJapan {
    CollectingSink sink;
    MapSession session{sink};
    QTemporaryDir dir;
    std::vector<std::string> paths;
    bool ok = false;

    LinesOverJapan()
    {
        if (!openAllJapan(session, sink))
            return;
        std::mt19937 random(21);
        std::uniform_int_distribution<int> step(-2500, 2500);
        for (int f = 0; f < kFiles; ++f) {
            LineData d;
            d.style = LineStyle{static_cast<Color>(0x100000 * (f % 15) + 0x0000FF), f % 5, f % 5 == 0 ? 1 + f % 4 : 1,
                                f % 3, 12, f % 2 ? 50 : 0};
            QPoint p(std::uniform_int_distribution<int>(40000, 200000)(random),
                     std::uniform_int_distribution<int>(50000, 280000)(random));
            for (int i = 0; i < kPoints; ++i) {
                p += QPoint(step(random), step(random));
                d.points.push_back(p);
            }
            paths.push_back((dir.path() + QStringLiteral("/line%1.adl").arg(f)).toStdString());
            if (!writeLineFile(paths.back(), d, sink))
                return;
        }
        ok = session.loadDisplayedLines(paths, false) && session.canvas.width() == 1800;
    }
};

LinesOverJapan& japan()
{
    static LinesOverJapan j;
    return j;
}

bool ready(benchmark::State& state, const LinesOverJapan& j)
{
    if (!j.ok)
        state.SkipWithError("no real map data of all Japan (OBORO_N03_DIR or data/)");
    return j.ok;
}

// The line layer as the redraw runs it, on the drawn map.
void BM_LinesLayer(benchmark::State& state)
{
    LinesOverJapan& j = japan();
    if (!ready(state, j))
        return;
    RenderContext ctx{j.session.canvas,  j.session.store, j.session.view,  j.session.display,
                      j.session.switches, j.session.tools, j.session.messages()};
    for (auto _ : state)
        j.session.hooks.mapLines(ctx);
    state.counters["points"] = kFiles * kPoints;
}
BENCHMARK(BM_LinesLayer)->Unit(benchmark::kMillisecond);

// The whole redraw of all Japan with the 50 files shown, and without them.
void BM_LinesRedraw(benchmark::State& state)
{
    LinesOverJapan& j = japan();
    if (!ready(state, j))
        return;
    j.session.setDisplayedLinesShown(state.range(0) != 0);
    for (auto _ : state)
        j.session.redraw();
    j.session.setDisplayedLinesShown(true);
}
BENCHMARK(BM_LinesRedraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Reading the 50 files (地図線読込).
void BM_LinesRead(benchmark::State& state)
{
    LinesOverJapan& j = japan();
    if (!ready(state, j))
        return;
    for (auto _ : state) {
        DisplayedLines list;
        benchmark::DoNotOptimize(list.load(j.paths, false, {}, j.sink));
    }
}
BENCHMARK(BM_LinesRead)->Unit(benchmark::kMillisecond);

} // namespace
