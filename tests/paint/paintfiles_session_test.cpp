// Paint files, data paint and paint by name on the bundled map of 神奈川 (area 13),
// through the session's operations, and the choropleth of the headless command.
#include "app/mapsession.h"
#include "app/rendercommand.h"
#include "common/paths.h"
#include "common/textfile.h"
#include "mapdata/namelists.h"
#include "support/sessionfixture.h"
#include "support/testsupport.h"

#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace oboro;

namespace {

struct PaintFilesOnKanagawa : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(test::copyFolder(test::bundledDataDir(), dir.path()));
        ASSERT_TRUE(test::openMap(session, sink, {13}, dir.path()));
        ASSERT_FALSE(session.store.municipalityCodes.empty());
    }
    void TearDown() override { setProgramFolder(saved); }

    const MunicipalityCode& code(const std::string& name, const std::string& city = "")
    {
        for (const MunicipalityCode& c : session.store.municipalityCodes)
            if (c.name == name && c.prefecture == "神奈川県" && (city.empty() || c.city == city))
                return c;
        ADD_FAILURE() << name;
        return session.store.municipalityCodes.front();
    }
    QRgb at(const MunicipalityCode& c)
    {
        const QPoint p = MapToPixel(session.view, c.x, c.y);
        return session.canvas.image().pixel(p.x(), p.y());
    }
    std::string path(const char* name) { return (dir.path() + "/" + name).toStdString(); }
    void write(const char* name, const std::string& utf8) { test::writeSjisFile(dir.path(), name, utf8); }
    // Paints two municipalities by clicking them.
    void paintTwo()
    {
        ASSERT_TRUE(session.startPaint([](const Message&) { return true; }));
        session.selectSlot(2);
        const QPoint a = MapToPixel(session.view, code("鎌倉市").x, code("鎌倉市").y);
        ASSERT_TRUE(session.paintAt(a.x(), a.y()));
        session.selectSlot(5);
        const QPoint b = MapToPixel(session.view, code("秦野市").x, code("秦野市").y);
        ASSERT_TRUE(session.paintAt(b.x(), b.y()));
        session.endPaint();
    }

    QString saved = programFolder();
    QTemporaryDir dir;
    CollectingSink sink;
    MapSession session{sink};
};

} // namespace

TEST_F(PaintFilesOnKanagawa, PaintFileRoundTripColoursOnlyAndAppend)
{
    paintTwo();
    const QImage painted = session.canvas.image().copy();
    EXPECT_EQ(at(code("鎌倉市")), toPixel(session.palette.colors[2]));
    ASSERT_TRUE(session.savePaintFile(path("a.pnt"), false));
    ASSERT_TRUE(session.savePaintFile(path("colours.pnt"), true));
    EXPECT_EQ(readSjisFile(path("colours.pnt")).lines.size(), 17u);
    EXPECT_EQ(readSjisFile(path("a.pnt")).lines.size(), 19u);
    const PaintPalette palette = session.palette;

    // A new selection forgets the paint; the file brings it back, picture and all.
    ASSERT_TRUE(session.selectAreas({13}, false));
    session.palette.applyColorSet(3);
    ASSERT_TRUE(session.loadPaintFile(path("a.pnt"), false, false));
    EXPECT_EQ(session.paintRecords.count(), 2);
    EXPECT_EQ(session.palette.colors, palette.colors);
    EXPECT_EQ(session.canvas.image(), painted);

    // Colours only: the palette comes back, the records stay.
    session.palette.applyColorSet(3);
    ASSERT_TRUE(session.loadPaintFile(path("colours.pnt"), true, false));
    EXPECT_EQ(session.palette.colors, palette.colors);
    EXPECT_EQ(session.paintRecords.count(), 2);

    // Appended: the file's records after the two there are.
    ASSERT_TRUE(session.loadPaintFile(path("a.pnt"), false, true));
    ASSERT_EQ(session.paintRecords.count(), 4);
    EXPECT_EQ(session.paintRecords.records()[2], session.paintRecords.records()[0]);
    EXPECT_EQ(session.paintFileName, "a.pnt");
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(PaintFilesOnKanagawa, BadFilesChangeNothing)
{
    paintTwo();
    const QImage painted = session.canvas.image().copy();
    const std::vector<PaintRecord> records = session.paintRecords.records();
    const PaintPalette palette = session.palette;
    std::string lines;
    for (int i = 0; i < 17; ++i)
        lines += "0x0\n";
    write("bad.pnt", lines + "1,2,0x3,0\n1,2,0xnope,0\n");
    write("bad.csv", "x,y,市区町村名,カラー,パターン\n1,2,a,255,0\n3,4,b,赤,0\n");
    write("empty.csv", "コード,人口\n99999,5\n");
    EXPECT_FALSE(session.loadPaintFile(path("bad.pnt"), false, true));
    EXPECT_FALSE(session.loadPaintFile(path("missing.pnt"), false, false));
    EXPECT_FALSE(session.dataPaint(path("bad.csv"), 4, ClassMethod::Quantiles));
    EXPECT_FALSE(session.dataPaint(path("empty.csv"), 4, ClassMethod::Quantiles));
    ASSERT_EQ(sink.messages.size(), 4u);
    EXPECT_EQ(sink.messages[0].text, "bad.pnt の 19 行目: 色が数値ではありません");
    EXPECT_EQ(sink.messages[2].text, "bad.csv の 3 行目: カラーが数値ではありません");
    EXPECT_EQ(sink.messages[3].text, "データファイル empty.csv に塗れる行がありません");
    EXPECT_EQ(session.paintRecords.records(), records);
    EXPECT_EQ(session.palette.colors, palette.colors);
    EXPECT_EQ(session.canvas.image(), painted);
}

TEST_F(PaintFilesOnKanagawa, DataPaintByPointsFillsTheSlots)
{
    const MunicipalityCode& a = code("鎌倉市");
    const MunicipalityCode& b = code("秦野市");
    write("points.csv", "X,Y,パターン,カラー,市区町村名\n" + std::to_string(a.x) + "," + std::to_string(a.y) +
                            ",0,0x0000ff,鎌倉市\n" + std::to_string(b.x) + "," + std::to_string(b.y) +
                            ",0,65280,秦野市\n");
    const std::optional<DataPaintOutcome> out = session.dataPaint(path("points.csv"), 5, ClassMethod::EqualIntervals);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->painted, 2);
    EXPECT_TRUE(out->classes.empty());
    EXPECT_EQ(session.palette.colors[0], 0x0000FFu);
    EXPECT_EQ(session.palette.colors[1], 0x00FF00u);
    EXPECT_EQ(at(a), toPixel(0x0000FF));
    EXPECT_EQ(at(b), toPixel(0x00FF00));
}

TEST_F(PaintFilesOnKanagawa, StatisticsByCodeAndNameReportWhatMatchesNothing)
{
    session.palette.applyColorSet(1);
    write("codes.csv", "コード,人口\n" + code("鎌倉市").code + ",100\n" + code("秦野市").code.substr(0, 5) +
                           ",300\n99999,7\n132063,50\n");
    const std::optional<DataPaintOutcome> out = session.dataPaint(path("codes.csv"), 2, ClassMethod::EqualIntervals);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->painted, 2);
    EXPECT_EQ(out->elsewhere, 1); // 府中市 of Tokyo is not on this map
    ASSERT_EQ(out->classes.size(), 2u);
    EXPECT_EQ(out->classes[0].text, "50 – 175");
    EXPECT_EQ(at(code("鎌倉市")), toPixel(session.palette.colors[0]));
    EXPECT_EQ(at(code("秦野市")), toPixel(session.palette.colors[1]));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_NE(sink.messages[0].text.find("4 行目 99999（コードが見つかりません）"), std::string::npos)
        << sink.messages[0].text;

    // By name: the two 緑区 of Kanagawa told apart by their city.
    sink.messages.clear();
    write("names.csv", "市区町村名,郡市名,値\n緑区,相模原市,1\n緑区,,2\n中区,横浜市,9\n");
    const std::optional<DataPaintOutcome> byName = session.dataPaint(path("names.csv"), 2, ClassMethod::Quantiles);
    ASSERT_TRUE(byName);
    EXPECT_EQ(byName->painted, 2);
    EXPECT_EQ(at(code("緑区", "相模原市")), toPixel(session.palette.colors[0]));
    EXPECT_EQ(at(code("中区", "横浜市")), toPixel(session.palette.colors[1]));
    EXPECT_NE(at(code("緑区", "横浜市")), toPixel(session.palette.colors[0]));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_NE(sink.messages[0].text.find("3 行目 緑区（同じ名前が 5 か所にあります"), std::string::npos);
}

TEST_F(PaintFilesOnKanagawa, PaintByNameFromTheListOfNamesInView)
{
    ASSERT_TRUE(session.startPaint([](const Message&) { return true; }));
    const std::vector<std::string> names = session.buildPaintNameList();
    EXPECT_NE(std::find(names.begin(), names.end(), "緑区(相模原市)"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "鎌倉市"), names.end());
    EXPECT_EQ(readSjisFile(paintNameListPath()).lines, names);

    EXPECT_EQ(session.paintByName("鎌倉市"), 0) << "no slot selected";
    EXPECT_EQ(sink.messages.back().text, kNoSlotText);
    session.selectSlot(3);
    EXPECT_EQ(session.paintByName("鎌倉市"), 1);
    EXPECT_EQ(session.paintByName("緑区(相模原市)"), 1);
    EXPECT_EQ(session.paintByName("川崎市"), 7); // a designated city: its seven wards
    EXPECT_EQ(session.paintByName("どこにもない町"), 0);
    const Color c = session.palette.colors[3];
    EXPECT_EQ(at(code("鎌倉市")), toPixel(c));
    EXPECT_EQ(at(code("緑区", "相模原市")), toPixel(c));
    EXPECT_NE(at(code("緑区", "横浜市")), toPixel(c));
    EXPECT_EQ(at(code("麻生区")), toPixel(c));
    session.endPaint();
    EXPECT_EQ(at(code("鎌倉市")), toPixel(c)) << "replayed after painting";
    EXPECT_EQ(session.paintRecords.count(), 9);
}

TEST_F(PaintFilesOnKanagawa, HeadlessChoroplethOfEveryMunicipality)
{
    // Every municipality and ward of the prefecture, with a value of its own.
    std::string csv = "コード,高齢化率\n";
    std::vector<MunicipalityCode> places; // copies: the next load replaces the store's list
    for (const MunicipalityCode& c : session.store.municipalityCodes)
        if (c.prefecture == "神奈川県" && c.kind != 'D') {
            csv += c.code + "," + std::to_string(places.size()) + "\n";
            places.push_back(c);
        }
    ASSERT_GT(places.size(), 50u);
    write("ageing.csv", csv);
    const QString out = dir.path() + "/choropleth.png";
    const QStringList args = {"--areas", "13", "--size", "1800", "--no-names", "--data", QString::fromStdString(path("ageing.csv")),
                              "--classes", "4", "--class-method", "quantile", "--folder", dir.path(), "--out", out};
    CollectingSink commandSink;
    ASSERT_EQ(runRenderCommand(args, commandSink), kRenderOk);
    ASSERT_EQ(commandSink.messages.size(), 4u) << "one line per class";
    const QImage picture = QImageReader(out).read().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.width(), 1800);

    // The same view as the picture's: each anchor shows the colour of its class.
    session.view.sizeFactor = 3;
    ASSERT_TRUE(session.selectAreas({13}, false));
    std::vector<double> values;
    for (size_t i = 0; i < places.size(); ++i)
        values.push_back(static_cast<double>(i));
    const std::vector<double> bounds = classBounds(values, 4, ClassMethod::Quantiles);
    const size_t n = places.size();
    std::vector<std::string> wrong;
    for (size_t i = 0; i < n; ++i) {
        const int k = classOf(values[i], bounds);
        const QPoint p = MapToPixel(session.view, places[i].x, places[i].y);
        if (picture.pixel(p.x(), p.y()) != toPixel(session.palette.colors[k]))
            wrong.push_back(places[i].name);
    }
    EXPECT_EQ(wrong, std::vector<std::string>{}) << wrong.size() << " of " << n;
}
