#include "view/borders.h"
#include "view/render.h"

#include "support/mapfixtures.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace oboro;

namespace {

constexpr Color kPaint = 0x12AB34;

using test::unitView;

void add(MapStore& s, LineKind k, std::vector<int32_t> xy)
{
    ASSERT_TRUE(s.line(k).append(xy.data(), static_cast<int>(xy.size() / 2)));
}

// Everything off except what a test turns on.
MainSwitches noSwitches()
{
    MainSwitches sw;
    sw.CBPrefBorder = false;
    sw.CBTownBorder = false;
    sw.CBTownPaint = false;
    return sw;
}

int countColor(const Canvas& c, Color color)
{
    int n = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            n += c.pixel(x, y) == color;
    return n;
}

struct Fixture {
    MapStore store;
    ViewState view = unitView();
    DisplayState d;
    MainSwitches sw = noSwitches();
    Canvas canvas{600, 600, DisplayState{}.BackColor};
    void draw() { DrawBoundaryLines(canvas, store, view, d, sw); }
};

TEST(Borders, MunicipalityIsAClosedOutline)
{
    Fixture f;
    f.sw.CBTownBorder = true;
    // A square and an irregular pentagon, both closed rings.
    add(f.store, LineKind::Town, {100, 100, 200, 100, 200, 200, 100, 200, 100, 100});
    add(f.store, LineKind::Town, {300, 300, 420, 330, 450, 470, 350, 520, 280, 410, 300, 300});
    f.draw();
    EXPECT_EQ(f.canvas.pixel(100, 500), f.d.TownColor);
    EXPECT_EQ(f.canvas.pixel(150, 500), f.d.TownColor);
    const Color back = f.d.BackColor;
    f.canvas.setBrush(kPaint);
    // Inside the square: 99 × 99 pixels, nothing outside.
    EXPECT_EQ(f.canvas.floodFill(150, 450, back), 99 * 99);
    EXPECT_EQ(f.canvas.pixel(50, 50), back);
    const long inner = f.canvas.floodFill(370, 200, back);
    EXPECT_GT(inner, 10000);
    EXPECT_LT(inner, 130 * 220);
    EXPECT_EQ(f.canvas.pixel(590, 10), back);
}

TEST(Borders, DottedWardBordersLeaveGaps)
{
    for (bool dotted : {true, false}) {
        Fixture f;
        f.sw.CBTownBorder = true;
        f.d.CBKuDot = dotted;
        add(f.store, LineKind::Ku, {100, 300, 200, 300});
        f.draw();
        int set = 0;
        for (int x = 100; x < 200; ++x)
            set += f.canvas.pixel(x, 300) == f.d.KuColor;
        EXPECT_EQ(set, dotted ? 50 : 100) << dotted;
        EXPECT_EQ(f.canvas.pixel(100, 300), f.d.KuColor);
    }
}

TEST(Borders, DottedPenOfWidthTwoDrawsSolid)
{
    Fixture f;
    f.sw.CBTownBorder = true;
    f.d.TownWidth = 2;
    f.d.CBKuDot = true;
    add(f.store, LineKind::Ku, {100, 300, 200, 300});
    f.draw();
    for (int x = 100; x < 200; ++x)
        ASSERT_EQ(f.canvas.pixel(x, 300), f.d.KuColor) << x;
}

// Every border layer sets the last pixel of its records: the outlines that painting fills
// are closed even where every record of a junction ends there.
TEST(Borders, PrefectureBorderAndCoastlineSetBothEnds)
{
    Fixture f;
    f.sw.CBPrefBorder = true;
    add(f.store, LineKind::Pref, {100, 100, 150, 130});
    add(f.store, LineKind::Coast, {300, 100, 350, 130});
    f.draw();
    EXPECT_EQ(f.canvas.pixel(100, 500), f.d.PrefColor);
    EXPECT_EQ(f.canvas.pixel(150, 470), f.d.PrefColor);
    EXPECT_EQ(f.canvas.pixel(300, 500), f.d.CoastColor);
    EXPECT_EQ(f.canvas.pixel(350, 470), f.d.CoastColor);
}

TEST(Borders, ClosedWalkSetsTheLastPixelWhenTheLastPointsShareIt)
{
    Fixture f;
    f.sw.CBPrefBorder = true;
    f.view.scaleX = f.view.scaleY = 0.1f; // points 3 units apart share a pixel
    add(f.store, LineKind::Pref, {1000, 1000, 1500, 1000, 1503, 1000});
    f.draw();
    const QPoint last = MapToPixel(f.view, 1503, 1000);
    EXPECT_EQ(f.canvas.pixel(last.x(), last.y()), f.d.PrefColor);
}

TEST(Borders, OldSwitchChoosesTheExtraPrefectureTable)
{
    for (bool old : {false, true}) {
        Fixture f;
        f.sw.CBPrefBorder = true;
        f.sw.CBNTownBorder = old;
        add(f.store, LineKind::Pref, {100, 100, 200, 100});
        add(f.store, LineKind::NewPref, {100, 200, 200, 200});
        add(f.store, LineKind::OldPref, {100, 300, 200, 300});
        f.draw();
        EXPECT_EQ(f.canvas.pixel(150, 500), f.d.PrefColor);
        EXPECT_EQ(f.canvas.pixel(150, 400) == f.d.PrefColor, !old);
        EXPECT_EQ(f.canvas.pixel(150, 300) == f.d.PrefColor, old);
    }
}

TEST(Borders, LayerConditions)
{
    // Table, switch setter, expected colour at the line's middle (background: not drawn).
    struct Case {
        const char* what;
        LineKind kind;
        void (*set)(MainSwitches&, DisplayState&);
        bool drawn;
    };
    const Case cases[] = {
        {"coast box off", LineKind::Coast, [](MainSwitches&, DisplayState& d) { d.CBCoast = false; }, false},
        {"lake shore", LineKind::Lake, [](MainSwitches&, DisplayState&) {}, true},
        {"Hokkaido lake shore", LineKind::HLake, [](MainSwitches&, DisplayState&) {}, true},
        {"pref off", LineKind::Pref, [](MainSwitches&, DisplayState&) {}, false},
        {"lake pref needs 湖境界", LineKind::LakePref, [](MainSwitches& s, DisplayState&) { s.CBPrefBorder = true; }, false},
        {"lake pref", LineKind::LakePref,
         [](MainSwitches& s, DisplayState&) { s.CBPrefBorder = s.CBLake = true; }, true},
        {"town off", LineKind::Town, [](MainSwitches&, DisplayState&) {}, false},
        {"ward needs 政令都市区界", LineKind::Ku,
         [](MainSwitches& s, DisplayState& d) { s.CBTownBorder = true; d.CBKu = false; }, false},
        {"old needs 旧", LineKind::NTown, [](MainSwitches& s, DisplayState&) { s.CBTownBorder = true; }, false},
        {"second old", LineKind::OTown,
         [](MainSwitches& s, DisplayState&) { s.CBTownBorder = s.CBNTownBorder = true; }, true},
        {"lake border needs 市区町村界", LineKind::LakeBorder, [](MainSwitches& s, DisplayState&) { s.CBLake = true; }, false},
        {"lake border", LineKind::LakeBorder,
         [](MainSwitches& s, DisplayState&) { s.CBLake = s.CBTownBorder = true; }, true},
    };
    for (const Case& k : cases) {
        Fixture f;
        f.d.CBLakeDot = false;
        add(f.store, k.kind, {100, 300, 200, 300});
        k.set(f.sw, f.d);
        f.draw();
        EXPECT_EQ(f.canvas.pixel(150, 300) != f.d.BackColor, k.drawn) << k.what;
    }
}

TEST(Borders, PrefectureSwitchTakesTheMunicipalBordersAlong)
{
    MainSwitches sw;
    PrefBorderSwitch off = switchPrefBorder(sw, false);
    EXPECT_FALSE(sw.CBPrefBorder);
    EXPECT_FALSE(sw.CBTownBorder);
    EXPECT_TRUE(off.townBorderUnchecked);
    EXPECT_FALSE(off.townBorderEnabled);
    EXPECT_FALSE(off.settingsBoxChecked);
    PrefBorderSwitch on = switchPrefBorder(sw, true);
    EXPECT_TRUE(sw.CBPrefBorder);
    EXPECT_FALSE(sw.CBTownBorder); // enabled, left unchecked
    EXPECT_TRUE(on.townBorderEnabled);
    EXPECT_TRUE(on.settingsBoxChecked);
}

TEST(Borders, PenColours)
{
    DisplayState d;
    EXPECT_EQ(townBorderColor(d), d.TownColor);
    EXPECT_EQ(oldBorderColor(d), d.NTownColor);
    d.CheckBox15 = true;
    EXPECT_EQ(oldBorderColor(d), d.TownColor);
    d.CBColor = true;
    EXPECT_EQ(townBorderColor(d), d.CoastColor);
    EXPECT_EQ(oldBorderColor(d), d.CoastColor);
    EXPECT_EQ(prefBorderColor(d), d.CoastColor);
    EXPECT_EQ(wardBorderColor(d), d.CoastColor);
    d.CheckBox1 = true; // 背景色と同色 wins over 海岸線の色に揃える
    EXPECT_EQ(townBorderColor(d), d.BackColor);
    EXPECT_EQ(oldBorderColor(d), d.BackColor);
    EXPECT_EQ(prefBorderColor(d), d.CoastColor);
}

TEST(Borders, BackgroundColouredMunicipalBordersAreInvisible)
{
    Fixture f;
    f.sw.CBTownBorder = true;
    f.sw.CBNTownBorder = true;
    f.d.CheckBox1 = true;
    f.d.CBColor = true;
    add(f.store, LineKind::Town, {100, 100, 200, 100, 200, 200, 100, 100});
    add(f.store, LineKind::NTown, {300, 100, 400, 200});
    add(f.store, LineKind::Ku, {100, 400, 200, 400});
    f.draw();
    // Only the ward border (in the coast colour) shows.
    EXPECT_EQ(countColor(f.canvas, f.d.BackColor), 600 * 600 - 51);
    EXPECT_EQ(countColor(f.canvas, f.d.CoastColor), 51);
}

TEST(Borders, LakeBordersUseThePreMergerColourAndOldBordersGoSolidUnderSearchPaint)
{
    Fixture f;
    f.sw.CBTownBorder = true;
    f.sw.CBLake = true;
    f.sw.CBNTownBorder = true;
    f.sw.CBTownPaint = true;
    f.d.CBLakeDot = false;
    add(f.store, LineKind::LakeBorder, {100, 300, 200, 300});
    add(f.store, LineKind::NTown, {100, 200, 200, 200});
    f.draw();
    EXPECT_EQ(f.canvas.pixel(150, 300), f.d.NTownColor);
    for (int x = 100; x < 200; ++x)
        ASSERT_EQ(f.canvas.pixel(x, 400), f.d.NTownColor) << x;
}

// The walks draw exactly what projecting every point with MapToPixel and drawing a line
// to each gives (the closed walk's back-stroke goes to the last point on another pixel).
void referenceWalk(Canvas& c, const LineTable& t, const ViewState& v, bool closed)
{
    t.forEachRecord([&](int n, const int32_t* xy) {
        std::vector<QPoint> p;
        for (int i = 0; i < n; ++i)
            p.push_back(MapToPixel(v, xy[2 * i], xy[2 * i + 1]));
        c.moveTo(p[0].x(), p[0].y());
        for (int i = 1; i < n; ++i)
            c.lineTo(p[i].x(), p[i].y());
        if (closed && n >= 2) {
            int k = n - 2;
            while (k >= 0 && p[k] == p[n - 1])
                --k;
            c.moveTo(p[n - 1].x(), p[n - 1].y());
            if (k >= 0)
                c.lineTo(p[k].x(), p[k].y());
            else if (c.pen.width <= 1)
                c.setPixel(p[0].x(), p[0].y(), c.pen.color);
            else
                c.lineTo(p[0].x(), p[0].y());
        }
    });
}

TEST(Borders, FastWalkEqualsPlainProjection)
{
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> start(150000, 170000), step(-60, 60), len(1, 300);
    LineTable table(400000);
    for (int r = 0; r < 300; ++r) {
        std::vector<int32_t> xy;
        int x = start(rng), y = start(rng);
        const int n = len(rng);
        for (int i = 0; i < n; ++i) {
            xy.push_back(x);
            xy.push_back(y);
            x += step(rng);
            y += step(rng);
        }
        ASSERT_TRUE(table.append(xy.data(), n));
    }
    for (float scale : {0.002f, 0.02f, 0.1f}) {
        for (int width : {1, 2}) {
            for (PenStyle style : {PenStyle::Solid, PenStyle::Dot}) {
                for (bool closed : {false, true}) {
                    ViewState v = unitView();
                    v.wgs = true;
                    v.centerX = v.centerY = 160000;
                    v.scaleX = scale;
                    v.scaleY = scale * 0.8f;
                    Canvas a(600, 600), b(600, 600);
                    a.setPen(0x0000FF, width, style);
                    b.setPen(0x0000FF, width, style);
                    if (closed)
                        ClosedWalk(a, table, v);
                    else
                        PolylineWalk(a, table, v);
                    referenceWalk(b, table, v, closed);
                    ASSERT_TRUE(a.image() == b.image()) << scale << " " << width << " " << closed;
                    ASSERT_GT(countColor(a, 0x0000FF), 100) << scale << " " << width << " " << closed;
                }
            }
        }
    }
}

TEST(FillTargetRule, Cases)
{
    DisplayState d;
    Canvas c(10, 10, d.BackColor);
    const Color lineColours[] = {d.CoastColor, d.TownColor, d.TownFontColor, d.KuColor, d.PrefColor,
                                 d.DoColor, d.FunColor, d.LabelColor, d.KanaFontColor};
    for (Color col : lineColours) {
        c.setPixel(3, 3, col);
        EXPECT_EQ(FillTarget(c, d, 3, 3), d.BackColor) << col;
    }
    c.setPixel(3, 3, kPaint);
    EXPECT_EQ(FillTarget(c, d, 3, 3), kPaint);
    c.setPixel(3, 3, d.NTownColor); // pre-merger borders are not in the list
    EXPECT_EQ(FillTarget(c, d, 3, 3), d.NTownColor);
    EXPECT_EQ(FillTarget(c, d, -1, 3), d.BackColor);
    EXPECT_EQ(FillTarget(c, d, 3, 10), d.BackColor);
}

// ------------------------------------------------------------------ DrawMap

struct Pipeline : DrawingScene {
    std::vector<std::string> calls;

    Pipeline()
    {
        store.selectedAreas = {12};
        store.extent = Extent{100000, 150000, 120000, 170000};
        SetUpView(view, store, 1);
        sw.drawingEnabled = true;
        sw.CBTownPaint = false;
    }
    Layer rec(const char* name)
    {
        return [this, name](RenderContext&) { calls.push_back(name); };
    }
    RenderHooks allHooks()
    {
        RenderHooks h;
        h.showPleaseWait = [this](const std::string& t) { calls.push_back("wait:" + t); };
        h.hidePleaseWait = [this] { calls.push_back("unwait"); };
        h.graticule = rec("graticule");
        h.mesh = rec("mesh");
        h.paintBorderLines = rec("paintBorderLines");
        h.paintReplay = rec("paintReplay");
        h.showMeasuring = [this](const std::string& t) { calls.push_back("measuring:" + t); };
        h.closeMeasuring = [this] { calls.push_back("closeMeasuring"); };
        h.searchPaintWithArea = rec("searchPaintWithArea");
        h.searchPaint = rec("searchPaint");
        h.townNames = rec("townNames");
        h.duplicateNames = rec("duplicateNames");
        h.cityNames = rec("cityNames");
        h.islands = rec("islands");
        h.mountains = rec("mountains");
        h.prefNameCorner = rec("prefNameCorner");
        h.centreMark = rec("centreMark");
        h.approvalNotice = rec("approvalNotice");
        h.meshNames = rec("meshNames");
        h.meshNames2 = rec("meshNames2");
        h.scaleBar = [this](RenderContext&) { calls.push_back("scaleBar"); return true; };
        h.legend = [this](RenderContext&) { calls.push_back("legend"); return true; };
        h.frame = rec("frame");
        h.distanceCircles = rec("distanceCircles");
        h.mapLines = rec("mapLines");
        h.symbols = rec("symbols");
        h.labels = rec("labels");
        h.lineEditorRedraw = rec("lineEditorRedraw");
        h.prefNames = rec("prefNames");
        h.prefSeats = rec("prefSeats");
        h.officeMarks = rec("officeMarks");
        h.resetMeasurementPath = [this] { calls.push_back("resetPath"); };
        h.lineEditorEditedLine = rec("editedLine");
        return h;
    }
};

TEST(DrawMap, NothingWhileDrawingIsOffOrAViewIsRestored)
{
    Pipeline p;
    p.canvas.resize(600, 600, kPaint);
    p.sw.drawingEnabled = false;
    EXPECT_FALSE(DrawMap(p.ctx, p.state, p.allHooks()).drawn);
    p.sw.drawingEnabled = true;
    p.view.viewRestore = true;
    EXPECT_FALSE(DrawMap(p.ctx, p.state, p.allHooks()).drawn);
    EXPECT_EQ(countColor(p.canvas, kPaint), 600 * 600);
    EXPECT_TRUE(p.calls.empty());
}

TEST(DrawMap, LayersInTheirOrder)
{
    Pipeline p;
    p.store.selectedAreas.assign(31, 1);
    p.sw.CBLonLat = true;
    p.sw.gridUnder = false;
    p.sw.CBTownPaint = true;
    p.sw.CBMenseki = true;
    p.sw.CBLabel = true;
    p.sw.CBScale = true;
    p.sw.CBCenter = true; // no centre mark under search paint
    p.display.CBIslands = p.display.CBMountain = p.display.CBMeshName = p.display.CBMeshName2 = true;
    p.display.CBKenName = true;
    p.display.CBOffice = true;
    p.tools.paintBorderLines = p.tools.lineFilesListed = true;
    p.tools.paintReplay = true;
    p.tools.legendShown = true;
    p.tools.lineEditorRedrawPending = p.tools.lineEditorShowsEdited = true;
    p.tools.searchName = "千代田区";
    const DrawResult r = DrawMap(p.ctx, p.state, p.allHooks());
    ASSERT_TRUE(r.drawn);
    const std::vector<std::string> expected = {
        "wait:地図を描いています", "paintBorderLines", "paintReplay", "measuring:千代田区 の面積を計算しています",
        "searchPaintWithArea", "closeMeasuring", "townNames", "duplicateNames", "cityNames", "islands",
        "mountains", "prefNameCorner", "approvalNotice", "graticule", "meshNames", "meshNames2", "scaleBar",
        "legend", "frame", "distanceCircles", "unwait", "mapLines", "symbols", "labels", "lineEditorRedraw",
        "prefNames", "officeMarks", "resetPath", "editedLine"};
    EXPECT_EQ(p.calls, expected);
    EXPECT_TRUE(p.state.scaleBarDrawn);
    EXPECT_TRUE(p.state.legendDrawn);
    EXPECT_EQ(r.mappingText, "Mapping 1");
    EXPECT_EQ(r.counterText, "1");
    EXPECT_TRUE(r.readingsAreaName.empty());
}

TEST(DrawMap, WithoutTheMapOnlyTheOverlays)
{
    Pipeline p;
    p.tools.legendMap = false;
    p.tools.distanceCircles = false;
    p.tools.legendShown = true;
    p.sw.CBLabel = true;
    add(p.store, LineKind::Coast, {110000, 155000, 115000, 165000});
    const DrawResult r = DrawMap(p.ctx, p.state, p.allHooks());
    ASSERT_TRUE(r.drawn);
    const std::vector<std::string> expected = {"legend", "frame", "unwait", "mapLines", "symbols", "labels", "resetPath"};
    EXPECT_EQ(p.calls, expected);
    EXPECT_EQ(r.distanceCircleText, "距離円は非表示です");
    EXPECT_EQ(countColor(p.canvas, p.display.BackColor), 600 * 600);
    EXPECT_TRUE(r.mappingText.empty());
}

TEST(DrawMap, UncheckingMunicipalBordersUnchecksNames)
{
    Pipeline p;
    p.sw.CBTownBorder = false;
    const DrawResult r = DrawMap(p.ctx, p.state, p.allHooks());
    EXPECT_TRUE(r.townNameUnchecked);
    EXPECT_FALSE(p.sw.CBTownName);
    EXPECT_FALSE(r.lakeEnabled);
    EXPECT_FALSE(r.nameEditingEnabled);
    EXPECT_EQ(std::count(p.calls.begin(), p.calls.end(), "townNames"), 0);
    EXPECT_EQ(r.readingsAreaName, "東京都");
}

TEST(DrawMap, PenAfterTheBordersHasTheMunicipalColour)
{
    Pipeline p;
    p.display.CBTownDot = true;
    p.display.TownWidth = 1;
    p.sw.CBTownBorder = true;
    p.tools.paintBorderLines = p.tools.lineFilesListed = true;
    Pen seen;
    RenderHooks h;
    h.paintBorderLines = [&](RenderContext& c) { seen = c.canvas.pen; };
    DrawMap(p.ctx, p.state, h);
    EXPECT_EQ(seen.color, p.display.TownColor);
    EXPECT_EQ(seen.style, PenStyle::Dot); // the municipal layer's pen stays
    // With the municipal borders off the prefecture pen is the last one set.
    p.sw.CBTownBorder = false;
    p.display.PrefWidth = 3;
    DrawMap(p.ctx, p.state, h);
    EXPECT_EQ(seen.color, p.display.TownColor);
    EXPECT_EQ(seen.width, 3);
}

TEST(DrawMap, BackgroundAndBordersOfARealView)
{
    Pipeline p;
    p.display.CheckBox13 = true;
    p.sw.CBTownBorder = true;
    add(p.store, LineKind::Town, {105000, 155000, 115000, 155000, 115000, 165000, 105000, 165000, 105000, 155000});
    ASSERT_TRUE(DrawMap(p.ctx, p.state, RenderHooks{}).drawn);
    EXPECT_EQ(p.display.BackColor, kWhite);
    EXPECT_EQ(p.canvas.width(), 600);
    const QPoint a = MapToPixel(p.view, 105000, 155000);
    EXPECT_EQ(p.canvas.pixel(a.x(), a.y()), p.display.TownColor);
    const QPoint mid = MapToPixel(p.view, 110000, 160000);
    p.canvas.setBrush(kPaint);
    const long inside = p.canvas.floodFill(mid.x(), mid.y(), kWhite);
    EXPECT_GT(inside, 1000);
    EXPECT_EQ(p.canvas.pixel(1, 1), kWhite);
    // A larger image follows the size factor.
    p.view.sizeFactor = 2;
    DrawMap(p.ctx, p.state, RenderHooks{});
    EXPECT_EQ(p.canvas.width(), 1200);
}

TEST(DrawMap, EveryFifthDrawingRefreshesTheThumbnail)
{
    Pipeline p;
    p.display.BackColor = kPaint;
    for (int i = 1; i <= 5; ++i) {
        const DrawResult r = DrawMap(p.ctx, p.state, RenderHooks{});
        EXPECT_EQ(r.thumbnailUpdated, i == 5);
    }
    ASSERT_EQ(p.state.thumbnail.size(), QSize(64, 64));
    EXPECT_EQ(fromPixel(p.state.thumbnail.pixel(10, 10)), kPaint);
    EXPECT_EQ(p.state.drawCount, 5);
}

TEST(DrawMap, RefusedRangeKeepsThePicture)
{
    Pipeline p;
    p.canvas.resize(600, 600, kPaint);
    p.view.rangeApplied = true;
    p.view.magCount = 10000;
    const DrawResult r = DrawMap(p.ctx, p.state, p.allHooks());
    EXPECT_FALSE(r.drawn);
    EXPECT_TRUE(r.view.refused);
    EXPECT_EQ(countColor(p.canvas, kPaint), 600 * 600);
}

} // namespace
