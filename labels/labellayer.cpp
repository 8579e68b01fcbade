#include "labels/labellayer.h"

#include "common/log.h"

#include <algorithm>
#include <cmath>

namespace oboro {

namespace {
// Runs kept before the cache starts afresh (a run is a few hundred bytes).
constexpr size_t kMaxRuns = 60000;
constexpr Color kProbeBack = 0x010203; // the box colour of the rendering, never a glyph's
} // namespace

int labelFontSize(int baseSize, const LabelLook& look, const ViewState& view)
{
    // Single precision, truncated once.
    const float factor = kLabelSizeFactors[std::clamp(look.factor, 0, 5)];
    float s = static_cast<float>(baseSize) * factor;
    if (!look.fixedSize)
        s = s * static_cast<float>(view.sizeFactor) / static_cast<float>(std::max(1, view.reductionDivisor));
    else if (view.imageSide > kLargestScreenSide)
        s = s * static_cast<float>(view.imageSide) / static_cast<float>(kLargestScreenSide);
    return static_cast<int>(s);
}

const LabelPainter::Run& LabelPainter::run(const std::string& text, int size)
{
    std::string key = std::to_string(size);
    key += '\x1f';
    key += text;
    auto it = runs_.find(key);
    if (it != runs_.end())
        return it->second;
    if (runs_.size() >= kMaxRuns)
        runs_.clear();

    // Written on a canvas of its own with a margin, so glyph pixels that reach out of the
    // text's box are kept as the canvas would draw them on the map.
    Canvas probe(1, 1);
    probe.setFont(size, kBlack);
    const int em = fontPixels(std::clamp(size, 1, 500));
    const int margin = em / 2 + 2;
    const int w = probe.textWidth(text);
    const int h = probe.textHeight(text);
    Canvas c(w + 2 * margin, h + 2 * margin, kWhite);
    c.setFont(size, kBlack);
    c.setBrush(kProbeBack, BrushStyle::Solid);
    c.textOut(margin, margin, text);
    // The cells that differ from white, trimmed to their bounding box.
    const QImage& img = c.image();
    const uint32_t white = toPixel(kWhite), box = toPixel(kProbeBack);
    int x1 = img.width(), y1 = img.height(), x2 = -1, y2 = -1;
    for (int y = 0; y < img.height(); ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if (row[x] != white) {
                x1 = std::min(x1, x);
                x2 = std::max(x2, x);
                y1 = std::min(y1, y);
                y2 = std::max(y2, y);
            }
    }
    Run r;
    if (x2 >= x1) {
        r.left = x1 - margin;
        r.top = y1 - margin;
        r.width = x2 - x1 + 1;
        r.height = y2 - y1 + 1;
        r.cells.resize(static_cast<size_t>(r.width) * static_cast<size_t>(r.height));
        for (int y = 0; y < r.height; ++y) {
            const uint32_t* row = reinterpret_cast<const uint32_t*>(img.constScanLine(y1 + y));
            for (int x = 0; x < r.width; ++x) {
                const uint32_t p = row[x1 + x];
                r.cells[static_cast<size_t>(y) * static_cast<size_t>(r.width) + static_cast<size_t>(x)] =
                    p == white ? 0 : p == box ? 1 : 2;
            }
        }
    }
    return runs_.emplace(std::move(key), std::move(r)).first->second;
}

void LabelPainter::paint(QImage& image, int x, int y, const Run& r, uint32_t text, uint32_t back)
{
    const int ox = x + r.left, oy = y + r.top;
    const int xs = std::max(0, -ox), xe = std::min(r.width, image.width() - ox);
    const int ys = std::max(0, -oy), ye = std::min(r.height, image.height() - oy);
    if (xs >= xe || ys >= ye)
        return;
    const uint32_t colours[3] = {0, back, text};
    for (int yy = ys; yy < ye; ++yy) {
        uint32_t* row = reinterpret_cast<uint32_t*>(image.scanLine(oy + yy)) + ox;
        const uint8_t* cells = r.cells.data() + static_cast<size_t>(yy) * static_cast<size_t>(r.width);
        for (int xx = xs; xx < xe; ++xx)
            if (cells[xx])
                row[xx] = colours[cells[xx]];
    }
}

void LabelPainter::draw(Canvas& canvas, const ViewState& view, const DisplayState& display, const LabelTable& table,
                        const LabelLook& look)
{
    logLine("label_writeの実行");
    logLine("　ラベルリスト行数：" + std::to_string(table.count()));
    QImage& image = canvas.image();
    if (image.isNull() || (!look.marks && !look.texts))
        return;
    const Projector proj(view);
    const uint32_t back = toPixel(look.whiteBack ? kWhite : display.BackColor);
    const long w = image.width(), h = image.height();
    std::string text;
    for (int i = 0; i < table.count(); ++i) {
        const LabelRow& row = table.row(i);
        if (!row.shown)
            continue;
        const int size = labelFontSize(row.size, look, view);
        if (size < 1)
            continue;
        int px = 0, py = 0;
        proj(row.x, row.y, px, py);
        long x = px, y = py;
        if (look.marks) {
            x -= size / 2;
            y -= size / 2;
        }
        // Far outside the picture: nothing of the text can reach it.
        const long reach = 4L * fontPixels(std::min(size, 500));
        if (x > w + reach || y > h + reach || y < -reach)
            continue;
        text.clear();
        if (look.marks)
            text += row.mark;
        if (look.texts)
            text += row.text;
        if (text.empty())
            continue;
        const Run& r = run(text, std::min(size, 500));
        if (x + r.left + r.width < 0)
            continue;
        paint(image, static_cast<int>(x), static_cast<int>(y), r,
              toPixel(i == look.highlightRow ? kLabelHighlightColor : row.color), back);
    }
}

} // namespace oboro
