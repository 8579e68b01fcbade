// The search over the real municipality names of 2021: a names-only program folder is
// made once from the national administrative-area data (one name record per
// municipality or ward at a point of its border, the designated cities in the city list,
// the names repeated within one prefecture in the duplicate-name list).
#include "common/paths.h"
#include "common/textfile.h"
#include "mapdata/loader.h"
#include "mapdata/namelists.h"
#include "search/municipalitysearch.h"
#include "support/testsupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

using namespace oboro;

namespace {

struct Place {
    int area = 0;
    std::string county; // city or county (N03_003), may be empty
    std::string name;   // N03_004
    int32_t x = 0, y = 0;
};

int areaOf(const std::string& pref, const std::string& county)
{
    if (pref == "北海道") {
        for (const char* n : {"色丹郡", "国後郡", "択捉郡", "紗那郡", "蘂取郡"})
            if (county == n)
                return 52;
        return 47;
    }
    if (pref == "東京都" && county.find("支庁") != std::string::npos)
        return county == "小笠原支庁" ? 51 : 50;
    for (int a = 1; a <= 46; ++a)
        if (pref == areaInfo(a).name)
            return a;
    return 0;
}

// The first arc index of a geometry's nested arc lists.
int firstArc(const QJsonValue& v)
{
    if (v.isArray())
        return v.toArray().isEmpty() ? 0 : firstArc(v.toArray().at(0));
    const int a = v.toInt();
    return a < 0 ? ~a : a;
}

class RealNamesTest : public ::testing::Test {
protected:
    static inline std::unique_ptr<QTemporaryDir> dir;
    static inline std::vector<Place> places;
    static inline std::map<std::string, std::pair<int, std::pair<int32_t, int32_t>>> cities; // designated

    static void SetUpTestSuite()
    {
        if (!test::haveSharedData())
            return;
        QFile f(QString::fromStdString(test::sharedDataDir() + "/n03-2021/s0001-N03-21_210101.json"));
        if (!f.open(QIODevice::ReadOnly))
            return;
        const QJsonObject topo = QJsonDocument::fromJson(f.readAll()).object();
        const QJsonArray arcs = topo["arcs"].toArray();
        const QJsonArray scale = topo["transform"].toObject()["scale"].toArray();
        const QJsonArray translate = topo["transform"].toObject()["translate"].toArray();
        const QJsonObject objects = topo["objects"].toObject();
        const QJsonArray geometries = objects.begin().value().toObject()["geometries"].toArray();
        for (const QJsonValue& g : geometries) {
            const QJsonObject p = g.toObject()["properties"].toObject();
            Place pl;
            pl.name = p["N03_004"].toString().toStdString();
            pl.county = p["N03_003"].toString().toStdString();
            pl.area = areaOf(p["N03_001"].toString().toStdString(), pl.county);
            if (pl.name.empty() || pl.area == 0)
                continue;
            const QJsonArray first = arcs.at(firstArc(g.toObject()["arcs"])).toArray().at(0).toArray();
            const double lon = first.at(0).toDouble() * scale.at(0).toDouble() + translate.at(0).toDouble();
            const double lat = first.at(1).toDouble() * scale.at(1).toDouble() + translate.at(1).toDouble();
            pl.x = static_cast<int32_t>((lon - 122.0) * 10000.0);
            pl.y = static_cast<int32_t>((lat - 24.0) * 15000.0);
            places.push_back(pl);
            if (pl.county.ends_with("市") && pl.name.ends_with("区") && !cities.count(pl.county))
                cities[pl.county] = {pl.area, {pl.x, pl.y}};
        }

        dir = std::make_unique<QTemporaryDir>();
        std::map<int, std::string> files;
        std::map<int, Extent> extents;
        std::map<std::pair<int, std::string>, int> perPrefecture; // (prefecture key, name) → count
        auto prefKey = [](int area) { return area == 52 ? 47 : area == 50 || area == 51 ? 12 : area; };
        for (const Place& p : places) {
            files[p.area] += "A," + std::to_string(p.x) + "," + std::to_string(p.y) + "," + p.name + "\n";
            Extent& e = extents[p.area];
            e.minX = std::min(e.minX, p.x);
            e.minY = std::min(e.minY, p.y);
            e.maxX = std::max(e.maxX, p.x);
            e.maxY = std::max(e.maxY, p.y);
            ++perPrefecture[{prefKey(p.area), p.name}];
        }
        std::string extra, citylist;
        for (const Place& p : places)
            if (perPrefecture[{prefKey(p.area), p.name}] > 1)
                extra += std::to_string(p.area) + "," + p.name + "," + p.county + "," + std::to_string(p.x) + "," +
                         std::to_string(p.y) + "\n";
        for (const auto& [name, c] : cities)
            citylist += name + "," + std::to_string(c.second.first) + "," + std::to_string(c.second.second) + "," +
                        std::to_string(c.first) + ",0\n";
        for (auto& [area, text] : files) {
            const Extent& e = extents[area];
            char buf[160];
            std::snprintf(buf, sizeof buf, "C,1,5\n%d,%d,%d,%d,%d,%d,%d,%d,%d,%d\n", e.minX - 100, e.minY - 100,
                          e.maxX + 100, e.minY - 100, e.maxX + 100, e.maxY + 100, e.minX - 100, e.maxY + 100,
                          e.minX - 100, e.minY - 100);
            char rel[64];
            std::snprintf(rel, sizeof rel, "MAPDATA/%02d.MAP", area);
            test::writeSjisFile(dir->path(), rel, text + buf);
            std::snprintf(rel, sizeof rel, "MAPDATA/OfficeLoc/%02d", area);
            test::writeSjisFile(dir->path(), std::string(rel) + "市町村役場.lbl", "");
        }
        test::writeSjisFile(dir->path(), "MAPDATA/EXTRA.TXT", extra);
        test::writeSjisFile(dir->path(), "MAPDATA/CITYLIST.TXT", citylist);
    }
    static void TearDownTestSuite() { dir.reset(); }

    void SetUp() override
    {
        if (!dir)
            GTEST_SKIP() << "no real geography beside the repository";
        setProgramFolder(dir->path());
        readDesignatedCityList(store, sink);
        readDuplicateNameList(store, sink);
        ASSERT_TRUE(sink.messages.empty());
    }

    std::vector<std::string> labels(const SearchResult& r)
    {
        std::vector<std::string> out;
        for (const SearchCandidate& c : r.candidates)
            out.push_back(c.label);
        return out;
    }

    MapStore store;
    CollectingSink sink;
    MunicipalitySearch search;
};

} // namespace

TEST_F(RealNamesTest, EveryMunicipalityAndWardIsFoundAtItsPlaceWhicheverKeIsTyped)
{
    ASSERT_GT(places.size(), 1800u);
    int checked = 0;
    for (const Place& p : places) {
        std::vector<std::string> typed{p.name};
        if (auto other = otherKeSpelling(p.name))
            typed.push_back(*other);
        for (const std::string& t : typed) {
            const SearchResult r = search.find(t, store, {});
            ASSERT_NE(r.kind, SearchResultKind::Message) << t;
            EXPECT_EQ(r.name, p.name) << t;
            const bool atItsPlace = std::any_of(r.candidates.begin(), r.candidates.end(), [&](const SearchCandidate& c) {
                return c.area == p.area && c.x == p.x && c.y == p.y;
            });
            EXPECT_TRUE(atItsPlace) << t << " in area " << p.area;
            ++checked;
        }
    }
    EXPECT_GT(checked, static_cast<int>(places.size()));
    for (const auto& [name, c] : cities) {
        const SearchResult r = search.find(name, store, {});
        EXPECT_TRUE(r.designatedCity) << name;
        ASSERT_EQ(r.candidates.size(), 1u);
        EXPECT_EQ(r.candidates[0].area, c.first);
    }
}

TEST_F(RealNamesTest, AmbiguousNamesAndTheirLabels)
{
    const SearchResult fuchu = search.find("府中市", store, {});
    EXPECT_EQ(fuchu.kind, SearchResultKind::Choice);
    EXPECT_EQ(labels(fuchu), (std::vector<std::string>{"東京都", "広島県"}));

    // 北区: the two of Osaka through the list, then every other prefecture's.
    const SearchResult kita = search.find("北区", store, {});
    EXPECT_EQ(kita.kind, SearchResultKind::Choice);
    const auto kitaCount = std::count_if(places.begin(), places.end(), [](const Place& p) { return p.name == "北区"; });
    ASSERT_EQ(static_cast<long>(kita.candidates.size()), kitaCount);
    EXPECT_EQ(labels(kita)[0], "大阪市");
    EXPECT_EQ(labels(kita)[1], "堺市");
    const auto l = labels(kita);
    EXPECT_NE(std::find(l.begin(), l.end(), "東京都"), l.end());
    EXPECT_NE(std::find(l.begin(), l.end(), "京都府"), l.end());

    // 泊村 of 古宇郡 and of 国後郡: both from the list, labelled with their county.
    const SearchResult tomari = search.find("泊村", store, {});
    EXPECT_EQ(tomari.kind, SearchResultKind::Choice);
    EXPECT_EQ(labels(tomari), (std::vector<std::string>{"北海道南部(古宇郡)", "北方四島(国後郡)"}));
}

TEST_F(RealNamesTest, UniqueCityDesignatedCityAndMissingSuffix)
{
    const SearchResult r = search.find("高松市", store, {});
    ASSERT_EQ(r.kind, SearchResultKind::Hit);
    EXPECT_EQ(r.candidates[0].label, "香川県");
    ViewState view;
    const SearchShow s = search.show(r, r.candidates[0], "高松市", store, view, LoadOptions{}, {}, sink);
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(store.selectedAreas, std::vector<int>{35});
    EXPECT_EQ(view.centerX, r.candidates[0].x);
    EXPECT_EQ(view.centerY, r.candidates[0].y);
    EXPECT_GE(view.magCount, 2);

    const SearchResult yokohama = search.find("横浜市", store, {});
    EXPECT_TRUE(yokohama.designatedCity);
    EXPECT_EQ(yokohama.candidates.at(0).area, 13);
    EXPECT_EQ(search.find("横浜", store, {}).kind, SearchResultKind::Message);
    EXPECT_EQ(search.find("関ケ原町", store, {}).candidates.at(0).area, 17);
    EXPECT_EQ(search.find("金ヶ崎町", store, {}).candidates.at(0).area, 2);
}
