#pragma once
// The one drawing operation of the map: DrawMap draws the whole picture from scratch,
// layer by layer in a fixed order, from the store, the view, the display state and the
// switches. Layers that belong to other tools are entry points in RenderHooks; an empty
// entry draws nothing.
#include "common/canvas.h"
#include "common/messages.h"
#include "mapdata/store.h"
#include "view/display.h"
#include "view/projection.h"

#include <QImage>
#include <functional>
#include <optional>
#include <string>

namespace oboro {

// Everything a layer may read or change while the map is drawn.
struct RenderContext {
    Canvas& canvas;
    MapStore& store;
    ViewState& view;
    DisplayState& display;
    MainSwitches& switches;
    ToolSwitches& tools;
    MessageSink& messages;
};

using Layer = std::function<void(RenderContext&)>;
// A layer that reports whether it drew (scale bar, legend: later hit-tests read it).
using DrawnLayer = std::function<bool(RenderContext&)>;
using Notice = std::function<void(const std::string&)>;

// Entry points of the layers and windows of other tools, in drawing order.
struct RenderHooks {
    Notice showPleaseWait;        // "地図を描いています" while drawing many areas
    std::function<void()> hidePleaseWait;
    Layer graticule;              // graticule (below or above the map)
    Layer mesh;                   // survey mesh grid
    Layer paintBorderLines;       // displayed map lines used as fill borders
    Layer paintReplay;            // replay of the paint records
    Notice showMeasuring;         // "%s の面積を計算しています"
    std::function<void()> closeMeasuring;
    Layer searchPaintWithArea;    // search paint measuring the searched regions
    Layer searchPaint;            // plain search paint
    Layer townNames;              // municipality names
    Layer duplicateNames;         // duplicate-name entries
    Layer cityNames;              // designated-city names
    Layer readings;               // readings of the names (読みがな地図)
    Layer islands;
    Layer mountains;
    Layer prefNameCorner;         // prefecture name in the lower-left corner
    Layer centreMark;
    Layer approvalNotice;
    Layer meshNames;              // first level
    Layer meshNames2;             // second level
    DrawnLayer scaleBar;
    DrawnLayer legend;
    Layer frame;
    Layer distanceCircles;
    Layer mapLines;               // map lines and rail lines
    Layer symbols;
    Layer labels;
    Layer lineEditorRedraw;       // the map line editor's pending redraw
    Layer prefNames;
    Layer prefSeats;
    Layer officeMarks;
    std::function<void()> resetMeasurementPath; // the path of the distance tool
    Layer lineEditorEditedLine;   // the edited line of the map line editor
    // Long drawings (the print sizes): told after each of the kDrawStages stages (done of
    // total); returning false stops the drawing there (DrawResult::cancelled).
    std::function<bool(int done, int total)> progress;
};

inline constexpr int kDrawStages = 6;

// Counters and drawn flags that live between drawings.
struct RenderState {
    long mappingCount = 0;    // shown as "Mapping %d" in a hidden label
    long thumbnailCount = 0;  // every fifth drawing refreshes the thumbnail
    long drawCount = 0;       // shown in the small counter label
    bool scaleBarDrawn = false;
    bool legendDrawn = false;
    QImage thumbnail;         // 64 × 64 version picture
};

inline constexpr int kThumbnailSide = 64;
inline constexpr int kPleaseWaitAreas = 30;

// What the main window does with its controls after a drawing.
struct DrawResult {
    bool drawn = false;
    bool cancelled = false;            // the progress hook stopped the drawing
    ViewRecompute view;                // report, magnification label, range refusal
    bool mapDrawn = false;             // steps of the map itself ran (legend editor 地図)
    std::string mappingText;           // "Mapping %d" when the map was drawn
    bool townNameUnchecked = false;    // 市区町村界 off unchecked 市区町村名
    bool thumbnailUpdated = false;
    std::string distanceCircleText;    // "距離円は非表示です" when circles are hidden
    bool lakeEnabled = false;          // 湖境界 enabled exactly when 市区町村界 is checked
    bool nameEditingEnabled = false;   // name-editing menu items and 市町名位置編集
    std::string readingsAreaName;      // the area name in the readings window
    std::string counterText;           // the small counter label
    // After every drawing (drawn = true) the main window enables ペイント, 地図凡例,
    // 地図記号, the menu 記号, 範囲指定 (navy text), 表示設定, 円, 都道府県名, ｺﾋﾟｰ, 距離,
    // the 概算 box and label, 県, the GSI box and label, 鉄道路線図 and 面積.
};

inline constexpr const char* kPleaseWaitText = "地図を描いています";
inline constexpr const char* kCirclesHiddenText = "距離円は非表示です";

// The colour behind text anchored at a pixel and the colour a flood fill started there
// replaces: the pixel's colour, or BackColor when the pixel is outside the picture or
// has one of the line and text colours.
Color FillTarget(const Canvas& c, const DisplayState& d, int px, int py);

// Everything one drawing reads and writes, owned together (the headless command's,
// tests' and benchmarks' scene; the main window owns the same pieces itself).
struct DrawingScene {
    MapStore store;
    ViewState view;
    DisplayState display;
    MainSwitches sw;
    ToolSwitches tools;
    CollectingSink sink;
    Canvas canvas;
    RenderState state;
    RenderContext ctx{canvas, store, view, display, sw, tools, sink};

    DrawingScene() = default;
    DrawingScene(const DrawingScene&) = delete;
    DrawingScene& operator=(const DrawingScene&) = delete;
};

// Draws the whole map. Returns with drawn = false when nothing was drawn (drawing off,
// a view restore pending, or a refused range).
DrawResult DrawMap(RenderContext& ctx, RenderState& state, const RenderHooks& hooks);

} // namespace oboro
