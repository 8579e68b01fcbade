// The label table: the sorts and deletion move whole labels, colour included; cells
// typed into the grid; the labels-in-view list and the table rebuilt from it.
#include "labels/labeltable.h"

#include <gtest/gtest.h>

namespace oboro {
namespace {

LabelRow row(const std::string& text, Color color, int fileNumber = 0, int32_t x = 0, int32_t y = 0)
{
    LabelRow r;
    r.text = text;
    r.color = color;
    r.fileNumber = fileNumber;
    r.x = x;
    r.y = y;
    return r;
}

std::vector<std::string> texts(const LabelTable& t)
{
    std::vector<std::string> out;
    for (const LabelRow& r : t.rows())
        out.push_back(r.text);
    return out;
}

TEST(LabelTable, SortsKeepEachLabelsColourWithIt)
{
    struct Case {
        std::vector<std::string> in;
        std::vector<std::string> out;
    };
    const Case cases[] = {
        {{"b", "a", "ab"}, {"a", "ab", "b"}},
        // Shift-JIS order: あ is 82 A0, ア 83 41, 亜 88 9F.
        {{"亜", "ア", "あ"}, {"あ", "ア", "亜"}},
        // Whole texts are compared: these differ only after 60 bytes.
        {{std::string(30, 'x') + "東京都" + std::string(30, 'y') + "B", std::string(30, 'x') + "東京都" + std::string(30, 'y') + "A"},
         {std::string(30, 'x') + "東京都" + std::string(30, 'y') + "A", std::string(30, 'x') + "東京都" + std::string(30, 'y') + "B"}},
    };
    for (const Case& c : cases) {
        LabelTable t;
        for (size_t i = 0; i < c.in.size(); ++i)
            t.append(row(c.in[i], static_cast<Color>(0x100 + i)));
        t.sortByText();
        EXPECT_EQ(texts(t), c.out);
        for (const LabelRow& r : t.rows()) {
            const size_t was = static_cast<size_t>(std::find(c.in.begin(), c.in.end(), r.text) - c.in.begin());
            EXPECT_EQ(r.color, 0x100 + was) << r.text;
        }
    }

    LabelTable t;
    t.append(row("c", 1, 3));
    t.append(row("a", 2, 1));
    t.append(row("b", 3, 3));
    t.append(row("d", 4, 0));
    t.sortByFileNumber();
    EXPECT_EQ(texts(t), (std::vector<std::string>{"d", "a", "c", "b"})); // equal numbers keep their order
    EXPECT_EQ(t.row(2).color, 1u);
    EXPECT_EQ(t.row(3).color, 3u);
    EXPECT_EQ(t.findFileNumber(3), 2);
}

TEST(LabelTable, DeletingARowKeepsTheOthersWhole)
{
    LabelTable t;
    t.append(row("一", 10, 1, 100, 200));
    t.append(row("二", 20, 2, 300, 400));
    t.append(row("三", 30, 3, 500, 600));
    const LabelRow first = t.row(0), third = t.row(2);
    t.remove(1);
    ASSERT_EQ(t.count(), 2);
    EXPECT_EQ(t.row(0), first);
    EXPECT_EQ(t.row(1), third);
    t.remove(7); // no such row
    EXPECT_EQ(t.count(), 2);
}

TEST(LabelTable, CapacityIsEnforced)
{
    LabelTable t;
    for (int i = 0; i < kLabelCapacity - 1; ++i)
        ASSERT_TRUE(t.append(row("x", 0)));
    EXPECT_EQ(t.count(), kLabelCapacity - 1);
    EXPECT_TRUE(t.append(row("a", 0)));
    EXPECT_FALSE(t.append(row("b", 0)));
}

TEST(LabelTable, TypedCellsAreCheckedBeforeTheyAreKept)
{
    struct Case {
        LabelColumn column;
        std::string typed;
        bool accepted;
    };
    const Case cases[] = {
        {LabelColumn::Text, "新しい ラベル", true}, {LabelColumn::Text, "a,b", false},
        {LabelColumn::Text, "한국", false},          {LabelColumn::X, " 175800 ", true},
        {LabelColumn::Y, "1.5", false},             {LabelColumn::Size, "50", true},
        {LabelColumn::Size, "0", false},            {LabelColumn::Shown, "", false},
        {LabelColumn::FileNumber, "3", false},
    };
    for (const Case& c : cases) {
        LabelRow r = row("元", 5);
        const LabelRow before = r;
        const std::optional<std::string> why = editLabelCell(r, c.column, c.typed);
        EXPECT_EQ(!why, c.accepted) << c.typed;
        if (c.accepted)
            EXPECT_NE(r, before) << c.typed;
        else
            EXPECT_EQ(r, before) << c.typed;
    }
}

TEST(LabelTable, InViewListRebuildsTheTable)
{
    LabelTable t;
    for (int i = 0; i < 30; ++i)
        t.append(row("L" + std::to_string(i), static_cast<Color>(i), 0, i * 100, 1000));
    const Extent view{500, 0, 1600, 2000}; // x 500..1600: rows 5..16
    std::vector<LabelRow> list = labelsInExtent(t, view);
    ASSERT_EQ(list.size(), 12u);
    EXPECT_EQ(list.front().text, "L5");
    list[0].text = "変更";
    list[0].shown = false;
    std::swap(list[1], list[2]);
    EXPECT_EQ(rebuildFromList(t, list), 12);
    EXPECT_EQ(t.row(0).text, "変更");
    EXPECT_FALSE(t.row(0).shown);
    EXPECT_EQ(t.row(0).color, 5u); // the colour comes with its label
    EXPECT_EQ(t.row(1).text, "L7");
    EXPECT_EQ(t.row(1).color, 7u);
}

} // namespace
} // namespace oboro
