#include "view/display.h"
#include "view/projection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace oboro;

namespace {

ViewState simpleView()
{
    ViewState v;
    v.centerX = 180000;
    v.centerY = 180000;
    v.scaleX = 0.01f;
    v.scaleY = 0.008f;
    v.wgs = false;
    return v;
}

TEST(Projection, CentreMapsToHalfSide)
{
    ViewState v = simpleView();
    EXPECT_EQ(MapToPixel(v, 180000, 180000), QPoint(300, 300));
    v.imageSide = 1200;
    EXPECT_EQ(MapToPixel(v, 180000, 180000), QPoint(600, 600));
}

TEST(Projection, TruncatesTowardZero)
{
    ViewState v = simpleView();
    // 50 units left of the left edge's neighbourhood: 300 - 30050 × 0.01 = -0.5 → 0.
    EXPECT_EQ(MapToPixel(v, 180000 - 30050, 180000).x(), 0);
    EXPECT_EQ(MapToPixel(v, 180000 - 30150, 180000).x(), -1);
    EXPECT_EQ(MapToPixel(v, 180000 + 1, 180000 - 1), QPoint(300, 300));
}

TEST(Projection, DatumShiftOfTheExamplePoint)
{
    ViewState v = simpleView();
    v.scaleX = 1.0f;
    v.scaleY = 1.0f;
    int32_t x = 180000, y = 180000;
    ShiftToWgs(x, y);
    EXPECT_EQ(x, 179967);
    EXPECT_EQ(y, 180047);
    v.wgs = true;
    EXPECT_EQ(MapToPixel(v, 180000, 180000), QPoint(300 - 33, 300 - 47));
    v.wgs = false;
    EXPECT_EQ(MapToPixel(v, 180000, 180000), QPoint(300, 300));
}

TEST(Projection, PixelToMapInvertsWithoutShift)
{
    ViewState v = simpleView();
    EXPECT_EQ(PixelToMap(v, 300, 300), QPoint(180000, 180000));
    EXPECT_EQ(PixelToMap(v, 400, 200), QPoint(190000, 192500));
}

// A point kept from a click is drawn again on the clicked pixel, with or without the
// datum shift, from all Japan down to a few hundred metres across.
TEST(Projection, PixelToDataUnitsLandsOnThePixelAgain)
{
    for (const bool wgs : {true, false})
        for (const float scale : {0.002f, 0.03f, 0.3f, 1.0f}) {
            ViewState v = simpleView();
            v.wgs = wgs;
            v.scaleX = scale;
            v.scaleY = scale * 0.8f;
            v.imageSide = 1200;
            int exact = 0;
            for (int px = 3; px < 1200; px += 97)
                for (int py = 5; py < 1200; py += 89) {
                    const QPoint d = PixelToDataUnits(v, px, py);
                    const QPoint back = MapToPixel(v, d.x(), d.y());
                    EXPECT_LE(std::abs(back.x() - px) + std::abs(back.y() - py), 1) << wgs << " " << scale;
                    exact += back == QPoint(px, py);
                }
            EXPECT_GE(exact, scale < 1.0f ? 13 * 14 : 13 * 14 / 2) << wgs << " " << scale;
        }
    // With the shift on the kept point is the data point, not the displayed one.
    ViewState v = simpleView();
    v.wgs = true;
    v.scaleX = v.scaleY = 0.1f;
    const QPoint shown = PixelToMap(v, 300, 300), data = PixelToDataUnits(v, 300, 300);
    int32_t x = data.x(), y = data.y();
    ShiftToWgs(x, y);
    EXPECT_LE(std::abs(x - shown.x()), 10); // within the pixel (10 units)
    EXPECT_LE(std::abs(y - shown.y()), 10);
    EXPECT_GT(data.x() - shown.x(), 25);  // the shift runs 33 units west …
    EXPECT_LT(data.y() - shown.y(), -40); // … and 47 north
}

TEST(Projection, FarPointsDoNotOverflow)
{
    ViewState v = simpleView();
    v.scaleX = 1.0e6f;
    v.scaleY = 1.0e6f;
    EXPECT_EQ(MapToPixel(v, 400000, 0), QPoint(kPixelLimit, kPixelLimit));
}

TEST(Projection, ProjectorEqualsMapToPixel)
{
    std::mt19937 rng(5);
    std::uniform_int_distribution<int32_t> coord(-50000, 400000);
    for (bool wgs : {false, true}) {
        ViewState v = simpleView();
        v.wgs = wgs;
        v.scaleX = 0.0371f;
        v.scaleY = 0.0302f;
        const Projector p(v);
        for (int i = 0; i < 20000; ++i) {
            const int32_t x = coord(rng), y = coord(rng);
            int px, py;
            p(x, y, px, py);
            ASSERT_EQ(QPoint(px, py), MapToPixel(v, x, y)) << x << "," << y;
        }
    }
}

TEST(Projection, LatitudeFactorAndDistance)
{
    const int32_t y35 = (35 - 24) * 15000;
    EXPECT_NEAR(LatitudeFactor(y35), 1.2208f, 0.0005f);
    EXPECT_NEAR(LatitudeFactor(y35) * 2.0f / 3.0f, 0.8139f, 0.0005f);
    EXPECT_NEAR(Distance(135, 35, 136, 35), 91.1f, 0.05f);
    EXPECT_FLOAT_EQ(Distance(135, 35, 135, 35), 0.0f);
    // Antipodes: the half chord is clamped, no NaN.
    EXPECT_NEAR(Distance(0, 0, 180, 0), 3.14159265f * 6371.0f, 1.0f);
    // Near the pole a degree of longitude has almost no length; the factor stays finite.
    EXPECT_TRUE(std::isfinite(LatitudeFactor((90 - 24) * 15000)));
}

TEST(Projection, SetUpViewGivesTheStandardView)
{
    MapStore store;
    store.extent = Extent{100000, 150000, 120000, 170000};
    ViewState v;
    v.magCount = 1;
    const ViewSetUp s = SetUpView(v, store, 1);
    ASSERT_TRUE(s.applied);
    EXPECT_EQ(v.centerX, 110000);
    EXPECT_EQ(v.centerY, 160000);
    const float ratio = LatitudeFactor(160000) * 2.0f / 3.0f;
    EXPECT_FLOAT_EQ(v.scaleRatio, ratio);
    EXPECT_EQ(v.standardSide, 20000); // width 20000 beats 20000 × ratio (< 1)
    EXPECT_FLOAT_EQ(v.baseScale, 600.0f / 20000.0f);
    EXPECT_FLOAT_EQ(v.scaleY, v.scaleX * ratio);
    EXPECT_EQ(s.magnificationLabel, "1.00");
    EXPECT_TRUE(s.townNameChecked);
    EXPECT_TRUE(s.doubleNameEnabled);
    EXPECT_FALSE(s.doubleNameChecked);
    // The extent's corners land on the image edges at magnification 1.
    EXPECT_EQ(MapToPixel(v, 100000, 160000).x(), 0);
    EXPECT_NEAR(MapToPixel(v, 120000, 160000).x(), 600, 1);

    const ViewSetUp two = SetUpView(v, store, 2);
    EXPECT_FALSE(two.townNameChecked);
    EXPECT_FALSE(two.doubleNameEnabled);

    v.rangeDragging = true;
    v.centerX = 1;
    EXPECT_FALSE(SetUpView(v, store, 1).applied);
    EXPECT_EQ(v.centerX, 1);
}

TEST(Projection, SetUpViewRestoreKeepsTheViewAndSetsTheExtent)
{
    MapStore store;
    store.extent = Extent{100000, 150000, 120000, 170000};
    ViewState v;
    v.viewRestore = true;
    v.centerX = 111111;
    v.centerY = 155555;
    v.baseScale = 0.06f;
    v.magCount = 3;
    v.magStep = 0.5f;
    const ViewSetUp s = SetUpView(v, store, 3);
    EXPECT_EQ(v.centerX, 111111);
    EXPECT_FLOAT_EQ(v.baseScale, 0.06f);
    const int a = static_cast<int>(600 / 0.06f * 0.5f);
    EXPECT_EQ(store.extent, (Extent{111111 - a, 155555 - a, 111111 + a, 155555 + a}));
    EXPECT_EQ(s.magnificationLabel, "1.50");
}

TEST(Projection, SetUpViewOfAnEmptyExtentKeepsAFiniteScale)
{
    MapStore store;
    store.extent = Extent{5000, 5000, 5000, 5000};
    ViewState v;
    SetUpView(v, store, 1);
    EXPECT_EQ(v.standardSide, 1);
    EXPECT_FLOAT_EQ(v.baseScale, 600.0f);
}

TEST(Projection, RecomputeViewScalesAndReport)
{
    MapStore store;
    store.extent = Extent{150000, 160000, 170000, 180000};
    ViewState v;
    v.wgs = false;
    SetUpView(v, store, 1);
    v.sizeFactor = 3;
    v.magCount = 4;
    v.magStep = 0.5f;
    const ViewRecompute r = RecomputeView(v, store);
    ASSERT_FALSE(r.refused);
    EXPECT_EQ(v.imageSide, 1800);
    EXPECT_FLOAT_EQ(v.scaleX, v.baseScale * 0.5f * 4.0f * 3.0f);
    EXPECT_EQ(store.extent.minX, PixelToMap(v, 0, 1800).x());
    EXPECT_EQ(store.extent.maxY, PixelToMap(v, 1800, 0).y());
    EXPECT_EQ(r.report.imageSide, 1800);
    EXPECT_EQ(r.report.diffX, store.extent.maxX - store.extent.minX);
    // Magnification 2 of a 20000-unit (2°) square: the middle row is about 1° of longitude.
    const float lat = latitudeOf(170000);
    EXPECT_NEAR(r.report.middleKm, Distance(1, lat, 0, lat), 0.5f);
    EXPECT_GT(r.report.bottomKm, r.report.topKm); // the south edge is longer
    EXPECT_EQ(r.report.centerLonDeg, 138);
    EXPECT_EQ(r.report.centerLonMin, 0);
    EXPECT_EQ(r.report.centerLonText(), "138゜00´");
    EXPECT_EQ(r.report.centerLatDeg, 35);
    EXPECT_EQ(r.report.centerLatMin, 19); // 35.3333° in single precision: 19.99 minutes
}

TEST(Projection, DamagedSizeValuesStayInTheirRanges)
{
    MapStore store;
    store.extent = Extent{150000, 160000, 170000, 180000};
    ViewState v;
    SetUpView(v, store, 1);
    v.sizeFactor = 0;
    v.reductionDivisor = 0;
    v.magCount = -5;
    ASSERT_FALSE(RecomputeView(v, store).refused);
    EXPECT_EQ(v.imageSide, 600);
    EXPECT_GT(v.scaleX, 0.0f);
    v.sizeFactor = 1000;
    v.reductionDivisor = 1;
    RecomputeView(v, store);
    EXPECT_EQ(v.imageSide, 1800);
    // A print export goes up to 7200.
    v.printing = true;
    v.sizeFactor = 1000;
    RecomputeView(v, store);
    EXPECT_EQ(v.imageSide, 7200);
    v.sizeFactor = 8;
    RecomputeView(v, store);
    EXPECT_EQ(v.imageSide, 4800);
}

TEST(Projection, NarrowRangeIsRefused)
{
    MapStore store;
    store.extent = Extent{150000, 160000, 170000, 180000};
    ViewState v;
    SetUpView(v, store, 1);
    v.rangeApplied = true;
    v.magCount = 10000; // about 0.01 km across
    EXPECT_TRUE(RecomputeView(v, store).refused);
    v.magCount = 1;
    EXPECT_FALSE(RecomputeView(v, store).refused);
}

TEST(Projection, RangeDraggingScalesToTheDraggedExtent)
{
    MapStore store;
    store.extent = Extent{150000, 160000, 170000, 180000};
    ViewState v;
    SetUpView(v, store, 1);
    v.rangeDragging = true;
    store.extent = Extent{155000, 165000, 160000, 170000}; // a quarter of the width
    const ViewRecompute r = RecomputeView(v, store);
    EXPECT_FLOAT_EQ(v.scaleX, 20000.0f * v.baseScale / 5000.0f);
    EXPECT_EQ(v.magCount, 10);
    EXPECT_FLOAT_EQ(v.magStep, 0.4f);
    ASSERT_TRUE(r.magnificationLabel);
    EXPECT_EQ(*r.magnificationLabel, "4.00");
}

TEST(Display, StartUpValuesAndTownFontPixels)
{
    DisplayState d;
    EXPECT_EQ(d.BackColor, 16777185u);
    EXPECT_EQ(d.CoastColor, 16711680u);
    EXPECT_EQ(d.TownFontSize, 8);
    EXPECT_EQ(TownFontPixels(8, false, 1200), 16);
    EXPECT_EQ(TownFontPixels(8, false, 300), 4);
    EXPECT_EQ(TownFontPixels(8, true, 1200), 8);
    d.CBFixedSize = false;
    d.updateTownFontPixels(1800);
    EXPECT_EQ(d.TownFontPixels, 24);
}

} // namespace
