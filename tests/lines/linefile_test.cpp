// Map line files: the written form, round trips, and malformed files refused with the
// file and line named.
#include "common/textfile.h"
#include "lines/linefile.h"
#include "support/testsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace oboro;

namespace {

LineData routeWithBreak()
{
    LineData d;
    d.style = LineStyle{0x0000FF, 2, 1, 2, 20, 3};
    d.points = {{1200, 3400}, {1300, 3500}, {0, 0}, {-5, 7}, {1234567, 2345}};
    return d;
}

} // namespace

TEST(LineFile, WritesTheHeaderAndRightAlignedPointLines)
{
    const std::vector<std::string> lines = formatLineFile(routeWithBreak());
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "K,    1,    5,255,2,1,2,20,3//K/1/Points/Color/LineType/Size/Arrow/Asize/Step");
    EXPECT_EQ(lines[1], "   1200,   3400");
    EXPECT_EQ(lines[3], "      0,      0"); // the break
    EXPECT_EQ(lines[4], "     -5,      7");
    EXPECT_EQ(lines[5], "1234567,   2345");
}

TEST(LineFile, RoundTripsThroughAFile)
{
    QTemporaryDir dir;
    const std::string path = (dir.path() + "/route.adl").toStdString();
    CollectingSink sink;
    ASSERT_TRUE(writeLineFile(path, routeWithBreak(), sink));
    const std::optional<LineData> back = readLineFile(path, sink);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, routeWithBreak());
    EXPECT_TRUE(sink.messages.empty());
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("route.adl")});
}

TEST(LineFile, ReadsPackedPointLinesAndStopsAtTheCount)
{
    // Four or more fields hold up to five points; the header's count ends the reading,
    // and a file shorter than the count ends it too.
    const LineFileParse p = parseLineFile({"K,1,6,0,0,1,0,12,0", "1,2,3,4,5,6,7,8,9,10,11,12", "13,14", "15,16",
                                           "this line is never read"});
    ASSERT_TRUE(p.data);
    EXPECT_EQ(p.data->points, (std::vector<QPoint>{{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}, {13, 14}}));
    const LineFileParse hex = parseLineFile({"K,1,1,0x000000ff,0,1,0,12,0", "1,2"});
    ASSERT_TRUE(hex.data);
    EXPECT_EQ(hex.data->style.color, 0x0000FFu);
    const LineFileParse shorter = parseLineFile({"K,1,99,0,0,1,0,12,0", "1,2", "3,4"});
    ASSERT_TRUE(shorter.data);
    EXPECT_EQ(shorter.data->points.size(), 2u);
}

TEST(LineFile, MalformedLinesNameTheLineAndTheFault)
{
    struct Case {
        std::vector<std::string> lines;
        int badLine;
        const char* reason;
    };
    const Case cases[] = {
        {{}, 1, "見出し行がありません"},
        {{"K,1,2,0,0,1"}, 1, "見出し行の項目が足りません（9 項目必要です）"},
        {{"K,1,two,0,0,1,0,12,0"}, 1, "見出し行の点の数が数ではありません"},
        {{"K,1,2,0,7,1,0,12,0"}, 1, "見出し行の線種は 0 から 4 までです"},
        {{"K,1,2,0,0,21,0,12,0"}, 1, "見出し行の線サイズは 1 から 20 までです"},
        {{"K,1,2,0,0,0,0,12,0"}, 1, "見出し行の線サイズは 1 から 20 までです"},
        {{"K,1,2,0,0,1,3,12,0"}, 1, "見出し行の矢印は 0 から 2 までです"},
        {{"K,1,2,0,0,1,1,4,0"}, 1, "見出し行の矢印サイズは 5 から 50 までです"},
        {{"K,1,2,0,0,1,1,12,201"}, 1, "見出し行のステップは 0 から 200 までです"},
        {{"K,1,2,16777216,0,1,0,12,0"}, 1, "見出し行の色は 0 から 16777215 までです"},
        {{"K,1,2,0,0,1,0,12,0", "100"}, 2, "点の行は x,y の 2 項目です"},
        {{"K,1,2,0,0,1,0,12,0", "100,200", ""}, 3, "点の行は x,y の 2 項目です"},
        {{"K,1,2,0,0,1,0,12,0", "100,abc"}, 2, "座標値が整数ではありません"},
        {{"K,1,3,0,0,1,0,12,0", "1,2", "3,4,5,x"}, 3, "座標値が整数ではありません"},
        {{"K,1,2,0,0,1,0,12,0", "99999999999,1"}, 2, "座標値が整数ではありません"},
    };
    for (const Case& c : cases) {
        const LineFileParse p = parseLineFile(c.lines);
        EXPECT_FALSE(p.data) << c.reason;
        EXPECT_EQ(p.badLine, c.badLine) << c.reason;
        EXPECT_EQ(p.reason, c.reason);
    }
}

TEST(LineFile, UnreadableFilesAreReportedByNameAndLine)
{
    QTemporaryDir dir;
    CollectingSink sink;
    const std::string bad = test::writeFile(dir.path(), "bad.adl", "K,1,2,0,0,1,0,12,0\n10,20\n30;40\n");
    EXPECT_FALSE(readLineFile(bad, sink));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0],
              (Message{"地図線ファイル " + bad + " の 3 行目を読めません\n点の行は x,y の 2 項目です",
                       kLineFileReadTitle, MessageIcon::Exclamation}));
    EXPECT_FALSE(readLineFile(dir.path().toStdString() + "/missing.adl", sink));
    ASSERT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(sink.messages[1].title, kLineFileReadTitle);
    EXPECT_NE(sink.messages[1].text.find("missing.adl"), std::string::npos);
}

TEST(LineFile, AFailedWriteKeepsTheOldFile)
{
    QTemporaryDir dir;
    CollectingSink sink;
    const std::string path = (dir.path() + "/keep.adl").toStdString();
    ASSERT_TRUE(writeLineFile(path, routeWithBreak(), sink));
    const std::string before = test::readFileBytes(path);
    // A folder that does not exist: nothing can be written.
    EXPECT_FALSE(writeLineFile(dir.path().toStdString() + "/no/such/folder/x.adl", routeWithBreak(), sink));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].title, kLineFileWriteTitle);
    EXPECT_EQ(test::readFileBytes(path), before);
}
