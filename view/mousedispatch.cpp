#include "view/mousedispatch.h"

namespace oboro {

namespace {
bool strictlyInside(const QRect& r, int x, int y)
{
    return x > r.left() && x < r.left() + r.width() && y > r.top() && y < r.top() + r.height();
}
} // namespace

PressAction dispatchPress(const ModeFlags& f, bool mapShown, bool right, int x, int y)
{
    if (!mapShown)
        return PressAction::None;
    if (right)
        return PressAction::DisplaySettings;
    if (f.webMapClick)
        return PressAction::WebMap;
    if (f.regionArea)
        return PressAction::RegionArea;
    if (f.autoPath && f.pathPoints > 0)
        return PressAction::IgnoreAutoPath;
    if (f.pathMeasure)
        return PressAction::PathPoint;
    if (f.rangeArmed && !f.rangeApplied)
        return PressAction::RangeStart;
    if (f.stamping)
        return f.stampingPaused ? PressAction::StampPaused : PressAction::Stamp;
    if (f.legendShown && strictlyInside(f.legendBox, x, y))
        return PressAction::LegendDragStart;
    if (f.scaleBarShown && strictlyInside(f.scaleBarHitBox, x, y))
        return PressAction::ScaleBarDragStart;
    if (f.circleCentre)
        return PressAction::CircleCentre;
    if (f.mapLineMode >= 1 && f.mapLineMode <= 3)
        return PressAction::MapLineEdit;
    if (f.prefNamePick)
        return PressAction::PrefNamePick;
    if (f.prefNameTarget)
        return PressAction::PrefNameTarget;
    if (f.cityPosition)
        return PressAction::CityPosition;
    if (f.duplicatePosition)
        return PressAction::DuplicatePosition;
    if (f.islandPick)
        return PressAction::IslandPick;
    if (f.islandTarget)
        return PressAction::IslandTarget;
    if (f.namePick)
        return PressAction::NamePick;
    if (f.nameAddPosition)
        return PressAction::NameAddPosition;
    if (f.nameDeletePick)
        return PressAction::NameDeletePick;
    if (f.newNamePosition)
        return PressAction::NewNamePosition;
    if (f.painting)
        return PressAction::Paint;
    if (f.labelPlacePending)
        return PressAction::LabelPlace;
    if (f.labelMove)
        return PressAction::LabelMove;
    return pressAfterLabelMove(f);
}

PressAction pressAfterLabelMove(const ModeFlags& f)
{
    return f.centreSetting ? PressAction::CentreSet : PressAction::TwoPointStart;
}

MoveAction dispatchMove(const ModeFlags& f, bool mapShown)
{
    if (!mapShown)
        return MoveAction::None;
    if (f.autoPath && f.pathMeasure)
        return MoveAction::AutoPathRemember;
    if (f.pathMeasure && f.pathPoints > 0)
        return MoveAction::PathRubber;
    if (f.circleCentre)
        return MoveAction::CircleReadout;
    if (f.rangeDragging)
        return MoveAction::RangeRubber;
    if (f.legendDrag)
        return MoveAction::LegendRubber;
    if (f.scaleBarDrag)
        return MoveAction::ScaleBarRubber;
    if (f.centreSetting)
        return MoveAction::CentreCross;
    return MoveAction::Default;
}

ReleaseAction dispatchRelease(const ModeFlags& f, bool mapShown)
{
    if (f.pathMeasure && f.autoPath)
        return ReleaseAction::IgnoreAutoPath;
    if (f.rangeDragging)
        return ReleaseAction::RangeFinish;
    if (f.legendDrag)
        return ReleaseAction::LegendDrop;
    if (f.scaleBarDrag)
        return ReleaseAction::ScaleBarDrop;
    if (f.twoPointDrag && mapShown)
        return ReleaseAction::TwoPointFinish;
    return ReleaseAction::None;
}

DoubleClickAction dispatchDoubleClick(const ModeFlags& f, bool mapShown)
{
    if (!mapShown || f.regionArea || f.painting)
        return DoubleClickAction::None;
    if (f.autoPathSampling)
        return DoubleClickAction::StopAutoPath;
    if (f.pathMeasure && f.pathPoints > 0)
        return DoubleClickAction::ClosePath;
    if (f.stamping || f.mapLineMode != 0)
        return DoubleClickAction::None;
    return DoubleClickAction::ArmCentre;
}

} // namespace oboro
