#pragma once
// The label window's state that outlives its controls: how the next label is placed,
// the colour and size of new labels, the pending placement or move, the loaded file
// list and the texts of the status line. Kept by the open map with its label table.
#include "common/canvas.h"
#include "labels/labellayer.h"
#include "labels/labeltable.h"

#include <string>
#include <vector>

namespace oboro {

enum class LabelPlacement { Mouse, Degrees, Units }; // マウス, 経度/緯度, ＸＹ座標

inline constexpr const char* kLabelStatusIdle = "位置指定ボタンをクリック";
inline constexpr const char* kLabelStatusClick = "ラベル表示位置をクリック";
inline constexpr const char* kLabelStatusType = "ラベルを記入";
inline constexpr int kLabelMinNewSize = 6;
inline constexpr int kLabelMaxNewSize = 50;

struct LabelControls {
    LabelLook look;
    Color color = kDefaultLabelColor;      // 文字色: new labels and the colour changes
    int newSize = 8;                       // 文字サイズ
    LabelPlacement placement = LabelPlacement::Mouse;
    std::string lonText, latText;          // 経度/X座標, 緯度/Y座標
    bool placePending = false;             // the next map click places a label
    int moveRow = -1;                      // the next map click moves this row
    bool changed = false;                  // placed, moved or read since the last show
    bool allShown = true;                  // 非表示 / 表　示 toggle
    std::vector<std::string> files;        // 読込済みﾗﾍﾞﾙﾌｧｲﾙ
    std::string status = kLabelStatusIdle;
    int editRow = -1;                      // the row whose text waits to be typed
    bool windowOpened = false;             // opened by ラ ベ ル
    bool saveEnabled = false;              // 保 存
    bool clearEnabled = false;             // クリア
    bool rereadEnabled = false;            // 再読込
    bool placeEnabled = true;              // 位置指定
};

} // namespace oboro
