#pragma once
// The map line window's state without the window: the line being edited point by point
// (append, break, insert, move, delete, shift, its look) and the finished line files
// loaded read-only for display, which can also serve as paint borders.
#include "common/messages.h"
#include "lines/linefile.h"

#include <QPoint>
#include <string>
#include <vector>

namespace oboro {

// What a click on the map does to the edited line.
enum class LineClick : int { None = 0, Append = 1, FillInserted = 2, Move = 3 };

class LineEditor {
public:
    LineData line;             // the points and the look
    std::string fileName;      // full path; empty for a new line
    LineClick click = LineClick::None;
    int target = -1;           // the row an insert or move writes
    int selected = -1;         // the selected row (−1: none)
    bool saved = true;         // the points equal the file's
    bool editView = false;     // points shown as marked vertices
    bool shown = true;         // the edited line is drawn at all
    bool closeLoop = false;    // 閉: 終わり repeats the first point
    bool appendOnInsert = false; // 追加: 挿入 appends at the end
    QPoint shiftTotal;         // shifts applied since the line view was last shown
    std::string prompt = "地図線の編集・表示"; // the prompt line
    std::string status;        // file name or state

    int count() const { return static_cast<int>(line.points.size()); }
    // Points that would be lost: edited and not saved.
    bool unsaved() const { return !saved && !line.points.empty(); }
    // A line is open (points or a click awaited).
    bool active() const { return !line.points.empty() || click != LineClick::None; }
    // The window's editing controls (insert, delete, move, select) can be used.
    bool editable() const { return click == LineClick::None && !line.points.empty() && editView; }

    // 新規作成: an empty line, appending.
    void startNew();
    // A click on the map in map units, by the click mode. False when no click was awaited.
    bool clickAt(QPoint map);
    // 終わり: appending ends. False (and the line is closed) with at most one point.
    bool finishAppending();
    // 切断: a break after the last point.
    void addBreak();
    // 挿入: a new point after the selected one (or at the end) is awaited.
    void insert();
    // 削　除 of the selected point.
    void deleteSelected();
    // 移　動: the selected point's new place is awaited.
    void startMove();
    void select(int row);
    // 移動: every point but the breaks by (dx, dy) map units.
    void shift(int dx, int dy);
    // 表示 / 編集: the edit view on or off.
    void setEditView(bool on);
    // A file opened for editing.
    void opened(const std::string& path, LineData data);
    // Written to path.
    void savedAs(const std::string& path);
    // 編集終了: the line is put away.
    void close();
    // Any change of the look.
    void setStyle(const LineStyle& s);
};

struct DisplayedLineFile {
    std::string path;
    LineData data;
};

inline constexpr int kDisplayedLineCapacity = 1800;
inline constexpr const char* kDisplayedFullText = "地図線読込のファイルは 1800 個までです\nこれ以上読み込めません";
inline constexpr const char* kDisplayedTitle = "地図線読込";
inline constexpr const char* kEditedFileDisplayedText =
    "指定されたファイルの一つはすでに編集のためにオープンされていますので，読み込めません　　　　\n"
    "「編集」－「編集終了」ボタンをクリックしてください";
inline constexpr const char* kEditedFileDisplayedTitle = "編集ファイルの読込";

// Whether two paths name the same file, without regard to case.
bool samePath(const std::string& a, const std::string& b);

class DisplayedLines {
public:
    std::vector<DisplayedLineFile> files;
    bool shown = true;        // 表示
    bool paintBorder = false; // 塗り分け境界線

    bool empty() const { return files.empty(); }
    // 地図線読込: reads the files and replaces the list (or adds to it). All or nothing:
    // a file that cannot be read, the edited file among them, or more files than the
    // list holds leave the list as it was, after a message.
    bool load(const std::vector<std::string>& paths, bool append, const std::string& editedFile, MessageSink& sink);
    bool contains(const std::string& path) const;
    void remove(const std::string& path);
    void clear() { files.clear(); }
    // "ファイル　なし" or "N 個読み込み".
    std::string statusText() const;
};

} // namespace oboro
