// A choropleth of all Japan from a statistics file: every municipality and ward (about
// 1,900 rows keyed by local government code), read, classed in five quantiles and
// painted at its name position, from the file to the finished 1800-pixel picture.
// Goal: under 100 ms.
//   build/bench/oboro_bench --benchmark_filter=Choropleth
#include "app/mapsession.h"
#include "bench/realdata.h"
#include "common/paths.h"
#include "common/textfile.h"
#include "mapdata/namelists.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace oboro;

namespace {

void BM_ChoroplethOfJapan(benchmark::State& state)
{
    const QString dir = realDataFolder();
    if (dir.isEmpty()) {
        state.SkipWithError("no real map data of all Japan (OBORO_N03_DIR or data/)");
        return;
    }
    setProgramFolder(dir);
    CollectingSink sink;
    MapSession session(sink);
    readDesignatedCityList(session.store, sink);
    readDuplicateNameList(session.store, sink);
    session.setSwitch(Switch::PleaseWait, false);
    session.view.sizeFactor = 3;
    std::vector<int> all;
    for (int a = 1; a <= 52; ++a)
        all.push_back(a);
    if (!session.selectAreas(all, false)) {
        state.SkipWithError("the map data could not be read");
        return;
    }
    // A value per municipality and ward, as statistics tables give them.
    std::vector<std::string> lines{"コード,人口"};
    unsigned v = 12345;
    for (const MunicipalityCode& c : session.store.municipalityCodes)
        if (c.kind != 'D') {
            v = v * 1103515245u + 12345u;
            lines.push_back(c.code + "," + std::to_string(1000 + v % 3000000));
        }
    QTemporaryDir tmp;
    const std::string csv = (tmp.path() + QStringLiteral("/population.csv")).toStdString();
    writeSjisFile(csv, lines);
    int painted = 0;
    for (auto _ : state) {
        const std::optional<DataPaintOutcome> out = session.dataPaint(csv, 5, ClassMethod::Quantiles);
        painted = out ? out->painted : 0;
        benchmark::DoNotOptimize(session.canvas.image().constBits());
    }
    if (painted < 1800 || session.canvas.width() != 1800)
        state.SkipWithError("the choropleth did not paint all Japan at 1800 pixels");
    state.counters["rows"] = static_cast<double>(lines.size() - 1);
    state.counters["records"] = painted;
}
BENCHMARK(BM_ChoroplethOfJapan)->Unit(benchmark::kMillisecond);

} // namespace
