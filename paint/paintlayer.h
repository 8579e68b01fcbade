#pragma once
// The paint replay as a layer of the map drawing: the records are projected with the
// drawing's own view onto its own picture, so a picture drawn at another size (a saved
// 1800-pixel map, a print export) is painted like the one on screen.
#include "paint/paint.h"
#include "view/render.h"

namespace oboro {

// Projection and fill target of a picture and its view. Clicked pixels become the data
// point under them, the one the replay's projection puts back on that pixel.
// Records are anchored to the names of the store's map.
PaintView paintViewOf(Canvas& canvas, const ViewState& view, const DisplayState& display, const MapStore& store);

// The layer for RenderHooks::paintReplay; records must outlive it. On a picture with
// larger details (print sizes) it first draws the boundary lines at 1800 pixels, the
// reference picture, and starts each record's fill where it fills the same region as
// there (PaintView::referenceSeed). borderLines, when given, is the layer of the lines
// the drawing uses as fill borders besides the boundaries (map lines); it is drawn on the
// reference picture too, when the drawing draws it. It must outlive the layer.
Layer paintReplayLayer(const PaintRecords& records, const Layer* borderLines = nullptr);

} // namespace oboro
