// Datum conversion, line simplification and the pole of inaccessibility.
#include "mkmapdata.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>

namespace oboro::mkmap {

PointI shiftToWgs84(PointI p)
{
    // Exactly the program's drawing shift, in single precision with truncation.
    const float lon = static_cast<float>(p.x) * 0.0001f + 122.0f;
    const float lat = static_cast<float>(p.y) * (1.0f / 15000.0f) + 24.0f;
    const float lon2 = lon - 0.000046038f * lat - 0.000083043f * lon + 0.01004f;
    const float lat2 = lat - 0.00010695f * lat + 0.000017464f * lon + 0.0046017f;
    return {static_cast<int>((lon2 - 122.0f) * 10000.0f), static_cast<int>((lat2 - 24.0f) * 15000.0f)};
}

PointI wgs84ToTokyoUnits(double lon, double lat)
{
    // The shift is nearly constant, so a few fixed-point steps solve shift(t) = w.
    double lt = lon, at = lat;
    for (int i = 0; i < 6; ++i) {
        const double dlon = -0.000046038 * at - 0.000083043 * lt + 0.01004;
        const double dlat = -0.00010695 * at + 0.000017464 * lt + 0.0046017;
        lt = lon - dlon;
        at = lat - dlat;
    }
    const PointI guess{static_cast<int>(std::lround((lt - 122.0) * 10000.0)),
                       static_cast<int>(std::lround((at - 24.0) * 15000.0))};
    // Among the neighbours of the rounded guess take the one the program's own
    // single-precision shift puts closest to the WGS-84 point.
    const double tx = (lon - 122.0) * 10000.0, ty = (lat - 24.0) * 15000.0;
    PointI best = guess;
    double bestErr = std::numeric_limits<double>::max();
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const PointI c{guess.x + dx, guess.y + dy};
            const PointI s = shiftToWgs84(c);
            const double err = std::max(std::abs(s.x - tx), std::abs(s.y - ty));
            if (err < bestErr - 1e-9) {
                bestErr = err;
                best = c;
            }
        }
    return best;
}

namespace {

double segDist2(double px, double py, double ax, double ay, double bx, double by)
{
    double dx = bx - ax, dy = by - ay;
    double t = 0;
    const double len2 = dx * dx + dy * dy;
    if (len2 > 0)
        t = std::clamp(((px - ax) * dx + (py - ay) * dy) / len2, 0.0, 1.0);
    const double qx = ax + t * dx - px, qy = ay + t * dy - py;
    return qx * qx + qy * qy;
}

// Signed distance from p to the outline: positive inside (even-odd). The outline is
// a set of polylines that together close (rings repeat their first point).
double signedDistance(double px, double py, const std::vector<std::vector<PointD>>& rings)
{
    bool inside = false;
    double best = std::numeric_limits<double>::max();
    for (const auto& ring : rings) {
        const size_t n = ring.size();
        for (size_t i = 1, j = 0; i < n; j = i++) {
            const PointD& a = ring[i];
            const PointD& b = ring[j];
            if ((a.y > py) != (b.y > py) && px < (b.x - a.x) * (py - a.y) / (b.y - a.y) + a.x)
                inside = !inside;
            best = std::min(best, segDist2(px, py, a.x, a.y, b.x, b.y));
        }
    }
    const double d = std::sqrt(best);
    return inside ? d : -d;
}

struct Cell {
    double x, y, h, d, max;
};

} // namespace

PointD poleOfInaccessibility(const std::vector<std::vector<PointD>>& rings, double precision)
{
    double minX = std::numeric_limits<double>::max(), minY = minX;
    double maxX = -minX, maxY = -minX;
    size_t count = 0;
    double sx = 0, sy = 0;
    for (const auto& r : rings)
        for (const auto& p : r) {
            minX = std::min(minX, p.x); maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y); maxY = std::max(maxY, p.y);
            sx += p.x; sy += p.y; ++count;
        }
    if (count == 0)
        return {};
    const double w = maxX - minX, h = maxY - minY;
    const double size = std::min(w, h);
    if (size <= 0)
        return {minX + w / 2, minY + h / 2};
    auto makeCell = [&](double x, double y, double half) {
        const double d = signedDistance(x, y, rings);
        return Cell{x, y, half, d, d + half * std::sqrt(2.0)};
    };
    auto cmp = [](const Cell& a, const Cell& b) { return a.max < b.max; };
    std::priority_queue<Cell, std::vector<Cell>, decltype(cmp)> queue(cmp);
    const double half = size / 2;
    for (double x = minX; x < maxX; x += size)
        for (double y = minY; y < maxY; y += size)
            queue.push(makeCell(x + half, y + half, half));

    // Start from the mean of the vertices and the box centre, whichever is better.
    Cell best = makeCell(sx / count, sy / count, 0);
    const Cell boxCentre = makeCell(minX + w / 2, minY + h / 2, 0);
    if (boxCentre.d > best.d)
        best = boxCentre;
    // Any vertex-adjacent inside point is better than an outside start.
    int guard = 0;
    while (!queue.empty() && guard++ < 200000) {
        const Cell cell = queue.top();
        queue.pop();
        if (cell.d > best.d)
            best = cell;
        if (cell.max - best.d <= precision)
            continue;
        const double hh = cell.h / 2;
        queue.push(makeCell(cell.x - hh, cell.y - hh, hh));
        queue.push(makeCell(cell.x + hh, cell.y - hh, hh));
        queue.push(makeCell(cell.x - hh, cell.y + hh, hh));
        queue.push(makeCell(cell.x + hh, cell.y + hh, hh));
    }
    return {best.x, best.y};
}

namespace {

double pointLineDist2(PointI p, PointI a, PointI b)
{
    return segDist2(p.x, p.y, a.x, a.y, b.x, b.y);
}

void douglasPeucker(const std::vector<PointI>& pts, size_t first, size_t last, double tol2,
                    std::vector<char>& keep)
{
    std::vector<std::pair<size_t, size_t>> stack{{first, last}};
    while (!stack.empty()) {
        auto [a, b] = stack.back();
        stack.pop_back();
        if (b <= a + 1)
            continue;
        double maxD = -1;
        size_t idx = a;
        for (size_t i = a + 1; i < b; ++i) {
            const double d = pointLineDist2(pts[i], pts[a], pts[b]);
            if (d > maxD) {
                maxD = d;
                idx = i;
            }
        }
        if (maxD > tol2) {
            keep[idx] = 1;
            stack.push_back({a, idx});
            stack.push_back({idx, b});
        }
    }
}

} // namespace

std::vector<PointI> simplifyLine(const std::vector<PointI>& line, double tolerance)
{
    // Consecutive equal points (integer rounding of close vertices) go first.
    std::vector<PointI> pts;
    pts.reserve(line.size());
    for (const PointI& p : line)
        if (pts.empty() || !(pts.back() == p))
            pts.push_back(p);
    if (pts.size() <= 2 || tolerance <= 0)
        return pts;
    std::vector<char> keep(pts.size(), 0);
    keep.front() = keep.back() = 1;
    const double tol2 = tolerance * tolerance;
    const size_t n = pts.size();
    if (pts.front() == pts.back()) {
        // A closed line: split at the point farthest from the start, and keep the
        // farthest point of each half so the ring cannot collapse to a line.
        size_t far = 1;
        double maxD = -1;
        for (size_t i = 1; i + 1 < n; ++i) {
            const double dx = pts[i].x - pts[0].x, dy = pts[i].y - pts[0].y;
            if (dx * dx + dy * dy > maxD) {
                maxD = dx * dx + dy * dy;
                far = i;
            }
        }
        keep[far] = 1;
        for (auto [a, b] : {std::pair<size_t, size_t>{0, far}, {far, n - 1}}) {
            size_t idx = a;
            double md = -1;
            for (size_t i = a + 1; i < b; ++i) {
                const double d = pointLineDist2(pts[i], pts[a], pts[b]);
                if (d > md) {
                    md = d;
                    idx = i;
                }
            }
            if (idx != a)
                keep[idx] = 1;
        }
        std::vector<size_t> fixed;
        for (size_t i = 0; i < n; ++i)
            if (keep[i])
                fixed.push_back(i);
        for (size_t k = 0; k + 1 < fixed.size(); ++k)
            douglasPeucker(pts, fixed[k], fixed[k + 1], tol2, keep);
    } else {
        douglasPeucker(pts, 0, n - 1, tol2, keep);
    }
    std::vector<PointI> out;
    for (size_t i = 0; i < n; ++i)
        if (keep[i])
            out.push_back(pts[i]);
    return out;
}

} // namespace oboro::mkmap
