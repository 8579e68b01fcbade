// Paint files, paint by name and data paint: ways of filling the paint record table
// other than clicking. All of them make ordinary paint records, so their paint is
// replayed, undone and saved like clicked paint.
#include "app/mapsession.h"

#include "common/paths.h"
#include "common/textfile.h"
#include "mapdata/rawtext.h"

#include <QFileInfo>
#include <algorithm>
#include <set>

namespace oboro {

namespace {

std::string fileNameOf(const std::string& path) { return QFileInfo(QString::fromStdString(path)).fileName().toStdString(); }

bool endsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// A record at a name position belongs to the map that has that name.
void anchorAtNamePositions(std::vector<PaintRecord>& records, const MapStore& store)
{
    std::set<std::pair<int32_t, int32_t>> marks;
    for (const NameTable* t : {&store.commonNames, &store.newNames, &store.oldNames})
        for (const NameEntry& e : t->entries)
            marks.emplace(e.x, e.y);
    for (PaintRecord& r : records)
        if (marks.count({r.x, r.y})) {
            r.anchored = true;
            r.anchorX = r.x;
            r.anchorY = r.y;
        }
}

} // namespace

std::string paintNameListPath() { return programPath("\\mapdata\\paintlist.lst"); }

void MapSession::finishFilePaint()
{
    // The paint is shown through the replay, as after ペイント終了.
    if (paintActive) {
        endPaint();
        return;
    }
    tools.paintReplay = true;
    tools.paintShow = paintOptions.show = true;
    redraw();
    emit changed();
}

bool MapSession::savePaintFile(const std::string& path, bool colorsOnly)
{
    PaintFile f;
    f.background = paintOptions.whiteBackground ? kWhite : display.SavedBackColor;
    f.palette = palette;
    if (!colorsOnly)
        f.records = paintRecords.records();
    paintFileName = fileNameOf(path);
    const TextFileStatus st = writeSjisFile(path, paintFileLines(f, colorsOnly));
    if (st != TextFileStatus::Ok) {
        messages_.show(textFileErrorMessage(st, path), "ペイントファイル保存", MessageIcon::Exclamation);
        return false;
    }
    emit changed();
    return true;
}

bool MapSession::loadPaintFile(const std::string& path, bool colorsOnly, bool append)
{
    const std::optional<std::string> bytes = readWholeFile(path);
    PaintFile f;
    std::string error;
    if (!bytes)
        error = "ペイントファイル " + path + " を読めません";
    else
        parsePaintFile(*bytes, fileNameOf(path), colorsOnly, f, error);
    if (!error.empty()) {
        messages_.show(error, "ペイントファイル読込", MessageIcon::Exclamation);
        return false;
    }
    std::vector<PaintRecord> records;
    if (!colorsOnly) {
        if (append)
            records = paintRecords.records();
        anchorAtNamePositions(f.records, store);
        records.insert(records.end(), f.records.begin(), f.records.end());
        if (records.size() > static_cast<size_t>(kPaintRecordCapacity)) {
            messages_.show(kPaintTableFullText, kPaintErrorTitle, MessageIcon::Exclamation);
            return false;
        }
    }
    paintFileName = fileNameOf(path);
    const bool was = switches.drawingEnabled;
    switches.drawingEnabled = false;
    const bool white = f.background == kWhite;
    paintOptions.whiteBackground = white;
    if (!white)
        display.SavedBackColor = f.background;
    setWhiteBackground(white || paintActive);
    palette = f.palette;
    if (!colorsOnly) {
        paintRecords.clear();
        for (const PaintRecord& r : records)
            paintRecords.add(r);
    }
    switches.drawingEnabled = was;
    finishFilePaint();
    return true;
}

// ----------------------------------------------------------------------------- by name

const std::vector<std::string>& MapSession::buildPaintNameList()
{
    paintNameList.clear();
    const auto inView = [&](int32_t x, int32_t y) {
        const QPoint p = MapToPixel(view, x, y);
        return p.x() > 0 && p.x() < view.imageSide && p.y() > 0 && p.y() < view.imageSide;
    };
    std::vector<const NameEntry*> rows;
    for (const NameTable* t : {&store.commonNames, switches.CBNTownBorder ? &store.oldNames : &store.newNames})
        for (const NameEntry& e : t->entries)
            if (inView(e.x, e.y))
                rows.push_back(&e);
    std::vector<bool> used(store.duplicateNames.size(), false);
    std::set<std::string> names;
    for (const NameEntry* e : rows) {
        std::string name = e->name;
        for (size_t i = 0; i < store.duplicateNames.size(); ++i) {
            const DuplicateNameEntry& d = store.duplicateNames[i];
            if (used[i] || d.name != e->name)
                continue;
            used[i] = true;
            const bool selected = std::find(store.selectedAreas.begin(), store.selectedAreas.end(), d.area) !=
                                  store.selectedAreas.end();
            if (inView(d.x, d.y) && selected)
                name += "(" + d.cityName + ")";
            break;
        }
        names.insert(name);
    }
    // Sorted as the list box shows them: in Shift-JIS order.
    paintNameList.assign(names.begin(), names.end());
    std::sort(paintNameList.begin(), paintNameList.end(), [](const std::string& a, const std::string& b) {
        return utf8ToSjis(a).value_or(a) < utf8ToSjis(b).value_or(b);
    });
    const TextFileStatus st = writeSjisFile(paintNameListPath(), paintNameList);
    if (st != TextFileStatus::Ok)
        messages_.show(textFileErrorMessage(st, paintNameListPath()), "ペイント", MessageIcon::Exclamation);
    emit changed();
    return paintNameList;
}

bool MapSession::paintAtNamePosition(int32_t x, int32_t y)
{
    if (paintRecords.full()) {
        messages_.show(kPaintTableFullText, kPaintErrorTitle, MessageIcon::Exclamation);
        return false;
    }
    const QPoint p = MapToPixel(view, x, y);
    const std::optional<Color> under = canvas.pixel(p.x(), p.y());
    if (!under || *under == display.CoastColor)
        return true; // on the coast or outside the picture: nothing to fill, nothing recorded
    PaintRecord r;
    r.x = x;
    r.y = y;
    r.color = palette.colors[selectedSlot];
    r.pattern = palette.patterns[selectedSlot];
    r.anchored = true;
    r.anchorX = x;
    r.anchorY = y;
    regionFill(canvas, p.x(), p.y(), r.color, r.pattern, *under);
    paintRecords.add(r);
    return true;
}

int MapSession::paintByName(const std::string& chosen)
{
    if (!paintActive || chosen.empty())
        return 0;
    if (selectedSlot < 0 || selectedSlot >= kPaintSlots) {
        messages_.show(kNoSlotText, kPaintErrorTitle, MessageIcon::Exclamation);
        return 0;
    }
    std::string name = chosen;
    std::string qualifier;
    const size_t open = chosen.find('(');
    if (open != std::string::npos && endsWith(chosen, ")")) {
        name = chosen.substr(0, open);
        qualifier = chosen.substr(open + 1, chosen.size() - open - 2);
    }
    // The fill starts at the name position: the names must not be over the paint, and
    // wards need their solid borders.
    const bool namesOver = paintOptions.namesOverPaint;
    paintOptions.namesOverPaint = false;
    if (display.CBKuDot && endsWith(name, "区"))
        display.CBKuDot = false;
    redraw();
    const int before = paintRecords.count();
    bool room = true;
    auto at = [&](int32_t x, int32_t y) {
        if (room)
            room = paintAtNamePosition(x, y);
    };
    if (!qualifier.empty()) {
        // A duplicate name: only the one of that county or city.
        for (const DuplicateNameEntry& d : store.duplicateNames)
            if (d.name == name && d.cityName == qualifier)
                at(d.x, d.y);
    } else {
        for (const NameEntry& e : store.commonNames.entries)
            if (e.name == name)
                at(e.x, e.y);
        for (const DesignatedCityEntry& c : store.designatedCities) {
            if (c.name != name)
                continue;
            // A designated city is all of its wards.
            bool wards = false;
            for (const MunicipalityCode& w : store.municipalityCodes)
                if (w.kind == 'W' && w.city == name && w.area == c.area) {
                    at(w.x, w.y);
                    wards = true;
                }
            if (!wards)
                at(c.x, c.y);
        }
        for (const NameEntry& e : (switches.CBNTownBorder ? store.oldNames : store.newNames).entries)
            if (e.name == name)
                at(e.x, e.y);
    }
    if (namesOver) {
        paintOptions.namesOverPaint = true;
        redraw();
    } else {
        emit drawn(lastDraw);
    }
    emit changed();
    return paintRecords.count() - before;
}

// ----------------------------------------------------------------------------- data paint

std::optional<DataPaintOutcome> MapSession::dataPaint(const std::string& path, int classes, ClassMethod method)
{
    const std::optional<std::string> bytes = readWholeFile(path);
    DataPaintFile file;
    Message error;
    if (!bytes)
        error = Message{"データファイル " + path + " を読めません", kDataErrorTitle, MessageIcon::Exclamation};
    else
        parseDataPaintFile(*bytes, fileNameOf(path), file, error);
    if (!error.text.empty()) {
        messages_.show(error);
        return std::nullopt;
    }
    DataPaintOutcome out;
    std::vector<PaintRecord> records;
    bool solidWards = false;
    PaintPalette newPalette = palette;
    if (file.kind == DataPaintFile::Kind::Points) {
        // The first eight colour-and-pattern pairs go into the slots.
        int filled = 0;
        for (const PointPaint& p : file.points) {
            PaintRecord r;
            r.x = p.x;
            r.y = p.y;
            r.color = p.color;
            r.pattern = p.pattern;
            records.push_back(r);
            bool known = false;
            for (int s = 0; s < filled; ++s)
                known = known || (newPalette.colors[s] == p.color && newPalette.patterns[s] == p.pattern);
            if (!known && filled < kPaintSlots) {
                newPalette.colors[filled] = p.color;
                newPalette.patterns[filled] = p.pattern;
                ++filled;
            }
        }
    } else {
        // A choropleth: each municipality in the slot of its class, at its name positions.
        std::vector<std::pair<const StatisticRow*, RowTarget>> matched;
        std::vector<double> values;
        int decimals = 0;
        for (const StatisticRow& row : file.rows) {
            if (!row.hasValue) {
                out.unmatched.push_back(std::to_string(row.line) + " 行目 " + row.key + "（値が数値ではありません）");
                continue;
            }
            RowTarget t = findRowTarget(row, file.kind, store.municipalityCodes);
            if (!t.problem.empty()) {
                out.unmatched.push_back(std::to_string(row.line) + " 行目 " + row.key + "（" + t.problem + "）");
                continue;
            }
            values.push_back(row.value);
            decimals = std::max(decimals, row.decimals);
            matched.emplace_back(&row, std::move(t));
        }
        if (values.empty()) {
            std::string text = "データファイル " + fileNameOf(path) + " に塗れる行がありません";
            if (store.municipalityCodes.empty())
                text += "\n\n地図データに市区町村コードの一覧 (CODES.TXT) がありません";
            messages_.show(text, kDataErrorTitle, MessageIcon::Exclamation);
            return std::nullopt;
        }
        const std::vector<double> bounds = classBounds(values, classes, method);
        bool wards = false;
        out.classes = classRows(bounds, decimals, palette);
        for (const auto& [row, target] : matched) {
            const int k = classOf(row->value, bounds);
            bool shown = false;
            for (const MunicipalityCode* place : target.places) {
                if (std::find(store.selectedAreas.begin(), store.selectedAreas.end(), place->area) ==
                    store.selectedAreas.end())
                    continue;
                PaintRecord r;
                r.x = r.anchorX = place->x;
                r.y = r.anchorY = place->y;
                r.anchored = true;
                r.color = palette.colors[k];
                r.pattern = palette.patterns[k];
                records.push_back(r);
                shown = true;
                wards = wards || place->kind == 'W';
            }
            if (!shown)
                ++out.elsewhere;
        }
        solidWards = wards;
    }
    if (records.size() > static_cast<size_t>(kPaintRecordCapacity)) {
        messages_.show(kPaintTableFullText, kPaintErrorTitle, MessageIcon::Exclamation);
        return std::nullopt;
    }
    paintFileName = fileNameOf(path);
    palette = newPalette;
    if (solidWards)
        display.CBKuDot = false; // each ward in its own class: the ward borders close them
    paintRecords.clear();
    for (const PaintRecord& r : records)
        paintRecords.add(r);
    out.painted = paintRecords.count();
    finishFilePaint();
    if (!out.classes.empty()) {
        // The classes become the legend, one row per class, titled with the file's name.
        std::vector<LegendRow> rows;
        for (const ClassRow& c : out.classes)
            rows.push_back(LegendRow{c.color, c.pattern, c.text});
        setLegendRows(QFileInfo(QString::fromStdString(path)).completeBaseName().toStdString(), std::move(rows));
    }
    if (!out.unmatched.empty()) {
        // Every row that painted nothing, in one message.
        std::string text = "次の " + std::to_string(out.unmatched.size()) + " 行は市区町村に当たらず，塗っていません：";
        const size_t shownRows = std::min<size_t>(out.unmatched.size(), 30);
        for (size_t i = 0; i < shownRows; ++i)
            text += "\n" + out.unmatched[i];
        if (shownRows < out.unmatched.size())
            text += "\nほか " + std::to_string(out.unmatched.size() - shownRows) + " 行";
        messages_.show(text, "データペイント", MessageIcon::Exclamation);
    }
    return out;
}

} // namespace oboro
