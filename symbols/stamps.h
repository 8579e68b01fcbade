#pragma once
// Stamped map symbols: the symbol numbers and their bitmap files in the program's mark
// folder, the stamp records (symbol, position in map units, colour, size, transparency)
// and the symbol files that hold them (.mrk with a count line, .mks without).
#include "common/canvas.h"
#include "common/messages.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace oboro {

// Symbol numbers.
inline constexpr int kFirstMapSymbol = 100;     // 100..120: the 21 map symbols (地図記号)
inline constexpr int kLastMapSymbol = 120;
inline constexpr int kFirstOtherSymbol = 200;   // 200..220: その他
inline constexpr int kLastOtherSymbol = 220;
inline constexpr int kFirstCustomSymbol = 221;  // 221..241: カスタム (the user's own)
inline constexpr int kLastCustomSymbol = 241;
inline constexpr int kFirstNumberedMark = 501;  // 501..507: the numbered marks 1..7
inline constexpr int kLastNumberedMark = 507;
inline constexpr int kMapSymbolCount = kLastMapSymbol - kFirstMapSymbol + 1;
inline constexpr int kNumberedMarkCount = kLastNumberedMark - kFirstNumberedMark + 1;

inline constexpr bool isMapSymbol(int n) { return n >= kFirstMapSymbol && n <= kLastMapSymbol; }
inline constexpr bool isCustomSymbol(int n) { return n >= kFirstCustomSymbol && n <= kLastCustomSymbol; }
inline constexpr bool isNumberedMark(int n) { return n >= kFirstNumberedMark && n <= kLastNumberedMark; }
inline constexpr bool isKnownSymbol(int n)
{
    return isMapSymbol(n) || isNumberedMark(n) || (n >= kFirstOtherSymbol && n <= kLastCustomSymbol);
}

// The palette hints of the map symbols, 100 first.
extern const char* const kMapSymbolNames[kMapSymbolCount];

// Stamp sizes: 小 14, 標準 16, 大 18 pixels.
inline constexpr int kSmallStamp = 14;
inline constexpr int kStandardStamp = 16;
inline constexpr int kLargeStamp = 18;
inline constexpr bool isStampSize(int s) { return s == kSmallStamp || s == kStandardStamp || s == kLargeStamp; }

// The bitmap file of a symbol at a stamp size, relative to the mark folder: map symbols
// "%ds.bmp" (14), "%d.bmp" (16), "%dm.bmp" (18); marks "mark%d.bmp"; others "%d.bmp".
std::string symbolFileName(int symbol, int size);
// The side of the square a symbol is drawn in: the size for map symbols, else 16.
int symbolBox(int symbol, int size);
inline constexpr const char* kBlankSymbolFile = "blank.bmp";
// The mark folder of the program folder.
inline constexpr const char* kMarkFolder = "\\mark";

struct StampRecord {
    int32_t symbol = kFirstMapSymbol;
    int32_t x = 0;          // map units (Tokyo datum) of the symbol's centre
    int32_t y = 0;
    Color color = 0x0000FF; // given to the black pixels of the symbol
    int32_t size = kStandardStamp;
    bool transparent = true; // white pixels show the map; else the map colour under the centre
    bool operator==(const StampRecord&) const = default;
};

inline constexpr int kStampCapacity = 1000;

inline constexpr const char* kStampTitle = "地図記号を描く";
inline constexpr const char* kStampTableFullText = "地図記号は 1000 個まで描けます\nこれ以上追加できません";
inline constexpr const char* kStampFileTitle = "地図記号ファイル";
inline constexpr const char* kStampSaveErrorTitle = "ファイル保存エラー";
inline constexpr const char* kNoStampsToSaveText = "記号が描かれていないので，保存するデータはありません";

// The two symbol files: .mrk starts with "%d,STAMP_CT", .mks holds only record lines.
enum class StampFileKind { Mrk, Mks };

// The lines of a symbol file for records (the work file writes the .mrk lines too).
std::vector<std::string> stampFileLines(const std::vector<StampRecord>& records, StampFileKind kind);

// A symbol file read: the records, or the message that says why the file was refused.
struct StampFileRead {
    std::vector<StampRecord> records;
    std::optional<Message> error;
    bool ok() const { return !error; }
};

// Reads the lines of a symbol file; every line is checked (six integer fields, a known
// symbol number, size 14, 16 or 18, a colour of 24 bits), and the first bad line refuses
// the whole file with a message naming fileName and the line. At most `room` records.
StampFileRead parseStampLines(const std::vector<std::string>& lines, StampFileKind kind, const std::string& fileName,
                              int room = kStampCapacity);
StampFileRead readStampFile(const std::string& path, StampFileKind kind, int room = kStampCapacity);
// Writes a symbol file through a temporary file; false after a message.
bool writeStampFile(const std::string& path, const std::vector<StampRecord>& records, StampFileKind kind,
                    MessageSink& sink);

} // namespace oboro
