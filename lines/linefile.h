#pragma once
// Map line files (.adl): one or more polylines in map units with their look. The same
// format holds the railway lines.
//
//   K,    1,  NNN,COLOR,TYPE,SIZE,ARROW,ASIZE,STEP//K/1/Points/Color/LineType/Size/Arrow/Asize/Step
//   XXXXXXX,YYYYYYY          one point a line, NNN of them
//
// A point (0, 0) is a break: the polyline ends there and the next point starts a new
// one. On reading, a point line of four or more fields holds up to five points as
// consecutive X,Y pairs; reading stops after NNN points or at the end of the file.
#include "common/canvas.h"
#include "common/messages.h"

#include <QPoint>
#include <optional>
#include <string>
#include <vector>

namespace oboro {

// Line types, as the header numbers them.
enum class LineType : int { Solid = 0, Dashed = 1, Dotted = 2, DashDot = 3, DashDotDot = 4 };
inline constexpr int kLineTypeCount = 5;
// Arrow field of the header.
enum class ArrowKind : int { None = 0, Lines = 1, Filled = 2 };

inline constexpr int kMinLineSize = 1, kMaxLineSize = 20;
inline constexpr int kMinArrowSize = 5, kMaxArrowSize = 50;
inline constexpr int kMaxArrowStep = 200;

struct LineStyle {
    Color color = kBlack;
    int type = 0;       // LineType
    int size = 1;       // pen width in pixels
    int arrow = 0;      // ArrowKind
    int arrowSize = 12; // pixels at 600
    int step = 0;       // an arrow every step points; 0: on the last segment only
    bool operator==(const LineStyle&) const = default;
};

struct LineData {
    LineStyle style;
    std::vector<QPoint> points; // map units; (0, 0) is a break
    bool operator==(const LineData&) const = default;
};

inline bool isBreak(const QPoint& p) { return p.x() == 0 && p.y() == 0; }

// The text lines of a file (UTF-8, no line ends).
std::vector<std::string> formatLineFile(const LineData& data);

struct LineFileParse {
    std::optional<LineData> data;
    int badLine = 0;    // 1-based line that could not be read
    std::string reason; // what was wrong with it
};
// Reads the text lines of a file.
LineFileParse parseLineFile(const std::vector<std::string>& lines);

inline constexpr const char* kLineFileReadTitle = "地図線ファイル読込エラー";
inline constexpr const char* kLineFileWriteTitle = "地図線ファイル保存エラー";

// Reads a file; a file that cannot be read or is malformed is reported (naming the file
// and the line) and gives nothing.
std::optional<LineData> readLineFile(const std::string& path, MessageSink& sink);
// Writes a file (a temporary file renamed over the target); false after a message.
bool writeLineFile(const std::string& path, const LineData& data, MessageSink& sink);

} // namespace oboro
