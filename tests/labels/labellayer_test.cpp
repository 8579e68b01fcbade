// The label layer on a small picture: where a label lands with and without its mark,
// its colours, hidden rows, and the font sizes of the size settings.
#include "labels/labellayer.h"
#include "support/mapfixtures.h"

#include <gtest/gtest.h>

namespace oboro {
namespace {

constexpr Color kFill = 0x336699;

// The bounding box of the pixels that are not the fill colour.
QRect changed(const Canvas& c)
{
    QRect box;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (*c.pixel(x, y) != kFill)
                box |= QRect(x, y, 1, 1);
    return box;
}

int count(const Canvas& c, Color colour)
{
    int n = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            n += *c.pixel(x, y) == colour;
    return n;
}

class LabelLayer : public ::testing::Test {
protected:
    void SetUp() override
    {
        Canvas::installFontSubstitutions();
        view = test::unitView();
        view.imageSide = 600;
        display.BackColor = 0xEEEEEE;
        LabelRow r;
        r.x = 100;
        r.y = 500; // pixel (100, 100)
        r.text = "横浜";
        r.size = 8;
        r.color = 0x800000;
        table.append(r);
    }
    Canvas draw(const LabelLook& look)
    {
        Canvas c(600, 600, kFill);
        painter.draw(c, view, display, table, look);
        return c;
    }

    ViewState view;
    DisplayState display;
    LabelTable table;
    LabelPainter painter;
};

TEST_F(LabelLayer, TextStartsAtThePointOrTheMarkSitsOnIt)
{
    LabelLook look;
    look.marks = false;
    Canvas plain = draw(look);
    // The text's box has its top-left corner on the point, in the background colour.
    EXPECT_EQ(changed(plain).topLeft(), QPoint(100, 100));
    EXPECT_EQ(*plain.pixel(100, 100), display.BackColor);
    EXPECT_GT(count(plain, 0x800000), 10);
    // Exactly what the canvas writes there.
    Canvas direct(600, 600, kFill);
    direct.setFont(8, 0x800000);
    direct.setBrush(display.BackColor);
    direct.textOut(100, 100, "横浜");
    EXPECT_EQ(plain.image(), direct.image());

    // With the mark, size 8 at ×1.0: 4 pixels left and up, "○" first.
    look.marks = true;
    Canvas marked = draw(look);
    EXPECT_EQ(changed(marked).topLeft(), QPoint(96, 96));
    Canvas directMarked(600, 600, kFill);
    directMarked.setFont(8, 0x800000);
    directMarked.setBrush(display.BackColor);
    directMarked.textOut(96, 96, "○横浜");
    EXPECT_EQ(marked.image(), directMarked.image());
    // Drawn again from the kept runs: the same picture.
    EXPECT_EQ(draw(look).image(), marked.image());
    EXPECT_EQ(painter.cachedRuns(), 2u);
}

TEST_F(LabelLayer, WhiteBackHighlightAndHiddenRows)
{
    LabelLook look;
    look.whiteBack = true;
    look.highlightRow = 0;
    Canvas c = draw(look);
    EXPECT_EQ(*c.pixel(96, 96), kWhite);
    EXPECT_EQ(count(c, 0x800000), 0);
    EXPECT_GT(count(c, kLabelHighlightColor), 10);

    table.row(0).shown = false;
    EXPECT_TRUE(changed(draw(look)).isNull());
    table.row(0).shown = true;
    look.marks = look.texts = false;
    EXPECT_TRUE(changed(draw(look)).isNull());
}

TEST_F(LabelLayer, LabelsNearTheEdgeAreClippedAndFarOnesSkipped)
{
    table.row(0).x = 595;
    table.row(0).y = 2;
    LabelRow far = table.row(0);
    far.x = -100000000;
    table.append(far);
    LabelLook look;
    look.marks = false;
    const QRect box = changed(draw(look));
    EXPECT_EQ(box.topLeft(), QPoint(595, 598));
    EXPECT_EQ(box.bottomRight(), QPoint(599, 599));
}

TEST(LabelFontSize, FollowsFactorFixedSizeAndImageSize)
{
    struct Case {
        int base;
        int factor;
        bool fixed;
        int sizeFactor;
        int reduction;
        int side;
        int points;
    };
    const Case cases[] = {
        {8, 2, true, 1, 1, 600, 8},    {8, 0, true, 3, 1, 1800, 6},   {8, 3, true, 1, 1, 600, 9},
        {8, 5, true, 3, 1, 1800, 16},  {8, 2, false, 3, 1, 1800, 24}, {8, 2, false, 2, 3, 400, 5},
        {10, 4, false, 1, 1, 600, 15}, {8, 2, true, 4, 1, 2400, 10},  {1, 0, true, 1, 1, 600, 0},
    };
    for (const Case& c : cases) {
        LabelLook look;
        look.factor = c.factor;
        look.fixedSize = c.fixed;
        ViewState v;
        v.sizeFactor = c.sizeFactor;
        v.reductionDivisor = c.reduction;
        v.imageSide = c.side;
        EXPECT_EQ(labelFontSize(c.base, look, v), c.points) << c.base << " " << c.factor << " " << c.side;
    }
}

} // namespace
} // namespace oboro
