#include "measure/readout.h"

#include "common/dms.h"

#include <cstdio>

namespace oboro {

namespace {

std::string unitsLine(const char* prefix, int value)
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "%s%7d", prefix, value);
    return buf;
}

} // namespace

PanelUpdate readoutAt(const ViewState& v, QPoint pixel, bool mapUnits)
{
    const QPoint m = PixelToMap(v, pixel.x(), pixel.y());
    PanelUpdate u;
    if (mapUnits) {
        u.latitudeLine = unitsLine("Y座標", m.y());
        u.longitudeLine = unitsLine("X座標", m.x());
    } else {
        // Degrees as the readout holds them, in single precision.
        u.latitudeLine = formatDms("緯度 ", latitudeOf(m.y()));
        u.longitudeLine = formatDms("経度 ", longitudeOf(m.x()));
    }
    return u;
}

ReadoutModeTexts readoutModeTexts(bool mapUnits)
{
    ReadoutModeTexts t;
    t.caption = mapUnits ? "座標値" : "経緯度";
    t.hint = mapUnits ? "経緯度を表示する" : "座標値を表示する";
    t.panel.length = lengthText(0.0);
    return t;
}

PanelUpdate TwoPointMeasure::press(const ViewState& v, QPoint pixel, bool pathResultHeld)
{
    dragging_ = true;
    startPixel_ = pixel;
    previousEnd_ = pixel;
    start_ = groundAtPixel(v, pixel.x(), pixel.y());
    PanelUpdate u;
    u.figureColor = kFigureRed;
    u.title = kDistanceTitle;
    if (!pathResultHeld)
        u.length = lengthText(0.0);
    return u;
}

PanelUpdate TwoPointMeasure::move(const ViewState& v, QPoint pixel, bool mapUnits)
{
    PanelUpdate u;
    if (!dragging_)
        return u;
    previousEnd_ = pixel;
    const GroundPoint end = groundAtPixel(v, pixel.x(), pixel.y());
    lastKm_ = groundDistance(end, start_);
    u.length = lengthText(lastKm_);
    u.merge(readoutAt(v, pixel, mapUnits));
    return u;
}

std::optional<QLine> TwoPointMeasure::band() const
{
    if (!dragging_ || previousEnd_ == startPixel_)
        return std::nullopt;
    return QLine(startPixel_, previousEnd_);
}

void TwoPointMeasure::release(const ViewState& v, QPoint pixel)
{
    if (!dragging_)
        return;
    dragging_ = false;
    lastKm_ = groundDistance(groundAtPixel(v, pixel.x(), pixel.y()), start_);
    previousEnd_ = QPoint(-100, -100);
}

void TwoPointMeasure::cancel()
{
    dragging_ = false;
    previousEnd_ = QPoint(-100, -100);
}

std::string webMapAddress(const std::string& base, double lon, double lat)
{
    std::string address = base;
    if (!address.empty() && address.back() != '/')
        address += '/';
    char buf[96];
    std::snprintf(buf, sizeof buf, "watchizu.html?longitude=%f&&latitude=%f", lon, lat);
    return address + buf;
}

std::string webMapAddressAt(const std::string& base, const ViewState& v, QPoint pixel)
{
    const QPoint m = PixelToMap(v, pixel.x(), pixel.y());
    return webMapAddress(base, longitudeOf(m.x()), latitudeOf(m.y()));
}

} // namespace oboro
