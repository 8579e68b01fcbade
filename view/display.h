#pragma once
// The look of the map: the colour set, pen widths, name font sizes and drawing
// switches that every drawing reads (edited by the display settings window, kept in
// the configuration and work files), and the main window's check boxes and menu checks
// that the drawing reads. Every item starts with its start-up value.
#include "common/canvas.h"

#include <string>

namespace oboro {

// Standard colours, fixed at start-up.
inline constexpr Color StdNTownColor = 16250624;
inline constexpr Color StdIslandsColor = 32768;
inline constexpr Color StdMountainColor = 16711680;

struct DisplayState {
    // ---- colour set (0x00BBGGRR)
    Color CoastColor = 16711680;      // coastline
    Color PrefColor = 255;            // prefecture borders
    Color TownColor = 2672688;        // municipal borders
    Color NTownColor = StdNTownColor; // old (pre-merger) municipal borders
    Color KuColor = 9421963;          // ward borders of designated cities
    Color TownFontColor = 0;          // municipality names
    Color BackColor = 16777185;       // map background
    Color SavedBackColor = 16777185;  // background kept while 背景色白 is on
    Color WakuColor = 16744576;       // map frame
    Color DoColor = 0;                // one-degree graticule
    Color FunColor = 12632256;        // ten-minute graticule
    Color IslandsColor = StdIslandsColor;
    Color MountainColor = StdMountainColor;
    // Colours owned by other windows that the fill target rule also knows.
    Color KanaFontColor = 0;          // readings
    Color LabelColor = 0x800000;      // label text colour of the label window
    Color TownPaintColor = 65535;     // search paint colour

    // ---- widths and sizes
    int CoastWidth = 1;    // 1..3
    int PrefWidth = 1;     // 1..3
    int TownWidth = 1;     // 1..3: municipal, old municipal, lake and ward borders
    int TownFontSize = 8;  // 4..50
    int TownFontPixels = 8;
    int WakuWidth = 2;     // frame width (UpDown5), 1..3

    // ---- drawing switches of the display settings window
    bool CBCoast = true;       // draw the coastline
    bool CBColor = false;      // 海岸線の色に揃える: lines and texts in CoastColor (同一色)
    bool CBWaku = false;       // 地図枠
    bool CBPrefDot = false;    // prefecture borders dotted
    bool CBTownDot = false;    // municipal borders dotted
    bool CBNTownDot = true;    // old municipal borders dotted
    bool CBLakeDot = true;     // lake borders dotted
    bool CBKu = true;          // 政令都市区界
    bool CBKuDot = true;       // ward borders dotted
    bool CheckBox15 = false;   // 旧市町村界も同色: old borders in TownColor
    bool CheckBox1 = false;    // 背景色と同色: municipal and old borders in BackColor
    bool CBHokkaido = true;    // 北海道支庁界
    bool CBCityName = false;   // 市名
    bool CBKuName = true;      // 区名
    bool CBFixedSize = true;   // ﾌｫﾝﾄｻｲｽﾞ固定
    bool CBWhite = false;      // 白抜き
    bool CBMountain = false;   // 山名
    bool CBMtHeight = false;   // 高さ
    bool CBMtYomi = false;     // 読み
    bool CBIslands = false;    // 島名
    bool CBMesh = false;       // メッシュ
    bool CBMeshName = false;   // 地図名
    bool CBMeshName2 = false;  // 細分名
    bool CBFunDot = false;     // ten-minute graticule dotted
    bool CBOffice = false;     // 市町村役場
    bool CBOfficeName = true;  // 名称表示
    bool CBSoft = false;       // ソフトカラー (only consulted by 標準)
    bool CBWatch = false;      // click opens the web map service
    // Settings-window boxes the drawing reads as well.
    bool CheckBox13 = false;   // 背景色白: BackColor forced to white
    bool CBKenName = false;    // 都道府県名
    bool CBKenOffice = false;  // 県庁所在地

    // Recomputes TownFontPixels for an image side.
    void updateTownFontPixels(int imageSide);
};

// Font size in effect for municipality names. A fixed size is the size as set on screen
// and grows with the picture only above 1800 pixels (side ÷ 1800 times).
int TownFontPixels(int townFontSize, bool fixedSize, int imageSide);

// The detail scale of a picture: 1 up to 1800 pixels, side ÷ 1800 above (print sizes), so
// pen widths, dot and hatch spacing and fixed text sizes keep the proportions of the
// 1800 picture.
DetailScale detailScaleFor(int imageSide);

// The main window's check boxes and menu checks that the drawing reads, with their
// start-up states. The main window binds its controls to these.
struct MainSwitches {
    bool drawingEnabled = false;  // the drawing-enabled switch
    bool CBPrefBorder = true;     // 都府県界
    bool CBTownBorder = true;     // 市区町村界
    bool CBNTownBorder = false;   // 旧
    bool CBOldTown = false;       // 旧市町村（削除不可）, hidden
    bool CBKenName1 = false;      // 都道府県名
    bool CBTownName = true;       // 市区町村名
    bool CBYomi = false;          // 読み
    bool CBLabel = false;         // ラベル
    bool CBMainDoubleName = true; // 重複可
    bool CBScale = false;         // 尺度
    bool CBLake = false;          // 湖境界
    bool CBLonLat = false;        // 経緯線(1度)
    bool CBFun = false;           // 経緯線(10分), hidden
    bool CBDo = false;            // 経緯度, hidden
    bool CB1do = false;           // 1度おき, hidden
    bool CBExp = false;           // 地図凡例
    bool CBCenter = false;        // 中心
    bool CBTownPaint = true;      // 市町村検索ペイント
    bool CBMenseki = false;       // total-area box (総面積表示)
    // menu checks
    bool kokudo = true;           // 国土地理院承認番号表示
    bool ken_name = true;         // 都府県名表示
    bool pleaseWait = true;       // お待ちください．．．
    bool gridUnder = true;        // 経緯度線下層表示
    bool hokkaidoBorders = true;  // 北海道支庁界表示
};

// Switches of the tool windows that decide whether a layer is drawn.
struct ToolSwitches {
    bool legendMap = true;          // legend editor 地図 (off: only the overlays are drawn)
    bool legendShown = false;       // legend editor 凡例(削除不可)
    bool distanceCircles = true;    // distance circle window 距離円表示
    bool paintBorderLines = false;  // map line editor 塗り分け境界線
    bool lineFilesListed = false;   // the map line editor's list of displayed files is not empty
    bool paintReplay = false;       // paint replay flag
    bool paintShow = true;          // paint tool 表示
    bool namesOverPaint = false;    // paint tool 市町村名: names left to the paint tool
    bool kanaOnly = false;          // readings window かなのみ
    bool readingsMap = false;       // readings window 読みがな地図: readings written on the map
    bool paintingActive = false;    // the paint tool is painting
    bool symbolsShown = true;       // stamped symbols shown
    bool lineEditorRedrawPending = false; // the map line editor asked for its redraw
    bool lineEditorShowsEdited = false;   // its display box is checked and it is editing
    std::string searchName;         // the searched name (for the measuring window text)
};

} // namespace oboro
