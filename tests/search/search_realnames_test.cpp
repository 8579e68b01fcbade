// The search over the real municipality names of 2021, in the bundled map data: every
// name record of the 52 map files, the designated cities of the city list and the names
// repeated within one prefecture of the duplicate-name list.
#include "common/paths.h"
#include "mapdata/loader.h"
#include "mapdata/namelists.h"
#include "search/municipalitysearch.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace oboro;

namespace {

struct Place {
    int area = 0;
    std::string name;
    int32_t x = 0, y = 0;
};

class RealNamesTest : public ::testing::Test {
protected:
    static inline std::vector<Place> places;
    static inline std::map<std::string, std::pair<int, std::pair<int32_t, int32_t>>> cities; // designated

    static void SetUpTestSuite()
    {
        setProgramFolder(test::bundledDataDir());
        for (int area = 1; area <= kAreaCount; ++area) {
            MapStore one;
            CollectingSink quiet;
            if (!loadMapFiles(one, {area}, LoadOptions{}, quiet))
                continue;
            for (const NameEntry& e : one.commonNames.entries)
                places.push_back({area, e.name, e.x, e.y});
        }
        MapStore lists;
        CollectingSink quiet;
        readDesignatedCityList(lists, quiet);
        for (const DesignatedCityEntry& c : lists.designatedCities)
            cities[c.name] = {c.area, {c.x, c.y}};
    }

    void SetUp() override
    {
        setProgramFolder(test::bundledDataDir());
        readDesignatedCityList(store, sink);
        readDuplicateNameList(store, sink);
        ASSERT_TRUE(sink.messages.empty());
        ASSERT_EQ(places.size(), 1902u);
        ASSERT_EQ(cities.size(), 20u);
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
