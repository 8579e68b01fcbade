// Distance circles: ground-true outlines, their pixels, concentric counts, the centre
// mark, and the window's state with its refusals of bad typed input.
#include "measure/circles.h"

#include "common/dms.h"
#include "view/render.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace oboro;

namespace {

// Great-circle distance in double precision (haversine), written independently.
double haversineKm(double lon1, double lat1, double lon2, double lat2)
{
    const double r = 3.14159265358979323846 / 180.0;
    const double s1 = std::sin((lat2 - lat1) * r / 2), s2 = std::sin((lon2 - lon1) * r / 2);
    const double a = s1 * s1 + std::cos(lat1 * r) * std::cos(lat2 * r) * s2 * s2;
    return 2 * 6371.0 * std::asin(std::sqrt(a));
}

int32_t mapY(double lat) { return static_cast<int32_t>((lat - 24.0) * 15000.0); }

// A 600-pixel picture centred at 135° E and the latitude; a pixel is 10 x units and
// the rows are scaled as the drawing scales them there, so pixels are about square.
ViewState viewAt(double lat, int side = 600)
{
    ViewState v;
    v.centerX = 130000;
    v.centerY = mapY(lat);
    v.imageSide = side;
    v.scaleX = 0.1f;
    v.scaleY = 0.1f * LatitudeFactor(v.centerY) * 2.0f / 3.0f;
    v.wgs = false;
    return v;
}

DistanceCircle plainCircle(int32_t x, int32_t y, int radius)
{
    DistanceCircle c;
    c.x = x;
    c.y = y;
    c.radius = radius;
    c.labels = false;
    c.centreMark = false;
    c.color = 0x0000FF;
    return c;
}

} // namespace

TEST(GroundCircle, EveryOutlinePointLiesTheRadiusAway)
{
    for (double lat : {24.5, 35.0, 43.0, 45.5}) {
        for (float r : {1.0f, 20.0f, 100.0f, 500.0f, 2000.0f}) {
            const int32_t cx = 130000, cy = mapY(lat);
            const std::vector<QPoint> o = groundCircle(cx, cy, r);
            ASSERT_EQ(o.size(), 101u);
            EXPECT_EQ(o.front(), o.back());
            EXPECT_EQ(o.front().y(), cy); // the first point due east
            EXPECT_GT(o.front().x(), cx);
            // Within the truncation to whole map units (about 11 m across, 7 m along a
            // meridian) and 0.02 % of the radius.
            const double tolerance = 0.02 + 0.0002 * r;
            for (const QPoint& p : o) {
                const double d = haversineKm(longitudeOf(cx), latitudeOf(cy), longitudeOf(p.x()), latitudeOf(p.y()));
                EXPECT_NEAR(d, r, tolerance) << "lat " << lat << " r " << r << " at " << p.x() << "," << p.y();
            }
        }
    }
}

TEST(GroundCircle, ADegenerateRadiusStaysFinite)
{
    const std::vector<QPoint> o = groundCircle(130000, 165000, 0.0f);
    for (const QPoint& p : o)
        EXPECT_EQ(p, QPoint(130000, 165000));
    Canvas c(600, 600, kWhite);
    EXPECT_EQ(drawCircleSet(c, viewAt(35), plainCircle(130000, 165000, 0)), 0);
    EXPECT_EQ(c.image(), Canvas(600, 600, kWhite).image());
}

TEST(CircleDrawing, OutlinePixelsLieOnTheGroundCircle)
{
    struct Case {
        double lat;
        int radius;
    };
    for (const Case& k : {Case{26.2, 5}, Case{35.0, 10}, Case{35.0, 25}, Case{43.1, 20}}) {
        const ViewState v = viewAt(k.lat);
        Canvas canvas(600, 600, kWhite);
        EXPECT_EQ(drawCircleSet(canvas, v, plainCircle(v.centerX, v.centerY, k.radius)), 1);
        const GroundScale g = groundScaleOf(v);
        const double pixelKm = std::max(g.widthKm, g.heightKm) / 600.0;
        const QPoint centre = PixelToMap(v, 300, 300);
        int onCircle = 0;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 600; ++x) {
                if (canvas.pixel(x, y) != std::optional<Color>(0x0000FF))
                    continue;
                ++onCircle;
                // The pixel's middle, half a pixel right and below its corner.
                const QPoint m = PixelToMap(v, x, y);
                const double d = haversineKm(longitudeOf(centre.x()), latitudeOf(centre.y()),
                                               longitudeOf(m.x()) + 0.5 / v.scaleX / 10000.0,
                                               latitudeOf(m.y()) - 0.5 / v.scaleY / 15000.0);
                EXPECT_NEAR(d, k.radius, 1.5 * pixelKm) << "lat " << k.lat << " r " << k.radius << " pixel " << x << "," << y;
            }
        // A closed outline: about as many pixels as its length in pixels (a diagonal step
        // covers √2 of length with one pixel).
        const double circumferencePx = 2 * 3.14159265 * k.radius / pixelKm;
        EXPECT_GT(onCircle, circumferencePx / std::sqrt(2.0) * 0.95) << k.lat;
        EXPECT_LT(onCircle, circumferencePx * 1.05) << k.lat;
    }
}

TEST(CircleDrawing, ConcentricCirclesStopAfterTheFirstOutOfView)
{
    // The picture is about 54.6 km square around its centre: the corners lie 38.6 km out.
    const ViewState v = viewAt(35);
    struct Case {
        int interval;
        int drawn;
    };
    for (const Case& k : {Case{5, 8}, Case{10, 4}, Case{12, 4}, Case{20, 2}, Case{28, 2}, Case{50, 1}}) {
        DistanceCircle c = plainCircle(v.centerX, v.centerY, k.interval);
        c.concentric = true;
        Canvas canvas(600, 600, kWhite);
        EXPECT_EQ(drawCircleSet(canvas, v, c), k.drawn) << k.interval;
        c.concentric = false;
        EXPECT_EQ(drawCircleSet(canvas, v, c), 1);
    }
    // A centre far outside the picture: the first circle is computed, nothing more.
    DistanceCircle far = plainCircle(v.centerX + 60000, v.centerY, 10);
    far.concentric = true;
    Canvas canvas(600, 600, kWhite);
    EXPECT_EQ(drawCircleSet(canvas, v, far), 1);
    EXPECT_EQ(canvas.image(), Canvas(600, 600, kWhite).image());
    // Just outside the right edge (32 km from the middle): the first circle of 2 km does
    // not show, so nothing more is drawn; an asked number of circles is drawn whatever
    // shows, and the outer ones reach into the picture.
    DistanceCircle beside = plainCircle(v.centerX + 3500, v.centerY, 2);
    beside.concentric = true;
    EXPECT_EQ(drawCircleSet(canvas, v, beside), 1);
    EXPECT_EQ(canvas.image(), Canvas(600, 600, kWhite).image());
    EXPECT_EQ(drawCircleSet(canvas, v, beside, 7), 7);
    EXPECT_NE(canvas.image(), Canvas(600, 600, kWhite).image());
}

TEST(CircleDrawing, CentreMarkAndLabel)
{
    const ViewState v = viewAt(35);
    DistanceCircle c = plainCircle(v.centerX, v.centerY, 100); // the circle itself is out of view
    c.centreMark = true;
    c.width = 1;
    Canvas canvas(600, 600, kWhite);
    drawCircleSet(canvas, v, c);
    const QPoint p = MapToPixel(v, c.x, c.y);
    for (int d = -3; d <= 3; ++d) {
        EXPECT_EQ(canvas.pixel(p.x(), p.y() + d), std::optional<Color>(0x0000FF)) << d;
        EXPECT_EQ(canvas.pixel(p.x() + d, p.y()), std::optional<Color>(0x0000FF)) << d;
    }
    EXPECT_EQ(canvas.pixel(p.x(), p.y() + 4), std::optional<Color>(kWhite));
    EXPECT_EQ(canvas.pixel(p.x() - 4, p.y()), std::optional<Color>(kWhite));

    // A label beside the circle: pixels of the circle's colour right of its east point.
    DistanceCircle labelled = plainCircle(v.centerX, v.centerY, 10);
    labelled.labels = true;
    labelled.color = 0x00AA00;
    Canvas withLabel(600, 600, kWhite), without(600, 600, kWhite);
    drawCircleSet(withLabel, v, labelled);
    labelled.labels = false;
    drawCircleSet(without, v, labelled);
    const QPoint east = MapToPixel(v, groundCircle(labelled.x, labelled.y, 10).front().x(), labelled.y);
    int labelPixels = 0;
    for (int y = east.y(); y < east.y() + 15; ++y)
        for (int x = east.x() + 2; x < east.x() + 60; ++x)
            labelPixels += withLabel.pixel(x, y) != without.pixel(x, y);
    EXPECT_GT(labelPixels, 20);

    DistanceCircle sized;
    sized.fontSize = 8;
    EXPECT_EQ(circleLabelSize(sized, 1200), 8);
    sized.fixedSize = false;
    EXPECT_EQ(circleLabelSize(sized, 1200), 16);
    EXPECT_EQ(circleLabelSize(sized, 300), 4);
    EXPECT_EQ(circleLabelSize(sized, 600), 8);
}

TEST(CircleModel, TypedCentreWithAndWithoutTheCorrection)
{
    CollectingSink sink;
    DistanceCircleModel m;
    m.controls.typedCentre = true;
    m.controls.lonText = "139.4500";
    m.controls.latText = " 35.3000";
    const CircleOutcome o = m.startCentre(sink);
    EXPECT_TRUE(o.changed && o.redraw);
    ASSERT_EQ(m.count(), 1);
    // 139°45' and 35°30': x = 17.75 × 10000, y = 11.5 × 15000.
    EXPECT_EQ(m.circles()[0].x, 177500);
    EXPECT_EQ(m.circles()[0].y, 172500);
    EXPECT_EQ(m.circles()[0].radius, 20);
    EXPECT_EQ(m.centreXText, "177500");
    EXPECT_TRUE(m.settingsEnabled());
    m.controls.gsiCorrection = true;
    m.startCentre(sink);
    ASSERT_EQ(m.count(), 1); // replaced: 追加円 is off
    EXPECT_EQ(m.circles()[0].x, 177530);
    EXPECT_EQ(m.circles()[0].y, 172455);
    EXPECT_TRUE(sink.messages.empty());
}

TEST(CircleModel, BadTypedInputGetsItsMessageAndChangesNothing)
{
    struct Case {
        const char* lon;
        const char* lat;
        int choice;
        const char* radius;
        Message message;
    };
    const Message dms{kDmsErrorText, kDmsErrorTitle, MessageIcon::None};
    for (const Case& c : {
             Case{"139.4500", "91.0000", 1, "25", Message{kLatitudeRangeText, kDmsErrorTitle, MessageIcon::None}},
             Case{"abc", " 35.3000", 1, "25", dms},
             Case{"139.4500", "北緯35度", 1, "25", dms},
             Case{"139.4500", "34.056", 1, "25", dms},    // three digits after the point
             Case{"161.0000", " 35.3000", 1, "25", dms},  // degrees above 160
             Case{"139.4500", "34.0560", 1, "25", dms},   // 60 seconds
             Case{"139.4500", "34.0559", 5, "0", Message{kRadiusRangeText, kRadiusErrorTitle, MessageIcon::None}},
             Case{"139.4500", "34.0559", 5, "-5", Message{kRadiusRangeText, kRadiusErrorTitle, MessageIcon::None}},
             Case{"139.4500", "34.0559", 5, "abc", Message{kRadiusRangeText, kRadiusErrorTitle, MessageIcon::None}},
             Case{"139.4500", "34.0559", 5, "", Message{kRadiusRangeText, kRadiusErrorTitle, MessageIcon::None}},
             Case{"139.4500", "34.0559", 5, "99999", Message{kRadiusRangeText, kRadiusErrorTitle, MessageIcon::None}},
             Case{"139.4500", "34.0559", 5, "12.5", Message{kRadiusDecimalText, kRadiusErrorTitle, MessageIcon::None}},
         }) {
        CollectingSink sink;
        DistanceCircleModel m;
        m.load({DistanceCircle{}});
        m.controls.addMode = false;
        m.controls.typedCentre = true;
        m.controls.lonText = c.lon;
        m.controls.latText = c.lat;
        m.controls.radiusChoice = c.choice;
        m.controls.typedRadius = c.radius;
        const std::vector<DistanceCircle> before = m.circles();
        const std::string status = m.status;
        const CircleOutcome o = m.startCentre(sink);
        EXPECT_FALSE(o.changed || o.redraw) << c.lat << " " << c.radius;
        EXPECT_EQ(m.circles(), before);
        EXPECT_EQ(m.status, status);
        EXPECT_FALSE(m.centreSet());
        ASSERT_EQ(sink.messages.size(), 1u) << c.lon << " " << c.lat << " " << c.radius;
        EXPECT_EQ(sink.messages[0], c.message);
    }
    // 34.0559 is 34°05'59".
    EXPECT_NEAR(parseDms("34.0559"), 34.0f + 5.0f / 60 + 59.0f / 3600, 1e-5f);
}

TEST(CircleModel, PickedCentreLandsOnTheClickedPixel)
{
    // WGS-84 drawing: the centre is kept in the data's datum and drawn back where clicked.
    ViewState v = viewAt(35);
    v.wgs = true;
    CollectingSink sink;
    DistanceCircleModel m;
    m.openForPicking();
    EXPECT_TRUE(m.pickingCentre());
    EXPECT_FALSE(m.settingsEnabled());
    m.pointerAt(v, QPoint(250, 320));
    EXPECT_EQ(m.controls.latText, formatDms("", latitudeOf(PixelToMap(v, 250, 320).y())));
    const CircleOutcome o = m.pickAt(v, QPoint(250, 320), sink);
    EXPECT_TRUE(o.changed && o.redraw && !o.drawOver);
    EXPECT_FALSE(m.pickingCentre());
    EXPECT_TRUE(m.centreSet());
    ASSERT_EQ(m.count(), 1);
    const QPoint back = MapToPixel(v, m.circles()[0].x, m.circles()[0].y);
    EXPECT_LE(std::abs(back.x() - 250), 1);
    EXPECT_LE(std::abs(back.y() - 320), 1);
    EXPECT_EQ(m.centreXText, std::to_string(PixelToMap(v, 250, 320).x()));
    EXPECT_EQ(m.latLabel.rfind("緯度 ", 0), 0u);

    // 追加円: a further set is appended and drawn over the picture at once.
    m.setAddMode(true);
    EXPECT_EQ(m.status, "中心指定ボタンをクリックしてください");
    m.openForPicking();
    const CircleOutcome added = m.pickAt(v, QPoint(100, 100), sink);
    EXPECT_TRUE(added.drawOver && !added.redraw);
    EXPECT_EQ(m.count(), 2);
    // Without it a new centre leaves exactly one set.
    m.setAddMode(false);
    m.openForPicking();
    m.pickAt(v, QPoint(400, 400), sink);
    EXPECT_EQ(m.count(), 1);
    // A click when no centre is being picked is not the window's.
    EXPECT_FALSE(m.pickAt(v, QPoint(10, 10), sink).changed);
    EXPECT_TRUE(sink.messages.empty());
}

TEST(CircleModel, AtMost250Sets)
{
    const ViewState v = viewAt(35);
    CollectingSink sink;
    DistanceCircleModel m;
    m.load(std::vector<DistanceCircle>(300));
    EXPECT_EQ(m.count(), 250);
    EXPECT_TRUE(m.controls.addMode);
    m.openForPicking();
    EXPECT_FALSE(m.pickAt(v, QPoint(10, 10), sink).changed);
    EXPECT_EQ(m.count(), 250);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, kCircleListFullText);
}

TEST(CircleModel, LiveEditsChangeTheLastSetOnly)
{
    CollectingSink sink;
    DistanceCircleModel m;
    EXPECT_FALSE(m.setWidth(3).redraw); // no sets: nothing to do
    DistanceCircle a, b;
    b.x = 5;
    m.load({a, b});
    EXPECT_FALSE(m.setWidth(4).changed); // 追加円 is on after loading
    m.controls.addMode = false;
    EXPECT_TRUE(m.setWidth(9).redraw);
    EXPECT_EQ(m.circles()[1].width, 5);
    EXPECT_EQ(m.circles()[0].width, 1);
    m.setFontSize(2);
    EXPECT_EQ(m.circles()[1].fontSize, 6);
    m.setColor(0x00FF00);
    EXPECT_EQ(m.circles()[1].color, 0x00FF00u);
    EXPECT_EQ(m.currentColor, 0x00FF00u);
    m.setConcentric(true);
    m.setLabels(false);
    m.setCentreMark(false);
    m.setFixedSize(false);
    EXPECT_TRUE(m.circles()[1].concentric);
    EXPECT_FALSE(m.circles()[1].labels || m.circles()[1].centreMark || m.circles()[1].fixedSize);
    EXPECT_TRUE(m.setRadiusChoice(3, sink).changed);
    EXPECT_EQ(m.circles()[1].radius, 100);
    m.controls.typedRadius = "7.5";
    EXPECT_FALSE(m.setRadiusChoice(kTypedRadiusChoice, sink).changed);
    EXPECT_EQ(m.circles()[1].radius, 100);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0], (Message{kRadiusDecimalEditText, kRadiusErrorTitle, MessageIcon::None}));
    m.controls.typedRadius = "35";
    m.setRadiusChoice(kTypedRadiusChoice, sink);
    EXPECT_EQ(m.circles()[1].radius, 35);
    EXPECT_EQ(m.circles()[0], a);
}

TEST(CircleModel, DeletingAndClosing)
{
    CollectingSink sink;
    DistanceCircleModel m;
    EXPECT_FALSE(m.deleteAll(sink, [](const Message&) { return true; }).changed);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0], (Message{"距離円は設定されておりません", "距離円", MessageIcon::None}));

    m.load({DistanceCircle{}, DistanceCircle{}});
    Message asked;
    EXPECT_FALSE(m.deleteAll(sink, [&](const Message& q) {
                      asked = q;
                      return false;
                  }).changed);
    EXPECT_EQ(asked, (Message{kDeleteCirclesText, "距離円", MessageIcon::Question}));
    EXPECT_EQ(m.count(), 2);
    const CircleOutcome o = m.deleteAll(sink, [](const Message&) { return true; });
    EXPECT_TRUE(o.changed && o.redraw);
    EXPECT_EQ(m.count(), 0);
    EXPECT_EQ(m.countText(), "0");
    EXPECT_EQ(m.status, "距離円を削除しました");

    m.openForPicking();
    m.controls.shown = false;
    EXPECT_TRUE(m.close().redraw);
    EXPECT_FALSE(m.pickingCentre() || m.centreSet());
    EXPECT_TRUE(m.controls.shown);
    m.setTypedCentre(true);
    EXPECT_EQ(m.status, "中心経緯度設定モード");
    m.setTypedCentre(false);
    EXPECT_EQ(m.status, "中心マウス設定モード");
}

TEST(CircleModel, DrawnByTheRenderPipeline)
{
    DrawingScene s;
    s.view = viewAt(35);
    s.view.baseScale = 0.1f; // the drawing recomputes its scales from it
    s.sw.drawingEnabled = true;
    s.sw.CBTownPaint = false;
    DistanceCircleModel m;
    DistanceCircle c = plainCircle(s.view.centerX, s.view.centerY, 10);
    c.color = 0x123456;
    m.load({c});
    RenderHooks hooks;
    hooks.distanceCircles = m.layer();
    ASSERT_TRUE(DrawMap(s.ctx, s.state, hooks).drawn);
    int coloured = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 600; ++x)
            coloured += s.canvas.pixel(x, y) == std::optional<Color>(0x123456);
    EXPECT_GT(coloured, 300);
    EXPECT_EQ(m.status, "距離円を追加しました"); // loaded sets check 追加円

    // Hidden: nothing drawn, the window says so.
    s.tools.distanceCircles = false;
    m.controls.shown = false;
    const DrawResult hidden = DrawMap(s.ctx, s.state, hooks);
    EXPECT_EQ(hidden.distanceCircleText, "距離円は非表示です");
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 600; ++x)
            ASSERT_NE(s.canvas.pixel(x, y), std::optional<Color>(0x123456));
}
