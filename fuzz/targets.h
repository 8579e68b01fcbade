#pragma once
// The bodies of the fuzz targets: each feeds one input to a reader and checks what must
// hold for any input. A failed check traps, so the fuzzer keeps the input. The regression
// test runs the same bodies over the saved inputs in fuzz/corpus and fuzz/regressions.
#include "common/dms.h"
#include "common/fields.h"
#include "common/textfile.h"
#include "labels/labelfile.h"
#include "mapdata/loader.h"
#include "mapdata/namelists.h"
#include "mapdata/rawtext.h"
#include "search/searchhistory.h"

#include <algorithm>
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
