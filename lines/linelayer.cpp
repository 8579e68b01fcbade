#include "lines/linelayer.h"

#include <cmath>
#include <string>

namespace oboro {

PenStyle penStyleOf(int lineType)
{
    switch (lineType) {
    case 1: return PenStyle::Dash;
    case 2: return PenStyle::Dot;
    case 3: return PenStyle::DashDot;
    case 4: return PenStyle::DashDotDot;
    default: return PenStyle::Solid;
    }
}

int arrowPixels(int arrowSize, int side)
{
    if (side <= 600)
        return arrowSize;
    return static_cast<int>(static_cast<long long>(side) * arrowSize / 600);
}

void drawArrow(Canvas& canvas, QPoint from, QPoint tip, int size, bool filled)
{
    if (from == tip)
        return;
    constexpr double kBarb = 15.0 * M_PI / 180.0;
    const double t = std::atan2(double(tip.y() - from.y()), double(tip.x() - from.x()));
    const QPoint b1(static_cast<int>(tip.x() - size * std::cos(t - kBarb)),
                    static_cast<int>(tip.y() - size * std::sin(t - kBarb)));
    // The second barb mirrors the first across the line through the segment.
    QPoint b2;
    if (from.x() == tip.x()) {
        b2 = QPoint(2 * tip.x() - b1.x(), b1.y());
    } else if (from.y() == tip.y()) {
        b2 = QPoint(b1.x(), 2 * tip.y() - b1.y());
    } else {
        const double dx = tip.x() - from.x(), dy = tip.y() - from.y();
        const double len = std::hypot(dx, dy);
        const double ux = dx / len, uy = dy / len;
        const double vx = b1.x() - from.x(), vy = b1.y() - from.y();
        const double along = vx * ux + vy * uy;
        const double fx = from.x() + along * ux, fy = from.y() + along * uy;
        b2 = QPoint(static_cast<int>(2 * fx - b1.x()), static_cast<int>(2 * fy - b1.y()));
    }
    const Pen keptPen = canvas.pen;
    const Brush keptBrush = canvas.brush;
    canvas.pen.style = PenStyle::Solid;
    if (filled) {
        canvas.setBrush(keptPen.color, BrushStyle::Solid);
        canvas.polygon({tip, b1, b2});
    } else {
        canvas.moveTo(tip.x(), tip.y());
        canvas.lineTo(b1.x(), b1.y());
        canvas.moveTo(tip.x(), tip.y());
        canvas.lineTo(b2.x(), b2.y());
    }
    canvas.pen = keptPen;
    canvas.brush = keptBrush;
}

void drawLineData(Canvas& canvas, const ViewState& view, const LineData& line, const LineLook& look)
{
    const LineStyle& s = line.style;
    const Projector project(view);
    const bool arrows = look.arrows && s.arrow != 0;
    const bool filled = s.arrow == static_cast<int>(ArrowKind::Filled);
    const int arrowSize = arrowPixels(s.arrowSize, canvas.width());
    const PenStyle style = penStyleOf(s.type);
    const bool gaps = look.gapsFromCanvas && style != PenStyle::Solid;
    canvas.setPen(look.color, look.width, style);

    bool runStart = true;
    int inRun = 0;
    QPoint previous;
    for (const QPoint& p : line.points) {
        if (isBreak(p)) {
            runStart = true;
            continue;
        }
        int px = 0, py = 0;
        project(p.x(), p.y(), px, py);
        if (gaps)
            canvas.setLineGapColor(canvas.pixel(px, py));
        if (runStart) {
            canvas.moveTo(px, py);
            runStart = false;
            inRun = 0;
        } else {
            canvas.lineTo(px, py);
            ++inRun;
            if (arrows && s.step > 0 && inRun % s.step == 0) {
                drawArrow(canvas, previous, QPoint(px, py), arrowSize, filled);
                canvas.moveTo(px, py);
            }
        }
        previous = QPoint(px, py);
    }
    // The last segment of the line gets an arrow.
    const size_t n = line.points.size();
    if (arrows && n >= 2 && !isBreak(line.points[n - 1]) && !isBreak(line.points[n - 2])) {
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        project(line.points[n - 2].x(), line.points[n - 2].y(), x0, y0);
        project(line.points[n - 1].x(), line.points[n - 1].y(), x1, y1);
        drawArrow(canvas, QPoint(x0, y0), QPoint(x1, y1), arrowSize, filled);
    }
    if (gaps)
        canvas.setLineGapColor(std::nullopt);
}

void drawEditMarkers(Canvas& canvas, const ViewState& view, const std::vector<QPoint>& points, int selected)
{
    const Projector project(view);
    const Pen keptPen = canvas.pen;
    const Brush keptBrush = canvas.brush;
    canvas.setFont(8, kBlack);
    bool runStart = true;
    for (size_t i = 0; i < points.size(); ++i) {
        const QPoint& p = points[i];
        if (isBreak(p)) {
            runStart = true;
            continue;
        }
        int x = 0, y = 0;
        project(p.x(), p.y(), x, y);
        canvas.setPen(kBlack, 1, PenStyle::Solid);
        if (runStart)
            canvas.moveTo(x, y);
        else
            canvas.lineTo(x, y);
        runStart = false;
        canvas.setBrush(kWhite, BrushStyle::Solid);
        canvas.setPen(0x0000FF, 1, PenStyle::Solid);
        canvas.ellipse(x - 2, y - 2, x + 3, y + 3);
        if (i % 5 == 0)
            canvas.textOut(x + 2, y, std::to_string(i));
        canvas.setPen(kBlack, 1, PenStyle::Solid);
        canvas.moveTo(x, y);
    }
    if (selected >= 0 && static_cast<size_t>(selected) < points.size() && !isBreak(points[selected])) {
        int x = 0, y = 0;
        project(points[selected].x(), points[selected].y(), x, y);
        canvas.setBrush(kWhite, BrushStyle::Clear);
        canvas.setPen(0xFF0000, 1, PenStyle::Solid);
        canvas.ellipse(x - 2, y - 2, x + 3, y + 3);
    }
    canvas.pen = keptPen;
    canvas.brush = keptBrush;
}

} // namespace oboro
