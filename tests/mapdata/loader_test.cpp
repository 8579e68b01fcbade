#include "common/paths.h"
#include "mapdata/loader.h"
#include "support/testsupport.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

namespace oboro {
namespace {

// A program folder with map files and office location files written as Shift-JIS.
class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        setProgramFolder(dir.path());
    }
    void mapFile(int area, const std::string& text, bool withOffice = true)
    {
        char name[32];
        std::snprintf(name, sizeof name, "MAPDATA/%02d.MAP", area);
        test::writeSjisFile(dir.path(), name, text);
        if (withOffice && area != 52) {
            std::snprintf(name, sizeof name, "MAPDATA/OfficeLoc/%02d", area);
            test::writeSjisFile(dir.path(), std::string(name) + "市町村役場.lbl", "");
        }
    }
    bool load(const std::vector<int>& areas, LoadOptions opt = {}) { return loadMapFiles(store, areas, opt, sink); }
    std::vector<int32_t> words(LineKind k) const
    {
        std::vector<int32_t> w = store.line(k).words();
        return w;
    }
    int records(LineKind k) const
    {
        int r = 0;
        store.line(k).forEachRecord([&](int, const int32_t*) { ++r; });
        return r;
    }
    std::vector<std::string> texts() const
    {
        std::vector<std::string> t;
        for (const Message& m : sink.messages)
            t.push_back(m.text);
        return t;
    }

    QTemporaryDir dir;
    MapStore store;
    CollectingSink sink;
};

// A record of n points (i, 2i) for i = 1..n with the given kind, five pairs a line.
std::string record(char kind, int n, int base = 100000)
{
    std::string s = std::string(1, kind) + ",0," + std::to_string(n) + "\n";
    for (int i = 0; i < n; ++i) {
        s += std::to_string(base + i) + "," + std::to_string(base / 2 + i);
        s += (i % 5 == 4 || i == n - 1) ? "\n" : ",";
    }
    return s;
}

TEST_F(LoaderTest, RepeatedNamesWithinOneFileAreMarked)
{
    mapFile(1, "A,10,20,中央町\nA,11,21,中央町\nB,12,22,中央町\nX,1,2,本町\nX,3,4,本町\nZ\n");
    mapFile(2, "A,30,40,中央町\n");
    ASSERT_TRUE(load({1, 2}));
    ASSERT_EQ(store.commonNames.count(), 3);
    EXPECT_EQ(store.commonNames.entries[0].mark, 's');
    EXPECT_EQ(store.commonNames.entries[1].mark, 'd');
    EXPECT_EQ(store.commonNames.entries[2].mark, 's'); // another area's file
    EXPECT_EQ(store.commonNames.entries[1].x, 11);
    EXPECT_EQ(store.commonNames.entries[1].name, "中央町");
    ASSERT_EQ(store.newNames.count(), 1);
    EXPECT_EQ(store.newNames.entries[0].mark, 's'); // another table
    ASSERT_EQ(store.oldNames.count(), 2);
    EXPECT_EQ(store.oldNames.entries[1].mark, 'd');
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(LoaderTest, SevenPointRecordTakesTwoPointLines)
{
    mapFile(3, "C,0,7\n1,2,3,4,5,6,7,8,9,10\n11,12,13,14\nA,5,5,町\nP,x,1\n7,8\n");
    ASSERT_TRUE(load({3}));
    EXPECT_EQ(words(LineKind::Coast),
              (std::vector<int32_t>{7, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, kEndMarker}));
    EXPECT_EQ(store.line(LineKind::Coast).wordCount(), 15);
    EXPECT_EQ(words(LineKind::Pref), (std::vector<int32_t>{1, 7, 8, kEndMarker}));
    EXPECT_EQ(store.commonNames.count(), 1);
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(LoaderTest, KindsRulesAndTargets)
{
    struct Case {
        int area;
        char kind;
        bool subpref;
        bool preMerger;
        LineKind table;
        bool stored;
    };
    const Case cases[] = {
        {18, 'K', true, true, LineKind::Ku, false},         {18, 'K', true, false, LineKind::Ku, true},
        {17, 'K', true, true, LineKind::Ku, true},          {48, 'T', false, false, LineKind::Town, false},
        {48, 'T', true, false, LineKind::Town, true},       {47, 'W', true, false, LineKind::Pref, true},
        {47, 'W', true, false, LineKind::Lake, false},      {48, 'W', false, false, LineKind::Pref, false},
        {48, 'W', false, false, LineKind::Lake, false},     {5, 'W', true, false, LineKind::Lake, true},
        {5, 'W', false, false, LineKind::Lake, true},       {52, 'W', true, false, LineKind::Pref, true},
        {48, 'S', false, false, LineKind::HLake, true},     {48, 'C', false, false, LineKind::Coast, true},
        {49, 'N', false, false, LineKind::NTown, false},    {49, 'L', false, false, LineKind::LakeBorder, false},
        {49, 'Q', false, false, LineKind::LakePref, false}, {49, 'K', false, false, LineKind::Ku, false},
        {1, 'O', false, false, LineKind::OTown, true},      {1, 'U', true, true, LineKind::NewPref, true},
        {1, 'R', true, true, LineKind::OldPref, true},      {1, 'L', true, true, LineKind::LakeBorder, true},
        {1, 'Q', true, true, LineKind::LakePref, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.area) + c.kind);
        mapFile(c.area, record(c.kind, 3));
        ASSERT_TRUE(load({c.area}, LoadOptions{c.subpref, c.preMerger}));
        EXPECT_EQ(records(c.table), c.stored ? 1 : 0);
        // Stored or not, the points widen the extent.
        EXPECT_EQ(store.extent.minX, 99999);
        EXPECT_EQ(store.extent.maxX, 100002);
    }
}

TEST_F(LoaderTest, UnknownKindOnlyWidensTheExtent)
{
    mapFile(7, record('J', 2) + record('C', 1, 200000));
    ASSERT_TRUE(load({7}));
    int stored = 0;
    for (int k = 0; k < kLineKindCount; ++k)
        stored += records(static_cast<LineKind>(k));
    EXPECT_EQ(stored, 1);
    EXPECT_LT(store.extent.minX, 100000);
}

TEST(ExtentTest, WidensByThreePercentOfTheLargerSide)
{
    EXPECT_EQ(widenExtent(100000, 50000, 105000, 52000), (Extent{99850, 49850, 105150, 52150}));
    // m = 0.1f is slightly above 0.1, so the lower sides lose one more unit.
    EXPECT_EQ(widenExtent(100000, 50000, 101000, 50500), (Extent{99969, 49969, 101030, 50530}));
    // Far-out coordinates stay inside the 32-bit range.
    const Extent e = widenExtent(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    EXPECT_EQ(e.minX, INT32_MIN);
    EXPECT_EQ(e.maxY, INT32_MAX);
}

TEST_F(LoaderTest, ExtentOfLoadedPoints)
{
    mapFile(9, "C,0,2\n100000,50000,105000,52000\n");
    ASSERT_TRUE(load({9}));
    EXPECT_EQ(store.extent, (Extent{99850, 49850, 105150, 52150}));
    mapFile(9, "T,0,1\n100000,50000\nW,0,1\n101000,50500\n");
    ASSERT_TRUE(load({9}));
    EXPECT_EQ(store.extent, (Extent{99969, 49969, 101030, 50530}));
}

TEST_F(LoaderTest, ExactCapacityFillThenOverflow)
{
    // LAKE_PREF_LINE holds 200 words: records of 49 and 50 points fill it exactly.
    mapFile(1, record('Q', 49) + record('Q', 50));
    ASSERT_TRUE(load({1}));
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(store.line(LineKind::LakePref).wordCount(), 200);
    EXPECT_EQ(store.line(LineKind::LakePref).words().back(), kEndMarker);
    EXPECT_EQ(records(LineKind::LakePref), 2);

    // One more: dropped with the per-record message; no capacity message for this table.
    mapFile(1, record('Q', 49) + record('Q', 50) + record('Q', 1) + record('Q', 1));
    ASSERT_TRUE(load({1}));
    EXPECT_EQ(records(LineKind::LakePref), 2);
    EXPECT_EQ(sink.messages,
              (std::vector<Message>(2, Message{"湖水県境界線データが多すぎます", "データエラー", MessageIcon::None})));
}

TEST_F(LoaderTest, OverflowOfACheckedTableIsReportedAndTheLoadGoesOn)
{
    // KU_LINE holds 7000 words: three records of 1000 points and one of 498 fill it.
    const std::string full = record('K', 1000) + record('K', 1000) + record('K', 1000) + record('K', 498);
    mapFile(1, full + record('K', 1) + "A,1,1,町\n" + record('C', 2));
    ASSERT_TRUE(load({1}));
    EXPECT_EQ(store.line(LineKind::Ku).wordCount(), 7000);
    EXPECT_EQ(records(LineKind::Ku), 4);
    EXPECT_EQ(records(LineKind::Coast), 1);
    EXPECT_EQ(store.commonNames.count(), 1);
    EXPECT_EQ(sink.messages, (std::vector<Message>{
                                 {"行政区データが多すぎます", "データエラー", MessageIcon::None},
                                 {"KU_LINEを超過しました　　　　", "データ個数オーバー", MessageIcon::Exclamation}}));
}

TEST_F(LoaderTest, MissingFileLeavesTheStoreAsItWas)
{
    mapFile(1, "A,1,2,町\n" + record('C', 4));
    ASSERT_TRUE(load({1}));
    const std::vector<int32_t> coast = words(LineKind::Coast);
    const Extent extent = store.extent;
    ASSERT_EQ(coast.size(), 10u);

    std::string missing;
    mapFile(3, record('C', 2, 300000));
    EXPECT_FALSE(loadMapFiles(store, {1, 2, 3}, {}, sink, &missing));
    EXPECT_EQ(QFileInfo(QString::fromStdString(missing)).fileName(), "02.MAP");
    // An office location file missing fails the same way.
    mapFile(2, record('C', 2), false);
    EXPECT_FALSE(loadMapFiles(store, {1, 2}, {}, sink, &missing));
    EXPECT_TRUE(missing.find("02市町村役場.lbl") != std::string::npos) << missing;

    EXPECT_EQ(words(LineKind::Coast), coast);
    EXPECT_EQ(store.extent, extent);
    EXPECT_EQ(store.commonNames.count(), 1);
    EXPECT_EQ(store.selectedAreas, std::vector<int>{1});
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(LoaderTest, OfficeLocationsOfEveryAreaButTheNorthernIslands)
{
    mapFile(52, record('C', 1)); // no office location file exists for 52
    mapFile(12, record('C', 1));
    test::writeSjisFile(dir.path(), "MAPDATA/OfficeLoc/12市町村役場.lbl",
                        "○,1000,2000,千代田区役所,8\n◎,3,4,とても長い名前の市町村役場の所在地ですよ,9\n"
                        "○,x,4,役場,8\n○,1,2\n");
    ASSERT_TRUE(load({12, 52}));
    ASSERT_EQ(store.officeLocations.size(), 2u);
    EXPECT_EQ(store.officeLocations[0].mark, "○");
    EXPECT_EQ(store.officeLocations[0].x, 1000);
    EXPECT_EQ(store.officeLocations[0].text, "千代田区役所");
    EXPECT_EQ(store.officeLocations[0].size, 8);
    EXPECT_EQ(store.officeLocations[1].text, "とても長い名前の市町村役場の所"); // cut to 31 bytes
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_NE(sink.messages[0].text.find("12市町村役場.lbl"), std::string::npos) << sink.messages[0].text;
    EXPECT_NE(sink.messages[0].text.find("3 行目"), std::string::npos);
    EXPECT_NE(sink.messages[0].text.find("4 行目"), std::string::npos);
}

TEST_F(LoaderTest, MalformedLinesAreReportedWithTheirNumbersAndSkipped)
{
    struct Case {
        std::string text;
        std::string line; // "N 行目" in the message
    };
    const std::string longLine = "A,1,1," + std::string(93, 'x') + "\n"; // 99 bytes
    const Case cases[] = {
        {longLine, "1 行目"},
        {"C,0,2\n" + std::string(95, '1') + ",2,3,4\n", "2 行目"},
        {"A,1,1,町\nC,0,1001\n1,2\n", "2 行目"},
        {"C,0,0\n", "1 行目"},
        {"C,0,-5\n1,2\n", "1 行目"},
        {"C,0\n1,2\n", "1 行目"},
        {"C,0,2\n1,2,3,y\n", "2 行目"},
        {"C,0,6\n1,2,3,4,5,6,7,8\n9,10\n", "2 行目"},
        {"A,1,1,町\nA,1,1,町\nP,0,3\n1,2\n", "4 行目"},
        {"X,a,1,町\n", "1 行目"},
        {"B,1,1\n", "1 行目"},
        {"C,0,7\n1,2,3,4,5,6,7,8,9,10\n", "1 行目"},           // the file ends inside the record
        {"C,0,7\n1,2,3,4,5,6,7,8,9,10\nA,1,1,村\n", "1 行目"}, // the next record starts too early
        {"C,0,2\n1,2,99999999999,4\n", "2 行目"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        sink.messages.clear();
        mapFile(4, c.text + "C,0,1\n7,8\nA,5,6,終\n");
        ASSERT_TRUE(load({4}));
        ASSERT_EQ(sink.messages.size(), 1u);
        const Message& m = sink.messages[0];
        EXPECT_EQ(m.title, "データファイルエラー");
        EXPECT_NE(m.text.find("04.MAP"), std::string::npos) << m.text;
        EXPECT_NE(m.text.find(c.line), std::string::npos) << m.text;
        // The good record and name after the fault are read.
        ASSERT_GE(records(LineKind::Coast), 1);
        EXPECT_EQ(words(LineKind::Coast).end()[-3], 7);
        ASSERT_GE(store.commonNames.count(), 1);
        EXPECT_EQ(store.commonNames.entries.back().name, "終");
    }
}

TEST_F(LoaderTest, CrLfLinesAndBlanksAreRead)
{
    test::writeFile(dir.path(), "MAPDATA/05.MAP", "C 0 2\r\n 1,2 3\t4\r\nZ\r\n");
    test::writeFile(dir.path(), "MAPDATA/OfficeLoc/05市町村役場.lbl", "");
    ASSERT_TRUE(load({5}));
    EXPECT_TRUE(sink.messages.empty()) << texts()[0];
    EXPECT_EQ(words(LineKind::Coast), (std::vector<int32_t>{2, 1, 2, 3, 4, kEndMarker}));
}

TEST_F(LoaderTest, FullNameTableKeepsWhatFits)
{
    std::string text;
    for (int i = 0; i < 2002; ++i)
        text += "B,1,1,n" + std::to_string(i) + "\n";
    mapFile(6, text);
    ASSERT_TRUE(load({6}));
    EXPECT_EQ(store.newNames.count(), 2000);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].title, "データエラー");
}

TEST(LineTableTest, EmptyTableWalkVisitsNothing)
{
    MapStore s;
    for (const LineTable& t : s.lines) {
        EXPECT_EQ(t.words(), std::vector<int32_t>{kEndMarker});
        int visited = 0;
        t.forEachRecord([&](int, const int32_t*) { ++visited; });
        EXPECT_EQ(visited, 0);
    }
}

TEST_F(LoaderTest, DataDateIsTheNewestMapFileDate)
{
    EXPECT_EQ(scanDataDate(), 0);
    mapFile(1, "Z\n");
    mapFile(52, "Z\n");
    auto touch = [&](const char* name, QDate d) {
        QFile f(dir.path() + "/MAPDATA/" + name);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime(d, QTime(12, 0)), QFileDevice::FileModificationTime));
    };
    touch("01.MAP", QDate(2010, 3, 31));
    touch("52.MAP", QDate(2021, 1, 1));
    EXPECT_EQ(scanDataDate(), 410101);
    EXPECT_EQ(formatDataDate(410101), "2021/01/01");
}

} // namespace
} // namespace oboro

namespace oboro {
namespace {

// The bundled data of all Japan: every area alone and all 52 together load without a
// message and within every table's capacity, with one name record per municipality and
// ward, all inside the extent of Japan.
TEST(BundledMapData, EveryAreaAndAllTogetherFitTheTables)
{
    setProgramFolder(test::bundledDataDir());
    std::vector<int> all;
    int names = 0;
    for (int a = 1; a <= kAreaCount; ++a) {
        all.push_back(a);
        MapStore store;
        CollectingSink sink;
        ASSERT_TRUE(loadMapFiles(store, {a}, LoadOptions{}, sink)) << "area " << a;
        for (const Message& m : sink.messages)
            ADD_FAILURE() << "area " << a << ": " << m.title << ": " << m.text;
        EXPECT_GT(store.line(LineKind::Coast).wordCount() + store.line(LineKind::Pref).wordCount(), 0) << a;
        names += store.commonNames.count();
    }
    EXPECT_EQ(names, 1902); // the municipalities and wards of the 2021 data

    MapStore store;
    CollectingSink sink;
    ASSERT_TRUE(loadMapFiles(store, all, LoadOptions{}, sink));
    for (const Message& m : sink.messages)
        ADD_FAILURE() << m.title << ": " << m.text;
    for (int k = 0; k < kLineKindCount; ++k) {
        const LineTable& t = store.lines[k];
        EXPECT_FALSE(t.overflowed()) << lineTableInfo(static_cast<LineKind>(k)).constantName;
        EXPECT_LE(t.wordCount(), t.capacity()) << lineTableInfo(static_cast<LineKind>(k)).constantName;
    }
    EXPECT_GT(store.line(LineKind::Town).wordCount(), 100000);
    EXPECT_GT(store.line(LineKind::Ku).wordCount(), 1000);
    EXPECT_EQ(store.commonNames.count(), names);
    // Japan lies within 122°–154°E and 20°–46°N.
    EXPECT_GE(store.extent.minX, -10000);
    EXPECT_LE(store.extent.maxX, 330000);
    EXPECT_GE(store.extent.minY, -70000);
    EXPECT_LE(store.extent.maxY, 340000);
    for (const NameEntry& e : store.commonNames.entries) {
        EXPECT_TRUE(e.x >= store.extent.minX && e.x <= store.extent.maxX && e.y >= store.extent.minY &&
                    e.y <= store.extent.maxY)
            << e.name;
    }
}

} // namespace
} // namespace oboro
