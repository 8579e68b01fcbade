// Readings: the yomi.lst reader and writer, the display form, the name list's order and
// merge, and the readings written on the bundled map of 神奈川.
#include "app/mapsession.h"
#include "common/paths.h"
#include "common/textfile.h"
#include "mapdata/namelists.h"
#include "mapdata/rawtext.h"
#include "names/readings.h"
#include "view/names.h"
#include "support/sessionfixture.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace oboro;

namespace {

std::string sjis(const std::string& utf8) { return utf8ToSjis(utf8).value(); }

std::string fileText(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray b = f.readAll();
    return std::string(b.constData(), static_cast<size_t>(b.size()));
}

} // namespace

TEST(Readings, DisplayFormSetsOffTheEnding)
{
    const std::pair<const char*, const char*> cases[] = {
        {"したまち", "した - まち"},     {"みなみく", "みなみ - く"},   {"あさひ", "あさひ"},
        {"みさとちょう", "みさと - ちょう"}, {"よこはまし", "よこはま - し"}, {"おおむら", "おお - むら"},
        {"しらかわそん", "しらかわ - そん"}, {"", ""},                  {"く", " - く"},
    };
    for (const auto& [reading, shown] : cases)
        EXPECT_EQ(splitReading(reading), shown) << reading;
}

TEST(Readings, MalformedLinesAreSkippedWithOneMessageAndTheRestKept)
{
    const std::string bytes = sjis("100,200,髙根沢町,たかねざわまち\r\n") + "abc,200," + sjis("横浜市,よこはまし\n")
                              + "\n" + "1,2\n" + "1,2,\x82\n" + std::string(120, '1') + "\n"
                              + sjis("300,400,中央区,\n") + sjis("500,600,～町,～ちょう\n") + "7,8,a\rb,c\n"
                              // 99 bytes without the reading field: written back it would be 100
                              + "1,2," + std::string(95, 'n') + "\n" + "1,2," + std::string(94, 'n') + "\n";
    CollectingSink sink;
    const std::vector<ReadingRecord> r = parseReadings(bytes, "yomi.lst", sink);
    const std::vector<ReadingRecord> expected = {{100, 200, "髙根沢町", "たかねざわまち"},
                                                 {300, 400, "中央区", ""},
                                                 {500, 600, "～町", "～ちょう"},
                                                 {1, 2, std::string(94, 'n'), ""}};
    EXPECT_EQ(r, expected);
    ASSERT_EQ(sink.messages.size(), 1u);
    const std::string& text = sink.messages[0].text;
    EXPECT_NE(text.find("yomi.lst"), std::string::npos);
    for (const char* line : {"2 行目", "4 行目", "5 行目", "6 行目", "9 行目", "10 行目"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " in " << text;
}

TEST(Readings, TableBeyondItsCapacityIsCutWithAMessage)
{
    std::string bytes;
    for (int i = 0; i < kReadingsCapacity + 5; ++i)
        bytes += std::to_string(i) + ",1,a,b\n";
    CollectingSink sink;
    EXPECT_EQ(parseReadings(bytes, "yomi.lst", sink).size(), static_cast<size_t>(kReadingsCapacity));
    EXPECT_EQ(sink.messages.size(), 1u);
}

TEST(Readings, FileRoundTripKeepsShiftJisSpecials)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("yomi.lst").toStdString();
    const std::vector<ReadingRecord> records = {{1, 2, "髙畠町", "たかはたまち"}, {3, 4, "～村", "～むら"}, {5, 6, "空", ""}};
    CollectingSink sink;
    ASSERT_TRUE(writeReadingsFile(path, records, sink));
    EXPECT_EQ(fileText(dir.filePath("yomi.lst")), sjis("1,2,髙畠町,たかはたまち\n3,4,～村,～むら\n5,6,空,\n"));
    ReadingsTable table;
    readReadingsFile(path, table, sink);
    EXPECT_EQ(table.records(), records);
    EXPECT_TRUE(sink.messages.empty());
}

TEST(Readings, RecordsNoLineCanHoldAreRefusedAndTheFileKept)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("yomi.lst").toStdString();
    CollectingSink sink;
    ASSERT_TRUE(writeReadingsFile(path, {{1, 2, "町", "まち"}}, sink));
    const std::string before = fileText(dir.filePath("yomi.lst"));
    const ReadingRecord bad[] = {
        {1, 2, "町", std::string(45, 'a') + "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ"}, // > 99 bytes
        {1, 2, "町", "ま ち"},                                                                            // a blank
        {1, 2, "町", "ま,ち"},                                                                            // a comma
        {1, 2, "町", "😀"},                                                                               // no CP932 form
    };
    for (const ReadingRecord& r : bad) {
        sink.messages.clear();
        EXPECT_FALSE(readingLineProblem(r).empty()) << r.reading;
        EXPECT_FALSE(writeReadingsFile(path, {{3, 4, "市", "し"}, r}, sink)) << r.reading;
        EXPECT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(fileText(dir.filePath("yomi.lst")), before);
    }
}

TEST(Readings, MissingFileGivesTheStartUpMessage)
{
    ReadingsTable table;
    table.assign({{1, 1, "a", "b"}});
    CollectingSink sink;
    readReadingsFile("/nonexistent/yomi.lst", table, sink);
    EXPECT_TRUE(table.records().empty());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0], (Message{kReadingsMissingText, kReadingsMissingTitle, MessageIcon::Exclamation}));
}

TEST(Readings, LookupTakesTheFirstRecordOfTheNameNearby)
{
    ReadingsTable t;
    t.assign({{0, 0, "北区", "きたく"}, {5000, 0, "北区", "ほっく"}, {5000, 0, "北区", "にばんめ"}, {1000, 0, "東区", "ひがしく"}});
    EXPECT_EQ(t.find("北区", 4500, 500, 1000, true)->reading, "ほっく");
    EXPECT_EQ(t.find("北区", 1000, 0, 1000, true)->reading, "きたく");
    EXPECT_EQ(t.find("北区", 1000, 0, 1000, false), nullptr); // the hover: strictly closer
    EXPECT_EQ(t.find("南区", 0, 0, 1000, true), nullptr);
}

TEST(Readings, NameListOrders)
{
    const std::vector<NameListRow> rows = {{1, 1, "", "青葉区", "あおばく"},  {2, 2, "旧", "保谷市", "ほうやし"},
                                           {3, 3, "政", "横浜市", "よこはまし"}, {4, 4, "重", "北区", "きたく"},
                                           {5, 5, "新", "西東京市", "にしとうきょうし"}, {6, 6, "", "伊勢原市", "いせはらし"}};
    const auto names = [](std::vector<NameListRow> r, NameListOrder o, bool reverse) {
        sortNameList(r, o, reverse);
        std::vector<std::string> out;
        for (const NameListRow& x : r)
            out.push_back(x.name);
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(names(rows, NameListOrder::Reading, false),
              (V{"青葉区", "伊勢原市", "北区", "西東京市", "保谷市", "横浜市"}));
    EXPECT_EQ(names(rows, NameListOrder::Reading, true),
              (V{"横浜市", "保谷市", "西東京市", "北区", "伊勢原市", "青葉区"}));
    // Kinds descending: designated cities first, plain names last.
    const V byKind = names(rows, NameListOrder::Kind, false);
    EXPECT_EQ(V(byKind.begin(), byKind.begin() + 4), (V{"横浜市", "西東京市", "北区", "保谷市"}));
    // Names in Shift-JIS code order: 伊(88C9) 横(89A1) 青(90C2) 西(90BC)… compared by bytes.
    const V byName = names(rows, NameListOrder::Name, false);
    for (size_t i = 1; i < byName.size(); ++i)
        EXPECT_LE(sjis(byName[i - 1]), sjis(byName[i]));
}

TEST(Readings, MergeUpdatesTheNearbyRecordAndAppendsNewNames)
{
    const std::vector<ReadingRecord> records = {{0, 0, "北区", "きたく"}, {9000, 0, "北区", "ほっく"}};
    const std::vector<NameListRow> rows = {{9500, 800, "", "北区", "きた"}, {100, 100, "新", "新市", "しんし"}};
    const std::vector<ReadingRecord> expected = {
        {0, 0, "北区", "きたく"}, {9500, 800, "北区", "きた"}, {100, 100, "新市", "しんし"}};
    EXPECT_EQ(mergeNameList(records, rows), expected);
}

TEST(Readings, NameListHoldsAtMost2000Names)
{
    MapStore store;
    store.selectedAreas = {14};
    ViewState view;
    view.imageSide = 600;
    view.scaleX = view.scaleY = 0.001f;
    view.centerX = 300000;
    view.centerY = 300000;
    MainSwitches sw;
    const auto fill = [&](int n) {
        store.commonNames.entries.clear();
        for (int i = 0; i < n; ++i)
            store.commonNames.entries.push_back(NameEntry{300000 + i, 300000, "n" + std::to_string(i), 's'});
    };
    ReadingsTable none;
    fill(kNameListCapacity);
    const auto rows = buildNameList(store, view, sw, {}, none);
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->size(), static_cast<size_t>(kNameListCapacity));
    fill(kNameListCapacity + 1);
    EXPECT_FALSE(buildNameList(store, view, sw, {}, none));
}

// The bundled map of 神奈川 with the bundled readings.
struct ReadingsOnKanagawa : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(test::openMap(session, sink, {13}));
        session.loadReadings(programPath(kReadingsFileName));
        session.setSwitch(Switch::DuplicateNames, false);
        session.setSwitch(Switch::Readings, true);
        ASSERT_TRUE(session.switches.CBYomi);
        session.display.KanaFontColor = kKana;
    }
    static constexpr Color kKana = 0x5A3C1E; // a colour found nowhere else on the map
    CollectingSink sink;
    MapSession session{sink};
};

TEST_F(ReadingsOnKanagawa, ReadingsStandAboveEachNameWithoutTouchingIt)
{
    const QImage without = session.canvas.image().copy();
    ASSERT_TRUE(session.toggleReadingsMap());
    ASSERT_TRUE(session.readingsMapShown());
    const QImage with = session.canvas.image().copy();

    ASSERT_TRUE(session.buildNameList());
    const std::vector<PlacedText> placed = placeReadings(session.nameList, session.view, session.display,
                                                         session.switches, session.readingsLook, false);
    ASSERT_GT(placed.size(), 30u);
    Canvas probe(1, 1);
    int checked = 0;
    for (size_t i = 0; i < placed.size(); ++i) {
        const PlacedText& t = placed[i];
        if (t.text.empty())
            continue;
        const NameListRow* row = nullptr;
        for (const NameListRow& r : session.nameList)
            if (r.reading == t.text && MapToPixel(session.view, r.x, r.y).x() == t.at.x())
                row = &r;
        ASSERT_NE(row, nullptr);
        probe.setFont(session.display.TownFontPixels, 0);
        const QRect nameBox(MapToPixel(session.view, row->x, row->y),
                            QSize(probe.textWidth(row->name), probe.textHeight(row->name)));
        probe.setFont(t.size, 0);
        const QRect readingBox(t.at, QSize(probe.textWidth(t.text), probe.textHeight(t.text)));
        EXPECT_FALSE(nameBox.intersects(readingBox)) << row->name;
        EXPECT_LT(readingBox.bottom(), nameBox.top()) << row->name;
        ++checked;
    }
    EXPECT_GT(checked, 30);

    // The reading colour is new to the picture and lies only inside the readings' boxes.
    long kana = 0, outside = 0;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x) {
            if (with.pixel(x, y) != toPixel(kKana))
                continue;
            ++kana;
            EXPECT_NE(without.pixel(x, y), toPixel(kKana));
            bool inside = false;
            for (const PlacedText& t : placed) {
                probe.setFont(t.size, 0);
                inside = inside || QRect(t.at, QSize(probe.textWidth(t.text), probe.textHeight(t.text))).contains(x, y);
            }
            outside += !inside;
        }
    EXPECT_GT(kana, 500);
    EXPECT_EQ(outside, 0);

    // Taken off again: the picture is the one without readings.
    ASSERT_TRUE(session.toggleReadingsMap());
    EXPECT_EQ(session.canvas.image(), without);
}

TEST_F(ReadingsOnKanagawa, SavedPicturesCarryTheReadingsWhileTheBoxIsOn)
{
    const auto kanaPixels = [](const QImage& img) {
        long n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += img.pixel(x, y) == toPixel(kKana);
        return n;
    };
    EXPECT_GT(kanaPixels(session.drawPicture(1800)), 1000);
    session.setSwitch(Switch::Readings, false);
    EXPECT_EQ(kanaPixels(session.drawPicture(1800)), 0);
}

TEST_F(ReadingsOnKanagawa, HoverFindsTheNameAndItsReading)
{
    const NameEntry* yokosuka = nullptr;
    for (const NameEntry& e : session.store.commonNames.entries)
        if (e.name == "横須賀市")
            yokosuka = &e;
    ASSERT_NE(yokosuka, nullptr);
    const QPoint at = MapToPixel(session.view, yokosuka->x, yokosuka->y);
    session.readingsHover(at);
    EXPECT_EQ(session.readingsPanel.state, ReadingsPanel::State::Found);
    EXPECT_EQ(session.readingsPanel.name, "横須賀市");
    EXPECT_EQ(session.readingsPanel.reading, "よこすか - し");
    ASSERT_TRUE(session.overlay.hoverReading);
    EXPECT_EQ(session.overlay.hoverReading->text, "よこすかし");
    EXPECT_LT(session.overlay.hoverReading->at.y(), at.y());

    // Off the names (the top-left corner is sea): nothing, and the overlay is gone.
    session.readingsHover(QPoint(1, 1));
    EXPECT_EQ(session.readingsPanel.state, ReadingsPanel::State::Nothing);
    EXPECT_FALSE(session.overlay.hoverReading);
}

TEST_F(ReadingsOnKanagawa, EditedReadingIsSavedBackAndReadAgain)
{
    QTemporaryDir dir;
    const QString copy = dir.filePath("yomi.lst");
    ASSERT_TRUE(QFile::copy(QString::fromStdString(programPath(kReadingsFileName)), copy));
    session.loadReadings(copy.toStdString());
    ASSERT_TRUE(session.buildNameList());
    int row = -1;
    for (size_t i = 0; i < session.nameList.size(); ++i)
        if (session.nameList[i].name == "鎌倉市")
            row = static_cast<int>(i);
    ASSERT_GE(row, 0);
    const size_t before = session.readings.records().size();

    EXPECT_FALSE(session.setNameListReading(row, "かま くら"));
    EXPECT_FALSE(session.nameListEdited);
    ASSERT_TRUE(session.setNameListReading(row, "かまくらし～髙"));
    // A rebuilt list keeps the edit until it is saved.
    session.setNameListOrder(NameListOrder::Kind);
    bool kept = false;
    for (const NameListRow& r : session.nameList)
        kept = kept || (r.name == "鎌倉市" && r.reading == "かまくらし～髙");
    EXPECT_TRUE(kept);

    ASSERT_TRUE(session.saveReadings());
    EXPECT_FALSE(session.nameListEdited);
    EXPECT_EQ(session.readings.records().size(), before);
    EXPECT_NE(fileText(copy).find(sjis(",鎌倉市,かまくらし～髙\n")), std::string::npos);
    ReadingsTable reread;
    readReadingsFile(copy.toStdString(), reread, sink);
    EXPECT_EQ(reread.records(), session.readings.records());

    const QString exported = dir.filePath("list.csv");
    ASSERT_TRUE(session.exportNameList(exported.toStdString()));
    const std::string text = fileText(exported);
    EXPECT_EQ(text.rfind(sjis(std::string(kNameListHeader) + "\n"), 0), 0u);
    EXPECT_NE(text.find(sjis(",鎌倉市,かまくらし～髙\n")), std::string::npos);
}

TEST_F(ReadingsOnKanagawa, KeptTextsWriteWhatTheNamesWriterWrites)
{
    ASSERT_TRUE(session.buildNameList());
    PlacedTextPainter painter;
    for (int size : {7, 20}) {
        session.readingsLook.size = size;
        const std::vector<PlacedText> placed = placeReadings(session.nameList, session.view, session.display,
                                                             session.switches, session.readingsLook, false);
        ASSERT_GT(placed.size(), 30u);
        Canvas expected(1, 1);
        expected.image() = session.canvas.image().copy();
        for (const PlacedText& t : placed) {
            expected.setFont(t.size, t.color);
            writeNameKeepingBorders(expected, session.display, t.at.x(), t.at.y(), t.text, t.back);
        }
        // Rendered fresh, then from the kept texts.
        for (int pass = 0; pass < 2; ++pass) {
            Canvas kept(1, 1);
            kept.image() = session.canvas.image().copy();
            painter.draw(kept, session.display, placed);
            EXPECT_EQ(kept.image(), expected.image()) << "size " << size << " pass " << pass;
        }
    }
    EXPECT_GT(painter.cachedRuns(), 30u);
}
