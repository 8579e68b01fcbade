// The labels of the open map: the label table and the label window's operations, the
// label layer, the name-label generators and the labels-in-view list. Positions are
// kept in map units of the data, so a label stays on its place at every zoom and datum.
#include "app/mapsession.h"

#include "common/dms.h"
#include "common/numbers.h"
#include "labels/labelfile.h"
#include "view/navigation.h"

#include <algorithm>

namespace oboro {

namespace {

constexpr const char* kDegreesErrorTitle = "経緯度設定エラー";
constexpr const char* kUnitsErrorTitle = "X,Y座標設定エラー";
constexpr const char* kLabelCountTitle = "ラベル数エラー";

std::string trimmed(const std::string& s)
{
    const size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos)
        return {};
    const size_t b = s.find_last_not_of(" \t");
    return s.substr(a, b - a + 1);
}

std::string tableFullText()
{
    return "ラベルは " + std::to_string(kLabelCapacity) + " 行までです";
}

} // namespace

void MapSession::installLabelLayers()
{
    hooks.labels = [this](RenderContext& c) { labelPainter.draw(c.canvas, c.view, c.display, labels, labelControls.look); };
}

void MapSession::openLabelWindow()
{
    labelControls.windowOpened = true;
    labelControls.clearEnabled = true;
    emit changed();
}

void MapSession::resetLabelState()
{
    LabelControls& c = labelControls;
    c.moveRow = -1;
    c.changed = false;
    c.look.highlightRow = -1;
    c.allShown = true;
    c.files.clear();
    c.lonText.clear();
    c.latText.clear();
    c.placePending = false;
    c.editRow = -1;
    c.status = kLabelStatusIdle;
}

// ----------------------------------------------------------------------------- placing

bool MapSession::placeLabel()
{
    LabelControls& c = labelControls;
    if (!mapShown)
        return false;
    if (labels.count() >= kLabelCapacity) {
        messages_.show(tableFullText(), kLabelCountTitle, MessageIcon::Exclamation);
        return false;
    }
    int32_t x = 0, y = 0;
    switch (c.placement) {
    case LabelPlacement::Mouse:
        c.saveEnabled = c.clearEnabled = true;
        c.status = kLabelStatusClick;
        c.placePending = true;
        c.moveRow = -1;
        if (!switches.CBLabel)
            setSwitch(Switch::Labels, true);
        emit changed();
        return true;
    case LabelPlacement::Degrees: {
        if (trimmed(c.lonText).empty() || trimmed(c.latText).empty()) {
            messages_.show("経緯度が設定されておりません　　　", kDegreesErrorTitle, MessageIcon::Exclamation);
            return false;
        }
        const float lon = parseDms(trimmed(c.lonText));
        const float lat = lon < 0.0f ? -1.0f : parseDms(trimmed(c.latText));
        if (lon < 0.0f || lat < 0.0f) {
            messages_.show(kDmsErrorText, kDmsErrorTitle);
            return false;
        }
        if (lon < 120.0f || lon > 160.0f) {
            messages_.show("設定された経度は正しくありません　　　", kDegreesErrorTitle, MessageIcon::Exclamation);
            return false;
        }
        if (lat < 20.0f || lat > 60.0f) {
            messages_.show("設定された緯度は正しくありません　　　", kDegreesErrorTitle, MessageIcon::Exclamation);
            return false;
        }
        x = truncClamp((lon - 122.0f) * 10000.0f);
        y = truncClamp((lat - 24.0f) * 15000.0f);
        break;
    }
    case LabelPlacement::Units: {
        if (trimmed(c.lonText).empty() || trimmed(c.latText).empty()) {
            messages_.show("XまたはY座標が設定されておりません　　　", kUnitsErrorTitle, MessageIcon::Exclamation);
            return false;
        }
        const std::optional<int> ux = strictInt(c.lonText);
        const std::optional<int> uy = strictInt(c.latText);
        if (!ux || !uy) {
            messages_.show("X,Y座標は整数で指定してください", kUnitsErrorTitle, MessageIcon::Exclamation);
            return false;
        }
        x = *ux;
        y = *uy;
        break;
    }
    }
    LabelRow r;
    r.x = x;
    r.y = y;
    r.text = kNewLabelText;
    r.size = c.newSize;
    r.color = c.color;
    labels.append(r);
    c.saveEnabled = c.clearEnabled = true;
    c.editRow = labels.count() - 1;
    c.status = kLabelStatusType;
    c.changed = true;
    batch([&] { switches.CBLabel = true; });
    emit changed();
    return true;
}

bool MapSession::placeLabelAt(int px, int py)
{
    LabelControls& c = labelControls;
    if (!c.placePending)
        return false;
    c.placePending = false;
    if (labels.count() >= kLabelCapacity) {
        messages_.show(tableFullText(), kLabelCountTitle, MessageIcon::Exclamation);
        emit changed();
        return false;
    }
    // The point of the data that is drawn on the clicked pixel (datum shift undone).
    const QPoint at = PixelToDataUnits(view, px, py);
    LabelRow r;
    r.x = at.x();
    r.y = at.y();
    r.text = kNewLabelText;
    r.size = c.newSize;
    r.color = c.color;
    labels.append(r);
    c.editRow = labels.count() - 1;
    c.status = kLabelStatusType;
    c.changed = true;
    batch([&] { switches.CBLabel = true; });
    emit changed();
    return true;
}

void MapSession::startLabelMove(int row)
{
    if (!labels.valid(row))
        return;
    labelControls.moveRow = row;
    labelControls.saveEnabled = true;
    emit changed();
}

void MapSession::moveLabelTo(int px, int py)
{
    LabelControls& c = labelControls;
    if (c.placePending || !labels.valid(c.moveRow)) {
        c.moveRow = -1;
        return;
    }
    const QPoint at = PixelToDataUnits(view, px, py);
    labels.row(c.moveRow).x = at.x();
    labels.row(c.moveRow).y = at.y();
    c.moveRow = -1;
    c.changed = true;
    showLabels();
}

// ----------------------------------------------------------------------------- files

bool MapSession::readLabelFiles(const std::vector<std::string>& paths, bool additive)
{
    LabelControls& c = labelControls;
    std::vector<std::string> files = additive ? c.files : std::vector<std::string>{};
    std::vector<std::string> fresh;
    for (const std::string& p : paths)
        if (std::find(files.begin(), files.end(), p) == files.end()) {
            files.push_back(p);
            fresh.push_back(p);
        }
    if (files.size() > static_cast<size_t>(kLabelFileListCapacity)) {
        messages_.show("読み込めるラベルファイルは " + std::to_string(kLabelFileListCapacity) + " 個までです",
                       kLabelCountTitle, MessageIcon::Exclamation);
        return false;
    }
    // Every file is read before anything changes: one bad file keeps the table as it was.
    std::vector<LabelRow> rows = additive ? labels.rows() : std::vector<LabelRow>{};
    const size_t before = rows.size();
    for (const std::string& p : fresh) {
        LabelFileRead read = readLabelFile(p, LabelReadOptions{});
        if (!read.ok) {
            messages_.show(read.message);
            return false;
        }
        if (read.rows.size() > static_cast<size_t>(kLabelCapacity) - rows.size()) {
            messages_.show(tableFullText() + "\n" + p + " は読み込みません", kLabelCountTitle, MessageIcon::Exclamation);
            return false;
        }
        rows.insert(rows.end(), read.rows.begin(), read.rows.end());
    }
    labels.replace(std::move(rows));
    c.files = std::move(files);
    c.moveRow = -1;
    c.editRow = -1;
    c.look.highlightRow = -1;
    if (labels.empty()) {
        emit changed();
        messages_.show("ラベルデータはありませんでした　　　　　　", kLabelDataErrorTitle, MessageIcon::Exclamation);
        return false;
    }
    c.placeEnabled = c.clearEnabled = c.saveEnabled = true;
    c.look.marks = false;
    c.changed = c.changed || labels.count() != static_cast<int>(before);
    showLabels();
    return true;
}

bool MapSession::rereadLabelFiles()
{
    LabelControls& c = labelControls;
    if (c.files.empty()) {
        labels.clear();
        redraw();
        emit changed();
        return false;
    }
    std::vector<LabelRow> rows;
    for (const std::string& p : c.files) {
        LabelFileRead read = readLabelFile(p, LabelReadOptions{});
        if (!read.ok) {
            messages_.show(read.message);
            return false;
        }
        if (read.rows.size() > static_cast<size_t>(kLabelCapacity) - rows.size()) {
            messages_.show(tableFullText(), kLabelCountTitle, MessageIcon::Exclamation);
            return false;
        }
        rows.insert(rows.end(), read.rows.begin(), read.rows.end());
    }
    labels.replace(std::move(rows));
    c.moveRow = c.editRow = c.look.highlightRow = -1;
    c.clearEnabled = true;
    redraw();
    emit changed();
    return true;
}

bool MapSession::saveLabels(const std::string& path)
{
    LabelControls& c = labelControls;
    c.placePending = false;
    if (!writeLabelFile(path, labels, messages_)) {
        emit changed();
        return false;
    }
    c.saveEnabled = false;
    c.status = kLabelStatusIdle;
    emit changed();
    return true;
}

void MapSession::clearLabels()
{
    LabelControls& c = labelControls;
    labels.clear();
    c.moveRow = c.editRow = c.look.highlightRow = -1;
    c.saveEnabled = c.clearEnabled = false;
    c.rereadEnabled = true;
    redraw();
    emit changed();
}

void MapSession::deleteLabel(int row)
{
    LabelControls& c = labelControls;
    if (!labels.valid(row))
        return;
    labels.remove(row);
    for (int* r : {&c.moveRow, &c.editRow, &c.look.highlightRow}) {
        if (*r == row)
            *r = -1;
        else if (*r > row)
            --*r;
    }
    c.saveEnabled = true;
    showLabels();
}

// ----------------------------------------------------------------------------- look

void MapSession::setLabelColor(Color color)
{
    labelControls.color = color & 0xFFFFFFu;
    redraw();
    emit changed();
}

void MapSession::recolourLabel(int row)
{
    if (!labels.valid(row))
        return;
    labels.row(row).color = labelControls.color;
    redraw();
    emit changed();
}

void MapSession::recolourAllLabels()
{
    labels.setAllColor(labelControls.color);
    redraw();
    emit changed();
}

void MapSession::resizeAllLabels()
{
    labels.setAllSize(std::clamp(labelControls.newSize, kLabelMinNewSize, kLabelMaxNewSize));
    redraw();
    emit changed();
}

void MapSession::sortLabelsByText()
{
    labels.sortByText();
    labelControls.moveRow = labelControls.editRow = labelControls.look.highlightRow = -1;
    redraw();
    emit changed();
}

void MapSession::sortLabelsByFileNumber()
{
    labels.sortByFileNumber();
    labelControls.moveRow = labelControls.editRow = labelControls.look.highlightRow = -1;
    redraw();
    emit changed();
}

void MapSession::setAllLabelsShown(bool shown)
{
    labelControls.allShown = shown;
    labels.setAllShown(shown);
    redraw();
    emit changed();
}

void MapSession::toggleLabelShown(int row)
{
    if (!labels.valid(row))
        return;
    labels.row(row).shown = !labels.row(row).shown;
    redraw();
    emit changed();
}

bool MapSession::editLabel(int row, LabelColumn column, const std::string& typed)
{
    if (!labels.valid(row))
        return false;
    if (const std::optional<std::string> why = editLabelCell(labels.row(row), column, typed)) {
        messages_.show(*why, kLabelEditTitle, MessageIcon::Exclamation);
        return false;
    }
    labelControls.changed = true;
    labelControls.saveEnabled = true;
    if (row == labelControls.editRow && column == LabelColumn::Text)
        labelControls.editRow = -1;
    redraw(); // the map shows the typed change at once
    return true;
}

void MapSession::setLabelLook(const LabelLook& look)
{
    labelControls.look = look;
    redraw();
    emit changed();
}

void MapSession::showLabels()
{
    LabelControls& c = labelControls;
    c.status = kLabelStatusIdle;
    c.placePending = false;
    c.changed = false;
    batch([&] { switches.CBLabel = true; });
    emit changed();
}

void MapSession::hideLabels()
{
    batch([&] { switches.CBLabel = false; });
    emit changed();
}

void MapSession::highlightLabel(int row)
{
    labelControls.look.highlightRow = labels.valid(row) ? row : -1;
    redraw();
    emit changed();
}

void MapSession::centreOnLabel(int row)
{
    if (!labels.valid(row) || !mapShown || viewLocked())
        return;
    const QPoint p = MapToPixel(view, labels.row(row).x, labels.row(row).y);
    oboro::centreAt(view, p.x(), p.y());
    labelControls.look.highlightRow = row;
    redraw();
    labelControls.look.highlightRow = -1;
    emit changed();
}

// ----------------------------------------------------------------------------- names as labels

bool MapSession::writeNamesAsLabels(const std::string& path, bool preMerger)
{
    if (!mapShown)
        return false;
    const std::vector<std::string> lines =
        preMerger ? preMergerNamesInViewLines(store, view) : namesInViewLines(store, view);
    return writeGeneratedLabelFile(path, lines, messages_);
}

// ----------------------------------------------------------------------------- labels in view

void MapSession::fillLabelsInView()
{
    labelsInView = labelsInExtent(labels, store.extent);
    emit changed();
}

void MapSession::sortLabelsInView()
{
    std::stable_sort(labelsInView.begin(), labelsInView.end(),
                     [](const LabelRow& a, const LabelRow& b) { return labelTextLess(a.text, b.text); });
    emit changed();
}

bool MapSession::editLabelInView(int row, LabelColumn column, const std::string& typed)
{
    if (row < 0 || row >= static_cast<int>(labelsInView.size()))
        return false;
    if (column == LabelColumn::Shown) {
        labelsInView[static_cast<size_t>(row)].shown = trimmed(typed) == kLabelShownMark;
        return true;
    }
    if (const std::optional<std::string> why = editLabelCell(labelsInView[static_cast<size_t>(row)], column, typed)) {
        messages_.show(*why, kLabelEditTitle, MessageIcon::Exclamation);
        return false;
    }
    return true;
}

void MapSession::toggleLabelInView(int row)
{
    if (row < 0 || row >= static_cast<int>(labelsInView.size()))
        return;
    LabelRow& item = labelsInView[static_cast<size_t>(row)];
    item.shown = !item.shown;
    const int at = labels.findPosition(item.x, item.y);
    if (at >= 0) {
        LabelRow& r = labels.row(at);
        r.mark = item.mark;
        r.size = item.size;
        r.shown = item.shown;
    }
    showLabels();
}

void MapSession::rebuildLabelsFromList()
{
    rebuildFromList(labels, labelsInView);
    labelControls.moveRow = labelControls.editRow = labelControls.look.highlightRow = -1;
    showLabels();
}

void MapSession::toggleAllLabelsInView()
{
    for (LabelRow& r : labelsInView)
        r.shown = !labelsInViewHideNext;
    labelsInViewHideNext = !labelsInViewHideNext;
    rebuildLabelsFromList();
}

} // namespace oboro
