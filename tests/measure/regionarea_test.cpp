// Areas by counting pixels: the region walk, the region-click area, the displayed land
// area and the total of a searched name's regions.
#include "measure/regionarea.h"

#include "view/render.h"

#include <gtest/gtest.h>

using namespace oboro;

namespace {

constexpr Color kSea = 0xE1FFFF;
constexpr Color kLine = 0x000000;

// 135° E 35° N at the centre; a pixel is 10 map units.
ViewState view35(int side = 600)
{
    ViewState v;
    v.centerX = 130000;
    v.centerY = 165000;
    v.imageSide = side;
    v.scaleX = 0.1f;
    v.scaleY = 0.1f * LatitudeFactor(165000) * 2.0f / 3.0f;
    v.wgs = false;
    return v;
}

// A one-pixel outline of a box whose inside is w × h pixels, top-left inner pixel (x, y).
void box(Canvas& c, int x, int y, int w, int h, Color line = kLine)
{
    c.setPen(line);
    c.setBrush(kSea, BrushStyle::Clear);
    c.rectangle(x - 1, y - 1, x + w + 1, y + h + 1);
}

} // namespace

TEST(RegionWalk, CountsTheInsideAndTheBorderOfASquare)
{
    Canvas c(600, 600, kSea);
    box(c, 100, 200, 20, 30);
    RegionWalker w;
    w.reset(600, 600);
    EXPECT_EQ(w.walk(c, QPoint(110, 210), kSea, 0x123456), 600);
    EXPECT_EQ(w.interior(), 600);
    // The outline pixels beside the inside; the four corners touch it only diagonally.
    EXPECT_EQ(w.boundary(), 2 * 20 + 2 * 30);
    EXPECT_FALSE(w.edge());
    // Every inner pixel carries the marker colour, the outline and outside do not.
    EXPECT_EQ(c.pixel(100, 200), std::optional<Color>(0x123456));
    EXPECT_EQ(c.pixel(119, 229), std::optional<Color>(0x123456));
    EXPECT_EQ(c.pixel(99, 200), std::optional<Color>(kLine));
    EXPECT_EQ(c.pixel(120, 229), std::optional<Color>(kLine));
    EXPECT_EQ(c.pixel(121, 229), std::optional<Color>(kSea));
    // Walking again from the region, or from its border, changes nothing.
    EXPECT_EQ(w.walk(c, QPoint(101, 201), kSea, 0x123456), 0);
    EXPECT_EQ(w.walk(c, QPoint(99, 210), kLine, 0x123456), 0);
    EXPECT_EQ(w.interior(), 600);
    EXPECT_EQ(w.boundary(), 100);
}

TEST(RegionWalk, TheOuterRingSetsTheEdgeFlag)
{
    Canvas c(300, 300, kSea);
    c.setPen(kLine);
    c.moveTo(150, 0);
    c.lineTo(150, 300);
    RegionWalker w;
    w.reset(300, 300);
    w.walk(c, QPoint(10, 10), kSea, kSea);
    EXPECT_TRUE(w.edge());
    // Inside the ring: 149 columns × 298 rows; the line pixels beside them are border.
    EXPECT_EQ(w.interior(), 149L * 298);
    EXPECT_EQ(w.boundary(), 298);
    // A start on the outer ring takes nothing.
    RegionWalker w2;
    w2.reset(300, 300);
    EXPECT_EQ(w2.walk(c, QPoint(0, 5), kSea, kSea), 0);
    EXPECT_TRUE(w2.edge());
}

TEST(RegionWalk, LargePicturesAreWalkedWhole)
{
    // A region much larger than 600 × 600 pixels.
    Canvas c(1800, 1800, kSea);
    box(c, 10, 10, 1700, 1500);
    RegionWalker w;
    w.reset(1800, 1800);
    EXPECT_EQ(w.walk(c, QPoint(900, 900), kSea, 0x00FF00), 1700L * 1500);
    EXPECT_EQ(w.boundary(), 2L * 1700 + 2L * 1500);
    EXPECT_FALSE(w.edge());
}

TEST(RegionArea, ClickedSquaresAddUp)
{
    const ViewState v = view35();
    const GroundScale g = groundScaleOf(v);
    Canvas c(600, 600, kSea);
    box(c, 100, 200, 20, 30);
    box(c, 300, 300, 50, 10);
    RegionAreaTool tool;
    const RegionAreaTool::Toggle on = tool.toggle();
    EXPECT_TRUE(on.on);
    EXPECT_EQ(on.caption, "終り");
    EXPECT_EQ(on.hint, "面積測定終了");
    EXPECT_EQ(on.panel.area, std::string("       0 km"));
    EXPECT_EQ(on.panel.length, std::string("   0.00 km"));
    EXPECT_EQ(on.panel.title, std::string("周長"));

    const PanelUpdate first = tool.click(c, v, QPoint(105, 205));
    // (600 + 100 / 2) pixels; perimeter 100 border pixels × pixel width × 1.11.
    EXPECT_NEAR(tool.areaKm2(), 650 * g.pixelKm2(), 1e-9);
    EXPECT_NEAR(tool.perimeterKm(), 100 * g.widthKm / 600 * 1.11, 1e-6);
    EXPECT_EQ(first.area, areaText(650 * g.pixelKm2()));
    EXPECT_EQ(first.length, perimeterText(100 * g.widthKm / 600 * 1.11));
    EXPECT_EQ(first.figureColor, kFigureRed);
    EXPECT_EQ(c.pixel(105, 205), std::optional<Color>(kAreaMarkerColor));
    // The same region again: nothing changes.
    tool.click(c, v, QPoint(110, 210));
    EXPECT_NEAR(tool.areaKm2(), 650 * g.pixelKm2(), 1e-9);
    // A second region adds to both totals: 500 + 120 / 2.
    tool.click(c, v, QPoint(320, 305));
    EXPECT_NEAR(tool.areaKm2(), (650 + 560) * g.pixelKm2(), 1e-9);
    // The sea reaches the edge: yellow, the pixels still counted.
    const PanelUpdate sea = tool.click(c, v, QPoint(500, 50));
    EXPECT_EQ(sea.figureColor, kFigureYellow);
    EXPECT_GT(tool.areaKm2(), 300000 * g.pixelKm2());

    const RegionAreaTool::Toggle off = tool.toggle();
    EXPECT_FALSE(off.on);
    EXPECT_TRUE(off.redraw);
    EXPECT_EQ(off.caption, "面積");
    EXPECT_EQ(off.hint, "測定領域をクリック");
    // Off: clicks are not the tool's.
    EXPECT_FALSE(tool.click(c, v, QPoint(105, 205)).area);
}

TEST(RegionArea, PixelSizeOfTheView)
{
    // The picture's ground size: its middle row and its left edge.
    const ViewState v = view35();
    const GroundScale g = groundScaleOf(v);
    EXPECT_EQ(g.side, 600);
    EXPECT_NEAR(g.widthKm, Distance(135.0f - 0.3f, 35.0f, 135.0f + 0.3f, 35.0f), 0.05f);
    const float halfRows = 300.0f / v.scaleY / 15000.0f; // degrees of latitude
    EXPECT_NEAR(g.heightKm, Distance(0.0f, 35.0f - halfRows, 0.0f, 35.0f + halfRows), 0.05f);
}

TEST(LandArea, TheViewLessTheSea)
{
    const ViewState v = view35();
    const GroundScale g = groundScaleOf(v);
    Canvas c(600, 600, kSea);
    // An island of 100 × 80 pixels with a coast of one pixel, and a lake inside it.
    c.setPen(0x0000FF);
    c.setBrush(0x00FF00);
    c.rectangle(200, 200, 302, 282);
    box(c, 240, 230, 10, 10, 0x0000FF);
    const LandAreaResult r = measureLand(c, v);
    // Sea: every pixel outside the coast, the outer ring included, and 0.65 of the
    // coast pixels beside it.
    const long coast = 2 * 102 + 2 * 80;
    const long ring = 4 * 600 - 4;
    const long sea = 600L * 600 - 102L * 82 - ring;
    const double expectedSea = (sea + 0.65 * coast + ring) * g.pixelKm2();
    EXPECT_NEAR(r.landKm2, static_cast<double>(g.widthKm) * g.heightKm - expectedSea, 1e-6);
    EXPECT_NEAR(r.coastKm, coast * g.widthKm / 600.0 * 1.11, r.coastKm * 1e-6);
    EXPECT_EQ(r.panel.area, areaText(r.landKm2));
    EXPECT_EQ(r.panel.title, std::string("周長"));
}

TEST(LandArea, OverlaysAreOffWhileMeasuringAndComeBack)
{
    const ViewState v = view35();
    Canvas c(600, 600, kSea);
    MainSwitches sw;
    sw.CBLonLat = true;
    sw.kokudo = false;
    sw.CBLabel = true;
    std::vector<MainSwitches> seen;
    const LandAreaResult r = measureDisplayedLand(sw, [&] { seen.push_back(sw); }, c, v);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_FALSE(seen[0].CBLonLat || seen[0].kokudo || seen[0].ken_name || seen[0].CBTownName || seen[0].CBScale ||
                 seen[0].CBLabel || seen[0].CBCenter);
    EXPECT_TRUE(seen[1].CBLonLat && seen[1].CBLabel && seen[1].ken_name && seen[1].CBTownName);
    EXPECT_FALSE(seen[1].kokudo); // as it was
    EXPECT_NEAR(r.landKm2, 0.0, 1e-3);

    CollectingSink sink;
    EXPECT_FALSE(landAreaRefused({13, 50}, sink));
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_TRUE(landAreaRefused({51}, sink));
    EXPECT_TRUE(landAreaRefused({50, 51}, sink));
    ASSERT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(sink.messages[0],
              (Message{"領域が広すぎて測定できません　　　　　", "測定範囲エラー", MessageIcon::Exclamation}));
}

TEST(SearchedArea, RegionsOfTheNameAreSummedAndPainted)
{
    const ViewState v = view35();
    const GroundScale g = groundScaleOf(v);
    DisplayState d;
    Canvas c(600, 600, d.BackColor);
    box(c, 100, 100, 20, 20, d.TownColor);
    box(c, 300, 300, 10, 40, d.TownColor);
    box(c, 400, 100, 30, 30, d.CoastColor);
    const std::vector<SearchedAnchor> anchors = {
        {QPoint(110, 110), SearchedAnchor::Kind::Name, 1},
        {QPoint(305, 320), SearchedAnchor::Kind::Name, 2},
        {QPoint(415, 100), SearchedAnchor::Kind::Name, 1},  // beside the coastline
        {QPoint(-5, 40), SearchedAnchor::Kind::Name, 1},    // outside the picture
        {QPoint(-5, 40), SearchedAnchor::Kind::City, -1},   // outside: skipped
        {QPoint(111, 111), SearchedAnchor::Kind::City, -1}, // a region already walked
    };
    const SearchedAreaResult r = measureSearchedRegions(c, v, d, anchors, d.TownPaintColor);
    EXPECT_EQ(r.interior, 400 + 400);
    EXPECT_EQ(r.boundary, 80 + 100);
    EXPECT_EQ(r.unmeasurable, 1);
    EXPECT_TRUE(r.edge);
    EXPECT_EQ(r.largestGroup, 400);
    EXPECT_NEAR(r.areaKm2, (800 + 90) * g.pixelKm2(), 1e-9);
    EXPECT_EQ(r.panel.figureColor, kFigureYellow);
    EXPECT_EQ(r.panel.unmeasurable, std::string(" 1"));
    EXPECT_EQ(r.panel.superscriptShown, true);
    EXPECT_EQ(c.pixel(110, 110), std::optional<Color>(d.TownPaintColor));
    EXPECT_EQ(c.pixel(305, 320), std::optional<Color>(d.TownPaintColor));
    EXPECT_EQ(c.pixel(415, 110), std::optional<Color>(d.BackColor));

    // A name whose only position sits on the coastline: 0 and one unmeasurable.
    Canvas c2(600, 600, d.BackColor);
    box(c2, 400, 100, 30, 30, d.CoastColor);
    const SearchedAreaResult onCoast =
        measureSearchedRegions(c2, v, d, {{QPoint(400, 99), SearchedAnchor::Kind::Name, 1}}, d.TownPaintColor);
    EXPECT_EQ(onCoast.interior, 0);
    EXPECT_EQ(onCoast.areaKm2, 0.0);
    EXPECT_EQ(onCoast.panel.unmeasurable, std::string(" 1"));
    EXPECT_EQ(onCoast.panel.figureColor, kFigureRed);
}

TEST(SearchedArea, AStartOnANameOrLineTakesTheRegionBehindIt)
{
    const ViewState v = view35();
    DisplayState d;
    Canvas c(600, 600, d.BackColor);
    box(c, 100, 100, 20, 20, d.TownColor);
    c.setPixel(110, 110, d.TownFontColor); // a name pixel where the walk starts
    const SearchedAreaResult r =
        measureSearchedRegions(c, v, d, {{QPoint(110, 110), SearchedAnchor::Kind::Name, 1}}, d.TownPaintColor);
    EXPECT_EQ(r.interior, 400);
}

TEST(SearchedArea, AnchorsFromTheStore)
{
    MapStore store;
    const ViewState v = view35();
    store.commonNames.entries = {{130000, 165000, "港区", 's'}, {130100, 165000, "府中市", 's'},
                                 {130200, 165000, "府中市", 'd'}, {130300, 165000, "中央区", 's'}};
    store.newNames.entries = {{130400, 165000, "府中市", 's'}};
    store.oldNames.entries = {{130500, 165000, "府中市", 's'}};
    store.designatedCities = {{"府中市", 130600, 165000, 13, 0}};

    const SearchedAnchors a = searchedAnchors(store, v, "府中市", std::nullopt, false);
    ASSERT_EQ(a.anchors.size(), 4u);
    EXPECT_EQ(a.anchors[0].pixel, MapToPixel(v, 130100, 165000));
    EXPECT_EQ(a.anchors[1].pixel, MapToPixel(v, 130200, 165000));
    EXPECT_EQ(a.anchors[2].pixel, MapToPixel(v, 130400, 165000));
    EXPECT_EQ(a.anchors[2].group, 2);
    EXPECT_EQ(a.anchors[3].kind, SearchedAnchor::Kind::City);
    EXPECT_FALSE(a.wardName);
    // Old borders shown: the pre-merger names instead of the current ones.
    EXPECT_EQ(searchedAnchors(store, v, "府中市", std::nullopt, true).anchors[2].pixel, MapToPixel(v, 130500, 165000));

    // In the duplicate-name list: the chosen position, and of the common names only wards.
    store.duplicateNames = {{13, "府中市", "東京都", 0, 0, '\0'}, {13, "中央区", "東京都", 0, 0, '\0'}};
    const SearchedAnchors dup = searchedAnchors(store, v, "府中市", QPoint(130700, 165000), false);
    ASSERT_EQ(dup.anchors.size(), 3u);
    EXPECT_EQ(dup.anchors[0].kind, SearchedAnchor::Kind::Chosen);
    EXPECT_EQ(dup.anchors[0].pixel, MapToPixel(v, 130700, 165000));
    const SearchedAnchors ward = searchedAnchors(store, v, "中央区", QPoint(130300, 165000), false);
    ASSERT_EQ(ward.anchors.size(), 2u);
    EXPECT_TRUE(ward.wardName);
}

TEST(SearchedArea, ARegionTooLargeForThePictureAsksForACloserView)
{
    SearchedAreaResult r;
    r.panel.area = "x";
    r.largestGroup = 200000;
    EXPECT_EQ(searchedAreaNext(r, 600, 3).step, SearchedAreaNext::Step::Show);
    EXPECT_EQ(searchedAreaNext(r, 600, 3).panel.area, std::string("x"));
    r.largestGroup = 200001;
    const SearchedAreaNext n = searchedAreaNext(r, 600, 3);
    EXPECT_EQ(n.step, SearchedAreaNext::Step::Magnify);
    EXPECT_EQ(n.magCount, 4);
    // The same share of a larger picture stands.
    EXPECT_EQ(searchedAreaNext(r, 1800, 3).step, SearchedAreaNext::Step::Show);
    const SearchedAreaNext gone = searchedAreaNext(r, 600, 19);
    EXPECT_EQ(gone.step, SearchedAreaNext::Step::GiveUp);
    EXPECT_EQ(gone.panel.length, std::string("測定不能"));
    EXPECT_EQ(gone.panel.area, std::string(" 測定不能"));
    EXPECT_EQ(gone.panel.superscriptShown, false);
}

TEST(SearchedArea, MeasuredInsideTheDrawing)
{
    // A square municipality of 200 × 200 map units (pixels of this view) in the middle
    // of a coast square, both as drawn by the map.
    DrawingScene s;
    s.view = view35();
    s.view.baseScale = 1.0f;
    s.view.scaleX = 1.0f;
    s.sw.drawingEnabled = true;
    s.sw.CBTownName = false;
    s.sw.CBTownPaint = true;
    s.sw.CBMenseki = true;
    const int32_t cx = s.view.centerX, cy = s.view.centerY;
    auto square = [&](LineKind k, int half) {
        const int32_t xy[] = {cx - half, cy - half, cx + half, cy - half, cx + half, cy + half,
                              cx - half, cy + half, cx - half, cy - half};
        s.store.line(k).append(xy, 5);
    };
    square(LineKind::Coast, 250);
    square(LineKind::Town, 100);
    s.store.commonNames.entries = {{cx, cy, "三角村", 's'}, {cx + 200, cy, "外村", 's'}};
    s.tools.searchName = "三角村";
    std::optional<SearchedAreaResult> got;
    RenderHooks hooks;
    hooks.searchPaintWithArea = searchedAreaLayer([] { return SearchedName{"三角村", std::nullopt}; },
                                                  [&](const SearchedAreaResult& r) { got = r; });
    ASSERT_TRUE(DrawMap(s.ctx, s.state, hooks).drawn);
    ASSERT_TRUE(got);
    // The square's inside in pixels, and its outline once.
    const QPoint a = MapToPixel(s.view, cx - 100, cy + 100), b = MapToPixel(s.view, cx + 100, cy - 100);
    const long inside = static_cast<long>(b.x() - a.x() - 1) * (b.y() - a.y() - 1);
    EXPECT_EQ(got->interior, inside);
    EXPECT_EQ(got->boundary, 2L * (b.x() - a.x() - 1) + 2L * (b.y() - a.y() - 1));
    EXPECT_FALSE(got->edge);
    EXPECT_EQ(s.canvas.pixel((a.x() + b.x()) / 2, (a.y() + b.y()) / 2), std::optional<Color>(s.display.TownPaintColor));
    EXPECT_EQ(s.canvas.pixel(b.x() + 20, (a.y() + b.y()) / 2), std::optional<Color>(s.display.BackColor));
    // No search: nothing measured.
    got.reset();
    hooks.searchPaintWithArea = searchedAreaLayer([] { return std::optional<SearchedName>(); },
                                                  [&](const SearchedAreaResult& r) { got = r; });
    DrawMap(s.ctx, s.state, hooks);
    EXPECT_FALSE(got);
}
