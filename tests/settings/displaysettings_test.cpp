#include "settings/displaysettings.h"

#include <gtest/gtest.h>

using namespace oboro;

TEST(StandardLook, StandardColumnPutsBackTheFixedColours)
{
    DisplayState d;
    d.NTownColor = 1;
    d.IslandsColor = 2;
    d.MountainColor = 3;
    d.CoastWidth = d.PrefWidth = d.TownWidth = 3;
    d.WakuWidth = 1;
    d.TownFontSize = 20;
    d.TownFontPixels = 40;
    applyStandardLook(d, false);
    EXPECT_EQ(d.NTownColor, StdNTownColor);
    EXPECT_EQ(d.IslandsColor, StdIslandsColor);
    EXPECT_EQ(d.MountainColor, StdMountainColor);
    EXPECT_EQ(d.CoastColor, 16711680u);
    EXPECT_EQ(d.PrefColor, 255u);
    EXPECT_EQ(d.TownColor, 2672688u);
    EXPECT_EQ(d.TownFontColor, 0u);
    EXPECT_EQ(d.DoColor, 0u);
    // The 標準 background differs from the start-up one.
    EXPECT_EQ(DisplayState{}.BackColor, 16777185u);
    EXPECT_EQ(d.BackColor, 16777190u);
    EXPECT_EQ(d.SavedBackColor, 16777190u);
    EXPECT_EQ(d.KuColor, 9421963u);
    EXPECT_EQ(d.FunColor, 12632256u);
    EXPECT_EQ(d.WakuColor, 16744576u);
    EXPECT_EQ(d.CoastWidth, 1);
    EXPECT_EQ(d.PrefWidth, 1);
    EXPECT_EQ(d.TownWidth, 1);
    EXPECT_EQ(d.WakuWidth, 2);
    EXPECT_EQ(d.TownFontSize, 8);
    EXPECT_EQ(d.TownFontPixels, 8);
}

TEST(StandardLook, SoftColumn)
{
    DisplayState d;
    applyStandardLook(d, true);
    EXPECT_EQ(d.CoastColor, 16754342u);
    EXPECT_EQ(d.PrefColor, 10329599u);
    EXPECT_EQ(d.TownColor, 10354589u);
    EXPECT_EQ(d.NTownColor, 16777088u);
    EXPECT_EQ(d.KuColor, 9421963u);
    EXPECT_EQ(d.TownFontColor, 8421504u);
    EXPECT_EQ(d.BackColor, 16777190u);
    EXPECT_EQ(d.WakuColor, 16744576u);
    EXPECT_EQ(d.DoColor, 8816262u);
    EXPECT_EQ(d.FunColor, 12632256u);
    EXPECT_EQ(d.IslandsColor, 10864515u);
    EXPECT_EQ(d.MountainColor, 16744576u);
}

TEST(ImageSizeChoices, FollowTheReduction)
{
    const struct {
        int divisor;
        std::array<std::string, 3> texts;
    } cases[] = {
        {1, {"600", "1200", "1800"}}, {2, {"300", "600", "900"}}, {3, {"200", "400", "600"}},
        {4, {"150", "300", "450"}},   {5, {"120", "240", "360"}}, {0, {"600", "1200", "1800"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(imageSizeChoices(c.divisor), c.texts) << c.divisor;
}

TEST(RadioFactors, IndexesOfTheChoices)
{
    EXPECT_EQ(magnificationStepIndex(0.2f), 2);
    EXPECT_EQ(magnificationStepIndex(0.3f), -1);
    EXPECT_EQ(moveFactorIndex(1.0f), 1);
    EXPECT_EQ(moveFactorIndex(0.5f), 2);
}
