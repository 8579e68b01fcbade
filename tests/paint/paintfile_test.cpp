// Paint files and data paint files as text, the classes of a choropleth, and how a row
// of statistics finds its municipality.
#include "common/textfile.h"
#include "paint/datapaint.h"
#include "paint/paintfile.h"

#include <gtest/gtest.h>

using namespace oboro;

namespace {

std::string sjis(const std::string& utf8) { return utf8ToSjis(utf8).value(); }

std::string joinLines(const std::vector<std::string>& lines)
{
    std::string s;
    for (const std::string& l : lines)
        s += l + "\n";
    return s;
}

} // namespace

TEST(PaintFile, WritesTheLayoutAndReadsItBack)
{
    PaintFile f;
    f.background = 0xFFFFE1;
    f.palette.applyColorSet(1);
    f.palette.patterns[2] = 6;
    PaintRecord r;
    r.x = 123456;
    r.y = 234567;
    r.color = 0x00FFFF;
    r.pattern = 6;
    f.records = {r, PaintRecord{-5, 7, 0x123456, 0}};
    const std::vector<std::string> lines = paintFileLines(f, false);
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_EQ(lines[0], "0x00ffffe1");
    EXPECT_EQ(lines[1], "0x00e1e1ff");
    EXPECT_EQ(lines[11], "0x00000006");
    EXPECT_EQ(lines[17], "  123456,  234567,0x0000ffff,0x00000006");
    EXPECT_EQ(paintFileLines(f, true).size(), 17u);

    PaintFile back;
    std::string error;
    ASSERT_TRUE(parsePaintFile(joinLines(lines), "a.pnt", false, back, error)) << error;
    EXPECT_EQ(back.background, f.background);
    EXPECT_EQ(back.palette.colors, f.palette.colors);
    EXPECT_EQ(back.palette.patterns, f.palette.patterns);
    EXPECT_EQ(back.records, f.records);
}

TEST(PaintFile, RecordLinesAsReadersTakeThem)
{
    std::string text;
    for (int i = 0; i < 17; ++i)
        text += i < 9 ? "16777215\n" : "0x106\n"; // decimal colours; patterns keep their low 8 bits
    text += "  10,  20,0x0000ff\n"    // no pattern: 0
            "  30,  40,,0x2\n"        // no colour: not a record
            "\n"
            "  50,  60,255,3\r\n";
    PaintFile f;
    std::string error;
    ASSERT_TRUE(parsePaintFile(text, "b.pnt", false, f, error)) << error;
    EXPECT_EQ(f.palette.patterns[0], 6);
    ASSERT_EQ(f.records.size(), 2u);
    EXPECT_EQ(f.records[0], (PaintRecord{10, 20, 0xFF, 0}));
    EXPECT_EQ(f.records[1], (PaintRecord{50, 60, 255, 3}));
}

TEST(PaintFile, RefusesBadFilesNamingTheLine)
{
    std::string palette;
    for (int i = 0; i < 17; ++i)
        palette += "0x0\n";
    struct Case {
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {"0x0\n0x0\n", "c.pnt の 3 行目: 背景色と塗り色の行（17 行）が足りません"},
        {"0x0\n0xzz\n" + palette, "c.pnt の 2 行目: 色が数値ではありません"},
        {palette + "1,2,0x3,4\nx,2,0x3,4\n", "c.pnt の 19 行目: 座標が数値ではありません"},
        {palette + "1,2,red,4\n", "c.pnt の 18 行目: 色が数値ではありません"},
        {palette + "1,2,0x3,p\n", "c.pnt の 18 行目: パターンが数値ではありません"},
        {palette + "1,2,\x82\n", "c.pnt の 18 行目: 文字コードが Shift-JIS ではありません"},
    };
    for (const Case& c : cases) {
        PaintFile f;
        f.background = 42;
        std::string error;
        EXPECT_FALSE(parsePaintFile(c.text, "c.pnt", false, f, error));
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(f.background, 42u) << "a refused file changes nothing";
    }
    // Colours only: the records are not read, so their faults do not matter.
    PaintFile f;
    std::string error;
    EXPECT_TRUE(parsePaintFile(palette + "1,2,red,4\n", "c.pnt", true, f, error));
    EXPECT_TRUE(f.records.empty());
}

TEST(DataPaintFile, PointsWithTheHeadingsAnywhere)
{
    const std::string text = sjis("x,y,パターン,カラー,市区町村名\n"
                                  "100,200,6,0x0000ff,横浜市\n"
                                  "300,400,,255,skipped\n"
                                  "500,600,0,65280,\n");
    DataPaintFile f;
    Message error;
    ASSERT_TRUE(parseDataPaintFile(text, "d.csv", f, error)) << error.text;
    EXPECT_EQ(f.kind, DataPaintFile::Kind::Points);
    ASSERT_EQ(f.points.size(), 2u);
    EXPECT_EQ(f.points[0].x, 100);
    EXPECT_EQ(f.points[0].color, 0xFFu);
    EXPECT_EQ(f.points[0].pattern, 6);
    EXPECT_EQ(f.points[1].color, 65280u);
}

TEST(DataPaintFile, RefusedFilesSayWhy)
{
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"X,Y,カラー,パターン\n", "データ１行目に「市区町村名」の見出しがありません"},
        {"X,市区町村名,パターン\n", "データ１行目に「カラー」の見出しがありません"},
        {"x,y,市区町村名,カラー\n", "データ１行目に「パターン」の見出しがありません"},
        {"x,y,市区町村名,カラー,パターン\n1,2,a,red,0\n", "e.csv の 2 行目: カラーが数値ではありません"},
        {"x,y,市区町村名,カラー,パターン\n1,2,a,1,0\n1,b,a,1,0\n", "e.csv の 3 行目: 座標（1 列目と 2 列目）が数値ではありません"},
        {"コード\n141003\n", "データ１行目に値の見出しがありません\n\n「コード」のほかに値の列が要ります"},
    };
    for (const Case& c : cases) {
        DataPaintFile f;
        Message error;
        EXPECT_FALSE(parseDataPaintFile(sjis(c.text), "e.csv", f, error)) << c.text;
        EXPECT_EQ(error.text, c.message);
        EXPECT_EQ(error.title, kDataErrorTitle);
    }
}

TEST(DataPaintFile, StatisticsByCodeOrName)
{
    DataPaintFile f;
    Message error;
    ASSERT_TRUE(parseDataPaintFile(sjis("都道府県名,市区町村名,人口\n東京都,府中市,\"260,274\"\n,合計,\n広島県,府中市,37.5\n"),
                                   "s.csv", f, error));
    EXPECT_EQ(f.kind, DataPaintFile::Kind::ByName);
    ASSERT_EQ(f.rows.size(), 3u);
    EXPECT_EQ(f.rows[0].qualifiers, std::vector<std::string>{"東京都"});
    EXPECT_TRUE(f.rows[0].hasValue);
    EXPECT_EQ(f.rows[0].value, 260274.0);
    EXPECT_FALSE(f.rows[1].hasValue);
    EXPECT_EQ(f.rows[2].decimals, 1);
    EXPECT_EQ(f.rows[2].line, 4);

    // UTF-8 with a byte order mark, as spreadsheets write it; the column 値 is the value.
    ASSERT_TRUE(parseDataPaintFile("\xEF\xBB\xBF" "コード,名前,値\r\n14100,横浜市,3\r\n", "u.csv", f, error));
    EXPECT_EQ(f.kind, DataPaintFile::Kind::ByCode);
    ASSERT_EQ(f.rows.size(), 1u);
    EXPECT_EQ(f.rows[0].key, "14100");
    EXPECT_EQ(f.rows[0].value, 3.0);
}

TEST(ClassBreaks, EqualIntervalsAndQuantilesOnASmallTable)
{
    const std::vector<double> values = {1, 2, 3, 4, 5, 6, 7, 8, 9, 100};
    const std::vector<double> equal = classBounds(values, 3, ClassMethod::EqualIntervals);
    ASSERT_EQ(equal.size(), 4u);
    for (int k = 0; k < 4; ++k)
        EXPECT_DOUBLE_EQ(equal[k], 1 + 33 * k);
    const std::vector<double> quantiles = classBounds(values, 5, ClassMethod::Quantiles);
    EXPECT_EQ(quantiles, (std::vector<double>{1, 3, 5, 7, 9, 100}));
    // Quantiles put two values in each class; equal intervals all but one in the first.
    std::vector<int> perClass(5, 0);
    for (double v : values)
        ++perClass[classOf(v, quantiles)];
    EXPECT_EQ(perClass, (std::vector<int>{2, 2, 2, 2, 2}));
    EXPECT_EQ(classOf(9, equal), 0);
    EXPECT_EQ(classOf(100, equal), 2);
    EXPECT_EQ(classBounds({5, 5}, 2, ClassMethod::EqualIntervals), (std::vector<double>{5, 5, 5}));

    PaintPalette palette;
    const std::vector<ClassRow> rows = classRows({10000, 50000, 1234567}, 0, palette);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, "10,000 – 50,000");
    EXPECT_EQ(rows[1].text, "50,000 – 1,234,567");
    EXPECT_EQ(rows[1].slot, 1);
    EXPECT_EQ(rows[1].color, palette.colors[1]);
    // Bounds that would read alike get the decimals that tell them apart.
    EXPECT_EQ(classRows(classBounds({0, 1}, 3, ClassMethod::EqualIntervals), 0, palette)[0].text, "0.0 – 0.3");
    EXPECT_EQ(formatClassNumber(-1234.5, 1), "-1,234.5");
}

TEST(ClassBreaks, RowsFindTheirMunicipality)
{
    const std::vector<MunicipalityCode> codes = {
        {"132063", 'M', 12, 10, 10, "府中市", "東京都", ""},
        {"342084", 'M', 33, 20, 20, "府中市", "広島県", ""},
        {"141003", 'D', 13, 30, 30, "横浜市", "神奈川県", ""},
        {"141011", 'W', 13, 31, 31, "鶴見区", "神奈川県", "横浜市"},
        {"141020", 'W', 13, 32, 32, "神奈川区", "神奈川県", "横浜市"},
        {"011002", 'D', 47, 40, 40, "札幌市", "北海道", ""},
        {"013030", 'M', 47, 50, 50, "当別町", "北海道", "石狩郡"},
    };
    struct Case {
        DataPaintFile::Kind kind;
        const char* key;
        std::vector<std::string> qualifiers;
        std::vector<int32_t> placesX;
        const char* problem;
    };
    const auto Code = DataPaintFile::Kind::ByCode;
    const auto Name = DataPaintFile::Kind::ByName;
    const Case cases[] = {
        {Code, "13206", {}, {10}, ""},
        {Code, "132063", {}, {10}, ""},
        {Code, "132064", {}, {}, "コードが見つかりません"},
        {Code, "1303", {}, {50}, ""}, // the leading zero a spreadsheet dropped
        {Code, "14100", {}, {31, 32}, ""},
        {Code, "1a100", {}, {}, "コードが 5 桁または 6 桁の数字ではありません"},
        {Name, "府中市", {"広島県"}, {20}, ""},
        {Name, "府中市", {"東京"}, {10}, ""},
        {Name, "東京都府中市", {}, {10}, ""},
        {Name, "府中市（広島県）", {}, {20}, ""},
        {Name, "横浜市鶴見区", {}, {31}, ""},
        {Name, "横浜市", {}, {31, 32}, ""},
        {Name, "当別町", {"石狩郡"}, {50}, ""},
        {Name, "府中市", {}, {}, "同じ名前が 2 か所にあります（東京都府中市、広島県府中市）: 都道府県名か郡市名で区別してください"},
        {Name, "府中町", {}, {}, "市区町村名が見つかりません"},
    };
    for (const Case& c : cases) {
        StatisticRow row;
        row.key = c.key;
        row.qualifiers = c.qualifiers;
        const RowTarget t = findRowTarget(row, c.kind, codes);
        std::vector<int32_t> xs;
        for (const MunicipalityCode* p : t.places)
            xs.push_back(p->x);
        EXPECT_EQ(xs, c.placesX) << c.key;
        EXPECT_EQ(t.problem, c.problem) << c.key;
    }
}
