#include "view/borders.h"

namespace oboro {

namespace {

// A solid line of width 1 between two pixels inside the picture, written straight into
// its rows: the same pixels as Canvas::lineTo (the end pixel is not set), without the
// clipping that a line reaching outside needs.
inline void insideLine(uint32_t* bits, long stride, int x0, int y0, int x1, int y1, uint32_t px)
{
    const int dx = x1 - x0, dy = y1 - y0;
    const int adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    uint32_t* p = bits + y0 * stride + x0;
    const long stepX = dx < 0 ? -1 : 1;
    const long stepY = dy < 0 ? -stride : stride;
    long major, minor;
    int A, a;
    if (adx >= ady) {
        major = stepX;
        minor = stepY;
        A = adx;
        a = ady;
    } else {
        major = stepY;
        minor = stepX;
        A = ady;
        a = adx;
    }
    // Pixel i lies floor((2·i·a + A) / 2A) minor steps off the major axis.
    int err = A;
    const int twoA = 2 * A, twoa = 2 * a;
    for (int i = 0; i < A; ++i) {
        *p = px;
        p += major;
        err += twoa;
        if (err >= twoA) {
            err -= twoA;
            p += minor;
        }
    }
}

// Draws one table. Points are projected in a tight loop; with a pen of width 1 a line
// to the pixel the pen already stands on sets nothing and moves no dash phase, so such
// lines are left out (at small scales most points of a record share pixels). Solid
// lines of width 1 with both ends inside the picture are written directly.
template <bool Closed> void walk(Canvas& c, const LineTable& table, const ViewState& v)
{
    const Projector project(v);
    const bool thin = c.penPixels() <= 1;
    const bool direct = thin && c.pen.style == PenStyle::Solid && c.pen.mode == PenMode::Copy && !c.image().isNull();
    const unsigned W = static_cast<unsigned>(c.width()), H = static_cast<unsigned>(c.height());
    uint32_t* bits = direct ? reinterpret_cast<uint32_t*>(c.image().bits()) : nullptr;
    const long stride = direct ? c.image().bytesPerLine() / 4 : 0;
    const uint32_t px = toPixel(c.pen.color);
    auto inside = [&](int x, int y) { return static_cast<unsigned>(x) < W && static_cast<unsigned>(y) < H; };
    // A dotted line closes no region, and on a picture with larger details its dots
    // (longer than a pixel) drawn back along the last segment would not fall on the
    // forward ones: there it gets no back-stroke.
    const bool dotted = c.pen.width <= 1 && c.pen.style != PenStyle::Solid;
    const bool backStroke = !(dotted && !c.detailScale().isUnit());

    table.forEachRecord([&](int n, const int32_t* xy) {
        int lx, ly; // the pen position
        project(xy[0], xy[1], lx, ly);
        c.moveTo(lx, ly);
        if (n < 2)
            return;
        bool penHere = true; // the canvas's pen position is (lx, ly)
        int prevX = lx, prevY = ly; // the last point whose pixel differs from the last point's
        for (int i = 1; i < n; ++i) {
            int qx, qy;
            project(xy[2 * i], xy[2 * i + 1], qx, qy);
            if (thin && qx == lx && qy == ly)
                continue;
            if (direct && inside(lx, ly) && inside(qx, qy)) {
                insideLine(bits, stride, lx, ly, qx, qy, px);
                penHere = false;
            } else {
                if (!penHere)
                    c.moveTo(lx, ly);
                c.lineTo(qx, qy);
                penHere = true;
            }
            prevX = lx;
            prevY = ly;
            lx = qx;
            ly = qy;
        }
        c.moveTo(lx, ly);
        if (Closed && backStroke) {
            // The back-stroke goes to the nearest earlier point on another pixel: a
            // stroke to a point on the same pixel would set nothing and leave a gap.
            if (prevX != lx || prevY != ly)
                c.lineTo(prevX, prevY);
            else if (thin)
                c.setPixel(lx, ly, c.pen.color); // the whole record is one pixel
            else
                c.lineTo(lx, ly); // a wide pen stamps its dot
        }
    });
}

} // namespace

void PolylineWalk(Canvas& c, const LineTable& table, const ViewState& v) { walk<false>(c, table, v); }
void ClosedWalk(Canvas& c, const LineTable& table, const ViewState& v) { walk<true>(c, table, v); }

Color prefBorderColor(const DisplayState& d) { return d.CBColor ? d.CoastColor : d.PrefColor; }

Color wardBorderColor(const DisplayState& d) { return d.CBColor ? d.CoastColor : d.KuColor; }

Color townBorderColor(const DisplayState& d)
{
    Color c = d.TownColor;
    if (d.CBColor)
        c = d.CoastColor;
    if (d.CheckBox1)
        c = d.BackColor;
    return c;
}

Color oldBorderColor(const DisplayState& d)
{
    Color c = d.NTownColor;
    if (d.CheckBox15)
        c = d.TownColor;
    if (d.CBColor)
        c = d.CoastColor;
    if (d.CheckBox1)
        c = d.BackColor;
    return c;
}

void DrawBoundaryLines(Canvas& c, const MapStore& store, const ViewState& v, const DisplayState& d,
                       const MainSwitches& sw)
{
    auto style = [](bool dotted) { return dotted ? PenStyle::Dot : PenStyle::Solid; };

    // Every layer uses the closed walk: a record's last pixel is set, so where all the
    // records meeting at a junction end there the outline is still closed and a flood
    // fill cannot leak through the junction.
    // 1. Coastline, Hokkaido lake shores, lake shores.
    if (d.CBCoast) {
        c.setPen(d.CoastColor, d.CoastWidth, PenStyle::Solid);
        ClosedWalk(c, store.line(LineKind::Coast), v);
        ClosedWalk(c, store.line(LineKind::HLake), v);
        ClosedWalk(c, store.line(LineKind::Lake), v);
    }
    // 2. Prefecture borders, then the old or the new extra prefecture borders.
    if (sw.CBPrefBorder) {
        c.setPen(prefBorderColor(d), d.PrefWidth, style(d.CBPrefDot));
        ClosedWalk(c, store.line(LineKind::Pref), v);
        ClosedWalk(c, store.line(sw.CBNTownBorder ? LineKind::OldPref : LineKind::NewPref), v);
    }
    // 3. Lake-surface prefecture borders, always dotted (solid for wide pens).
    if (sw.CBPrefBorder && sw.CBLake) {
        c.setPen(prefBorderColor(d), d.PrefWidth, PenStyle::Dot);
        ClosedWalk(c, store.line(LineKind::LakePref), v);
    }
    if (!sw.CBTownBorder)
        return;
    // 4. Ward borders of designated cities.
    if (d.CBKu) {
        c.setPen(wardBorderColor(d), d.TownWidth, style(d.CBKuDot));
        ClosedWalk(c, store.line(LineKind::Ku), v);
    }
    // 5. Municipal borders.
    c.setPen(townBorderColor(d), d.TownWidth, style(d.CBTownDot));
    ClosedWalk(c, store.line(LineKind::Town), v);
    // 6. Pre-merger borders; solid while the search paint fills regions.
    if (sw.CBNTownBorder) {
        c.setPen(oldBorderColor(d), d.TownWidth, style(d.CBNTownDot && !sw.CBTownPaint));
        ClosedWalk(c, store.line(LineKind::NTown), v);
        ClosedWalk(c, store.line(LineKind::OTown), v);
    }
    // 7. Lake-surface municipal borders in the pre-merger colour.
    if (sw.CBLake) {
        c.setPen(oldBorderColor(d), d.TownWidth, style(d.CBLakeDot));
        ClosedWalk(c, store.line(LineKind::LakeBorder), v);
    }
}

PrefBorderSwitch switchPrefBorder(MainSwitches& sw, bool checked)
{
    PrefBorderSwitch out;
    sw.CBPrefBorder = checked;
    out.settingsBoxChecked = checked;
    out.townBorderEnabled = checked;
    if (!checked && sw.CBTownBorder) {
        sw.CBTownBorder = false;
        out.townBorderUnchecked = true;
    }
    return out;
}

} // namespace oboro
