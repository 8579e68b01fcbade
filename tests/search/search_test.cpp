// Municipality search on a small program folder whose map files and name lists mirror
// real cases: unique names, names in two prefectures, wards of the duplicate-name list,
// ケ / ヶ spellings, a designated city, post- and pre-merger names.
#include "common/paths.h"
#include "common/textfile.h"
#include "mapdata/loader.h"
#include "mapdata/namelists.h"
#include "search/municipalitysearch.h"
#include "support/testsupport.h"
#include "view/navigation.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>

using namespace oboro;

namespace {

struct NameLine {
    const char* tag;
    int x, y;
    const char* name;
};

// A map file: the name records and a small coast square around (cx, cy).
std::string mapText(std::initializer_list<NameLine> names, int cx, int cy)
{
    std::string t;
    for (const NameLine& n : names)
        t += std::string(n.tag) + "," + std::to_string(n.x) + "," + std::to_string(n.y) + "," + n.name + "\n";
    char buf[128];
    std::snprintf(buf, sizeof buf, "C,1,5\n%d,%d,%d,%d,%d,%d,%d,%d,%d,%d\nZ\n", cx - 3000, cy - 3000, cx + 3000,
                  cy - 3000, cx + 3000, cy + 3000, cx - 3000, cy + 3000, cx - 3000, cy - 3000);
    return t + buf;
}

struct SearchTest : ::testing::Test {
    QTemporaryDir dir;
    MapStore store;
    ViewState view;
    CollectingSink sink;
    MunicipalitySearch search;
    std::vector<std::string> history;

    void writeMap(int area, const std::string& utf8)
    {
        char rel[64];
        std::snprintf(rel, sizeof rel, "MAPDATA/%02d.MAP", area);
        test::writeSjisFile(dir.path(), rel, utf8);
        std::snprintf(rel, sizeof rel, "MAPDATA/OfficeLoc/%02d", area);
        test::writeSjisFile(dir.path(), std::string(rel) + "市町村役場.lbl", "");
    }

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        setProgramFolder(dir.path());
        writeMap(2, mapText({{"A", 111000, 150000, "金ケ崎町"}, {"A", 112000, 152000, "北上市"}}, 111000, 150000));
        writeMap(3, mapText({{"A", 120000, 130000, "美里町"}}, 120000, 130000));
        writeMap(10, mapText({{"A", 174000, 178000, "北区"}}, 174000, 178000));
        writeMap(12, mapText({{"A", 174800, 175000, "府中市"},
                              {"A", 176000, 176100, "北区"},
                              {"B", 175500, 175600, "西東京市"},
                              {"X", 175400, 175700, "保谷市"}},
                             175000, 175000));
        writeMap(13, mapText({{"A", 176200, 170000, "保土ケ谷区"}, {"A", 176400, 170200, "中区"}}, 176000, 170000));
        writeMap(17, mapText({{"A", 145000, 155000, "関ヶ原町"}}, 145000, 155000));
        writeMap(26, mapText({{"A", 135000, 151000, "北区"}, {"A", 134800, 148000, "北区"}}, 135000, 150000));
        writeMap(31, mapText({{"A", 111000, 145000, "府中市"}, {"A", 110000, 144000, "広島市"}}, 111000, 145000));
        writeMap(35, mapText({{"A", 120480, 155160, "高松市"}, {"A", 118000, 153000, "丸亀市"}}, 120000, 155000));
        writeMap(42, mapText({{"A", 85000, 145000, "美里町"}}, 85000, 145000));
        writeMap(40, mapText({{"A", 88000, 158000, "吉野ケ里町"}}, 88000, 158000));
        writeMap(46, mapText({{"A", 57000, 39000, "那覇市"}}, 57000, 39000));
        test::writeSjisFile(dir.path(), "MAPDATA/CITYLIST.TXT", "横浜市,176300,170500,13,0\n広島市,110200,144100,31,0\n");
        test::writeSjisFile(dir.path(), "MAPDATA/EXTRA.TXT",
                            "26,北区,大阪市,135010,151010\n26,北区,堺市,134810,148010\n3,美里町,遠田郡,120100,130100\n"
                            "13,中区,横浜市,176410,170210\n45,中町,薩摩郡さつま町,60000,60000\n");
        readDesignatedCityList(store, sink);
        readDuplicateNameList(store, sink);
        ASSERT_TRUE(sink.messages.empty());
        search.setHistoryRecorder([this](const std::string& t) { history.push_back(t); });
    }

    SearchShow showHit(const std::string& typed, SearchSwitches sw = {}, int choice = 0)
    {
        const SearchResult r = search.find(typed, store, sw);
        EXPECT_NE(r.kind, SearchResultKind::Message) << typed;
        if (r.kind == SearchResultKind::Message)
            return {};
        return search.show(r, r.candidates.at(static_cast<size_t>(choice)), typed, store, view, LoadOptions{}, sw, sink);
    }
};

} // namespace

TEST(SearchNameTest, KeAndSmallKeNormalisation)
{
    const std::pair<const char*, const char*> cases[] = {
        {"金ヶ崎町", "金ケ崎町"},   {"金ケ崎町", "金ケ崎町"}, {"関ケ原町", "関ヶ原町"}, {"関ヶ原町", "関ヶ原町"},
        {"保土ヶ谷区", "保土ケ谷区"}, {"龍ヶ崎市", "龍ケ崎市"}, {"袖ケ浦市", "袖ケ浦市"}, {"ケヶ村", "ケヶ村"},
        {"ケケ村", "ヶケ村"},       {"高松市", "高松市"},
    };
    for (const auto& [typed, searched] : cases)
        EXPECT_EQ(normaliseSearchName(typed), searched) << typed;
}

TEST(SearchNameTest, MagnificationRules)
{
    struct Case {
        float size;
        float step;
        int count;
    } cases[] = {{150.0f, 0.2f, 15}, {889.7f, 1.0f, 17}, {80.1f, 0.2f, 15}, {250.0f, 0.5f, 10}, {346.6f, 0.5f, 13}};
    for (const Case& c : cases) {
        float step = 0;
        EXPECT_EQ(mensekiMagnification(c.size, &step), c.count) << c.size;
        EXPECT_EQ(step, c.step) << c.size;
    }
    float step = 0;
    EXPECT_EQ(searchMagnification(46, true, 0.01f, &step), 17); // 沖縄県 889.7 km
    EXPECT_EQ(step, 1.0f);
    EXPECT_EQ(searchMagnification(46, false, 0.001f, &step), 100);
    EXPECT_EQ(step, 1.0f);
    EXPECT_EQ(searchMagnification(35, false, 0.001f, &step), 50);
    EXPECT_EQ(searchMagnification(35, false, 0.04f, &step), 2); // at least 2
    EXPECT_EQ(searchMagnification(35, false, 0.0f, &step), 10000);
}

TEST(SearchNameTest, SummaryBreaksAfterTheFourthOfFive)
{
    std::vector<SearchCandidate> c;
    for (const char* l : {"一", "二", "三", "四"})
        c.push_back(SearchCandidate{1, 0, 0, l});
    EXPECT_EQ(choiceSummary(c), "一 二 三 四 ");
    c.push_back(SearchCandidate{1, 0, 0, "五"});
    EXPECT_EQ(choiceSummary(c), "一 二 三 四\n五 ");
}

TEST_F(SearchTest, MessagesOfEmptyAndUnknownNames)
{
    const struct {
        const char* typed;
        Message message;
    } cases[] = {
        {"", {"検索する市区町村名を入れてください　　　", "検索データエラー", MessageIcon::Exclamation}},
        {"市区町村名", {"検索する市区町村名を入れてください　　　", "検索データエラー", MessageIcon::Exclamation}},
        {"横浜", {"'横浜' を見つけることはできませんでした　　　　\n'市' '区' '町' '村'をつけてください", "検索エラー", MessageIcon::Question}},
        {"高松", {"'高松' を見つけることはできませんでした　　　　\n'市' '区' '町' '村'をつけてください", "検索エラー", MessageIcon::Question}},
        {"関ケ原", {"'関ヶ原' を見つけることはできませんでした　　　　\n'市' '区' '町' '村'をつけてください", "検索エラー", MessageIcon::Question}},
    };
    for (const auto& c : cases) {
        const SearchResult r = search.find(c.typed, store, {});
        EXPECT_EQ(r.kind, SearchResultKind::Message) << c.typed;
        EXPECT_EQ(r.message, c.message) << c.typed;
        EXPECT_TRUE(r.candidates.empty());
    }
}

TEST_F(SearchTest, UniqueNameLoadsItsAreaAndCentresOnItsAnchor)
{
    const SearchResult r = search.find("高松市", store, {});
    ASSERT_EQ(r.kind, SearchResultKind::Hit);
    EXPECT_EQ(r.candidates, (std::vector<SearchCandidate>{{35, 120480, 155160, "香川県"}}));
    EXPECT_FALSE(r.pleaseWait);

    const SearchShow s = search.show(r, r.candidates[0], "高松市", store, view, LoadOptions{}, {}, sink);
    ASSERT_TRUE(s.ok);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(store.selectedAreas, std::vector<int>{35});
    EXPECT_EQ(store.commonNames.count(), 2);
    EXPECT_EQ(view.centerX, 120480);
    EXPECT_EQ(view.centerY, 155160);
    view.wgs = false;
    RecomputeView(view, store);
    EXPECT_EQ(MapToPixel(view, 120480, 155160), QPoint(300, 300));
    const int expected = std::max(2, static_cast<int>(0.05f / view.baseScale));
    EXPECT_EQ(view.magCount, expected);
    EXPECT_EQ(s.magCount, expected);
    EXPECT_EQ(view.magStep, 1.0f);
    EXPECT_EQ(s.magnificationLabel, magnificationLabel(expected, 1.0f));
    EXPECT_TRUE(s.setUp.applied);
    EXPECT_TRUE(s.CBTownName);
    EXPECT_FALSE(s.CBNTownBorder);
    EXPECT_TRUE(s.CheckBox13); // search paint on: white background, no centre mark
    EXPECT_FALSE(s.CBCenter);
    EXPECT_FALSE(s.CBCityName);
    EXPECT_TRUE(s.CBKuName);
    EXPECT_TRUE(s.CBKuDot);
    EXPECT_FALSE(s.CBOldTown);
    EXPECT_EQ(s.label24Text, "");
    EXPECT_EQ(s.label31Text, "       0 km");
    EXPECT_EQ(s.label15Text, "   0.00 km");
    EXPECT_EQ(s.label17Text, "周長");
    EXPECT_EQ(history, std::vector<std::string>{"高松市"});
    EXPECT_TRUE(search.last().valid);
    EXPECT_EQ(search.last().foundAs, (FoundAs{true, false, false}));
    EXPECT_FALSE(search.last().designatedCityHit);

    MainSwitches main;
    DisplayState display;
    main.CBCenter = true;
    s.applyTo(main, display);
    EXPECT_FALSE(main.CBCenter);
    EXPECT_TRUE(display.CheckBox13);
}

TEST_F(SearchTest, AmbiguousNamesGiveTheChoiceListWithItsLabels)
{
    const struct {
        const char* name;
        std::vector<SearchCandidate> candidates;
    } cases[] = {
        {"府中市", {{12, 174800, 175000, "東京都"}, {31, 111000, 145000, "広島県"}}},
        // Wards of the duplicate-name list: the list for its prefecture, labelled by their
        // city, then the map files of the other prefectures.
        {"北区",
         {{26, 135010, 151010, "大阪市"}, {26, 134810, 148010, "堺市"}, {10, 174000, 178000, "埼玉県"}, {12, 176000, 176100, "東京都"}}},
        // A town of the list: the list entry stands for its prefecture's map record.
        {"美里町", {{3, 120100, 130100, "宮城県(遠田郡)"}, {42, 85000, 145000, "熊本県"}}},
        // One listed ward still asks.
        {"中区", {{13, 176410, 170210, "横浜市"}}},
        // Labels are cut to 19 bytes without splitting a character.
        {"中町", {{45, 60000, 60000, "鹿児島県(薩摩郡さつ"}}},
    };
    for (const auto& c : cases) {
        const SearchResult r = search.find(c.name, store, {});
        EXPECT_EQ(r.kind, SearchResultKind::Choice) << c.name;
        EXPECT_EQ(r.candidates, c.candidates) << c.name;
    }

    // Without the duplicate-name list, 北区 is found in every map file holding it, at the
    // first record of each file.
    store.duplicateNames.clear();
    const SearchResult r = search.find("北区", store, {});
    EXPECT_EQ(r.kind, SearchResultKind::Choice);
    EXPECT_EQ(r.candidates, (std::vector<SearchCandidate>{
                                {10, 174000, 178000, "埼玉県"}, {12, 176000, 176100, "東京都"}, {26, 135000, 151000, "大阪府"}}));
}

TEST_F(SearchTest, ChosenWardOfTheListShowsItsPlaceWithSolidWardBorders)
{
    const SearchShow s = showHit("北区", {}, 1);
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(store.selectedAreas, std::vector<int>{26});
    EXPECT_EQ(view.centerX, 134810);
    EXPECT_EQ(view.centerY, 148010);
    EXPECT_FALSE(s.CBKuDot);
    EXPECT_EQ(search.last().foundAs, FoundAs{}); // no map file read for a listed ward
    // 北区 of a prefecture the list does not cover comes from its map file.
    ASSERT_TRUE(showHit("北区", {}, 3).ok);
    EXPECT_EQ(store.selectedAreas, std::vector<int>{12});
    EXPECT_EQ(search.last().foundAs, (FoundAs{true, false, false}));
    // With the search paint off the ward borders stay dotted and the centre mark is on.
    const SearchShow off = showHit("北区", SearchSwitches{false, false}, 0);
    EXPECT_TRUE(off.CBKuDot);
    EXPECT_TRUE(off.CBCenter);
    EXPECT_FALSE(off.CheckBox13);
}

TEST_F(SearchTest, KeSpellingsFindTheirTowns)
{
    const struct {
        const char* typed;
        const char* searched;
        int area;
    } cases[] = {{"金ヶ崎町", "金ケ崎町", 2},
                 {"金ケ崎町", "金ケ崎町", 2},
                 {"関ケ原町", "関ヶ原町", 17},
                 {"保土ヶ谷区", "保土ケ谷区", 13},
                 // Map data that spells the name with the large ケ is still found, under its spelling.
                 {"吉野ヶ里町", "吉野ケ里町", 40},
                 {"吉野ケ里町", "吉野ケ里町", 40}};
    for (const auto& c : cases) {
        const SearchResult r = search.find(c.typed, store, {});
        EXPECT_EQ(r.name, c.searched);
        ASSERT_EQ(r.kind, SearchResultKind::Hit) << c.typed;
        EXPECT_EQ(r.candidates[0].area, c.area);
    }
    // The history keeps the text as typed.
    showHit("金ヶ崎町");
    EXPECT_EQ(history, std::vector<std::string>{"金ヶ崎町"});
    EXPECT_EQ(search.last().name, "金ケ崎町");
}

TEST_F(SearchTest, DesignatedCityIsFoundThroughTheCityList)
{
    const SearchResult r = search.find("横浜市", store, SearchSwitches{true, true});
    ASSERT_EQ(r.kind, SearchResultKind::Hit);
    EXPECT_TRUE(r.designatedCity);
    EXPECT_FALSE(r.pleaseWait);
    EXPECT_EQ(r.candidates, (std::vector<SearchCandidate>{{13, 176300, 170500, "神奈川県"}}));

    showHit("保谷市"); // leaves found-as X behind
    const SearchShow s = search.show(r, r.candidates[0], "横浜市", store, view, LoadOptions{}, {}, sink);
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(store.selectedAreas, std::vector<int>{13});
    EXPECT_TRUE(s.CBCityName);
    EXPECT_FALSE(s.CBKuName);
    EXPECT_FALSE(s.CBKu);
    EXPECT_EQ(s.label24Text, "");
    EXPECT_TRUE(search.last().designatedCityHit);
    EXPECT_EQ(search.last().searchedCityName, "横浜市");
    EXPECT_EQ(search.last().foundAs, FoundAs{});
}

TEST_F(SearchTest, PostAndPreMergerNamesSetTheOldBorderSwitches)
{
    const struct {
        const char* name;
        FoundAs found;
        bool oldBorders;
        const char* label;
        Color color;
    } cases[] = {{"西東京市", {false, true, false}, false, "新名称", 255}, {"保谷市", {false, false, true}, true, "旧名称", 65535}};
    for (const auto& c : cases) {
        const SearchShow s = showHit(c.name);
        ASSERT_TRUE(s.ok);
        EXPECT_EQ(search.last().foundAs, c.found) << c.name;
        EXPECT_EQ(s.CBNTownBorder, c.oldBorders) << c.name;
        EXPECT_EQ(s.CBOldTown, std::optional<bool>(c.oldBorders)) << c.name;
        EXPECT_EQ(s.label24Text, c.label);
        EXPECT_EQ(s.label24Color, c.color);
    }
}

TEST_F(SearchTest, TotalAreaSwitchAsksForPleaseWaitAndUsesTheAreaSize)
{
    const SearchResult r = search.find("那覇市", store, SearchSwitches{true, true});
    ASSERT_EQ(r.kind, SearchResultKind::Hit);
    EXPECT_EQ(r.pleaseWait, std::optional<std::string>("那覇市 の面積を計算しています"));
    const SearchShow s = search.show(r, r.candidates[0], "那覇市", store, view, LoadOptions{}, SearchSwitches{true, true}, sink);
    EXPECT_EQ(s.magCount, 17);
    EXPECT_EQ(s.magStep, 1.0f);
    EXPECT_EQ(s.magnificationLabel, "17.00");
    EXPECT_FALSE(search.find("那覇市", store, SearchSwitches{false, true}).pleaseWait);
}

TEST_F(SearchTest, FailedShowLeavesMapViewAndLastSearchAsTheyWere)
{
    ASSERT_TRUE(showHit("高松市").ok);
    const SearchResult r = search.find("府中市", store, {});
    ASSERT_EQ(r.kind, SearchResultKind::Choice);
    QFile::remove(QString::fromStdString(mapFilePath(31)));

    const ViewState before = view;
    const int names = store.commonNames.count();
    const SearchShow s = search.show(r, r.candidates[1], "府中市", store, view, LoadOptions{}, {}, sink);
    EXPECT_FALSE(s.ok);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0], (Message{"地図データファイルが見つかりません", "ファイルオープンエラー", MessageIcon::Exclamation}));
    EXPECT_EQ(store.selectedAreas, std::vector<int>{35});
    EXPECT_EQ(store.commonNames.count(), names);
    EXPECT_EQ(view.centerX, before.centerX);
    EXPECT_EQ(view.magCount, before.magCount);
    EXPECT_EQ(view.baseScale, before.baseScale);
    EXPECT_EQ(search.last().name, "高松市");
    EXPECT_EQ(history, std::vector<std::string>{"高松市"});

    // The vanished file is no longer a candidate; a failed find changes nothing either.
    EXPECT_EQ(search.find("府中市", store, {}).kind, SearchResultKind::Hit);
    EXPECT_EQ(search.find("広島", store, {}).kind, SearchResultKind::Message);
    EXPECT_EQ(search.last().name, "高松市");
}

TEST_F(SearchTest, IndexAnswersLikeTheFileScanAndFollowsRewrittenFiles)
{
    const int areasWithFiles = 12;
    search.find("高松市", store, {});
    EXPECT_EQ(search.index().filesRead(), areasWithFiles);
    for (const char* n : {"高松市", "北区", "府中市", "美里町", "保谷市", "西東京市", "関ヶ原町", "丸亀市", "ない町"}) {
        const std::string sjis = utf8ToSjis(n).value();
        std::vector<NameOccurrence> scanned;
        for (int area = 1; area <= kAreaCount; ++area) {
            const std::string bytes = test::readFileBytes(mapFilePath(area));
            if (auto o = scanMapText(bytes, area, sjis))
                scanned.push_back(*o);
        }
        EXPECT_EQ(search.index().occurrences(sjis), scanned) << n;
    }
    EXPECT_EQ(search.index().filesRead(), areasWithFiles); // nothing read again

    // A name editor moves 高松市 and adds a town: the rewritten file is read again.
    writeMap(35, mapText({{"A", 121000, 155500, "高松市"}, {"A", 118000, 153000, "丸亀市"}, {"A", 119000, 154000, "新町"}},
                         120000, 155000));
    const SearchResult r = search.find("高松市", store, {});
    EXPECT_EQ(r.candidates, (std::vector<SearchCandidate>{{35, 121000, 155500, "香川県"}}));
    EXPECT_EQ(search.find("新町", store, {}).kind, SearchResultKind::Hit);
    EXPECT_EQ(search.index().filesRead(), areasWithFiles + 1);
    search.invalidate(35);
    search.find("新町", store, {});
    EXPECT_EQ(search.index().filesRead(), areasWithFiles + 2);
}

TEST(SearchScanTest, OnlyNameRecordsOfTheirFirstLineCount)
{
    const std::string text = utf8ToSjis("K,1,1\n170000,150000\nA,1,2,高松\nXY,5,6,高松市\nA,7,8,高松市\n"
                                        "B,9,10\n,A,1,2,高松市\n")
                                 .value();
    const auto o = scanMapText(text, 35, utf8ToSjis("高松市").value());
    ASSERT_TRUE(o);
    EXPECT_EQ(*o, (NameOccurrence{35, 5, 6, 'X'}));
    EXPECT_FALSE(scanMapText(text, 35, utf8ToSjis("丸亀市").value()));
}
