#include "measure/panel.h"

#include <cstdio>

namespace oboro {

namespace {

std::string format(const char* fmt, double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

} // namespace

void PanelUpdate::merge(const PanelUpdate& later)
{
    auto take = [](auto& mine, const auto& theirs) {
        if (theirs)
            mine = theirs;
    };
    take(latitudeLine, later.latitudeLine);
    take(longitudeLine, later.longitudeLine);
    take(title, later.title);
    take(length, later.length);
    take(area, later.area);
    take(superscriptShown, later.superscriptShown);
    take(figureColor, later.figureColor);
    take(unmeasurable, later.unmeasurable);
}

std::string lengthText(double km) { return format("%7.2f km", km); }

std::string areaText(double km2)
{
    if (km2 > 1000.0)
        return format("%8.0f km", km2);
    if (km2 > 100.0)
        return format("%8.1f km", km2);
    return format("%8.2f km", km2);
}

std::string perimeterText(double km)
{
    if (km > 1000.0)
        return format("%7.0f km", km);
    if (km > 100.0)
        return format("%7.1f km", km);
    return format("%7.2f km", km);
}

std::string pointCountText(int count)
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "   計測中 %d", count);
    return buf;
}

} // namespace oboro
