// The labels of the open map on the bundled map of Kanagawa: placing by longitude and
// latitude, by map units and by click, reading files (additively, and refusing bad ones
// without touching the table), the names in view written as labels and read back, and
// the headless command's --labels.
#include "app/mapsession.h"
#include "app/rendercommand.h"
#include "common/dms.h"
#include "common/paths.h"
#include "common/textfile.h"
#include "labels/labelfile.h"
#include "mapdata/namelists.h"
#include "support/sessionfixture.h"
#include "support/testsupport.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace oboro {
namespace {

long count(const QImage& img, Color c, const QRect& within = QRect())
{
    const QRect r = within.isNull() ? img.rect() : within.intersected(img.rect());
    long n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += fromPixel(img.pixel(x, y)) == c;
    return n;
}

struct LabelsOnKanagawa : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(test::openMap(session, sink, {13}));
        sink.messages.clear();
    }
    std::string file(const std::string& name, const std::string& utf8)
    {
        return test::writeSjisFile(dir.path(), name, utf8);
    }
    CollectingSink sink;
    MapSession session{sink};
    QTemporaryDir dir;
};

TEST_F(LabelsOnKanagawa, PlacingByDegreesAndMapUnits)
{
    struct Case {
        LabelPlacement how;
        const char* lon;
        const char* lat;
        int32_t x, y;          // when placed
        const char* message;   // when refused
    };
    const Case cases[] = {
        {LabelPlacement::Degrees, "134.1305", "35.0802",
         static_cast<int32_t>((134.0f + 13.0f / 60.0f + 5.0f / 3600.0f - 122.0f) * 10000.0f),
         static_cast<int32_t>((35.0f + 8.0f / 60.0f + 2.0f / 3600.0f - 24.0f) * 15000.0f), nullptr},
        {LabelPlacement::Degrees, "139.3800", "35.2700", static_cast<int32_t>((139.0f + 38.0f / 60.0f - 122.0f) * 10000.0f),
         static_cast<int32_t>((35.0f + 27.0f / 60.0f - 24.0f) * 15000.0f), nullptr},
        {LabelPlacement::Degrees, "119.5900", "35.0000", 0, 0, "設定された経度は正しくありません　　　"},
        {LabelPlacement::Degrees, "139.3800", "61.0000", 0, 0, "設定された緯度は正しくありません　　　"},
        {LabelPlacement::Degrees, "139.380", "35.2700", 0, 0, kDmsErrorText},
        {LabelPlacement::Degrees, "139.6000", "35.2700", 0, 0, kDmsErrorText}, // 60 minutes
        {LabelPlacement::Degrees, "", "35.2700", 0, 0, "経緯度が設定されておりません　　　"},
        {LabelPlacement::Units, "175800", "170700", 175800, 170700, nullptr},
        {LabelPlacement::Units, "175800", " ", 0, 0, "XまたはY座標が設定されておりません　　　"},
        {LabelPlacement::Units, "1758.5", "170700", 0, 0, "X,Y座標は整数で指定してください"},
    };
    for (const Case& c : cases) {
        sink.messages.clear();
        const int before = session.labels.count();
        session.labelControls.placement = c.how;
        session.labelControls.lonText = c.lon;
        session.labelControls.latText = c.lat;
        const bool placed = session.placeLabel();
        EXPECT_EQ(placed, c.message == nullptr) << c.lon << " " << c.lat;
        if (c.message) {
            ASSERT_EQ(sink.messages.size(), 1u) << c.lon;
            EXPECT_EQ(sink.messages[0].text, c.message);
            EXPECT_EQ(session.labels.count(), before);
            continue;
        }
        ASSERT_EQ(session.labels.count(), before + 1);
        const LabelRow& r = session.labels.row(before);
        EXPECT_EQ(r.x, c.x) << c.lon;
        EXPECT_EQ(r.y, c.y) << c.lat;
        EXPECT_EQ(r.text, "ラベル記入");
        EXPECT_EQ(r.mark, "○");
        EXPECT_EQ(r.color, kDefaultLabelColor);
        EXPECT_TRUE(session.switches.CBLabel);
        EXPECT_EQ(session.labelControls.status, kLabelStatusType);
    }
}

TEST_F(LabelsOnKanagawa, ClickPlacesTheLabelOnTheClickedPixelAndMoveMovesIt)
{
    session.labelControls.placement = LabelPlacement::Mouse;
    ASSERT_TRUE(session.placeLabel());
    EXPECT_EQ(session.activeMouseTool(), MouseToolId::LabelPlace);
    ASSERT_TRUE(session.placeLabelAt(250, 260));
    EXPECT_FALSE(session.labelControls.placePending);
    const LabelRow& r = session.labels.row(0);
    // Drawn where it was clicked, with the datum shift of the picture.
    EXPECT_EQ(MapToPixel(session.view, r.x, r.y), QPoint(250, 260));
    const QImage img = session.canvas.image();
    EXPECT_GT(count(img, kDefaultLabelColor, QRect(246, 256, 60, 14)), 10);

    session.startLabelMove(0);
    EXPECT_EQ(session.activeMouseTool(), MouseToolId::LabelMove);
    session.moveLabelTo(400, 100);
    EXPECT_EQ(MapToPixel(session.view, session.labels.row(0).x, session.labels.row(0).y), QPoint(400, 100));
    EXPECT_EQ(count(session.canvas.image(), kDefaultLabelColor, QRect(246, 256, 60, 14)), 0);
    EXPECT_GT(count(session.canvas.image(), kDefaultLabelColor, QRect(396, 96, 60, 14)), 10);
}

TEST_F(LabelsOnKanagawa, AdditiveReadDoesNotReadEarlierFilesTwice)
{
    const std::string a = file("a.lbl", "○,175800,170700,甲,8\n○,175900,170800,乙,8\n");
    const std::string b = file("b.lbl", "○,176000,170900,丙,8,255\n");
    ASSERT_TRUE(session.readLabelFiles({a}, false));
    EXPECT_EQ(session.labels.count(), 2);
    EXPECT_FALSE(session.labelControls.look.marks); // 読　込 turns the marks off
    EXPECT_TRUE(session.switches.CBLabel);
    ASSERT_TRUE(session.readLabelFiles({a, b}, true));
    EXPECT_EQ(session.labels.count(), 3);
    EXPECT_EQ(session.labelControls.files, (std::vector<std::string>{a, b}));
    ASSERT_TRUE(session.rereadLabelFiles());
    EXPECT_EQ(session.labels.count(), 3);
    ASSERT_TRUE(session.readLabelFiles({b}, false));
    EXPECT_EQ(session.labels.count(), 1);
    EXPECT_EQ(session.labels.row(0).color, 255u);

    const std::string empty = file("empty.lbl", "\n");
    EXPECT_FALSE(session.readLabelFiles({empty}, false));
    EXPECT_EQ(sink.messages.back().text, "ラベルデータはありませんでした　　　　　　");
}

TEST_F(LabelsOnKanagawa, BadFilesLeaveTheTableAsItWas)
{
    const std::string good = file("good.lbl", "○,175800,170700,甲,8\n○,175900,170800,乙,8,255\n");
    ASSERT_TRUE(session.readLabelFiles({good}, false));
    const std::vector<LabelRow> before = session.labels.rows();
    const QImage picture = session.canvas.image().copy();
    std::string many;
    for (int i = 0; i < 100000; ++i)
        many += "o,175800,170700,x,8\n";
    struct Case {
        std::string name, bytes, message;
    };
    const Case cases[] = {
        {"enc.lbl", "o,1,2,x,8\n\x82\x20,1,2,x,8\n", "を読み込むことができません"},
        {"num.lbl", *utf8ToSjis("○,175800,北緯,甲,8\n"), "の 1 行目が正しくありません"},
        {"many.lbl", many, "のラベルが多すぎます"},
    };
    for (const Case& c : cases)
        for (bool additive : {false, true}) {
            sink.messages.clear();
            const std::string path = test::writeFile(dir.path(), c.name, c.bytes);
            EXPECT_FALSE(session.readLabelFiles({good, path}, additive)) << c.name;
            ASSERT_EQ(sink.messages.size(), 1u) << c.name;
            EXPECT_NE(sink.messages[0].text.find(path + " " + c.message), std::string::npos) << sink.messages[0].text;
            EXPECT_EQ(session.labels.rows(), before) << c.name;
            EXPECT_EQ(session.labelControls.files, (std::vector<std::string>{good})) << c.name;
            EXPECT_EQ(session.canvas.image(), picture) << c.name;
        }
    // Two files that fit one by one but not together.
    std::string half;
    for (int i = 0; i < kLabelCapacity / 2 + 1; ++i)
        half += "o,175800,170700,x,8\n";
    const std::string h1 = test::writeFile(dir.path(), "h1.lbl", half);
    const std::string h2 = test::writeFile(dir.path(), "h2.lbl", half);
    sink.messages.clear();
    EXPECT_FALSE(session.readLabelFiles({h1, h2}, false));
    EXPECT_EQ(sink.messages.at(0).text, "ラベルは 20000 行までです\n" + h2 + " は読み込みません");
    EXPECT_EQ(session.labels.rows(), before);
}

TEST_F(LabelsOnKanagawa, NamesInViewReadBackAsLabelsGiveTheSamePicture)
{
    // The names as the name layer draws them, first occurrences only.
    session.batch([&] { session.switches.CBMainDoubleName = false; });
    const QImage names = session.canvas.image().copy();
    const std::string path = dir.filePath("names.lbl").toStdString();
    ASSERT_TRUE(session.writeNamesAsLabels(path, false));
    const LabelFileRead read = readLabelFile(path, LabelReadOptions{});
    ASSERT_TRUE(read.ok);
    long inside = 0;
    for (const NameEntry& e : session.store.commonNames.entries) {
        const QPoint p = MapToPixel(session.view, e.x, e.y);
        inside += e.mark == 's' && p.x() >= 0 && p.y() >= 0 && p.x() <= 600 && p.y() <= 600;
    }
    EXPECT_GE(static_cast<long>(read.rows.size()), inside);
    EXPECT_GT(inside, 40); // Kanagawa's municipalities and wards
    for (const LabelRow& r : read.rows) {
        EXPECT_EQ(r.size, 8);
        EXPECT_EQ(r.color, 0u);
        EXPECT_EQ(r.mark, "○");
    }

    // The names off, the file read: every name pixel is drawn again by the labels.
    session.setSwitch(Switch::TownNames, false);
    const QImage blank = session.canvas.image().copy(); // black: the corner's prefecture name
    ASSERT_TRUE(session.readLabelFiles({path}, false));
    const QImage labels = session.canvas.image();
    long nameInk = 0, missing = 0;
    for (int y = 0; y < names.height(); ++y)
        for (int x = 0; x < names.width(); ++x)
            if (fromPixel(names.pixel(x, y)) == 0 && fromPixel(blank.pixel(x, y)) != 0) {
                ++nameInk;
                missing += fromPixel(labels.pixel(x, y)) != 0;
            }
    EXPECT_GT(nameInk, 3000);
    EXPECT_EQ(missing, 0);
    // And little more: a text box covers the border pixels the name layer keeps, and the
    // duplicate-name list is written whole (its pre-merger entries too), where the name
    // layer leaves some of its entries out.
    EXPECT_LE(count(labels, 0) - count(blank, 0), nameInk + nameInk / 10);

    // Pre-merger names: only those of the old name table, none for a map without them.
    const std::string old = dir.filePath("old.lbl").toStdString();
    ASSERT_TRUE(session.writeNamesAsLabels(old, true));
    EXPECT_EQ(readLabelFile(old, LabelReadOptions{}).rows.size(),
              preMergerNamesInViewLines(session.store, session.view).size());
}

TEST_F(LabelsOnKanagawa, LabelsInViewListAndRebuild)
{
    std::string text;
    for (int i = 0; i < 30; ++i) {
        // Every third label inside the view, the others far off in the sea.
        const bool inside = i % 3 == 0;
        text += "○," + std::to_string(inside ? 173000 + i * 50 : 10 + i) + "," +
                std::to_string(inside ? 169000 + i * 30 : 10) + ",L" + std::to_string(i) + ",8," + std::to_string(i) + "\n";
    }
    ASSERT_TRUE(session.readLabelFiles({file("thirty.lbl", text)}, false));
    session.fillLabelsInView();
    ASSERT_EQ(session.labelsInView.size(), 10u);
    session.rebuildLabelsFromList();
    ASSERT_EQ(session.labels.count(), 10);
    EXPECT_EQ(session.labels.row(1).text, "L3");
    EXPECT_EQ(session.labels.row(1).color, 3u);
    // A double click on a list row switches its label off in the table and redraws.
    const long before = count(session.canvas.image(), 3);
    EXPECT_GT(before, 0);
    session.toggleLabelInView(1);
    EXPECT_FALSE(session.labels.row(1).shown);
    EXPECT_EQ(count(session.canvas.image(), 3), 0);
    // All off, then all on again.
    session.toggleAllLabelsInView();
    for (const LabelRow& r : session.labels.rows())
        EXPECT_FALSE(r.shown);
    session.toggleAllLabelsInView();
    for (const LabelRow& r : session.labels.rows())
        EXPECT_TRUE(r.shown);
}

TEST_F(LabelsOnKanagawa, HeadlessCommandDrawsLabelFiles)
{
    const std::string lbl = file("h.lbl", "○,175800,170700,横浜,12,255\n");
    const QString out = dir.filePath("m.png");
    CollectingSink cmd;
    const QStringList args = {"--areas", "13", "--folder", test::bundledDataDir(), "--labels",
                              QString::fromStdString(lbl), "--out", out};
    ASSERT_EQ(runRenderCommand(args, cmd), kRenderOk) << (cmd.messages.empty() ? "" : cmd.messages[0].text);
    const QImage img(out);
    ASSERT_FALSE(img.isNull());
    // The window's drawing of the same label: same pixels.
    ASSERT_TRUE(session.readLabelFiles({lbl}, false));
    const QPoint p = MapToPixel(session.view, 175800, 170700);
    const QRect around(p.x() - 2, p.y() - 2, 60, 24);
    EXPECT_GT(count(img, 255, around), 10);
    EXPECT_EQ(img.convertToFormat(QImage::Format_RGB32).copy(around), session.canvas.image().copy(around));

    const std::string bad = file("bad.lbl", "○,x,170700,横浜,12\n");
    CollectingSink failed;
    QStringList badArgs = args;
    badArgs[5] = QString::fromStdString(bad);
    EXPECT_EQ(runRenderCommand(badArgs, failed), kRenderNoData);
    ASSERT_FALSE(failed.messages.empty());
    EXPECT_NE(failed.messages[0].text.find("bad.lbl の 1 行目が正しくありません"), std::string::npos);
    setProgramFolder(test::bundledDataDir());
}

} // namespace
} // namespace oboro
