// The label layer over all Japan at 1800 × 1800 with 20000 labels (names of the data
// in turn, spread over the land): the layer drawn on top of the finished map, once its
// texts are rendered (every redraw after the first) and from a cold start.
// Goal: a redraw of the labels within one 60 Hz frame (16 ms) on top of the map.
//   build/bench/oboro_bench --benchmark_filter=Labels
#include "app/mapsession.h"
#include "bench/japansession.h"
#include "common/paths.h"
#include "labels/labellayer.h"

#include <benchmark/benchmark.h>

using namespace oboro;

namespace {

struct LabelledJapan {
    CollectingSink sink;
    MapSession session{sink};
    QImage map;
    bool ok = false;

    LabelledJapan()
    {
        if (!openAllJapan(session, sink))
            return;
        // 20000 labels at the name positions, each name's text with a number, so every
        // label is a text of its own.
        const std::vector<NameEntry>& names = session.store.commonNames.entries;
        if (names.empty())
            return;
        std::vector<LabelRow> rows;
        for (int i = 0; i < kLabelCapacity; ++i) {
            const NameEntry& e = names[static_cast<size_t>(i) % names.size()];
            LabelRow r;
            r.x = e.x + (i / static_cast<int>(names.size())) * 40;
            r.y = e.y - (i / static_cast<int>(names.size())) * 40;
            r.text = e.name + std::to_string(i % 100);
            r.color = 0x010203u * static_cast<Color>(i % 80);
            rows.push_back(std::move(r));
        }
        session.labels.replace(std::move(rows));
        session.batch([&] { session.switches.CBLabel = false; });
        map = session.canvas.image().copy();
        ok = session.view.imageSide == 1800;
    }
};

LabelledJapan& japan()
{
    static LabelledJapan j;
    return j;
}

void BM_LabelsRedraw(benchmark::State& state)
{
    LabelledJapan& j = japan();
    if (!j.ok) {
        state.SkipWithError("no map data");
        return;
    }
    Canvas canvas;
    canvas.image() = j.map.copy();
    LabelPainter painter;
    painter.draw(canvas, j.session.view, j.session.display, j.session.labels, j.session.labelControls.look);
    for (auto _ : state) {
        painter.draw(canvas, j.session.view, j.session.display, j.session.labels, j.session.labelControls.look);
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
    state.counters["labels"] = j.session.labels.count();
}
BENCHMARK(BM_LabelsRedraw)->Unit(benchmark::kMillisecond);

void BM_LabelsFirstDraw(benchmark::State& state)
{
    LabelledJapan& j = japan();
    if (!j.ok) {
        state.SkipWithError("no map data");
        return;
    }
    Canvas canvas;
    canvas.image() = j.map.copy();
    for (auto _ : state) {
        LabelPainter painter;
        painter.draw(canvas, j.session.view, j.session.display, j.session.labels, j.session.labelControls.look);
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
}
BENCHMARK(BM_LabelsFirstDraw)->Unit(benchmark::kMillisecond)->Iterations(2);

// The whole redraw of the session with the labels on: the map and the labels.
void BM_LabelsSessionRedraw(benchmark::State& state)
{
    LabelledJapan& j = japan();
    if (!j.ok) {
        state.SkipWithError("no map data");
        return;
    }
    j.session.batch([&] { j.session.switches.CBLabel = true; });
    for (auto _ : state)
        j.session.redraw();
    j.session.batch([&] { j.session.switches.CBLabel = false; });
}
BENCHMARK(BM_LabelsSessionRedraw)->Unit(benchmark::kMillisecond);

} // namespace
