// The print export: all Japan drawn at 7200 × 7200 with municipality names and 1,300 paint
// records, written as a PNG file (drawing, encoding, temporary file and rename), and the
// drawing alone at the print sizes. Goal: the whole export under 1 s and under 400 MB at
// the peak (the "peak_rss_mb" counter: the process's largest resident size so far).
//
// Uses the bundled data of all Japan, or the program folder named by OBORO_N03_DIR:
//   build/bench/oboro_bench --benchmark_filter=Print
#include "bench/realdata.h"
#include "common/paths.h"
#include "mapdata/loader.h"
#include "mapdata/namelists.h"
#include "paint/paintlayer.h"
#include "view/layers.h"
#include "view/mapexport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

using namespace oboro;

namespace {

double peakRssMb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024.0;
}

// All 52 areas with names, decorations and 1,300 paint records (every seventh hatched),
// as the main window holds them after painting.
struct PaintedJapan : DrawingScene {
    NameOptions names;
    DecorationState decorations;
    RenderHooks hooks;
    PaintRecords records;
    bool ok = false;

    PaintedJapan()
    {
        const QString dir = realDataFolder();
        if (dir.isEmpty())
            return;
        setProgramFolder(dir);
        readDesignatedCityList(store, sink);
        readDuplicateNameList(store, sink);
        std::vector<int> all;
        for (int a = 1; a <= kAreaCount; ++a)
            all.push_back(a);
        if (!loadMapFiles(store, all, LoadOptions{}, sink))
            return;
        SetUpView(view, store, kAreaCount);
        sw.drawingEnabled = true;
        sw.pleaseWait = false;
        sw.CBTownPaint = false;
        sw.CBTownName = true;
        sw.CBScale = true;
        display.CBWaku = true;
        installNameAndDecorationLayers(hooks, names, decorations);
        hooks.paintReplay = paintReplayLayer(records);
        tools.paintReplay = true;
        std::vector<NameEntry> anchors = store.commonNames.entries;
        anchors.insert(anchors.end(), store.newNames.entries.begin(), store.newNames.entries.end());
        for (const NameEntry& e : anchors) {
            if (records.full())
                break;
            const int k = records.count();
            const uint8_t pattern = k % 7 == 3 ? static_cast<uint8_t>(2 + k % 6) : 0;
            records.add(PaintRecord{e.x, e.y, 0x30A0F0u + 0x010305u * static_cast<Color>(k % 40), pattern});
        }
        ok = true;
    }
    MapScene scene() { return MapScene{store, view, display, sw, tools, hooks}; }
};

PaintedJapan& japan()
{
    static PaintedJapan j;
    return j;
}

void BM_PrintExportJapanPng(benchmark::State& state)
{
    PaintedJapan& j = japan();
    if (!j.ok) {
        state.SkipWithError("no real map data of all Japan (OBORO_N03_DIR or data/)");
        return;
    }
    QTemporaryDir dir;
    MapExport what;
    what.side = static_cast<int>(state.range(0));
    what.dpi = kFinePrintDpi;
    what.path = dir.path() + "/japan.png";
    CollectingSink sink;
    for (auto _ : state) {
        if (exportMapPicture(j.scene(), what, {}, sink) != ExportOutcome::Written) {
            state.SkipWithError("the export failed");
            return;
        }
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(what.path).size());
    // OBORO_WRITE_PNG=1 keeps the picture in /tmp for a look.
    if (qEnvironmentVariableIsSet("OBORO_WRITE_PNG")) {
        QFile::remove(QStringLiteral("/tmp/oboro_print_%1.png").arg(what.side));
        QFile::copy(what.path, QStringLiteral("/tmp/oboro_print_%1.png").arg(what.side));
    }
    state.counters["records"] = j.records.count();
    state.counters["peak_rss_mb"] = peakRssMb();
}
BENCHMARK(BM_PrintExportJapanPng)->Arg(7200)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

// The drawing alone (no file), at 1800 and the print sizes.
void BM_PrintDrawJapan(benchmark::State& state)
{
    PaintedJapan& j = japan();
    if (!j.ok) {
        state.SkipWithError("no real map data of all Japan (OBORO_N03_DIR or data/)");
        return;
    }
    const int side = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const QImage picture = drawMapPicture(j.scene(), side / 600, 1);
        benchmark::DoNotOptimize(picture.constBits());
    }
    state.counters["peak_rss_mb"] = peakRssMb();
}
BENCHMARK(BM_PrintDrawJapan)->Arg(1800)->Arg(3600)->Arg(7200)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
