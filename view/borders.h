#pragma once
// The boundary lines of the map: the twelve line tables drawn as polylines in seven
// layers, each with its own pen. Borders come out as closed pixel outlines so that the
// flood fills of painting, search paint and area measurement stay inside them.
#include "common/canvas.h"
#include "mapdata/store.h"
#include "view/display.h"
#include "view/projection.h"

namespace oboro {

// Polyline walk: per record, move to the first projected point and draw lines to the
// others (a line does not set its end pixel; a record of one point draws nothing).
void PolylineWalk(Canvas& c, const LineTable& table, const ViewState& v);
// Closed walk: the polyline walk, then per record of two or more points a back-stroke
// from the last point towards the point before it, which sets the last point's pixel.
void ClosedWalk(Canvas& c, const LineTable& table, const ViewState& v);

// Pen colours of the layers.
Color prefBorderColor(const DisplayState& d);  // layers 2 and 3
Color wardBorderColor(const DisplayState& d);  // layer 4
Color townBorderColor(const DisplayState& d);  // layer 5
Color oldBorderColor(const DisplayState& d);   // layers 6 and 7

// The seven layers in their order: coastline and lake shores, prefecture borders
// (old or new extra table after 旧), lake-surface prefecture borders, ward borders,
// municipal borders, pre-merger borders, lake-surface municipal borders. A layer that
// is not drawn leaves the pen as it was.
void DrawBoundaryLines(Canvas& c, const MapStore& store, const ViewState& v, const DisplayState& d,
                       const MainSwitches& sw);

// The main window's 都府県界 switch. Checking it checks the display settings' 都府県界
// box and enables 市区町村界; unchecking it unchecks that box and unchecks and disables
// 市区町村界 (whose own handling then turns the municipality names off). Either way the
// caller redraws the map.
struct PrefBorderSwitch {
    bool settingsBoxChecked = false; // the display settings' 都府県界 box (CheckBox3)
    bool townBorderEnabled = false;  // 市区町村界 enabled
    bool townBorderUnchecked = false; // 市区町村界 was switched off (run its behaviour)
};
PrefBorderSwitch switchPrefBorder(MainSwitches& sw, bool checked);

} // namespace oboro
