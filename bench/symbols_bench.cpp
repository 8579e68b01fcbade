// Stamps on the map of all Japan at 1800 × 1800: 1000 stamps (every kind of symbol, the
// three sizes, transparent and opaque) at municipality name positions. The stamp layer
// alone, and the whole redraw with and without the stamps.
// Goal: the stamps add less than one 60 Hz frame (16 ms) to a redraw.
//   build/bench/oboro_bench --benchmark_filter=Stamps
#include "app/mapsession.h"
#include "bench/japansession.h"
#include "common/paths.h"
#include "mapdata/namelists.h"
#include "symbols/stamplayer.h"

#include <benchmark/benchmark.h>

using namespace oboro;

namespace {

struct StampedJapan {
    CollectingSink sink;
    MapSession session{sink};
    bool ok = false;

    StampedJapan()
    {
        if (!openAllJapan(session, sink))
            return;
        const auto& names = session.store.commonNames.entries;
        static const int kinds[] = {100, 104, 111, 113, 114, 118, 120, 200, 208, 213, 501, 507};
        for (int i = 0; i < kStampCapacity && !names.empty(); ++i) {
            const NameEntry& e = names[static_cast<size_t>(i) % names.size()];
            session.stamps.push_back(StampRecord{kinds[i % 12], e.x + (i / static_cast<int>(names.size())) * 40, e.y,
                                                 0x0000FFu + static_cast<Color>(i), 14 + 2 * (i % 3), i % 2 == 0});
        }
        session.redraw();
        ok = session.stamps.size() == static_cast<size_t>(kStampCapacity) && session.canvas.width() == 1800 &&
             sink.messages.empty();
    }
};

StampedJapan& japan()
{
    static StampedJapan j;
    return j;
}

bool ready(benchmark::State& state, const StampedJapan& j)
{
    if (!j.ok)
        state.SkipWithError("no real map data of all Japan with its mark folder (OBORO_N03_DIR or data/)");
    return j.ok;
}

// The stamp layer alone: 1000 stamps over the finished picture.
void BM_StampsLayer(benchmark::State& state)
{
    StampedJapan& j = japan();
    if (!ready(state, j))
        return;
    for (auto _ : state)
        drawStamps(j.session.canvas, j.session.view, j.session.stamps, j.session.symbolImages, j.sink);
    state.counters["stamps"] = static_cast<double>(j.session.stamps.size());
}
BENCHMARK(BM_StampsLayer)->Unit(benchmark::kMillisecond);

// The whole redraw with the 1000 stamps, and without them.
void BM_StampsRedraw(benchmark::State& state)
{
    StampedJapan& j = japan();
    if (!ready(state, j))
        return;
    j.session.tools.symbolsShown = state.range(0) != 0;
    for (auto _ : state)
        j.session.redraw();
    j.session.tools.symbolsShown = true;
}
BENCHMARK(BM_StampsRedraw)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace
