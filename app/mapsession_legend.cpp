// The legend of the open map: its settings, the legend layer, the legend files, the
// samples taken from and given back to the paint palette, and moving the box with the
// mouse. The legend is drawn while 地図凡例 is on.
#include "app/mapsession.h"

#include "paint/legendlayer.h"

#include <algorithm>

namespace oboro {

void MapSession::installLegendLayers()
{
    // The box of the cached picture is what the mouse grabs; saved and printed pictures
    // draw the legend too, at their own size, without moving it.
    hooks.legend = legendLayer(legend, [this](const RenderContext& ctx, const QRect& box) {
        if (&ctx.canvas == &canvas)
            legendBox = box;
    });
}

void MapSession::setLegend(const LegendSettings& s)
{
    legend = s;
    legend.clampToRanges();
    switches.CBExp = true;
    // Painting gives its switches back when it ends: the legend made now stays on then.
    if (paintActive)
        for (size_t i = 0; i < kPaintSavedSwitches.size(); ++i)
            if (kPaintSavedSwitches[i] == Switch::Legend)
                savedSwitches_[i] = true;
    redraw();
    emit changed();
}

void MapSession::setLegendRows(std::optional<std::string> title, std::vector<LegendRow> rows)
{
    if (rows.empty())
        return;
    LegendSettings s = legend;
    if (title) {
        s.titleShown = !title->empty();
        if (s.titleShown)
            s.title = std::move(*title);
    }
    const int n = std::min(static_cast<int>(rows.size()), kLegendRows);
    for (int r = 0; r < n; ++r)
        s.rows[r] = std::move(rows[r]);
    s.rowCount = n;
    setLegend(s);
}

void MapSession::startLegendEditing(bool copySamples)
{
    LegendSettings s = legend;
    s.rowCount = kLegendRows;
    s.sampleWidth = 40;
    s.sampleHeight = 15;
    s.gap = 3;
    s.x = 50;
    s.y = 50;
    s.fontSize = 10;
    legend = s;
    if (!copySamples) {
        setLegend(s);
        return;
    }
    std::vector<LegendRow> rows;
    for (int r = 0; r < kLegendRows; ++r)
        rows.push_back(LegendRow{palette.colors[r], palette.patterns[r], s.rows[r].text});
    setLegendRows(std::nullopt, std::move(rows));
}

bool MapSession::takeLegendSample(int row)
{
    if (!paintActive || selectedSlot < 0 || selectedSlot >= kPaintSlots || row < 0 || row >= legend.rowCount)
        return false;
    LegendSettings s = legend;
    s.rows[row].color = palette.colors[selectedSlot];
    s.rows[row].pattern = palette.patterns[selectedSlot];
    setLegend(s);
    return true;
}

void MapSession::legendToPalette()
{
    for (int r = 0; r < std::clamp(legend.rowCount, 1, kLegendRows); ++r) {
        palette.colors[r] = legend.rows[r].color;
        palette.patterns[r] = legend.rows[r].pattern;
    }
    emit changed();
}

void MapSession::setLegendMapShown(bool on)
{
    if (tools.legendMap == on)
        return;
    tools.legendMap = on;
    redraw();
    emit changed();
}

bool MapSession::readLegend(const std::string& path)
{
    const std::optional<LegendSettings> s = readLegendFile(path, legend, messages_);
    if (!s)
        return false;
    legendFile = path;
    setLegend(*s);
    return true;
}

bool MapSession::writeLegend(const std::string& path, const LegendSettings& s)
{
    legend = s;
    legend.clampToRanges();
    if (!writeLegendFile(path, legend, messages_))
        return false;
    legendFile = path;
    emit changed();
    return true;
}

void MapSession::startLegendDrag() { legendDragging = true; }

void MapSession::dragLegend(QPoint at)
{
    if (legendDragging)
        overlay.legendBox = QRect(at, legendBox.size());
}

void MapSession::dropLegend(QPoint at)
{
    if (!legendDragging)
        return;
    legendDragging = false;
    overlay.legendBox.reset();
    const QPoint p = legendPositionForDrop(at.x(), at.y(), view.imageSide);
    LegendSettings s = legend;
    s.x = p.x();
    s.y = p.y();
    setLegend(s);
}

} // namespace oboro
