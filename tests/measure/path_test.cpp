// Path length and area, and the path measurer's clicks, sampling and closing.
#include "measure/path.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace oboro;

namespace {

// 135° E 35° N at the centre of a 600-pixel picture; a pixel is 10 map units
// (0.001° of longitude, about 91 m, and 1/1500° of latitude scaled to about the same).
ViewState view35()
{
    ViewState v;
    v.centerX = 130000;
    v.centerY = 165000;
    v.scaleX = 0.1f;
    v.scaleY = 0.1f * LatitudeFactor(165000) * 2.0f / 3.0f;
    v.wgs = false;
    return v;
}

// Area of a ring of longitude/latitude points on the sphere of 6371 km, in double
// precision, by the exact formula of a ring made of parallels and meridians extended
// to any ring: R² |Σ (λ2 − λ1)(sin φ1 + sin φ2)| / 2.
double sphereRingKm2(const std::vector<std::pair<double, double>>& ring)
{
    const double r = 3.14159265358979323846 / 180.0;
    double sum = 0;
    for (size_t i = 0; i < ring.size(); ++i) {
        const auto& p = ring[i];
        const auto& q = ring[(i + 1) % ring.size()];
        sum += (q.first - p.first) * r * (std::sin(p.second * r) + std::sin(q.second * r));
    }
    return 6371.0 * 6371.0 * std::fabs(sum) / 2;
}

std::vector<std::pair<double, double>> degreesOf(const ViewState& v, const std::vector<QPoint>& pixels)
{
    std::vector<std::pair<double, double>> out;
    for (const QPoint& p : pixels) {
        const QPoint m = PixelToMap(v, p.x(), p.y());
        out.emplace_back(longitudeOf(m.x()), latitudeOf(m.y()));
    }
    return out;
}

std::vector<QPoint> reversed(std::vector<QPoint> p)
{
    std::reverse(p.begin(), p.end());
    return p;
}

} // namespace

TEST(PathArea, ClosedPathGivesThePolygonsArea)
{
    const ViewState v = view35();
    const std::vector<std::vector<QPoint>> rings = {
        {{100, 100}, {500, 100}, {500, 400}, {100, 400}},                         // rectangle
        {{100, 100}, {500, 100}, {500, 400}, {300, 400}, {300, 250}, {100, 250}}, // L shape
        {{50, 550}, {550, 500}, {320, 20}},                                       // triangle
        {{300, 50}, {560, 300}, {300, 560}, {40, 300}},                           // diamond
    };
    for (const auto& ring : rings) {
        const double expected = sphereRingKm2(degreesOf(v, ring));
        const double area = pathAreaKm2(v, ring);
        // The trapezoid sum takes each edge's east-west length at the edge's own
        // latitude for its whole strip down to the lowest point, so it comes out a little
        // small: about 0.25 % for these paths of up to 46 km north to south at 35° N.
        EXPECT_NEAR(area, expected, expected * 0.004) << ring.size() << " points";
        EXPECT_LT(area, expected) << ring.size() << " points";
        // The direction of travel does not matter.
        EXPECT_NEAR(pathAreaKm2(v, reversed(ring)), area, area * 1e-5);
    }
    // The L shape is the rectangle less its missing quarter.
    const double whole = pathAreaKm2(v, rings[0]);
    const double notch = pathAreaKm2(v, {{100, 250}, {300, 250}, {300, 400}, {100, 400}});
    EXPECT_NEAR(pathAreaKm2(v, rings[1]), whole - notch, whole * 0.002);
}

TEST(PathArea, FewerThanThreePointsEncloseNothing)
{
    const ViewState v = view35();
    EXPECT_EQ(pathAreaKm2(v, {}), 0.0);
    EXPECT_EQ(pathAreaKm2(v, {{10, 10}}), 0.0);
    EXPECT_EQ(pathAreaKm2(v, {{10, 10}, {300, 200}}), 0.0);
    EXPECT_EQ(pathLengthKm(v, {{10, 10}}), 0.0);
    // Three points on one line enclose nothing either.
    EXPECT_NEAR(pathAreaKm2(v, {{10, 10}, {110, 10}, {210, 10}}), 0.0, 1e-3);
}

TEST(PathLength, SumOfTheSegments)
{
    const ViewState v = view35();
    const std::vector<QPoint> pts = {{100, 100}, {500, 100}, {500, 400}};
    const auto d = degreesOf(v, pts);
    const double ab = Distance(d[0].first, d[0].second, d[1].first, d[1].second);
    const double bc = Distance(d[1].first, d[1].second, d[2].first, d[2].second);
    EXPECT_NEAR(pathLengthKm(v, pts), ab + bc, 1e-3);
    // About 36.4 km east along 35° N and 24.3 km north (300 pixels of 81 m).
    EXPECT_NEAR(ab, 36.4, 0.1);
    EXPECT_NEAR(bc, 300 / (0.1 * LatitudeFactor(165000) * 2 / 3) / 15000 * 111.195, 0.1);
}

TEST(PathMeasurer, ManualPathClosedByDoubleClick)
{
    const ViewState v = view35();
    CollectingSink sink;
    PathMeasurer m(QPoint(0, 0));
    const PathEvent start = m.begin();
    EXPECT_EQ(start.panel.title, std::string("距離"));
    EXPECT_EQ(start.panel.length, std::string("   0.00 km"));
    EXPECT_EQ(start.panel.area, std::string("   計測中 0"));
    EXPECT_EQ(start.panel.superscriptShown, false);
    EXPECT_EQ(start.panel.figureColor, kFigureRed);

    const std::vector<QPoint> corners = {{100, 100}, {500, 100}, {500, 400}, {100, 400}};
    PathEvent e;
    for (const QPoint& p : corners)
        e = m.click(v, p, false, sink);
    EXPECT_EQ(e.panel.area, std::string("   計測中 4"));
    EXPECT_EQ(e.panel.length, lengthText(pathLengthKm(v, corners)));
    EXPECT_EQ(m.count(), 4);

    const PathEvent closed = m.doubleClick(v);
    EXPECT_TRUE(closed.handled);
    EXPECT_TRUE(closed.finished);
    EXPECT_TRUE(m.resultHeld());
    EXPECT_FALSE(m.collecting());
    // The closing segment counts in the length; the area is the rectangle's.
    std::vector<QPoint> ring = corners;
    ring.push_back(corners[0]);
    EXPECT_NEAR(m.lengthKm(), pathLengthKm(v, ring), 1e-6);
    EXPECT_EQ(closed.panel.length, lengthText(m.lengthKm()));
    EXPECT_NEAR(m.areaKm2(), sphereRingKm2(degreesOf(v, corners)), m.areaKm2() * 0.002);
    EXPECT_EQ(closed.panel.area, areaText(m.areaKm2()));
    EXPECT_EQ(closed.panel.superscriptShown, true);
    EXPECT_TRUE(sink.messages.empty());
}

TEST(PathMeasurer, PointsAreTakenAtTheCursorsMark)
{
    const ViewState v = view35();
    CollectingSink sink;
    PathMeasurer m;
    m.begin();
    m.click(v, QPoint(100, 100), false, sink);
    ASSERT_EQ(m.count(), 1);
    EXPECT_EQ(m.points()[0], QPoint(116, 115));
}

TEST(PathMeasurer, DoubleClickAfterOnePointGivesZero)
{
    const ViewState v = view35();
    CollectingSink sink;
    PathMeasurer m;
    m.begin();
    m.click(v, QPoint(200, 200), false, sink);
    const PathEvent e = m.doubleClick(v);
    EXPECT_TRUE(e.finished);
    EXPECT_EQ(e.panel.area, std::string("    0.00 km"));
    EXPECT_EQ(e.panel.length, std::string("   0.00 km"));
    // Without points a double click is not the path's (it goes on to the centring).
    PathMeasurer idle;
    idle.begin();
    EXPECT_FALSE(idle.doubleClick(v).handled);
}

TEST(PathMeasurer, BandIsTheClickedPointsAndTheLineToThePointer)
{
    const ViewState v = view35();
    CollectingSink sink;
    PathMeasurer m(QPoint(0, 0));
    m.begin();
    EXPECT_FALSE(m.move(QPoint(50, 50), false)); // no point yet
    EXPECT_TRUE(m.band().points.empty());
    m.click(v, QPoint(100, 100), false, sink);
    EXPECT_TRUE(m.move(QPoint(300, 120), false));
    EXPECT_TRUE(m.move(QPoint(400, 300), false));
    m.click(v, QPoint(400, 300), false, sink);
    m.move(QPoint(200, 500), false);
    // The clicked segment and the band to the pointer, nothing of the earlier pointer.
    const PathMeasurer::Band b = m.band();
    EXPECT_EQ(b.points, (std::vector<QPoint>{{100, 100}, {400, 300}, {200, 500}}));
    EXPECT_EQ(b.color, kManualPathColor);
    m.doubleClick(v);
    EXPECT_TRUE(m.band().points.empty()); // closed: nothing more to show
}

TEST(PathMeasurer, SampledPathClosesNearItsStart)
{
    const ViewState v = view35();
    CollectingSink sink;
    PathMeasurer m(QPoint(0, 0));
    m.begin();
    const PathEvent first = m.click(v, QPoint(100, 100), true, sink);
    EXPECT_TRUE(first.startTimer);
    EXPECT_TRUE(m.sampling());
    EXPECT_FALSE(m.click(v, QPoint(300, 300), true, sink).handled); // later clicks are ignored

    // The pointer stays on the start: no closing before the eleventh point.
    for (int i = 0; i < 10; ++i) {
        const PathEvent t = m.tick(v, sink);
        EXPECT_FALSE(t.finished) << i;
    }
    EXPECT_EQ(m.count(), 10);
    // Round a square, 20 samples a side, back to within 4 pixels of the start.
    std::vector<QPoint> trace;
    for (int i = 1; i <= 80; ++i) {
        const int s = (i - 1) / 20, t = (i - 1) % 20 + 1;
        QPoint p = s == 0 ? QPoint(100 + 20 * t, 100)
                 : s == 1 ? QPoint(500, 100 + 15 * t)
                 : s == 2 ? QPoint(500 - 20 * t, 400)
                          : QPoint(100, 400 - 15 * t);
        if (i == 80)
            p = QPoint(103, 104);
        trace.push_back(p);
        m.move(p, true);
        const PathEvent t2 = m.tick(v, sink);
        if (i < 80) {
            ASSERT_FALSE(t2.finished) << i;
            EXPECT_EQ(t2.panel.area, pointCountText(m.count()));
        } else {
            EXPECT_TRUE(t2.finished);
            EXPECT_TRUE(t2.stopTimer);
            EXPECT_TRUE(t2.uncheckAutomatic);
            EXPECT_TRUE(m.resultHeld());
            EXPECT_EQ(t2.panel.superscriptShown, true);
        }
    }
    const std::vector<QPoint> square = {{100, 100}, {500, 100}, {500, 400}, {100, 400}};
    EXPECT_NEAR(m.areaKm2(), sphereRingKm2(degreesOf(v, square)), m.areaKm2() * 0.01);
    EXPECT_FALSE(m.sampling());
    EXPECT_TRUE(m.tick(v, sink).stopTimer);
}

TEST(PathMeasurer, DoubleClickFinishesASampledPath)
{
    const ViewState v = view35();
    CollectingSink sink;
    PathMeasurer m(QPoint(0, 0));
    m.begin();
    m.click(v, QPoint(100, 100), true, sink);
    m.tick(v, sink);
    for (const QPoint p : {QPoint(400, 100), QPoint(400, 400)}) {
        m.move(p, true);
        m.tick(v, sink);
    }
    const PathEvent e = m.doubleClick(v);
    EXPECT_TRUE(e.finished && e.stopTimer && e.uncheckAutomatic);
    // A triangle: half the square of side 300 pixels; the length has no closing segment.
    EXPECT_NEAR(m.areaKm2(), sphereRingKm2(degreesOf(v, {{100, 100}, {400, 100}, {400, 400}})), m.areaKm2() * 0.004);
    EXPECT_NEAR(m.lengthKm(), pathLengthKm(v, {{100, 100}, {400, 100}, {400, 400}}), 1e-6);
}

TEST(PathMeasurer, ARedrawAbandonsTheSampling)
{
    const ViewState v = view35();
    CollectingSink sink;
    PathMeasurer m;
    m.begin();
    m.click(v, QPoint(100, 100), true, sink);
    m.tick(v, sink);
    m.reset();
    EXPECT_EQ(m.count(), 0);
    EXPECT_TRUE(m.tick(v, sink).stopTimer);
}

TEST(PathMeasurer, TheTableOfPointsIsLimited)
{
    const ViewState v = view35();
    CollectingSink sink;
    PathMeasurer manual(QPoint(0, 0));
    manual.begin();
    for (int i = 0; i < kPathCapacity; ++i)
        manual.click(v, QPoint(i % 600, i / 600), false, sink);
    EXPECT_TRUE(sink.messages.empty());
    const PathEvent refused = manual.click(v, QPoint(5, 5), false, sink);
    EXPECT_TRUE(refused.handled);
    EXPECT_EQ(manual.count(), kPathCapacity);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0], (Message{kPathFullText, kPathFullTitle, MessageIcon::None}));
    EXPECT_TRUE(manual.collecting()); // a double click still closes it
    EXPECT_TRUE(manual.doubleClick(v).finished);

    sink.messages.clear();
    PathMeasurer sampled(QPoint(0, 0));
    sampled.begin();
    sampled.click(v, QPoint(10, 10), true, sink);
    PathEvent t;
    int ticks = 0;
    do {
        sampled.move(QPoint(20 + ticks % 500, 300), true);
        t = sampled.tick(v, sink);
    } while (!t.stopTimer && ++ticks < 5000);
    EXPECT_EQ(sampled.count(), kPathCapacity);
    EXPECT_TRUE(t.finished);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, kPathFullText);
}
