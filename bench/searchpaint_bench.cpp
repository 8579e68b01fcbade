// The search paint at every drawing: 浜松市 (a designated city of 1,558 km², with its
// wards) searched and shown at 1800 × 1800, then a zoom step redraws the map with the
// search paint on (1) or off (0). The difference is what the paint costs a drawing.
// Goal: a zoom step with the paint within one 60 Hz frame (16 ms).
//   build/bench/oboro_bench --benchmark_filter=SearchPaint
#include "app/mapsession.h"
#include "bench/japansession.h"
#include "common/paths.h"
#include "mapdata/namelists.h"

#include <benchmark/benchmark.h>

using namespace oboro;

namespace {

struct SearchedCity {
    CollectingSink sink;
    MapSession session{sink};
    bool ok = false;

    SearchedCity()
    {
        if (!prepareRealDataSession(session, sink))
            return;
        session.view.sizeFactor = 3;
        session.switches.CBTownPaint = true;
        const SearchResult r = session.search.find("浜松市", session.store, {true, false});
        if (r.candidates.empty() || !session.showSearchResult(r, r.candidates.front(), "浜松市"))
            return;
        session.setMagnification(2); // the whole city in the picture
        long painted = 0;
        const QImage& img = session.canvas.image();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                painted += img.pixel(x, y) == toPixel(session.display.TownPaintColor);
        ok = session.canvas.width() == 1800 && painted > 10000;
    }
};

SearchedCity& city()
{
    static SearchedCity c;
    return c;
}

void BM_SearchPaintZoomStep(benchmark::State& state)
{
    SearchedCity& c = city();
    if (!c.ok) {
        state.SkipWithError("no real map data (OBORO_N03_DIR or data/)");
        return;
    }
    c.session.setSwitch(Switch::SearchPaint, state.range(0) != 0);
    bool in = true;
    for (auto _ : state) {
        c.session.setMagnification(in ? 3 : 2);
        in = !in;
    }
    c.session.setMagnification(2);
    c.session.setSwitch(Switch::SearchPaint, true);
}
BENCHMARK(BM_SearchPaintZoomStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
