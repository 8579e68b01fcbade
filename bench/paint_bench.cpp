// Replay of 1300 paint records on all Japan at 1800 × 1800: the redraw of a painted map.
// Uses the bundled data of all Japan, or the program folder named by OBORO_N03_DIR:
//   build/bench/oboro_bench --benchmark_filter=Paint
#include "bench/realdata.h"
#include "common/paths.h"
#include "mapdata/loader.h"
#include "paint/paint.h"
#include "view/render.h"

#include <QDir>
#include <benchmark/benchmark.h>

using namespace oboro;

namespace {

struct PaintedJapan : DrawingScene {
    PaintRecords records;
    bool ok = false;

    PaintedJapan()
    {
        const QString dir = realDataFolder();
        if (dir.isEmpty())
            return;
        setProgramFolder(dir);
        std::vector<int> all;
        for (int a = 1; a <= 52; ++a)
            all.push_back(a);
        if (!loadMapFiles(store, all, LoadOptions{}, sink))
            return;
        view.sizeFactor = 3;
        SetUpView(view, store, 52);
        view.magCount = 4; // a closer look, where most regions are many pixels large
        sw.drawingEnabled = true;
        sw.CBTownName = false;
        display.CBKuDot = false;
        for (const NameEntry& e : store.commonNames.entries) {
            if (records.full())
                break;
            records.add(PaintRecord{e.x, e.y, 0x010203u * static_cast<Color>(records.count() % 80 + 1), 0});
        }
        ok = true;
    }
    PaintView paintView()
    {
        PaintView pv;
        pv.mapToPixel = [this](int32_t x, int32_t y, int& px, int& py) {
            const QPoint p = MapToPixel(view, x, y);
            px = p.x();
            py = p.y();
        };
        pv.fillTarget = [this](int px, int py) { return FillTarget(canvas, display, px, py); };
        return pv;
    }
};

PaintedJapan& japan()
{
    static PaintedJapan j;
    return j;
}

void BM_PaintReplay1300(benchmark::State& state)
{
    PaintedJapan& j = japan();
    if (!j.ok) {
        state.SkipWithError("no real map data (OBORO_N03_DIR or data/)");
        return;
    }
    DrawMap(j.ctx, j.state, RenderHooks{});
    const QImage drawn = j.canvas.image().copy();
    const PaintView pv = j.paintView();
    for (auto _ : state) {
        state.PauseTiming();
        j.canvas.image() = drawn.copy();
        state.ResumeTiming();
        replayPaint(j.canvas, pv, j.records);
    }
    state.counters["records"] = j.records.count();
}
BENCHMARK(BM_PaintReplay1300)->Unit(benchmark::kMillisecond);

// The whole redraw of a painted map: borders, then the replay.
void BM_PaintedRedraw(benchmark::State& state)
{
    PaintedJapan& j = japan();
    if (!j.ok) {
        state.SkipWithError("no real map data (OBORO_N03_DIR or data/)");
        return;
    }
    RenderHooks hooks;
    const PaintView pv = j.paintView();
    hooks.paintReplay = [&](RenderContext& c) { replayPaint(c.canvas, pv, j.records); };
    j.tools.paintReplay = true;
    for (auto _ : state)
        DrawMap(j.ctx, j.state, hooks);
}
BENCHMARK(BM_PaintedRedraw)->Unit(benchmark::kMillisecond);

} // namespace
