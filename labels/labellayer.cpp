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

const LabelPainter::Run& LabelPainter::run(const std::string& mark, const std::string& label, int size)
{
    key_ = std::to_string(size);
    key_ += '\x1f';
    key_ += mark;
    key_ += '\x1f';
    key_ += label;
    auto it = runs_.find(key_);
    if (it != runs_.end())
        return it->second;
    if (runs_.size() >= kMaxRuns) {
        runs_.clear();
        memo_.assign(memo_.size(), nullptr);
    }
    const std::string text = mark + label;

    // Written on a canvas of its own with a margin, so glyph pixels that reach out of the
    // text's box are kept as the canvas would draw them on the map.
    Canvas probe(1, 1);
    probe.setFont(size, kBlack);
    const int em = fontPixels(std::clamp(size, 1, 500));
    const int margin = em / 2 + 2;
    Run r;
    r.mark = mark;
    r.text = label;
    r.size = size;
    r.width = probe.textWidth(text);
    r.height = probe.textHeight(text);
    Canvas c(r.width + 2 * margin, r.height + 2 * margin, kWhite);
    c.setFont(size, kBlack);
    c.setBrush(kProbeBack, BrushStyle::Solid);
    c.textOut(margin, margin, text);
    const QImage& img = c.image();
    const uint32_t black = toPixel(kBlack);
    r.right = r.width;
    r.bottom = r.height;
    for (int y = 0; y < img.height(); ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if (row[x] == black) {
                const int gx = x - margin, gy = y - margin;
                r.glyph.push_back(static_cast<int16_t>(gx));
                r.glyph.push_back(static_cast<int16_t>(gy));
                r.left = std::min(r.left, gx);
                r.top = std::min(r.top, gy);
                r.right = std::max(r.right, gx + 1);
                r.bottom = std::max(r.bottom, gy + 1);
            }
    }
    return runs_.emplace(key_, std::move(r)).first->second;
}

void LabelPainter::paint(QImage& image, int x, int y, const Run& r, uint32_t text, uint32_t back)
{
    const int w = image.width(), h = image.height();
    if (x + r.right <= 0 || y + r.bottom <= 0 || x + r.left >= w || y + r.top >= h)
        return;
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const int x1 = std::max(0, x), x2 = std::min(w, x + r.width);
    const int y1 = std::max(0, y), y2 = std::min(h, y + r.height);
    if (x1 < x2)
        for (int yy = y1; yy < y2; ++yy)
            std::fill_n(reinterpret_cast<uint32_t*>(bits + yy * stride) + x1, x2 - x1, back);
    const bool inside = x + r.left >= 0 && y + r.top >= 0 && x + r.right <= w && y + r.bottom <= h;
    const int16_t* g = r.glyph.data();
    const size_t n = r.glyph.size();
    for (size_t i = 0; i < n; i += 2) {
        const int gx = x + g[i], gy = y + g[i + 1];
        if (inside || (gx >= 0 && gy >= 0 && gx < w && gy < h))
            reinterpret_cast<uint32_t*>(bits + gy * stride)[gx] = text;
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
    static const std::string none;
    memo_.resize(static_cast<size_t>(table.count()), nullptr);
    for (int i = 0; i < table.count(); ++i) {
        const LabelRow& row = table.row(i);
        if (!row.shown)
            continue;
        const int size = std::min(labelFontSize(row.size, look, view), 500);
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
        const long reach = 4L * fontPixels(size);
        if (x > w + reach || y > h + reach || y < -reach)
            continue;
        const std::string& mark = look.marks ? row.mark : none;
        const std::string& label = look.texts ? row.text : none;
        if (mark.empty() && label.empty())
            continue;
        const Run*& memo = memo_[static_cast<size_t>(i)];
        if (!memo || memo->size != size || memo->mark != mark || memo->text != label)
            memo = &run(mark, label, size);
        paint(image, static_cast<int>(x), static_cast<int>(y), *memo,
              toPixel(i == look.highlightRow ? kLabelHighlightColor : row.color), back);
    }
}

} // namespace oboro
