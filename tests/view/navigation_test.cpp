#include "view/navigation.h"

#include <gtest/gtest.h>

using namespace oboro;

namespace {
ViewState viewAt(int32_t cx, int32_t cy, float scale)
{
    ViewState v;
    v.centerX = cx;
    v.centerY = cy;
    v.scaleX = scale;
    v.scaleRatio = LatitudeFactor(cy) * 2.0f / 3.0f;
    v.scaleY = scale * v.scaleRatio;
    v.wgs = false;
    return v;
}
} // namespace

TEST(Navigation, StepChangeKeepsTheMagnification)
{
    struct Case {
        int count;
        float from, to;
        int expected;
    };
    const Case cases[] = {{7, 1.0f, 0.5f, 14}, {7, 1.0f, 0.2f, 34}, {3, 0.1f, 1.0f, 1}, {10, 0.1f, 0.5f, 2}};
    for (const Case& c : cases) {
        ViewState v;
        v.magCount = c.count;
        v.magStep = c.from;
        v.rangeApplied = true;
        EXPECT_EQ(changeMagnificationStep(v, c.to), c.expected) << c.count << " " << c.from << "→" << c.to;
        EXPECT_EQ(v.magStep, c.to);
        EXPECT_FALSE(v.rangeApplied);
    }
    EXPECT_EQ(magnificationLabel(14, 0.5f), "7.00");
}

TEST(Navigation, RangeSquareSnapsToItsStep)
{
    const std::pair<float, float> cases[] = {{23.0f, 25.0f}, {25.0f, 30.0f}, {230.0f, 240.0f}, {51.0f, 60.0f},
                                             {600.0f, 650.0f}, {1234.0f, 1300.0f}};
    for (auto [km, snapped] : cases)
        EXPECT_EQ(snapRangeKm(km), snapped) << km;
    EXPECT_EQ(rangeSide(10, 10, 50, 70), 60);
}

TEST(Navigation, SmallRangeSquaresAreNotSnapped)
{
    // About 0.1 km per pixel: a 25-pixel square is 2.5 km.
    ViewState v = viewAt(130000, 165000, 0.1f / 0.9f);
    const RangeSquare small = rangeSquare(v, 100, 100, 125, 125);
    EXPECT_FALSE(small.snapped());
    EXPECT_EQ(small.side, 25);
    const RangeSquare big = rangeSquare(v, 100, 100, 330, 330);
    ASSERT_TRUE(big.snapped());
    EXPECT_EQ(big.km, 20.0f); // 230 pixels of 9 x units (about 82 m) each: about 18.9 km dragged
    EXPECT_GT(big.side, 230);
}

TEST(Navigation, MovesFollowTheArrows)
{
    ViewState v = viewAt(100000, 100000, 0.02f);
    moveView(v, MoveDirection::Right);
    EXPECT_EQ(v.centerX, 99000); // the centre moves back: the picture moves right
    moveView(v, MoveDirection::Up);
    EXPECT_EQ(v.centerY, 99000);
    moveView(v, MoveDirection::Left);
    moveView(v, MoveDirection::Down);
    EXPECT_EQ(v.centerX, 100000);
    EXPECT_EQ(v.centerY, 100000);
}

TEST(Navigation, CentreAtTheClickedPixel)
{
    ViewState v = viewAt(100000, 100000, 0.5f);
    v.scaleY = 0.25f;
    centreAt(v, 400, 200);
    EXPECT_EQ(v.centerX, 100200);
    EXPECT_EQ(v.centerY, 100400);
}

TEST(Navigation, TinyRangeIsRefusedAndBackWalksTheHistory)
{
    MapStore store;
    ViewState v = viewAt(100000, 100000, 0.05f);
    store.extent = Extent{94000, 94000, 106000, 106000};
    EXPECT_FALSE(applyRange(v, store, 100, 100, 4));
    EXPECT_TRUE(v.rangeApplied);
    EXPECT_EQ(store.extent, (Extent{94000, 94000, 106000, 106000}));

    BackHistory history;
    history.push(currentView(v, store));
    ASSERT_TRUE(applyRange(v, store, 100, 100, 200));
    EXPECT_EQ(store.extent.maxX - store.extent.minX, 4000);
    EXPECT_EQ(v.centerX, (store.extent.minX + store.extent.maxX) / 2);
    const BackEntry first = currentView(v, store);
    history.push(first);
    ASSERT_TRUE(applyRange(v, store, 300, 300, 100));

    ASSERT_TRUE(history.back(v, store));
    EXPECT_EQ(v.centerX, first.centerX);
    EXPECT_EQ(store.extent.minX, first.minX);
    ASSERT_TRUE(history.back(v, store));
    EXPECT_EQ(v.centerX, 100000);
    EXPECT_TRUE(history.empty());
    EXPECT_FALSE(history.back(v, store));
}

TEST(Navigation, HistoryKeepsTheNewestHundred)
{
    BackHistory h;
    for (int i = 0; i < 105; ++i)
        h.push(BackEntry{0, 0, 0, 0, i, 0, 1.0f, 1});
    EXPECT_EQ(h.count(), 100);
    ViewState v;
    MapStore s;
    h.back(v, s);
    EXPECT_EQ(v.centerX, 104);
}
