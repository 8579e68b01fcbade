#include "measure/path.h"

#include <cmath>
#include <cstdlib>

namespace oboro {

double pathLengthKm(const ViewState& v, const std::vector<QPoint>& points)
{
    double sum = 0.0;
    for (size_t i = 1; i < points.size(); ++i)
        sum += groundDistance(groundAtPixel(v, points[i - 1].x(), points[i - 1].y()),
                              groundAtPixel(v, points[i].x(), points[i].y()));
    return sum;
}

double pathAreaKm2(const ViewState& v, const std::vector<QPoint>& points)
{
    const size_t n = points.size();
    if (n < 3)
        return 0.0;
    std::vector<GroundPoint> g(n);
    size_t lowest = 0;
    for (size_t i = 0; i < n; ++i) {
        g[i] = groundAtPixel(v, points[i].x(), points[i].y());
        if (points[i].y() > points[lowest].y())
            lowest = i;
    }
    const double lat0 = g[lowest].lat;
    // Height above the lowest latitude along the meridian (negative below it, which
    // cannot happen but costs nothing to get right).
    auto height = [&](double lon, double lat) {
        const double d = greatCircleKm(lon, lat0, lon, lat);
        return lat < lat0 ? -d : d;
    };
    double sum = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const GroundPoint p = g[i];
        const GroundPoint q = g[(i + 1) % n];
        const double mid = (p.lat + q.lat) / 2.0;
        double dx = greatCircleKm(q.lon, mid, p.lon, mid);
        if (!(q.lon > p.lon))
            dx = -dx;
        sum += (height(p.lon, p.lat) + height(p.lon, q.lat)) * dx * 0.5;
    }
    return std::fabs(sum);
}

PathMeasurer::Band PathMeasurer::band() const
{
    Band b;
    if (sampling_) {
        b.color = kAutoPathColor;
        b.points = points_;
        return b;
    }
    if (!collecting_ || points_.empty())
        return b;
    b.points = points_;
    if (rubberEnd_ != points_.back())
        b.points.push_back(rubberEnd_);
    return b;
}

PanelUpdate PathMeasurer::results(const ViewState& v, const std::vector<QPoint>& lengthPoints)
{
    areaKm2_ = pathAreaKm2(v, points_);
    lengthKm_ = pathLengthKm(v, lengthPoints);
    PanelUpdate u;
    u.length = lengthText(lengthKm_);
    u.area = areaText(areaKm2_);
    u.superscriptShown = true;
    return u;
}

PathEvent PathMeasurer::begin()
{
    collecting_ = true;
    sampling_ = false;
    started_ = false;
    held_ = false;
    points_.clear();
    lengthKm_ = areaKm2_ = 0.0;
    PathEvent e;
    e.handled = true;
    e.panel.figureColor = kFigureRed;
    e.panel.length = lengthText(0.0);
    e.panel.title = kDistanceTitle;
    e.panel.superscriptShown = false;
    e.panel.area = pointCountText(0);
    return e;
}

PathEvent PathMeasurer::click(const ViewState& v, QPoint pointer, bool automatic, MessageSink& sink)
{
    PathEvent e;
    const QPoint p = pointer + offset_;
    if (automatic) {
        // Only the first click counts; it hands over to the sampling timer.
        if (sampling_ || !points_.empty() || !collecting_)
            return e;
        e.handled = true;
        first_ = p;
        rubberEnd_ = p;
        collecting_ = false;
        sampling_ = true;
        started_ = false;
        e.startTimer = true;
        return e;
    }
    if (!collecting_)
        return e;
    e.handled = true;
    if (count() >= kPathCapacity) {
        // The point is refused; the path stays open so that a double click closes it.
        sink.show(kPathFullText, kPathFullTitle);
        return e;
    }
    points_.push_back(p);
    rubberEnd_ = p;
    // The band to the new point stays on the picture as the path's segment.
    e.panel.area = pointCountText(count());
    if (count() >= 2) {
        lengthKm_ = pathLengthKm(v, points_);
        e.panel.length = lengthText(lengthKm_);
    }
    return e;
}

bool PathMeasurer::move(QPoint pointer, bool automatic)
{
    const QPoint p = pointer + offset_;
    if (automatic || sampling_) {
        if (!sampling_)
            return false;
        rubberEnd_ = p;
        return true;
    }
    if (!collecting_ || points_.empty())
        return false;
    rubberEnd_ = p;
    return true;
}

PathEvent PathMeasurer::tick(const ViewState& v, MessageSink& sink)
{
    PathEvent e;
    if (!sampling_) {
        e.stopTimer = true;
        return e;
    }
    e.handled = true;
    if (!started_) {
        started_ = true;
        points_.assign(1, first_);
        e.panel.superscriptShown = false;
    } else {
        if (count() >= kPathCapacity) {
            sink.show(kPathFullText, kPathFullTitle);
            sampling_ = false;
            e.stopTimer = true;
            e.finished = true;
            return e;
        }
        const QPoint p = rubberEnd_;
        points_.push_back(p);
        // Back near the start after more than ten samples: the path closes itself.
        if (count() > 10 && std::abs(p.x() - first_.x()) < 5 && std::abs(p.y() - first_.y()) < 5) {
            sampling_ = false;
            held_ = true;
            e.stopTimer = true;
            e.uncheckAutomatic = true;
            e.finished = true;
            e.panel = results(v, points_);
            return e;
        }
    }
    e.panel.area = pointCountText(count());
    lengthKm_ = pathLengthKm(v, points_);
    e.panel.length = lengthText(lengthKm_);
    return e;
}

PathEvent PathMeasurer::doubleClick(const ViewState& v)
{
    PathEvent e;
    if (sampling_) {
        sampling_ = false;
        held_ = true;
        e.handled = true;
        e.stopTimer = true;
        e.uncheckAutomatic = true;
        e.finished = true;
        if (points_.empty())
            points_.assign(1, first_);
        e.panel = results(v, points_);
        return e;
    }
    if (!collecting_ || points_.empty())
        return e;
    // Closed at the first point: the closing segment counts in the length.
    e.handled = true;
    std::vector<QPoint> ring = points_;
    ring.push_back(points_.front());
    e.panel = results(v, ring);
    collecting_ = false;
    held_ = true;
    e.finished = true;
    return e;
}

void PathMeasurer::reset()
{
    points_.clear();
    sampling_ = false;
    started_ = false;
}

} // namespace oboro
