#pragma once
// The open map as one window-free object: the map data, the view, the look, the
// switches, the paint records and palette, the decorations and the search state, with
// the user's actions as operations. Windows show this state and call its operations;
// every reset and every switch chain is written here once. After an operation the
// session tells its views through `changed`; a drawing also reports through `drawn`.
#include "common/canvas.h"
#include "common/messages.h"
#include "lines/lineeditor.h"
#include "labels/labelstate.h"
#include "labels/labeltable.h"
#include "mapdata/loader.h"
#include "mapdata/store.h"
#include "measure/circles.h"
#include "measure/path.h"
#include "measure/readout.h"
#include "measure/regionarea.h"
#include "names/readings.h"
#include "paint/legend.h"
#include "paint/datapaint.h"
#include "paint/paint.h"
#include "paint/paintfile.h"
#include "search/municipalitysearch.h"
#include "search/searchhistory.h"
#include "symbols/stamplayer.h"
#include "symbols/stamps.h"
#include "symbols/symbolpalette.h"
#include "view/decorations.h"
#include "view/display.h"
#include "view/mapexport.h"
#include "view/names.h"
#include "view/navigation.h"
#include "view/projection.h"
#include "view/render.h"

#include <QImage>
#include <QObject>
#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace oboro {

// The main window's drawing switches by what they do.
enum class Switch {
    PrefBorders,       // 都府県界
    TownBorders,       // 市区町村界
    PreMergerBorders,  // 旧
    PreMergerNames,    // 旧市町村 (follows 旧)
    PrefNames,         // 都道府県名
    TownNames,         // 市区町村名
    Readings,          // 読み
    Labels,            // ラベル
    DuplicateNames,    // 重複可
    ScaleBar,          // 尺度
    LakeBorders,       // 湖境界
    Graticule,         // 経緯線(1度)
    TenMinuteLines,    // 経緯線(10分)
    DegreeNumbers,     // 経緯度
    EveryOtherDegree,  // 1度おき
    Legend,            // 地図凡例
    CentreMark,        // 中心
    SearchPaint,       // 市町村検索ペイント
    SearchTotalArea,   // 総面積表示
    ApprovalNotice,    // 国土地理院承認番号表示
    PrefNameCorner,    // 都府県名表示
    PleaseWait,        // お待ちください．．．
    GraticuleBelow,    // 経緯度線下層表示
    HokkaidoBorders,   // 北海道支庁界表示
};

// The switches painting takes over while it runs, restored when it ends.
inline constexpr std::array<Switch, 15> kPaintSavedSwitches = {
    Switch::PrefBorders,   Switch::TownBorders,      Switch::TownNames,        Switch::Labels,
    Switch::ScaleBar,      Switch::Graticule,        Switch::TenMinuteLines,   Switch::DegreeNumbers,
    Switch::EveryOtherDegree, Switch::PreMergerNames, Switch::DuplicateNames,  Switch::LakeBorders,
    Switch::CentreMark,    Switch::Legend,           Switch::SearchPaint};

// The paint window's boxes.
struct PaintOptions {
    bool show = true;            // 表示
    bool whiteBackground = false; // 背景白色
    bool wardPaint = false;      // 区ペイント
    bool preMergerPaint = false; // 旧町村ペイント
    bool namesOverPaint = false; // 市町村名
};

// The mouse tool the map's button presses go to. Path (距離) and RegionArea (面積) are
// the measuring modes; without a tool a left drag measures the distance of two points.
// What a data paint did: the records made, the classes of a statistics file (one legend
// row each), the rows that matched no municipality, and the municipalities found that are
// not on the map shown.
struct DataPaintOutcome {
    int painted = 0;
    std::vector<ClassRow> classes;
    std::vector<std::string> unmatched; // "12 行目 99999（コードが見つかりません）"
    int elsewhere = 0;
};

// "\\mapdata\\paintlist.lst" below the program folder: the names of 市町村指定.
std::string paintNameListPath();

enum class MapTool { None, Range, Centre, Paint, Path, RegionArea };

// What the view shows over the cached picture while a tool works.
struct Overlay {
    std::optional<QRect> rangeSquare;  // the dragged range square
    std::string rangeText;             // "NN km  NNN pix" inside it
    std::optional<QPoint> centreCross; // the centre setting cross
    std::optional<QLine> measureLine;  // the two-point distance rubber band
    PathMeasurer::Band path;           // the measured path and its rubber band
    std::optional<QRect> scaleBarBox;  // the scale bar being dragged
    std::optional<PlacedText> hoverReading;   // the reading of the name under the pointer
    std::vector<PlacedText> nameHighlight;    // the name list's current row, on yellow
    std::optional<QRect> legendBox;    // the legend box being dragged
};

// What the readings window shows of the name under the pointer or the list's row.
struct ReadingsPanel {
    enum class State { Nothing, Found, NoReading } state = State::Nothing;
    std::string name;
    std::string reading;  // the display form (splitReading)
    std::string kind;     // "政令", "新名称", ..., or the list's kind
};

// The mouse tools of the map, in their precedence for a press. Navigate is the pointer
// without a tool: the distance between two points, the readout and the reading under it.
enum class MouseToolId {
    Navigate,
    WebMap,       // ウオッちず
    RegionArea,   // 面積
    Path,         // 距離
    Range,        // 範囲指定
    Stamp,        // the symbol palette
    LegendDrag,   // the legend box moved with the mouse
    ScaleBarDrag, // the scale bar moved with the mouse
    CircleCentre, // distance circles
    MapLine,      // the edited map line
    Paint,
    LabelPlace,
    LabelMove,
    Centre,       // "+" or a double-click
};
inline constexpr size_t kMouseToolCount = static_cast<size_t>(MouseToolId::Centre) + 1;

// Outcome of releasing a range drag.
enum class RangeOutcome { Applied, Refused, NotArmed };

class MapSession : public QObject {
    Q_OBJECT
public:
    explicit MapSession(MessageSink& messages, QObject* parent = nullptr);
    ~MapSession() override;

    // ---- state of the open map
    MapStore store;
    Canvas canvas;                 // the cached map picture (overlays are not in it)
    ViewState view;
    DisplayState display;
    MainSwitches switches;
    ToolSwitches tools;
    RenderState renderState;
    RenderHooks hooks;
    BackHistory backHistory;
    PaintRecords paintRecords;
    PaintPalette palette;
    int selectedSlot = -1;         // 0..7, −1 for none
    PaintOptions paintOptions;
    NameOptions nameOptions;
    DecorationState decorations;
    MunicipalitySearch search;
    SearchHistory history;         // the search box's drop-down, kept by every search
    Overlay overlay;
    MapTool tool = MapTool::None;
    std::string searchText;        // the searched name
    std::string searchNameKind;    // "新名称" / "旧名称" / empty, after a search
    Color searchNameKindColor = 0;

    bool mapShown = false;         // a map has been drawn since the last selection
    bool paintActive = false;      // painting runs: the view is locked
    bool readoutInMapUnits = false; // 座標値 instead of 経緯度
    bool rangeRefused = false;     // a refused range waits for its timer
    DrawResult lastDraw;           // what the last drawing reported
    bool duplicateNamesUsable = false; // 重複可 can be used for this selection
    float lastRangeKm = 0.0f;      // snapped side of the range square being dragged
    QPoint rangeCorner;            // where the range square was pressed
    int rangeSide = 0;             // its side in pixels so far
    bool scaleBarDragging = false; // the scale bar is being moved

    // ---- measuring
    TwoPointMeasure twoPoint;      // the left drag without a tool
    PathMeasurer path;             // 距離
    bool pathAutomatic = false;    // 概算: the path follows the pointer
    RegionAreaTool regionArea;     // 面積
    bool landArea = false;         // 県: 面積 measures the land of the view
    DistanceCircleModel circles;   // the distance circle sets and their window's controls
    bool webMapArmed = false;      // ウオッちず: the next click opens the web map service
    std::string webMapBase = kDefaultWebMapBase;
    PanelUpdate panel;             // the measurement figures as shown, every field once set
    // The last measurement of the searched name's regions (総面積表示).
    std::optional<SearchedAreaResult> searchedArea;

    // ---- readings
    ReadingsTable readings;            // yomi.lst of the map data folder
    std::string readingsPath;          // where the table was read from and is saved to
    ReadingsLook readingsLook;         // the readings window's size, 固定, 地図上表示
    NameListOptions nameListOptions;   // the list window's order, 逆順, 旧市町村名を除く
    std::vector<NameListRow> nameList; // the list window's rows
    bool nameListEdited = false;       // a reading of the list was changed and not saved
    ReadingsPanel readingsPanel;
    // ---- symbols: the stamp records (in the order of placement, at most kStampCapacity,
    // kept for the run whatever map is shown), the palette's state and the mark folder's
    // bitmaps. Whether stamps are drawn is tools.symbolsShown.
    std::vector<StampRecord> stamps;
    SymbolPalette symbolPalette;
    SymbolImages symbolImages;
    // ---- legend
    LegendSettings legend;         // the legend window's settings (drawn while 地図凡例 is on)
    QRect legendBox;               // pixels of the cached picture, from the last drawing of the legend
    bool legendDragging = false;   // the legend box is being moved
    std::string legendFile;        // the legend file last read or written (shown by the window)
    // ---- map lines
    LineEditor lineEditor;         // the line edited point by point in the map line window
    DisplayedLines displayedLines; // 地図線読込: finished line files shown read-only
    // ---- labels: the label table (saved with the work file), the label window's
    // controls and the labels-in-view list
    LabelTable labels;
    LabelControls labelControls;
    LabelPainter labelPainter;               // keeps the rendered texts between drawings
    std::vector<LabelRow> labelsInView;      // the labels-in-view list, editable
    bool labelsInViewHideNext = true;        // its 非表示設定 / 表示設定 toggle

    // Reads the map files of areas into target; replaceable by tests.
    std::function<bool(MapStore& target, const std::vector<int>& areas, const LoadOptions& opt, MessageSink& sink)>
        readMapFiles;

    MessageSink& messages() { return messages_; }

    // ---- switches
    bool isOn(Switch s) const;
    // Sets a switch with its chain rules, then draws once. written: a window has already
    // put the value in (the chain still runs).
    void setSwitch(Switch s, bool on, bool written = false);
    // Whether the control of a switch can be used now (chains and the painting lock).
    bool switchUsable(Switch s) const;
    // 背景色白: white background, the user's colour kept for when it goes off.
    void setWhiteBackground(bool on);
    void setWgs(bool on);

    // ---- selection and view
    // 県 指 定: per-map state back to its start for a new selection (no drawing).
    void prepareNewSelection();
    // 決　定: loads the areas, sets up the standard view and draws. A failed load keeps
    // the previous map and its state (false).
    bool selectAreas(const std::vector<int>& areas, bool preMergerBorders);
    bool standardRange();
    void setMagnification(int count);
    void zoomBy(int steps);              // the wheel: + out, − in
    void setMagnificationStep(float step);
    void setMoveFactor(float factor);
    void setReduction(int divisor);
    void setSizeFactor(int factor);
    void move(MoveDirection d);
    void armCentre();
    void centreAt(int px, int py);
    void armRange();
    // The range square: pressed at its corner, dragged, released.
    void startRange(QPoint corner);
    void dragRange(QPoint to);
    RangeOutcome releaseRange();
    // The scale bar moved with the mouse: its box follows, the drop redraws it there.
    void startScaleBarDrag();
    void dragScaleBar(QPoint at);
    void dropScaleBar(QPoint at);
    // The one tool that has the map's pointer: the tool of a drag in progress, otherwise
    // the armed tool. A press always goes to the armed tool of highest precedence.
    MouseToolId activeMouseTool() const;
    MouseToolId armedMouseTool() const;
    // A press here grabs the legend or the scale bar (strictly inside what was drawn).
    bool legendGrabbable(QPoint pixel) const;
    bool scaleBarGrabbable(QPoint pixel) const;
    // The one-second timer after a refused range: the standard range comes back.
    void rangeTimerFired();
    bool goBack();
    bool viewLocked() const { return paintActive; }

    // ---- painting
    // ペイント: false when the user kept the old paint (confirm answered no).
    bool startPaint(const std::function<bool(const Message&)>& confirm);
    void resumePaint();
    void endPaint();
    bool paintAt(int px, int py);
    void undoPaint();
    void selectSlot(int slot) { selectedSlot = slot; }
    void setPaintOption(bool PaintOptions::*option, bool on);

    // ---- paint files, paint by name and data paint
    std::string paintFileName;               // the last paint or data file read or written
    std::vector<std::string> paintNameList;  // 市町村指定: the names of the map in view
    // 保　存: the background, the palette and (unless colorsOnly) the records.
    bool savePaintFile(const std::string& path, bool colorsOnly);
    // 読　込: background and palette, and the records (replacing them, or after them with
    // append); a bad file is told (file and line) and changes nothing. Ends painting.
    bool loadPaintFile(const std::string& path, bool colorsOnly, bool append);
    // 市町村指定: the names of the map in view, duplicates as name(county or city), sorted;
    // also written to paintlist.lst.
    const std::vector<std::string>& buildPaintNameList();
    // 実行: fills every name position of the name (a designated city: its wards) with the
    // selected slot while painting. Returns the number of records made.
    int paintByName(const std::string& name);
    // データ: a points file, or a statistics file painted in classes; replaces the
    // records and ends painting. Nothing when the file was refused (told, nothing changed).
    std::optional<DataPaintOutcome> dataPaint(const std::string& path, int classes, ClassMethod method);

    // ---- search
    // Shows a found municipality (the search's choice). Paint records stay.
    bool showSearchResult(const SearchResult& r, const SearchCandidate& chosen, const std::string& typedText);

    // ---- measuring (pixels of the picture)
    // The left drag without a tool: press, pointer moved, release.
    void startTwoPoint(QPoint pixel);
    void dragTwoPoint(QPoint pixel);
    void endTwoPoint(QPoint pixel);
    // 経緯度 / 座標値: the readout mode; the distance figure goes back to 0.
    void toggleReadoutMode();
    // 距離: path mode. The events of the path answer what the window does with the
    // sampling timer; the figures go out through panelUpdated.
    void startPath();
    PathEvent pathClick(QPoint pointer);
    void pathMove(QPoint pointer);
    PathEvent pathTick();
    PathEvent pathDoubleClick();
    void setPathAutomatic(bool on);
    // 面積: area mode on or off, or with 県 the land of the view measured at once.
    void regionAreaButton();
    // A click on the map in area mode.
    void regionAreaClick(QPoint pixel);
    // ウオッちず and the settings window's box: the next click opens the web map service.
    void armWebMap(bool on);
    // A click while the web map link is armed: the address of the service at the pixel
    // (the link is one-shot, so it is disarmed).
    std::string webMapClick(QPoint pixel);
    // Distance circles: what a window operation of the circle model asks for is done
    // (redraw, or the sets drawn over the picture).
    void applyCircleOutcome(const CircleOutcome& o);
    void circleCentreAt(QPoint pixel);
    void circlePointerAt(QPoint pixel);
    bool measuring() const { return tool == MapTool::Path || tool == MapTool::RegionArea; }

    // ---- readings
    // Reads the readings table (a missing file is reported; the table is then empty).
    void loadReadings(const std::string& path);
    // 読みがな地図: readings written on the map, or taken off again. False (with the
    // message) when the visible map has too many names for the list.
    bool toggleReadingsMap();
    bool readingsMapShown() const { return tools.readingsMap; }
    // The readings window's controls.
    void setReadingsSize(int size);
    void setReadingsFixedSize(bool on);
    void setKanaOnly(bool on);
    void setReadingsOnMap(bool on);
    void setKanaColor(Color c);
    // The pointer moved over the map while 読み is on: the name under it and its reading.
    void readingsHover(QPoint pixel);
    // 市町村名リスト: the list of the visible names (false with the message when too many).
    bool buildNameList();
    // The prefecture window's 市町村名リスト: 読み on and the list of the map just drawn.
    bool openNameList();
    void setNameListOrder(NameListOrder order);
    void setNameListReverse(bool on);
    // 旧市町村名を除く: the pre-merger borders follow its opposite, then the list is rebuilt.
    void setNameListExcludeOld(bool on);
    // A click on a row: the name (and its reading) highlighted over the map.
    void highlightNameListRow(int row);
    // An edited reading; refused with a message when no line of yomi.lst could hold it.
    bool setNameListReading(int row, const std::string& reading);
    // 読みがな保存: the list merged into the table, written, read back.
    bool saveReadings();
    // リスト保存: the list as a text file.
    bool exportNameList(const std::string& path);
    // ---- symbols (pixels of the picture; `confirm` answers a question, true for OK)
    // 地図記号 / 記号パレットを開く: with stamps on the map, OK starts anew, Cancel adds.
    void openSymbolPalette(const std::function<bool(const Message&)>& confirm);
    // A palette picture: the symbol becomes current and clicks stamp it (a numbered mark
    // whose file is missing is not armed). False when it was not armed.
    bool chooseSymbol(int symbol);
    // 閉じる: clicks no longer stamp; the stamps stay.
    void closeSymbolPalette();
    // A click while armed: a stamp of the current symbol where the cursor shows it (or at
    // the pending position), drawn over the picture.
    void stampAt(int px, int py);
    // A click while armed and stamping is off: the message, and clicks no longer stamp.
    void stampWhilePaused();
    // 実行: a stamp at a longitude and latitude typed as ddd.mmss.
    void stampAtLonLat(const std::string& lonText, const std::string& latText, bool gsiCorrection);
    void undoStamp();                                                  // 戻 す
    void clearStamps(const std::function<bool(const Message&)>& confirm); // クリア
    void toggleStampsShown();                                          // 表 示 / 非表示
    void toggleStampingDisabled();                                     // 無 効 / 有効
    void setStampColor(Color c);
    void setStampSize(int size);
    void setStampTransparent(bool on);
    // Symbol files: a read replaces the stamps (or adds to them); a refused file changes
    // nothing. Writing .mks with no stamps is refused with its message.
    bool readStamps(const std::string& path, StampFileKind kind, bool append);
    bool writeStamps(const std::string& path, StampFileKind kind);
    // The custom symbols of the mark folder: delete them all, or copy them in from a
    // folder or out to it (refused for the mark folder itself).
    bool deleteCustomSymbols(const std::function<bool(const Message&)>& confirm);
    bool copyCustomSymbolsIn(const QString& folder, const std::function<bool(const Message&)>& confirm);
    bool copyCustomSymbolsOut(const QString& folder, const std::function<bool(const Message&)>& confirm);
    // The mark folder of the program folder.
    QString markFolder() const;
    // The point the readout shows: where a stamp would land while clicks stamp.
    QPoint readoutPoint(QPoint pointer) const;
    bool stampingArmed() const { return symbolPalette.armed && !symbolPalette.disabled; }
    // ---- legend
    // 表示: the settings (as the window holds them) take effect; 地図凡例 goes on and the map
    // is drawn again.
    void setLegend(const LegendSettings& s);
    // A legend of rows: up to eight rows (samples and descriptions) fill the legend, whose
    // row count becomes theirs; a title replaces the title and shows it (an empty one
    // hides the title line), none keeps both. 地図凡例 goes on and the map is drawn again.
    void setLegendRows(std::optional<std::string> title, std::vector<LegendRow> rows);
    // 凡例編集: the standard geometry (8 rows, 40 × 15 samples, gap 3, at 50, 50, size 10);
    // with copySamples every row takes the sample of its paint slot.
    void startLegendEditing(bool copySamples);
    // A click on sample row while painting with a slot selected: the row takes the slot's
    // colour and pattern. False when nothing changed.
    bool takeLegendSample(int row);
    // パターンコピー: the paint slots of the first rows take the rows' samples.
    void legendToPalette();
    // 地図: with it off, drawings leave out the map and draw only the overlays.
    void setLegendMapShown(bool on);
    // 読　込 / 保　存 of a legend file; a failure is told and changes nothing.
    bool readLegend(const std::string& path);
    bool writeLegend(const std::string& path, const LegendSettings& s);
    // The legend box moved with the mouse: its outline follows the pointer, the drop
    // moves the legend there.
    void startLegendDrag();
    void dragLegend(QPoint at);
    void dropLegend(QPoint at);
    // ---- map lines (the map line window's operations; each draws what changed)
    void newMapLine();                         // 新規作成
    bool mapLineClick(QPoint pixel);           // a map click the edited line awaits
    void finishMapLine();                      // 終わり
    void mapLineBreak();                       // 切断
    void insertMapLinePoint();                 // 挿　入
    void deleteMapLinePoint();                 // 削　除
    void moveMapLinePoint();                   // 移　動
    void selectMapLinePoint(int row);
    void shiftMapLine(int dx, int dy);         // 移動 (map units)
    void setMapLineEditView(bool on);          // 表示 / 編集
    void setMapLineShown(bool on);             // the edited line drawn at all
    void setMapLineStyle(const LineStyle& s);
    void setMapLineLoop(bool on) { lineEditor.closeLoop = on; }
    void setMapLineAppendOnInsert(bool on) { lineEditor.appendOnInsert = on; }
    // ﾌｧｲﾙ読込: reads a file for editing; an unreadable file changes nothing (false).
    bool openMapLine(const std::string& path);
    // ﾌｧｲﾙ保存: false after a message when the file could not be written.
    bool saveMapLine(const std::string& path);
    void closeMapLine();                       // 編集終了
    // 地図線読込: all or nothing (see DisplayedLines::load).
    bool loadDisplayedLines(const std::vector<std::string>& paths, bool append);
    void clearDisplayedLines();                // クリア
    void removeDisplayedLine(const std::string& path);
    void setDisplayedLinesShown(bool on);      // 表示
    void setPaintBorderLines(bool on);         // 塗り分け境界線
    // ---- labels (the questions are asked by the window before these run)
    // ラ ベ ル: the window opens (クリア becomes usable).
    void openLabelWindow();
    // After every area selection: no pending move or highlight, all rows counted shown,
    // the file list emptied (the rows stay), the position entries cleared.
    void resetLabelState();
    // 位置指定 by the chosen method: the mouse arms the next click; degrees and map units
    // place at once. False when nothing was placed or armed (the message has been shown).
    bool placeLabel();
    // A map click while a placement is pending / a move is pending.
    bool placeLabelAt(int px, int py);
    void moveLabelTo(int px, int py);
    void startLabelMove(int row);
    // 読　込 (additive: 追加読込): files already listed are not read again. A file that
    // cannot be read or is not a label file leaves the table and the list as they were.
    bool readLabelFiles(const std::vector<std::string>& paths, bool additive);
    bool rereadLabelFiles();
    bool saveLabels(const std::string& path);
    void clearLabels();
    void deleteLabel(int row);
    void setLabelColor(Color c);
    void recolourLabel(int row);
    void recolourAllLabels();
    void resizeAllLabels();
    void sortLabelsByText();
    void sortLabelsByFileNumber();
    void setAllLabelsShown(bool shown);
    void toggleLabelShown(int row);
    // A typed cell; false with the message shown when refused. The map is drawn again.
    bool editLabel(int row, LabelColumn column, const std::string& typed);
    // マーク, ラベル, 文字ｻｲｽﾞ固定, 白抜き, 文字ｻｲｽﾞ: redraws.
    void setLabelLook(const LabelLook& look);
    void showLabels();
    void hideLabels();
    // The row drawn red (−1: none); redraws.
    void highlightLabel(int row);
    void centreOnLabel(int row);
    // The name-label generators: the names in view written as a label file.
    bool writeNamesAsLabels(const std::string& path, bool preMerger);
    // The labels-in-view list: filled from the view, a row's 表示 toggled into the table,
    // the table rebuilt from the list, all rows' 表示 set and the table rebuilt.
    void fillLabelsInView();
    void sortLabelsInView();
    bool editLabelInView(int row, LabelColumn column, const std::string& typed);
    void toggleLabelInView(int row);
    void rebuildLabelsFromList();
    void toggleAllLabelsInView();

    // ---- drawing
    // Draws the cached picture from the state (nothing while drawing is off).
    void redraw();
    // Sets several things with drawing off, then draws once.
    template <class F> void batch(F&& f)
    {
        const bool was = switches.drawingEnabled;
        switches.drawingEnabled = false;
        f();
        switches.drawingEnabled = was;
        redraw();
    }
    // A fresh picture of the map at an image side (600 to 7200 ÷ the reduction), drawn
    // without touching the cached picture or the view; null if it could not be drawn.
    QImage drawPicture(int side, DrawStatus* status = nullptr);
    // 印刷用に保存: the map drawn at a print side (600 to 7200) and written with its
    // resolution; the open map stays as it is. A cancel or failure leaves no file.
    ExportOutcome exportPicture(const MapExport& what, const ExportProgress& progress);

signals:
    void changed();
    void drawn(const oboro::DrawResult& result);
    // A drawing refused the range: the views start the one-second timer.
    void rangeRefusedSignal();
    // New measurement figures: the fields set are shown (the others stay).
    void panelUpdated(const oboro::PanelUpdate& update);

private:
    void setRaw(Switch s, bool on);
    bool* field(Switch s);
    void loadFailedKeepMap();
    bool loadInto(const std::vector<int>& areas);
    void preparePainting();
    void drawNamesOverPaint(RenderContext& ctx);
    // Runs f on the map as a saved picture shows it: paint replayed even while painting,
    // no please-wait notice; the decorations a drawing moves are put back afterwards.
    template <class F> auto withPictureScene(F&& f);
    void showPanel(const PanelUpdate& u);
    void finishPath(const PathEvent& e);
    void installMeasuringLayers();
    void installSymbolLayers();
    void drawStampOver(const StampRecord& r);
    void installLegendLayers();
    void finishFilePaint();
    bool paintAtNamePosition(int32_t x, int32_t y);
    void installLineLayers();
    void mapLinesChanged();
    void installLabelLayers();
    void afterSearchedArea();
    void installReadingsLayer();
    void readingsSwitched(bool on);

    MessageSink& messages_;
    std::array<bool, kPaintSavedSwitches.size()> savedSwitches_{};
    bool drawing_ = false;
    std::vector<NameListRow> nameListEdits_; // readings edited in the list, not yet saved
    PlacedTextPainter readingsPainter_;      // the readings map's texts, rendered once
};

} // namespace oboro
