#include "paint/paint.h"

#include <algorithm>

namespace oboro {

const std::array<Color, kPaintSlots> kStandardPaintColors = {0xC0E474, 0xFFFF00, 0x00FF00, 0xFF6F6F,
                                                             0x00FFFF, 0x8080FF, 0xFF00FF, 0x1828EF};

namespace {
struct ColorSetDef {
    const char* name;
    std::array<Color, kPaintSlots> colors;
};
const ColorSetDef kColorSets[kColorSetCount] = {
    {"標準", {0xC0E474, 0xFFFF00, 0x00FF00, 0xFF6F6F, 0x00FFFF, 0x8080FF, 0xFF00FF, 0x1828EF}},
    {"赤色系", {0xE1E1FF, 0xCACAFF, 0xAAAAFF, 0x8080FF, 0x6666FF, 0x3737FF, 0x1E0DEA, 0x160AB6}},
    {"紫色系", {0xFFE8FF, 0xFFD9FF, 0xFFB5FF, 0xFF95FF, 0xFF75FF, 0xFF3EFF, 0xBF00BF, 0x7D007D}},
    {"緑色系", {0xE8FFDF, 0xBEFFA6, 0x9CFF77, 0x77FF44, 0x46FF00, 0x3DDB00, 0x299700, 0x1B6000}},
    {"青色系", {0xFFE1E1, 0xFFC8C8, 0xFFB0B0, 0xFF9797, 0xFF7D7D, 0xFF6262, 0xFF4242, 0xDD0000}},
    {"水色系", {0xFFFFE1, 0xFFFFBB, 0xFFFF8C, 0xFFFF4A, 0xFBFB00, 0xCECE00, 0xA2A200, 0x737300}},
    {"黄色系", {0xE1FFFF, 0xB9FFFF, 0x80FFFF, 0x55FFFF, 0x1AFFFF, 0x00FBFB, 0x00D5D5, 0x00AEAE}},
    {"中間色", {0x8AF9F3, 0x46FFA3, 0x40FF00, 0xD3F365, 0xFFBA75, 0xD6CEFF, 0xB4A5FC, 0x7A60F9}},
};
} // namespace

const char* colorSetName(int index) { return (index >= 0 && index < kColorSetCount) ? kColorSets[index].name : ""; }

std::array<Color, kPaintSlots> colorSet(int index)
{
    return (index >= 0 && index < kColorSetCount) ? kColorSets[index].colors : kStandardPaintColors;
}

void PaintPalette::reset()
{
    colors = kStandardPaintColors;
    patterns.fill(0);
}

void PaintPalette::applyColorSet(int index)
{
    patterns.fill(0);
    colors = colorSet(index);
}

bool PaintRecords::add(const PaintRecord& r)
{
    if (full())
        return false;
    records_.push_back(r);
    return true;
}

void PaintRecords::removeLast()
{
    if (!records_.empty())
        records_.pop_back();
}

long regionFill(Canvas& canvas, int px, int py, Color color, uint8_t pattern, Color target)
{
    canvas.setBrush(color, brushStyleFromCode(pattern));
    return canvas.floodFill(px, py, target);
}

bool paintAt(Canvas& canvas, const PaintView& view, PaintRecords& records, const PaintPalette& palette,
             int selectedSlot, int px, int py, MessageSink& sink)
{
    if (selectedSlot < 0 || selectedSlot >= kPaintSlots) {
        sink.show(kNoSlotText, kPaintErrorTitle, MessageIcon::Exclamation);
        return false;
    }
    if (records.full()) {
        sink.show(kPaintTableFullText, kPaintErrorTitle, MessageIcon::Exclamation);
        return false;
    }
    PaintRecord r;
    view.pixelToMap(px, py, r.x, r.y);
    r.color = palette.colors[selectedSlot];
    r.pattern = palette.patterns[selectedSlot];
    // The colours under the name positions before the fill: the first that the fill
    // changes lies in the filled region and anchors the record to this map.
    std::vector<std::pair<QPoint, Color>> before;
    if (view.landmarks)
        for (const QPoint& m : *view.landmarks) {
            int lx = 0, ly = 0;
            view.mapToPixel(m.x(), m.y(), lx, ly);
            if (const std::optional<Color> c = canvas.pixel(lx, ly))
                before.emplace_back(QPoint(lx, ly), *c);
        }
    regionFill(canvas, px, py, r.color, r.pattern, view.fillTarget(px, py));
    for (std::size_t i = 0; i < before.size(); ++i)
        if (canvas.pixel(before[i].first.x(), before[i].first.y()) != before[i].second) {
            const QPoint& m = (*view.landmarks)[i];
            r.anchored = true;
            r.anchorX = m.x();
            r.anchorY = m.y();
            break;
        }
    records.add(r);
    return true;
}

bool recordOnMap(const PaintRecord& r, const std::vector<QPoint>* landmarks)
{
    if (!r.anchored || !landmarks)
        return true;
    const QPoint anchor(r.anchorX, r.anchorY);
    const auto less = [](const QPoint& a, const QPoint& b) { return a.x() != b.x() ? a.x() < b.x() : a.y() < b.y(); };
    return std::binary_search(landmarks->begin(), landmarks->end(), anchor, less);
}

namespace {

// Where a replayed fill starts: the record's point, or on a picture with larger details
// the view's reference seed, moved to the nearest pixel off the lines (one whose colour
// is the colour a fill there replaces) when a line covers it. Nothing when the record
// fills nothing at scale 1.
std::optional<QPoint> replaySeed(const Canvas& canvas, const PaintView& view, const PaintRecord& r)
{
    int px = 0, py = 0;
    view.mapToPixel(r.x, r.y, px, py);
    if (canvas.detailScale().isUnit() || !view.referenceSeed)
        return QPoint(px, py);
    const std::optional<QPoint> seed = view.referenceSeed(r.x, r.y);
    if (!seed)
        return std::nullopt;
    const auto usable = [&](int x, int y) {
        const std::optional<Color> c = canvas.pixel(x, y);
        return c && view.fillTarget(x, y) == *c;
    };
    const int reach = canvas.detailScale().pixels(1);
    std::optional<QPoint> best;
    long bestDistance = 0;
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
            const long d = static_cast<long>(dx) * dx + static_cast<long>(dy) * dy;
            if ((best && d >= bestDistance) || !usable(seed->x() + dx, seed->y() + dy))
                continue;
            best = QPoint(seed->x() + dx, seed->y() + dy);
            bestDistance = d;
        }
    return best ? best : seed;
}

} // namespace

void replayPaint(Canvas& canvas, const PaintView& view, const PaintRecords& records)
{
    for (const PaintRecord& r : records.records()) {
        if (!recordOnMap(r, view.landmarks.get()))
            continue;
        const std::optional<QPoint> seed = replaySeed(canvas, view, r);
        if (seed)
            regionFill(canvas, seed->x(), seed->y(), r.color, r.pattern, view.fillTarget(seed->x(), seed->y()));
    }
}

QImage swatchImage(Color color, uint8_t pattern)
{
    Canvas c(26, 26, kWhite);
    c.setBrush(color, brushStyleFromCode(pattern));
    c.fillRect(0, 0, 26, 26);
    return c.image();
}

} // namespace oboro
