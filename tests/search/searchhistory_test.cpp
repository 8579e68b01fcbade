// The search history: order, limit, deletions, the file and its faults.
#include "common/textfile.h"
#include "search/searchhistory.h"
#include "support/filesizelimit.h"
#include "support/testsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace oboro;

namespace {

std::vector<std::string> numbered(int n, const char* stem = "名")
{
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%s%02d市", stem, i);
        out.push_back(buf);
    }
    return out;
}

std::string sjis(const std::string& utf8) { return utf8ToSjis(utf8).value(); }

struct SearchHistoryTest : ::testing::Test {
    QTemporaryDir dir;
    CollectingSink sink;
    SearchHistory h;
    std::string path() const { return dir.path().toStdString() + "/townlist.lst"; }
    void addAll(const std::vector<std::string>& names)
    {
        for (const std::string& n : names)
            h.add(n, sink);
    }
};

TEST_F(SearchHistoryTest, TimeOrderPutsNewNamesOnTopAndComparesOnlyTheVisibleRows)
{
    addAll({"府中市", "横浜市", "金ヶ崎町"});
    EXPECT_EQ(h.names(), (std::vector<std::string>{"金ヶ崎町", "横浜市", "府中市"}));
    // Already there: not moved.
    EXPECT_FALSE(h.add("府中市", sink));
    EXPECT_EQ(h.names().front(), "金ヶ崎町");

    // Position 15 is below the 12 compared rows: the name comes again on top.
    SearchHistory g;
    for (const std::string& n : numbered(16))
        g.add(n, sink);
    ASSERT_EQ(g.names()[15], "名00市");
    EXPECT_TRUE(g.add("名00市", sink));
    EXPECT_EQ(g.names().front(), "名00市");
    EXPECT_EQ(g.names().size(), 17u);
    EXPECT_FALSE(g.add("名05市", sink)); // the 12th row: compared
    EXPECT_TRUE(g.add("名04市", sink));  // the 13th: not
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(SearchHistoryTest, FiftyEntriesAtMostInEitherOrder)
{
    addAll(numbered(50));
    ASSERT_EQ(h.names().size(), 50u);
    EXPECT_EQ(h.names().back(), "名00市");
    h.add("新しい町", sink);
    EXPECT_EQ(h.names().size(), 50u);
    EXPECT_EQ(h.names().front(), "新しい町");
    EXPECT_EQ(h.names().back(), "名01市"); // the oldest fell off

    SearchHistory text;
    text.restoreOrder(HistoryOrder::Text);
    for (const std::string& n : numbered(50, "B"))
        text.add(n, sink);
    text.add("A市", sink);
    ASSERT_EQ(text.names().size(), 50u);
    EXPECT_EQ(text.names().front(), "A市");
    EXPECT_EQ(text.names().back(), "B48市"); // B49市, last in sorted order, dropped
    EXPECT_TRUE(std::is_sorted(text.names().begin(), text.names().end(), historyTextLess));
}

TEST_F(SearchHistoryTest, TextOrderIsShiftJisOrderWithoutDuplicates)
{
    // Shift-JIS puts ASCII, then kana (ア 0x8341), then kanji (亜 0x889F, 北 0x966B).
    EXPECT_TRUE(historyTextLess("Z", "アイ町"));
    EXPECT_TRUE(historyTextLess("アイ町", "亜市"));
    EXPECT_TRUE(historyTextLess("亜市", "北区"));
    h.load(path(), sink);
    addAll({"北区", "亜市", "北区", "アイ町"});
    // 北区 was among the compared rows when it came again: three entries.
    ASSERT_EQ(h.names().size(), 3u);
    h.add("亜市", sink);
    h.setOrder(HistoryOrder::Text, sink);
    EXPECT_EQ(h.names(), (std::vector<std::string>{"アイ町", "亜市", "北区"}));
    EXPECT_EQ(test::readFileBytes(path()), sjis("アイ町\r\n亜市\r\n北区\r\n"));
    h.add("横浜市", sink);
    EXPECT_EQ(h.names(), (std::vector<std::string>{"アイ町", "亜市", "横浜市", "北区"}));
    // Back to time order: the entries stay, new ones go on top.
    h.setOrder(HistoryOrder::Time, sink);
    h.add("府中市", sink);
    EXPECT_EQ(h.names().front(), "府中市");
}

TEST_F(SearchHistoryTest, DeletingAnEntryLeavesTheListSortedInTheFile)
{
    h.load(path(), sink);
    addAll({"北区", "亜市", "横浜市", "アイ町"});
    EXPECT_FALSE(h.remove(9, sink));
    ASSERT_TRUE(h.remove(1, sink)); // 横浜市
    EXPECT_EQ(h.names(), (std::vector<std::string>{"アイ町", "亜市", "北区"}));
    EXPECT_EQ(test::readFileBytes(path()), sjis("アイ町\r\n亜市\r\n北区\r\n"));
    h.clear();
    EXPECT_TRUE(h.names().empty());
    EXPECT_EQ(test::readFileBytes(path()), sjis("アイ町\r\n亜市\r\n北区\r\n")); // written at exit only
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(SearchHistoryTest, SavedListReadsBackAndAMissingFileIsEmpty)
{
    h.load(path(), sink);
    EXPECT_TRUE(h.names().empty());
    addAll({"髙島市", "府中市", "金ケ崎町"});
    ASSERT_TRUE(h.save(path(), sink));
    SearchHistory again;
    again.load(path(), sink);
    EXPECT_EQ(again.names(), h.names());
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(SearchHistoryTest, BadLinesAreSkippedWithOneMessageAndTheRestIsKept)
{
    const std::string bytes = sjis("府中市\r\n") + "\x82\xA0\x82\r\n" + "\r\n" + std::string(99, 'a') + "\r\n" +
                              "bad\x01name\r\n" + sjis("横浜市");
    test::writeFile(dir.path(), "townlist.lst", bytes);
    h.load(path(), sink);
    EXPECT_EQ(h.names(), (std::vector<std::string>{"府中市", "横浜市"}));
    ASSERT_EQ(sink.messages.size(), 1u);
    const Message& m = sink.messages[0];
    EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    EXPECT_NE(m.text.find("townlist.lst"), std::string::npos);
    for (const char* line : {"2 行目", "4 行目", "5 行目"})
        EXPECT_NE(m.text.find(line), std::string::npos) << line << " in " << m.text;
    EXPECT_EQ(m.text.find("3 行目"), std::string::npos); // an empty line is no fault
    // More than 50 lines: the first 50 are the list.
    std::string many;
    for (const std::string& n : numbered(60))
        many += sjis(n) + "\r\n";
    test::writeFile(dir.path(), "townlist.lst", many);
    h.load(path(), sink);
    const std::vector<std::string> all = numbered(60);
    EXPECT_EQ(h.names(), std::vector<std::string>(all.begin(), all.begin() + 50));
}

TEST_F(SearchHistoryTest, NamesTheFileCannotHoldAreRefusedWhole)
{
    addAll({"府中市"});
    // 49 two-byte characters are 98 bytes: the longest line; one more is refused, not cut.
    std::string longest;
    for (int i = 0; i < 49; ++i)
        longest += "町";
    EXPECT_TRUE(h.add(longest, sink));
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_FALSE(h.add(longest + "町", sink));
    EXPECT_FALSE(h.add("x" + longest, sink));
    EXPECT_FALSE(h.add("한국", sink)); // no Shift-JIS form
    ASSERT_EQ(sink.messages.size(), 3u);
    for (const Message& m : sink.messages)
        EXPECT_EQ(m.title, "検索履歴エラー");
    EXPECT_EQ(h.names(), (std::vector<std::string>{longest, "府中市"}));
    ASSERT_TRUE(h.save(path(), sink));
    EXPECT_EQ(test::readFileBytes(path()), sjis(longest + "\r\n府中市\r\n"));
}

TEST_F(SearchHistoryTest, AFullDiskKeepsTheOldFile)
{
    addAll(numbered(30));
    ASSERT_TRUE(h.save(path(), sink));
    const std::string before = test::readFileBytes(path());
    h.add("新しい町", sink);
    {
        test::FileSizeLimit full(64);
        ASSERT_TRUE(full.active());
        EXPECT_FALSE(h.save(path(), sink));
    }
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].title, "検索履歴エラー");
    EXPECT_NE(sink.messages[0].text.find(path()), std::string::npos);
    EXPECT_EQ(test::readFileBytes(path()), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    EXPECT_EQ(h.names().front(), "新しい町"); // the list itself is kept for the next write
}

} // namespace
