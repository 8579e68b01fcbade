#pragma once
// Municipality names on the map: the names of the three name tables, the entries of the
// duplicate-name list and the names of the designated cities, each written at its own
// anchor (the top-left corner of the text) on an opaque box. Which names are written
// depends on the view (current or pre-merger) and on 重複可, 区名 and 市名.
//
// A name's box and glyphs never overwrite a pixel of a boundary colour: the borders stay
// closed outlines, so flood fills started after the names still stop at them.
#include "common/canvas.h"
#include "mapdata/store.h"
#include "view/display.h"
#include "view/projection.h"

#include <string_view>

namespace oboro {

// A ward name: the part before the first "(" (the whole name without one) ends in 区.
bool IsWardName(std::string_view name);

// Settings of other windows the name layers read.
struct NameOptions {
    bool paintWhiteBackground = false; // paint tool 背景白色: list names start on white
};

// Writes one name with its top-left corner at (x, y) on a box of colour back, in the
// canvas's current font, leaving every pixel of a boundary colour as it was.
void writeNameKeepingBorders(Canvas& c, const DisplayState& d, int x, int y, std::string_view text, Color back);

// The three layers, in the order the map calls them. Each returns at once when
// 市区町村名 is unchecked. The font size in effect (TownFontPixels) is recomputed
// for the image side first.
void DrawMunicipalityNames(Canvas& c, const MapStore& store, const ViewState& v, DisplayState& d,
                           const MainSwitches& sw);
void DrawDuplicateListNames(Canvas& c, const MapStore& store, const ViewState& v, DisplayState& d,
                            const MainSwitches& sw, const NameOptions& opt = {});
// Only when 市名 is checked.
void DrawDesignatedCityNames(Canvas& c, const MapStore& store, const ViewState& v, DisplayState& d,
                             const MainSwitches& sw, const NameOptions& opt = {});

} // namespace oboro
