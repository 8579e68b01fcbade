// The measuring tools of the open map: the two-point drag, the path (距離), the region
// areas (面積, 県), the searched name's total area, the web map link and the distance
// circles. The figures go out through panelUpdated; rubber bands and paths are overlays
// painted over the cached picture by the view.
#include "app/mapsession.h"

namespace oboro {

void MapSession::showPanel(const PanelUpdate& u)
{
    panel.merge(u);
    emit panelUpdated(u);
}

void MapSession::installMeasuringLayers()
{
    hooks.distanceCircles = circles.layer();
    hooks.searchPaintWithArea = searchedAreaLayer(
        [this]() -> std::optional<SearchedName> {
            const LastSearch& last = search.last();
            if (!last.valid || searchText.empty())
                return std::nullopt;
            return SearchedName{last.name, QPoint(last.x, last.y)};
        },
        [this](const SearchedAreaResult& r) { searchedArea = r; });
}

// ----------------------------------------------------------------------------- two points

void MapSession::startTwoPoint(QPoint pixel)
{
    if (!mapShown || tool != MapTool::None)
        return;
    showPanel(twoPoint.press(view, pixel, path.resultHeld()));
}

void MapSession::dragTwoPoint(QPoint pixel)
{
    if (!twoPoint.dragging())
        return;
    // The first movement replaces a finished path's length.
    path.releaseResult();
    const PanelUpdate u = twoPoint.move(view, pixel, readoutInMapUnits);
    overlay.measureLine = twoPoint.band();
    showPanel(u);
}

void MapSession::endTwoPoint(QPoint pixel)
{
    if (!twoPoint.dragging())
        return;
    twoPoint.release(view, pixel);
    overlay.measureLine.reset();
}

void MapSession::toggleReadoutMode()
{
    readoutInMapUnits = !readoutInMapUnits;
    showPanel(readoutModeTexts(readoutInMapUnits).panel);
    emit changed();
}

// ----------------------------------------------------------------------------- path

void MapSession::startPath()
{
    if (!mapShown || paintActive || tool == MapTool::Path)
        return;
    if (tool == MapTool::RegionArea)
        regionAreaButton(); // one measuring mode at a time
    twoPoint.cancel();
    overlay = {};
    tool = MapTool::Path;
    showPanel(path.begin().panel);
    emit changed();
}

PathEvent MapSession::pathClick(QPoint pointer)
{
    if (tool != MapTool::Path)
        return {};
    const PathEvent e = path.click(view, pointer, pathAutomatic, messages_);
    if (e.handled)
        showPanel(e.panel);
    overlay.path = path.band();
    return e;
}

void MapSession::pathMove(QPoint pointer)
{
    if (tool != MapTool::Path)
        return;
    if (path.move(pointer, pathAutomatic || path.sampling()))
        overlay.path = path.band();
}

PathEvent MapSession::pathTick()
{
    PathEvent e = path.tick(view, messages_);
    if (e.handled)
        showPanel(e.panel);
    overlay.path = path.band();
    if (e.finished)
        finishPath(e);
    return e;
}

PathEvent MapSession::pathDoubleClick()
{
    if (tool != MapTool::Path)
        return {};
    const PathEvent e = path.doubleClick(view);
    if (e.handled)
        showPanel(e.panel);
    if (e.finished)
        finishPath(e);
    return e;
}

void MapSession::finishPath(const PathEvent& e)
{
    tool = MapTool::None;
    if (e.uncheckAutomatic)
        pathAutomatic = false;
    overlay.path = {};
    // The path leaves the picture; its figures stay on the panel.
    redraw();
    emit changed();
}

void MapSession::setPathAutomatic(bool on)
{
    pathAutomatic = on;
    emit changed();
}

// ----------------------------------------------------------------------------- areas

void MapSession::regionAreaButton()
{
    if (!mapShown || paintActive)
        return;
    // A new map or a search ended area mode without the button: the tool follows.
    if (regionArea.active() && tool != MapTool::RegionArea)
        regionArea.toggle();
    if (landArea && !regionArea.active()) {
        if (landAreaRefused(store.selectedAreas, messages_))
            return;
        if (hooks.showPleaseWait)
            hooks.showPleaseWait(kLandAreaWaitText);
        PanelUpdate start;
        start.figureColor = kFigureRed;
        start.area = areaText(0.0);
        start.length = lengthText(0.0);
        showPanel(start);
        const LandAreaResult r = measureDisplayedLand(switches, [this] { redraw(); }, canvas, view);
        if (hooks.hidePleaseWait)
            hooks.hidePleaseWait();
        showPanel(r.panel);
        emit changed();
        return;
    }
    if (tool == MapTool::Path) {
        path.reset();
        overlay.path = {};
    }
    twoPoint.cancel();
    overlay.measureLine.reset();
    const RegionAreaTool::Toggle t = regionArea.toggle();
    tool = t.on ? MapTool::RegionArea : MapTool::None;
    showPanel(t.panel);
    if (t.redraw)
        redraw();
    emit changed();
}

void MapSession::regionAreaClick(QPoint pixel)
{
    if (tool != MapTool::RegionArea)
        return;
    if (hooks.showPleaseWait)
        hooks.showPleaseWait(kRegionAreaWaitText);
    const PanelUpdate u = regionArea.click(canvas, view, pixel);
    if (hooks.hidePleaseWait)
        hooks.hidePleaseWait();
    showPanel(u);
    emit drawn(lastDraw); // the walked pixels carry the marker colour
}

void MapSession::afterSearchedArea()
{
    const SearchedAreaResult r = *searchedArea;
    searchedArea.reset();
    const SearchedAreaNext n = searchedAreaNext(r, view.imageSide, view.magCount);
    switch (n.step) {
    case SearchedAreaNext::Step::Magnify:
        // A region too large for a figure at this scale: one step closer, measured again.
        view.magCount = n.magCount;
        redraw();
        emit changed();
        break;
    case SearchedAreaNext::Step::Show:
    case SearchedAreaNext::Step::GiveUp: {
        PanelUpdate u = searchedAreaStartPanel();
        u.merge(n.panel);
        showPanel(u);
        break;
    }
    }
}

// ----------------------------------------------------------------------------- web map

void MapSession::armWebMap(bool on)
{
    webMapArmed = on;
    emit changed();
}

std::string MapSession::webMapClick(QPoint pixel)
{
    const std::string address = webMapAddressAt(webMapBase, view, pixel);
    // One click, one page: both boxes go off.
    webMapArmed = false;
    display.CBWatch = false;
    emit changed();
    return address;
}

// ----------------------------------------------------------------------------- circles

void MapSession::applyCircleOutcome(const CircleOutcome& o)
{
    if (o.redraw) {
        redraw();
    } else if (o.drawOver && mapShown) {
        circles.draw(canvas, view); // every set over the picture, and the status line
        emit drawn(lastDraw);
    }
    emit changed();
}

void MapSession::circleCentreAt(QPoint pixel)
{
    if (!circles.pickingCentre())
        return;
    applyCircleOutcome(circles.pickAt(view, pixel, messages_));
}

void MapSession::circlePointerAt(QPoint pixel) { circles.pointerAt(view, pixel); }

} // namespace oboro
