#include "measure/rubberband.h"

#include <algorithm>

namespace oboro {

void xorSegment(Canvas& canvas, QPoint from, QPoint to, Color color, int width)
{
    if (from == to)
        return; // as a line-to onto its own start, a zero-length segment draws nothing
    const Pen keptPen = canvas.pen;
    const QPoint keptPos = canvas.penPos();
    if (width <= 1) {
        canvas.setPen(color, 1, PenStyle::Solid, PenMode::Xor);
        canvas.moveTo(from.x(), from.y());
        canvas.lineTo(to.x(), to.y());
    } else {
        // The covered pixels first, on a scratch mask around the segment (clipped to the
        // picture), then each inverted once.
        const int m = width + 1;
        const int x0 = std::max(std::min(from.x(), to.x()) - m, 0);
        const int y0 = std::max(std::min(from.y(), to.y()) - m, 0);
        const int x1 = std::min(std::max(from.x(), to.x()) + m, canvas.width() - 1);
        const int y1 = std::min(std::max(from.y(), to.y()) + m, canvas.height() - 1);
        if (x1 >= x0 && y1 >= y0) {
            Canvas mask(x1 - x0 + 1, y1 - y0 + 1, kBlack);
            mask.setPen(kWhite, width);
            mask.moveTo(from.x() - x0, from.y() - y0);
            mask.lineTo(to.x() - x0, to.y() - y0);
            const uint32_t flip = toPixel(color) & 0x00FFFFFFu;
            QImage& img = canvas.image();
            for (int y = 0; y < mask.height(); ++y) {
                const uint32_t* mr = reinterpret_cast<const uint32_t*>(mask.image().constScanLine(y));
                uint32_t* row = reinterpret_cast<uint32_t*>(img.scanLine(y0 + y));
                for (int x = 0; x < mask.width(); ++x)
                    if (mr[x] & 0x00FFFFFFu)
                        row[x0 + x] ^= flip;
            }
        }
    }
    canvas.pen = keptPen;
    canvas.moveTo(keptPos.x(), keptPos.y());
}

} // namespace oboro
