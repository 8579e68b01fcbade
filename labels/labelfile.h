#pragma once
// Label files (.lbl): Shift-JIS text, one label a line,
//   mark,x,y,text,size[,colour]
// split with the text field split (blanks inside the text are kept); the colour is a
// decimal or "0x" COLORREF and reads as 0 (black) when absent. The same layout is
// written by the name-label generator (five fields, no colour).
#include "common/messages.h"
#include "labels/labeltable.h"
#include "mapdata/store.h"
#include "view/projection.h"

#include <string>
#include <string_view>
#include <vector>

namespace oboro {

inline constexpr const char* kLabelOpenErrorTitle = "ファイルオープンエラー";
inline constexpr const char* kLabelDataErrorTitle = "ラベルデータエラー";
inline constexpr const char* kLabelWriteErrorTitle = "ラベルファイル保存エラー";

// What a read file gives its rows.
struct LabelReadOptions {
    int fileNumber = 0;         // written into every row (the railway layer's file counter)
    bool stationNames = false;  // 駅名: lines of railway station files are read only with it
};

struct LabelFileRead {
    bool ok = false;
    std::vector<LabelRow> rows;
    Message message;            // why the file was refused (when not ok)
};

// The rows of a label file's bytes (path names the file in messages and gives the
// JR, 主要 and 鉄道路線 flags). A file that is not Shift-JIS or has a line that is not
// a label (fewer than five fields, a position or size that is not an integer, a size
// outside 1..500, a colour that is not a number) is refused whole, its message naming
// the file and line. Blank lines are passed over.
LabelFileRead parseLabelFile(std::string_view bytes, const std::string& path, const LabelReadOptions& opt);
// The same for the file at path; a file that cannot be read is refused with
// "ラベルデータファイル %s を読み込むことができません".
LabelFileRead readLabelFile(const std::string& path, const LabelReadOptions& opt);

// One line of a label file for a row: "%s,%s,%s,%s,%s,%d".
std::string labelFileLine(const LabelRow& row);
// Writes the shown rows (hidden rows are left out) through a temporary file renamed
// over path. On failure shows why and returns false; the old file stays as it was.
bool writeLabelFile(const std::string& path, const LabelTable& table, MessageSink& sink);

// The name-label generator: "○,%d,%d,%s,8" lines of the names whose position falls
// inside the picture of the view (0 ≤ px, py ≤ image side). Current names: the common
// and new name tables' first occurrences (mark 's') and every duplicate-name list entry;
// pre-merger names: the old name table's first occurrences.
std::vector<std::string> namesInViewLines(const MapStore& store, const ViewState& view);
std::vector<std::string> preMergerNamesInViewLines(const MapStore& store, const ViewState& view);
// Writes generated lines (temporary file and rename); false with the message shown.
bool writeGeneratedLabelFile(const std::string& path, const std::vector<std::string>& lines, MessageSink& sink);

} // namespace oboro
