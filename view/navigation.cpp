#include "view/navigation.h"

#include <algorithm>
#include <cstdio>

namespace oboro {

std::string magnificationLabel(int count, float step)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%4.2f", static_cast<double>(static_cast<float>(count) * step));
    return buf;
}

int changeMagnificationStep(ViewState& v, float step)
{
    const float m = static_cast<float>(v.magCount) * v.magStep;
    // The quotient is taken at higher precision before truncation, so 7 ÷ 0.2 (0.2 being
    // slightly above 0.2 in single precision) gives 34, not 35.
    const double q = static_cast<double>(m) / static_cast<double>(step);
    v.magCount = std::max(1, q >= 10000.0 ? 10000 : static_cast<int>(q));
    v.magStep = step;
    v.rangeApplied = false;
    return v.magCount;
}

float moveStep(const ViewState& v)
{
    return 20.0f / v.scaleX * v.moveFactor / static_cast<float>(v.reductionDivisor);
}

void moveView(ViewState& v, MoveDirection d)
{
    const float step = moveStep(v);
    switch (d) {
    case MoveDirection::Right: v.centerX = truncClamp(static_cast<float>(v.centerX) - step); break;
    case MoveDirection::Left: v.centerX = truncClamp(static_cast<float>(v.centerX) + step); break;
    case MoveDirection::Up: v.centerY = truncClamp(static_cast<float>(v.centerY) - step); break;
    case MoveDirection::Down: v.centerY = truncClamp(static_cast<float>(v.centerY) + step); break;
    }
}

void centreAt(ViewState& v, int px, int py)
{
    const float h = static_cast<float>(v.half());
    v.centerX = truncClamp((static_cast<float>(px) - h) / v.scaleX + static_cast<float>(v.centerX));
    v.centerY = truncClamp((h - static_cast<float>(py)) / v.scaleY + static_cast<float>(v.centerY));
}

CrossLines centreCross(int px, int py) { return {px - 20, py, px + 20, py, px, py - 20, px, py + 20}; }

int rangeSide(int x0, int y0, int x, int y) { return std::max(x - x0, y - y0); }

float snapRangeKm(float km)
{
    float step = 5.0f;
    if (km > 1000.0f)
        step = 100.0f;
    else if (km > 500.0f)
        step = 50.0f;
    else if (km > 200.0f)
        step = 20.0f;
    else if (km > 50.0f)
        step = 10.0f;
    return static_cast<float>(truncClamp(km / step) + 1) * step;
}

RangeSquare rangeSquare(const ViewState& v, int x0, int y0, int x, int y)
{
    RangeSquare r;
    r.side = rangeSide(x0, y0, x, y);
    const QPoint origin = PixelToMap(v, x0, y0);
    const QPoint corner = PixelToMap(v, x0 + r.side, y0 + r.side);
    const float mid = (latitudeOf(origin.y()) + latitudeOf(corner.y())) / 2.0f;
    const float km = Distance(longitudeOf(corner.x()), mid, longitudeOf(origin.x()), mid);
    if (km < 3.0f || r.side < 25)
        return r;
    r.km = snapRangeKm(km);
    r.side = truncClamp(static_cast<float>(r.side) * r.km / km);
    return r;
}

void BackHistory::push(const BackEntry& e)
{
    if (count() >= kCapacity)
        entries_.erase(entries_.begin());
    entries_.push_back(e);
}

bool BackHistory::back(ViewState& v, MapStore& store)
{
    if (entries_.empty())
        return false;
    const BackEntry e = entries_.back();
    entries_.pop_back();
    v.centerX = e.centerX;
    v.centerY = e.centerY;
    v.magStep = e.magStep;
    v.magCount = e.magCount;
    store.extent = Extent{e.minX, e.minY, e.maxX, e.maxY};
    return true;
}

BackEntry currentView(const ViewState& v, const MapStore& store)
{
    return BackEntry{store.extent.maxX, store.extent.maxY, store.extent.minX, store.extent.minY,
                     v.centerX,         v.centerY,         v.magStep,         v.magCount};
}

bool applyRange(ViewState& v, MapStore& store, int x0, int y0, int s)
{
    const QPoint a = PixelToMap(v, x0, y0);         // (min x, max y)
    const QPoint b = PixelToMap(v, x0 + s, y0 + s); // (max x, min y)
    const float mid = (latitudeOf(a.y()) + latitudeOf(b.y())) / 2.0f;
    const float km = Distance(longitudeOf(b.x()), mid, longitudeOf(a.x()), mid);
    v.rangeApplied = true;
    if (s < 5 || km < 4.9f) {
        v.rangeDragging = false;
        return false;
    }
    store.extent = Extent{a.x(), b.y(), b.x(), a.y()};
    v.centerX = static_cast<int32_t>((static_cast<int64_t>(a.x()) + b.x()) / 2);
    v.centerY = static_cast<int32_t>((static_cast<int64_t>(a.y()) + b.y()) / 2);
    v.rangeDragging = true;
    return true;
}

} // namespace oboro
