#pragma once
// The one projection of the map: map units (Tokyo datum integers) to pixels of the
// square map image and back, the view state it reads, the set-up of the standard view
// after a load and the per-drawing recomputation of scales and visible extent.
//
// All arithmetic is single precision and reals become integers by truncation toward
// zero. The projection is equirectangular around the view centre; the north–south
// scale is corrected once per drawing by the latitude of the centre.
#include "mapdata/store.h"

#include <QPoint>
#include <cstdint>
#include <optional>
#include <string>

namespace oboro {

// Projected pixel coordinates are kept within ±kPixelLimit so that a point far outside
// the image at a high magnification never becomes an undefined integer.
inline constexpr int kPixelLimit = 1 << 29;

// Image sizes: 600, 1200 and 1800 pixels (size factor 1 to 3) on screen and in the file
// menu; print exports draw multiples of 600 up to 7200 (size factor up to 12), with the
// details of the 1800 picture drawn larger (DetailScale, kLargestScreenSide).
inline constexpr int kLargestScreenSide = 1800;
inline constexpr int kLargestPrintSide = 7200;
inline constexpr int kMaxSizeFactor = kLargestPrintSide / 600;
inline constexpr int kMaxScreenSizeFactor = kLargestScreenSide / 600;

// The view state, owned by the main window.
struct ViewState {
    int32_t centerX = 0;           // map point shown at the image centre (set-up)
    int32_t centerY = 0;
    int32_t baseImageSide = 600;   // pixels of the standard image
    int32_t sizeFactor = 1;        // 1, 2, 3: image size " 600" / "1200" / "1800"; 4..12 print sizes
    int32_t reductionDivisor = 1;  // 1..5: 縮小率 ×１（標準） … ×1/5
    int32_t imageSide = 600;       // 600 × size factor ÷ reduction divisor, 120..1800 (7200 printing)
    int32_t standardSide = 0;      // x units of the square holding the whole extent (set-up)
    float baseScale = 0.0f;        // pixels per x unit at magnification 1 (set-up)
    int32_t magCount = 1;          // magnification up-down position (UpDown1, 1..10000)
    float magStep = 1.0f;          // 拡大係数 1.0, 0.5, 0.2, 0.1
    float moveFactor = 1.0f;       // 移動係数 2.0, 1.0, 0.5
    float scaleRatio = 0.0f;       // pixels per y unit ÷ pixels per x unit
    float scaleX = 0.0f;           // pixels per x unit in effect
    float scaleY = 0.0f;           // pixels per y unit in effect
    bool wgs = true;               // 世界測地系(WGS): shift data points to WGS-84
    bool rangeDragging = false;    // a range square is being dragged or applied (範囲指定)
    bool rangeApplied = false;     // a dragged range is in force
    bool viewRestore = false;      // a work file is being loaded; the view comes from it
    bool printing = false;         // a print export: size factors up to kMaxSizeFactor
    int32_t horizontalMove = 500;  // positions of the 左へ／右へ and 上へ／下へ up-downs
    int32_t verticalMove = 500;

    int half() const { return imageSide / 2; }
    float magnification() const { return static_cast<float>(magCount) * magStep; }
};

// Degrees from map units (single precision).
inline float longitudeOf(int32_t x) { return static_cast<float>(x) * 0.0001f + 122.0f; }
inline float latitudeOf(int32_t y) { return static_cast<float>(y) / 15000.0f + 24.0f; }

// Float to int by truncation toward zero, clamped to ±kPixelLimit (NaN gives 0).
inline int truncClamp(float v)
{
    if (!(v == v))
        return 0;
    if (v >= static_cast<float>(kPixelLimit))
        return kPixelLimit;
    if (v <= -static_cast<float>(kPixelLimit))
        return -kPixelLimit;
    return static_cast<int>(v);
}

// Tokyo datum map units to WGS-84 map units with the standard approximate formula.
void ShiftToWgs(int32_t& x, int32_t& y);

// Projection of a point in map units (Tokyo datum); shifted to WGS-84 first when the
// WGS switch is on.
QPoint MapToPixel(const ViewState& v, int32_t x, int32_t y);

// The same projection with the view's values held in registers, for the drawing
// loops that project hundreds of thousands of points. Gives exactly MapToPixel.
struct Projector {
    explicit Projector(const ViewState& v)
        : h(static_cast<float>(v.half())), sx(v.scaleX), sy(v.scaleY), cx(v.centerX), cy(v.centerY), wgs(v.wgs)
    {
    }
    inline void operator()(int32_t x, int32_t y, int& px, int& py) const
    {
        if (wgs) {
            const float lon = static_cast<float>(x) * 0.0001f + 122.0f;
            const float lat = static_cast<float>(y) * (1.0f / 15000.0f) + 24.0f;
            const float lon2 = lon - 0.000046038f * lat - 0.000083043f * lon + 0.01004f;
            const float lat2 = lat - 0.00010695f * lat + 0.000017464f * lon + 0.0046017f;
            x = truncClamp((lon2 - 122.0f) * 10000.0f);
            y = truncClamp((lat2 - 24.0f) * 15000.0f);
        }
        px = truncClamp(h + static_cast<float>(static_cast<int64_t>(x) - cx) * sx);
        py = truncClamp(h - static_cast<float>(static_cast<int64_t>(y) - cy) * sy);
    }
    float h, sx, sy;
    int32_t cx, cy;
    bool wgs;
};
// Inverse, in map units of the displayed datum (no shift).
QPoint PixelToMap(const ViewState& v, int px, int py);
// The point of the data (Tokyo-datum map units) that MapToPixel puts on the pixel: the
// inverse of MapToPixel, datum shift included. What is kept to be drawn again at the
// same place (paint records) is stored this way; with the WGS switch on, a PixelToMap
// point would be shifted a second time when drawn and land some way off.
QPoint PixelToDataUnits(const ViewState& v, int px, int py);

// Great-circle distance in km on a sphere of radius 6371 km; arguments in degrees.
float Distance(float lon1, float lat1, float lon2, float lat2);
// 111.2 ÷ Distance(1, lat, 0, lat) with lat the latitude of y (map units).
float LatitudeFactor(int32_t y);

// What the main window does with its controls after the view set-up.
struct ViewSetUp {
    bool applied = false;         // false: range dragging was on, nothing done
    std::string magnificationLabel; // "%4.2f" text beside 倍率
    bool townNameChecked = false;   // 市区町村名
    bool doubleNameEnabled = false; // 重複可
    bool doubleNameChecked = false; // 重複可 (only meaningful when enabled)
};

// Image side at the start of the set-up, before the load (600 ÷ reduction × size).
int setUpImageSide(const ViewState& v);

// The view set-up after the selected areas have been loaded into the store: the
// standard view that shows the whole extent (or, with the view-restore flag on, the
// view kept from the work file with the extent set around its centre). Writes the two
// log lines "Area_checkの実行" and "指定された県の数：%d". With range dragging on nothing
// happens (applied = false).
//
// The main window's part, around this call:
//  - before: skip everything while range dragging; clear the map-shown flag; load the
//    selected areas into the store (loadMapFiles) and stop on failure;
//  - after: enable 任意地図線編集・表示 and 地 図 線; put the magnification up-down at
//    1 (unless restoring) and show magnificationLabel; enable 標準範囲, the movement
//    up-downs, "+", the magnification up-down; uncheck ラベル; enable 市区町村界, 旧,
//    都府県界, 経緯線(1度), 市区町村名, 中心, the image size and format groups,
//    画像コピー, 画像保存 and 尺度; set 市区町村名 and 重複可 from the result; give
//    範囲指定 its idle look (grey text), show the mouse-wheel hint, reset the
//    prefecture-name move state and re-initialise the label window.
ViewSetUp SetUpView(ViewState& v, MapStore& store, int selectedAreaCount);

// The view report of each drawing (the basic settings list window).
struct ViewReport {
    int imageSide = 0;
    int magCount = 0;            // 拡大位置
    float magStep = 0.0f;        // 拡大係数
    int standardSide = 0;        // 基準サイズ
    int centerX = 0, centerY = 0; // 中心座標Ｘ/Ｙ
    int minX = 0, minY = 0;      // lower-left corner
    int maxX = 0, maxY = 0;      // upper-right corner
    int diffX = 0, diffY = 0;    // 座標差Ｘ/Ｙ
    float magnification = 0.0f;
    float scaleX = 0.0f, scaleY = 0.0f, scaleRatio = 0.0f; // 係数Ｘ, 係数Ｙ, 係数比
    int horizontalMove = 0, verticalMove = 0;
    float topKm = 0.0f, middleKm = 0.0f, bottomKm = 0.0f, heightKm = 0.0f;
    int centerLonDeg = 0, centerLonMin = 0, centerLatDeg = 0, centerLatMin = 0;

    // "%.1f km" of the middle side length (shown beside 辺長).
    std::string sideText() const;
    // "%3d゜%02d´" of the centre longitude and latitude.
    std::string centerLonText() const;
    std::string centerLatText() const;
};

struct ViewRecompute {
    bool refused = false;      // a range narrower than 4 km: "指定エラー", timer, no drawing
    ViewReport report;         // filled unless refused
    // Set when the drawing that applies a range changed the magnification: new
    // magnification label text ("%4.2f"); the magnification up-down goes to magCount.
    std::optional<std::string> magnificationLabel;
};

// Text shown in the two-point distance label when a range is refused.
inline constexpr const char* kRangeRefusedText = "指定エラー";

// The first stage of every drawing: scales, image side, visible extent (written to the
// store's extent), side lengths and the report.
ViewRecompute RecomputeView(ViewState& v, MapStore& store);

} // namespace oboro
