#include "paint/paintlayer.h"

namespace oboro {

PaintView paintViewOf(RenderContext& ctx)
{
    PaintView pv;
    pv.mapToPixel = [&ctx](int32_t x, int32_t y, int& px, int& py) {
        const QPoint p = MapToPixel(ctx.view, x, y);
        px = p.x();
        py = p.y();
    };
    pv.pixelToMap = [&ctx](int px, int py, int32_t& x, int32_t& y) {
        const QPoint p = PixelToMap(ctx.view, px, py);
        x = p.x();
        y = p.y();
    };
    pv.fillTarget = [&ctx](int px, int py) { return FillTarget(ctx.canvas, ctx.display, px, py); };
    return pv;
}

Layer paintReplayLayer(const PaintRecords& records)
{
    const PaintRecords* r = &records;
    return [r](RenderContext& ctx) { replayPaint(ctx.canvas, paintViewOf(ctx), *r); };
}

} // namespace oboro
