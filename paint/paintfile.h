#pragma once
// Paint files (.pnt): the background colour, the palette and the paint records as text,
// one value per line:
//   line 1       background colour               "0x%08x"
//   lines 2–9    colours of slots 1..8           "0x%08x"
//   lines 10–17  pattern codes of slots 1..8     "0x%08x"
//   lines 18 …   one record per line: x, y (map units), colour, pattern
//                                                "%8d,%8d,0x%08x,0x%08x"
// A colours-only file ends after line 17. Colours and patterns are read as decimal or
// "0x" hexadecimal, only the lowest 8 bits of a pattern are used.
#include "paint/paint.h"

#include <string>
#include <string_view>
#include <vector>

namespace oboro {

struct PaintFile {
    Color background = 0xFFFFFF;
    PaintPalette palette;
    std::vector<PaintRecord> records; // not anchored: the file keeps the points only
};

inline constexpr const char* kPaintFileFilter = "ペイントファイル (*.pnt)|*.pnt|すべて (*.*)|*.*";

// The lines of a paint file; without records when colorsOnly.
std::vector<std::string> paintFileLines(const PaintFile& file, bool colorsOnly);

// Reads the text of a paint file. A record line whose third field is empty is skipped;
// one without a fourth field has pattern 0. With colorsOnly the records are not read.
// On a fault (not a paint file: a line that is not a number, a missing palette line,
// text that is not Shift-JIS) returns false and error names the file and the line.
bool parsePaintFile(std::string_view bytes, const std::string& fileName, bool colorsOnly, PaintFile& out,
                    std::string& error);

} // namespace oboro
