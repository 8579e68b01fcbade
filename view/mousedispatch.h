#pragma once
// Which tool gets a mouse event on the map. Each tool arms its mode flag in its own
// window; the map's handlers test the flags in a fixed order and give the event to the
// first armed tool. These functions only decide; the main window runs the tool.
#include <QRect>

namespace oboro {

struct ModeFlags {
    bool webMapClick = false;        // GSI box
    bool regionArea = false;         // 面積
    bool pathMeasure = false;        // 距離
    bool autoPath = false;           // 概算 checked
    int pathPoints = 0;
    bool autoPathSampling = false;   // the 150 ms sampling timer runs
    bool rangeArmed = false;         // 範囲指定
    bool rangeDragging = false;
    bool rangeApplied = false;
    bool stamping = false;           // symbol palette
    bool stampingPaused = false;
    bool legendShown = false;
    QRect legendBox;                 // pixels
    bool legendDrag = false;
    bool scaleBarShown = false;
    QRect scaleBarHitBox;            // pixels, already widened
    bool scaleBarDrag = false;
    bool circleCentre = false;       // distance circles
    int mapLineMode = 0;             // 1 insert, 2 delete, 3 move
    bool prefNamePick = false;
    bool prefNameTarget = false;
    bool cityPosition = false;       // designated-city position
    bool duplicatePosition = false;  // duplicate-name position
    bool islandPick = false;
    bool islandTarget = false;
    bool namePick = false;           // 市町名指定
    bool nameAddPosition = false;
    bool nameDeletePick = false;
    bool newNamePosition = false;    // 新座標指定
    bool painting = false;
    bool labelPlacePending = false;
    bool labelMove = false;
    bool readingsHover = false;      // 読み
    bool centreSetting = false;      // "+" or double-click
    bool twoPointDrag = false;
};

enum class PressAction {
    None,             // before the first map
    DisplaySettings,  // right button
    WebMap,
    RegionArea,
    IgnoreAutoPath,
    PathPoint,
    RangeStart,
    StampPaused,      // the "stamping is off" message, stamping ends
    Stamp,
    LegendDragStart,
    ScaleBarDragStart,
    CircleCentre,
    MapLineEdit,
    PrefNamePick,
    PrefNameTarget,
    CityPosition,
    DuplicatePosition,
    IslandPick,
    IslandTarget,
    NamePick,
    NameAddPosition,
    NameDeletePick,
    NewNamePosition,
    Paint,
    LabelPlace,
    LabelMove,        // the press goes on afterwards (see pressAfterLabelMove)
    CentreSet,
    TwoPointStart,
};

// The press's tool. mapShown: a map has been drawn; right: the right button.
PressAction dispatchPress(const ModeFlags& f, bool mapShown, bool right, int x, int y);
// A label move does not end the handling of the press: what comes after it.
PressAction pressAfterLabelMove(const ModeFlags& f);

enum class MoveAction {
    None,
    AutoPathRemember,
    PathRubber,
    CircleReadout,
    RangeRubber,
    LegendRubber,
    ScaleBarRubber,
    CentreCross,
    Default, // two-point rubber line, label placement readout, readings hover, readout
};
MoveAction dispatchMove(const ModeFlags& f, bool mapShown);

enum class ReleaseAction { None, IgnoreAutoPath, RangeFinish, LegendDrop, ScaleBarDrop, TwoPointFinish };
ReleaseAction dispatchRelease(const ModeFlags& f, bool mapShown);

enum class DoubleClickAction { None, StopAutoPath, ClosePath, ArmCentre };
DoubleClickAction dispatchDoubleClick(const ModeFlags& f, bool mapShown);

} // namespace oboro
