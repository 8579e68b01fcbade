#include "view/names.h"

#include "mapdata/namelists.h"
#include "view/borders.h"
#include "view/render.h"

#include <algorithm>
#include <array>
#include <vector>

namespace oboro {

namespace {

// The colours the boundary layers draw with; a colour equal to the background is left
// out (borders drawn in the background colour are not told apart from it).
struct BorderColors {
    std::array<uint32_t, 5> px{};
    int n = 0;
    explicit BorderColors(const DisplayState& d)
    {
        for (Color c : {d.CoastColor, prefBorderColor(d), wardBorderColor(d), townBorderColor(d), oldBorderColor(d)}) {
            if (c == d.BackColor)
                continue;
            const uint32_t p = toPixel(c);
            if (std::find(px.begin(), px.begin() + n, p) == px.begin() + n)
                px[n++] = p;
        }
    }
    bool has(uint32_t p) const
    {
        for (int i = 0; i < n; ++i)
            if (px[i] == p)
                return true;
        return false;
    }
};

// The background of a name anchored at a pixel: white with 白抜き, else the fill target.
Color nameBackground(const Canvas& c, const DisplayState& d, int px, int py)
{
    return d.CBWhite ? kWhite : FillTarget(c, d, px, py);
}

bool preMergerView(const MainSwitches& sw) { return sw.CBNTownBorder; }

void writeAt(Canvas& c, const DisplayState& d, const Projector& proj, int32_t x, int32_t y, std::string_view name)
{
    int px = 0, py = 0;
    proj(x, y, px, py);
    writeNameKeepingBorders(c, d, px, py, name, nameBackground(c, d, px, py));
}

// The colour and background of the list names (duplicate-name and designated-city lists).
void listNameFont(Canvas& c, const DisplayState& d, const NameOptions& opt)
{
    c.setFont(d.TownFontPixels, d.CBColor ? d.CoastColor : d.TownFontColor);
    c.setBrush(opt.paintWhiteBackground ? kWhite : d.BackColor, BrushStyle::Solid);
}

} // namespace

bool IsWardName(std::string_view name)
{
    const size_t paren = name.find('(');
    if (paren != std::string_view::npos)
        name = name.substr(0, paren);
    static constexpr std::string_view ku = "区";
    return name.size() >= ku.size() && name.substr(name.size() - ku.size()) == ku;
}

void writeNameKeepingBorders(Canvas& c, const DisplayState& d, int x, int y, std::string_view text, Color back)
{
    QImage& img = c.image();
    if (img.isNull() || text.empty())
        return;
    // A box sure to hold the text's box and glyphs: no glyph of the map font is wider
    // than 1.25 em nor the line taller than 2 em. (Measuring the text would cost as much
    // as writing it.)
    const int em = fontPixels(std::clamp(c.fontSize(), 1, 500));
    long chars = 0;
    for (unsigned char ch : text)
        chars += (ch & 0xC0u) != 0x80u;
    const long w = chars * (em + em / 4 + 1) + 4;
    const int x1 = std::max(0, x - 2);
    const int y1 = std::max(0, y - 1);
    const int x2 = static_cast<int>(std::min<long>(img.width(), static_cast<long>(x) + w));
    const int y2 = static_cast<int>(std::min<long>(img.height(), static_cast<long>(y) + 2L * em + 2));
    if (x1 >= x2 || y1 >= y2) {
        return; // entirely outside the picture
    }
    const BorderColors borders(d);
    struct Kept {
        int x, y;
        uint32_t p;
    };
    std::vector<Kept> kept;
    // Most of the box is one or two colours that are no border: the last of them seen is
    // passed over at once.
    uint32_t plain = 0; // alpha 0: no pixel of the picture, until one is seen
    for (int yy = y1; yy < y2; ++yy) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(img.constScanLine(yy));
        for (int xx = x1; xx < x2; ++xx) {
            const uint32_t p = row[xx];
            if (p == plain)
                continue;
            if (borders.has(p))
                kept.push_back({xx, yy, p});
            else
                plain = p;
        }
    }
    c.setBrush(back, BrushStyle::Solid);
    c.textOut(x, y, text);
    for (const Kept& k : kept)
        reinterpret_cast<uint32_t*>(img.scanLine(k.y))[k.x] = k.p;
}

void DrawMunicipalityNames(Canvas& c, const MapStore& store, const ViewState& v, DisplayState& d,
                           const MainSwitches& sw)
{
    if (!sw.CBTownName)
        return;
    d.updateTownFontPixels(v.imageSide);
    c.setPen(d.TownFontColor, c.pen.width, c.pen.style);
    c.setFont(d.TownFontPixels, d.TownFontColor);
    c.setBrush(c.brush.color, BrushStyle::Solid);
    const Projector proj(v);
    const bool dup = sw.CBMainDoubleName;
    const bool ku = d.CBKuName;

    // 1. Names of both views.
    for (const NameEntry& e : store.commonNames.entries) {
        const bool ward = IsWardName(e.name);
        if (!(e.mark == 's' || dup))
            continue;
        if (!dup && ward && inDuplicateList(store, e.name))
            continue;
        if (!ku && ward)
            continue;
        writeAt(c, d, proj, e.x, e.y, e.name);
    }
    // 2./3. The old names in the pre-merger view, the new names otherwise.
    const NameTable& table = preMergerView(sw) ? store.oldNames : store.newNames;
    for (const NameEntry& e : table.entries) {
        if (!(e.mark == 's' || dup))
            continue;
        if (!ku && IsWardName(e.name))
            continue;
        writeAt(c, d, proj, e.x, e.y, e.name);
    }
}

void DrawDuplicateListNames(Canvas& c, const MapStore& store, const ViewState& v, DisplayState& d,
                            const MainSwitches& sw, const NameOptions& opt)
{
    if (!sw.CBTownName)
        return;
    d.updateTownFontPixels(v.imageSide);
    listNameFont(c, d, opt);
    const Projector proj(v);
    const bool old = preMergerView(sw);
    for (int area : store.selectedAreas) {
        for (const DuplicateNameEntry& e : store.duplicateNames) {
            // Two names of the current view whose entries only fit the pre-merger division.
            if (!old && (e.name == "三和町" || e.name == "一宮町"))
                continue;
            if ((!old && e.tag == 'X') || e.area != area)
                continue;
            if (IsWardName(e.name) && !d.CBKuName)
                continue;
            writeAt(c, d, proj, e.x, e.y, e.name);
        }
    }
}

void DrawDesignatedCityNames(Canvas& c, const MapStore& store, const ViewState& v, DisplayState& d,
                             const MainSwitches& sw, const NameOptions& opt)
{
    if (!sw.CBTownName || !d.CBCityName)
        return;
    d.updateTownFontPixels(v.imageSide);
    listNameFont(c, d, opt);
    const Projector proj(v);
    const bool old = preMergerView(sw);
    for (const DesignatedCityEntry& e : store.designatedCities) {
        for (int area : store.selectedAreas) {
            if (area != e.area)
                continue;
            if (!sw.CBMainDoubleName && e.flag == 1)
                continue;
            if (old && e.name == "さいたま市")
                continue;
            writeAt(c, d, proj, e.x, e.y, e.name);
        }
    }
}

} // namespace oboro
