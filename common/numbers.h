#pragma once
// Number conversions of the file readers: the lenient decimal conversion (leading
// blanks, sign and digits; anything else gives 0), the strict one (the whole text must
// be an integer) and colour values (decimal or "0x" hexadecimal).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace oboro {

// Leading blanks, an optional sign and the leading digits; no digits gives 0.
// Values beyond the 32-bit range saturate instead of overflowing.
int lenientInt(std::string_view text);
// The whole text (surrounding blanks allowed) must be a decimal integer in the 32-bit range.
std::optional<int> strictInt(std::string_view text);
// Leading decimal real number (as strtod would read it); 0 when there is none.
double lenientReal(std::string_view text);
std::optional<double> strictReal(std::string_view text);

// A colour 0x00BBGGRR, written in a file as decimal or with a "0x" prefix.
// Anything after the number is ignored; no number gives 0.
uint32_t parseColor(std::string_view text);
std::optional<uint32_t> strictColor(std::string_view text);
std::string formatColorDecimal(uint32_t color); // "%d"
std::string formatColorHex(uint32_t color);     // "0x%08x"

// Colour helpers: the value is red + 256 × green + 65536 × blue.
inline constexpr uint32_t rgbColor(int r, int g, int b)
{
    return uint32_t(r & 0xFF) | (uint32_t(g & 0xFF) << 8) | (uint32_t(b & 0xFF) << 16);
}
inline constexpr int colorRed(uint32_t c) { return int(c & 0xFF); }
inline constexpr int colorGreen(uint32_t c) { return int((c >> 8) & 0xFF); }
inline constexpr int colorBlue(uint32_t c) { return int((c >> 16) & 0xFF); }

} // namespace oboro
