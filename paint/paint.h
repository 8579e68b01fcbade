#pragma once
// Painting: the palette of eight slots, the paint records kept in map units, and the
// region fill they are replayed with at every drawing.
#include "common/canvas.h"
#include "common/messages.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace oboro {

inline constexpr int kPaintSlots = 8;
inline constexpr int kPaintRecordCapacity = 4000;

// The eight starting colours of the palette.
extern const std::array<Color, kPaintSlots> kStandardPaintColors;

// The colour sets of 塗り色, in the order of its radio items (0 = 標準).
inline constexpr int kColorSetCount = 8;
const char* colorSetName(int index);
std::array<Color, kPaintSlots> colorSet(int index);

// Pattern codes in the order of the pattern chooser's radio buttons.
inline constexpr std::array<uint8_t, 7> kChooserPatterns = {0, 6, 7, 2, 3, 5, 4};

struct PaintPalette {
    std::array<Color, kPaintSlots> colors = kStandardPaintColors;
    std::array<uint8_t, kPaintSlots> patterns{};

    // 色リセット: standard colours, all solid.
    void reset();
    // A colour set: all patterns solid, the set's colours in the slots.
    void applyColorSet(int index);
};

struct PaintRecord {
    int32_t x = 0; // map units of the clicked point
    int32_t y = 0;
    Color color = 0;
    uint8_t pattern = 0;
    // A name position (map units) inside the region the click filled, when there was one:
    // the record belongs to the map that has that name. On a map without it (a search
    // that loaded another area) the record is not replayed, so it cannot flood the empty
    // space where its region was. Records without an anchor are always replayed.
    bool anchored = false;
    int32_t anchorX = 0;
    int32_t anchorY = 0;
    bool operator==(const PaintRecord&) const = default;
};

// The paint record table: at most 4000 records (a choropleth of all Japan needs about 1,900) in the order they were made.
class PaintRecords {
public:
    int count() const { return static_cast<int>(records_.size()); }
    bool full() const { return count() >= kPaintRecordCapacity; }
    const std::vector<PaintRecord>& records() const { return records_; }
    // Appends a record; false (nothing stored) when the table is full.
    bool add(const PaintRecord& r);
    // Undo: drops the newest record (nothing when empty).
    void removeLast();
    void clear() { records_.clear(); }

private:
    std::vector<PaintRecord> records_;
};

// Message shown when a click finds the table full.
inline constexpr const char* kPaintTableFullText = "ペイントの記録が上限（4000回）に達しました\nこれ以上塗ることはできません　　　　";
inline constexpr const char* kPaintErrorTitle = "ペイントエラー";
inline constexpr const char* kNoSlotText = "ペイントカラーもしくはペイントパターンが選択されておりません";

// Fills from (px, py) every pixel 4-connected to it that has exactly the target colour,
// with the colour and pattern; the gaps of a hatch keep their colour. Returns the
// number of pixels of the region (0 when the start pixel is outside or not the target).
long regionFill(Canvas& canvas, int px, int py, Color color, uint8_t pattern, Color target);

// What a click and a replay need from the view: the projection both ways and the
// colour a fill replaces at a pixel.
struct PaintView {
    std::function<void(int32_t x, int32_t y, int& px, int& py)> mapToPixel;
    std::function<void(int px, int py, int32_t& x, int32_t& y)> pixelToMap;
    std::function<Color(int px, int py)> fillTarget;
    // On a picture drawn with larger details (print sizes): where a fill from a point is
    // to start so that it fills the region it fills on the picture of scale 1, or
    // nothing when it fills nothing there (the point is on a line).
    std::function<std::optional<QPoint>(int32_t x, int32_t y)> referenceSeed;
    // The name positions of the loaded map (map units), sorted: where a click's record
    // is anchored, and which anchored records a replay fills. None: no anchoring.
    std::shared_ptr<const std::vector<QPoint>> landmarks;
};

// True when the record is to be replayed on the map of these landmarks.
bool recordOnMap(const PaintRecord& r, const std::vector<QPoint>* landmarks);

// A map click while painting: records the click in map units and fills the region.
// Refuses (with its message, nothing recorded) when no slot is selected or the table is full.
bool paintAt(Canvas& canvas, const PaintView& view, PaintRecords& records, const PaintPalette& palette,
             int selectedSlot, int px, int py, MessageSink& sink);

// Replays every record, oldest first, on the freshly drawn map. On a picture drawn with
// larger details (print sizes), given the view's referenceSeed, a record fills what it
// fills on the picture of scale 1 (the lines, wider here, may cover its point).
void replayPaint(Canvas& canvas, const PaintView& view, const PaintRecords& records);

// The 26 × 26 swatch sample of a slot: a white square, then the slot colour with its pattern.
QImage swatchImage(Color color, uint8_t pattern);

} // namespace oboro
