#include "view/projection.h"

#include "common/log.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace oboro {

namespace {

std::string format(const char* fmt, double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

// Map units to a float for the projection; differences of int32 values may exceed
// the int32 range with corrupt data, so they are taken in 64 bits.
inline float diff(int32_t a, int32_t b) { return static_cast<float>(static_cast<int64_t>(a) - b); }

// Only a print export draws above 1800 pixels; the screen never does, whatever a
// damaged work file says.
int maxSizeFactor(const ViewState& v) { return v.printing ? kMaxSizeFactor : kMaxScreenSizeFactor; }

} // namespace

void ShiftToWgs(int32_t& x, int32_t& y)
{
    const float lon = static_cast<float>(x) * 0.0001f + 122.0f;
    const float lat = static_cast<float>(y) * (1.0f / 15000.0f) + 24.0f;
    const float lon2 = lon - 0.000046038f * lat - 0.000083043f * lon + 0.01004f;
    const float lat2 = lat - 0.00010695f * lat + 0.000017464f * lon + 0.0046017f;
    x = truncClamp((lon2 - 122.0f) * 10000.0f);
    y = truncClamp((lat2 - 24.0f) * 15000.0f);
}

QPoint MapToPixel(const ViewState& v, int32_t x, int32_t y)
{
    if (v.wgs)
        ShiftToWgs(x, y);
    const float h = static_cast<float>(v.half());
    const int px = truncClamp(h + diff(x, v.centerX) * v.scaleX);
    const int py = truncClamp(h - diff(y, v.centerY) * v.scaleY);
    return QPoint(px, py);
}

QPoint PixelToMap(const ViewState& v, int px, int py)
{
    const int h = v.half();
    const float sx = v.scaleX != 0.0f ? v.scaleX : 1.0f;
    const float sy = v.scaleY != 0.0f ? v.scaleY : 1.0f;
    const int x = truncClamp(static_cast<float>(px - h) / sx + static_cast<float>(v.centerX));
    const int y = truncClamp(static_cast<float>(h - py) / sy + static_cast<float>(v.centerY));
    return QPoint(x, y);
}

QPoint PixelToDataUnits(const ViewState& v, int px, int py)
{
    const float h = static_cast<float>(v.half());
    const double sx = v.scaleX != 0.0f ? v.scaleX : 1.0f;
    const double sy = v.scaleY != 0.0f ? v.scaleY : 1.0f;
    // The middle of the pixel in displayed units.
    const double tx = (px + 0.5 - h) / sx + v.centerX;
    const double ty = (h - py - 0.5) / sy + v.centerY;
    double x = tx, y = ty;
    if (v.wgs) {
        // The shift is all but a translation: a few steps of x ← x + (target − shift(x)).
        for (int step = 0; step < 3; ++step) {
            int32_t ix = truncClamp(static_cast<float>(x)), iy = truncClamp(static_cast<float>(y));
            const int32_t bx = ix, by = iy;
            ShiftToWgs(ix, iy);
            x += tx - ix - (x - bx);
            y += ty - iy - (y - by);
        }
    }
    QPoint best(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)));
    // Truncations on the way may still put it one pixel off: look at the neighbours.
    const QPoint target(px, py);
    auto miss = [&](QPoint p) {
        const QPoint q = MapToPixel(v, p.x(), p.y());
        return std::abs(q.x() - target.x()) + std::abs(q.y() - target.y());
    };
    int bestMiss = miss(best);
    // Half a pixel in map units (at least one unit).
    const int ux = std::max(1, static_cast<int>(0.5 / sx)), uy = std::max(1, static_cast<int>(0.5 / sy));
    const QPoint start = best;
    for (int dy = -2; dy <= 2 && bestMiss > 0; ++dy)
        for (int dx = -2; dx <= 2 && bestMiss > 0; ++dx) {
            const QPoint c(start.x() + dx * ux, start.y() + dy * uy);
            if (const int m = miss(c); m < bestMiss) {
                bestMiss = m;
                best = c;
            }
        }
    return best;
}

float Distance(float lon1, float lat1, float lon2, float lat2)
{
    const float rad = 3.14159265358979f / 180.0f;
    const float a1 = lon1 * rad, b1 = lat1 * rad;
    const float a2 = lon2 * rad, b2 = lat2 * rad;
    const float x1 = std::cos(b1) * std::cos(a1), y1 = std::cos(b1) * std::sin(a1), z1 = std::sin(b1);
    const float x2 = std::cos(b2) * std::cos(a2), y2 = std::cos(b2) * std::sin(a2), z2 = std::sin(b2);
    const float dx = x1 - x2, dy = y1 - y2, dz = z1 - z2;
    const float c = std::sqrt(dx * dx + dy * dy + dz * dz);
    // Rounding can push the half chord of antipodal points just above 1.
    const float s = std::min(c / 2.0f, 1.0f);
    const float angle = 2.0f * std::asin(s);
    return angle * 6371.0f;
}

float LatitudeFactor(int32_t y)
{
    const float lat = latitudeOf(y);
    const float d = Distance(1.0f, lat, 0.0f, lat);
    // At the poles a degree of longitude has no length; keep the square scale there.
    if (!(d > 0.0f))
        return 1.0f;
    return 111.2f / d;
}

int setUpImageSide(const ViewState& v)
{
    return 600 / std::clamp(v.reductionDivisor, 1, 5) * std::clamp(v.sizeFactor, 1, maxSizeFactor(v));
}

ViewSetUp SetUpView(ViewState& v, MapStore& store, int selectedAreaCount)
{
    ViewSetUp out;
    if (v.rangeDragging)
        return out;
    out.applied = true;
    v.imageSide = setUpImageSide(v);

    logLine("Area_checkの実行");
    logLine("指定された県の数：" + std::to_string(selectedAreaCount));

    Extent& e = store.extent;
    if (v.viewRestore) {
        const float base = v.baseScale > 0.0f ? v.baseScale : 1.0f;
        const int a = truncClamp(static_cast<float>(v.imageSide) / base * 0.5f);
        e.minX = v.centerX - a;
        e.maxX = v.centerX + a;
        e.minY = v.centerY - a;
        e.maxY = v.centerY + a;
    } else {
        v.centerX = static_cast<int32_t>((static_cast<int64_t>(e.minX) + e.maxX) / 2);
        v.centerY = static_cast<int32_t>((static_cast<int64_t>(e.minY) + e.maxY) / 2);
    }
    out.magnificationLabel = format("%4.2f", v.magnification());

    v.scaleRatio = LatitudeFactor(v.centerY) * 2.0f / 3.0f;
    const float h = diff(e.maxY, e.minY) * v.scaleRatio;
    const float w = diff(e.maxX, e.minX);
    // An empty or one-point extent would give an infinite scale: keep at least one unit.
    v.standardSide = std::max(1, truncClamp(std::max(h, w)));
    if (!v.viewRestore) {
        v.baseScale = 600.0f / static_cast<float>(v.standardSide);
        out.magnificationLabel = "1.00";
    }
    v.scaleRatio = LatitudeFactor(v.centerY) * 2.0f / 3.0f;
    v.scaleX = v.baseScale;
    v.scaleY = v.scaleX * v.scaleRatio;

    if (selectedAreaCount < 2) {
        out.townNameChecked = true;
        out.doubleNameEnabled = true;
        out.doubleNameChecked = false;
    } else {
        out.townNameChecked = false;
        out.doubleNameEnabled = false;
    }
    v.rangeDragging = false;
    v.rangeApplied = false;
    return out;
}

std::string ViewReport::sideText() const { return format("%.1f km", middleKm); }

static std::string degMin(int d, int m)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%3d゜%02d´", d, m);
    return buf;
}
std::string ViewReport::centerLonText() const { return degMin(centerLonDeg, centerLonMin); }
std::string ViewReport::centerLatText() const { return degMin(centerLatDeg, centerLatMin); }

ViewRecompute RecomputeView(ViewState& v, MapStore& store)
{
    ViewRecompute out;
    Extent& e = store.extent;
    // Values from a damaged work file must not give an empty or giant image.
    v.sizeFactor = std::clamp(v.sizeFactor, 1, maxSizeFactor(v));
    v.reductionDivisor = std::clamp(v.reductionDivisor, 1, 5);
    v.magCount = std::clamp(v.magCount, 1, 10000);
    const int div = v.reductionDivisor;
    if (v.rangeDragging) {
        const float width = std::max(1.0f, diff(e.maxX, e.minX));
        const float std = static_cast<float>(v.standardSide);
        v.scaleX = std * v.baseScale / width * static_cast<float>(v.sizeFactor) / static_cast<float>(div);
        v.scaleY = v.scaleX * v.scaleRatio;
        v.magStep = std / width * 0.1f;
        v.magCount = 10;
        out.magnificationLabel = format("%4.2f", std / width);
    } else {
        v.scaleRatio = LatitudeFactor(v.centerY) * 2.0f / 3.0f;
        v.scaleX = v.baseScale * v.magStep * static_cast<float>(v.magCount) * static_cast<float>(v.sizeFactor)
            / static_cast<float>(div);
        v.scaleY = v.scaleX * v.scaleRatio;
        v.imageSide = 600 * v.sizeFactor / div;
    }

    const int side = v.imageSide;
    const int h = v.half();
    const QPoint ll = PixelToMap(v, 0, side);
    const QPoint ur = PixelToMap(v, side, 0);
    e.minX = ll.x();
    e.minY = ll.y();
    e.maxX = ur.x();
    e.maxY = ur.y();

    // Length of an image row in km, measured at the row's latitude.
    auto rowKm = [&](int py) {
        const QPoint a = PixelToMap(v, 0, py);
        const QPoint b = PixelToMap(v, side, py);
        const float lat = latitudeOf(a.y());
        return Distance(diff(b.x(), a.x()) * 0.0001f, lat, 0.0f, lat);
    };
    ViewReport& r = out.report;
    r.middleKm = rowKm(h);
    r.topKm = rowKm(0);
    r.bottomKm = rowKm(side);
    r.heightKm = Distance(0.0f, latitudeOf(PixelToMap(v, 0, side).y()), 0.0f, latitudeOf(PixelToMap(v, 0, 0).y()));

    if (v.rangeApplied && r.middleKm < 4.0f) {
        out.refused = true;
        return out;
    }

    r.imageSide = side;
    r.magCount = v.magCount;
    r.magStep = v.magStep;
    r.standardSide = v.standardSide;
    r.centerX = v.centerX;
    r.centerY = v.centerY;
    r.minX = e.minX;
    r.minY = e.minY;
    r.maxX = e.maxX;
    r.maxY = e.maxY;
    r.diffX = e.maxX - e.minX;
    r.diffY = e.maxY - e.minY;
    r.magnification = v.magnification();
    r.scaleX = v.scaleX;
    r.scaleY = v.scaleY;
    r.scaleRatio = v.scaleRatio;
    r.horizontalMove = v.horizontalMove;
    r.verticalMove = v.verticalMove;
    const float lon = longitudeOf(v.centerX);
    const float lat = latitudeOf(v.centerY);
    r.centerLonDeg = static_cast<int>(lon);
    r.centerLonMin = static_cast<int>((lon - static_cast<float>(r.centerLonDeg)) * 60.0f);
    r.centerLatDeg = static_cast<int>(lat);
    r.centerLatMin = static_cast<int>((lat - static_cast<float>(r.centerLatDeg)) * 60.0f);
    return out;
}

} // namespace oboro
