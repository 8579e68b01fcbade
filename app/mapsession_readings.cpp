// The readings of the open map: the readings table, the reading of the name under the
// pointer (読み), the readings written on the map (読みがな地図) and the name list with its
// editing. The hover reading and the list's highlight are overlays over the cached picture.
#include "app/mapsession.h"

#include <algorithm>
#include <cmath>

namespace oboro {

namespace {

constexpr Color kHighlightBrush = 0x00FFFF; // yellow

// The edited readings carried into a rebuilt list: same name at the same anchor.
void carryEdits(std::vector<NameListRow>& rows, const std::vector<NameListRow>& edits)
{
    for (NameListRow& r : rows)
        for (const NameListRow& e : edits)
            if (e.name == r.name && e.x == r.x && e.y == r.y)
                r.reading = e.reading;
}

} // namespace

void MapSession::installReadingsLayer()
{
    hooks.readings = [this](RenderContext& ctx) {
        std::optional<std::vector<NameListRow>> rows =
            oboro::buildNameList(ctx.store, ctx.view, ctx.switches, nameListOptions, readings);
        if (!rows)
            return; // too many names: 読みがな地図 has said so
        carryEdits(*rows, nameListEdits_);
        readingsPainter_.draw(ctx.canvas, ctx.display,
                         placeReadings(*rows, ctx.view, ctx.display, ctx.switches, readingsLook, ctx.tools.kanaOnly));
    };
}

void MapSession::readingsSwitched(bool on)
{
    if (on)
        switches.CBMainDoubleName = false;
    tools.readingsMap = false;
    overlay.hoverReading.reset();
    overlay.nameHighlight.clear();
    readingsPanel = {};
}

void MapSession::loadReadings(const std::string& path)
{
    readingsPath = path;
    readReadingsFile(path, readings, messages_);
}

bool MapSession::toggleReadingsMap()
{
    if (!buildNameList())
        return false;
    overlay.hoverReading.reset();
    if (tools.readingsMap) {
        tools.readingsMap = false;
        readingsLook.onMap = true;
    } else {
        tools.readingsMap = true;
        readingsLook.onMap = false;
    }
    redraw();
    emit changed();
    return true;
}

void MapSession::setReadingsSize(int size)
{
    readingsLook.size = std::clamp(size, 5, 50);
    if (tools.readingsMap)
        redraw();
}

void MapSession::setReadingsFixedSize(bool on)
{
    readingsLook.fixedSize = on;
    if (tools.readingsMap)
        redraw();
}

void MapSession::setKanaOnly(bool on)
{
    tools.kanaOnly = on;
    redraw();
}

void MapSession::setReadingsOnMap(bool on)
{
    readingsLook.onMap = on;
    if (!on)
        overlay.hoverReading.reset();
}

void MapSession::setKanaColor(Color c)
{
    display.KanaFontColor = c;
    if (tools.readingsMap)
        redraw();
    emit changed();
}

void MapSession::readingsHover(QPoint pixel)
{
    if (!switches.CBYomi || !mapShown)
        return;
    overlay.hoverReading.reset();
    const std::optional<NameHit> hit = nameUnderPointer(store, view, display, switches, pixel);
    if (!hit) {
        readingsPanel = {};
        return;
    }
    const QPoint at = PixelToDataUnits(view, pixel.x(), pixel.y());
    const ReadingRecord* rec = readings.find(hit->name, at.x(), at.y(), 1000, false);
    const bool hasReading = rec && !rec->reading.empty();
    readingsPanel.state = hasReading ? ReadingsPanel::State::Found : ReadingsPanel::State::NoReading;
    readingsPanel.name = hit->name;
    readingsPanel.kind = hit->kindText;
    readingsPanel.reading = hasReading ? splitReading(rec->reading) : std::string();
    if (hasReading && readingsLook.onMap && view.scaleX > 0.0f) {
        // Just above the name's label, in a size relative to the names'.
        const float r = static_cast<float>(readingsLook.size) / static_cast<float>(std::max(1, display.TownFontSize));
        const int size = static_cast<int>(static_cast<float>(readingsLook.size) * r);
        const QPoint p = MapToPixel(
            view, hit->x, static_cast<int32_t>(std::trunc(static_cast<float>(hit->y) + r * 16.0f / view.scaleX)));
        overlay.hoverReading = PlacedText{p, rec->reading, size, display.KanaFontColor, display.BackColor};
    }
}

bool MapSession::buildNameList()
{
    std::optional<std::vector<NameListRow>> rows =
        oboro::buildNameList(store, view, switches, nameListOptions, readings, nameList);
    if (!rows) {
        messages_.show(kTooManyNamesText, kReadingsErrorTitle, MessageIcon::Exclamation);
        return false;
    }
    carryEdits(*rows, nameListEdits_);
    sortNameList(*rows, nameListOptions.order, nameListOptions.reverse);
    nameList = std::move(*rows);
    overlay.nameHighlight.clear();
    emit changed();
    return true;
}

bool MapSession::openNameList()
{
    if (!mapShown)
        return false;
    if (!switches.CBYomi)
        setSwitch(Switch::Readings, true);
    return buildNameList();
}

void MapSession::setNameListOrder(NameListOrder order)
{
    nameListOptions.order = order;
    buildNameList();
}

void MapSession::setNameListReverse(bool on)
{
    nameListOptions.reverse = on;
    buildNameList();
}

void MapSession::setNameListExcludeOld(bool on)
{
    nameListOptions.excludeOld = on;
    setSwitch(Switch::PreMergerBorders, !on);
    buildNameList();
}

void MapSession::highlightNameListRow(int row)
{
    overlay.nameHighlight.clear();
    if (row < 0 || row >= static_cast<int>(nameList.size()) || !(view.scaleX > 0.0f))
        return;
    const NameListRow& r = nameList[static_cast<size_t>(row)];
    display.updateTownFontPixels(view.imageSide);
    const int size = display.TownFontPixels;
    const QPoint anchor = MapToPixel(view, r.x, r.y);
    if (tools.kanaOnly) {
        overlay.nameHighlight.push_back(PlacedText{anchor, r.reading, size, display.KanaFontColor, kHighlightBrush});
    } else {
        overlay.nameHighlight.push_back(PlacedText{anchor, r.name, size, display.TownFontColor, kHighlightBrush});
        if (readingsLook.kanaHighlight) {
            const float q = static_cast<float>(size) / static_cast<float>(std::max(1, display.TownFontSize));
            const QPoint above = MapToPixel(
                view, r.x, static_cast<int32_t>(std::trunc(static_cast<float>(r.y) + q * 14.0f / view.scaleX)));
            overlay.nameHighlight.push_back(PlacedText{above, r.reading, size, display.KanaFontColor, kHighlightBrush});
        }
    }
    readingsPanel.state = r.reading.empty() ? ReadingsPanel::State::NoReading : ReadingsPanel::State::Found;
    readingsPanel.name = r.name;
    readingsPanel.kind = r.kind;
    readingsPanel.reading = splitReading(r.reading);
}

bool MapSession::setNameListReading(int row, const std::string& reading)
{
    if (row < 0 || row >= static_cast<int>(nameList.size()))
        return false;
    NameListRow& r = nameList[static_cast<size_t>(row)];
    if (r.reading == reading)
        return true;
    const std::string problem = readingLineProblem(ReadingRecord{r.x, r.y, r.name, reading});
    if (!problem.empty()) {
        messages_.show(problem, kReadingsErrorTitle, MessageIcon::Exclamation);
        return false;
    }
    r.reading = reading;
    nameListEdited = true;
    bool known = false;
    for (NameListRow& e : nameListEdits_)
        if (e.name == r.name && e.x == r.x && e.y == r.y) {
            e.reading = reading;
            known = true;
        }
    if (!known)
        nameListEdits_.push_back(r);
    if (tools.readingsMap)
        redraw();
    return true;
}

bool MapSession::saveReadings()
{
    if (!writeReadingsFile(readingsPath, mergeNameList(readings.records(), nameList), messages_))
        return false; // the edits stay in the list and can be saved again
    nameListEdits_.clear();
    nameListEdited = false;
    readReadingsFile(readingsPath, readings, messages_);
    emit changed();
    return true;
}

bool MapSession::exportNameList(const std::string& path)
{
    return oboro::exportNameList(path, nameList, messages_);
}

} // namespace oboro
