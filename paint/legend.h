#pragma once
// The map legend: a framed box with an optional title line and up to eight rows, each a
// colour-and-pattern sample followed by a description. Its geometry is kept in units of
// the 600-pixel picture, so it keeps its place and proportions at every image size.
// Legend files (.exp, Shift-JIS) hold the settings one value a line:
//
//   row count, sample width, sample height, gap, x, y, font size   "%10d" each
//   text colour, frame colour, fill colour                         "0x%08x" each
//   title                                                          the text
//   one line per row: colour, pattern code, description           "0x%08x,0x%08x,%s"
//
// The title, frame and bold-frame switches are not part of the file.
#include "common/canvas.h"
#include "common/messages.h"
#include "common/textfile.h"
#include "paint/paint.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace oboro {

inline constexpr int kLegendRows = 8;
// Titles and descriptions hold at most this many Shift-JIS bytes.
inline constexpr size_t kLegendTextBytes = 99;

// The number settings and their ranges (600-pixel units; the font size in points).
struct LegendRange {
    int min;
    int max;
};
inline constexpr LegendRange kLegendRowCountRange{1, kLegendRows};
inline constexpr LegendRange kLegendSampleWidthRange{20, 100};
inline constexpr LegendRange kLegendSampleHeightRange{10, 50};
inline constexpr LegendRange kLegendGapRange{0, 20};
inline constexpr LegendRange kLegendPositionRange{0, 600};
inline constexpr LegendRange kLegendFontSizeRange{6, 40};

// One row: a paint slot's colour and pattern as the sample, and its description.
struct LegendRow {
    Color color = 0;
    uint8_t pattern = 0; // pattern code of fills (0 solid, 2..7 hatches)
    std::string text;
    bool operator==(const LegendRow&) const = default;
};

struct LegendSettings {
    int rowCount = 3;
    int sampleWidth = 40;
    int sampleHeight = 15;
    int gap = 3;
    int x = 50; // left edge of the rows
    int y = 50; // top edge of the title line
    int fontSize = 10;
    Color textColor = kBlack;
    Color fillColor = kWhite; // the box background
    Color frameColor = kBlack;
    std::string title = "　タ　イ　ト　ル";
    // Samples start as the standard paint colours, solid; descriptions "　説　明　１" ….
    std::array<LegendRow, kLegendRows> rows = defaultRows();
    bool titleShown = true; // タイトル
    bool frameShown = true; // 囲み枠
    bool boldFrame = true;  // 太枠 (counts only with the frame)

    static std::array<LegendRow, kLegendRows> defaultRows();
    // Every number within its range, texts within their length (cut at a character).
    void clampToRanges();
    bool operator==(const LegendSettings&) const = default;
};

// The default description of row r (0-based): "　説　明　１" ….
std::string defaultLegendDescription(int r);
// A pattern code that a legend sample or paint slot can have (0, 2..7).
bool isLegendPattern(int code);

// The lines of a legend file for the settings (UTF-8; written as Shift-JIS).
std::vector<std::string> legendFileLines(const LegendSettings& s);

// Reads the settings from lines of a legend file (or the legend of a work file, whose
// lines begin at firstLine). Rows beyond the file's row count keep base's samples and
// lose their descriptions; the switches are base's. A line that is missing or does not
// hold what it must is told through sink ("<file> の N 行目: why") and nothing is
// returned. Lines after the rows are left to the caller.
std::optional<LegendSettings> parseLegendLines(const std::vector<std::string>& lines, size_t firstLine,
                                               const LegendSettings& base, const std::string& fileName,
                                               MessageSink& sink);
// The number of lines the legend of these lines takes (11 + row count), or 0 when the
// row count line is not readable.
size_t legendLineCount(const std::vector<std::string>& lines, size_t firstLine);

// Reads a legend file. Unreadable or malformed files are told and give nothing.
std::optional<LegendSettings> readLegendFile(const std::string& path, const LegendSettings& base, MessageSink& sink);
// Writes a legend file through a temporary file renamed over the old one; a failure is
// told and leaves an older file as it was.
bool writeLegendFile(const std::string& path, const LegendSettings& s, MessageSink& sink);

inline constexpr const char* kLegendFileErrorTitle = "凡例ファイルエラー";

} // namespace oboro
