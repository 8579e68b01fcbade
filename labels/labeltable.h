#pragma once
// The label table: free texts placed on the map at map-unit positions, one row per
// label, with its colour and the flags of the file it came from. The rows are the
// grid of the label window; every operation that moves rows (sorting, deleting,
// rebuilding) moves each label whole, colour included.
#include "common/canvas.h"
#include "mapdata/store.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace oboro {

inline constexpr int kLabelCapacity = 20000;      // rows of the table
inline constexpr int kLabelFileListCapacity = 1000; // files of the loaded file list
inline constexpr int kLabelMinSize = 1;           // base font sizes a row may have
inline constexpr int kLabelMaxSize = 500;
inline constexpr const char* kLabelShownMark = "●";
inline constexpr const char* kDefaultLabelMark = "○";
inline constexpr const char* kNewLabelText = "ラベル記入";
inline constexpr Color kDefaultLabelColor = 0x800000;

struct LabelRow {
    std::string mark = kDefaultLabelMark; // drawn at the point with マーク
    int32_t x = 0;                        // map units (Tokyo datum)
    int32_t y = 0;
    std::string text;
    int size = 8;                         // base font size
    bool shown = true;                    // 表示
    bool jr = false;                      // the file's path names "JR"
    bool mainStations = false;            // "主要"
    bool rail = false;                    // "鉄道路線"
    int fileNumber = 0;
    Color color = 0;
    bool operator==(const LabelRow&) const = default;
};

// The ten columns of the label grid.
enum class LabelColumn { Mark, X, Y, Text, Size, Shown, Jr, Main, Rail, FileNumber };
inline constexpr int kLabelColumns = 10;
// The cell text of a row as the grid shows it.
std::string labelCell(const LabelRow& row, LabelColumn column);

// A typed cell refused: why, for the message box (title kLabelEditTitle).
inline constexpr const char* kLabelEditTitle = "ラベル編集エラー";
// Puts a typed text into a cell: the mark and the text as typed (they must have a
// Shift-JIS form, as the files are Shift-JIS), positions as integers, sizes as integers
// in kLabelMinSize..kLabelMaxSize. The flag columns are not typed into. nullopt when
// accepted, else the message.
std::optional<std::string> editLabelCell(LabelRow& row, LabelColumn column, const std::string& typed);

// The text order of the label sort: the Shift-JIS bytes compared as unsigned values,
// a shorter text first on a common prefix, every byte of the texts compared.
bool labelTextLess(const std::string& a, const std::string& b);

class LabelTable {
public:
    const std::vector<LabelRow>& rows() const { return rows_; }
    int count() const { return static_cast<int>(rows_.size()); }
    bool empty() const { return rows_.empty(); }
    const LabelRow& row(int i) const { return rows_[static_cast<size_t>(i)]; }
    LabelRow& row(int i) { return rows_[static_cast<size_t>(i)]; }
    bool valid(int i) const { return i >= 0 && i < count(); }

    // Appends a row; false when the table is full.
    bool append(const LabelRow& row);
    void clear() { rows_.clear(); }
    void replace(std::vector<LabelRow> rows) { rows_ = std::move(rows); }
    // Removes a row; the later rows move up, each with its colour.
    void remove(int i);

    // The sorts of コード順 and ﾌｧｲﾙ順: stable, so rows of equal keys keep their order.
    void sortByText();
    void sortByFileNumber();
    // Every row's 表示, colour or size at once.
    void setAllShown(bool shown);
    void setAllColor(Color c);
    void setAllSize(int size);

    // The first row at or after from whose text is exactly text (−1 for none).
    int findText(const std::string& text, int from = 0) const;
    // The first row at or after from with that file number (−1 for none).
    int findFileNumber(int fileNumber) const;
    // The first row whose position is (x, y) (−1 for none).
    int findPosition(int32_t x, int32_t y) const;

private:
    std::vector<LabelRow> rows_;
};

// The rows whose position lies within the extent (inclusive), in table order.
std::vector<LabelRow> labelsInExtent(const LabelTable& table, const Extent& e);

// The labels-in-view list rebuilt into the table: each list row that has a table row
// at the same position replaces that row's six columns of the grid (its colour and
// file flags come along from the table row matched); the table then holds exactly
// those rows, in list order. Returns the number of rows.
int rebuildFromList(LabelTable& table, const std::vector<LabelRow>& list);

} // namespace oboro
