#include "names/readings.h"

#include "common/textfile.h"
#include "mapdata/rawtext.h"
#include "view/borders.h"
#include "view/names.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace oboro {

namespace {

std::string fileNameOf(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

bool within(int32_t a, int32_t b, int32_t tolerance, bool inclusive)
{
    const int64_t d = std::llabs(static_cast<int64_t>(a) - b);
    return inclusive ? d <= tolerance : d < tolerance;
}

bool sjisLess(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
}

bool hasBlankOrComma(std::string_view s)
{
    return s.find_first_of(", \t\r\n") != std::string_view::npos;
}

std::string formatRecord(const ReadingRecord& r)
{
    return std::to_string(r.x) + "," + std::to_string(r.y) + "," + r.name + "," + r.reading;
}

} // namespace

// ----------------------------------------------------------------------------- table

void ReadingsTable::assign(std::vector<ReadingRecord> records)
{
    records_ = std::move(records);
    byName_.clear();
    byName_.reserve(records_.size());
    for (size_t i = 0; i < records_.size(); ++i)
        byName_.emplace(records_[i].name, i);
}

const ReadingRecord* ReadingsTable::find(std::string_view name, int32_t x, int32_t y, int32_t tolerance,
                                         bool inclusive) const
{
    const ReadingRecord* first = nullptr;
    auto [from, to] = byName_.equal_range(std::string(name));
    for (auto it = from; it != to; ++it) {
        const ReadingRecord& r = records_[it->second];
        if (within(r.x, x, tolerance, inclusive) && within(r.y, y, tolerance, inclusive)
            && (!first || &r < first))
            first = &r;
    }
    return first;
}

// ----------------------------------------------------------------------------- file

std::vector<ReadingRecord> parseReadings(std::string_view bytes, const std::string& fileName, MessageSink& sink)
{
    std::vector<ReadingRecord> out;
    LineProblems problems;
    RawLines lines(bytes);
    std::string_view line;
    while (lines.next(line)) {
        if (line.empty())
            continue;
        if (static_cast<int>(out.size()) >= kReadingsCapacity) {
            problems.add(lines.number(), "4000 件を超えた分は読み込みません");
            break;
        }
        if (line.size() > kReadingsLineBytes) {
            problems.add(lines.number(), "長すぎます（99 バイトまで）");
            continue;
        }
        const RawFields f(line);
        if (f.count() < 3) {
            problems.add(lines.number(), "項目が足りません");
            continue;
        }
        const std::optional<int32_t> x = parseInt32(f[0]);
        const std::optional<int32_t> y = parseInt32(f[1]);
        if (!x || !y) {
            problems.add(lines.number(), "位置が数値ではありません");
            continue;
        }
        std::optional<std::string> name = sjisToUtf8(f[2]);
        std::optional<std::string> reading = sjisToUtf8(f[3]);
        if (!name || !reading) {
            problems.add(lines.number(), "文字コードが Shift-JIS ではありません");
            continue;
        }
        ReadingRecord record{*x, *y, std::move(*name), std::move(*reading)};
        // A record is taken only if it can be saved again as it is: a 99-byte line without
        // its reading field would grow by the written empty field, and the writer refuses
        // control characters.
        const std::string problem = readingLineProblem(record);
        if (!problem.empty()) {
            problems.add(lines.number(), problem);
            continue;
        }
        out.push_back(std::move(record));
    }
    problems.flush(fileName, sink);
    return out;
}

void readReadingsFile(const std::string& path, ReadingsTable& table, MessageSink& sink)
{
    if (!QFileInfo::exists(QString::fromStdString(path))) {
        table.assign({});
        sink.show(kReadingsMissingText, kReadingsMissingTitle, MessageIcon::Exclamation);
        return;
    }
    const std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes) {
        table.assign({});
        sink.show(textFileErrorMessage(TextFileStatus::ReadError, path), kReadingsErrorTitle, MessageIcon::Exclamation);
        return;
    }
    table.assign(parseReadings(*bytes, fileNameOf(path), sink));
}

std::string readingLineProblem(const ReadingRecord& r)
{
    if (r.name.empty())
        return "市区町村名がありません";
    if (hasBlankOrComma(r.name) || hasBlankOrComma(r.reading))
        return r.name + " の読みがなに空白やコンマは使えません";
    const auto control = [](const std::string& v) {
        return std::any_of(v.begin(), v.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
    };
    if (control(r.name) || control(r.reading))
        return r.name + " の読みがなに制御文字は使えません";
    const std::optional<std::string> sjis = utf8ToSjis(formatRecord(r));
    if (!sjis)
        return r.name + " の読みがなに Shift-JIS で書けない文字があります";
    if (sjis->size() > kReadingsLineBytes)
        return r.name + " の読みがなが長すぎます（1 行 99 バイトまで）";
    return {};
}

bool writeReadingsFile(const std::string& path, const std::vector<ReadingRecord>& records, MessageSink& sink)
{
    if (static_cast<int>(records.size()) > kReadingsCapacity) {
        sink.show("読みがなは 4000 件までしか保存できません", kReadingsErrorTitle, MessageIcon::Exclamation);
        return false;
    }
    std::vector<std::string> lines;
    lines.reserve(records.size());
    for (const ReadingRecord& r : records) {
        const std::string problem = readingLineProblem(r);
        if (!problem.empty()) {
            sink.show(problem + "。保存しませんでした", kReadingsErrorTitle, MessageIcon::Exclamation);
            return false;
        }
        lines.push_back(formatRecord(r));
    }
    int bad = 0;
    const TextFileStatus st = writeSjisFile(path, lines, &bad);
    if (st != TextFileStatus::Ok) {
        sink.show(textFileErrorMessage(st, path, bad), kReadingsErrorTitle, MessageIcon::Exclamation);
        return false;
    }
    return true;
}

std::string splitReading(std::string_view reading)
{
    static const char* const endings[] = {"し", "く", "まち", "ちょう", "むら", "そん"};
    for (const char* e : endings) {
        const std::string_view end(e);
        if (reading.size() >= end.size() && reading.substr(reading.size() - end.size()) == end)
            return std::string(reading.substr(0, reading.size() - end.size())) + " - " + std::string(end);
    }
    return std::string(reading);
}

// ----------------------------------------------------------------------------- name list

namespace {

bool inPicture(const ViewState& v, int32_t x, int32_t y)
{
    const QPoint p = MapToPixel(v, x, y);
    return p.x() >= 0 && p.y() >= 0 && p.x() <= v.imageSide && p.y() <= v.imageSide;
}

// The duplicate-name list records by name, for "a record of the same name within 2000
// map units" (strictly).
class DuplicateIndex {
public:
    explicit DuplicateIndex(const std::vector<DuplicateNameEntry>& list)
    {
        for (const DuplicateNameEntry& e : list)
            byName_.emplace(e.name, &e);
    }
    bool covers(const std::string& name, int32_t x, int32_t y) const
    {
        auto [from, to] = byName_.equal_range(name);
        for (auto it = from; it != to; ++it)
            if (within(it->second->x, x, 2000, false) && within(it->second->y, y, 2000, false))
                return true;
        return false;
    }

private:
    std::unordered_multimap<std::string, const DuplicateNameEntry*> byName_;
};

} // namespace

std::optional<std::vector<NameListRow>> buildNameList(const MapStore& store, const ViewState& view,
                                                      const MainSwitches& sw, const NameListOptions& opt,
                                                      const ReadingsTable& readings,
                                                      const std::vector<NameListRow>& previous)
{
    if (!sw.CBTownName && store.selectedAreas.size() >= 21)
        return previous;
    const auto selected = [&](int area) {
        return std::find(store.selectedAreas.begin(), store.selectedAreas.end(), area) != store.selectedAreas.end();
    };
    std::vector<NameListRow> rows;
    const auto full = [&] { return static_cast<int>(rows.size()) >= kNameListCapacity; };
    const auto add = [&](int32_t x, int32_t y, const char* kind, const std::string& name) {
        rows.push_back(NameListRow{x, y, kind, name, {}});
    };

    for (const DesignatedCityEntry& e : store.designatedCities) {
        if (e.flag == 1 || !selected(e.area) || !inPicture(view, e.x, e.y))
            continue;
        if (full())
            return std::nullopt;
        add(e.x, e.y, "政", e.name);
    }
    for (const DuplicateNameEntry& e : store.duplicateNames) {
        if (!selected(e.area))
            continue;
        if (full())
            return std::nullopt;
        if (inPicture(view, e.x, e.y))
            add(e.x, e.y, "重", e.name);
    }
    const DuplicateIndex duplicates(store.duplicateNames);
    for (const NameEntry& e : store.commonNames.entries) {
        if (e.mark != 's' || !inPicture(view, e.x, e.y) || duplicates.covers(e.name, e.x, e.y))
            continue;
        if (full())
            return std::nullopt;
        add(e.x, e.y, "", e.name);
    }
    const auto table = [&](const NameTable& t, const char* kind) {
        for (const NameEntry& e : t.entries) {
            if (e.mark != 's' || !inPicture(view, e.x, e.y))
                continue;
            if (full())
                return false;
            add(e.x, e.y, kind, e.name);
        }
        return true;
    };
    if (!table(store.newNames, "新"))
        return std::nullopt;
    if (!opt.excludeOld && !table(store.oldNames, "旧"))
        return std::nullopt;

    for (NameListRow& r : rows)
        if (const ReadingRecord* rec = readings.find(r.name, r.x, r.y, 1000, true))
            r.reading = rec->reading;
    return rows;
}

void sortNameList(std::vector<NameListRow>& rows, NameListOrder order, bool reverse)
{
    // Keys as Shift-JIS bytes, compared as unsigned bytes (code order).
    std::vector<std::string> keys;
    keys.reserve(rows.size());
    for (const NameListRow& r : rows) {
        const std::string& text = order == NameListOrder::Reading ? r.reading
                                  : order == NameListOrder::Name  ? r.name
                                                                  : r.kind;
        keys.push_back(utf8ToSjis(text).value_or(text));
    }
    // Kinds go descending unless reversed (政, 新, 重, 旧, then the plain names); readings
    // and names ascending unless reversed.
    const bool descending = (order == NameListOrder::Kind) != reverse;
    // An exchange sort: each place takes the smallest (largest) of the rest in turn,
    // swapping whenever a later row is strictly out of order.
    std::vector<size_t> idx(rows.size());
    for (size_t i = 0; i < idx.size(); ++i)
        idx[i] = i;
    for (size_t i = 0; i < idx.size(); ++i)
        for (size_t j = i + 1; j < idx.size(); ++j) {
            const std::string& a = keys[idx[i]];
            const std::string& b = keys[idx[j]];
            if (descending ? sjisLess(a, b) : sjisLess(b, a))
                std::swap(idx[i], idx[j]);
        }
    std::vector<NameListRow> sorted;
    sorted.reserve(rows.size());
    for (size_t i : idx)
        sorted.push_back(std::move(rows[i]));
    rows = std::move(sorted);
}

std::vector<ReadingRecord> mergeNameList(std::vector<ReadingRecord> records, const std::vector<NameListRow>& rows)
{
    std::unordered_multimap<std::string, size_t> byName;
    for (size_t i = 0; i < records.size(); ++i)
        byName.emplace(records[i].name, i);
    for (const NameListRow& row : rows) {
        size_t found = records.size();
        auto [from, to] = byName.equal_range(row.name);
        for (auto it = from; it != to; ++it) {
            const ReadingRecord& r = records[it->second];
            if (within(r.x, row.x, 1000, true) && within(r.y, row.y, 1000, true))
                found = std::min(found, it->second);
        }
        if (found < records.size()) {
            records[found].reading = row.reading;
            records[found].x = row.x;
            records[found].y = row.y;
        } else {
            byName.emplace(row.name, records.size());
            records.push_back(ReadingRecord{row.x, row.y, row.name, row.reading});
        }
    }
    return records;
}

bool exportNameList(const std::string& path, const std::vector<NameListRow>& rows, MessageSink& sink)
{
    std::vector<std::string> lines;
    lines.reserve(rows.size() + 1);
    lines.emplace_back(kNameListHeader);
    for (const NameListRow& r : rows)
        lines.push_back(std::to_string(r.x) + "," + std::to_string(r.y) + "," + r.kind + "," + r.name + ","
                        + r.reading);
    int bad = 0;
    const TextFileStatus st = writeSjisFile(path, lines, &bad);
    if (st == TextFileStatus::Ok)
        return true;
    sink.show(textFileErrorMessage(st, path, bad), kReadingsErrorTitle, MessageIcon::Exclamation);
    return false;
}

// ----------------------------------------------------------------------------- hover

std::optional<NameHit> nameUnderPointer(const MapStore& store, const ViewState& view, const DisplayState& display,
                                        const MainSwitches& sw, QPoint pixel)
{
    if (!(view.scaleX > 0.0f))
        return std::nullopt;
    // The names are kept in the data's datum: the pointer goes there too.
    const QPoint at = PixelToDataUnits(view, pixel.x(), pixel.y());
    const int32_t t = static_cast<int32_t>(std::trunc(10.0f / view.scaleX));
    const auto near = [&](int32_t x, int32_t y) { return within(x, at.x(), t, false) && within(y, at.y(), t, false); };

    if (display.CBCityName)
        for (const DesignatedCityEntry& e : store.designatedCities)
            if (near(e.x, e.y))
                return NameHit{e.x, e.y, e.name, "政令"};
    const DuplicateIndex duplicates(store.duplicateNames);
    for (const NameEntry& e : store.commonNames.entries) {
        if (e.mark == 'd' || duplicates.covers(e.name, e.x, e.y) || (!display.CBKuName && IsWardName(e.name)))
            continue;
        if (near(e.x, e.y))
            return NameHit{e.x, e.y, e.name, ""};
    }
    const bool old = sw.CBOldTown;
    for (const NameEntry& e : (old ? store.oldNames : store.newNames).entries)
        if (e.mark != 'd' && near(e.x, e.y))
            return NameHit{e.x, e.y, e.name, old ? "旧名称" : "新名称"};
    for (const DuplicateNameEntry& e : store.duplicateNames) {
        if (!sw.CBNTownBorder && (e.name == "三和町" || e.name == "一宮町"))
            continue;
        if (!display.CBKuName && IsWardName(e.name))
            continue;
        if (near(e.x, e.y))
            return NameHit{e.x, e.y, e.name, "重複"};
    }
    return std::nullopt;
}

// ----------------------------------------------------------------------------- drawing

int readingsFontSize(const ReadingsLook& look, int imageSide)
{
    if (!look.fixedSize)
        return static_cast<int>(static_cast<float>(look.size) * static_cast<float>(imageSide) / 600.0f);
    // A fixed size keeps the proportions of the 1800 picture in the print sizes.
    return imageSide > 1800 ? static_cast<int>(static_cast<float>(look.size) * static_cast<float>(imageSide) / 1800.0f)
                            : look.size;
}

std::vector<PlacedText> placeReadings(const std::vector<NameListRow>& rows, const ViewState& view,
                                      const DisplayState& display, const MainSwitches& sw, const ReadingsLook& look,
                                      bool kanaOnly)
{
    std::vector<PlacedText> out;
    if (!(view.scaleX > 0.0f))
        return out;
    const int s = readingsFontSize(look, view.imageSide);
    const float lift = 2.0f * static_cast<float>(s) / view.scaleX;
    for (const NameListRow& r : rows) {
        if ((r.kind == "政" && !display.CBCityName) || (r.kind == "旧" && !sw.CBOldTown)
            || (r.kind == "新" && sw.CBOldTown) || (IsWardName(r.name) && !display.CBKuName))
            continue;
        const QPoint p = kanaOnly ? MapToPixel(view, r.x, r.y)
                                  : MapToPixel(view, r.x, static_cast<int32_t>(std::trunc(static_cast<float>(r.y) + lift)));
        out.push_back(PlacedText{p, r.reading, s, display.KanaFontColor, display.BackColor});
    }
    return out;
}

const PlacedTextPainter::Run& PlacedTextPainter::run(const std::string& text, int size)
{
    std::string key = std::to_string(size);
    key += '\n';
    key += text;
    auto it = runs_.find(key);
    if (it != runs_.end())
        return it->second;
    // Written once on a blank of a colour no text uses, with room for glyphs that reach
    // out of their box; whatever changed is the text's.
    Canvas probe(1, 1);
    probe.setFont(size, kBlack);
    const int em = fontPixels(std::clamp(size, 1, 500));
    const int pad = 2 * em + 2;
    const int w = std::min(probe.textWidth(text) + 2 * pad, 30000);
    const int h = std::min(probe.textHeight(text) + 2 * pad, 30000);
    constexpr Color kBlank = 0x00FF00, kBox = 0xFF0000;
    Canvas c(w, h, kBlank);
    c.setFont(size, kBlack);
    c.setBrush(kBox, BrushStyle::Solid);
    c.textOut(pad, pad, text);
    Run r;
    const QImage& img = c.image();
    const uint32_t blank = toPixel(kBlank), box = toPixel(kBox);
    for (int y = 0; y < h; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(img.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            if (row[x] == blank)
                continue;
            std::vector<int16_t>& to = row[x] == box ? r.box : r.glyph;
            to.push_back(static_cast<int16_t>(x - pad));
            to.push_back(static_cast<int16_t>(y - pad));
        }
    }
    return runs_.emplace(std::move(key), std::move(r)).first->second;
}

void PlacedTextPainter::draw(Canvas& c, const DisplayState& d, const std::vector<PlacedText>& texts)
{
    QImage& img = c.image();
    if (img.isNull())
        return;
    // The boundary colours a text never overwrites: the borders stay closed outlines.
    std::vector<uint32_t> borders;
    for (Color b : {d.CoastColor, prefBorderColor(d), wardBorderColor(d), townBorderColor(d), oldBorderColor(d)})
        if (b != d.BackColor)
            borders.push_back(toPixel(b));
    const auto isBorder = [&](uint32_t p) { return std::find(borders.begin(), borders.end(), p) != borders.end(); };
    const int width = img.width(), height = img.height();
    uint32_t* bits = reinterpret_cast<uint32_t*>(img.bits());
    const qsizetype stride = img.bytesPerLine() / 4;
    const auto put = [&](const std::vector<int16_t>& xy, int ax, int ay, uint32_t colour) {
        for (size_t i = 0; i + 1 < xy.size(); i += 2) {
            const int x = ax + xy[i], y = ay + xy[i + 1];
            if (x < 0 || y < 0 || x >= width || y >= height)
                continue;
            uint32_t& p = bits[y * stride + x];
            if (!isBorder(p))
                p = colour;
        }
    };
    for (const PlacedText& t : texts) {
        if (t.text.empty() || t.size < 1)
            continue;
        const Run& r = run(t.text, t.size);
        put(r.box, t.at.x(), t.at.y(), toPixel(t.back));
        put(r.glyph, t.at.x(), t.at.y(), toPixel(t.color));
    }
}

} // namespace oboro
