#pragma once
// Ground quantities of the drawn map that every measurement shares: the degrees under
// a pixel, the ground size of the picture (and so of one pixel), and the map units of
// the data's datum for a point read off the picture.
#include "view/projection.h"

#include <QPoint>

namespace oboro {

struct GroundPoint {
    float lon = 0.0f; // degrees, single precision
    float lat = 0.0f;
};

// Degrees of map units, as the readout shows them.
inline GroundPoint groundOf(QPoint mapUnits) { return {longitudeOf(mapUnits.x()), latitudeOf(mapUnits.y())}; }
// Degrees under a pixel of the picture (in the displayed datum).
inline GroundPoint groundAtPixel(const ViewState& v, int px, int py) { return groundOf(PixelToMap(v, px, py)); }

// Great-circle distance between two ground points (sphere of 6371 km).
inline float groundDistance(GroundPoint a, GroundPoint b) { return Distance(a.lon, a.lat, b.lon, b.lat); }

// The ground size of the picture: width = great-circle length of the middle row from
// the left edge to the right edge, height = length of the left edge, both in km. One
// pixel stands for width × height / side² km².
struct GroundScale {
    int side = 0;
    float widthKm = 0.0f;
    float heightKm = 0.0f;
    double pixelKm2() const
    {
        return side > 0 ? static_cast<double>(widthKm) * heightKm / (static_cast<double>(side) * side) : 0.0;
    }
    double pixelKm() const { return side > 0 ? static_cast<double>(widthKm) / side : 0.0; }
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
