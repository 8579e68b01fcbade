// The map's mouse tools on a real map: which tool gets the pointer, drags that keep it,
// double-clicks, and the marks painted over the cached picture.
#include "app/mousetools.h"

#include "support/sessionfixture.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace oboro {
namespace {

class RecordingHost : public ToolHost {
public:
    void openWebMap(QPoint p) override { webMap.push_back(p); }
    void busy(bool on) override { busyCalls += on ? 1 : 0; }
    void pathChanged(const PathEvent&) override { ++paths; }
    void pointerReadout(QPoint p) override { readouts.push_back(p); }
    void rangeLength(float km) override { lengths.push_back(km); }
    void rangeReleased(QPoint, int side) override { releasedSides.push_back(side); }
    void rangeApplied() override { ++applied; }
    void circlesChanged() override { ++circles; }
    void readingsChanged() override { ++readings; }

    std::vector<QPoint> webMap;
    int busyCalls = 0;
    int paths = 0;
    std::vector<QPoint> readouts;
    std::vector<float> lengths;
    std::vector<int> releasedSides;
    int applied = 0;
    int circles = 0;
    int readings = 0;
};

struct ToolsOnKanagawa : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(test::openMap(session, sink, {13}));
        sink.messages.clear();
    }
    long yellowOverlayPixels(const QRect& within) const
    {
        QImage shown = session.canvas.image().copy();
        QPainter p(&shown);
        tools.paintOverlay(p);
        p.end();
        long n = 0;
        for (int y = within.top(); y <= within.bottom(); ++y)
            for (int x = within.left(); x <= within.right(); ++x)
                n += shown.pixel(x, y) == qRgb(0xFF, 0xFF, 0x00);
        return n;
    }
    CollectingSink sink;
    MapSession session{sink};
    RecordingHost host;
    MouseTools tools{session, host};
};

TEST(MouseTools, NothingHappensBeforeTheFirstMap)
{
    CollectingSink sink;
    MapSession session{sink};
    RecordingHost host;
    MouseTools tools{session, host};
    session.webMapArmed = true;
    tools.press(QPoint(10, 10));
    tools.move(QPoint(20, 20));
    tools.release(QPoint(20, 20));
    EXPECT_TRUE(host.webMap.empty());
    EXPECT_TRUE(host.readouts.empty());
}

TEST_F(ToolsOnKanagawa, TheArmedToolOfHighestPrecedenceHasThePointer)
{
    EXPECT_EQ(session.activeMouseTool(), MouseToolId::Navigate);
    session.labelControls.placement = LabelPlacement::Mouse;
    ASSERT_TRUE(session.placeLabel());
    EXPECT_EQ(session.activeMouseTool(), MouseToolId::LabelPlace);
    session.armCentre();
    EXPECT_EQ(session.activeMouseTool(), MouseToolId::LabelPlace) << "label placement before centring";
    session.newMapLine();
    EXPECT_EQ(session.activeMouseTool(), MouseToolId::MapLine) << "map line before label placement";
    session.webMapArmed = true;
    EXPECT_EQ(session.activeMouseTool(), MouseToolId::WebMap) << "the web map before everything";

    tools.press(QPoint(120, 130));
    ASSERT_EQ(host.webMap.size(), 1u);
    EXPECT_EQ(host.webMap[0], QPoint(120, 130));
}

TEST_F(ToolsOnKanagawa, ARangeDragKeepsThePointerUntilItsRelease)
{
    session.armRange();
    ASSERT_EQ(session.activeMouseTool(), MouseToolId::Range);
    tools.press(QPoint(100, 100));
    ASSERT_TRUE(session.view.rangeDragging);
    // A tool armed during the drag waits for its end.
    session.labelControls.placement = LabelPlacement::Mouse;
    ASSERT_TRUE(session.placeLabel());
    EXPECT_EQ(session.activeMouseTool(), MouseToolId::Range);
    tools.move(QPoint(400, 420));
    ASSERT_FALSE(host.lengths.empty());
    EXPECT_GT(host.lengths.back(), 0.0f);
    // The square is painted over the picture, never into it.
    const QImage before = session.canvas.image().copy();
    EXPECT_GT(yellowOverlayPixels(QRect(100, 100, 1, 300)), 250);
    EXPECT_EQ(session.canvas.image(), before);

    tools.release(QPoint(400, 420));
    EXPECT_EQ(host.releasedSides.size(), 1u);
    EXPECT_EQ(host.applied, 1);
    EXPECT_FALSE(session.view.rangeDragging);
    EXPECT_EQ(session.activeMouseTool(), MouseToolId::LabelPlace);
    EXPECT_TRUE(session.labels.empty()) << "the range's press and release placed no label";
}

TEST_F(ToolsOnKanagawa, TheDistanceDragEndsOnReleaseEvenWhenAToolIsArmedMeanwhile)
{
    tools.press(QPoint(200, 200));
    ASSERT_TRUE(session.twoPoint.dragging());
    session.armCentre(); // "+" during the drag
    tools.move(QPoint(300, 200));
    ASSERT_TRUE(session.overlay.measureLine);
    EXPECT_FALSE(session.overlay.centreCross);
    EXPECT_GT(yellowOverlayPixels(QRect(210, 200, 80, 1)), 70);
    tools.release(QPoint(300, 200));
    EXPECT_FALSE(session.twoPoint.dragging());
    EXPECT_EQ(session.activeMouseTool(), MouseToolId::Centre);
}

TEST_F(ToolsOnKanagawa, APressAfterALostReleaseGoesToTheArmedTool)
{
    tools.press(QPoint(200, 200)); // its release never came
    ASSERT_TRUE(session.twoPoint.dragging());
    session.webMapArmed = true;
    tools.press(QPoint(210, 220));
    ASSERT_EQ(host.webMap.size(), 1u);
    EXPECT_EQ(host.webMap[0], QPoint(210, 220));
}

TEST_F(ToolsOnKanagawa, TheScaleBarIsGrabbedUnlessTheToolKeepsEveryPress)
{
    session.setSwitch(Switch::ScaleBar, true);
    ASSERT_TRUE(session.decorations.scaleBar.drawn);
    const QPoint bar = scaleBarHitBox(session.decorations.scaleBar, session.view.imageSide).center();
    ASSERT_TRUE(session.scaleBarGrabbable(bar));

    // Label placement gives way: the press grabs the bar.
    session.labelControls.placement = LabelPlacement::Mouse;
    ASSERT_TRUE(session.placeLabel());
    tools.press(bar);
    EXPECT_TRUE(session.scaleBarDragging);
    EXPECT_EQ(session.activeMouseTool(), MouseToolId::ScaleBarDrag);
    tools.release(QPoint(60, 80));
    EXPECT_FALSE(session.scaleBarDragging);
    EXPECT_TRUE(session.labels.empty());

    // A symbol is stamped even inside the bar.
    session.labelControls.placePending = false;
    ASSERT_TRUE(session.chooseSymbol(104));
    const QPoint moved = scaleBarHitBox(session.decorations.scaleBar, session.view.imageSide).center();
    tools.press(moved);
    EXPECT_FALSE(session.scaleBarDragging);
    EXPECT_EQ(session.stamps.size(), 1u);
}

TEST_F(ToolsOnKanagawa, DoubleClickArmsTheCentreExceptForToolsThatKeepIt)
{
    session.newMapLine();
    tools.doubleClick(QPoint(300, 300));
    EXPECT_NE(session.tool, MapTool::Centre) << "a map line keeps its double-clicks";
    session.closeMapLine();
    ASSERT_EQ(session.activeMouseTool(), MouseToolId::Navigate);
    tools.doubleClick(QPoint(300, 300));
    EXPECT_EQ(session.activeMouseTool(), MouseToolId::Centre);
    // The cross follows the pointer over the picture; the press centres the map there.
    tools.move(QPoint(350, 250));
    EXPECT_GT(yellowOverlayPixels(QRect(340, 250, 21, 1)), 10);
    const QPoint before(session.view.centerX, session.view.centerY);
    tools.press(QPoint(350, 250));
    EXPECT_EQ(session.activeMouseTool(), MouseToolId::Navigate);
    EXPECT_FALSE(session.overlay.centreCross);
    EXPECT_NE(QPoint(session.view.centerX, session.view.centerY), before);
}

TEST_F(ToolsOnKanagawa, AMovedLabelLetsThePressGoOnToTheCentreSetting)
{
    session.labelControls.placement = LabelPlacement::Mouse;
    ASSERT_TRUE(session.placeLabel());
    tools.press(QPoint(250, 260));
    ASSERT_EQ(session.labels.count(), 1);
    session.startLabelMove(0);
    session.armCentre();
    ASSERT_EQ(session.activeMouseTool(), MouseToolId::LabelMove);
    tools.press(QPoint(400, 100));
    EXPECT_EQ(session.labelControls.moveRow, -1);
    EXPECT_EQ(session.activeMouseTool(), MouseToolId::Navigate) << "the same press set the centre";
}

TEST_F(ToolsOnKanagawa, PointerWithoutAToolShowsItsReadout)
{
    tools.move(QPoint(210, 220));
    ASSERT_EQ(host.readouts.size(), 1u);
    EXPECT_EQ(host.readouts[0], QPoint(210, 220));
    EXPECT_EQ(host.readings, 0) << "the readings box is off";
}

} // namespace
} // namespace oboro
