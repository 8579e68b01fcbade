#pragma once
// Distance circles: circles of a given ground radius, or concentric circles at a fixed
// interval, around centres picked on the map or typed as latitude and longitude. The
// circle sets are part of the editing state (the work file saves the list) and are
// drawn at every redraw, after the map and the legend.
//
// An outline is a true ground circle: each of its 101 points lies the radius away from
// the centre as a great-circle distance (sphere of 6371 km), found along its direction
// in map units; it is not a circle of pixels.
#include "common/canvas.h"
#include "common/messages.h"
#include "measure/ground.h"
#include "view/render.h"

#include <QPoint>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace oboro {

// One circle set, its fields in the order the work file writes them.
struct DistanceCircle {
    int32_t x = 0;          // centre, map units of the data (Tokyo datum)
    int32_t y = 0;
    int32_t radius = 20;    // radius, or interval of concentric circles, whole km
    int32_t fontSize = 8;   // distance labels, 6..50 points
    int32_t width = 1;      // pen width, 1..5
    Color color = 0x0000FF; // circles, labels and centre mark
    bool concentric = false; // radius, 2 × radius, … while the last one shows
    bool labels = true;      // the distance beside each circle
    bool centreMark = true;  // a cross at the centre
    bool fixedSize = true;   // labels keep their size; else scaled by image side / 600
    bool operator==(const DistanceCircle&) const = default;
};

inline constexpr int kCircleCapacity = 250;
inline constexpr int kCircleOutlinePoints = 100; // segments of an outline (101 points, last = first)
// No ground circle is larger than half the earth's circumference.
inline constexpr int kMaxCircleRadiusKm = 20000;

// The outline of the ground circle of radius km around a centre, in map units: 101
// points, the last equal to the first, the first due east of the centre.
std::vector<QPoint> groundCircle(int32_t cx, int32_t cy, float radiusKm);

// Point size of a set's labels on a picture: the set's size, or with fixedSize off the
// size scaled by side / 600 and truncated (8 points are 16 at 1200 pixels, 4 at 300).
int circleLabelSize(const DistanceCircle& c, int side);

// Draws one circle set: the centre mark, the circle (and while concentric the further
// circles as long as the last one had a point inside the picture) with their labels.
// exactCount > 0 draws exactly that many circles at radius, 2 × radius, … instead.
// Returns the number of circles drawn.
int drawCircleSet(Canvas& canvas, const ViewState& v, const DistanceCircle& c, int exactCount = 0);
// Every set, in list order.
void drawDistanceCircles(Canvas& canvas, const ViewState& v, const std::vector<DistanceCircle>& circles);

// ---- the distance circle window's state

inline constexpr int kRadiusChoices[5] = {10, 20, 50, 100, 200};
inline constexpr int kTypedRadiusChoice = 5; // 指定: the radius typed in its box

inline constexpr const char* kCircleTitle = "距離円";
inline constexpr const char* kRadiusErrorTitle = "半径エラー";
inline constexpr const char* kRadiusDecimalText = "半径は整数でのみ指定できます";
inline constexpr const char* kRadiusDecimalEditText = "半径は整数でしか与えられません";
inline constexpr const char* kRadiusRangeText = "半径は 1 から 20000 までの整数 (km) で指定してください";
inline constexpr const char* kLatitudeRangeText = "緯度の指定が違っています\n\n緯度は 90 度までです";
inline constexpr const char* kCircleListFullText = "距離円は 250 組まで設定できます\nこれ以上追加できません";
inline constexpr const char* kNoCirclesText = "距離円は設定されておりません";
inline constexpr const char* kDeleteCirclesText = "設定された距離円データを削除してもよろしいですか?     ";

inline constexpr const char* kPickCentreStatus = "距離円の中心を指定してください";
inline constexpr const char* kCirclesAddedStatus = "距離円を追加しました";
inline constexpr const char* kCirclesDrawnStatus = "距離円を描きました";
inline constexpr const char* kCirclesDeletedStatus = "距離円を削除しました";
inline constexpr const char* kAddModeStatus = "中心指定ボタンをクリックしてください";
inline constexpr const char* kTypedCentreStatus = "中心経緯度設定モード";
inline constexpr const char* kMouseCentreStatus = "中心マウス設定モード";

// The window's controls that the circle sets are made from, with their start values.
struct CircleControls {
    int radiusChoice = 1;            // 半径/間隔: 10, 20, 50, 100, 200 km, 指定
    std::string typedRadius = "25";  // the 指定 box
    bool concentric = false;         // 同心円
    bool centreMark = true;          // 中心表示
    bool labels = true;              // 距離表示
    bool shown = true;               // 距離円表示
    bool fixedSize = true;           // 固定
    bool addMode = false;            // 追加円
    int width = 1;                   // 線太さ 1..5
    int fontSize = 8;                // 文字ｻｲｽﾞ 6..50
    bool typedCentre = false;        // 指定: centre from the typed latitude and longitude
    std::string lonText = "ddd.mmss";
    std::string latText = " dd.mmss";
    bool gsiCorrection = false;      // GSI 補正: positions read from the web map service
};

// What the window does after an operation.
struct CircleOutcome {
    bool changed = false;  // the list changed
    bool redraw = false;   // redraw the map
    bool drawOver = false; // draw the circle sets at once over the current picture
};

class DistanceCircleModel {
public:
    CircleControls controls;
    Color currentColor = 0x0000FF;  // the swatch: colour of the next set

    // Labels of the window.
    std::string status = kPickCentreStatus; // status line
    std::string centreXText, centreYText;   // 中心 x, 中心 y (map units)
    std::string lonLabel, latLabel;         // 経度, 緯度 of a picked centre

    const std::vector<DistanceCircle>& circles() const { return circles_; }
    int count() const { return static_cast<int>(circles_.size()); }
    std::string countText() const { return std::to_string(count()); }
    bool pickingCentre() const { return picking_; }
    bool centreSet() const { return centreSet_; }
    // 半径/間隔, 同心円 … 距離円表示, the two up-downs, the colour button and 追加円
    // are enabled once a centre is set.
    bool settingsEnabled() const { return centreSet_; }

    // The radius the controls give, or nothing after telling why through the sink.
    // editing: the wording of a live edit.
    std::optional<int> radiusFromControls(MessageSink& sink, bool editing = false) const;
    // A new set from the controls at a centre.
    DistanceCircle recordAt(int32_t x, int32_t y, int radius) const;

    // 円 on the main window: enables 距離円表示 and 追加円 when there are sets (else
    // disables them), shows the window and starts 中心指定.
    struct MainButton {
        bool showAndAddEnabled = false;
        CircleOutcome outcome;
    };
    MainButton openFromMainWindow(MessageSink& sink);
    // 距離円を描く and the display settings' button: shows the window, picking a centre.
    void openForPicking();
    // 中心指定: with a typed centre, reads it and stores the set; otherwise waits for a
    // map click. Bad typed text or radius gives its message and changes nothing.
    CircleOutcome startCentre(MessageSink& sink);
    // A map click while picking the centre.
    CircleOutcome pickAt(const ViewState& v, QPoint pixel, MessageSink& sink);
    // Pointer movement while picking: centre readout and the typed boxes follow it.
    void pointerAt(const ViewState& v, QPoint pixel);

    // Live edits: the control changes; the last set follows it (and the map is redrawn)
    // unless 追加円 is checked or there are no sets.
    CircleOutcome setRadiusChoice(int choice, MessageSink& sink);
    CircleOutcome setWidth(int width);
    CircleOutcome setFontSize(int size);
    CircleOutcome setConcentric(bool on);
    CircleOutcome setCentreMark(bool on);
    CircleOutcome setLabels(bool on);
    CircleOutcome setFixedSize(bool on);
    CircleOutcome setColor(Color c); // after the colour dialog
    CircleOutcome setShown(bool on); // 距離円表示: only redraws
    void setAddMode(bool on);
    void setTypedCentre(bool on);

    // 円削除: asks first; confirm returns true for OK.
    CircleOutcome deleteAll(MessageSink& sink, const std::function<bool(const Message&)>& confirm);
    // 閉じる: picking off, the settings disabled, 距離円表示 checked; the sets stay.
    CircleOutcome close();
    // A work file's sets (at most 250 kept); 追加円 is checked when there are any.
    void load(std::vector<DistanceCircle> circles);

    // The drawing layer: draws the sets when 距離円表示 is checked and updates the status.
    void draw(Canvas& canvas, const ViewState& v);
    // The layer for the render pipeline (the model must outlive it).
    Layer layer();

private:
    CircleOutcome store(const DistanceCircle& c, MessageSink& sink);
    CircleOutcome edit(const std::function<void(DistanceCircle&)>& change);

    std::vector<DistanceCircle> circles_;
    bool picking_ = false;
    bool centreSet_ = false;
};

} // namespace oboro
