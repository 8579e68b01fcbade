#pragma once
// The decorations of the map picture: the graticule of whole degrees with ten-minute
// lines and degree numbers, the survey mesh with its sheet names, the scale bar, the
// centre cross, the data credit, the prefecture name in the lower-left corner and the
// frame. The map calls them at fixed points of its drawing; the main window also draws
// some of them straight onto the current picture when their switch is turned on.
#include "common/canvas.h"
#include "view/render.h"

#include <QRect>
#include <string>

namespace oboro {

// Mesh sheet name files, by level 1 or 2.
inline constexpr const char* kMeshNameFilePattern = "\\Mapdata\\mesh%d.lbl";

// The scale bar: its position in 600-pixel units (kept in work files) and the size in
// pixels of the bar last drawn (for dragging).
struct ScaleBarState {
    int x = 350;
    int y = 550;
    int width = 0;  // pixels
    int height = 0; // pixels
    bool drawn = false;
};

// The pixel rectangle of the visible extent clamped to the picture, kept after each grid.
struct GraticuleRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct DecorationState {
    ScaleBarState scaleBar;
    float kmPerDegree = 0.0f; // km per degree of longitude at the centre, from the last scale bar
    GraticuleRect graticuleRect;
    // The credit line written at the top left of the map (国土地理院承認番号表示): the
    // credit the map data folder asks for (readDataSource), empty for none.
    std::string approvalNotice;
};

// Length in km of the middle row of the picture (as shown beside 辺長).
float middleSideKm(const ViewState& v);

// Graticule (経緯線(1度)) with ten-minute lines (経緯線(10分)) and degree numbers (経緯度,
// 1度おき). Projects without the datum shift, so lines sit at whole map units.
void DrawGraticule(RenderContext& ctx, DecorationState& st);
// Survey mesh (メッシュ) with degree numbers, used in place of the graticule.
void DrawMapMesh(RenderContext& ctx, DecorationState& st);
// Degree numbers of the whole-degree lines (part of the two grids).
void DrawDegreeLabels(RenderContext& ctx, DecorationState& st);
// Mesh sheet names of level 1 (地図名) or 2 (細分名) from kMeshNameFilePattern below the
// program folder. A missing or unreadable file draws nothing.
void DrawMeshNames(RenderContext& ctx, int level);

// How the scale bar divides for a view.
struct ScaleBarLayout {
    float kmPerDegree = 0.0f; // Distance(1, lat, 0, lat) at the centre latitude
    float pixelsPer20Km = 0.0f;
    float halfWidthKm = 0.0f; // half the picture width in km
    int boxes = 0;            // 0: no bar
    int boxKm = 0;
    float boxPixels = 0.0f;
    int fontSize = 0;
};
ScaleBarLayout scaleBarLayout(const ViewState& v);
// Draws the bar at its position (a position outside the picture is moved back in).
// Returns whether a bar was drawn; keeps its size in st.scaleBar.
bool DrawScaleBar(RenderContext& ctx, DecorationState& st);
// The box a press must be strictly inside to drag the bar (5 units of the 600-pixel
// picture around it).
QRect scaleBarHitBox(const ScaleBarState& s, int imageSide);
// The bar dropped with its top-left corner at pixel (px, py).
void dropScaleBar(ScaleBarState& s, int px, int py, int imageSide);

void DrawCentreCross(RenderContext& ctx);
// The credit line; nothing when the data asks for none.
void DrawApprovalNotice(RenderContext& ctx, const DecorationState& st);
// The name of the one selected area in the lower-left corner (nothing with several).
void DrawCornerPrefName(RenderContext& ctx);
// The frame (地図枠) when its box is checked.
void DrawFrame(RenderContext& ctx);

// Turning a switch on draws its decoration straight onto the current picture; turning
// it off needs a whole new drawing. Returns true when the picture was drawn on here,
// false when the caller must redraw the map (switch off, or the picture too small for it).
enum class DecorationSwitch { CentreCross, ScaleBar, ApprovalNotice, CornerPrefName };
bool DrawDecorationOnSwitch(DecorationSwitch which, bool checked, RenderContext& ctx, DecorationState& st);

// 経緯線(1度): turning it on also turns on the ten-minute lines and the degree numbers.
void setGraticuleSwitch(MainSwitches& sw, bool on);

} // namespace oboro
