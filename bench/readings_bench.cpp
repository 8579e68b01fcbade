// All Japan at 1800 × 1800 with the readings written on the map (読み and 読みがな地図 on):
// a redraw builds the name list of the view, looks up every reading and writes it above
// its name. Goal: the redraw within one 60 Hz frame (16 ms).
//   build/bench/oboro_bench --benchmark_filter=Readings
#include "app/mapsession.h"
#include "bench/japansession.h"
#include "common/paths.h"
#include "mapdata/namelists.h"

#include <benchmark/benchmark.h>

using namespace oboro;

namespace {

struct JapanWithReadings {
    CollectingSink sink;
    MapSession session{sink};
    bool ok = false;

    JapanWithReadings()
    {
        if (!openAllJapan(session, sink))
            return;
        session.loadReadings(programPath(kReadingsFileName));
        session.setSwitch(Switch::TownNames, true);
        session.setSwitch(Switch::DuplicateNames, false);
        session.setSwitch(Switch::Readings, true);
        ok = session.toggleReadingsMap() && session.readingsMapShown() && session.canvas.width() == 1800
             && !session.nameList.empty();
    }
};

void BM_ReadingsRedrawAllJapan(benchmark::State& state)
{
    static JapanWithReadings j;
    if (!j.ok) {
        state.SkipWithError("no map data of all Japan, or the readings map could not be shown");
        return;
    }
    for (auto _ : state)
        j.session.redraw();
    state.counters["names"] = static_cast<double>(j.session.nameList.size());
}
BENCHMARK(BM_ReadingsRedrawAllJapan)->Unit(benchmark::kMillisecond);

void BM_ReadingsRedrawAllJapanWithout(benchmark::State& state)
{
    static JapanWithReadings j;
    if (!j.ok) {
        state.SkipWithError("no map data of all Japan");
        return;
    }
    j.session.setSwitch(Switch::Readings, false);
    for (auto _ : state)
        j.session.redraw();
}
BENCHMARK(BM_ReadingsRedrawAllJapanWithout)->Unit(benchmark::kMillisecond);

} // namespace

namespace {

// The pieces of the readings layer on the same map: the name list of the view, and the
// whole layer (list, places, texts).
void BM_ReadingsNameList(benchmark::State& state)
{
    static JapanWithReadings j;
    if (!j.ok) {
        state.SkipWithError("no map data of all Japan");
        return;
    }
    MapSession& s = j.session;
    for (auto _ : state)
        benchmark::DoNotOptimize(buildNameList(s.store, s.view, s.switches, s.nameListOptions, s.readings));
}
BENCHMARK(BM_ReadingsNameList)->Unit(benchmark::kMillisecond);

void BM_ReadingsLayer(benchmark::State& state)
{
    static JapanWithReadings j;
    if (!j.ok) {
        state.SkipWithError("no map data of all Japan");
        return;
    }
    MapSession& s = j.session;
    RenderContext ctx{s.canvas, s.store, s.view, s.display, s.switches, s.tools, s.messages()};
    for (auto _ : state)
        s.hooks.readings(ctx);
}
BENCHMARK(BM_ReadingsLayer)->Unit(benchmark::kMillisecond);

} // namespace
