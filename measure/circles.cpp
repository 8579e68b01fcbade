#include "measure/circles.h"

#include "common/dms.h"
#include "common/numbers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace oboro {

// ---------------------------------------------------------------- outlines

namespace {

// Distances from one centre on the sphere of 6371 km, as greatCircleKm computes them,
// with the centre's unit vector worked out once.
struct DistancesFrom {
    explicit DistancesFrom(GroundPoint c) : v(unit(c)) {}
    static std::array<double, 3> unit(GroundPoint p)
    {
        const double rad = 3.14159265358979323846 / 180.0;
        const double cl = std::cos(p.lat * rad);
        return {cl * std::cos(p.lon * rad), cl * std::sin(p.lon * rad), std::sin(p.lat * rad)};
    }
    double operator()(GroundPoint p) const
    {
        const std::array<double, 3> u = unit(p);
        const double dx = u[0] - v[0], dy = u[1] - v[1], dz = u[2] - v[2];
        return 2.0 * std::asin(std::min(std::sqrt(dx * dx + dy * dy + dz * dz) / 2.0, 1.0)) * 6371.0;
    }
    std::array<double, 3> v;
};

} // namespace

std::vector<QPoint> groundCircle(int32_t cx, int32_t cy, float radiusKm)
{
    std::vector<QPoint> out;
    out.reserve(kCircleOutlinePoints + 1);
    const GroundPoint centre = groundOf(QPoint(cx, cy));
    const DistancesFrom distance(centre);
    auto unit = [](double v) { return truncClamp(static_cast<float>(v)); };
    // Along each direction in map units, the distance at which the ground distance is
    // the radius: a first guess from the lengths of a map unit at the centre, then
    // scaled by radius ÷ distance until it holds (once for small circles, a few times
    // for large ones, where a degree's length changes across the circle).
    const double radius = radiusKm;
    const double kmPerX = 6371.0 * 3.14159265358979323846 / 180.0 / 10000.0 *
                          std::cos(centre.lat * 3.14159265358979323846 / 180.0);
    const double kmPerY = 6371.0 * 3.14159265358979323846 / 180.0 / 15000.0;
    const double tolerance = std::max(radius * 0.0001, 0.001);
    for (int i = 0; i < kCircleOutlinePoints; ++i) {
        const double a = i * 2.0 * 3.14159265358979323846 / kCircleOutlinePoints;
        const double ca = std::cos(a), sa = std::sin(a);
        double r = radius / std::max(std::hypot(ca * kmPerX, sa * kmPerY), 1e-12);
        for (int step = 0; step < 8; ++step) {
            const double d = distance(groundOf(QPoint(unit(cx + r * ca), unit(cy + r * sa))));
            if (!(d > 0.0))
                break; // no direction to scale along (a zero radius)
            const double next = r * radius / d;
            if (!std::isfinite(next))
                break;
            r = next;
            if (std::fabs(d - radius) <= tolerance)
                break;
        }
        out.emplace_back(unit(cx + r * ca), unit(cy + r * sa));
    }
    out.push_back(out.front());
    return out;
}

int circleLabelSize(const DistanceCircle& c, int side)
{
    if (c.fixedSize)
        return c.fontSize;
    return static_cast<int>(static_cast<float>(c.fontSize) * (static_cast<float>(side) / 600.0f));
}

int drawCircleSet(Canvas& canvas, const ViewState& v, const DistanceCircle& c, int exactCount)
{
    if (c.radius < 1)
        return 0;
    const int side = v.imageSide;
    const float k = static_cast<float>(side) / 600.0f;
    const Pen keptPen = canvas.pen;
    const Brush keptBrush = canvas.brush;
    const QPoint keptPos = canvas.penPos();
    canvas.setPen(c.color, std::clamp(c.width, 1, 5));
    canvas.setFont(std::max(circleLabelSize(c, side), 1), c.color);
    canvas.brush.style = BrushStyle::Clear; // labels over the map, without a box
    const Projector project(v);

    int px = 0, py = 0;
    if (c.centreMark) {
        project(c.x, c.y, px, py);
        canvas.moveTo(px, truncClamp(static_cast<float>(py) - 3.0f * k));
        canvas.lineTo(px, truncClamp(static_cast<float>(py) + 4.0f * k));
        canvas.moveTo(truncClamp(static_cast<float>(px) - 3.0f * k), py);
        canvas.lineTo(truncClamp(static_cast<float>(px) + 4.0f * k), py);
    }

    int drawn = 0;
    long long r = 0;
    for (;;) {
        r += c.radius;
        if (r > kMaxCircleRadiusKm)
            break;
        const std::vector<QPoint> outline = groundCircle(c.x, c.y, static_cast<float>(r));
        bool inView = false;
        for (size_t i = 0; i < outline.size(); ++i) {
            project(outline[i].x(), outline[i].y(), px, py);
            if (px > 0 && px < side && py > 0 && py < side)
                inView = true;
            if (i == 0) {
                if (c.labels) {
                    char text[32];
                    std::snprintf(text, sizeof text, " %.0fkm", static_cast<double>(r));
                    canvas.textOut(px + 2, py, text);
                }
                canvas.moveTo(px, py);
            } else {
                canvas.lineTo(px, py);
            }
        }
        ++drawn;
        const bool more = exactCount > 0 ? drawn < exactCount : (c.concentric && inView);
        if (!more)
            break;
    }
    canvas.pen = keptPen;
    canvas.brush = keptBrush;
    canvas.moveTo(keptPos.x(), keptPos.y());
    return drawn;
}

void drawDistanceCircles(Canvas& canvas, const ViewState& v, const std::vector<DistanceCircle>& circles)
{
    for (const DistanceCircle& c : circles)
        drawCircleSet(canvas, v, c);
}

// ---------------------------------------------------------------- the window's state

std::optional<int> DistanceCircleModel::radiusFromControls(MessageSink& sink, bool editing) const
{
    if (controls.radiusChoice >= 0 && controls.radiusChoice < kTypedRadiusChoice)
        return kRadiusChoices[controls.radiusChoice];
    const std::string& text = controls.typedRadius;
    if (text.find('.') != std::string::npos) {
        sink.show(editing ? kRadiusDecimalEditText : kRadiusDecimalText, kRadiusErrorTitle);
        return std::nullopt;
    }
    const std::optional<int> r = strictInt(text);
    if (!r || *r < 1 || *r > kMaxCircleRadiusKm) {
        sink.show(kRadiusRangeText, kRadiusErrorTitle);
        return std::nullopt;
    }
    return *r;
}

DistanceCircle DistanceCircleModel::recordAt(int32_t x, int32_t y, int radius) const
{
    DistanceCircle c;
    c.x = x;
    c.y = y;
    c.radius = radius;
    c.fontSize = std::clamp(controls.fontSize, 6, 50);
    c.width = std::clamp(controls.width, 1, 5);
    c.color = currentColor;
    c.concentric = controls.concentric;
    c.labels = controls.labels;
    c.centreMark = controls.centreMark;
    c.fixedSize = controls.fixedSize;
    return c;
}

CircleOutcome DistanceCircleModel::store(const DistanceCircle& c, MessageSink& sink)
{
    CircleOutcome o;
    if (controls.addMode) {
        if (count() >= kCircleCapacity) {
            sink.show(kCircleListFullText, kCircleTitle);
            return o;
        }
        circles_.push_back(c);
    } else {
        circles_.assign(1, c);
    }
    o.changed = true;
    return o;
}

DistanceCircleModel::MainButton DistanceCircleModel::openFromMainWindow(MessageSink& sink)
{
    MainButton b;
    b.showAndAddEnabled = !circles_.empty();
    b.outcome = startCentre(sink);
    return b;
}

void DistanceCircleModel::openForPicking()
{
    status = kPickCentreStatus;
    picking_ = true;
    centreSet_ = false;
}

CircleOutcome DistanceCircleModel::startCentre(MessageSink& sink)
{
    CircleOutcome o;
    if (!controls.typedCentre) {
        // The sets are replaced when the new centre is stored, not before: leaving the
        // window without a click keeps them.
        openForPicking();
        return o;
    }
    const float lon = parseDms(controls.lonText);
    const float lat = parseDms(controls.latText);
    if (lon < 0.0f || lat < 0.0f) {
        sink.show(kDmsErrorText, kDmsErrorTitle);
        return o;
    }
    if (lat > 90.0f) {
        sink.show(kLatitudeRangeText, kDmsErrorTitle);
        return o;
    }
    const std::optional<int> radius = radiusFromControls(sink);
    if (!radius)
        return o;
    int32_t x = truncClamp((lon - 122.0f) * 10000.0f);
    int32_t y = truncClamp((lat - 24.0f) * 15000.0f);
    if (controls.gsiCorrection) {
        x += 30;
        y -= 45;
    }
    const CircleOutcome stored = store(recordAt(x, y, *radius), sink);
    if (!stored.changed)
        return o;
    centreXText = std::to_string(x);
    centreYText = std::to_string(y);
    picking_ = false;
    centreSet_ = true;
    o.changed = true;
    o.redraw = true;
    return o;
}

CircleOutcome DistanceCircleModel::pickAt(const ViewState& v, QPoint pixel, MessageSink& sink)
{
    CircleOutcome o;
    if (!picking_)
        return o;
    const QPoint shown = PixelToMap(v, pixel.x(), pixel.y());
    centreXText = std::to_string(shown.x());
    centreYText = std::to_string(shown.y());
    latLabel = formatDms("緯度 ", latitudeOf(shown.y()));
    lonLabel = formatDms("経度 ", longitudeOf(shown.x()));
    picking_ = false;
    centreSet_ = true;
    const std::optional<int> radius = radiusFromControls(sink);
    if (!radius)
        return o;
    // The centre in the data's datum, so that the drawing's shift puts it back on the
    // clicked pixel.
    const QPoint centre = dataUnitsOfDisplayed(v, shown);
    o = store(recordAt(centre.x(), centre.y(), *radius), sink);
    if (!o.changed)
        return o;
    if (controls.addMode)
        o.drawOver = true;
    else
        o.redraw = true;
    return o;
}

void DistanceCircleModel::pointerAt(const ViewState& v, QPoint pixel)
{
    if (!picking_)
        return;
    const QPoint m = PixelToMap(v, pixel.x(), pixel.y());
    centreXText = std::to_string(m.x());
    centreYText = std::to_string(m.y());
    if (!controls.typedCentre) {
        controls.latText = formatDms("", latitudeOf(m.y()));
        controls.lonText = formatDms("", longitudeOf(m.x()));
    }
}

CircleOutcome DistanceCircleModel::edit(const std::function<void(DistanceCircle&)>& change)
{
    CircleOutcome o;
    if (controls.addMode || circles_.empty())
        return o;
    DistanceCircle before = circles_.back();
    change(circles_.back());
    o.changed = !(before == circles_.back());
    o.redraw = true;
    return o;
}

CircleOutcome DistanceCircleModel::setRadiusChoice(int choice, MessageSink& sink)
{
    controls.radiusChoice = std::clamp(choice, 0, kTypedRadiusChoice);
    if (controls.addMode || circles_.empty())
        return {};
    const std::optional<int> radius = radiusFromControls(sink, true);
    if (!radius)
        return {};
    return edit([&](DistanceCircle& c) { c.radius = *radius; });
}

CircleOutcome DistanceCircleModel::setWidth(int width)
{
    controls.width = std::clamp(width, 1, 5);
    return edit([&](DistanceCircle& c) { c.width = controls.width; });
}

CircleOutcome DistanceCircleModel::setFontSize(int size)
{
    controls.fontSize = std::clamp(size, 6, 50);
    return edit([&](DistanceCircle& c) { c.fontSize = controls.fontSize; });
}

CircleOutcome DistanceCircleModel::setConcentric(bool on)
{
    controls.concentric = on;
    return edit([&](DistanceCircle& c) { c.concentric = on; });
}

CircleOutcome DistanceCircleModel::setCentreMark(bool on)
{
    controls.centreMark = on;
    return edit([&](DistanceCircle& c) { c.centreMark = on; });
}

CircleOutcome DistanceCircleModel::setLabels(bool on)
{
    controls.labels = on;
    return edit([&](DistanceCircle& c) { c.labels = on; });
}

CircleOutcome DistanceCircleModel::setFixedSize(bool on)
{
    controls.fixedSize = on;
    return edit([&](DistanceCircle& c) { c.fixedSize = on; });
}

CircleOutcome DistanceCircleModel::setColor(Color color)
{
    currentColor = color;
    return edit([&](DistanceCircle& c) { c.color = color; });
}

CircleOutcome DistanceCircleModel::setShown(bool on)
{
    controls.shown = on;
    CircleOutcome o;
    o.redraw = true;
    return o;
}

void DistanceCircleModel::setAddMode(bool on)
{
    controls.addMode = on;
    if (on)
        status = kAddModeStatus;
}

void DistanceCircleModel::setTypedCentre(bool on)
{
    controls.typedCentre = on;
    status = on ? kTypedCentreStatus : kMouseCentreStatus;
}

CircleOutcome DistanceCircleModel::deleteAll(MessageSink& sink, const std::function<bool(const Message&)>& confirm)
{
    CircleOutcome o;
    if (circles_.empty()) {
        sink.show(kNoCirclesText, kCircleTitle);
        return o;
    }
    if (!confirm || !confirm(Message{kDeleteCirclesText, kCircleTitle, MessageIcon::Question}))
        return o;
    circles_.clear();
    status = kCirclesDeletedStatus;
    o.changed = true;
    o.redraw = true;
    return o;
}

CircleOutcome DistanceCircleModel::close()
{
    picking_ = false;
    centreSet_ = false;
    controls.shown = true;
    CircleOutcome o;
    o.redraw = true;
    return o;
}

void DistanceCircleModel::load(std::vector<DistanceCircle> circles)
{
    if (circles.size() > static_cast<size_t>(kCircleCapacity))
        circles.resize(kCircleCapacity);
    circles_ = std::move(circles);
    if (!circles_.empty())
        controls.addMode = true;
}

void DistanceCircleModel::draw(Canvas& canvas, const ViewState& v)
{
    if (!controls.shown) {
        status = kCirclesHiddenText;
        return;
    }
    drawDistanceCircles(canvas, v, circles_);
    status = controls.addMode ? kCirclesAddedStatus : kCirclesDrawnStatus;
}

Layer DistanceCircleModel::layer()
{
    return [this](RenderContext& ctx) { draw(ctx.canvas, ctx.view); };
}

} // namespace oboro
