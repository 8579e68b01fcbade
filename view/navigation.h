#pragma once
// Moving around the map: magnification steps, moves, centring, the range square and
// the back history. Each operation changes the view state; the caller redraws.
#include "mapdata/store.h"
#include "view/projection.h"

#include <string>
#include <vector>

namespace oboro {

// "%4.2f" of count × step, the text beside 倍率.
std::string magnificationLabel(int count, float step);

// Change of the magnification step: the magnification is kept, the count becomes
// trunc(m ÷ t), at least 1. Clears the range-applied flag. Returns the new count.
int changeMagnificationStep(ViewState& v, float step);

enum class MoveDirection { Left, Right, Up, Down };
// One press of a movement arrow: the picture moves in the direction of the arrow.
void moveView(ViewState& v, MoveDirection d);
// The step of a move in map units (both axes): 20 ÷ scale x × movement factor ÷ reduction.
float moveStep(const ViewState& v);

// The clicked pixel becomes the centre.
void centreAt(ViewState& v, int px, int py);

// A 40-pixel cross for the centre setting (two lines of ±20 pixels).
struct CrossLines {
    int x1, y1, x2, y2, x3, y3, x4, y4;
};
CrossLines centreCross(int px, int py);

// Range square while dragging: the side is the larger of the two drag extents.
int rangeSide(int x0, int y0, int x, int y);
// The snapped side length of a range square in km: 5 km steps, 10 above 50 km, 20
// above 200, 50 above 500, 100 above 1000; one step above the size dragged.
float snapRangeKm(float km);

// The range square during a drag: side in pixels after snapping, and the snapped km
// (negative when not snapped: below 3 km or 25 pixels).
struct RangeSquare {
    int side = 0;
    float km = -1.0f;
    bool snapped() const { return km >= 0.0f; }
};
RangeSquare rangeSquare(const ViewState& v, int x0, int y0, int x, int y);

struct BackEntry {
    int32_t maxX, maxY, minX, minY, centerX, centerY;
    float magStep;
    int magCount;
};

// The back history of applied ranges; the oldest entry makes room past 100.
class BackHistory {
public:
    static constexpr int kCapacity = 100;
    void push(const BackEntry& e);
    bool empty() const { return entries_.empty(); }
    int count() const { return static_cast<int>(entries_.size()); }
    // Restores the newest entry into the view and the extent; false when empty.
    bool back(ViewState& v, MapStore& store);

private:
    std::vector<BackEntry> entries_;
};

// The view as a back entry (extent from the store, which holds the visible extent).
BackEntry currentView(const ViewState& v, const MapStore& store);

// Release of a range drag: the square (x0, y0) side s becomes the new extent and
// centre, and the range-applied flag is set. Refused (extent unchanged) when the
// square is below 5 pixels or 4.9 km: the caller shows "指定エラー" and starts the timer.
// On success range dragging stays on for the drawing that applies it.
bool applyRange(ViewState& v, MapStore& store, int x0, int y0, int s);

} // namespace oboro
