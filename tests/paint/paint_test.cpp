#include "paint/paint.h"

#include <gtest/gtest.h>

using namespace oboro;

namespace {

constexpr Color kBorder = 2672688; // municipal border colour
constexpr Color kBack = 16777185;

// A 40 × 20 map of two municipalities side by side, borders closed, with an
// identity projection (map units are pixels) and a fill target that treats border
// pixels as the background, as the map's own rule does for line colours.
struct TwoTowns : ::testing::Test {
    Canvas canvas{40, 20, kBack};
    PaintView view;
    PaintRecords records;
    PaintPalette palette;
    CollectingSink sink;
    void SetUp() override
    {
        canvas.setPen(kBorder);
        canvas.setBrush(kWhite, BrushStyle::Clear);
        canvas.rectangle(0, 0, 40, 20);
        canvas.moveTo(20, 0);
        canvas.lineTo(20, 20);
        view.mapToPixel = [](int32_t x, int32_t y, int& px, int& py) {
            px = x;
            py = y;
        };
        view.pixelToMap = [](int px, int py, int32_t& x, int32_t& y) {
            x = px;
            y = py;
        };
        view.fillTarget = [this](int px, int py) {
            const auto c = canvas.pixel(px, py);
            return (!c || *c == kBorder) ? kBack : *c;
        };
    }
    Color at(int x, int y) const { return *canvas.pixel(x, y); }
};

} // namespace

TEST_F(TwoTowns, ClickFillsExactlyTheClickedTownAndRecordsIt)
{
    ASSERT_TRUE(paintAt(canvas, view, records, palette, 2, 5, 5, sink));
    EXPECT_EQ(at(5, 5), palette.colors[2]);
    EXPECT_EQ(at(19, 18), palette.colors[2]);
    EXPECT_EQ(at(25, 5), kBack);
    EXPECT_EQ(at(20, 5), kBorder);
    ASSERT_EQ(records.count(), 1);
    EXPECT_EQ(records.records()[0], (PaintRecord{5, 5, palette.colors[2], 0}));
}

TEST_F(TwoTowns, ClickOnBorderChangesNothingButIsRecorded)
{
    const QImage before = canvas.image().copy();
    ASSERT_TRUE(paintAt(canvas, view, records, palette, 0, 20, 7, sink));
    EXPECT_EQ(canvas.image(), before);
    EXPECT_EQ(records.count(), 1);
}

TEST_F(TwoTowns, NoSlotIsRefusedWithItsMessage)
{
    EXPECT_FALSE(paintAt(canvas, view, records, palette, -1, 5, 5, sink));
    EXPECT_EQ(records.count(), 0);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0], (Message{kNoSlotText, "ペイントエラー", MessageIcon::Exclamation}));
}

TEST_F(TwoTowns, FullTableRefusesTheClick)
{
    for (int i = 0; i < kPaintRecordCapacity; ++i)
        ASSERT_TRUE(records.add(PaintRecord{1, 1, 0, 0}));
    const QImage before = canvas.image().copy();
    EXPECT_FALSE(paintAt(canvas, view, records, palette, 0, 5, 5, sink));
    EXPECT_EQ(records.count(), kPaintRecordCapacity);
    EXPECT_EQ(canvas.image(), before);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, kPaintTableFullText);
}

TEST_F(TwoTowns, ReplayShowsTheLaterColourAndUndoDropsTheNewest)
{
    const QImage blank = canvas.image().copy();
    records.add({5, 5, 0x0000FF, 0});
    records.add({25, 5, 0x00FF00, 0});
    records.add({6, 6, 0xFF0000, 0}); // the same town again, another colour
    replayPaint(canvas, view, records);
    EXPECT_EQ(at(10, 10), 0xFF0000u);
    EXPECT_EQ(at(30, 10), 0x00FF00u);

    records.removeLast();
    canvas.image() = blank.copy(); // the redraw before the replay
    replayPaint(canvas, view, records);
    EXPECT_EQ(at(10, 10), 0x0000FFu);
    EXPECT_EQ(at(30, 10), 0x00FF00u);
}

TEST_F(TwoTowns, HatchKeepsTheOldColourBetweenItsLines)
{
    palette.patterns[1] = 2; // horizontal lines
    ASSERT_TRUE(paintAt(canvas, view, records, palette, 1, 5, 5, sink));
    EXPECT_EQ(at(5, 8), palette.colors[1]);
    EXPECT_EQ(at(5, 9), kBack);
    // A later click between the lines reaches only its strip.
    ASSERT_TRUE(paintAt(canvas, view, records, palette, 3, 5, 10, sink));
    EXPECT_EQ(at(5, 12), palette.colors[3]);
    EXPECT_EQ(at(5, 4), kBack);
}

TEST(PaintPaletteSets, SetsAndResetGiveSolidSlots)
{
    PaintPalette p;
    p.patterns[4] = 6;
    p.applyColorSet(1);
    EXPECT_EQ(p.colors[0], 0xE1E1FFu);
    EXPECT_EQ(p.colors[7], 0x160AB6u);
    EXPECT_EQ(p.patterns[4], 0);
    EXPECT_STREQ(colorSetName(7), "中間色");
    p.patterns[2] = 3;
    p.reset();
    EXPECT_EQ(p.colors, kStandardPaintColors);
    EXPECT_EQ(p.patterns[2], 0);
}

TEST(PaintSwatch, SolidIsPlainAndHatchShowsWhiteGaps)
{
    const QImage solid = swatchImage(0x00FF00, 0);
    EXPECT_EQ(solid.pixel(5, 5), toPixel(0x00FF00));
    const QImage hatch = swatchImage(0x00FF00, 3);
    EXPECT_EQ(hatch.pixel(8, 5), toPixel(0x00FF00));
    EXPECT_EQ(hatch.pixel(9, 5), toPixel(kWhite));
}

TEST_F(TwoTowns, RecordsAreAnchoredToANameOfTheirTownAndSkippedOnAMapWithoutIt)
{
    // Name positions of the two towns (and one outside the picture).
    auto both = std::make_shared<std::vector<QPoint>>(std::vector<QPoint>{{10, 10}, {30, 10}, {500, 500}});
    view.landmarks = both;
    const QImage drawn = canvas.image().copy();
    ASSERT_TRUE(paintAt(canvas, view, records, palette, 2, 5, 5, sink));
    ASSERT_TRUE(paintAt(canvas, view, records, palette, 4, 25, 15, sink));
    ASSERT_EQ(records.count(), 2);
    EXPECT_TRUE(records.records()[0].anchored);
    EXPECT_EQ(QPoint(records.records()[0].anchorX, records.records()[0].anchorY), QPoint(10, 10));
    EXPECT_EQ(QPoint(records.records()[1].anchorX, records.records()[1].anchorY), QPoint(30, 10));
    // A click on the border fills nothing and anchors nothing.
    ASSERT_TRUE(paintAt(canvas, view, records, palette, 1, 20, 7, sink));
    EXPECT_FALSE(records.records()[2].anchored);

    // The map of the left town only: the right town's record is left out.
    canvas.image() = drawn.copy();
    view.landmarks = std::make_shared<std::vector<QPoint>>(std::vector<QPoint>{{10, 10}});
    replayPaint(canvas, view, records);
    EXPECT_EQ(at(10, 10), palette.colors[2]);
    EXPECT_EQ(at(30, 10), kBack);
    // Without landmarks (records from before anchoring) every record is replayed.
    canvas.image() = drawn.copy();
    view.landmarks = nullptr;
    replayPaint(canvas, view, records);
    EXPECT_EQ(at(30, 10), palette.colors[4]);
}
