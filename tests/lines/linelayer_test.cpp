// Drawing map lines on small pictures: arrow heads, widths, dotted pens and their gaps,
// breaks, and a line stopping a region fill.
#include "lines/linelayer.h"
#include "paint/paint.h"
#include "support/mapfixtures.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace oboro;

namespace {

constexpr Color kRed = 0x0000FF;
constexpr Color kBack = 0xE1FFFF;

long countColour(const Canvas& c, Color colour)
{
    long n = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            n += *c.pixel(x, y) == colour;
    return n;
}

// Map units of a pixel in the unit view (x right, y up from 600).
QPoint unitsOf(int px, int py) { return QPoint(px, 600 - py); }

} // namespace

TEST(LineArrow, FilledHeadOfAHorizontalSegmentIsItsTriangle)
{
    Canvas c(40, 40, kWhite);
    c.setPen(kRed, 1);
    drawArrow(c, QPoint(5, 20), QPoint(30, 20), 12, true);
    // Barbs at trunc(30 − 12 cos 15°) = 18, 20 ± trunc(12 sin 15°) = 20 ± 3.
    for (int x = 19; x <= 29; ++x)
        EXPECT_EQ(*c.pixel(x, 20), kRed) << x;
    EXPECT_EQ(*c.pixel(18, 23), kRed);
    EXPECT_EQ(*c.pixel(18, 17), kRed);
    EXPECT_EQ(*c.pixel(19, 19), kRed);
    EXPECT_EQ(*c.pixel(19, 21), kRed);
    // Nothing behind the barbs or beyond the tip, nothing outside the triangle.
    EXPECT_EQ(*c.pixel(16, 20), kWhite);
    EXPECT_EQ(*c.pixel(32, 20), kWhite);
    EXPECT_EQ(*c.pixel(28, 23), kWhite);
    EXPECT_EQ(*c.pixel(28, 17), kWhite);
    // Symmetric about the segment, give or take the pixels of the outline's ends.
    int upper = 0, lower = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            if (*c.pixel(x, y) == kRed) {
                upper += y < 20;
                lower += y > 20;
            }
    EXPECT_NEAR(upper, lower, 3);
    EXPECT_GE(upper, 12);
    // About the triangle's area (12 × 6 ÷ 2) with its outline.
    const long red = countColour(c, kRed);
    EXPECT_GE(red, 36);
    EXPECT_LE(red, 70);
    EXPECT_EQ(c.pen.style, PenStyle::Solid);
    EXPECT_EQ(c.brush.color, kWhite); // the brush is put back
}

TEST(LineArrow, LineHeadHasTwoBarbsAndAnEmptyMiddle)
{
    Canvas c(40, 40, kWhite);
    c.setPen(kRed, 1, PenStyle::Dot);
    drawArrow(c, QPoint(20, 35), QPoint(20, 5), 12, false);
    // Pointing up: the barbs end 12 × cos 15° below the tip, 3 pixels either side.
    EXPECT_EQ(*c.pixel(20, 5), kRed);
    EXPECT_EQ(*c.pixel(20, 10), kWhite); // no fill between the barbs
    int left = 0, right = 0;
    for (int y = 5; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            if (*c.pixel(x, y) == kRed && x != 20)
                ++(x < 20 ? left : right);
    EXPECT_EQ(left, right);
    EXPECT_GE(left, 8); // solid barbs, not dotted ones
    EXPECT_EQ(c.pen.style, PenStyle::Dot); // the pen style comes back
}

TEST(LineArrow, DiagonalHeadMirrorsAcrossTheSegment)
{
    Canvas c(50, 50, kWhite);
    c.setPen(kRed, 1);
    drawArrow(c, QPoint(5, 5), QPoint(40, 40), 15, true);
    long red = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) {
            // A head on the diagonal is its own mirror image across it (give or take the
            // truncation of a barb's coordinates).
            if (*c.pixel(x, y) == kRed) {
                ++red;
                bool mirrored = false;
                for (int d = -1; d <= 1 && !mirrored; ++d)
                    for (int e = -1; e <= 1 && !mirrored; ++e)
                        mirrored = c.pixel(y + d, x + e).value_or(kWhite) == kRed;
                EXPECT_TRUE(mirrored) << x << "," << y;
            }
        }
    EXPECT_GE(red, 40);
    EXPECT_EQ(*c.pixel(36, 36), kRed);
    EXPECT_EQ(*c.pixel(20, 20), kWhite);
}

TEST(LineArrow, SizeGrowsWithTheSideAbove600)
{
    EXPECT_EQ(arrowPixels(12, 600), 12);
    EXPECT_EQ(arrowPixels(12, 300), 12);
    EXPECT_EQ(arrowPixels(12, 1800), 36);
    EXPECT_EQ(arrowPixels(7, 1000), 11);
}

TEST(LineDrawing, WidthSetsTheThicknessOfTheLine)
{
    Canvas c(100, 100, kWhite);
    LineData d;
    d.style.size = 5;
    d.points = {unitsOf(10, 50), unitsOf(90, 50)};
    drawLineData(c, test::unitView(), d, lookOf(d.style));
    for (int x = 20; x <= 80; x += 10) {
        int thick = 0;
        for (int y = 40; y <= 60; ++y)
            thick += *c.pixel(x, y) == kBlack;
        EXPECT_EQ(thick, 5) << x;
        EXPECT_EQ(*c.pixel(x, 50), kBlack);
    }
    EXPECT_EQ(*c.pixel(50, 46), kWhite);
    EXPECT_EQ(*c.pixel(50, 54), kWhite);
}

TEST(LineDrawing, DottedLineLeavesGapsInTheColourUnderIt)
{
    Canvas c(100, 100, kBack);
    LineData d;
    d.style = LineStyle{kRed, static_cast<int>(LineType::Dotted), 1, 0, 12, 0};
    d.points = {unitsOf(10, 50), unitsOf(90, 50)};
    drawLineData(c, test::unitView(), d, lookOf(d.style));
    int dots = 0, gaps = 0, changes = 0;
    for (int x = 10; x < 90; ++x) {
        const Color p = *c.pixel(x, 50);
        ASSERT_TRUE(p == kRed || p == kBack) << x;
        (p == kRed ? dots : gaps)++;
        changes += x > 10 && p != *c.pixel(x - 1, 50);
    }
    EXPECT_GT(dots, 15);
    EXPECT_GT(gaps, 15);
    EXPECT_GT(changes, 20);
    EXPECT_EQ(countColour(c, kRed), dots); // one pixel wide
    // Wider than 1, a dotted pen draws solid.
    Canvas wide(100, 100, kBack);
    d.style.size = 3;
    drawLineData(wide, test::unitView(), d, lookOf(d.style));
    for (int x = 12; x < 88; ++x)
        ASSERT_EQ(*wide.pixel(x, 50), kRed) << x;
}

TEST(LineDrawing, BreaksSplitTheLineAndArrowsFollowTheStep)
{
    // Two runs, side by side; the gap between them stays empty.
    Canvas c(100, 100, kWhite);
    LineData d;
    d.style = LineStyle{kRed, 0, 1, static_cast<int>(ArrowKind::Filled), 8, 0};
    d.points = {unitsOf(10, 20), unitsOf(40, 20), {0, 0}, unitsOf(60, 20), unitsOf(90, 20)};
    drawLineData(c, test::unitView(), d, lookOf(d.style));
    EXPECT_EQ(*c.pixel(30, 20), kRed);
    EXPECT_EQ(*c.pixel(50, 20), kWhite);
    // Step 0: one arrow, at the end of the line.
    EXPECT_EQ(*c.pixel(85, 21), kRed);
    EXPECT_EQ(*c.pixel(35, 21), kWhite);

    // Step 1: an arrow on every segment (and the last one again).
    Canvas stepped(100, 100, kWhite);
    d.style.step = 1;
    drawLineData(stepped, test::unitView(), d, lookOf(d.style));
    EXPECT_EQ(*stepped.pixel(35, 21), kRed);
    EXPECT_EQ(*stepped.pixel(85, 21), kRed);
    // Rail lines draw no arrows.
    Canvas plain(100, 100, kWhite);
    LineLook look = lookOf(d.style);
    look.arrows = false;
    drawLineData(plain, test::unitView(), d, look);
    EXPECT_EQ(*plain.pixel(85, 21), kWhite);
}

TEST(LineDrawing, ALineStopsAFillThatWouldLeak)
{
    // One region 60 × 30 inside a closed frame; a line across it makes two.
    const auto frame = [] {
        Canvas c(60, 30, kBack);
        c.setPen(kBlack);
        c.setBrush(kWhite, BrushStyle::Clear);
        c.rectangle(0, 0, 60, 30);
        return c;
    };
    Canvas open = frame();
    EXPECT_GT(regionFill(open, 10, 15, kRed, 0, kBack), 0);
    EXPECT_EQ(*open.pixel(50, 15), kRed); // without the line the fill reaches the far side

    Canvas split = frame();
    LineData d;
    d.style = LineStyle{0x008000, 0, 1, 0, 12, 0};
    d.points = {unitsOf(30, -5), unitsOf(32, 40)};
    drawLineData(split, test::unitView(), d, lookOf(d.style));
    regionFill(split, 10, 15, kRed, 0, kBack);
    EXPECT_EQ(*split.pixel(10, 15), kRed);
    EXPECT_EQ(*split.pixel(50, 15), kBack);
    EXPECT_EQ(*split.pixel(31, 15), 0x008000u);
}

TEST(LineDrawing, EditViewMarksThePointsAndTheSelectedOne)
{
    Canvas c(100, 100, kBack);
    const std::vector<QPoint> pts = {unitsOf(20, 50), unitsOf(80, 50)};
    drawEditMarkers(c, test::unitView(), pts, 1);
    EXPECT_EQ(*c.pixel(50, 50), kBlack);  // the segment
    EXPECT_EQ(*c.pixel(18, 50), kRed);    // the ring around point 0
    EXPECT_EQ(*c.pixel(78, 50), 0xFF0000u); // the selected point's ring is blue
    EXPECT_EQ(*c.pixel(20, 48), kRed);
}
