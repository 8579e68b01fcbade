// The pointer readout, the two-point distance drag and the web map address.
#include "measure/readout.h"

#include "support/mapfixtures.h"

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

// One pixel per map unit, the pixel (300, 300) at map point (x, y).
ViewState viewAt(int32_t x, int32_t y)
{
    ViewState v = test::unitView();
    v.centerX = x;
    v.centerY = y;
    return v;
}

} // namespace

TEST(Readout, DegreesAreTruncatedNeverRounded)
{
    struct Case {
        int32_t x, y;
        const char* lat;
        const char* lon;
    };
    for (const Case& c : {
             // 34.099° N, 134.2014° E: minutes and seconds truncated.
             Case{122014, 151485, "緯度  34.0556", "経度 134.1205"},
             // A whole degree reads .0000.
             Case{130000, 165000, "緯度  35.0000", "経度 135.0000"},
             // 34.1 held in single precision is 34.0999985.
             Case{120000, 151500, "緯度  34.0559", "経度 134.0000"},
             // Just below 36° stays 35°59'59".
             Case{139999, 179999, "緯度  35.5959", "経度 135.5959"},
         }) {
        const PanelUpdate u = readoutAt(viewAt(c.x, c.y), QPoint(300, 300), false);
        EXPECT_EQ(u.latitudeLine, std::string(c.lat)) << c.y;
        EXPECT_EQ(u.longitudeLine, std::string(c.lon)) << c.x;
        EXPECT_FALSE(u.length);
    }
}

TEST(Readout, MapUnitsRightAlignedInSevenColumns)
{
    const PanelUpdate u = readoutAt(viewAt(180000, 4000), QPoint(310, 290), true);
    EXPECT_EQ(u.latitudeLine, std::string("Y座標   4010"));
    EXPECT_EQ(u.longitudeLine, std::string("X座標 180010"));
}

TEST(Readout, ModeButtonTextsAndDistanceReset)
{
    const ReadoutModeTexts units = readoutModeTexts(true);
    EXPECT_EQ(units.caption, "座標値");
    EXPECT_EQ(units.hint, "経緯度を表示する");
    EXPECT_EQ(units.panel.length, std::string("   0.00 km"));
    const ReadoutModeTexts degrees = readoutModeTexts(false);
    EXPECT_EQ(degrees.caption, "経緯度");
    EXPECT_EQ(degrees.hint, "座標値を表示する");
}

TEST(TwoPoint, DistanceOfTheDragAndItsRubberBand)
{
    // 135° E 35° N at the centre; one pixel is 10 map units east and north.
    ViewState v = viewAt(130000, 165000);
    v.scaleX = 0.1f;
    v.scaleY = 0.1f;
    TwoPointMeasure m;

    const PanelUpdate pressed = m.press(v, QPoint(300, 300), false);
    EXPECT_TRUE(m.dragging());
    EXPECT_EQ(pressed.figureColor, kFigureRed);
    EXPECT_EQ(pressed.title, std::string("距離"));
    EXPECT_EQ(pressed.length, std::string("   0.00 km"));

    // 1000 pixels east is 1° of longitude: the written example, about 91.1 km.
    EXPECT_FALSE(m.band()); // no band before the pointer moves
    m.move(v, QPoint(400, 300), false);
    EXPECT_EQ(m.band(), QLine(300, 300, 400, 300));
    const PanelUpdate moved = m.move(v, QPoint(599, 300), false);
    EXPECT_EQ(m.band(), QLine(300, 300, 599, 300));
    EXPECT_EQ(moved.latitudeLine, std::string("緯度  35.0000"));
    EXPECT_EQ(moved.longitudeLine, std::string("経度 135.1756")); // 132990: 135.299°
    EXPECT_NEAR(m.lastDistance(), haversineKm(135.0, 35.0, 135.299, 35.0), 0.01);
    EXPECT_EQ(moved.length, lengthText(m.lastDistance()));

    // Released away from the last movement: the band goes, the distance is to the release.
    m.release(v, QPoint(500, 100));
    EXPECT_FALSE(m.dragging());
    EXPECT_FALSE(m.band());
    EXPECT_NEAR(m.lastDistance(), haversineKm(135.0, 35.0, 135.2, 35.0 + 2000.0 / 15000.0), 0.01);
}

TEST(TwoPoint, TheWrittenDistanceExamples)
{
    // Drags on a map where one pixel is one map unit: the figure is the great-circle
    // distance between the two positions (sphere of 6371 km).
    struct Case {
        int32_t x1, y1, x2, y2;
        const char* leading; // the figure's text up to its decimal point
    };
    for (const Case& c : {
             Case{130000, 165000, 140000, 165000, "  91."}, // 135° to 136° at 35° N: about 91.1 km
             Case{130000, 165000, 130000, 180000, " 111."}, // 35° to 36° along a meridian
             Case{130000, 165000, 130000, 165000, "   0."},
             Case{130000, 150000, 170000, 195000, " 492."}, // 135° 34° N to 139° 37° N
         }) {
        // A view wide enough to hold both points: 0.05 pixels per unit.
        ViewState v = viewAt(c.x1, c.y1);
        v.scaleX = v.scaleY = 0.05f;
        TwoPointMeasure m;
        m.press(v, QPoint(300, 300), false);
        const int px = 300 + static_cast<int>((c.x2 - c.x1) * 0.05f);
        const int py = 300 - static_cast<int>((c.y2 - c.y1) * 0.05f);
        const PanelUpdate u = m.move(v, QPoint(px, py), false);
        // The positions read off the picture (within a map unit of the ones asked for).
        const QPoint a = PixelToMap(v, 300, 300), b = PixelToMap(v, px, py);
        ASSERT_LE(std::abs(b.x() - c.x2) + std::abs(b.y() - c.y2), 2);
        const double expected = haversineKm(longitudeOf(a.x()), latitudeOf(a.y()), longitudeOf(b.x()), latitudeOf(b.y()));
        EXPECT_NEAR(m.lastDistance(), expected, 0.01 + expected * 2e-6);
        ASSERT_TRUE(u.length);
        EXPECT_EQ(u.length->substr(0, 5), c.leading) << *u.length;
        EXPECT_EQ(u.length->substr(7), " km");
    }
}

TEST(TwoPoint, ClickWithoutMovementAndAHeldPathResult)
{
    ViewState v = viewAt(130000, 165000);
    TwoPointMeasure m;
    m.press(v, QPoint(200, 200), false);
    EXPECT_FALSE(m.band());
    m.release(v, QPoint(200, 200));
    EXPECT_EQ(m.lastDistance(), 0.0f);
    // A finished path keeps its length on a plain click.
    const PanelUpdate held = m.press(v, QPoint(200, 200), true);
    EXPECT_FALSE(held.length);
    EXPECT_EQ(held.title, std::string("距離"));
}

TEST(WebMap, AddressOfTheServicePage)
{
    EXPECT_EQ(webMapAddress("https://map.example.jp/service", 135.5, 35.25),
              "https://map.example.jp/service/watchizu.html?longitude=135.500000&&latitude=35.250000");
    EXPECT_EQ(webMapAddress("https://map.example.jp/", 139.767125, 35.681236),
              "https://map.example.jp/watchizu.html?longitude=139.767125&&latitude=35.681236");
    // A clicked pixel: its position in degrees, as the readout shows it.
    const ViewState v = viewAt(130000, 165000);
    EXPECT_EQ(webMapAddressAt("https://map.example.jp", v, QPoint(300, 300)),
              "https://map.example.jp/watchizu.html?longitude=135.000000&&latitude=35.000000");
}
