// Municipality search over all 52 map files of the real data (the program folder named
// by OBORO_N03_DIR, else the bundled data/); without it a synthetic folder of about the
// size of all Japan is made once (the label says which).
//   BM_SearchIndexed   a search answered from the name index (52 file checks included)
//   BM_SearchFileScan  the same answer by reading and scanning every map file
//   BM_SearchFirst     the first search after invalidate(): the index is built
//   BM_SearchAndShow   search and show: the area loaded alone and the view set up
#include "bench/realdata.h"
#include "common/paths.h"
#include "common/textfile.h"
#include "mapdata/loader.h"
#include "mapdata/namelists.h"
#include "mapdata/rawtext.h"
#include "search/municipalitysearch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>

using namespace oboro;

namespace {

class NullSink : public MessageSink {
public:
    using MessageSink::show;
    void show(const Message&) override {}
};

void writeBytes(const QString& path, const std::string& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

bool fromN03 = false;

QString benchFolder()
{
    if (const QString real = realDataFolder(); !real.isEmpty()) {
        fromN03 = true;
        return real;
    }
    static std::unique_ptr<QTemporaryDir> dir;
    if (dir)
        return dir->path();
    dir = std::make_unique<QTemporaryDir>();
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> start(50000, 250000), step(-40, 40);
    const std::string town = utf8ToSjis("町").value();
    for (int area = 1; area <= kAreaCount; ++area) {
        std::string text;
        // About 1,900 names in all, the searched one in area 35.
        for (int i = 0; i < 37; ++i)
            text += "A," + std::to_string(100000 + i) + ",60000," + std::to_string(area * 100 + i) + town + "\n";
        if (area == 35)
            text += "A,120480,155160," + utf8ToSjis("高松市").value() + "\n";
        // About 325,000 points of lines in all.
        for (int r = 0; r < 25; ++r) {
            const int n = 250;
            text += "T,1," + std::to_string(n) + "\n";
            int x = start(rng), y = start(rng);
            for (int i = 0; i < n; ++i) {
                x += step(rng);
                y += step(rng);
                text += std::to_string(x) + "," + std::to_string(y);
                text += (i % 5 == 4 || i == n - 1) ? '\n' : ',';
            }
        }
        char name[64];
        std::snprintf(name, sizeof name, "/MAPDATA/%02d.MAP", area);
        writeBytes(dir->path() + name, text);
        std::snprintf(name, sizeof name, "/MAPDATA/OfficeLoc/%02d", area);
        writeBytes(dir->path() + name + QString::fromUtf8("市町村役場.lbl"), "");
    }
    writeBytes(dir->path() + "/MAPDATA/EXTRA.TXT", "");
    writeBytes(dir->path() + "/MAPDATA/CITYLIST.TXT", "");
    return dir->path();
}

struct Fixture {
    MapStore store;
    NullSink sink;
    Fixture()
    {
        setProgramFolder(benchFolder());
        readDesignatedCityList(store, sink);
        readDuplicateNameList(store, sink);
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

const char* kName = "高松市";

void label(benchmark::State& state) { state.SetLabel(fromN03 ? "N03 build" : "synthetic"); }

void BM_SearchIndexed(benchmark::State& state)
{
    Fixture& f = fixture();
    MunicipalitySearch search;
    search.find(kName, f.store, {});
    for (auto _ : state) {
        SearchResult r = search.find(kName, f.store, {});
        if (r.kind == SearchResultKind::Message) {
            state.SkipWithError("高松市 not found");
            return;
        }
        benchmark::DoNotOptimize(r);
    }
    label(state);
}
BENCHMARK(BM_SearchIndexed)->Unit(benchmark::kMicrosecond);

void BM_SearchFileScan(benchmark::State& state)
{
    fixture();
    const std::string sjis = utf8ToSjis(kName).value();
    for (auto _ : state) {
        int found = 0;
        for (int area = 1; area <= kAreaCount; ++area) {
            const std::optional<std::string> bytes = readWholeFile(mapFilePath(area));
            if (bytes && scanMapText(*bytes, area, sjis))
                ++found;
        }
        benchmark::DoNotOptimize(found);
    }
    label(state);
}
BENCHMARK(BM_SearchFileScan)->Unit(benchmark::kMillisecond);

void BM_SearchFirst(benchmark::State& state)
{
    Fixture& f = fixture();
    MunicipalitySearch search;
    for (auto _ : state) {
        search.invalidate();
        benchmark::DoNotOptimize(search.find(kName, f.store, {}));
    }
    label(state);
}
BENCHMARK(BM_SearchFirst)->Unit(benchmark::kMillisecond);

void BM_SearchAndShow(benchmark::State& state)
{
    Fixture& f = fixture();
    MunicipalitySearch search;
    ViewState view;
    for (auto _ : state) {
        const SearchResult r = search.find(kName, f.store, {});
        if (r.kind == SearchResultKind::Message) {
            state.SkipWithError("高松市 not found");
            return;
        }
        const SearchShow s = search.show(r, r.candidates.front(), kName, f.store, view, LoadOptions{}, {}, f.sink);
        if (!s.ok) {
            state.SkipWithError("the area could not be loaded");
            return;
        }
    }
    label(state);
}
BENCHMARK(BM_SearchAndShow)->Unit(benchmark::kMillisecond);

} // namespace
