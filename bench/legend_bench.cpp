// The legend layer alone: a legend of eight rows (title, hatched and solid samples,
// descriptions) drawn on pictures of 600, 1800 and 3600 pixels, as every drawing of the
// map with 地図凡例 on draws it. No goal; it shows what the legend adds to a redraw.
//   build/bench/oboro_bench --benchmark_filter=Legend
#include "paint/legendlayer.h"

#include <benchmark/benchmark.h>

using namespace oboro;

namespace {

void BM_LegendDraw(benchmark::State& state)
{
    Canvas::installFontSubstitutions();
    const int side = static_cast<int>(state.range(0));
    LegendSettings s;
    s.rowCount = kLegendRows;
    s.title = "人口増加率（2015〜2020 年）";
    for (int r = 0; r < kLegendRows; ++r) {
        s.rows[r].pattern = static_cast<uint8_t>(r % 2 == 0 ? 0 : r % 6 + 2);
        s.rows[r].text = "増加率 " + std::to_string(r * 5) + "〜" + std::to_string(r * 5 + 5) + " ％";
    }
    Canvas c(side, side, 0xC0C0C0);
    c.setDetailScale(DetailScale::of(side, 1800));
    for (auto _ : state) {
        const QRect box = drawLegend(c, s, side);
        benchmark::DoNotOptimize(box);
    }
}
BENCHMARK(BM_LegendDraw)->Arg(600)->Arg(1800)->Arg(3600)->Unit(benchmark::kMicrosecond);

} // namespace
