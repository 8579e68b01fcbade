#pragma once
// The search history: the names the user searched, at most 50, shown as the drop-down of
// the search box. In time order a new name goes to the top and the oldest falls off the
// end; in text order (漢字コード順: ascending Shift-JIS bytes) it takes its sorted place
// and the name that sorts last falls off. The list lives in "\\mapdata\\townlist.lst"
// (Shift-JIS, one name a line, "\r\n"), read at start-up, written at exit and whenever
// a deletion or the change to text order rewrites it; every write goes to a temporary
// file that is renamed over the old one.
#include "common/messages.h"

#include <string>
#include <string_view>
#include <vector>

namespace oboro {

inline constexpr int kHistoryCapacity = 50;
// The drop-down shows 12 rows; in time order only they are compared with a new name.
inline constexpr int kHistoryVisibleRows = 12;
// A line of the file holds at most 98 Shift-JIS bytes before its line end.
inline constexpr size_t kHistoryNameBytes = 98;
inline constexpr const char* kHistoryFileName = "\\mapdata\\townlist.lst";

enum class HistoryOrder { Time, Text };

// Questions of the drop-down's right-click menu.
Message deleteHistoryEntryQuestion(std::string_view name); // この市区町村名を削除する
Message deleteAllHistoryQuestion();                         // すべての市区町村名を削除する

// 漢字コード順: ascending Shift-JIS bytes (a total order, the same for every list).
bool historyTextLess(const std::string& a, const std::string& b);

// The names of a history file's bytes, in file order, at most 50. Lines that are not
// Shift-JIS, too long or hold control characters are skipped and reported through sink
// as one message naming the file and the lines; empty lines are skipped silently.
std::vector<std::string> parseHistory(std::string_view bytes, const std::string& fileName, MessageSink& sink);
// The bytes of a history file of names (Shift-JIS, "\r\n" after each); a name no line
// can hold is left out, never cut.
std::string historyFileBytes(const std::vector<std::string>& names);

class SearchHistory {
public:
    const std::vector<std::string>& names() const { return names_; }
    HistoryOrder order() const { return order_; }
    // The file the list is read from and rewritten to (set by load).
    const std::string& path() const { return path_; }

    // Reads the file at path (a missing file: empty list, no message) and remembers it.
    void load(const std::string& path, MessageSink& sink);
    // Writes the list to path. A failure is reported through sink and leaves the old file
    // whole; false then.
    bool save(const std::string& path, MessageSink& sink) const;

    // A successful search's typed text. Already among the compared entries (the visible
    // rows in time order, all in text order): nothing changes. A name the file could not
    // hold (too long, not Shift-JIS, a line break) is refused with a message. True when
    // the list changed.
    bool add(const std::string& name, MessageSink& sink);

    // Deletes entry i: the other entries, sorted without duplicates, are written to the
    // file and become the list (whichever the order). False for no such entry or a
    // failed write (reported; the list has still lost the entry).
    bool remove(int i, MessageSink& sink);
    // Empties the list; the file is written at exit.
    void clear() { names_.clear(); }

    // Time order: the entries keep their places. Text order: sorted without duplicates
    // and written to the file.
    void setOrder(HistoryOrder order, MessageSink& sink);
    // The order of the configuration file (line 3) at start-up, without rewriting.
    void restoreOrder(HistoryOrder order) { order_ = order; }

private:
    bool rewrite(std::vector<std::string> names, MessageSink& sink);

    std::vector<std::string> names_;
    HistoryOrder order_ = HistoryOrder::Time;
    std::string path_;
};

} // namespace oboro
