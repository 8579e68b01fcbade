// Loading the map files of all 52 areas: the real data (the program folder named by
// OBORO_N03_DIR, else the bundled data/), or, without it, a synthetic folder of about
// the size of all Japan within the table capacities.
#include "bench/realdata.h"
#include "common/paths.h"
#include "common/textfile.h"
#include "mapdata/loader.h"
#include "mapdata/namelists.h"
#include "mapdata/rawtext.h"

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
    void show(const Message&) override { ++count; }
    int count = 0;
};

void writeBytes(const QString& path, const std::string& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// Records of the given kind, each of `points` points wandering from a random start.
void addRecords(std::string& out, std::mt19937& rng, char kind, int count, int points)
{
    std::uniform_int_distribution<int> start(50000, 250000), step(-40, 40);
    char buf[32];
    for (int r = 0; r < count; ++r) {
        out += kind;
        out += ",1,";
        out += std::to_string(points);
        out += '\n';
        int x = start(rng), y = start(rng);
        for (int i = 0; i < points; ++i) {
            x += step(rng);
            y += step(rng);
            std::snprintf(buf, sizeof buf, "%d,%d", x, y);
            out += buf;
            out += (i % 5 == 4 || i == points - 1) ? '\n' : ',';
        }
    }
}

// The program folder to load: the real data (realDataFolder) or a synthetic one made once.
QString programFolderForBench()
{
    if (const QString real = realDataFolder(); !real.isEmpty())
        return real;
    static std::unique_ptr<QTemporaryDir> dir;
    if (dir)
        return dir->path();
    dir = std::make_unique<QTemporaryDir>();
    std::mt19937 rng(52);
    for (int area = 1; area <= kAreaCount; ++area) {
        std::string text;
        const std::string town = utf8ToSjis("中央町").value();
        for (int i = 0; i < 100; ++i)
            text += "A," + std::to_string(100000 + i) + ",60000," + town + std::to_string(i) + "\n";
        addRecords(text, rng, 'C', 5, 580);
        addRecords(text, rng, 'T', 5, 500);
        addRecords(text, rng, 'N', 1, 500);
        addRecords(text, rng, 'P', 1, 480);
        text += "Z\n";
        char name[64];
        std::snprintf(name, sizeof name, "/MAPDATA/%02d.MAP", area);
        writeBytes(dir->path() + name, text);
        std::string office;
        for (int i = 0; i < 40; ++i)
            office += utf8ToSjis("○").value() + ",100000,60000," + town + ",8\n";
        std::snprintf(name, sizeof name, "/MAPDATA/OfficeLoc/%02d", area);
        writeBytes(dir->path() + name + QString::fromUtf8("市町村役場.lbl"), office);
    }
    return dir->path();
}

std::vector<int> allAreas()
{
    std::vector<int> areas;
    for (int a = 1; a <= kAreaCount; ++a)
        areas.push_back(a);
    return areas;
}

int64_t mapBytes(const std::vector<int>& areas)
{
    int64_t total = 0;
    for (int a : areas)
        total += QFileInfo(QString::fromStdString(mapFilePath(a))).size();
    return total;
}

// The whole load as the program runs it: files read, tables filled, extent widened.
void BM_LoadAllAreas(benchmark::State& state)
{
    setProgramFolder(programFolderForBench());
    const std::vector<int> areas = allAreas();
    MapStore store;
    NullSink sink;
    for (auto _ : state) {
        if (!loadMapFiles(store, areas, LoadOptions{}, sink)) {
            state.SkipWithError("a map or office location file is missing");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * mapBytes(areas));
    state.counters["messages"] = sink.count;
    state.counters["coastWords"] = store.line(LineKind::Coast).wordCount();
}
BENCHMARK(BM_LoadAllAreas)->Unit(benchmark::kMillisecond);

// The parse alone, over the map files already in memory.
void BM_ParseAllAreasInMemory(benchmark::State& state)
{
    setProgramFolder(programFolderForBench());
    std::vector<std::string> files;
    int64_t bytes = 0;
    for (int a : allAreas()) {
        files.push_back(readWholeFile(mapFilePath(a)).value_or(std::string()));
        bytes += static_cast<int64_t>(files.back().size());
    }
    NullSink sink;
    for (auto _ : state) {
        MapStore store;
        MapLoader loader(store, LoadOptions{}, sink);
        for (size_t i = 0; i < files.size(); ++i)
            loader.readMapFile(files[i], static_cast<int>(i) + 1, "bench");
        loader.finish();
        benchmark::DoNotOptimize(store.extent);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_ParseAllAreasInMemory)->Unit(benchmark::kMillisecond);

} // namespace
