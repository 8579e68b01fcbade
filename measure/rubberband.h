#pragma once
// Exclusive-or segments for the rubber bands of the measuring tools: drawing the same
// segment twice gives the picture back. A wide segment inverts each pixel it covers
// exactly once, so it shows as a full line and not as the speckles of overlapping
// round stamps. The canvas's pen and pen position are left as they were.
#include "common/canvas.h"

#include <QPoint>

namespace oboro {

void xorSegment(Canvas& canvas, QPoint from, QPoint to, Color color, int width);

} // namespace oboro
