#pragma once
// The label layer: every shown row of the label table written over the finished map,
// its text on an opaque box of the background colour (white with 白抜き), with the
// mark centred on the point (マーク) or the text's top-left corner on the point.
//
// Each text is rendered once per font size exactly as the canvas writes it and kept as
// its box and glyph pixels; a drawing then only fills the boxes and sets the glyph
// pixels in the rows' colours, so redrawing thousands of labels costs little.
#include "common/canvas.h"
#include "labels/labeltable.h"
#include "view/display.h"
#include "view/projection.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace oboro {

// The size factors of 文字ｻｲｽﾞ: ×0.8 ×0.9 ×1.0 ×1.2 ×1.5 ×2.0.
inline constexpr float kLabelSizeFactors[6] = {0.8f, 0.9f, 1.0f, 1.2f, 1.5f, 2.0f};
inline constexpr int kLabelStandardFactor = 2; // ×1.0
inline constexpr Color kLabelHighlightColor = 0x0000FF; // red

// The label window's switches that the drawing reads.
struct LabelLook {
    bool marks = true;      // マーク
    bool texts = true;      // ラベル
    bool fixedSize = true;  // 文字ｻｲｽﾞ固定
    bool whiteBack = false; // 白抜き
    int factor = kLabelStandardFactor; // index into kLabelSizeFactors
    int highlightRow = -1;  // drawn red (search, centring)
    bool operator==(const LabelLook&) const = default;
};

// The font size (points) a row of base size is drawn with: size × factor, and with the
// size not fixed × the view's size factor ÷ its reduction, truncated once. A fixed size
// grows with print pictures above 1800 pixels (side ÷ 1800 times), as the names do.
int labelFontSize(int baseSize, const LabelLook& look, const ViewState& view);

class LabelPainter {
public:
    // Draws the shown rows in table order.
    void draw(Canvas& canvas, const ViewState& view, const DisplayState& display, const LabelTable& table,
              const LabelLook& look);
    size_t cachedRuns() const { return runs_.size(); }

private:
    // A text as the canvas writes it, relative to its anchor: the box (filled with the
    // background) and the glyph pixels over it (some may reach out of the box).
    struct Run {
        int width = 0, height = 0;   // the box, from the anchor
        int left = 0, top = 0;       // the bounding box of box and glyphs, from the anchor
        int right = 0, bottom = 0;   // (exclusive)
        std::vector<int16_t> glyph;  // x, y pairs of the glyph pixels
        std::string mark, text;      // what it was rendered from (mark, then text)
        int size = 0;
    };
    const Run& run(const std::string& mark, const std::string& text, int size);
    static void paint(QImage& image, int x, int y, const Run& r, uint32_t text, uint32_t back);

    std::unordered_map<std::string, Run> runs_;
    std::string key_; // reused buffer
    // The run each row was drawn with last time, checked before it is used again (the
    // look of most rows does not change from one drawing to the next).
    std::vector<const Run*> memo_;
};

} // namespace oboro
