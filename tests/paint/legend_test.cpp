// Legend files: the written lines, the round trip, and the files that are refused whole.
#include "app/mapsession.h"
#include "common/textfile.h"
#include "paint/legend.h"
#include "support/testsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace oboro;

namespace {

LegendSettings sample()
{
    LegendSettings s;
    s.rowCount = 5;
    s.sampleWidth = 60;
    s.sampleHeight = 20;
    s.gap = 7;
    s.x = 320;
    s.y = 410;
    s.fontSize = 14;
    s.textColor = 0x123456;
    s.frameColor = 0x0000FF;
    s.fillColor = 0xEEFFDD;
    s.title = "人口 増加率（％）";
    s.rows[0] = {0x00FF00, 0, "10 以上"};
    s.rows[1] = {0xFF0000, 2, "5 - 10, 横線"};
    s.rows[2] = {0x808080, 7, "0 - 5"};
    s.rows[3] = {0x000000, 4, "減少"};
    s.rows[4] = {0xFFFFFF, 6, "　データなし　"};
    return s;
}

// The legend of a file of these lines, read over the default settings.
struct Read {
    std::optional<LegendSettings> s;
    std::vector<Message> messages;
};

Read readLines(const QTemporaryDir& dir, const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& l : lines)
        text += l + "\n";
    const std::string path = test::writeSjisFile(dir.path(), "bad.exp", text);
    CollectingSink sink;
    Read r;
    r.s = readLegendFile(path, LegendSettings{}, sink);
    r.messages = sink.messages;
    return r;
}

std::vector<std::string> goodLines() { return legendFileLines(sample()); }

} // namespace

TEST(LegendFile, LinesAreWrittenAsTheFormatSays)
{
    LegendSettings s;
    s.rows[1] = {0x00FF00, 3, "説明 二"};
    s.title = "題";
    const std::vector<std::string> lines = legendFileLines(s);
    const std::vector<std::string> expected = {
        "         3", "        40", "        15", "         3", "        50", "        50", "        10",
        "0x00000000", "0x00000000", "0x00ffffff", "題",
        // Rows start as the standard paint colours, solid.
        "0x00c0e474,0x00000000,　説　明　１", "0x0000ff00,0x00000003,説明 二", "0x0000ff00,0x00000000,　説　明　３"};
    EXPECT_EQ(lines, expected);
}

TEST(LegendFile, WrittenFileReadsBackTheSame)
{
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/凡例.exp";
    CollectingSink sink;
    const LegendSettings s = sample();
    ASSERT_TRUE(writeLegendFile(path, s, sink));
    // Shift-JIS, "\n" after each line.
    const std::string bytes = test::readFileBytes(path);
    EXPECT_EQ(bytes.substr(0, 11), "         5\n");
    EXPECT_NE(bytes.find(utf8ToSjis("0x0000ff00,0x00000000,10 以上\n").value()), std::string::npos);

    // Read over other settings: what the file holds comes back; the switches and the
    // samples of rows beyond the row count are the base's, their descriptions empty.
    LegendSettings base;
    base.titleShown = false;
    base.boldFrame = false;
    base.rows[6].color = 0x424242;
    const std::optional<LegendSettings> back = readLegendFile(path, base, sink);
    ASSERT_TRUE(back.has_value());
    EXPECT_TRUE(sink.messages.empty());
    LegendSettings expected = s;
    expected.titleShown = false;
    expected.boldFrame = false;
    for (int r = 5; r < kLegendRows; ++r)
        expected.rows[r] = LegendRow{base.rows[r].color, base.rows[r].pattern, ""};
    EXPECT_EQ(*back, expected);
    // A title with a blank and descriptions with blanks and commas are kept whole.
    EXPECT_EQ(back->title, "人口 増加率（％）");
    EXPECT_EQ(back->rows[1].text, "5 - 10, 横線");
}

TEST(LegendFile, HexAndDecimalValuesAndTheLowByteOfPatternsAreRead)
{
    QTemporaryDir dir;
    std::vector<std::string> lines = {"2", " 20 ", "10", "0", "0", "600", "40", "255", "0xff00", "16777215", "題名"};
    lines.push_back("65280, 0x0102 ,  一番目");
    lines.push_back("0x00ff0000,5");
    const Read r = readLines(dir, lines);
    ASSERT_TRUE(r.s.has_value()) << (r.messages.empty() ? "" : r.messages[0].text);
    EXPECT_EQ(r.s->rowCount, 2);
    EXPECT_EQ(r.s->sampleWidth, 20);
    EXPECT_EQ(r.s->y, 600);
    EXPECT_EQ(r.s->textColor, 0x0000FFu);
    EXPECT_EQ(r.s->frameColor, 0x00FF00u);
    EXPECT_EQ(r.s->fillColor, 0xFFFFFFu);
    EXPECT_EQ(r.s->rows[0], (LegendRow{0x00FF00, 2, "一番目"}));
    EXPECT_EQ(r.s->rows[1], (LegendRow{0xFF0000, 5, ""}));
    // Rows 3..8 lose their descriptions.
    EXPECT_EQ(r.s->rows[2].text, "");
}

TEST(LegendFile, MalformedFilesAreRefusedNamingTheLine)
{
    struct Case {
        const char* what;
        size_t line;              // 1-based line to replace (0: cut the file after `keep` lines)
        const char* text;
        size_t keep;
        int badLine;              // the line the message names
    };
    const Case cases[] = {
        {"row count not a number", 1, "三", 0, 1},
        {"row count 0", 1, "0", 0, 1},
        {"row count 9", 1, "9", 0, 1},
        {"width below its range", 2, "19", 0, 2},
        {"height above its range", 3, "51", 0, 3},
        {"gap negative", 4, "-1", 0, 4},
        {"x beyond 600", 5, "601", 0, 5},
        {"y with trailing text", 6, "50px", 0, 6},
        {"font size too small", 7, "5", 0, 7},
        {"text colour not a colour", 8, "黒", 0, 8},
        {"frame colour beyond 24 bits", 9, "0x01000000", 0, 9},
        {"fill colour empty", 10, "", 0, 10},
        {"title too long", 11, "", 0, 11},
        {"row without commas", 12, "0x00ff0000", 0, 12},
        {"row colour bad", 13, "red,0,説明", 0, 13},
        {"row pattern 1 (no fill)", 14, "0x00ff0000,1,説明", 0, 14},
        {"row pattern not a number", 15, "0x00ff0000,斜線,説明", 0, 15},
        {"file ends before the rows", 0, "", 13, 14},
        {"file ends before the title", 0, "", 9, 10},
        {"empty file", 0, "", 0, 1},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> lines = goodLines();
        if (c.line > 0)
            lines[c.line - 1] = c.text;
        else
            lines.resize(c.keep);
        if (std::string(c.what) == "title too long")
            lines[10] = std::string(50, 'A') + std::string(25, 'B') + "あいうえおかきくけこあいう"; // 101 bytes
        const Read r = readLines(dir, lines);
        EXPECT_FALSE(r.s.has_value());
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.messages[0].title, kLegendFileErrorTitle);
        EXPECT_NE(r.messages[0].text.find("bad.exp の " + std::to_string(c.badLine) + " 行目"), std::string::npos)
            << r.messages[0].text;
        EXPECT_EQ(r.messages[0].icon, MessageIcon::Exclamation);
    }
}

TEST(LegendFile, RefusedFilesLeaveTheSessionsLegendAsItWas)
{
    QTemporaryDir dir;
    CollectingSink sink;
    MapSession session(sink);
    session.legend = sample();
    session.legendFile = "前.exp";
    const LegendSettings before = session.legend;

    std::vector<std::string> bad = goodLines();
    bad[13] = "0x00ff0000,9,説明";
    std::string text;
    for (const std::string& l : bad)
        text += l + "\n";
    const std::string malformed = test::writeSjisFile(dir.path(), "malformed.exp", text);
    const std::string notSjis = test::writeFile(dir.path(), "binary.exp", "         3\n\x81\x20\xff\n");
    const std::string missing = dir.path().toStdString() + "/none.exp";
    for (const std::string& path : {malformed, notSjis, missing}) {
        SCOPED_TRACE(path);
        sink.messages.clear();
        EXPECT_FALSE(session.readLegend(path));
        EXPECT_EQ(session.legend, before);
        EXPECT_EQ(session.legendFile, "前.exp");
        EXPECT_FALSE(session.switches.CBExp);
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0].title, kLegendFileErrorTitle);
    }
    EXPECT_NE(sink.messages[0].text.find("none.exp"), std::string::npos);
}

TEST(LegendFile, FailedWriteLeavesTheOldFileAndTellsIt)
{
    QTemporaryDir dir;
    CollectingSink sink;
    const std::string path = test::writeFile(dir.path(), "old.exp", "old");
    // A text with no Shift-JIS form cannot be written: the old file stays whole.
    LegendSettings s = sample();
    s.rows[2].text = "ｘ😀";
    EXPECT_FALSE(writeLegendFile(path, s, sink));
    EXPECT_EQ(test::readFileBytes(path), "old");
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_NE(sink.messages[0].text.find("old.exp の 14 行目"), std::string::npos) << sink.messages[0].text;
    // A folder that does not exist.
    EXPECT_FALSE(writeLegendFile(dir.path().toStdString() + "/no/such/x.exp", sample(), sink));
    EXPECT_EQ(sink.messages.size(), 2u);
}
