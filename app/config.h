#pragma once
// The configuration file "\\mapdata\\config.ini": 24 positional Shift-JIS lines, each a
// value, a comma and a comment naming the setting. Only the first field of a line is
// read and lines are matched by number; the comments are not checked.
//
// The values live in a plain struct so that this code needs no window; the main window
// copies them to and from its display state.
#include "common/messages.h"
#include "common/textfile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace oboro {

inline constexpr int kConfigLineCount = 24;
// Relative name of the file below the program folder.
inline constexpr const char* kConfigFileName = "\\mapdata\\config.ini";
// Range of the prefecture name font sizes (lines 14 and 15).
inline constexpr int kMinPrefFontSize = 6;
inline constexpr int kMaxPrefFontSize = 50;

struct ConfigValues {
    bool SaveSettingsAtExit = true;     // 1  menu 終了時の設定を保存する
    bool SameColor = false;             // 2  同一色 (all lines in the coast colour)
    int TimeOrder = 1;                  // 3  search history order: 1 time, 0 kanji code
    uint32_t TownPaintColor = 65535;    // 4  search paint colour
    uint32_t TownFontColor = 0;         // 5
    uint32_t IslandsColor = 32768;      // 6
    uint32_t MountainColor = 16711680;  // 7
    uint32_t KanaFontColor = 0;         // 8
    uint32_t SelectColor = 255;         // 9
    uint32_t clLetter = 0;              // 10 written only, never read back
    std::string ExtraMarkFolder;        // 11 always read
    uint32_t DefPrefColor = 255;        // 12
    uint32_t DefPrefSeatColor = 16711680; // 13
    int DefPrefSize = 10;               // 14
    int DefPrefSeatSize = 8;            // 15
    uint32_t CoastColor = 16711680;     // 16
    uint32_t PrefColor = 255;           // 17
    uint32_t TownColor = 2672688;       // 18
    uint32_t NTownColor = 16250624;     // 19
    uint32_t BackColor = 16777185;      // 20
    uint32_t WakuColor = 16744576;      // 21
    uint32_t KuColor = 9421963;         // 22
    uint32_t DoColor = 0;               // 23
    uint32_t FunColor = 12632256;       // 24

    bool operator==(const ConfigValues&) const = default;
};

struct ConfigReadResult {
    TextFileStatus status = TextFileStatus::Ok; // NotFound: defaults kept, nothing shown
    int linesRead = 0;                          // lines the file had (at most 24 are used)
    std::vector<int> badLines;                  // lines 4–9 whose value was not an integer
};

// Applies the lines of the file (UTF-8, without line ends) to values, which hold the
// start-up values. Line 1 decides whether lines 3–24 are restored; line 2 and line 11
// are always applied and line 10 never. Lines 4–9 must be integers (a bad value keeps
// that line's current value and is listed in badLines); the other numbers are read
// leniently, and font sizes outside 6..50 keep their values. Missing lines keep theirs.
ConfigReadResult applyConfigLines(const std::vector<std::string>& lines, ConfigValues& values);

// Reads the file at path into values (which hold the start-up values). A missing file
// keeps every value silently; an unreadable file or one that is not Shift-JIS keeps every
// value and says so through sink; bad values of lines 4–9 are reported the same way.
ConfigReadResult ReadConfig(const std::string& path, ConfigValues& values, MessageSink* sink = nullptr);

// The 24 lines as written (UTF-8, without line ends).
std::vector<std::string> configLines(const ConfigValues& values);

// Writes all 24 values (line 1 from SaveSettingsAtExit) through a temporary file that is
// renamed over the old one, so a failed write leaves the old file whole. Logs the call
// to the diagnostic log. On failure shows "構成ファイルを書き込めません　　　" through sink
// and returns false.
bool WriteConfig(const std::string& path, const ConfigValues& values, MessageSink& sink);

// The message of a failed WriteConfig.
Message configWriteErrorMessage();

} // namespace oboro
