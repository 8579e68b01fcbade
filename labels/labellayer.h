#pragma once
// The label layer: every shown row of the label table written over the finished map,
// its text on an opaque box of the background colour (white with 白抜き), with the
// mark centred on the point (マーク) or the text's top-left corner on the point.
//
// Each text is rendered once per font size into a run of cells (outside, box, glyph)
// exactly as the canvas writes it, and kept; a drawing then only copies the runs in
// the rows' colours, so redrawing thousands of labels costs little.
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
    struct Run {
        int left = 0, top = 0;      // offset of the cells from the anchor
        int width = 0, height = 0;
        std::vector<uint8_t> cells; // 0 outside, 1 box, 2 glyph
    };
    const Run& run(const std::string& text, int size);
    static void paint(QImage& image, int x, int y, const Run& r, uint32_t text, uint32_t back);

    std::unordered_map<std::string, Run> runs_;
};

} // namespace oboro
