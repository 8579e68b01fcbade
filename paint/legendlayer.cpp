#include "paint/legendlayer.h"

#include "view/projection.h"

#include <algorithm>

namespace oboro {

QRect drawLegend(Canvas& c, const LegendSettings& s, int side)
{
    const float f = static_cast<float>(side) / 600.0f;
    const auto scaled = [f](int v) { return truncClamp(static_cast<float>(v) * f); };
    const int n = std::clamp(s.rowCount, 1, kLegendRows);
    const int W = scaled(s.sampleWidth);
    const int H = scaled(s.sampleHeight);
    const int D = scaled(s.gap);
    const int X = scaled(s.x);
    const int Y = scaled(s.y);
    const int S = std::max(scaled(s.fontSize), 1);
    c.setFont(S, s.textColor, Canvas::mapFontFamily());

    // Box height: the rows, and the title line when it is shown.
    int B = n * (H + D) - D / 2;
    int T = 0;
    int rowsFrom = Y - H - D;
    if (s.titleShown) {
        B += H + D;
        rowsFrom = Y;
        T = truncClamp(static_cast<float>(c.textWidth(s.title)) * 0.7f);
    }
    for (int r = 0; r < n; ++r)
        T = std::max(T, c.textWidth(s.rows[r].text));
    const int A = truncClamp(static_cast<float>(W) + 10.0f * f + static_cast<float>(T));

    // The box: filled with the fill colour, outlined in the frame colour (in the fill
    // colour without a frame).
    c.setPen(s.frameShown ? s.frameColor : s.fillColor, s.boldFrame ? 2 : 1, PenStyle::Solid);
    c.setBrush(s.fillColor, BrushStyle::Solid);
    const QRect box(QPoint(truncClamp(static_cast<float>(X) - 5.0f * f), truncClamp(static_cast<float>(Y) - 5.0f * f)),
                    QPoint(truncClamp(static_cast<float>(X + A) + 5.0f * f) - 1,
                           truncClamp(static_cast<float>(Y + B) + 5.0f * f) - 1));
    c.rectangle(box.left(), box.top(), box.right() + 1, box.bottom() + 1);

    const int TX = truncClamp(static_cast<float>(X + W) + 10.0f * f);
    c.setPen(c.pen.color, 1, PenStyle::Solid);
    if (s.titleShown)
        c.textOut(X, Y, s.title);
    for (int r = 0; r < n; ++r) {
        const LegendRow& row = s.rows[r];
        const int top = (H + D) * (r + 1) + rowsFrom;
        c.setPen(kBlack, 1, PenStyle::Solid);
        c.setBrush(row.color, brushStyleFromCode(row.pattern));
        c.rectangle(X, top, X + W, top + H);
        // A solid sample's text sits on the fill colour; a hatched one's is transparent.
        c.brush.color = s.fillColor;
        c.textOut(TX, top, row.text);
    }
    c.setBrush(s.fillColor, BrushStyle::Solid);
    return box;
}

DrawnLayer legendLayer(const LegendSettings& settings, std::function<void(const RenderContext&, const QRect&)> drawnAt)
{
    return [&settings, drawnAt = std::move(drawnAt)](RenderContext& ctx) {
        const QRect box = drawLegend(ctx.canvas, settings, ctx.view.imageSide);
        if (drawnAt)
            drawnAt(ctx, box);
        return true;
    };
}

QPoint legendPositionForDrop(int px, int py, int side)
{
    const float f = static_cast<float>(std::max(side, 1)) / 600.0f;
    const auto unit = [f](int p) {
        return std::clamp(truncClamp(static_cast<float>(p) / f + 5.0f), kLegendPositionRange.min, kLegendPositionRange.max);
    };
    return QPoint(unit(px), unit(py));
}

} // namespace oboro
