#pragma once
// Latitude and longitude as ddd.mmss text, and map units.
#include <string>
#include <string_view>

namespace oboro {

// Message shown when a ddd.mmss text is refused (no icon).
inline constexpr const char* kDmsErrorText = "経緯度の指定が違っています\n\nddd.mmss 形式で指定してください";
inline constexpr const char* kDmsErrorTitle = "経緯度指定エラー";

// Parses "ddd.mmss": exactly four characters after the first ".", whole degrees 20..160,
// minutes and seconds below 60. Returns the degrees in single precision, or -1 when the
// text is refused (the caller shows kDmsErrorText).
float parseDms(std::string_view text);

// prefix + "%3d.%02d%02d", minutes and seconds truncated (34.099 gives " 34.0556").
std::string formatDms(std::string_view prefix, float degrees);

// Map units: x = (longitude − 122) × 10000, y = (latitude − 24) × 15000 (Tokyo datum).
inline float mapXToLongitude(float x) { return x / 10000.0f + 122.0f; }
inline float mapYToLatitude(float y) { return y / 15000.0f + 24.0f; }
inline int longitudeToMapX(float lon) { return static_cast<int>((lon - 122.0f) * 10000.0f); }
inline int latitudeToMapY(float lat) { return static_cast<int>((lat - 24.0f) * 15000.0f); }

} // namespace oboro
