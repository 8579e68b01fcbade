#pragma once
// The open map as one window-free object: the map data, the view, the look, the
// switches, the paint records and palette, the decorations and the search state, with
// the user's actions as operations. Windows show this state and call its operations;
// every reset and every switch chain is written here once. After an operation the
// session tells its views through `changed`; a drawing also reports through `drawn`.
#include "common/canvas.h"
#include "common/messages.h"
#include "labels/labelstate.h"
#include "labels/labeltable.h"
#include "mapdata/loader.h"
#include "mapdata/store.h"
#include "measure/circles.h"
#include "measure/path.h"
#include "measure/readout.h"
#include "measure/regionarea.h"
#include "paint/paint.h"
#include "search/municipalitysearch.h"
#include "search/searchhistory.h"
#include "view/decorations.h"
#include "view/display.h"
#include "view/mapexport.h"
#include "view/mousedispatch.h"
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
enum class MapTool { None, Range, Centre, Paint, Path, RegionArea };

// What the view shows over the cached picture while a tool works.
struct Overlay {
    std::optional<QRect> rangeSquare;  // the dragged range square
    std::string rangeText;             // "NN km  NNN pix" inside it
    std::optional<QPoint> centreCross; // the centre setting cross
    std::optional<QLine> measureLine;  // the two-point distance rubber band
    PathMeasurer::Band path;           // the measured path and its rubber band
    std::optional<QRect> scaleBarBox;  // the scale bar being dragged
};

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
    // What the mouse handlers dispatch on: the armed tools and gestures in progress.
    ModeFlags mouseModes() const;
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
    void installLabelLayers();
    void afterSearchedArea();

    MessageSink& messages_;
    std::array<bool, kPaintSavedSwitches.size()> savedSwitches_{};
    bool drawing_ = false;
};

} // namespace oboro
