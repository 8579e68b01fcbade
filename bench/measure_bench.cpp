// Measurements on maps at 1800 pixels; each should take less than a 60 Hz frame (16 ms).
//
//  - BM_RegionClickLargestMunicipality: the 面積 click into 高山市, the largest
//    municipality, at the standard view of 岐阜県 at 1800 pixels (the walk, the marking
//    and the figures). Needs a build of the municipality data named by OBORO_N03_DIR:
//      build/tools/mkmapdata/mkmapdata --out /tmp/oboro-n03 ../shared/data/n03-2021/s0010-N03-21_210101.json
//      OBORO_N03_DIR=/tmp/oboro-n03 build/bench/oboro_bench --benchmark_filter=Region
//  - BM_LandAreaAllJapan: the 県 measurement of all Japan at 1800 pixels, the largest
//    walk there is (the sea around the country), on the same data.
//  - BM_TwentyCircleSetsOfTen: 20 circle sets of 10 concentric circles with labels and
//    centre marks on the view of all Japan at 1800 pixels (the bundled map data sets
//    the view up).
#include "common/paths.h"
#include "mapdata/loader.h"
#include "measure/circles.h"
#include "measure/regionarea.h"
#include "view/render.h"

#include <QDir>
#include <benchmark/benchmark.h>

using namespace oboro;

namespace {

struct Scene : DrawingScene {
    bool ok = false;
    QImage drawn;

    Scene(const QString& folder, const std::vector<int>& areas)
    {
        if (folder.isEmpty() || !QDir(folder + "/mapdata").exists())
            return;
        setProgramFolder(folder);
        if (!loadMapFiles(store, areas, LoadOptions{}, sink))
            return;
        store.selectedAreas = areas;
        view.sizeFactor = 3;
        SetUpView(view, store, static_cast<int>(areas.size()));
        sw.drawingEnabled = true;
        sw.CBTownName = false;
        sw.CBTownPaint = false;
        display.CBKuDot = false;
        ok = DrawMap(ctx, state, RenderHooks{}).drawn;
        drawn = canvas.image().copy();
    }
};

QString n03Folder() { return QString::fromLocal8Bit(qgetenv("OBORO_N03_DIR")); }

std::vector<int> allAreas()
{
    std::vector<int> all;
    for (int a = 1; a <= kAreaCount; ++a)
        all.push_back(a);
    return all;
}

void BM_RegionClickLargestMunicipality(benchmark::State& state)
{
    static Scene gifu(n03Folder(), {17});
    if (!gifu.ok) {
        state.SkipWithError("OBORO_N03_DIR does not name a build of the municipality data");
        return;
    }
    const auto it = std::find_if(gifu.store.commonNames.entries.begin(), gifu.store.commonNames.entries.end(),
                                 [](const NameEntry& e) { return e.name == "高山市"; });
    if (it == gifu.store.commonNames.entries.end()) {
        state.SkipWithError("no 高山市 in the data");
        return;
    }
    const QPoint at = MapToPixel(gifu.view, it->x, it->y);
    RegionAreaTool tool;
    for (auto _ : state) {
        state.PauseTiming();
        gifu.canvas.image() = gifu.drawn.copy();
        tool = RegionAreaTool();
        tool.toggle();
        state.ResumeTiming();
        benchmark::DoNotOptimize(tool.click(gifu.canvas, gifu.view, at));
    }
    state.counters["pixels"] = static_cast<double>(tool.walker().interior());
    state.counters["km2"] = tool.areaKm2();
}
BENCHMARK(BM_RegionClickLargestMunicipality)->Unit(benchmark::kMillisecond);

void BM_LandAreaAllJapan(benchmark::State& state)
{
    static Scene japan(n03Folder(), allAreas());
    if (!japan.ok) {
        state.SkipWithError("OBORO_N03_DIR does not name a build of the municipality data");
        return;
    }
    LandAreaResult r;
    for (auto _ : state) {
        state.PauseTiming();
        japan.canvas.image() = japan.drawn.copy();
        state.ResumeTiming();
        r = measureLand(japan.canvas, japan.view);
    }
    state.counters["km2"] = r.landKm2;
}
BENCHMARK(BM_LandAreaAllJapan)->Unit(benchmark::kMillisecond);

void BM_TwentyCircleSetsOfTen(benchmark::State& state)
{
    static Scene japan(QStringLiteral(OBORO_SOURCE_DIR "/data"), allAreas());
    if (!japan.ok) {
        state.SkipWithError("no bundled map data");
        return;
    }
    // Centres from Wakkanai to Ishigaki (degrees, drawn in the data's datum).
    const double centres[20][2] = {
        {141.67, 45.42}, {141.35, 43.06}, {144.38, 42.98}, {140.74, 40.82}, {141.15, 39.70},
        {140.87, 38.27}, {140.10, 39.72}, {139.02, 37.92}, {140.47, 36.37}, {139.69, 35.69},
        {138.18, 36.65}, {136.91, 35.18}, {135.50, 34.69}, {133.93, 34.66}, {132.46, 34.40},
        {134.56, 33.56}, {130.40, 33.59}, {130.56, 31.60}, {127.68, 26.21}, {124.16, 24.34},
    };
    std::vector<DistanceCircle> sets;
    for (const auto& c : centres) {
        DistanceCircle d;
        d.x = static_cast<int32_t>((c[0] - 122.0) * 10000.0);
        d.y = static_cast<int32_t>((c[1] - 24.0) * 15000.0);
        d.radius = 30;
        d.concentric = true;
        sets.push_back(d);
    }
    int circles = 0;
    for (auto _ : state) {
        circles = 0;
        for (const DistanceCircle& d : sets)
            circles += drawCircleSet(japan.canvas, japan.view, d, 10);
    }
    state.counters["circles"] = circles;
}
BENCHMARK(BM_TwentyCircleSetsOfTen)->Unit(benchmark::kMillisecond);

} // namespace
