#pragma once
// The symbol palette's state that the map's clicks and drawings read: the chosen
// symbol and how the next stamp looks, whether clicks stamp, and a position typed as
// longitude and latitude that the next stamp takes.
#include "common/canvas.h"
#include "symbols/stamps.h"

#include <QPoint>
#include <optional>
#include <string>

namespace oboro {

struct SymbolPalette {
    bool armed = false;          // map clicks stamp the current symbol
    bool chosen = false;         // a symbol has been chosen since the start
    int symbol = kFirstMapSymbol; // the current symbol
    Color color = 0x0000FF;      // 色: red
    int size = kStandardStamp;   // 地図記号サイズ
    bool transparent = true;     // 透明
    bool disabled = false;       // 無 効 pressed: clicks do not stamp
    std::optional<QPoint> pending; // 実行: map units the next stamp takes
    std::string lastFileName;    // the last symbol file read or written
};

inline constexpr const char* kStampingOffTitle = "スタンプ機能";
inline constexpr const char* kStampingOffText =
    "スタンプ機能は現在無効になっています．　　　　\n有効ボタンをクリックしてスタンプ機能を有効にしてください．　　　　";
inline constexpr const char* kRestartStampsText =
    "地図記号はすでに描かれています．新規に描きますか？　　　　　　\n追加する場合は「キャンセル」を選んでください";
inline constexpr const char* kClearStampsText = "地図記号をすべてクリアしますか？　　　";
inline constexpr const char* kNoSymbolChosenText = "記号パレットで記号を選んでください";
// The pointer's offset to where a stamp lands: the centre of the 32 × 32 cursor.
inline constexpr int kStampCursorOffset = 16;
// 実行 with GSI 補正: positions read from the web map service, in map units.
inline constexpr int kGsiCorrectionX = 30;
inline constexpr int kGsiCorrectionY = -45;

} // namespace oboro
