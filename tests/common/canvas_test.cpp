#include "common/canvas.h"

#include <gtest/gtest.h>

#include <set>

using namespace oboro;

namespace {

constexpr Color kRed = 0x0000FF;
constexpr Color kBlue = 0xFF0000;
constexpr Color kGreen = 0x00FF00;

int countColor(const Canvas& c, Color color)
{
    int n = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            n += c.pixel(x, y) == color;
    return n;
}

std::set<Color> colorsIn(const Canvas& c)
{
    std::set<Color> s;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            s.insert(*c.pixel(x, y));
    return s;
}

// Closed outline of a square with corners (a, a) and (b, b): four line-tos back to the start.
void square(Canvas& c, int a, int b)
{
    c.moveTo(a, a);
    c.lineTo(b, a);
    c.lineTo(b, b);
    c.lineTo(a, b);
    c.lineTo(a, a);
}

} // namespace

TEST(CanvasLines, LineToLeavesTheEndPixel)
{
    struct Case {
        int x0, y0, x1, y1, pixels;
    };
    const Case cases[] = {{2, 2, 10, 2, 8}, {2, 2, 2, 9, 7}, {1, 1, 7, 4, 6}, {9, 9, 3, 6, 6}, {5, 5, 5, 5, 0}};
    for (const Case& k : cases) {
        Canvas c(16, 16);
        c.setPen(kBlack);
        c.moveTo(k.x0, k.y0);
        c.lineTo(k.x1, k.y1);
        EXPECT_EQ(countColor(c, kBlack), k.pixels);
        EXPECT_EQ(c.pixel(k.x1, k.y1), kWhite) << "end pixel set";
        if (k.pixels) {
            EXPECT_EQ(c.pixel(k.x0, k.y0), kBlack) << "start pixel unset";
        }
        EXPECT_EQ(c.penPos(), QPoint(k.x1, k.y1));
    }
}

TEST(CanvasLines, ClippedLinesMatchUnclippedOnes)
{
    // The same line drawn into a big picture and into a small window of it.
    const int lines[][4] = {{-50, -30, 70, 45}, {-1000, 7, 1000, 12}, {5, -300, 9, 400}, {30, 30, -20, -5}, {-7, 40, 40, -7}};
    for (auto& l : lines) {
        Canvas big(400, 400);
        Canvas small(40, 40);
        big.setPen(kBlack);
        small.setPen(kBlack);
        big.moveTo(l[0] + 200, l[1] + 200);
        big.lineTo(l[2] + 200, l[3] + 200);
        small.moveTo(l[0], l[1]);
        small.lineTo(l[2], l[3]);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(small.pixel(x, y), big.pixel(x + 200, y + 200)) << x << "," << y;
    }
}

TEST(CanvasLines, HugeCoordinatesDoNotHang)
{
    Canvas c(20, 20);
    c.setPen(kBlack);
    c.moveTo(-2000000000, 10);
    c.lineTo(2000000000, 10);
    EXPECT_EQ(countColor(c, kBlack), 20);
}

TEST(CanvasLines, DottedPenAlternatesAndWidePenIsSolid)
{
    Canvas c(20, 3);
    c.setPen(kBlack, 1, PenStyle::Dot);
    c.moveTo(0, 1);
    c.lineTo(20, 1);
    EXPECT_EQ(countColor(c, kBlack), 10);
    EXPECT_EQ(c.pixel(0, 1), kBlack);
    EXPECT_EQ(c.pixel(1, 1), kWhite);

    Canvas w(20, 6);
    w.setPen(kBlack, 2, PenStyle::Dot);
    w.moveTo(2, 2);
    w.lineTo(17, 2);
    for (int x = 2; x <= 17; ++x)
        EXPECT_EQ(w.pixel(x, 2), kBlack) << x;
}

TEST(CanvasLines, XorTwiceRestoresThePicture)
{
    Canvas c(30, 30);
    c.setBrush(kGreen);
    c.fillRect(5, 5, 20, 20);
    const QImage before = c.image().copy();
    c.setPen(0xFFFF00, 1, PenStyle::Solid, PenMode::Xor);
    c.setBrush(kWhite, BrushStyle::Clear);
    for (int round = 0; round < 2; ++round) {
        c.moveTo(0, 0);
        c.lineTo(29, 17);
        c.rectangle(3, 3, 25, 25);
        c.ellipse(2, 4, 28, 22);
        if (round == 0) {
            EXPECT_NE(c.image(), before);
        }
    }
    EXPECT_EQ(c.image(), before);
}

TEST(CanvasFill, ClosedOutlineStopsTheFillAndAGapLeaksIt)
{
    Canvas c(20, 20);
    c.setPen(kBlack);
    square(c, 4, 15);
    c.setBrush(kRed);
    EXPECT_EQ(c.floodFill(8, 8, kWhite), 10 * 10);
    EXPECT_EQ(c.pixel(8, 8), kRed);
    EXPECT_EQ(c.pixel(1, 1), kWhite);
    EXPECT_EQ(countColor(c, kRed), 100);

    Canvas g(20, 20);
    g.setPen(kBlack);
    square(g, 4, 15);
    g.setPixel(15, 9, kWhite); // a one-pixel gap in the right edge
    g.setBrush(kRed);
    g.floodFill(8, 8, kWhite);
    EXPECT_EQ(g.pixel(1, 1), kRed);
}

TEST(CanvasFill, DiagonalContactDoesNotConnect)
{
    Canvas c(6, 6);
    c.setBrush(kBlack);
    c.fillRect(0, 0, 6, 6);
    c.setPixel(1, 1, kWhite);
    c.setPixel(2, 2, kWhite); // touches (1, 1) only at a corner
    c.setBrush(kRed);
    EXPECT_EQ(c.floodFill(1, 1, kWhite), 1);
    EXPECT_EQ(c.pixel(2, 2), kWhite);
}

TEST(CanvasFill, StartOutsideOrOnAnotherColourDoesNothing)
{
    Canvas c(8, 8);
    c.setBrush(kRed);
    EXPECT_EQ(c.floodFill(-1, 3, kWhite), 0);
    EXPECT_EQ(c.floodFill(3, 3, kBlack), 0);
    EXPECT_EQ(countColor(c, kRed), 0);
}

TEST(CanvasFill, HatchKeepsTheGapsAndLaterFillsStayInTheirStrip)
{
    Canvas c(32, 32);
    c.setPen(kBlack);
    square(c, 0, 31);
    c.setBrush(kBlue, BrushStyle::Horizontal);
    c.floodFill(5, 5, kWhite);
    for (int y = 1; y < 31; ++y)
        EXPECT_EQ(c.pixel(5, y), (y % 8 == 0) ? kBlue : kWhite) << y;
    // The gaps keep white: a fill between two lines reaches only its strip.
    c.setBrush(kRed);
    EXPECT_EQ(c.floodFill(5, 3, kWhite), 30 * 7);
    EXPECT_EQ(c.pixel(5, 10), kWhite);
}

TEST(CanvasFill, EveryPatternCodeMatchesItsRaster)
{
    for (int code : {2, 3, 4, 5, 6, 7}) {
        Canvas c(16, 16);
        c.setBrush(kBlue, brushStyleFromCode(code));
        c.floodFill(0, 0, kWhite);
        int blue = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const bool on = brushCovers(brushStyleFromCode(code), x, y);
                EXPECT_EQ(c.pixel(x, y), on ? kBlue : kWhite) << code;
                blue += on;
            }
        EXPECT_EQ(blue, code == 6 ? 60 : code == 7 ? 64 : 32) << code;
    }
}

TEST(CanvasFill, LargeRegionNeedsNoRecursion)
{
    Canvas c(1800, 1800);
    // A comb: many narrow teeth connected at the top make a long winding region.
    c.setPen(kBlack);
    for (int x = 2; x < 1798; x += 2) {
        c.moveTo(x, (x % 4 == 0) ? 0 : 3);
        c.lineTo(x, (x % 4 == 0) ? 1797 : 1800);
    }
    c.setBrush(kRed);
    const long n = c.floodFill(1, 1, kWhite);
    EXPECT_GT(n, 1000000);
    EXPECT_EQ(c.pixel(3, 1799), kRed);
}

TEST(CanvasShapes, RectangleExcludesRightAndBottom)
{
    Canvas c(12, 12);
    c.setPen(kBlack);
    c.setBrush(kRed);
    c.rectangle(2, 2, 8, 7);
    EXPECT_EQ(c.pixel(2, 2), kBlack);
    EXPECT_EQ(c.pixel(7, 6), kBlack);
    EXPECT_EQ(c.pixel(8, 6), kWhite);
    EXPECT_EQ(c.pixel(7, 7), kWhite);
    EXPECT_EQ(c.pixel(4, 4), kRed);
    EXPECT_EQ(countColor(c, kBlack), 2 * 6 + 2 * 5 - 4);
}

TEST(CanvasShapes, PolygonAndEllipseFillInside)
{
    Canvas c(40, 40);
    c.setPen(kBlack);
    c.setBrush(kRed);
    c.polygon({{5, 5}, {30, 5}, {5, 30}});
    EXPECT_EQ(c.pixel(10, 10), kRed);
    EXPECT_EQ(c.pixel(30, 30), kWhite);
    EXPECT_EQ(c.pixel(5, 30), kBlack); // the closing edge sets every corner

    Canvas e(40, 40);
    e.setPen(kBlack);
    e.setBrush(kGreen);
    e.ellipse(5, 5, 35, 35);
    EXPECT_EQ(e.pixel(20, 20), kGreen);
    EXPECT_EQ(e.pixel(6, 6), kWhite);
    EXPECT_EQ(colorsIn(e), (std::set<Color>{kWhite, kBlack, kGreen}));
}

TEST(CanvasText, TextAddsNoThirdColour)
{
    Canvas c(120, 40, kGreen);
    c.setFont(12, kBlue);
    c.setBrush(kWhite);
    c.textOut(3, 4, "高松市 Ag");
    EXPECT_EQ(colorsIn(c), (std::set<Color>{kGreen, kWhite, kBlue}));
    // The opaque box starts at the anchor and is as high as the text.
    EXPECT_EQ(c.pixel(3, 4), kWhite);
    const int h = c.textHeight("高松市");
    EXPECT_GE(h, fontPixels(12));
    EXPECT_EQ(c.pixel(3, 4 + h), kGreen);

    Canvas t(120, 40, kGreen);
    t.setFont(12, kBlue);
    t.setBrush(kWhite, BrushStyle::Clear);
    t.textOut(3, 4, "高松市");
    EXPECT_EQ(colorsIn(t), (std::set<Color>{kGreen, kBlue}));
    EXPECT_GT(t.textWidth("高松市"), 3 * 10);
}

TEST(CanvasPixels, ReadOutsideReportsFailure)
{
    Canvas c(4, 4);
    EXPECT_FALSE(c.pixel(4, 0));
    EXPECT_FALSE(c.pixel(0, -1));
    c.setPixel(3, 3, kRed);
    c.setPixel(9, 9, kRed); // ignored
    EXPECT_EQ(c.pixel(3, 3), kRed);
    EXPECT_EQ(fromPixel(toPixel(0x123456)), 0x123456u);
}

TEST(CanvasPixels, CopyStretchAndRecolouredBitmap)
{
    Canvas src(4, 4, kRed);
    src.setPixel(0, 0, kBlue);
    Canvas dst(16, 16);
    dst.copyRect(QRect(0, 0, 8, 8), src.image(), QRect(0, 0, 4, 4));
    EXPECT_EQ(dst.pixel(1, 1), kBlue); // each source pixel became 2 × 2
    EXPECT_EQ(dst.pixel(2, 2), kRed);
    EXPECT_EQ(dst.pixel(8, 8), kWhite);

    QImage bmp(2, 1, QImage::Format_RGB32);
    bmp.setPixel(0, 0, 0xFFFFFFFF);
    bmp.setPixel(1, 0, 0xFF000000);
    Canvas m(4, 4, kGreen);
    m.drawBitmap(1, 1, bmp, kRed);
    EXPECT_EQ(m.pixel(1, 1), kRed);
    EXPECT_EQ(m.pixel(2, 1), kBlack);
    m.drawBitmap(1, 2, bmp, std::nullopt);
    EXPECT_EQ(m.pixel(1, 2), kGreen);
}

TEST(CanvasDetailScale, FractionsAndLengths)
{
    EXPECT_EQ(DetailScale::of(7200, 1800), (DetailScale{4, 1}));
    EXPECT_EQ(DetailScale::of(2400, 1800), (DetailScale{4, 3}));
    EXPECT_TRUE(DetailScale::of(1800, 1800).isUnit());
    EXPECT_TRUE(DetailScale::of(600, 1800).isUnit());
    struct Case {
        DetailScale scale;
        int given, pixels;
    };
    for (const Case& c : {Case{{4, 1}, 1, 4}, Case{{4, 1}, 2, 8}, Case{{4, 1}, 3, 12}, Case{{4, 3}, 1, 1},
                          Case{{4, 3}, 2, 3}, Case{{4, 3}, 3, 4}, Case{{5, 3}, 1, 2}, Case{{4, 1}, 0, 0}, Case{{}, 3, 3}})
        EXPECT_EQ(c.scale.pixels(c.given), c.pixels) << c.scale.num << "/" << c.scale.den << " " << c.given;
    EXPECT_EQ((DetailScale{4, 1}).reference(7), 1);
    EXPECT_EQ((DetailScale{4, 1}).reference(-1), -1);
    EXPECT_EQ((DetailScale{4, 3}).reference(4), 3);
}

TEST(CanvasDetailScale, PensAreAsManyTimesWideAndDotsAsLong)
{
    struct Case {
        int width;
        PenStyle style;
        int thickness; // rows covered across a horizontal line at scale 4
        bool dotted;
    };
    for (const Case& k : {Case{1, PenStyle::Solid, 4, false}, Case{2, PenStyle::Solid, 8, false},
                          Case{3, PenStyle::Solid, 12, false}, Case{1, PenStyle::Dot, 4, true},
                          Case{2, PenStyle::Dot, 8, false}}) {
        SCOPED_TRACE(k.width);
        Canvas c(200, 60);
        c.setDetailScale(DetailScale::of(7200, 1800));
        c.setPen(kBlack, k.width, k.style);
        EXPECT_EQ(c.penPixels(), 4 * k.width);
        c.moveTo(20, 30);
        c.lineTo(180, 30);
        int rows = 0;
        for (int y = 0; y < 60; ++y)
            rows += c.pixel(100, y) == kBlack || c.pixel(101, y) == kBlack || c.pixel(102, y) == kBlack ||
                    c.pixel(103, y) == kBlack;
        EXPECT_EQ(rows, k.thickness);
        // Along the line: solid, or dots of 4 pixels 4 apart.
        for (int x = 20; x < 176; ++x)
            EXPECT_EQ(c.pixel(x, 30) == kBlack, !k.dotted || (x - 20) / 4 % 2 == 0) << x;
    }
    // The gaps of a scaled dotted line take the gap colour when one is set.
    Canvas g(100, 20);
    g.setDetailScale({4, 1});
    g.setLineGapColor(kGreen);
    g.setPen(kRed, 1, PenStyle::Dot);
    g.moveTo(0, 10);
    g.lineTo(64, 10);
    for (int x = 0; x < 64; ++x)
        EXPECT_EQ(g.pixel(x, 10), x / 4 % 2 == 0 ? kRed : kGreen) << x;
}

TEST(CanvasDetailScale, HatchesAreThickerAndFurtherApart)
{
    const DetailScale four{4, 1};
    for (int code = 2; code <= 7; ++code) {
        const BrushStyle style = brushStyleFromCode(code);
        SCOPED_TRACE(code);
        int covered = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const bool on = brushCovers(style, x, y, four);
                covered += on;
                // Horizontal and vertical lines are the pattern of scale 1 enlarged.
                if (style == BrushStyle::Horizontal || style == BrushStyle::Vertical || style == BrushStyle::Cross) {
                    EXPECT_EQ(on, brushCovers(style, x / 4, y / 4)) << x << "," << y;
                }
            }
        // As much ink as at scale 1 (less where the thicker diagonals of a cross overlap).
        int unit = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                unit += brushCovers(style, x, y);
        if (style == BrushStyle::DiagCross)
            EXPECT_NEAR(covered, unit, unit / 10);
        else
            EXPECT_EQ(covered, unit);
    }
    // The diagonal lines are 4 pixels across in every row, 32 apart.
    for (BrushStyle style : {BrushStyle::FDiagonal, BrushStyle::BDiagonal})
        for (int y = 0; y < 40; ++y) {
            std::vector<std::pair<int, int>> runs; // start, length; not those cut by the edges
            for (int x = 1; x < 99; ++x)
                if (brushCovers(style, x, y, four) && !brushCovers(style, x - 1, y, four)) {
                    int n = 1;
                    while (x + n < 100 && brushCovers(style, x + n, y, four))
                        ++n;
                    if (x + n < 100)
                        runs.emplace_back(x, n);
                }
            ASSERT_GE(runs.size(), 2u) << y;
            for (size_t i = 0; i < runs.size(); ++i) {
                EXPECT_EQ(runs[i].second, 4) << y;
                if (i > 0) {
                    EXPECT_EQ(runs[i].first - runs[i - 1].first, 32) << y;
                }
            }
        }
    // A hatched flood fill on a scaled canvas uses the scaled pattern, at 4 and at 4/3.
    for (const DetailScale& scale : {four, DetailScale{4, 3}})
        for (int code = 0; code <= 7; ++code) {
            const BrushStyle style = brushStyleFromCode(code);
            Canvas c(70, 50);
            c.setDetailScale(scale);
            c.setBrush(kRed, style);
            EXPECT_EQ(c.floodFill(5, 5, kWhite), 70 * 50);
            for (int y = 0; y < 50; ++y)
                for (int x = 0; x < 70; ++x)
                    ASSERT_EQ(c.pixel(x, y), brushCovers(style, x, y, scale) ? kRed : kWhite)
                        << code << " " << scale.den << " " << x << "," << y;
        }
}
