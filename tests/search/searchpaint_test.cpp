// The search paint: which name points it fills for a search, and what it fills on the
// bundled map of Tokyo.
#include "app/mapsession.h"
#include "common/paths.h"
#include "mapdata/namelists.h"
#include "paint/paint.h"
#include "search/searchpaint.h"
#include "support/sessionfixture.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

using namespace oboro;

namespace {

NameEntry name(int32_t x, int32_t y, const char* n) { return NameEntry{x, y, n, 's'}; }

MapStore storeOfNames()
{
    MapStore s;
    s.commonNames.entries = {name(10, 10, "府中市"), name(20, 20, "美里町"), name(30, 30, "府中市"),
                             name(40, 40, "北区"), name(50, 50, "西東京市")};
    s.newNames.entries = {name(60, 60, "西東京市")};
    s.oldNames.entries = {name(70, 70, "保谷市"), name(71, 71, "保谷市")};
    s.duplicateNames = {DuplicateNameEntry{4, "美里町", "遠田郡", 21, 21, '\0'},
                        DuplicateNameEntry{27, "北区", "大阪市", 41, 41, '\0'}};
    s.designatedCities = {DesignatedCityEntry{"大阪市", 80, 80, 27, 0}, DesignatedCityEntry{"大阪市", 81, 81, 27, 0},
                          DesignatedCityEntry{"堺市", 90, 90, 27, 0}};
    return s;
}

struct PointsCase {
    const char* what;
    LastSearch last;
    bool oldBorders;
    std::vector<SearchPaintPoint> expected;
};

TEST(SearchPaint, FillsEveryRecordOfTheNameByItsKind)
{
    const MapStore store = storeOfNames();
    const auto last = [](const char* n, int32_t x, int32_t y, bool city = false) {
        LastSearch l;
        l.valid = true;
        l.name = n;
        l.x = x;
        l.y = y;
        l.designatedCityHit = city;
        l.searchedCityName = city ? n : "";
        return l;
    };
    const PointsCase cases[] = {
        {"every region of a split municipality", last("府中市", 10, 10), false, {{10, 10, true}, {30, 30, true}}},
        {"a listed town: the chosen place alone, no coast test", last("美里町", 21, 21), false, {{21, 21, false}}},
        {"a listed ward: the chosen place and its records", last("北区", 41, 41), false,
         {{41, 41, false}, {40, 40, true}}},
        {"post-merger records with today's borders", last("西東京市", 50, 50), false, {{50, 50, true}, {60, 60, true}}},
        {"pre-merger records with the old borders", last("保谷市", 70, 70), true, {{70, 70, true}, {71, 71, true}}},
        {"no pre-merger records without them", last("保谷市", 70, 70), false, {}},
        {"a designated city at every listed place", last("大阪市", 80, 80, true), false,
         {{80, 80, true}, {81, 81, true}}},
        {"nothing before a search", LastSearch{}, false, {}},
    };
    for (const PointsCase& c : cases)
        EXPECT_EQ(searchPaintPoints(c.last, store, c.oldBorders), c.expected) << c.what;
}

// The bundled map of Tokyo, 府中市 searched with the search paint on.
struct SearchPaintOnTokyo : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(test::openMap(session, sink, {12}));
        session.setSwitch(Switch::SearchPaint, true);
    }
    bool search(const char* typed)
    {
        const SearchResult r = session.search.find(typed, session.store, {true, false});
        if (r.candidates.empty())
            return false;
        return session.showSearchResult(r, r.candidates.front(), typed);
    }
    // The search paint on the picture is exactly the paint tool's fill of the name's
    // records on the same map drawn without it.
    void expectPaintToolPicture(const std::string& searched)
    {
        // Names and the centre mark are drawn over the fills: without them both pictures
        // show the fills alone.
        session.setSwitch(Switch::TownNames, false);
        session.setSwitch(Switch::CentreMark, false);
        const Color colour = session.display.TownPaintColor;
        const QImage painted = session.canvas.image().copy();
        EXPECT_GT(count(painted, colour), 200);
        session.setSwitch(Switch::SearchPaint, false);
        EXPECT_EQ(count(session.canvas.image(), colour), 0);
        long regions = 0;
        for (const NameEntry& e : session.store.commonNames.entries)
            if (e.name == searched) {
                const QPoint p = MapToPixel(session.view, e.x, e.y);
                regions += regionFill(session.canvas, p.x(), p.y(), colour, 0,
                                      FillTarget(session.canvas, session.display, p.x(), p.y())) > 0;
            }
        EXPECT_GE(regions, 1);
        EXPECT_EQ(session.canvas.image(), painted);
        session.setSwitch(Switch::SearchPaint, true);
    }
    long count(const QImage& img, Color c) const
    {
        long n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += img.pixel(x, y) == toPixel(c);
        return n;
    }
    CollectingSink sink;
    MapSession session{sink};
};

TEST_F(SearchPaintOnTokyo, FillsTheSearchedRegionsAndNothingElse)
{
    ASSERT_TRUE(search("府中市"));
    expectPaintToolPicture("府中市");

    // The paint follows the view: zoomed out it is smaller, and still there.
    const Color colour = session.display.TownPaintColor;
    const long near = count(session.canvas.image(), colour);
    session.setMagnification(session.view.magCount - 1);
    const long far = count(session.canvas.image(), colour);
    EXPECT_GT(far, 0);
    EXPECT_LT(far, near);

    // Saved and printed pictures carry the same paint: the same share of the picture.
    for (int side : {1800, 3600}) {
        const QImage big = session.drawPicture(side).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(big.width(), side);
        const double share = double(count(big, colour)) / (double(side) * side);
        const double onScreen = double(far) / (600.0 * 600.0);
        EXPECT_NEAR(share, onScreen, onScreen * 0.15) << side;
    }
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(SearchPaintOnTokyo, AWardSearchedWithThePaintOffIsFilledWithinItsBordersWhenItGoesOn)
{
    // Searched without the paint the ward borders are dotted; the paint makes them solid.
    session.setSwitch(Switch::SearchPaint, false);
    ASSERT_TRUE(search("保土ケ谷区"));
    ASSERT_EQ(session.store.selectedAreas, std::vector<int>{13});
    EXPECT_TRUE(session.display.CBKuDot);
    session.setSwitch(Switch::SearchPaint, true);
    EXPECT_FALSE(session.display.CBKuDot);
    expectPaintToolPicture("保土ケ谷区");
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(SearchPaintOnTokyo, SwitchingItOffTakesTheTotalAreaWithIt)
{
    session.setSwitch(Switch::SearchTotalArea, true);
    session.setSwitch(Switch::SearchPaint, false);
    EXPECT_FALSE(session.isOn(Switch::SearchTotalArea));
}

} // namespace
