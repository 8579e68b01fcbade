#pragma once
// Readings (yomigana) of municipality names: the readings table read from yomi.lst, the
// name list of the visible map with each name's reading, the name under the pointer, and
// the readings written onto the map.
//
// yomi.lst is Shift-JIS, one record a line of at most 99 bytes: x and y of the name's
// anchor (map units), the name and its reading in hiragana (may be empty), split with the
// strict field split and written as "%d,%d,%s,%s".
#include "common/canvas.h"
#include "common/messages.h"
#include "mapdata/store.h"
#include "view/display.h"
#include "view/projection.h"

#include <QPoint>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace oboro {

inline constexpr int kReadingsCapacity = 4000;
inline constexpr int kNameListCapacity = 2000;
// Bytes of a line of yomi.lst before its line end.
inline constexpr size_t kReadingsLineBytes = 99;
inline constexpr const char* kReadingsFileName = "\\mapdata\\yomi.lst";

inline constexpr const char* kReadingsMissingText =
    "読みがなデータファイル 'Yomi.lst' が 'MapData'フォルダの中にありません";
inline constexpr const char* kReadingsMissingTitle = "ファイルオープンエラー";
inline constexpr const char* kTooManyNamesText = "読みがなを表示する市区町村名が多すぎます";
inline constexpr const char* kReadingsErrorTitle = "読みがなエラー";
inline constexpr const char* kNoReadingText = "読みがながありません";
inline constexpr const char* kEditInListText = "かなリストで編集してください";
inline constexpr const char* kNothingHereText = "該当なし";
inline constexpr const char* kNameListHeader = "x座標,y座標,種別,市区町村名,読みがな";

struct ReadingRecord {
    int32_t x = 0;
    int32_t y = 0;
    std::string name;    // UTF-8
    std::string reading; // UTF-8, may be empty
    bool operator==(const ReadingRecord&) const = default;
};

// The readings table with an index by name (records keep file order).
class ReadingsTable {
public:
    const std::vector<ReadingRecord>& records() const { return records_; }
    void assign(std::vector<ReadingRecord> records);
    // The first record of the name whose x and y both lie within tolerance map units of
    // (x, y): inclusive for the name list, strictly inside for the hover.
    const ReadingRecord* find(std::string_view name, int32_t x, int32_t y, int32_t tolerance, bool inclusive) const;

private:
    std::vector<ReadingRecord> records_;
    std::unordered_multimap<std::string, size_t> byName_;
};

// The records of a readings file's bytes, in file order, at most 4000. Malformed lines
// (fewer than three fields, a position that is not a number, not Shift-JIS, longer than
// 99 bytes) are skipped and reported through sink as one message naming the file and the
// lines; records beyond the capacity are reported once.
std::vector<ReadingRecord> parseReadings(std::string_view bytes, const std::string& fileName, MessageSink& sink);
// Reads path into table. A missing file gives the start-up message and an empty table.
void readReadingsFile(const std::string& path, ReadingsTable& table, MessageSink& sink);

// Why a record cannot be a line of yomi.lst (too long, not Shift-JIS, a blank or comma in
// the name or reading), or empty when it can.
std::string readingLineProblem(const ReadingRecord& r);
// Writes the table (temporary file, then rename). A record no line can hold is refused
// with a message before anything is written; false then, and the file is left as it was.
bool writeReadingsFile(const std::string& path, const std::vector<ReadingRecord>& records, MessageSink& sink);

// The display form of a reading: an ending し, く, まち, ちょう, むら or そん set off by " - ".
std::string splitReading(std::string_view reading);

// ---- the name list of the visible map

struct NameListRow {
    int32_t x = 0;
    int32_t y = 0;
    std::string kind;    // "政", "重", "", "新", "旧"
    std::string name;
    std::string reading;
    bool operator==(const NameListRow&) const = default;
};

enum class NameListOrder { Reading = 0, Name = 1, Kind = 2 };

struct NameListOptions {
    NameListOrder order = NameListOrder::Reading;
    bool reverse = false;     // 逆順
    bool excludeOld = true;   // 旧市町村名を除く
};

// The names whose anchors lie in the picture, of the selected areas, with their readings,
// in table order (sortNameList puts them in the list's order); nullopt when more than
// 2000 names qualify. The list is built
// only while 市区町村名 is checked or fewer than 21 areas are selected; otherwise
// `previous` is given back.
std::optional<std::vector<NameListRow>> buildNameList(const MapStore& store, const ViewState& view,
                                                      const MainSwitches& sw, const NameListOptions& opt,
                                                      const ReadingsTable& readings,
                                                      const std::vector<NameListRow>& previous = {});
// Orders rows: by reading or by name ascending (descending with reverse), by kind
// descending (ascending with reverse), comparing Shift-JIS bytes, by exchanges: a row is
// swapped only with a row strictly out of order with it.
void sortNameList(std::vector<NameListRow>& rows, NameListOrder order, bool reverse);

// Merges the rows into the records: the first record of the row's name within 1000 map
// units (inclusive) takes the row's reading and position, a row without one is appended.
std::vector<ReadingRecord> mergeNameList(std::vector<ReadingRecord> records, const std::vector<NameListRow>& rows);

// The list as a text file: the heading line and one line per row. Written with a
// temporary file and rename; false (with a message) on failure.
bool exportNameList(const std::string& path, const std::vector<NameListRow>& rows, MessageSink& sink);

// ---- the name under the pointer

struct NameHit {
    int32_t x = 0;
    int32_t y = 0;
    std::string name;
    std::string kindText; // "政令", "", "旧名称", "新名称", "重複"
};
std::optional<NameHit> nameUnderPointer(const MapStore& store, const ViewState& view, const DisplayState& display,
                                        const MainSwitches& sw, QPoint pixel);

// ---- drawing

// The readings window's look.
struct ReadingsLook {
    int size = 7;           // 5..50, 読みがな文字サイズ
    bool fixedSize = true;  // 固定: the size does not follow the picture side
    bool onMap = true;      // 地図上表示: the hover writes the reading on the map
    bool kanaHighlight = true; // 読みがな（ハイライト）
};

// A text over the cached picture: top-left corner, font size in points, colours.
struct PlacedText {
    QPoint at;
    std::string text;
    int size = 8;
    Color color = 0;
    Color back = 0;
};

// Font size of the readings in a picture of the given side.
int readingsFontSize(const ReadingsLook& look, int imageSide);
// Where the readings of the rows go in the picture, skipping the kinds the view does not
// show (政 without 市名, 旧 in the current view, 新 in the pre-merger view, wards without
// 区名). With kanaOnly the reading takes the name's place, otherwise it stands above it.
std::vector<PlacedText> placeReadings(const std::vector<NameListRow>& rows, const ViewState& view,
                                      const DisplayState& display, const MainSwitches& sw, const ReadingsLook& look,
                                      bool kanaOnly);
// Writes placed texts on the canvas on boxes of their back colour, leaving every pixel of
// a boundary colour as it was (as the names are written), from texts rendered once and
// kept: a redraw of the readings map sets pixels instead of laying out text again.
class PlacedTextPainter {
public:
    void draw(Canvas& c, const DisplayState& d, const std::vector<PlacedText>& texts);
    size_t cachedRuns() const { return runs_.size(); }

private:
    // The pixels a text changes, relative to its anchor: its box and its glyphs.
    struct Run {
        std::vector<int16_t> box;   // x, y pairs
        std::vector<int16_t> glyph; // x, y pairs, written after the box
    };
    const Run& run(const std::string& text, int size);

    std::unordered_map<std::string, Run> runs_;
};

} // namespace oboro
