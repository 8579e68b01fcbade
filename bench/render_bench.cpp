// Full redraws of all Japan: DrawMap of all 52 areas at 600 and 1800 pixels, against
// QPainter::drawPolyline of the same projected points with the same pens.
//
// Data: the map files of the real data (the program folder named by OBORO_N03_DIR, else
// the bundled data/, read with the map file loader), otherwise a synthetic store of about
// 300,000 points: a grid of municipalities with jagged shared borders and many islands.
// BM_DrawMapN03Simplified draws the real municipalities of all Japan simplified to 1 %
// (about 131,000 points) when the shared reference data is present.
#include "bench/realdata.h"
#include "common/canvas.h"
#include "common/messages.h"
#include "common/paths.h"
#include "mapdata/store.h"
#include "view/borders.h"
#include "view/render.h"
#include "tests/view/topojson_store.h"

#if __has_include("mapdata/loader.h")
#include "mapdata/loader.h"
#define OBORO_HAVE_LOADER 1
#endif

#include <QPainter>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>

using namespace oboro;

namespace {

// A jagged line from a to b with n points (both ends exact), as a border is digitised.
void jagged(std::mt19937& rng, std::vector<int32_t>& out, int ax, int ay, int bx, int by, int n, int amp)
{
    std::uniform_int_distribution<int> j(-amp, amp);
    out.clear();
    for (int i = 0; i < n; ++i) {
        const int x = ax + static_cast<int>(static_cast<long long>(bx - ax) * i / (n - 1));
        const int y = ay + static_cast<int>(static_cast<long long>(by - ay) * i / (n - 1));
        const bool end = i == 0 || i == n - 1;
        out.push_back(end ? x : x + j(rng));
        out.push_back(end ? y : y + j(rng));
    }
}

void syntheticStore(MapStore& s)
{
    std::mt19937 rng(2024);
    std::vector<int32_t> xy;
    s.clearMapData();
    // Municipalities: a 40 × 45 grid of cells over the main islands; every shared edge once.
    const int x0 = 60000, y0 = 40000, cw = 4200, ch = 6400, nx = 40, ny = 45;
    for (int r = 0; r <= ny; ++r)
        for (int c = 0; c < nx; ++c) {
            jagged(rng, xy, x0 + c * cw, y0 + r * ch, x0 + (c + 1) * cw, y0 + r * ch, 36, 300);
            const LineKind k = (r % 6 == 0) ? LineKind::Pref : LineKind::Town;
            s.line(k).append(xy.data(), static_cast<int>(xy.size() / 2));
        }
    for (int c = 0; c <= nx; ++c)
        for (int r = 0; r < ny; ++r) {
            jagged(rng, xy, x0 + c * cw, y0 + r * ch, x0 + c * cw, y0 + (r + 1) * ch, 36, 300);
            const LineKind k = (c % 6 == 0) ? LineKind::Pref : LineKind::Town;
            s.line(k).append(xy.data(), static_cast<int>(xy.size() / 2));
        }
    // Wards of a few cities.
    for (int c = 0; c < 120; ++c) {
        jagged(rng, xy, 150000 + c * 300, 200000, 150000 + c * 300, 203000, 20, 80);
        s.line(LineKind::Ku).append(xy.data(), static_cast<int>(xy.size() / 2));
    }
    // Coastline: 400 islands, rings of 350 points.
    std::uniform_int_distribution<int> cx(0, 300000), cy(0, 330000), rad(300, 6000);
    std::uniform_real_distribution<float> wob(0.7f, 1.3f);
    for (int k = 0; k < 400; ++k) {
        const int ox = cx(rng), oy = cy(rng), r = rad(rng);
        xy.clear();
        const int n = 350;
        for (int i = 0; i < n; ++i) {
            const float a = 6.2831853f * static_cast<float>(i) / (n - 1);
            const float rr = i == n - 1 ? 1.0f : wob(rng);
            xy.push_back(ox + static_cast<int>(std::cos(a) * r * (i == n - 1 ? 1.0f : rr)));
            xy.push_back(oy + static_cast<int>(std::sin(a) * r * 1.5f * rr));
        }
        xy[2 * (n - 1)] = xy[0];
        xy[2 * (n - 1) + 1] = xy[1];
        s.line(LineKind::Coast).append(xy.data(), n);
    }
    s.extent = Extent{0, 0, 310000, 340000};
    s.selectedAreas.clear();
    for (int a = 1; a <= kAreaCount; ++a)
        s.selectedAreas.push_back(a);
}

long pointCount(const MapStore& s)
{
    long n = 0;
    for (const LineTable& t : s.lines)
        t.forEachRecord([&](int k, const int32_t*) { n += k; });
    return n;
}

// The store of all 52 areas, loaded once.
const MapStore& japan()
{
    static std::unique_ptr<MapStore> store;
    if (store)
        return *store;
    store = std::make_unique<MapStore>();
    bool loaded = false;
#ifdef OBORO_HAVE_LOADER
    if (const QString dir = realDataFolder(); !dir.isEmpty()) {
        setProgramFolder(dir);
        std::vector<int> areas;
        for (int a = 1; a <= kAreaCount; ++a)
            areas.push_back(a);
        CollectingSink sink;
        loaded = loadMapFiles(*store, areas, LoadOptions{}, sink);
        if (loaded)
            store->selectedAreas = areas;
        else
            std::fprintf(stderr, "%s: the map files could not be loaded; synthetic data used\n", qPrintable(dir));
    }
#endif
    if (!loaded)
        syntheticStore(*store);
    std::fprintf(stderr, "render bench: %s data, %ld points\n", loaded ? "real" : "synthetic", pointCount(*store));
    return *store;
}

struct Scene : DrawingScene {

    explicit Scene(int sizeFactor)
    {
        store = japan();
        SetUpView(view, store, static_cast<int>(store.selectedAreas.size()));
        view.sizeFactor = sizeFactor;
        sw.drawingEnabled = true;
        sw.CBTownPaint = false;
        sw.pleaseWait = false;
    }
};

void BM_DrawMap(benchmark::State& state)
{
    Scene s(static_cast<int>(state.range(0)));
    const RenderHooks hooks;
    for (auto _ : state) {
        const DrawResult r = DrawMap(s.ctx, s.state, hooks);
        benchmark::DoNotOptimize(r.drawn);
    }
    state.counters["points"] = static_cast<double>(pointCount(s.store));
}
BENCHMARK(BM_DrawMap)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

// The same tables and pens through QPainter (aliased, the points projected beforehand,
// so only the drawing is timed).
void BM_QPainterPolyline(benchmark::State& state)
{
    Scene s(static_cast<int>(state.range(0)));
    DrawMap(s.ctx, s.state, RenderHooks{}); // scales and image side of the drawing
    struct Group {
        QPen pen;
        std::vector<std::vector<QPoint>> records;
    };
    const DisplayState& d = s.display;
    auto group = [&](Color color, int width, bool dotted, std::initializer_list<LineKind> kinds) {
        Group g;
        g.pen = QPen(QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF), width == 1 ? 0 : width,
                     dotted ? Qt::DotLine : Qt::SolidLine);
        for (LineKind k : kinds)
            s.store.line(k).forEachRecord([&](int n, const int32_t* xy) {
                std::vector<QPoint> p(n);
                for (int i = 0; i < n; ++i)
                    p[i] = MapToPixel(s.view, xy[2 * i], xy[2 * i + 1]);
                g.records.push_back(std::move(p));
            });
        return g;
    };
    const std::vector<Group> groups = {
        group(d.CoastColor, d.CoastWidth, false, {LineKind::Coast, LineKind::HLake, LineKind::Lake}),
        group(prefBorderColor(d), d.PrefWidth, d.CBPrefDot, {LineKind::Pref, LineKind::NewPref}),
        group(wardBorderColor(d), d.TownWidth, d.CBKuDot, {LineKind::Ku}),
        group(townBorderColor(d), d.TownWidth, d.CBTownDot, {LineKind::Town}),
    };
    QImage img(s.view.imageSide, s.view.imageSide, QImage::Format_RGB32);
    for (auto _ : state) {
        img.fill(Qt::white);
        QPainter p(&img);
        for (const Group& g : groups) {
            p.setPen(g.pen);
            for (const auto& r : g.records)
                p.drawPolyline(r.data(), static_cast<int>(r.size()));
        }
    }
}
BENCHMARK(BM_QPainterPolyline)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_DrawMapN03Simplified(benchmark::State& state)
{
    static MapStore topo;
    static bool loaded = test::loadTopoJson(std::string(OBORO_SHARED_DATA) + "/n03-2021/s0010-N03-21_210101.json", topo).ok;
    if (!loaded) {
        state.SkipWithError("no shared reference data");
        return;
    }
    Scene s(static_cast<int>(state.range(0)));
    s.store = topo;
    s.store.selectedAreas = japan().selectedAreas;
    s.view = ViewState{};
    s.view.wgs = false;
    SetUpView(s.view, s.store, kAreaCount);
    s.view.sizeFactor = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(DrawMap(s.ctx, s.state, RenderHooks{}).drawn);
    state.counters["points"] = static_cast<double>(pointCount(s.store));
    if (qEnvironmentVariableIsSet("OBORO_WRITE_PNG"))
        s.canvas.image().save(QStringLiteral("/tmp/oboro_n03_%1.png").arg(s.view.imageSide));
}
BENCHMARK(BM_DrawMapN03Simplified)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

// Writes the drawn map to /tmp for a look (run with --benchmark_filter=BM_WritePicture).
void BM_WritePicture(benchmark::State& state)
{
    Scene s(static_cast<int>(state.range(0)));
    for (auto _ : state)
        DrawMap(s.ctx, s.state, RenderHooks{});
    s.canvas.image().save(QStringLiteral("/tmp/oboro_render_bench_%1.png").arg(s.view.imageSide));
}
BENCHMARK(BM_WritePicture)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
