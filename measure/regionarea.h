#pragma once
// Areas by counting pixels of the drawn map. One algorithm, the region walk, serves
// three measurements: the region-click area (面積), the displayed land area (県) and the
// total area of a searched name's regions (総面積表示 with the search paint).
//
// The walk takes every pixel 4-connected to its start that has the region's colour,
// paints it in a marker colour and counts it (interior); the pixels of another colour it
// meets are counted once each (boundary: borders, names, graticule). The outermost ring
// of the picture is never taken; reaching it sets the edge flag. A region's area is
// (interior + boundary / 2) pixels, each pixel standing for width × height / side² km²
// of the view (see GroundScale); its perimeter boundary / side × width × 1.11 km.
#include "common/messages.h"
#include "mapdata/store.h"
#include "measure/ground.h"
#include "measure/panel.h"
#include "view/display.h"
#include "view/render.h"

#include <QPoint>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace oboro {

class RegionWalker {
public:
    // Clears the visited grid (sized to the picture) and the counters.
    void reset(int width, int height);
    // Walks from the pixel over the pixels of colour `target`, painting them `marker`.
    // Returns the growth of the interior count. A start outside the picture or
    // already visited does nothing; the start pixel itself is taken whatever its colour.
    long walk(Canvas& canvas, QPoint start, Color target, Color marker);

    long interior() const { return interior_; }
    long boundary() const { return boundary_; }
    bool edge() const { return edge_; }
    void setEdge() { edge_ = true; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    std::vector<uint8_t> grid_;
    std::vector<int32_t> stack_;
    int width_ = 0;
    int height_ = 0;
    long interior_ = 0;
    long boundary_ = 0;
    bool edge_ = false;
};

// Area in km² and perimeter in km of walked pixels.
double walkedAreaKm2(long interior, long boundary, const GroundScale& g);
double walkedPerimeterKm(long boundary, const GroundScale& g);

// The colour the region-click area paints into every pixel it takes.
inline constexpr Color kAreaMarkerColor = 0x9595FF;
inline constexpr const char* kRegionAreaWaitText = "指定領域の面積を計算しています．．．";

// 面積 (with 県 unchecked): area mode, whose clicks add regions to the totals.
class RegionAreaTool {
public:
    struct Toggle {
        bool on = false;
        std::string caption; // "終り" while on, "面積" after
        std::string hint;    // "面積測定終了" / "測定領域をクリック"
        PanelUpdate panel;
        // Turned off: redraw the map (the marked pixels go) and re-enable the controls
        // and 県. Turned on: the window disables its controls and 県.
        bool redraw = false;
    };
    // The 面積 button.
    Toggle toggle();
    bool active() const { return on_; }
    // A click on the map in area mode: walks the clicked region and returns the totals.
    // A click into a region already walked changes nothing.
    PanelUpdate click(Canvas& canvas, const ViewState& v, QPoint pixel);
    const RegionWalker& walker() const { return walker_; }
    double areaKm2() const { return areaKm2_; }
    double perimeterKm() const { return perimeterKm_; }

private:
    RegionWalker walker_;
    bool on_ = false;
    double areaKm2_ = 0.0;
    double perimeterKm_ = 0.0;
};

// 面積 with 県 checked: the area of everything that is not sea, the view's area minus
// the pixels reachable from near the top-left corner, and the coastline length.
inline constexpr const char* kLandAreaWaitText = "表示された領域の総面積を計算しています．．．";
inline constexpr const char* kLandAreaRefusedText = "領域が広すぎて測定できません　　　　　";
inline constexpr const char* kMeasureRangeTitle = "測定範囲エラー";

// Refuses (with its message) a selection whose smallest area code is 伊豆諸島 (50) or
// 小笠原諸島 (51): almost all sea.
bool landAreaRefused(const std::vector<int>& selectedAreas, MessageSink& sink);

struct LandAreaResult {
    double landKm2 = 0.0;
    double coastKm = 0.0;
    PanelUpdate panel;
};
// Measures the land of the picture as drawn: walks the sea from pixel (5, 5).
LandAreaResult measureLand(Canvas& canvas, const ViewState& v);

// The whole run: the texts and marks that are not map (names, the approval notice, the
// corner prefecture name, the graticule, the scale bar, labels, the centre mark) are
// switched off, the map redrawn and measured, the switches put back as they were and
// the map redrawn. redraw draws the map with the switches as they are.
LandAreaResult measureDisplayedLand(MainSwitches& sw, const std::function<void()>& redraw, Canvas& canvas,
                                    const ViewState& v);

// ---- total area of a searched name's regions

// Where the walks of a searched name start, in pixels of the picture, and how each is
// treated.
struct SearchedAnchor {
    enum class Kind {
        Chosen, // the position the search chose for a duplicate name: skipped outside the
                // picture or on the coastline, walked otherwise
        Name,   // a name record: outside the picture sets the edge flag; on or beside the
                // coastline it is unmeasurable; walked otherwise
        City,   // a designated-city list entry: skipped outside, unmeasurable on the coast
    };
    QPoint pixel;
    Kind kind = Kind::Name;
    // Walks are grouped by the table they come from: the largest growth of the interior
    // count over one group decides whether the view must change. -1: not counted.
    int group = 0;
};

struct SearchedAnchors {
    std::vector<SearchedAnchor> anchors;
    bool wardName = false; // a ward name was met: the dotted ward borders go solid
};

// The anchors of a searched name, from the store:
//  - the chosen position (map units) when the name is in the duplicate-name list (group 0);
//  - every common name (tag A) of that name, except duplicate-list names that are not
//    ward names (group 1);
//  - every current-view name (tag B), or with old borders shown every pre-merger name
//    (tag X), of that name (group 2);
//  - every designated-city list entry of that name (no group).
SearchedAnchors searchedAnchors(const MapStore& store, const ViewState& v, const std::string& name,
                                std::optional<QPoint> chosenMapUnits, bool oldBordersShown);

struct SearchedAreaResult {
    long interior = 0;
    long boundary = 0;
    bool edge = false;
    int unmeasurable = 0;  // name positions on the coastline
    long largestGroup = 0; // largest growth of the interior count over one group
    double areaKm2 = 0.0;
    double perimeterKm = 0.0;
    PanelUpdate panel;     // the figures, when the view can stay (see below)
};

// Walks every anchor's region with its colour (the fill target rule), painting it in
// the marker colour (the search paint colour). Runs inside the drawing, in place of
// the plain search paint.
SearchedAreaResult measureSearchedRegions(Canvas& canvas, const ViewState& v, const DisplayState& d,
                                          const std::vector<SearchedAnchor>& anchors, Color marker);

// The figures reset when the search measurement starts ("%8.0f km" and "%7.2f km" of
// 0, title "周長").
PanelUpdate searchedAreaStartPanel();

// Whether a searched measurement stands, or the map is drawn again one magnification
// step further: a group that took more than 200000 pixels of a 600-pixel picture (the
// same share of a larger one) does not give a figure. After 20 steps the measurement
// gives up with "測定不能".
// The search paint measuring the searched regions, as the drawing's layer (the hook
// searchPaintWithArea): `search` tells the searched name and the position the search
// chose for it (nothing: no search, nothing drawn); `done` receives the result, and
// whether a ward name turned the dotted ward borders solid for the next drawing. The
// walks paint the regions in the search paint colour (TownPaintColor).
struct SearchedName {
    std::string name;
    std::optional<QPoint> chosenMapUnits;
};
Layer searchedAreaLayer(std::function<std::optional<SearchedName>()> search,
                        std::function<void(const SearchedAreaResult&)> done);

struct SearchedAreaNext {
    enum class Step { Show, Magnify, GiveUp } step = Step::Show;
    int magCount = 0;   // Magnify: the new magnification count
    PanelUpdate panel;  // Show: the figures; GiveUp: "測定不能"
};
long searchedGroupLimit(int imageSide);
SearchedAreaNext searchedAreaNext(const SearchedAreaResult& r, int imageSide, int magCount);

} // namespace oboro
