// The legend layer: where the box, the samples and the texts go at 600, 1200 and 1800
// pixels, the switches, and the position a dropped box gives.
#include "paint/legendlayer.h"

#include <gtest/gtest.h>

using namespace oboro;

namespace {

constexpr Color kGround = 0x808080; // the picture under the legend

Color at(const Canvas& c, int x, int y) { return c.pixel(x, y).value_or(0xDEADBEEF); }

// Whether a pixel of the colour lies in the rectangle (right and bottom excluded).
bool anyIn(const Canvas& c, Color colour, int x1, int y1, int x2, int y2)
{
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x)
            if (at(c, x, y) == colour)
                return true;
    return false;
}

LegendSettings colouredLegend()
{
    LegendSettings s; // 3 rows, title on, at (50, 50), 40 × 15 samples, gap 3, size 10
    s.frameColor = 0x0000FF;
    s.textColor = 0x00AA00;
    s.rows[0] = {0xFF0000, 0, "北"};
    s.rows[1] = {0x00FFFF, 0, "中央の地域"};
    s.rows[2] = {0xFF00FF, 0, "南"};
    return s;
}

} // namespace

TEST(LegendLayer, BoxSamplesAndTextsScaleWithThePicture)
{
    struct Expect {
        int side;
        int bottom;             // box bottom, excluded
        std::array<int, 3> tops; // rows
        int textX;
    };
    // At 600 the box spans (45, 45) to (105 + T, 126), rows at 68, 86, 104, texts at 100;
    // larger pictures multiply every distance (the half gap is truncated after scaling).
    // 3600 is a print size: positions six times, pen widths twice (side ÷ 1800) as large.
    const Expect cases[] = {{600, 126, {68, 86, 104}, 100}, {1200, 251, {136, 172, 208}, 200},
                            {1800, 377, {204, 258, 312}, 300}, {3600, 753, {408, 516, 624}, 600}};
    const LegendSettings s = colouredLegend();
    for (const Expect& e : cases) {
        SCOPED_TRACE(e.side);
        const int f = e.side / 600;
        Canvas c(e.side, e.side, kGround);
        c.setDetailScale(DetailScale::of(e.side, 1800));
        const QRect box = drawLegend(c, s, e.side);
        // The widest text decides the width: T = the widest description at size 10 f.
        Canvas metrics(1, 1);
        metrics.setFont(10 * f, kBlack, Canvas::mapFontFamily());
        const int widest = std::max(metrics.textWidth("中央の地域"),
                                    static_cast<int>(metrics.textWidth(s.title) * 0.7f));
        EXPECT_EQ(box, QRect(QPoint(45 * f, 45 * f), QPoint(e.textX + widest + 5 * f - 1, e.bottom - 1)));
        const int midY = (box.top() + box.bottom()) / 2;
        // Frame in the frame colour, the ground outside untouched, the inside filled (the
        // bold pen's outline is as wide as the picture's detail scale makes it).
        const int pen = 2 * c.detailScale().pixels(1);
        EXPECT_EQ(at(c, box.left(), midY), 0x0000FFu);
        EXPECT_EQ(at(c, box.right(), midY), 0x0000FFu);
        EXPECT_EQ(at(c, box.left() - pen, midY), kGround);
        EXPECT_EQ(at(c, box.right() + pen, midY), kGround);
        EXPECT_EQ(at(c, (box.left() + box.right()) / 2, box.bottom() + pen), kGround);
        EXPECT_EQ(at(c, 48 * f, midY), kWhite);
        for (int r = 0; r < 3; ++r) {
            SCOPED_TRACE(r);
            const int top = e.tops[r];
            // The sample: black outline, the row colour inside, 40 f × 15 f.
            EXPECT_EQ(at(c, 50 * f, top + 7 * f), kBlack);
            EXPECT_EQ(at(c, 50 * f + 40 * f - 1, top + 7 * f), kBlack);
            EXPECT_EQ(at(c, 70 * f, top + 7 * f), s.rows[r].color);
            EXPECT_EQ(at(c, 70 * f, top - 1), kWhite);
            EXPECT_EQ(at(c, 70 * f, top + 15 * f + c.detailScale().pixels(1) - 1), kWhite);
            // The description in the text colour, from the text column on.
            EXPECT_TRUE(anyIn(c, 0x00AA00, e.textX, top, e.textX + 12 * f, top + 15 * f));
            EXPECT_FALSE(anyIn(c, 0x00AA00, 50 * f + 40 * f, top, e.textX, top + 15 * f));
        }
        // The title line above the rows, at (50 f, 50 f).
        EXPECT_TRUE(anyIn(c, 0x00AA00, 50 * f, 50 * f, 50 * f + 30 * f, 50 * f + 15 * f));
        EXPECT_FALSE(anyIn(c, 0x00AA00, 45 * f + 2, 45 * f + 2, 50 * f, e.bottom - 2));
    }
}

TEST(LegendLayer, WithoutTitleTheFirstRowStartsAtThePosition)
{
    LegendSettings s = colouredLegend();
    s.titleShown = false;
    Canvas c(600, 600, kGround);
    const QRect box = drawLegend(c, s, 600);
    // B = 3 × 18 − 1 = 53: the box from 45 to 50 + 53 + 5.
    EXPECT_EQ(box.top(), 45);
    EXPECT_EQ(box.bottom() + 1, 108);
    EXPECT_EQ(at(c, 70, 57), 0xFF0000u); // row 1 from y = 50
    EXPECT_EQ(at(c, 70, 75), 0x00FFFFu); // row 2 from y = 68
    EXPECT_FALSE(anyIn(c, 0x00AA00, 50, 47, 200, 50));
}

TEST(LegendLayer, FrameSwitchesAndHatchedSamples)
{
    LegendSettings s = colouredLegend();
    s.frameShown = false;
    s.fillColor = 0xCCEEFF;
    s.rows[0].pattern = 2; // horizontal lines
    Canvas c(600, 600, kGround);
    const QRect box = drawLegend(c, s, 600);
    // Without the frame the outline is drawn in the fill colour.
    EXPECT_EQ(at(c, box.left(), 80), 0xCCEEFFu);
    EXPECT_EQ(at(c, box.left() - 1, 80), kGround);
    // A hatched sample: lines of the row colour over the fill colour.
    EXPECT_TRUE(anyIn(c, 0xFF0000, 51, 69, 89, 82));
    EXPECT_TRUE(anyIn(c, 0xCCEEFF, 51, 69, 89, 82));

    // Bold frame: two pixels wide; thin: one.
    s = colouredLegend();
    for (bool bold : {true, false}) {
        s.boldFrame = bold;
        Canvas d(600, 600, kGround);
        const QRect b = drawLegend(d, s, 600);
        int frame = 0;
        for (int x = b.left(); x < b.left() + 4; ++x)
            frame += at(d, x, 80) == 0x0000FFu;
        EXPECT_EQ(frame, bold ? 2 : 1) << bold;
    }
}

TEST(LegendLayer, DroppedBoxGivesThePositionIn600PixelUnits)
{
    // The outline's top-left is the box's corner, 5 units left of and above the position.
    EXPECT_EQ(legendPositionForDrop(95, 145, 600), QPoint(100, 150));
    EXPECT_EQ(legendPositionForDrop(200, 100, 1200), QPoint(105, 55));
    EXPECT_EQ(legendPositionForDrop(300, 300, 1800), QPoint(105, 105));
    // Kept within 0..600.
    EXPECT_EQ(legendPositionForDrop(599, 598, 600), QPoint(600, 600));
    EXPECT_EQ(legendPositionForDrop(-40, 0, 600), QPoint(0, 5));
}
