#include "view/decorations.h"

#include "common/fields.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/textfile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace oboro {

namespace {

constexpr Color kRed = 255;
// More bands than this means a view far wider than Japan: nothing sensible to draw.
constexpr long kMaxBands = 400;

std::string format(const char* fmt, int value)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, fmt, value);
    return buf;
}

// The grids project without the datum shift, so their lines sit at whole map units.
ViewState unshifted(const ViewState& v)
{
    ViewState g = v;
    g.wgs = false;
    return g;
}

Color decorationTextColor(const DisplayState& d, Color normal) { return d.CBColor ? d.CoastColor : normal; }

struct Grid {
    Canvas& c;
    const Extent& e;
    Projector proj;
    GraticuleRect rect;

    Grid(RenderContext& ctx, DecorationState& st)
        : c(ctx.canvas), e(ctx.store.extent), proj(unshifted(ctx.view))
    {
        int pxl = 0, pyb = 0, pxr = 0, pyt = 0;
        proj(e.minX, e.minY, pxl, pyb);
        proj(e.maxX, e.maxY, pxr, pyt);
        const int limit = 600 * ctx.view.sizeFactor - 1;
        rect.left = std::max(0, pxl);
        rect.right = std::min(limit, pxr);
        rect.top = std::max(0, pyt);
        rect.bottom = std::min(limit, pyb);
        st.graticuleRect = rect;
    }
    int latFrom() const { return e.minY / 15000; }
    int latTo() const { return e.maxY / 15000 + 1; }
    int lonFrom() const { return e.minX / 10000; }
    int lonTo() const { return e.maxX / 10000 + 1; }
    bool sane() const
    {
        return static_cast<long>(latTo()) - latFrom() < kMaxBands && static_cast<long>(lonTo()) - lonFrom() < kMaxBands;
    }

    // A parallel at map y across the extent, when its row lies inside the rectangle.
    void hline(int32_t y)
    {
        int x1 = 0, py = 0, x2 = 0, py2 = 0;
        proj(e.minX, y, x1, py);
        proj(e.maxX, y, x2, py2);
        if (py < rect.top || py >= rect.bottom)
            return;
        c.moveTo(x1, py);
        c.lineTo(x2, py2);
    }
    // A meridian at map x across the extent, when its column lies inside the rectangle.
    void vline(int32_t x)
    {
        int px = 0, y1 = 0, px2 = 0, y2 = 0;
        proj(x, e.minY, px, y1);
        proj(x, e.maxY, px2, y2);
        if (px < rect.left || px >= rect.right)
            return;
        c.moveTo(px, y1);
        c.lineTo(px2, y2);
    }
};

void drawLabel(Canvas& c, const DisplayState& d, int x, int y, const std::string& text)
{
    c.setBrush(FillTarget(c, d, x + 1, y + 1), BrushStyle::Solid);
    c.textOut(x, y, text);
}

} // namespace

float middleSideKm(const ViewState& v)
{
    const int side = v.imageSide;
    const int h = v.half();
    const QPoint a = PixelToMap(v, 0, h);
    const QPoint b = PixelToMap(v, side, h);
    const float lat = latitudeOf(a.y());
    return Distance(static_cast<float>(static_cast<int64_t>(b.x()) - a.x()) * 0.0001f, lat, 0.0f, lat);
}

void DrawGraticule(RenderContext& ctx, DecorationState& st)
{
    Grid g(ctx, st);
    if (!g.sane())
        return;
    Canvas& c = ctx.canvas;
    const DisplayState& d = ctx.display;
    const MainSwitches& sw = ctx.switches;
    const PenStyle funStyle = d.CBFunDot ? PenStyle::Dot : PenStyle::Solid;

    for (int r = g.latFrom(); r <= g.latTo(); ++r) {
        c.setPen(d.DoColor, 1, PenStyle::Solid);
        g.hline(15000 * r);
        if (sw.CBFun) {
            c.setPen(d.FunColor, 1, funStyle);
            for (int j = 1; j <= 5; ++j)
                g.hline(2500 * j + 15000 * (r - 1));
        }
    }
    for (int r = g.lonFrom(); r <= g.lonTo(); ++r) {
        c.setPen(d.DoColor, 1, PenStyle::Solid);
        g.vline(10000 * r);
        if (sw.CBFun) {
            c.setPen(d.FunColor, 1, funStyle);
            for (int j = 1; j <= 5; ++j)
                g.vline(10000 * j / 6 + 10000 * (r - 1));
        }
    }
    c.setPen(d.DoColor, 1, PenStyle::Solid);
    if (sw.CBDo)
        DrawDegreeLabels(ctx, st);
    // The credit stays above the grid.
    if (sw.kokudo && ctx.view.imageSide >= 200)
        DrawApprovalNotice(ctx, st);
}

void DrawMapMesh(RenderContext& ctx, DecorationState& st)
{
    Grid g(ctx, st);
    if (!g.sane())
        return;
    Canvas& c = ctx.canvas;
    const DisplayState& d = ctx.display;
    const float km = middleSideKm(ctx.view);
    const int n = km > 400.0f ? 4 : km > 200.0f ? 8 : 16;
    const int m = km > 400.0f ? 2 : km > 200.0f ? 4 : 8;

    for (int r = g.latFrom(); r <= g.latTo(); ++r) {
        for (int f = 0; f < n; ++f) {
            const int32_t y = 20000 * f / n + 15000 * (r - 1);
            if (y % 10000 == 0)
                c.setPen(d.DoColor, 2, PenStyle::Solid);
            else
                c.setPen(d.FunColor, f % 2 == 0 ? 2 : 1, PenStyle::Solid);
            g.hline(y);
        }
    }
    for (int r = g.lonFrom(); r <= g.lonTo(); ++r) {
        c.setPen(d.DoColor, 2, PenStyle::Solid);
        g.vline(10000 * r);
        for (int f = 1; f < m; ++f) {
            c.setPen(d.FunColor, f % 2 == 0 ? 2 : 1, PenStyle::Solid);
            g.vline(10000 * f / m + 10000 * (r - 1));
        }
    }
    c.setPen(d.DoColor, 1, PenStyle::Solid);
    DrawDegreeLabels(ctx, st);
}

void DrawDegreeLabels(RenderContext& ctx, DecorationState& st)
{
    Grid g(ctx, st);
    if (!g.sane())
        return;
    Canvas& c = ctx.canvas;
    const DisplayState& d = ctx.display;
    const int side = ctx.view.imageSide;
    const int s = side <= 600 ? 8 : side * 8 / 600;
    const int edge = c.detailScale().pixels(5); // the labels' distance from the picture's edge
    c.setBrush(d.BackColor, BrushStyle::Solid);
    c.setFont(s, decorationTextColor(d, kBlack));
    const auto labelled = [&](int r) { return r % 2 == 0 || !ctx.switches.CB1do; };

    for (int r = g.latFrom(); r <= g.latTo(); ++r) {
        if (!labelled(r))
            continue;
        int pxl = 0, py = 0, pxr = 0, py2 = 0;
        g.proj(g.e.minX, 15000 * r, pxl, py);
        g.proj(g.e.maxX, 15000 * r, pxr, py2);
        if (py < g.rect.top || py >= g.rect.bottom)
            continue;
        const std::string text = format(" %d°", 24 + r);
        drawLabel(c, d, pxl <= 0 ? edge : pxl, py - s / 2, text);
        const float rx = pxr < side ? static_cast<float>(pxr) - 2.8f * s : static_cast<float>(side) - 2.8f * s;
        drawLabel(c, d, truncClamp(rx), py - s / 2, text);
    }
    for (int r = g.lonFrom(); r <= g.lonTo(); ++r) {
        if (!labelled(r))
            continue;
        int px = 0, pyb = 0, px2 = 0, pyt = 0;
        g.proj(10000 * r, g.e.minY, px, pyb);
        g.proj(10000 * r, g.e.maxY, px2, pyt);
        if (px < g.rect.left || px >= g.rect.right)
            continue;
        const std::string text = format("%d°", 122 + r);
        const float by = pyb < side ? static_cast<float>(pyb) - 1.3f * s : static_cast<float>(side) - 1.7f * s;
        drawLabel(c, d, px - s, truncClamp(by), text);
        drawLabel(c, d, px - s, pyt <= 0 ? edge : pyt, text);
    }
}

void DrawMeshNames(RenderContext& ctx, int level)
{
    const TextFile file = readSjisFile(programPathf(kMeshNameFilePattern, level));
    if (!file.ok())
        return;
    Canvas& c = ctx.canvas;
    const DisplayState& d = ctx.display;
    const Extent& e = ctx.store.extent;
    const int side = ctx.view.imageSide;
    const float km = middleSideKm(ctx.view);
    const float k = km <= side * 200.0f / 600.0f ? 1.25f
        : km <= side * 400.0f / 600.0f           ? 1.0f
        : km <= static_cast<float>(side)         ? 0.9f
                                                 : 0.8f;
    for (const std::string& line : file.lines) {
        const std::vector<std::string> f = splitFields(line, SplitMode::Text);
        if (f.size() < 4)
            continue;
        const int32_t x = lenientInt(f[1]);
        const int32_t y = lenientInt(f[2]);
        if (x < e.minX || x > e.maxX || y < e.minY || y > e.maxY)
            continue;
        const std::string& name = f[3];
        int size = std::clamp(truncClamp(static_cast<float>(lenientInt(fieldOr(f, 4))) * k), 1, 200);
        if (!c.detailScale().isUnit())
            size = c.detailScale().pixels(size);
        c.setFont(size, parseColor(fieldOr(f, 5)) & 0xFFFFFFu);
        const QPoint p = MapToPixel(ctx.view, x, y);
        const int tx = p.x() - c.textWidth(name) / 2;
        const int ty = p.y() - c.textHeight(name) / 2;
        drawLabel(c, d, tx, ty, name);
    }
}

ScaleBarLayout scaleBarLayout(const ViewState& v)
{
    ScaleBarLayout l;
    const float lat = latitudeOf(v.centerY);
    l.kmPerDegree = Distance(1.0f, lat, 0.0f, lat);
    const int side = v.imageSide;
    const float q = static_cast<float>(side) / 600.0f;
    l.pixelsPer20Km = 200000.0f / l.kmPerDegree * v.scaleX;
    l.halfWidthKm = static_cast<float>(side) * 20.0f / l.pixelsPer20Km * 0.5f;
    l.fontSize = std::max(truncClamp(8.0f * q), 7);
    struct Step {
        float from;
        int boxes;
        int km;
    };
    static constexpr Step steps[] = {{2000, 4, 500}, {1000, 5, 200}, {500, 5, 100}, {200, 4, 50}, {100, 5, 20},
                                     {50, 5, 10},    {20, 4, 5},     {10, 5, 2},    {5, 5, 1}};
    const float w = l.halfWidthKm;
    if (!(w >= 5.0f) || !(l.pixelsPer20Km > 0.0f) || std::isinf(w)) // also a view without scale
        return l;
    for (const Step& s : steps) {
        if (w >= s.from) {
            l.boxes = s.boxes;
            l.boxKm = s.km;
            break;
        }
    }
    l.boxPixels = l.pixelsPer20Km * (static_cast<float>(l.boxKm) / 20.0f);
    return l;
}

bool DrawScaleBar(RenderContext& ctx, DecorationState& st)
{
    const ScaleBarLayout l = scaleBarLayout(ctx.view);
    st.kmPerDegree = l.kmPerDegree;
    ScaleBarState& bar = st.scaleBar;
    bar.drawn = false;
    if (l.boxes == 0)
        return false;
    Canvas& c = ctx.canvas;
    const DisplayState& d = ctx.display;
    const int side = ctx.view.imageSide;
    const float q = static_cast<float>(side) / 600.0f;
    int x0 = truncClamp(static_cast<float>(bar.x) * q);
    int y0 = truncClamp(static_cast<float>(bar.y) * q);
    if (side < x0 || side < y0) {
        // Back into the picture; the position stays in 600-pixel units.
        x0 = truncClamp(static_cast<float>(side) * 0.65f);
        y0 = truncClamp(static_cast<float>(side) * 0.8f);
        bar.x = 390;
        bar.y = 480;
    }
    const float b = l.boxPixels;
    const int fs = l.fontSize;
    const int labelY = truncClamp(static_cast<float>(y0) - static_cast<float>(fs) - 5.0f * q);
    const int bottom = truncClamp(static_cast<float>(y0) + 6.0f * q);
    c.setPen(kBlack, 1, PenStyle::Solid);
    c.setFont(fs, kBlack);
    for (int i = 0; i < l.boxes; ++i) {
        const int lx = truncClamp(static_cast<float>(x0) + static_cast<float>(i) * b - 8.0f * q);
        drawLabel(c, d, lx, labelY, format("%3d", i * l.boxKm));
        c.setBrush(i % 2 == 0 ? kBlack : kWhite, BrushStyle::Solid);
        c.rectangle(truncClamp(static_cast<float>(x0) + static_cast<float>(i) * b), y0,
                    truncClamp(static_cast<float>(x0) + static_cast<float>(i + 1) * b), bottom);
    }
    const int fx = truncClamp(static_cast<float>(x0) + static_cast<float>(l.boxes) * b - 16.0f * q);
    drawLabel(c, d, fx, labelY, format("%3dkm", l.boxes * l.boxKm));
    bar.width = truncClamp(static_cast<float>(l.boxes) * b);
    bar.height = truncClamp(6.0f * q);
    bar.drawn = true;
    return true;
}

QRect scaleBarHitBox(const ScaleBarState& s, int imageSide)
{
    const float q = static_cast<float>(imageSide) / 600.0f;
    const int left = truncClamp(static_cast<float>(s.x - 5) * q);
    const int right = truncClamp(static_cast<float>(s.x + 5) * q) + s.width;
    const int top = truncClamp(static_cast<float>(s.y - 5) * q);
    const int bottom = truncClamp(static_cast<float>(s.y + 5) * q) + s.height;
    return QRect(left, top, right - left, bottom - top);
}

void dropScaleBar(ScaleBarState& s, int px, int py, int imageSide)
{
    const float q = static_cast<float>(std::max(imageSide, 1)) / 600.0f;
    s.x = truncClamp(static_cast<float>(px) / q);
    s.y = truncClamp(static_cast<float>(py) / q);
}

void DrawCentreCross(RenderContext& ctx)
{
    Canvas& c = ctx.canvas;
    const int m = ctx.view.imageSide / 2;
    const int r = c.detailScale().pixels(20);
    c.setPen(kRed, 1, PenStyle::Solid);
    c.moveTo(m - r, m);
    c.lineTo(m + r, m);
    c.moveTo(m, m - r);
    c.lineTo(m, m + r);
}

void DrawApprovalNotice(RenderContext& ctx, const DecorationState& st)
{
    if (st.approvalNotice.empty())
        return;
    Canvas& c = ctx.canvas;
    const DisplayState& d = ctx.display;
    const ViewState& v = ctx.view;
    const int size = std::max(v.sizeFactor * 8 / std::max(v.reductionDivisor, 1), 8);
    const int at = c.detailScale().pixels(5);
    c.setFont(size, decorationTextColor(d, kBlack));
    c.setBrush(FillTarget(c, d, at + 1, at + 1), BrushStyle::Solid);
    c.textOut(at, at, st.approvalNotice);
}

void DrawCornerPrefName(RenderContext& ctx)
{
    if (ctx.store.selectedAreas.size() != 1)
        return;
    Canvas& c = ctx.canvas;
    const DisplayState& d = ctx.display;
    const ViewState& v = ctx.view;
    const int rd = std::max(v.reductionDivisor, 1);
    const int size = std::max(v.sizeFactor * 12 / rd, 10);
    const float k = std::max(static_cast<float>(v.sizeFactor) / static_cast<float>(rd), 1.0f);
    const int side = v.imageSide;
    c.setFont(size, decorationTextColor(d, d.TownFontColor));
    c.setBrush(FillTarget(c, d, truncClamp(25.0f * k + 1.0f), truncClamp(static_cast<float>(side) - 25.0f * k + 1.0f)),
               BrushStyle::Solid);
    c.textOut(truncClamp(25.0f * k), truncClamp(static_cast<float>(side) - 25.0f * k),
              areaInfo(ctx.store.selectedAreas[0]).name);
}

void DrawFrame(RenderContext& ctx)
{
    const DisplayState& d = ctx.display;
    if (!d.CBWaku)
        return;
    Canvas& c = ctx.canvas;
    const int w = std::clamp(d.WakuWidth, 1, 3);
    const int side = ctx.view.imageSide;
    const Color color = decorationTextColor(d, d.WakuColor);
    c.setPen(color, w, PenStyle::Solid);
    const int a = w > 1 ? 1 : 0;
    const int e = w == 3 ? side - 1 : side;
    if (c.detailScale().isUnit()) {
        c.setBrush(c.brush.color, BrushStyle::Clear);
        c.rectangle(a, a, e, e);
        c.setBrush(c.brush.color, BrushStyle::Solid);
        return;
    }
    // Larger pictures get the bands the frame covers at scale 1, scaled: rows and columns
    // [near0, near1] from the top and left edges and [far0, far1] from the bottom and right.
    const int lo = -((w - 1) / 2), hi = w / 2;
    const int near0 = std::max(0, a + lo), near1 = a + hi;
    const int gap = w == 3 ? 1 : 0; // the far side of the rectangle from the far edge
    const int far0 = std::max(0, gap - hi), far1 = gap - lo;
    const DetailScale& k = c.detailScale();
    const int n0 = k.pixels(near0), n1 = k.pixels(near1 + 1);
    const int f0 = k.pixels(far0), f1 = k.pixels(far1 + 1);
    const Brush kept = c.brush;
    c.setBrush(color, BrushStyle::Solid);
    c.fillRect(0, n0, side, n1);               // top
    c.fillRect(0, side - f1, side, side - f0); // bottom
    c.fillRect(n0, 0, n1, side);               // left
    c.fillRect(side - f1, 0, side - f0, side); // right
    c.brush = kept;
}

bool DrawDecorationOnSwitch(DecorationSwitch which, bool checked, RenderContext& ctx, DecorationState& st)
{
    if (!checked)
        return false;
    switch (which) {
    case DecorationSwitch::CentreCross:
        DrawCentreCross(ctx);
        break;
    case DecorationSwitch::ScaleBar:
        DrawScaleBar(ctx, st);
        break;
    case DecorationSwitch::ApprovalNotice:
        if (ctx.view.imageSide >= 200)
            DrawApprovalNotice(ctx, st);
        break;
    case DecorationSwitch::CornerPrefName:
        if (ctx.view.imageSide >= 300)
            DrawCornerPrefName(ctx);
        break;
    }
    return true;
}

void setGraticuleSwitch(MainSwitches& sw, bool on)
{
    sw.CBLonLat = on;
    if (on) {
        sw.CBFun = true;
        sw.CBDo = true;
    }
}

} // namespace oboro
