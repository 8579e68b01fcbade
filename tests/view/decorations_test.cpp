#include "common/paths.h"
#include "support/testsupport.h"
#include "view/decorations.h"
#include "view/layers.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace oboro;

namespace {

// A view of 133.5°E–135.5°E and 33.5°N–35.5°N on a 600-pixel picture: 0.03 pixels per
// x unit, 0.02 per y unit; 134°E is column 150, 135°E column 450, 35°N row 150, 34°N
// row 450.
ViewState degreeView()
{
    ViewState v;
    v.centerX = 125000;
    v.centerY = 157500;
    v.scaleX = 0.03f;
    v.scaleY = 0.02f;
    v.wgs = true; // the grids ignore it
    return v;
}

struct Fixture {
    MapStore store;
    ViewState view;
    DisplayState d;
    MainSwitches sw;
    ToolSwitches tools;
    CollectingSink sink;
    Canvas canvas;
    DecorationState st;
    RenderContext ctx{canvas, store, view, d, sw, tools, sink};

    explicit Fixture(const ViewState& v = degreeView()) : view(v), canvas(v.imageSide, v.imageSide, DisplayState{}.BackColor)
    {
        setExtent();
        sw.kokudo = false;
        d.FunColor = 0x808080;
    }
    void setExtent()
    {
        const QPoint ll = PixelToMap(view, 0, view.imageSide);
        const QPoint ur = PixelToMap(view, view.imageSide, 0);
        store.extent = {ll.x(), ll.y(), ur.x(), ur.y()};
    }
    int count(Color c, int x1, int y1, int x2, int y2) const
    {
        int n = 0;
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x)
                n += canvas.pixel(x, y) == c;
        return n;
    }
    int column(Color c, int x) const { return count(c, x, 0, x + 1, canvas.height()); }
    int row(Color c, int y) const { return count(c, 0, y, canvas.width(), y + 1); }
};

TEST(Graticule, WholeDegreeAndTenMinuteLines)
{
    Fixture f;
    f.sw.CBFun = true;
    DrawGraticule(f.ctx, f.st);
    // Degree lines in DoColor across the whole picture (no datum shift).
    EXPECT_GE(f.column(f.d.DoColor, 150), 599);
    EXPECT_GE(f.column(f.d.DoColor, 450), 599);
    EXPECT_GE(f.row(f.d.DoColor, 150), 590); // less the crossing ten-minute meridians
    EXPECT_GE(f.row(f.d.DoColor, 450), 590);
    EXPECT_EQ(f.column(f.d.DoColor, 151), 2); // only where the parallels cross
    // Ten minutes east of 134°: x = 121666 → column 199; ten minutes north of 34°: row 400.
    EXPECT_GE(f.column(f.d.FunColor, 199), 590);
    EXPECT_GE(f.row(f.d.FunColor, 400), 590);
    EXPECT_LT(f.column(f.d.FunColor, 175), 20); // crossings only
    EXPECT_EQ(f.st.graticuleRect.left, 0);
    EXPECT_EQ(f.st.graticuleRect.top, 0);
    EXPECT_EQ(f.st.graticuleRect.right, 599);
    EXPECT_EQ(f.st.graticuleRect.bottom, 599);
}

TEST(Graticule, DottedTenMinuteLinesAndNoneWhenOff)
{
    Fixture f;
    f.sw.CBFun = true;
    f.d.CBFunDot = true;
    DrawGraticule(f.ctx, f.st);
    const int dotted = f.column(f.d.FunColor, 199);
    EXPECT_GT(dotted, 200);
    EXPECT_LT(dotted, 400);

    Fixture g;
    DrawGraticule(g.ctx, g.st);
    EXPECT_EQ(g.column(g.d.FunColor, 199), 0);
}

TEST(Graticule, EveryOtherDegreeLabelsEvenBandsAtBothEnds)
{
    Fixture f;
    f.sw.CBDo = true;
    f.sw.CB1do = true;
    f.d.DoColor = 0x0000C0; // lines apart from the black figures
    DrawGraticule(f.ctx, f.st);
    const int s = 8;
    // 34° (band 10): " 34°" at (5, 446) and at (trunc(600 − 22.4), 446).
    EXPECT_GT(f.count(kBlack, 5, 446, 5 + 30, 446 + 11), 10);
    EXPECT_GT(f.count(kBlack, 577, 446, 600, 446 + 11), 10);
    // 35° (band 11) is not labelled.
    EXPECT_EQ(f.count(kBlack, 0, 140, 60, 160), 0);
    EXPECT_EQ(f.count(kBlack, 540, 140, 600, 160), 0);
    // 134° (band 12): top at (142, 5), bottom at (142, trunc(600 − 13.6)).
    EXPECT_GT(f.count(kBlack, 150 - s, 5, 150 - s + 30, 5 + 11), 10);
    EXPECT_GT(f.count(kBlack, 150 - s, 586, 150 - s + 30, 600), 10);
    // 135° (band 13) is not labelled.
    EXPECT_EQ(f.count(kBlack, 430, 0, 480, 20), 0);
    EXPECT_EQ(f.count(kBlack, 430, 580, 480, 600), 0);
    // Without every other degree, 35° is labelled too.
    Fixture g;
    g.sw.CBDo = true;
    g.d.DoColor = 0x0000C0;
    DrawGraticule(g.ctx, g.st);
    EXPECT_GT(g.count(kBlack, 5, 146, 35, 157), 10);
}

TEST(Graticule, LabelSizeAndNoticeSizeAtSide1200)
{
    ViewState v = degreeView();
    v.sizeFactor = 2;
    v.imageSide = 1200;
    v.scaleX *= 2;
    v.scaleY *= 2;
    Fixture f(v);
    f.sw.CBDo = true;
    DrawDegreeLabels(f.ctx, f.st);
    EXPECT_EQ(f.canvas.fontSize(), 16);
    f.st.approvalNotice = "出典";
    DrawApprovalNotice(f.ctx, f.st);
    EXPECT_EQ(f.canvas.fontSize(), 16);
}

TEST(Mesh, WideViewHasFourAndTwoSubdivisions)
{
    // About 1500 km across: 0.0036 pixels per x unit, 0.0024 per y unit.
    ViewState v = degreeView();
    v.scaleX = 0.0036f;
    v.scaleY = 0.0024f;
    Fixture f(v);
    ASSERT_GT(middleSideKm(f.view), 400.0f);
    f.d.DoColor = 0x0000C0;
    DrawMapMesh(f.ctx, f.st);
    // Half a degree (134.5°, x = 125000) is column 300; a quarter (x = 122500, column 291)
    // has no line, only crossings.
    EXPECT_GT(f.column(f.d.FunColor, 300), 500);
    EXPECT_LT(f.column(f.d.FunColor, 291), 50);
    // Twenty minutes (y = 155000) is row 306 (an odd subdivision: width 1); ten minutes
    // (y = 157500, row 300) has none.
    EXPECT_GT(f.row(f.d.FunColor, 306), 500);
    EXPECT_LT(f.row(f.d.FunColor, 300), 50);
    // Forty minutes (y = 160000, row 294) in DoColor, width 2.
    EXPECT_GT(f.row(f.d.DoColor, 294) + f.row(f.d.DoColor, 293) + f.row(f.d.DoColor, 295), 1000);
}

// A view whose picture is 2·w km wide at latitude 34.5°.
ViewState scaleView(float halfWidthKm, int side = 600)
{
    ViewState v = degreeView();
    v.imageSide = side;
    const float d1 = Distance(1.0f, latitudeOf(v.centerY), 0.0f, latitudeOf(v.centerY));
    v.scaleX = static_cast<float>(side) * 10.0f * d1 / (200000.0f * halfWidthKm);
    v.scaleY = v.scaleX;
    return v;
}

TEST(ScaleBar, BoxesForTheViewWidth)
{
    struct Case {
        float w;
        int boxes, km;
    } cases[] = {{3000, 4, 500}, {1500, 5, 200}, {700, 5, 100}, {300, 4, 50}, {150, 5, 20},
                 {75, 5, 10},    {30, 4, 5},     {15, 5, 2},    {7, 5, 1},    {4, 0, 0}};
    for (const Case& c : cases) {
        const ScaleBarLayout l = scaleBarLayout(scaleView(c.w));
        EXPECT_NEAR(l.halfWidthKm, c.w, c.w * 1e-3f);
        EXPECT_EQ(l.boxes, c.boxes) << c.w;
        EXPECT_EQ(l.boxKm, c.km) << c.w;
    }
}

TEST(ScaleBar, LengthMatchesDistance)
{
    for (int side : {600, 1200}) {
        Fixture f(scaleView(75, side));
        ASSERT_TRUE(DrawScaleBar(f.ctx, f.st));
        const ScaleBarState& b = f.st.scaleBar;
        const int q = side / 600;
        const int x0 = 350 * q, y0 = 550 * q;
        EXPECT_TRUE(b.drawn);
        EXPECT_EQ(b.height, 6 * q);
        // Five boxes of 10 km: the bar's ends are 50 km apart on the map.
        const QPoint a = PixelToMap(f.view, x0, y0);
        const QPoint e = PixelToMap(f.view, x0 + b.width, y0);
        const float km = Distance(longitudeOf(a.x()), latitudeOf(f.view.centerY), longitudeOf(e.x()),
                                  latitudeOf(f.view.centerY));
        EXPECT_NEAR(km, 50.0f, 0.5f);
        // Black first box, white second, black outline.
        EXPECT_EQ(f.canvas.pixel(x0 + 2, y0 + 2), kBlack);
        EXPECT_EQ(f.canvas.pixel(x0 + b.width / 5 + 3, y0 + 2), kWhite);
        EXPECT_EQ(f.canvas.pixel(x0 + b.width - 1, y0), kBlack);
        EXPECT_EQ(f.canvas.pixel(x0 + b.width + 1, y0 + 2), f.d.BackColor);
        EXPECT_NEAR(f.st.kmPerDegree, 91.7f, 0.5f);
        // Figures above the bar.
        EXPECT_GT(f.count(kBlack, x0, y0 - 5 * q - 2 * f.canvas.textHeight(), x0 + b.width + 20, y0 - 1), 20);
    }
}

TEST(ScaleBar, NoBarWhenTooNarrow)
{
    Fixture f(scaleView(4));
    EXPECT_FALSE(DrawScaleBar(f.ctx, f.st));
    EXPECT_FALSE(f.st.scaleBar.drawn);
    EXPECT_EQ(f.count(kBlack, 0, 0, 600, 600), 0);
    ViewState unset = degreeView();
    unset.scaleX = 0.0f; // before any view set-up
    EXPECT_EQ(scaleBarLayout(unset).boxes, 0);
}

TEST(ScaleBar, PositionOutsideThePictureComesBack)
{
    Fixture f(scaleView(75));
    f.st.scaleBar.x = 700;
    ASSERT_TRUE(DrawScaleBar(f.ctx, f.st));
    EXPECT_EQ(f.canvas.pixel(392, 482), kBlack);
    EXPECT_EQ(f.st.scaleBar.x, 390);
    EXPECT_EQ(f.st.scaleBar.y, 480);
}

TEST(ScaleBar, HitBoxAndDrop)
{
    ScaleBarState s;
    s.width = 100;
    s.height = 12;
    EXPECT_EQ(scaleBarHitBox(s, 1200), QRect(690, 1090, 710 + 100 - 690, 1110 + 12 - 1090));
    dropScaleBar(s, 601, 301, 1200);
    EXPECT_EQ(s.x, 300);
    EXPECT_EQ(s.y, 150);
}

TEST(Decorations, CentreCrossAndFrame)
{
    Fixture f;
    DrawCentreCross(f.ctx);
    EXPECT_EQ(f.canvas.pixel(280, 300), 255u);
    EXPECT_EQ(f.canvas.pixel(319, 300), 255u);
    EXPECT_EQ(f.canvas.pixel(320, 300), f.d.BackColor);
    EXPECT_EQ(f.canvas.pixel(300, 280), 255u);
    EXPECT_EQ(f.count(255, 0, 0, 600, 600), 79);

    DrawFrame(f.ctx); // 地図枠 unchecked
    EXPECT_EQ(f.count(f.d.WakuColor, 0, 0, 600, 600), 0);
    f.d.CBWaku = true;
    f.d.WakuWidth = 1;
    DrawFrame(f.ctx);
    for (int i : {0, 299, 599}) {
        EXPECT_EQ(f.canvas.pixel(0, i), f.d.WakuColor);
        EXPECT_EQ(f.canvas.pixel(599, i), f.d.WakuColor);
        EXPECT_EQ(f.canvas.pixel(i, 0), f.d.WakuColor);
        EXPECT_EQ(f.canvas.pixel(i, 599), f.d.WakuColor);
    }
    EXPECT_EQ(f.canvas.pixel(1, 299), f.d.BackColor);
    EXPECT_EQ(f.canvas.pixel(300, 300), 255u); // clear inside
}

TEST(Decorations, CornerNameOnlyForOneArea)
{
    Fixture f;
    f.store.selectedAreas = {13};
    DrawCornerPrefName(f.ctx);
    const int w = f.canvas.textWidth(areaInfo(13).name);
    EXPECT_EQ(f.canvas.fontSize(), 12);
    EXPECT_GT(f.count(f.d.TownFontColor, 25, 575, 25 + w, 600), 20);
    EXPECT_EQ(f.count(f.d.TownFontColor, 0, 0, 600, 574), 0);

    Fixture g;
    g.store.selectedAreas = {13, 14};
    DrawCornerPrefName(g.ctx);
    EXPECT_EQ(g.count(g.d.TownFontColor, 0, 0, 600, 600), 0);
}

TEST(Decorations, CreditAtTheTopLeft)
{
    Fixture f;
    f.st.approvalNotice = "データ";
    DrawApprovalNotice(f.ctx, f.st);
    const int w = f.canvas.textWidth("データ");
    EXPECT_GT(f.count(kBlack, 5, 5, 5 + w, 5 + f.canvas.textHeight()), 20);
    EXPECT_EQ(f.count(kBlack, 5 + w + 2, 0, 600, 600), 0);

    // Data that asks for no credit gets none.
    Fixture g;
    EXPECT_TRUE(DecorationState{}.approvalNotice.empty());
    DrawApprovalNotice(g.ctx, g.st);
    EXPECT_EQ(g.count(kBlack, 0, 0, 600, 600), 0);
}

TEST(Decorations, SwitchDrawsOnTheCurrentPicture)
{
    Fixture f;
    EXPECT_FALSE(DrawDecorationOnSwitch(DecorationSwitch::CentreCross, false, f.ctx, f.st));
    EXPECT_EQ(f.count(255, 0, 0, 600, 600), 0);
    EXPECT_TRUE(DrawDecorationOnSwitch(DecorationSwitch::CentreCross, true, f.ctx, f.st));
    EXPECT_EQ(f.count(255, 0, 0, 600, 600), 79);
    MainSwitches sw;
    setGraticuleSwitch(sw, true);
    EXPECT_TRUE(sw.CBLonLat && sw.CBFun && sw.CBDo);
}

TEST(MeshNames, NamesFromTheFileCentredOnTheirPoints)
{
    QTemporaryDir dir;
    const QString saved = programFolder();
    setProgramFolder(dir.path());
    test::writeSjisFile(dir.path(), "MapData/mesh1.lbl",
                        "1,125000,157500,大阪,10,255\n1,900000,157500,遠方,10,255\nbad\n");
    Fixture f;
    DrawMeshNames(f.ctx, 1);
    DrawMeshNames(f.ctx, 2); // no file: nothing
    setProgramFolder(saved);
    const QPoint p = MapToPixel(f.view, 125000, 157500);
    EXPECT_GT(f.count(255, p.x() - 20, p.y() - 10, p.x(), p.y() + 10), 10);
    EXPECT_GT(f.count(255, p.x(), p.y() - 10, p.x() + 20, p.y() + 10), 10);
    EXPECT_EQ(f.count(255, 0, 0, 600, p.y() - 12), 0);
    EXPECT_TRUE(f.sink.messages.empty());
}

TEST(Decorations, InstalledLayersDrawThroughTheMap)
{
    Fixture f;
    f.view.baseScale = 0.03f;
    f.sw.drawingEnabled = true;
    f.sw.CBPrefBorder = false;
    f.sw.CBTownBorder = false;
    f.sw.CBTownPaint = false;
    f.sw.CBScale = true;
    f.sw.CBCenter = true;
    f.sw.CBLonLat = true;
    f.d.CBWaku = true;
    RenderHooks hooks;
    NameOptions opt;
    installNameAndDecorationLayers(hooks, opt, f.st);
    RenderState state;
    ASSERT_TRUE(DrawMap(f.ctx, state, hooks).drawn);
    EXPECT_TRUE(state.scaleBarDrawn);
    EXPECT_TRUE(f.st.scaleBar.drawn);
    EXPECT_EQ(f.canvas.pixel(280, 300), 255u);
    EXPECT_EQ(f.canvas.pixel(1, 300), f.d.WakuColor);
    EXPECT_GE(f.column(f.d.DoColor, 150), 500);
}

} // namespace
