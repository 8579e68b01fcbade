#include "support/testsupport.h"
#include "common/paths.h"
#include "mapdata/loader.h"
#include "mapdata/namelists.h"
#include "view/borders.h"
#include "view/layers.h"
#include "view/names.h"
#include "view/render.h"

#include "support/mapfixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

using namespace oboro;

namespace {

constexpr Color kPaint = 0x12AB34;

using test::unitView;

struct Fixture {
    MapStore store;
    ViewState view = unitView();
    DisplayState d;
    MainSwitches sw;
    Canvas canvas{600, 600, DisplayState{}.BackColor};
    Fixture()
    {
        sw.CBTownName = true;
        sw.CBMainDoubleName = false;
        store.selectedAreas = {13};
    }
    void common(const std::string& name, int32_t x, int32_t y, char mark = 's')
    {
        store.commonNames.entries.push_back({x, y, name, mark});
    }
    void drawAll()
    {
        DrawMunicipalityNames(canvas, store, view, d, sw);
        DrawDuplicateListNames(canvas, store, view, d, sw);
        DrawDesignatedCityNames(canvas, store, view, d, sw);
    }
    // Pixels of a colour in the rectangle [x1, x2) × [y1, y2).
    int count(Color c, int x1, int y1, int x2, int y2) const
    {
        int n = 0;
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x)
                n += canvas.pixel(x, y) == c;
        return n;
    }
    // Something was written with its top-left corner at pixel (px, py).
    bool writtenAt(int px, int py) const { return count(d.TownFontColor, px, py, px + 12, py + 12) > 0; }
};

struct BorderCheck {
    int borderPixels = 0;
    int changedBorderPixels = 0;
};
// Pixels of a boundary colour in `before` and how many of them `after` changed.
BorderCheck compareBorders(const QImage& before, const QImage& after, const DisplayState& d)
{
    BorderCheck r;
    const uint32_t cols[] = {toPixel(d.CoastColor), toPixel(prefBorderColor(d)), toPixel(wardBorderColor(d)),
                             toPixel(townBorderColor(d)), toPixel(oldBorderColor(d))};
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x) {
            const uint32_t b = before.pixel(x, y) | 0xFF000000u;
            if (std::find(std::begin(cols), std::end(cols), b) == std::end(cols))
                continue;
            ++r.borderPixels;
            r.changedBorderPixels += (after.pixel(x, y) | 0xFF000000u) != b;
        }
    return r;
}

TEST(Names, WardNameTest)
{
    EXPECT_TRUE(IsWardName("中央区"));
    EXPECT_TRUE(IsWardName("北区(札幌市)"));
    EXPECT_FALSE(IsWardName("区役所前"));
    EXPECT_TRUE(IsWardName("区(x)町"));
    EXPECT_FALSE(IsWardName(""));
    EXPECT_FALSE(IsWardName("("));
}

TEST(Names, TextHasItsTopLeftCornerAtTheAnchor)
{
    Fixture f;
    f.common("東町", 100, 500); // pixel (100, 100)
    f.drawAll();
    const int w = f.canvas.textWidth("東町");
    const int h = f.canvas.textHeight();
    EXPECT_EQ(f.canvas.fontSize(), 8);
    // Glyphs inside the text's box, none above or left of the anchor.
    EXPECT_GT(f.count(f.d.TownFontColor, 100, 100, 100 + w, 100 + h), 20);
    EXPECT_EQ(f.count(f.d.TownFontColor, 0, 0, 600, 100), 0);
    EXPECT_EQ(f.count(f.d.TownFontColor, 0, 0, 100, 600), 0);
    EXPECT_EQ(f.count(f.d.TownFontColor, 100 + w + 1, 0, 600, 600), 0);
}

TEST(Names, BoxTakesThePaintColourButNotALineColour)
{
    Fixture f;
    f.canvas.setBrush(kPaint);
    f.canvas.fillRect(50, 50, 300, 300);
    // A municipal border through the second anchor's pixel.
    f.canvas.setPen(f.d.TownColor);
    f.canvas.moveTo(150, 200);
    f.canvas.lineTo(290, 200);
    f.common("東町", 100, 500);  // pixel (100, 100), painted
    f.common("西町", 200, 400);  // pixel (200, 200), on the border
    f.drawAll();
    const int w = f.canvas.textWidth("東町");
    const int h = f.canvas.textHeight();
    // First name: glyphs on the paint colour only.
    EXPECT_EQ(f.count(f.d.BackColor, 100, 100, 100 + w, 100 + h), 0);
    EXPECT_EQ(f.count(kPaint, 100, 100, 100 + w, 100 + h) + f.count(f.d.TownFontColor, 100, 100, 100 + w, 100 + h),
              w * h);
    // Second name: a box of the background colour; the border keeps every pixel.
    EXPECT_GT(f.count(f.d.BackColor, 200, 201, 200 + w, 200 + h), 0);
    EXPECT_EQ(f.count(kPaint, 200, 201, 200 + w, 200 + h), 0);
    EXPECT_EQ(f.count(f.d.TownColor, 150, 200, 290, 201), 140);
}

TEST(Names, WhiteBoxWithShiroNuki)
{
    Fixture f;
    f.d.CBWhite = true;
    f.canvas.setBrush(kPaint);
    f.canvas.fillRect(50, 50, 300, 300);
    f.common("東町", 100, 500);
    f.drawAll();
    EXPECT_GT(f.count(kWhite, 100, 100, 110, 110), 0);
    EXPECT_EQ(f.count(kPaint, 100, 100, 100 + f.canvas.textWidth("東町"), 100 + f.canvas.textHeight()), 0);
}

TEST(Names, WhichNamesAreWritten)
{
    struct Case {
        const char* what;
        bool dup;      // 重複可
        bool ku;       // 区名
        bool old;      // 旧 (pre-merger view)
        bool city;     // 市名
        std::vector<bool> shown; // per anchor below
    };
    // Anchors (pixel x = 20 + 60·i, y = 100):
    //  0 common 本町 's'          1 common 本町 'd' (a repeat)
    //  2 common 中央区, listed    3 common 北区(札幌市)
    //  4 new 新町                 5 old 旧村
    //  6 list 南区 area 13        7 list 東町 tag X
    //  8 list 三和町              9 list 西町 area 14
    // 10 city 横浜市 flag 0      11 city 川崎市 flag 1
    // 12 city さいたま市
    const std::vector<Case> cases = {
        {"plain current view", false, true, false, false, {1, 0, 0, 1, 1, 0, 1, 0, 0, 0, 0, 0, 0}},
        {"duplicates allowed", true, true, false, false, {1, 1, 1, 1, 1, 0, 1, 0, 0, 0, 0, 0, 0}},
        {"no ward names", true, false, false, false, {1, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"pre-merger view", false, true, true, false, {1, 0, 0, 1, 0, 1, 1, 1, 1, 0, 0, 0, 0}},
        {"city names", false, true, false, true, {1, 0, 0, 1, 1, 0, 1, 0, 0, 0, 1, 0, 1}},
        {"city names, duplicates", true, true, false, true, {1, 1, 1, 1, 1, 0, 1, 0, 0, 0, 1, 1, 1}},
        {"city names, pre-merger", true, true, true, true, {1, 1, 1, 1, 0, 1, 1, 1, 1, 0, 1, 1, 0}},
    };
    auto at = [](int i) { return std::pair<int32_t, int32_t>{20 + 45 * i, 500}; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        f.sw.CBMainDoubleName = c.dup;
        f.d.CBKuName = c.ku;
        f.sw.CBNTownBorder = c.old;
        f.d.CBCityName = c.city;
        f.d.TownFontSize = 4; // small enough to keep neighbours apart
        f.common("本町", at(0).first, at(0).second);
        f.common("本町", at(1).first, at(1).second, 'd');
        f.common("中央区", at(2).first, at(2).second);
        f.common("北区(札幌市)", at(3).first, at(3).second);
        f.store.newNames.entries.push_back({at(4).first, at(4).second, "新町", 's'});
        f.store.oldNames.entries.push_back({at(5).first, at(5).second, "旧村", 's'});
        f.store.duplicateNames = {
            {13, "南区", "横浜市", at(6).first, at(6).second, '\0'},
            {13, "東町", "某郡", at(7).first, at(7).second, 'X'},
            {13, "三和町", "某郡", at(8).first, at(8).second, '\0'},
            {14, "西町", "某郡", at(9).first, at(9).second, '\0'},
            {13, "中央区", "某市", 590, 590, '\0'}, // lists 中央区 (drawn out of the way)
        };
        f.store.designatedCities = {
            {"横浜市", at(10).first, at(10).second, 13, 0},
            {"川崎市", at(11).first, at(11).second, 13, 1},
            {"さいたま市", at(12).first, at(12).second, 13, 0},
        };
        f.drawAll();
        for (size_t i = 0; i < c.shown.size(); ++i) {
            const int px = at(static_cast<int>(i)).first;
            EXPECT_EQ(f.count(f.d.TownFontColor, px, 100, px + 40, 108) > 0, c.shown[i]) << "anchor " << i;
        }
    }
}

TEST(Names, NothingWithoutTownNameSwitch)
{
    Fixture f;
    f.sw.CBTownName = false;
    f.d.CBCityName = true;
    f.common("東町", 100, 500);
    f.store.duplicateNames = {{13, "南区", "横浜市", 200, 500, '\0'}};
    f.store.designatedCities = {{"横浜市", 300, 500, 13, 0}};
    f.drawAll();
    EXPECT_EQ(f.count(f.d.TownFontColor, 0, 0, 600, 600), 0);
}

TEST(Names, ListNamesInCoastColourWithSameColourSwitch)
{
    Fixture f;
    f.d.CBColor = true;
    f.d.CBCityName = true;
    f.store.designatedCities = {{"横浜市", 300, 500, 13, 0}};
    f.drawAll();
    EXPECT_GT(f.count(f.d.CoastColor, 300, 100, 340, 115), 0);
}

TEST(Names, FontSizeFollowsImageSideWhenNotFixed)
{
    for (auto [side, size] : {std::pair{1800, 24}, std::pair{120, 1}, std::pair{600, 8}}) {
        Fixture f;
        f.d.CBFixedSize = false;
        f.view.imageSide = side;
        f.common("東町", 100, 500);
        f.drawAll();
        EXPECT_EQ(f.d.TownFontPixels, size);
        EXPECT_EQ(f.canvas.fontSize(), size);
    }
}

// Names written across a mesh of borders leave every border pixel as it was, so the
// regions the borders close stay closed.
TEST(Names, BorderPixelsUnchanged)
{
    Fixture f;
    f.sw.CBMainDoubleName = true;
    f.d.CBCityName = true;
    MapStore& s = f.store;
    for (int32_t x = 40; x < 600; x += 37) {
        const int32_t xy[] = {x, 10, x, 590};
        ASSERT_TRUE(s.line(LineKind::Town).append(xy, 2));
    }
    for (int32_t y = 30; y < 600; y += 23) {
        const int32_t xy[] = {10, y, 590, y};
        ASSERT_TRUE(s.line(LineKind::Coast).append(xy, 2));
    }
    for (int32_t y = 20; y < 600; y += 31)
        for (int32_t x = 15; x < 600; x += 53)
            f.common("長い名前の町", x, y);
    s.designatedCities = {{"横浜市", 35, 31, 13, 0}};
    DrawBoundaryLines(f.canvas, s, f.view, f.d, f.sw);
    const QImage before = f.canvas.image().copy();
    f.drawAll();
    const BorderCheck check = compareBorders(before, f.canvas.image(), f.d);
    EXPECT_GT(check.borderPixels, 10000);
    EXPECT_EQ(check.changedBorderPixels, 0);
    int written = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 600; ++x)
            written += before.pixel(x, y) != f.canvas.image().pixel(x, y);
    EXPECT_GT(written, 5000);
}

TEST(Names, InstalledLayersDrawThroughTheMap)
{
    Fixture f;
    f.sw.drawingEnabled = true;
    f.sw.CBTownBorder = true; // without it the drawing unchecks 市区町村名
    f.sw.CBPrefBorder = false;
    f.sw.CBTownPaint = false;
    f.sw.kokudo = false;
    f.sw.ken_name = false;
    f.view.baseScale = 1.0f; // the drawing recomputes the scales from it
    f.common("東町", 100, 500);
    f.sw.CBTownName = true;
    f.sw.CBNTownBorder = false;
    CollectingSink sink;
    ToolSwitches tools;
    RenderContext ctx{f.canvas, f.store, f.view, f.d, f.sw, tools, sink};
    RenderHooks hooks;
    NameOptions opt;
    DecorationState deco;
    installNameAndDecorationLayers(hooks, opt, deco);
    RenderState state;
    ASSERT_TRUE(DrawMap(ctx, state, hooks).drawn);
    const QPoint p = MapToPixel(f.view, 100, 500);
    EXPECT_TRUE(f.writtenAt(p.x(), p.y()));
}

// Real geography: every municipality's name of 神奈川県 in the bundled data, with the
// designated-city ward borders and decorations of a normal map. Names change no border
// pixel, and each name whose anchor is on open ground is written there.
TEST(Names, RealPrefectureNamesKeepBorders)
{
    setProgramFolder(test::bundledDataDir());
    MapStore store;
    CollectingSink loadSink;
    ASSERT_TRUE(loadMapFiles(store, {13}, LoadOptions{}, loadSink)); // 神奈川県 in the area table
    ASSERT_GT(store.commonNames.count(), 50);
    readDesignatedCityList(store, loadSink);
    readDuplicateNameList(store, loadSink);
    ASSERT_TRUE(loadSink.messages.empty());
    ViewState view;
    SetUpView(view, store, 1);
    view.sizeFactor = 2;
    DisplayState d;
    MainSwitches sw;
    sw.drawingEnabled = true;
    sw.CBTownPaint = false;
    sw.CBScale = true;
    ToolSwitches tools;
    CollectingSink sink;
    Canvas canvas;
    RenderContext ctx{canvas, store, view, d, sw, tools, sink};
    RenderHooks hooks;
    NameOptions opt;
    DecorationState deco;
    installNameAndDecorationLayers(hooks, opt, deco);
    RenderState state;

    sw.CBTownName = false;
    ASSERT_TRUE(DrawMap(ctx, state, hooks).drawn);
    const QImage without = canvas.image().copy();
    sw.CBTownName = true;
    ASSERT_TRUE(DrawMap(ctx, state, hooks).drawn);
    if (qEnvironmentVariableIsSet("OBORO_WRITE_PNG"))
        canvas.image().save(QStringLiteral("/tmp/oboro_names_14.png"));

    const BorderCheck check = compareBorders(without, canvas.image(), d);
    EXPECT_GT(check.borderPixels, 5000);
    EXPECT_EQ(check.changedBorderPixels, 0);
    int written = 0, open = 0;
    for (const NameEntry& e : store.commonNames.entries) {
        const QPoint a = MapToPixel(view, e.x, e.y);
        if (!without.valid(a) || without.pixel(a) != toPixel(d.BackColor))
            continue; // on a line or a decoration: written on its box, not checked here
        ++open;
        int ink = 0;
        for (int y = a.y(); y < a.y() + 12; ++y)
            for (int x = a.x(); x < a.x() + 12 * 4; ++x)
                ink += canvas.pixel(x, y) == d.TownFontColor;
        written += ink > 0;
    }
    EXPECT_GT(open, 20);
    EXPECT_EQ(written, open);
}

} // namespace
