#pragma once
// Drawing map lines: the polylines of a line file with their pen, the gaps of dashed and
// dotted pens in the colour under them, and arrows; the marked vertices of a line being
// edited. The railway layer draws its lines with the same routine.
#include "common/canvas.h"
#include "lines/linefile.h"
#include "view/projection.h"

namespace oboro {

PenStyle penStyleOf(int lineType);

// The arrow size in pixels on a picture of the side: as given up to 600 pixels, else
// trunc(side × size ÷ 600).
int arrowPixels(int arrowSize, int side);

// An arrow head at tip for the segment from `from`: two barbs 15° off the segment,
// `size` pixels long, drawn as two lines or filled as a triangle, in the pen's colour
// and width with a solid pen (the pen and brush are put back afterwards).
void drawArrow(Canvas& canvas, QPoint from, QPoint tip, int size, bool filled);

// How a line is drawn.
struct LineLook {
    Color color = kBlack;
    int width = 1;
    bool arrows = true;        // the file's arrows (rail lines have none)
    bool gapsFromCanvas = true; // gaps of dashed and dotted pens keep the colour under them
};
inline LineLook lookOf(const LineStyle& s) { return LineLook{s.color, s.size, true, true}; }

// Draws the polylines of a line: each run from a break to the next; with arrows, one on
// every segment that ends at a multiple of step points into its run, and one on the
// last segment of the line.
void drawLineData(Canvas& canvas, const ViewState& view, const LineData& line, const LineLook& look);

// The edit view of a line: black segments, a red ring on each point, the point number
// beside every fifth point, and a blue ring on the selected point (−1: none).
void drawEditMarkers(Canvas& canvas, const ViewState& view, const std::vector<QPoint>& points, int selected);

} // namespace oboro
