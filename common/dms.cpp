#include "common/dms.h"

#include <cstdio>

namespace oboro {

float parseDms(std::string_view text)
{
    const size_t dot = text.find('.');
    if (dot == std::string_view::npos || text.size() - dot - 1 != 4)
        return -1.0f;
    size_t first = 0; // the readout pads degrees to three columns
    while (first < dot && text[first] == ' ')
        ++first;
    if (first == dot || dot - first > 3)
        return -1.0f;
    int degrees = 0;
    for (size_t i = first; i < dot; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1.0f;
        degrees = degrees * 10 + (text[i] - '0');
    }
    int mmss = 0;
    for (size_t i = dot + 1; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1.0f;
        mmss = mmss * 10 + (text[i] - '0');
    }
    const int minutes = mmss / 100;
    const int seconds = mmss % 100;
    if (degrees < 20 || degrees > 160 || minutes >= 60 || seconds >= 60)
        return -1.0f;
    return static_cast<float>(degrees) + static_cast<float>(minutes) / 60.0f + static_cast<float>(seconds) / 3600.0f;
}

std::string formatDms(std::string_view prefix, float degrees)
{
    const int d = static_cast<int>(degrees);
    const float mf = (degrees - static_cast<float>(d)) * 60.0f;
    const int m = static_cast<int>(mf);
    const int s = static_cast<int>((mf - static_cast<float>(m)) * 60.0f);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%3d.%02d%02d", d, m, s);
    return std::string(prefix) + buf;
}

} // namespace oboro
