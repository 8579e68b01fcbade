#pragma once
// The legend as a layer of the map drawing: the framed box with its title and rows,
// drawn at its place in 600-pixel units scaled to the picture (side ÷ 600), so the saved
// and printed pictures show it where the screen does, in proportion. Pen widths and
// hatch spacing follow the picture's detail scale like every other layer.
#include "paint/legend.h"
#include "view/render.h"

#include <QRect>
#include <functional>

namespace oboro {

// Draws the legend on the canvas of a picture of side pixels; returns the drawn box
// (left, top, right, bottom: right and bottom excluded) in pixels.
QRect drawLegend(Canvas& canvas, const LegendSettings& s, int side);

// The layer for RenderHooks::legend: draws the settings and reports the drawn box (of
// whichever picture it drew on) to drawnAt. The settings must outlive the layer.
DrawnLayer legendLayer(const LegendSettings& settings, std::function<void(const RenderContext&, const QRect&)> drawnAt);

// The legend's position for a box dropped with its top-left corner at pixel (px, py)
// of a picture of side pixels: 600-pixel units, kept within 0..600.
QPoint legendPositionForDrop(int px, int py, int side);

} // namespace oboro
