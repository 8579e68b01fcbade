#pragma once
// The bodies of the fuzz targets: each feeds one input to a reader and checks what must
// hold for any input. A failed check traps, so the fuzzer keeps the input. The regression
// test runs the same bodies over the saved inputs in fuzz/corpus and fuzz/regressions.
#include "common/dms.h"
#include "common/fields.h"
#include "common/textfile.h"
#include "lines/linefile.h"
#include "lines/linelayer.h"
#include "labels/labelfile.h"
#include "mapdata/loader.h"
#include "mapdata/namelists.h"
#include "mapdata/rawtext.h"
#include "names/readings.h"
#include "paint/legend.h"
#include "paint/datapaint.h"
#include "paint/paintfile.h"
#include "search/searchhistory.h"
#include "symbols/stamps.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace oboro::fuzz {

inline void check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

class CountingSink : public MessageSink {
public:
    using MessageSink::show;
    void show(const Message& m) override
    {
        check(!m.text.empty() && !m.title.empty());
        ++count;
    }
    int count = 0;
};

// The field splitter in both modes, and the allocation-free strict split and point-line
// parser of the map readers against it.
inline void fieldsInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> strict = splitFields(text, SplitMode::Strict);
    for (const std::string& f : strict) {
        check(f.size() <= static_cast<size_t>(kMaxFieldChars));
        check(f.find_first_of(", \t\n") == std::string::npos);
    }
    for (const std::string& f : splitFields(text, SplitMode::Text)) {
        check(f.size() <= static_cast<size_t>(kMaxFieldChars));
        check(f.find_first_of(",\n") == std::string::npos);
    }
    if (text.find('\n') != std::string_view::npos)
        return; // the raw split sees one line at a time
    const RawFields raw(text);
    check(raw.count() == static_cast<int>(strict.size()));
    for (int i = 0; i < raw.count() && i < RawFields::kMax; ++i)
        check(raw[i].substr(0, kMaxFieldChars) == strict[static_cast<size_t>(i)]);
    for (int pairs = 1; pairs <= 5; ++pairs) {
        int32_t out[10];
        const PointLineStatus st = parsePointLine(text, pairs, out);
        if (raw.count() < 2 * pairs) {
            // Too few fields, unless a field before the end is already not a number.
            if (st == PointLineStatus::Ok)
                check(false);
            continue;
        }
        bool numeric = true;
        for (int i = 0; i < 2 * pairs && numeric; ++i) {
            const std::optional<int32_t> v = parseInt32(raw[i]);
            numeric = v.has_value();
            if (numeric && st == PointLineStatus::Ok)
                check(out[i] == *v);
        }
        check((st == PointLineStatus::Ok) == numeric);
    }
}

// The ddd.mmss parser: refused (-1) or a value of its degrees range; a value read back
// from its own text form stays within a second.
inline void dmsInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const float v = parseDms(text);
    if (v == -1.0f)
        return;
    check(v >= 20.0f && v < 161.0f);
    const float back = parseDms(formatDms("", v));
    check(back != -1.0f && back <= v + 1e-4f && back >= v - 1.0f / 3600.0f - 1e-4f);
}

// The walk every reader of a line table does must end exactly at the end marker.
inline void checkTable(const LineTable& t)
{
    check(t.wordCount() >= 0 && t.wordCount() <= t.capacity());
    const std::vector<int32_t>& w = t.words();
    check(!w.empty() && w.back() == kEndMarker);
    size_t pos = 0;
    while (w[pos] >= 1) {
        const int32_t n = w[pos];
        check(n <= kMaxRecordPoints);
        pos += 2 * static_cast<size_t>(n) + 1;
        check(pos < w.size());
    }
    check(pos == w.size() - 1);
}

// The map file loader: the first byte picks the area and the switches, the rest is read
// both as a map file and as an office location file.
inline void mapFileInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return;
    static const int kAreas[] = {1, 5, 18, 47, 48, 49, 52, 13};
    const int area = kAreas[data[0] & 7];
    const LoadOptions opt{(data[0] & 8) != 0, (data[0] & 16) != 0};
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    MapStore store;
    CountingSink sink;
    MapLoader loader(store, opt, sink);
    loader.readMapFile(text, area, "fuzz.MAP");
    if (data[0] & 32) // a second file of another area continues the same load
        loader.readMapFile(text, area == 18 ? 47 : 18, "fuzz2.MAP");
    loader.readOfficeLocations(text, "fuzz.lbl");
    loader.finish();
    for (const LineTable& t : store.lines)
        checkTable(t);
    for (const NameTable* nt : {&store.commonNames, &store.oldNames, &store.newNames}) {
        check(nt->count() <= nt->capacity);
        for (const NameEntry& e : nt->entries)
            check((e.mark == 's' || e.mark == 'd') && !e.name.empty());
    }
    check(static_cast<int>(store.officeLocations.size()) <= kOfficeLocationCapacity);
    for (const OfficeLocation& o : store.officeLocations)
        check(sjisLength(o.mark) <= 7 && sjisLength(o.text) <= 31);
    if (loader.anyPoint())
        check(store.extent.minX <= store.extent.maxX && store.extent.minY <= store.extent.maxY);
}

// The designated-city and duplicate-name lists.
inline void nameListsInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CountingSink sink;
    for (const DesignatedCityEntry& e : parseDesignatedCityList(text, "CITYLIST.TXT", sink))
        check(e.flag == 0 || e.flag == 1);
    MapStore store;
    store.duplicateNames = parseDuplicateNameList(text, "EXTRA.TXT", sink);
    for (const DuplicateNameEntry& e : store.duplicateNames)
        check(inDuplicateList(store, e.name));
}

// The search history file: at most 50 names, each one a line of the file can hold; what
// is written back reads back the same without complaint; adding the names in either
// order keeps the list within its limit, and text order sorted.
inline void historyInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CountingSink sink;
    const std::vector<std::string> names = parseHistory(text, "townlist.lst", sink);
    check(names.size() <= static_cast<size_t>(kHistoryCapacity));
    check(sink.count <= 1);
    for (const std::string& n : names) {
        const std::optional<std::string> sjis = utf8ToSjis(n);
        check(sjis && !sjis->empty() && sjis->size() <= kHistoryNameBytes);
    }
    CountingSink again;
    check(parseHistory(historyFileBytes(names), "townlist.lst", again) == names);
    check(again.count == 0);

    for (HistoryOrder order : {HistoryOrder::Time, HistoryOrder::Text}) {
        SearchHistory h;
        h.restoreOrder(order);
        for (const std::string& n : names)
            h.add(n, sink);
        check(h.names().size() <= static_cast<size_t>(kHistoryCapacity));
        if (order == HistoryOrder::Text)
            for (size_t i = 1; i < h.names().size(); ++i)
                check(!historyTextLess(h.names()[i], h.names()[i - 1]));
        // The last name added is in the list: added now, or found among the compared ones.
        if (!names.empty())
            check(std::find(h.names().begin(), h.names().end(), names.back()) != h.names().end());
    }
}

// The readings file: at most 4000 records, one message at most; every record is one a
// line of the file can hold, and the lines written back read back the same, silently.
inline void readingsInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CountingSink sink;
    const std::vector<ReadingRecord> records = parseReadings(text, "yomi.lst", sink);
    check(records.size() <= static_cast<size_t>(kReadingsCapacity));
    check(sink.count <= 1);
    std::string written;
    for (const ReadingRecord& r : records) {
        check(readingLineProblem(r).empty());
        const std::optional<std::string> line =
            utf8ToSjis(std::to_string(r.x) + "," + std::to_string(r.y) + "," + r.name + "," + r.reading);
        check(line && line->size() <= kReadingsLineBytes);
        written += *line + "\n";
        (void)splitReading(r.reading);
    }
    CountingSink again;
    check(parseReadings(written, "yomi.lst", again) == records);
    check(again.count == 0);
}

// Symbol files (.mrk with its count line when the first byte is even, .mks otherwise):
// a file is taken whole or refused with one message naming its line; what is taken holds
// valid records within the table, and written back reads back the same.
inline void stampsInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return;
    const StampFileKind kind = data[0] % 2 == 0 ? StampFileKind::Mrk : StampFileKind::Mks;
    const TextFile file = decodeSjisText(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    if (!file.ok())
        return;
    const int room = 1 + data[0] % kStampCapacity;
    const StampFileRead read = parseStampLines(file.lines, kind, "marks.mrk", room);
    if (!read.ok()) {
        check(read.records.empty());
        check(read.error->text.find("marks.mrk の ") != std::string::npos && !read.error->title.empty());
        return;
    }
    check(read.records.size() <= static_cast<size_t>(room));
    for (const StampRecord& r : read.records)
        check(isKnownSymbol(r.symbol) && isStampSize(r.size) && r.color <= 0xFFFFFFu);
    const StampFileRead again = parseStampLines(stampFileLines(read.records, kind), kind, "marks.mrk", room);
    check(again.ok() && again.records == read.records);
}

// A legend file: refused with one message or read with every value in its range; what
// is read, written back, reads back the same without complaint.
inline void legendInput(const uint8_t* data, size_t size)
{
    const TextFile file = decodeSjisText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!file.ok())
        return;
    CountingSink sink;
    const std::optional<LegendSettings> s = parseLegendLines(file.lines, 0, LegendSettings{}, "fuzz.exp", sink);
    check(s.has_value() == (sink.count == 0));
    check(sink.count <= 1);
    if (!s)
        return;
    LegendSettings clean = *s;
    clean.clampToRanges();
    check(s->rowCount == clean.rowCount && s->x == clean.x && s->y == clean.y && s->fontSize == clean.fontSize &&
          s->sampleWidth == clean.sampleWidth && s->sampleHeight == clean.sampleHeight && s->gap == clean.gap);
    const std::vector<std::string> lines = legendFileLines(clean);
    check(legendLineCount(lines, 0) == lines.size());
    CountingSink again;
    const std::optional<LegendSettings> back = parseLegendLines(lines, 0, LegendSettings{}, "fuzz.exp", again);
    check(back.has_value() && again.count == 0 && *back == clean);
}

// Paint files: a file read in full writes back as lines that read back the same, and a
// refused file says where (file and line) and leaves the target as it was.
inline void paintFileInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (bool colorsOnly : {false, true}) {
        PaintFile f;
        f.background = 7;
        std::string error;
        if (!parsePaintFile(text, "f.pnt", colorsOnly, f, error)) {
            check(error.rfind("f.pnt の ", 0) == 0 && f.background == 7 && f.records.empty());
            continue;
        }
        check(error.empty());
        check(!colorsOnly || f.records.empty());
        std::string written;
        for (const std::string& line : paintFileLines(f, colorsOnly))
            written += line + "\n";
        PaintFile back;
        check(parsePaintFile(written, "f.pnt", colorsOnly, back, error));
        check(back.background == f.background && back.palette.colors == f.palette.colors &&
              back.palette.patterns == f.palette.patterns && back.records == f.records);
    }
}

// Data paint files: points or statistics rows as read, or a message; the rows of a
// statistics file look for their municipality in a small code list, and their values
// give ascending class bounds with a class for every value.
inline void dataPaintInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    DataPaintFile f;
    Message error;
    if (!parseDataPaintFile(text, "d.csv", f, error)) {
        check(!error.text.empty() && error.title == kDataErrorTitle);
        return;
    }
    check(f.kind == DataPaintFile::Kind::Points || f.points.empty());
    const std::vector<MunicipalityCode> codes = {{"132063", 'M', 12, 1, 1, "府中市", "東京都", ""},
                                                 {"141003", 'D', 13, 2, 2, "横浜市", "神奈川県", ""},
                                                 {"141011", 'W', 13, 3, 3, "鶴見区", "神奈川県", "横浜市"}};
    std::vector<double> values;
    for (const StatisticRow& r : f.rows) {
        const RowTarget t = findRowTarget(r, f.kind, codes);
        check(t.problem.empty() || t.places.empty());
        if (r.hasValue)
            values.push_back(r.value);
    }
    for (int classes = kMinClasses; classes <= kMaxClasses; classes += 3)
        for (ClassMethod m : {ClassMethod::EqualIntervals, ClassMethod::Quantiles}) {
            const std::vector<double> bounds = classBounds(values, classes, m);
            check(values.empty() ? bounds.empty() : bounds.size() == static_cast<size_t>(classes) + 1);
            for (size_t i = 1; i < bounds.size(); ++i)
                check(bounds[i] >= bounds[i - 1]);
            for (double v : values) {
                const int k = classOf(v, bounds);
                check(k >= 0 && k < classes);
            }
            check(classRows(bounds, 2, PaintPalette{}).size() == (bounds.empty() ? 0u : static_cast<size_t>(classes)));
        }
}

// A map line file: read, it is within the format's ranges and reads back the same once
// written; refused, it names a line of the file and why; drawn, it stays in the picture.
inline void lineFileInput(const uint8_t* data, size_t size)
{
    const TextFile text = decodeSjisText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!text.ok())
        return;
    const LineFileParse p = parseLineFile(text.lines);
    if (!p.data) {
        check(p.badLine >= 1 && static_cast<size_t>(p.badLine) <= text.lines.size() + 1);
        check(!p.reason.empty());
        return;
    }
    const LineStyle& s = p.data->style;
    check(s.color <= 0xFFFFFFu && s.type >= 0 && s.type < kLineTypeCount);
    check(s.size >= kMinLineSize && s.size <= kMaxLineSize && s.arrow >= 0 && s.arrow <= 2);
    check(s.arrowSize >= kMinArrowSize && s.arrowSize <= kMaxArrowSize && s.step >= 0 && s.step <= kMaxArrowStep);
    check(p.data->points.size() <= text.lines.size() * 5);
    const LineFileParse again = parseLineFile(formatLineFile(*p.data));
    check(again.data && *again.data == *p.data);
    if (p.data->points.size() > 200)
        return;
    ViewState view;
    view.imageSide = 64;
    view.scaleX = view.scaleY = 0.001f;
    view.wgs = false;
    Canvas canvas(64, 64, kWhite);
    drawLineData(canvas, view, *p.data, lookOf(s));
    check(canvas.width() == 64 && canvas.height() == 64);
}

// A label file: refused with one message or read whole; every row read is a label the
// table can hold, and the rows written back as a file read again as the same rows.
inline void labelFileInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const LabelFileRead read = parseLabelFile(bytes, "鉄道路線/JR主要.lbl", LabelReadOptions{3, true});
    if (!read.ok) {
        check(read.rows.empty() && !read.message.text.empty() && !read.message.title.empty());
        return;
    }
    check(read.rows.size() <= static_cast<size_t>(kLabelCapacity));
    std::string again;
    for (const LabelRow& r : read.rows) {
        check(r.size >= kLabelMinSize && r.size <= kLabelMaxSize && r.shown && r.jr && r.mainStations && r.rail);
        check(r.fileNumber == 3 && r.color <= 0xFFFFFFu);
        const std::optional<std::string> line = utf8ToSjis(labelFileLine(r));
        check(line.has_value());
        again += *line + "\n";
    }
    const LabelFileRead reread = parseLabelFile(again, "鉄道路線/JR主要.lbl", LabelReadOptions{3, true});
    check(reread.ok && reread.rows == read.rows);
}

} // namespace oboro::fuzz
