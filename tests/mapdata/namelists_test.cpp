#include "common/paths.h"
#include "mapdata/namelists.h"
#include "support/testsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace oboro {
namespace {

class NameListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        setProgramFolder(dir.path());
    }
    QTemporaryDir dir;
    MapStore store;
    CollectingSink sink;
};

TEST_F(NameListTest, DesignatedCityList)
{
    test::writeSjisFile(dir.path(), "MapData/CityList.txt",
                        "さいたま市,113000,174000,10,0\n\n浜松市,107000,127000,18,7\n堺市,x,-5,26,abc\n");
    readDesignatedCityList(store, sink);
    EXPECT_TRUE(sink.messages.empty());
    ASSERT_EQ(store.designatedCities.size(), 3u);
    EXPECT_EQ(store.designatedCities[0].name, "さいたま市");
    EXPECT_EQ(store.designatedCities[0].x, 113000);
    EXPECT_EQ(store.designatedCities[0].y, 174000);
    EXPECT_EQ(store.designatedCities[0].area, 10);
    EXPECT_EQ(store.designatedCities[0].flag, 0);
    EXPECT_EQ(store.designatedCities[1].flag, 1); // any value but 0 is stored as 1
    EXPECT_EQ(store.designatedCities[2].x, 0);    // the lenient conversion
    EXPECT_EQ(store.designatedCities[2].y, -5);
    EXPECT_EQ(store.designatedCities[2].flag, 0);
}

TEST_F(NameListTest, DuplicateNameListTags)
{
    test::writeSjisFile(dir.path(), "MAPDATA/EXTRA.TXT",
                        "13,中央区,東京都,139000,53000,X1\n"
                        "27,北区,大阪市,135000,52000\n" // written by the position editor: no tag
                        "40,中央区,福岡市,130000,49000,\n"
                        "1,東町,上郡,1,2,B\n");
    readDuplicateNameList(store, sink);
    EXPECT_TRUE(sink.messages.empty());
    ASSERT_EQ(store.duplicateNames.size(), 4u);
    const DuplicateNameEntry& e = store.duplicateNames[0];
    EXPECT_EQ(e.area, 13);
    EXPECT_EQ(e.name, "中央区");
    EXPECT_EQ(e.cityName, "東京都");
    EXPECT_EQ(e.x, 139000);
    EXPECT_EQ(e.y, 53000);
    EXPECT_EQ(e.tag, 'X');
    EXPECT_EQ(store.duplicateNames[1].tag, '\0');
    EXPECT_EQ(store.duplicateNames[2].tag, '\0');
    EXPECT_EQ(store.duplicateNames[3].tag, 'B');
    EXPECT_TRUE(inDuplicateList(store, "北区"));
    EXPECT_TRUE(inDuplicateList(store, "東町"));
    EXPECT_FALSE(inDuplicateList(store, "北"));
    EXPECT_FALSE(inDuplicateList(store, "上郡"));
}

TEST_F(NameListTest, MissingFiles)
{
    store.duplicateNames.push_back({});
    readDesignatedCityList(store, sink);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_TRUE(store.designatedCities.empty());
    readDuplicateNameList(store, sink);
    EXPECT_TRUE(store.duplicateNames.empty());
    EXPECT_EQ(sink.messages,
              (std::vector<Message>{{"重複市町村名データファイル 'Extra.txt' が 'MapData'フォルダの中にありません",
                                     "ファイルオープンエラー", MessageIcon::Exclamation}}));
}

TEST_F(NameListTest, MalformedLinesAreReportedAndSkipped)
{
    test::writeFile(dir.path(), "MAPDATA/EXTRA.TXT",
                    "13,\x92\x86\x89\x9b\x8b\xe6,x,1,2\n" // 中央区 in Shift-JIS
                    "13,short\n"
                    "13,\x81,x,1,2\n" // a lone lead byte
                    "14,ok,x,1,2\n");
    readDuplicateNameList(store, sink);
    ASSERT_EQ(store.duplicateNames.size(), 2u);
    EXPECT_EQ(store.duplicateNames[0].name, "中央区");
    EXPECT_EQ(store.duplicateNames[1].name, "ok");
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_NE(sink.messages[0].text.find("EXTRA.TXT"), std::string::npos);
    EXPECT_NE(sink.messages[0].text.find("2 行目"), std::string::npos);
    EXPECT_NE(sink.messages[0].text.find("3 行目"), std::string::npos);
}

} // namespace
} // namespace oboro
