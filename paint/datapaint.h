#pragma once
// Data paint files (comma-separated, Shift-JIS) and the classes of a choropleth.
//
// Two kinds of file, told apart by the heading row (line 1):
//  - points: headings "市区町村名", "カラー" and "パターン" in any position; every further
//    line gives x and y (map units) in fields 1 and 2, and the colour and pattern code
//    in the columns of those headings;
//  - statistics: a heading "コード" (local government codes of 5 or 6 digits, the check
//    digit optional) or "市区町村名" (names, told apart by a prefecture or county: a column
//    "都道府県名" or "郡市名", a written prefix "東京都府中市", or name(qualifier)), and a
//    value column: the one headed "値", else the first other column.
#include "common/canvas.h"
#include "mapdata/store.h"
#include "paint/paint.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace oboro {

inline constexpr const char* kDataPaintFilter = "ﾍﾟｲﾝﾄﾃﾞｰﾀﾌｧｲﾙ (*.csv)|*.csv|その他 (*.*)|*.*";
inline constexpr const char* kDataErrorTitle = "データエラー";
inline constexpr int kMinClasses = 2;
inline constexpr int kMaxClasses = 8;

enum class ClassMethod { EqualIntervals, Quantiles };

struct PointPaint {
    int32_t x = 0;
    int32_t y = 0;
    Color color = 0;
    uint8_t pattern = 0;
};

// A row of a statistics file.
struct StatisticRow {
    int line = 0;                        // 1-based line of the file
    std::string key;                     // the code or the name as written
    std::vector<std::string> qualifiers; // prefecture, county or city given with a name
    bool hasValue = false;               // false: the value field is empty or not a number
    double value = 0.0;
    int decimals = 0;                    // digits after the point as written
};

struct DataPaintFile {
    enum class Kind { Points, ByCode, ByName } kind = Kind::Points;
    std::vector<PointPaint> points;
    std::vector<StatisticRow> rows;
};

// Reads a data paint file. On a fault (missing headings, a colour or pattern that is not
// a number, text that is not Shift-JIS) returns false with the message to show (it names
// the file, and the line when there is one).
bool parseDataPaintFile(std::string_view bytes, const std::string& fileName, DataPaintFile& out, Message& error);

// The class bounds of values: classes + 1 ascending numbers, the first the smallest
// value and the last the largest. Equal intervals split the range evenly; quantiles put
// (nearly) the same number of values in each class.
std::vector<double> classBounds(std::vector<double> values, int classes, ClassMethod method);
// The class (0-based) of a value: the last class whose lower bound it reaches.
int classOf(double value, const std::vector<double>& bounds);

// One row of the legend of a choropleth: the slot that paints the class and its range.
struct ClassRow {
    int slot = 0;        // 0..7
    Color color = 0;
    uint8_t pattern = 0;
    std::string text;    // "10,000 – 50,000"
};
// The rows of the classes, with as many decimals as the values were written with (more
// when the bounds would otherwise read the same).
std::vector<ClassRow> classRows(const std::vector<double>& bounds, int decimals, const PaintPalette& palette);
// A number with thousands separators and the given decimals.
std::string formatClassNumber(double v, int decimals);

// Where a statistics row paints: the name positions of the municipality (every ward of
// a designated city), or why none.
struct RowTarget {
    std::vector<const MunicipalityCode*> places;
    std::string problem; // empty when found
};
RowTarget findRowTarget(const StatisticRow& row, DataPaintFile::Kind kind, const std::vector<MunicipalityCode>& codes);

} // namespace oboro
