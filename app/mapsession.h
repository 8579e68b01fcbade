#pragma once
// The open map as one window-free object: the map data, the view, the look, the
// switches, the paint records and palette, the decorations and the search state, with
// the user's actions as operations. Windows show this state and call its operations;
// every reset and every switch chain is written here once. After an operation the
// session tells its views through `changed`; a drawing also reports through `drawn`.
#include "common/canvas.h"
#include "common/messages.h"
#include "mapdata/loader.h"
#include "mapdata/store.h"
#include "paint/paint.h"
#include "search/municipalitysearch.h"
#include "search/searchhistory.h"
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

// The mouse tool the map's button presses go to.
enum class MapTool { None, Range, Centre, Paint };

// What the view shows over the cached picture while a tool works.
struct Overlay {
    std::optional<QRect> rangeSquare;  // the dragged range square
    std::string rangeText;             // "NN km  NNN pix" inside it
    std::optional<QPoint> centreCross; // the centre setting cross
    std::optional<QLine> measureLine;  // the two-point distance rubber band
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
    void dragRange(int x0, int y0, int x, int y);
    RangeOutcome releaseRange(int x0, int y0, int side);
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

    MessageSink& messages_;
    std::array<bool, kPaintSavedSwitches.size()> savedSwitches_{};
    bool drawing_ = false;
};

} // namespace oboro
