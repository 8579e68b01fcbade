#pragma once
// The search paint: with 市町村検索ペイント on, every drawing fills all regions that
// carry the searched name with the search paint colour (TownPaintColor). It keeps no
// state of its own: it is redone from the last search at every drawing, so it follows
// zooming and moving and goes when the switch goes off.
#include "search/municipalitysearch.h"
#include "view/render.h"

#include <vector>

namespace oboro {

// The map-unit points whose regions the search paint fills for the last search on the
// loaded store, each with whether the coast test applies (a name on the coastline is
// not filled: the fill would run into the sea).
struct SearchPaintPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool coastTest = true;
    bool operator==(const SearchPaintPoint&) const = default;
};
std::vector<SearchPaintPoint> searchPaintPoints(const LastSearch& last, const MapStore& store,
                                                bool preMergerBorders);

// Fills the regions of the points on the drawn picture with display.TownPaintColor.
// Returns the number of regions filled.
int applySearchPaint(RenderContext& ctx, const std::vector<SearchPaintPoint>& points);

// The layer for RenderHooks::searchPaint; search must outlive it. A ward name also turns
// the ward dotted lines off, so ward borders are solid and hold the fill.
Layer searchPaintLayer(const MunicipalitySearch& search);

} // namespace oboro
