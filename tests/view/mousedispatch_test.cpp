#include "view/mousedispatch.h"

#include <gtest/gtest.h>

using namespace oboro;

TEST(MouseDispatch, PressGoesToTheFirstArmedTool)
{
    struct Case {
        const char* what;
        ModeFlags flags;
        PressAction expected;
    };
    ModeFlags paintAndCentre;
    paintAndCentre.painting = true;
    paintAndCentre.centreSetting = true;
    ModeFlags rangeAndPaint;
    rangeAndPaint.rangeArmed = true;
    rangeAndPaint.painting = true;
    ModeFlags rangeApplied = rangeAndPaint;
    rangeApplied.rangeApplied = true;
    ModeFlags stampOverLegend;
    stampOverLegend.stamping = true;
    stampOverLegend.legendShown = true;
    stampOverLegend.legendBox = QRect(0, 0, 100, 100);
    ModeFlags barAndCentre;
    barAndCentre.scaleBarShown = true;
    barAndCentre.scaleBarHitBox = QRect(40, 40, 30, 10);
    barAndCentre.centreSetting = true;
    ModeFlags labelMoveThenCentre;
    labelMoveThenCentre.labelMove = true;
    labelMoveThenCentre.centreSetting = true;
    const Case cases[] = {
        {"nothing armed", ModeFlags{}, PressAction::TwoPointStart},
        {"painting before centre setting", paintAndCentre, PressAction::Paint},
        {"range before painting", rangeAndPaint, PressAction::RangeStart},
        {"an applied range gives way", rangeApplied, PressAction::Paint},
        {"stamping inside the legend stamps", stampOverLegend, PressAction::Stamp},
        {"scale bar before centre setting", barAndCentre, PressAction::ScaleBarDragStart},
        {"label move first", labelMoveThenCentre, PressAction::LabelMove},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dispatchPress(c.flags, true, false, 50, 45), c.expected) << c.what;
    EXPECT_EQ(pressAfterLabelMove(labelMoveThenCentre), PressAction::CentreSet);
}

TEST(MouseDispatch, RightClickOnlyOpensTheSettingsAndNothingBeforeTheFirstMap)
{
    ModeFlags f;
    f.painting = true;
    f.rangeDragging = true;
    EXPECT_EQ(dispatchPress(f, true, true, 1, 1), PressAction::DisplaySettings);
    EXPECT_EQ(dispatchPress(f, false, false, 1, 1), PressAction::None);
}

TEST(MouseDispatch, BoxesAreHitStrictlyInside)
{
    ModeFlags f;
    f.legendShown = true;
    f.legendBox = QRect(10, 10, 20, 20);
    EXPECT_EQ(dispatchPress(f, true, false, 10, 15), PressAction::TwoPointStart);
    EXPECT_EQ(dispatchPress(f, true, false, 11, 15), PressAction::LegendDragStart);
    EXPECT_EQ(dispatchPress(f, true, false, 30, 15), PressAction::TwoPointStart);
}

TEST(MouseDispatch, MoveReleaseAndDoubleClick)
{
    ModeFlags f;
    f.rangeDragging = true;
    f.centreSetting = true;
    EXPECT_EQ(dispatchMove(f, true), MoveAction::RangeRubber);
    EXPECT_EQ(dispatchRelease(f, true), ReleaseAction::RangeFinish);
    f.rangeDragging = false;
    EXPECT_EQ(dispatchMove(f, true), MoveAction::CentreCross);

    ModeFlags none;
    EXPECT_EQ(dispatchDoubleClick(none, true), DoubleClickAction::ArmCentre);
    ModeFlags painting;
    painting.painting = true;
    EXPECT_EQ(dispatchDoubleClick(painting, true), DoubleClickAction::None);
    ModeFlags path;
    path.pathMeasure = true;
    path.pathPoints = 3;
    EXPECT_EQ(dispatchDoubleClick(path, true), DoubleClickAction::ClosePath);
}
