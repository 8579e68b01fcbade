#include "measure/ground.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace oboro {

double greatCircleKm(double lon1, double lat1, double lon2, double lat2)
{
    const double rad = 3.14159265358979323846 / 180.0;
    const double a1 = lon1 * rad, b1 = lat1 * rad, a2 = lon2 * rad, b2 = lat2 * rad;
    const double dx = std::cos(b1) * std::cos(a1) - std::cos(b2) * std::cos(a2);
    const double dy = std::cos(b1) * std::sin(a1) - std::cos(b2) * std::sin(a2);
    const double dz = std::sin(b1) - std::sin(b2);
    const double half = std::min(std::sqrt(dx * dx + dy * dy + dz * dz) / 2.0, 1.0);
    return 2.0 * std::asin(half) * 6371.0;
}

GroundScale groundScaleOf(const ViewState& v)
{
    GroundScale g;
    g.side = v.imageSide;
    const int h = v.half();
    const GroundPoint left = groundAtPixel(v, 0, h);
    const GroundPoint right = groundAtPixel(v, v.imageSide, h);
    g.widthKm = greatCircleKm(right.lon - left.lon, left.lat, 0.0, left.lat);
    g.heightKm = greatCircleKm(0.0, groundAtPixel(v, 0, v.imageSide).lat, 0.0, groundAtPixel(v, 0, 0).lat);
    return g;
}

QPoint dataUnitsOfWgs84(double lon, double lat)
{
    // The shift is nearly a translation: a few fixed-point steps solve shift(t) = w.
    double lt = lon, at = lat;
    for (int i = 0; i < 6; ++i) {
        const double dlon = -0.000046038 * at - 0.000083043 * lt + 0.01004;
        const double dlat = -0.00010695 * at + 0.000017464 * lt + 0.0046017;
        lt = lon - dlon;
        at = lat - dlat;
    }
    const double gx = std::round((lt - 122.0) * 10000.0);
    const double gy = std::round((at - 24.0) * 15000.0);
    const QPoint guess(truncClamp(static_cast<float>(gx)), truncClamp(static_cast<float>(gy)));
    // Of the neighbours of the guess, the one the single-precision shift puts closest.
    const double tx = (lon - 122.0) * 10000.0, ty = (lat - 24.0) * 15000.0;
    QPoint best = guess;
    double bestErr = std::numeric_limits<double>::max();
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            int32_t x = guess.x() + dx, y = guess.y() + dy;
            ShiftToWgs(x, y);
            const double err = std::max(std::fabs(x - tx), std::fabs(y - ty));
            if (err < bestErr - 1e-9) {
                bestErr = err;
                best = QPoint(guess.x() + dx, guess.y() + dy);
            }
        }
    return best;
}

QPoint dataUnitsOfDisplayed(const ViewState& v, QPoint displayed)
{
    if (!v.wgs)
        return displayed;
    return dataUnitsOfWgs84(longitudeOf(displayed.x()), latitudeOf(displayed.y()));
}

} // namespace oboro
