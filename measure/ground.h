#pragma once
// Ground quantities of the drawn map that every measurement shares: the degrees under
// a pixel, the ground size of the picture (and so of one pixel), and the map units of
// the data's datum for a point read off the picture.
#include "view/projection.h"

#include <QPoint>

namespace oboro {

// Measurements work in double precision: the single-precision chord of the
// projection's Distance is off by about half a metre, which a path of short segments
// adds up to nearly one per cent (the readout texts keep single precision).
struct GroundPoint {
    double lon = 0.0; // degrees
    double lat = 0.0;
};

// Degrees of map units.
inline GroundPoint groundOf(QPoint mapUnits) { return {mapUnits.x() * 0.0001 + 122.0, mapUnits.y() / 15000.0 + 24.0}; }
// Degrees under a pixel of the picture (in the displayed datum).
inline GroundPoint groundAtPixel(const ViewState& v, int px, int py) { return groundOf(PixelToMap(v, px, py)); }

// Great-circle distance in km on the sphere of 6371 km, arguments in degrees: the
// chord between the two unit vectors, 2 · asin(chord / 2) × 6371, as Distance computes
// it, in double precision.
double greatCircleKm(double lon1, double lat1, double lon2, double lat2);
inline double groundDistance(GroundPoint a, GroundPoint b) { return greatCircleKm(a.lon, a.lat, b.lon, b.lat); }

// The ground size of the picture: width = great-circle length of the middle row from
// the left edge to the right edge, height = length of the left edge, both in km. One
// pixel stands for width × height / side² km².
struct GroundScale {
    int side = 0;
    double widthKm = 0.0;
    double heightKm = 0.0;
    double pixelKm2() const { return side > 0 ? widthKm * heightKm / (static_cast<double>(side) * side) : 0.0; }
    double pixelKm() const { return side > 0 ? widthKm / side : 0.0; }
};
GroundScale groundScaleOf(const ViewState& v);

// Map units of the data's datum (Tokyo) for map units read off the picture: with the
// WGS switch on, the picture shows shifted points, so the shift is undone; otherwise
// the units are returned as they are. MapToPixel of the result lands on the same pixel
// as the point read.
QPoint dataUnitsOfDisplayed(const ViewState& v, QPoint displayed);
// Map units of the data's datum for a WGS-84 position in degrees: the point that the
// drawing's shift puts closest to it.
QPoint dataUnitsOfWgs84(double lon, double lat);

} // namespace oboro
