#include "search/searchpaint.h"

#include "mapdata/namelists.h"
#include "paint/paint.h"

namespace oboro {

namespace {

// A coast pixel at the point or one of its four neighbours.
bool onCoast(const Canvas& c, Color coast, int px, int py)
{
    for (const auto& [dx, dy] : {std::pair{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}})
        if (c.pixel(px + dx, py + dy) == coast)
            return true;
    return false;
}

} // namespace

std::vector<SearchPaintPoint> searchPaintPoints(const LastSearch& last, const MapStore& store, bool preMergerBorders)
{
    std::vector<SearchPaintPoint> out;
    if (!last.valid || last.name.empty())
        return out;
    const std::string& name = last.name;
    const bool listed = inDuplicateList(store, name);
    // A name of the duplicate-name list is the chosen place alone.
    if (listed)
        out.push_back({last.x, last.y, false});
    // Common names; a listed name only when it is a ward (the list's wards are told apart
    // by their city, and only one city is loaded).
    if (!listed || endsWithKuBeforeParen(name))
        for (const NameEntry& e : store.commonNames.entries)
            if (e.name == name)
                out.push_back({e.x, e.y, true});
    // Post-merger names with today's borders, pre-merger names with the old ones.
    const NameTable& merged = preMergerBorders ? store.oldNames : store.newNames;
    for (const NameEntry& e : merged.entries)
        if (e.name == name)
            out.push_back({e.x, e.y, true});
    if (last.designatedCityHit)
        for (const DesignatedCityEntry& e : store.designatedCities)
            if (e.name == last.searchedCityName)
                out.push_back({e.x, e.y, true});
    return out;
}

int applySearchPaint(RenderContext& ctx, const std::vector<SearchPaintPoint>& points)
{
    const Color colour = ctx.display.TownPaintColor;
    int filled = 0;
    for (const SearchPaintPoint& p : points) {
        const QPoint px = MapToPixel(ctx.view, p.x, p.y);
        if (p.coastTest && onCoast(ctx.canvas, ctx.display.CoastColor, px.x(), px.y()))
            continue;
        const Color target = FillTarget(ctx.canvas, ctx.display, px.x(), px.y());
        if (target == colour)
            continue; // filled already from another name point of the same region
        if (regionFill(ctx.canvas, px.x(), px.y(), colour, 0, target) > 0)
            ++filled;
    }
    return filled;
}

Layer searchPaintLayer(const MunicipalitySearch& search)
{
    const MunicipalitySearch* s = &search;
    return [s](RenderContext& ctx) {
        const LastSearch& last = s->last();
        if (last.valid && endsWithKu(last.name))
            ctx.display.CBKuDot = false; // ward borders solid from the next drawing on
        applySearchPaint(ctx, searchPaintPoints(last, ctx.store, ctx.switches.CBNTownBorder));
    };
}

} // namespace oboro
