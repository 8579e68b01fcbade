#include "app/mapsession.h"

#include "paint/paintlayer.h"
#include "search/searchpaint.h"
#include "view/layers.h"

#include <algorithm>
#include <cstdio>

namespace oboro {

namespace {

bool readWithLoader(MapStore& target, const std::vector<int>& areas, const LoadOptions& opt, MessageSink& sink)
{
    std::string missing;
    if (loadMapFiles(target, areas, opt, sink, &missing))
        return true;
    sink.show(std::string(kMapFileNotFoundText) + "\n" + missing, kMapFileNotFoundTitle, MessageIcon::Exclamation);
    return false;
}

// The controls that painting locks because they would move the map or change the
// borders under the paint.
bool lockedWhilePainting(Switch s)
{
    switch (s) {
    case Switch::PrefBorders:
    case Switch::TownBorders:
    case Switch::PreMergerBorders:
    case Switch::TownNames:
    case Switch::Labels:
    case Switch::ScaleBar:
    case Switch::Graticule:
    case Switch::LakeBorders:
        return true;
    default:
        return false;
    }
}

} // namespace

MapSession::MapSession(MessageSink& messages, QObject* parent) : QObject(parent), messages_(messages)
{
    readMapFiles = readWithLoader;
    installNameAndDecorationLayers(hooks, nameOptions, decorations);
    // The replay draws on whatever canvas is being drawn: the cached picture or a larger
    // export, each with its own fill targets.
    hooks.paintReplay = paintReplayLayer(paintRecords, &hooks.paintBorderLines);
    installMeasuringLayers();
    installReadingsLayer();
    installSymbolLayers();
    installLegendLayers();
    installLineLayers();
    installLabelLayers();
    hooks.searchPaint = searchPaintLayer(search);
    search.setHistoryRecorder([this](const std::string& typed) { history.add(typed, messages_); });
}

MapSession::~MapSession() = default;

// ----------------------------------------------------------------------------- switches

bool* MapSession::field(Switch s)
{
    MainSwitches& w = switches;
    switch (s) {
    case Switch::PrefBorders: return &w.CBPrefBorder;
    case Switch::TownBorders: return &w.CBTownBorder;
    case Switch::PreMergerBorders: return &w.CBNTownBorder;
    case Switch::PreMergerNames: return &w.CBOldTown;
    case Switch::PrefNames: return &w.CBKenName1;
    case Switch::TownNames: return &w.CBTownName;
    case Switch::Readings: return &w.CBYomi;
    case Switch::Labels: return &w.CBLabel;
    case Switch::DuplicateNames: return &w.CBMainDoubleName;
    case Switch::ScaleBar: return &w.CBScale;
    case Switch::LakeBorders: return &w.CBLake;
    case Switch::Graticule: return &w.CBLonLat;
    case Switch::TenMinuteLines: return &w.CBFun;
    case Switch::DegreeNumbers: return &w.CBDo;
    case Switch::EveryOtherDegree: return &w.CB1do;
    case Switch::Legend: return &w.CBExp;
    case Switch::CentreMark: return &w.CBCenter;
    case Switch::SearchPaint: return &w.CBTownPaint;
    case Switch::SearchTotalArea: return &w.CBMenseki;
    case Switch::ApprovalNotice: return &w.kokudo;
    case Switch::PrefNameCorner: return &w.ken_name;
    case Switch::PleaseWait: return &w.pleaseWait;
    case Switch::GraticuleBelow: return &w.gridUnder;
    case Switch::HokkaidoBorders: return &w.hokkaidoBorders;
    }
    return nullptr;
}

bool MapSession::isOn(Switch s) const { return *const_cast<MapSession*>(this)->field(s); }

void MapSession::setRaw(Switch s, bool on) { *field(s) = on; }

void MapSession::setSwitch(Switch s, bool on, bool written)
{
    if (isOn(s) == on && !written)
        return;
    if (paintActive && lockedWhilePainting(s))
        return;
    if (s == Switch::HokkaidoBorders) {
        // The subprefecture borders are read with the map files: the selection is read again.
        setRaw(s, on);
        if (mapShown && !store.selectedAreas.empty())
            selectAreas(store.selectedAreas, switches.CBNTownBorder);
        else
            emit changed();
        return;
    }
    batch([&] {
        setRaw(s, on);
        switch (s) {
        case Switch::PreMergerBorders:
            switches.CBOldTown = on; // the pre-merger names follow their borders
            break;
        case Switch::PrefBorders:
            if (!on) {
                switches.CBTownBorder = false;
                switches.CBTownName = false;
                switches.CBYomi = false;
            }
            break;
        case Switch::TownBorders:
            if (!on) {
                // No municipality names without municipal borders.
                switches.CBTownName = false;
                switches.CBYomi = false;
            }
            break;
        case Switch::TownNames:
            if (!on)
                switches.CBYomi = false;
            break;
        case Switch::DuplicateNames:
            if (on)
                switches.CBYomi = false;
            break;
        case Switch::Readings:
            readingsSwitched(on);
            break;
        case Switch::Graticule:
            // The graticule comes with its ten-minute lines and degree numbers.
            if (on) {
                switches.CBFun = true;
                switches.CBDo = true;
            }
            break;
        case Switch::DegreeNumbers:
            if (!on)
                switches.CB1do = false;
            break;
        case Switch::SearchPaint:
            if (!on)
                switches.CBMenseki = false; // the total area measures the searched regions
            else if (search.last().valid && endsWithKu(search.last().name))
                display.CBKuDot = false; // solid ward borders hold the fill of a ward
            break;
        default:
            break;
        }
        if (!switches.CBYomi)
            readingsSwitched(false);
    });
    emit changed();
}

bool MapSession::switchUsable(Switch s) const
{
    if (paintActive && lockedWhilePainting(s))
        return false;
    switch (s) {
    case Switch::SearchPaint:
    case Switch::SearchTotalArea:
    case Switch::ApprovalNotice:
    case Switch::PrefNameCorner:
    case Switch::PleaseWait:
    case Switch::GraticuleBelow:
    case Switch::HokkaidoBorders:
        return true;
    case Switch::PreMergerNames:
        return false; // follows 旧; never set by hand
    default:
        break;
    }
    if (!mapShown)
        return false;
    switch (s) {
    case Switch::TownBorders: return switches.CBPrefBorder;
    case Switch::TownNames:
    case Switch::PreMergerBorders:
    case Switch::LakeBorders: return switches.CBTownBorder;
    case Switch::Readings: return switches.CBTownName && !switches.CBMainDoubleName;
    case Switch::DuplicateNames: return duplicateNamesUsable;
    case Switch::TenMinuteLines:
    case Switch::DegreeNumbers: return switches.CBLonLat;
    case Switch::EveryOtherDegree: return switches.CBLonLat && switches.CBDo;
    default: return true;
    }
}

void MapSession::setWhiteBackground(bool on)
{
    display.CheckBox13 = on;
    display.BackColor = on ? kWhite : display.SavedBackColor;
}

void MapSession::setWgs(bool on)
{
    if (view.wgs == on)
        return;
    view.wgs = on;
    redraw();
    emit changed();
}

// ----------------------------------------------------------------------------- selection

void MapSession::prepareNewSelection()
{
    switches.drawingEnabled = false;
    switches.CBExp = false;
    switches.CBScale = false;
    switches.CBLonLat = false;
    switches.gridUnder = true;
    mapShown = false;
    paintActive = false;
    selectedSlot = -1;
    tool = MapTool::None;
    overlay = {};
    rangeRefused = false;
    // The next map starts from the standard view, whatever this one was zoomed to.
    view.viewRestore = false;
    view.rangeDragging = false;
    view.rangeApplied = false;
    view.magCount = 1;
    view.magStep = 1.0f;
    view.moveFactor = 1.0f;
    view.reductionDivisor = 1;
    view.sizeFactor = 1;
    view.horizontalMove = 500;
    view.verticalMove = 500;
    backHistory = BackHistory{};
    setWhiteBackground(false);
    paintRecords.clear();
    tools.paintReplay = false;
    emit changed();
}

bool MapSession::loadInto(const std::vector<int>& areas)
{
    if (areas.empty())
        return false;
    MapStore next;
    next.selectedAreas = areas;
    next.dataDate = store.dataDate;
    next.programDate = store.programDate;
    next.designatedCities = store.designatedCities;
    next.duplicateNames = store.duplicateNames;
    const LoadOptions opt{switches.hokkaidoBorders, switches.CBNTownBorder};
    if (!readMapFiles(next, areas, opt, messages_))
        return false; // the message has been shown; the current map stays
    store = std::move(next);
    return true;
}

bool MapSession::selectAreas(const std::vector<int>& areas, bool preMergerBorders)
{
    const MainSwitches keptSwitches = switches;
    switches.drawingEnabled = false;
    switches.CBNTownBorder = preMergerBorders;
    view.viewRestore = false;
    if (!loadInto(areas)) {
        switches = keptSwitches;
        switches.drawingEnabled = mapShown;
        redraw();
        emit changed();
        return false;
    }
    view.imageSide = setUpImageSide(view);
    canvas.resize(view.imageSide, view.imageSide, display.BackColor);
    const ViewSetUp su = SetUpView(view, store, static_cast<int>(areas.size()));
    tool = MapTool::None;
    overlay = {};
    backHistory = BackHistory{};
    switches.CBLabel = false;
    resetLabelState();
    switches.CBTownName = su.townNameChecked;
    duplicateNamesUsable = su.doubleNameEnabled;
    switches.CBMainDoubleName = su.doubleNameChecked;
    if (!switches.CBTownName || switches.CBMainDoubleName)
        switches.CBYomi = false;
    tools.kanaOnly = false;

    display.CBKu = true;
    display.CBKuName = true;
    display.CBCityName = areas.size() == 1 && areas.front() == 10;
    display.CBNTownDot = false;
    paintRecords.clear();
    switches.CBTownPaint = false;
    switches.CBOldTown = preMergerBorders;
    switches.drawingEnabled = true;
    redraw();
    mapShown = true;
    emit changed();
    return true;
}

bool MapSession::standardRange()
{
    if (viewLocked())
        return false;
    view.magCount = 1;
    view.magStep = 1.0f;
    view.horizontalMove = view.verticalMove = 500;
    view.viewRestore = false;
    view.rangeDragging = false;
    view.rangeApplied = false;
    switches.CBPrefBorder = true;
    switches.CBTownBorder = true;
    tool = MapTool::None;
    overlay = {};
    rangeRefused = false;
    if (!store.selectedAreas.empty()) {
        const bool was = switches.drawingEnabled;
        switches.drawingEnabled = false;
        if (!loadInto(store.selectedAreas)) {
            switches.drawingEnabled = was;
            emit changed();
            return false;
        }
        SetUpView(view, store, static_cast<int>(store.selectedAreas.size()));
        switches.CBLabel = false;
        switches.drawingEnabled = was;
    }
    backHistory = BackHistory{};
    redraw();
    emit changed();
    return true;
}

void MapSession::setMagnification(int count)
{
    if (viewLocked() || !mapShown)
        return;
    view.magCount = std::clamp(count, 1, 10000);
    redraw();
    emit changed();
}

void MapSession::zoomBy(int steps)
{
    if (viewLocked() || !mapShown || view.rangeApplied)
        return;
    setMagnification(view.magCount + steps);
}

void MapSession::setMagnificationStep(float step)
{
    if (viewLocked())
        return;
    changeMagnificationStep(view, step);
    backHistory = BackHistory{};
    redraw();
    emit changed();
}

void MapSession::setMoveFactor(float factor)
{
    view.moveFactor = factor;
    emit changed();
}

void MapSession::setReduction(int divisor)
{
    if (viewLocked())
        return;
    view.reductionDivisor = std::clamp(divisor, 1, 5);
    redraw();
    emit changed();
}

void MapSession::setSizeFactor(int factor)
{
    if (viewLocked())
        return;
    view.sizeFactor = std::clamp(factor, 1, 3);
    redraw();
    emit changed();
}

void MapSession::move(MoveDirection d)
{
    if (viewLocked() || !mapShown)
        return;
    moveView(view, d);
    switch (d) {
    case MoveDirection::Right: ++view.horizontalMove; break;
    case MoveDirection::Left: --view.horizontalMove; break;
    case MoveDirection::Up: ++view.verticalMove; break;
    case MoveDirection::Down: --view.verticalMove; break;
    }
    redraw();
    emit changed();
}

void MapSession::armCentre()
{
    if (viewLocked() || !mapShown || measuring())
        return;
    tool = MapTool::Centre;
    emit changed();
}

void MapSession::centreAt(int px, int py)
{
    if (tool != MapTool::Centre)
        return;
    tool = MapTool::None;
    overlay.centreCross.reset();
    oboro::centreAt(view, px, py);
    redraw();
    emit changed();
}

void MapSession::armRange()
{
    if (viewLocked() || !mapShown)
        return;
    tool = MapTool::Range;
    view.rangeDragging = false;
    view.rangeApplied = false;
    rangeRefused = false;
    overlay.rangeSquare.reset();
    overlay.rangeText.clear();
    emit changed();
}

void MapSession::startRange(QPoint corner)
{
    if (tool != MapTool::Range)
        return;
    view.rangeDragging = true;
    rangeCorner = corner;
    rangeSide = 0;
    lastRangeKm = 0.0f;
}

void MapSession::dragRange(QPoint to)
{
    if (tool != MapTool::Range || !view.rangeDragging)
        return;
    const int x0 = rangeCorner.x(), y0 = rangeCorner.y();
    const RangeSquare r = rangeSquare(view, x0, y0, to.x(), to.y());
    const int side = std::max(r.side, 0);
    overlay.rangeSquare = QRect(x0, y0, side + 1, side + 1);
    rangeSide = side;
    overlay.rangeText.clear();
    if (r.snapped()) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.0f km  %d pix", static_cast<double>(r.km), side);
        overlay.rangeText = buf;
    }
    lastRangeKm = r.snapped() ? r.km : 0.0f;
}

RangeOutcome MapSession::releaseRange()
{
    if (tool != MapTool::Range || !view.rangeDragging)
        return RangeOutcome::NotArmed;
    tool = MapTool::None;
    overlay.rangeSquare.reset();
    overlay.rangeText.clear();
    const BackEntry before = currentView(view, store);
    if (!applyRange(view, store, rangeCorner.x(), rangeCorner.y(), rangeSide)) {
        // Refused: dragging ends now; the timer brings back the standard range.
        view.rangeDragging = false;
        rangeRefused = true;
        emit rangeRefusedSignal();
        emit changed();
        return RangeOutcome::Refused;
    }
    backHistory.push(before);
    redraw();
    view.rangeDragging = false;
    emit changed();
    return rangeRefused ? RangeOutcome::Refused : RangeOutcome::Applied;
}

void MapSession::startScaleBarDrag() { scaleBarDragging = true; }

void MapSession::dragScaleBar(QPoint at)
{
    if (scaleBarDragging)
        overlay.scaleBarBox = QRect(at.x(), at.y(), decorations.scaleBar.width, decorations.scaleBar.height);
}

void MapSession::dropScaleBar(QPoint at)
{
    if (!scaleBarDragging)
        return;
    scaleBarDragging = false;
    overlay.scaleBarBox.reset();
    oboro::dropScaleBar(decorations.scaleBar, at.x(), at.y(), view.imageSide);
    redraw();
}

namespace {
bool strictlyInside(const QRect& r, QPoint p)
{
    return p.x() > r.left() && p.x() < r.left() + r.width() && p.y() > r.top() && p.y() < r.top() + r.height();
}
} // namespace

MouseToolId MapSession::activeMouseTool() const
{
    // A drag keeps the pointer until its release.
    if (view.rangeDragging)
        return MouseToolId::Range;
    if (legendDragging)
        return MouseToolId::LegendDrag;
    if (scaleBarDragging)
        return MouseToolId::ScaleBarDrag;
    if (twoPoint.dragging())
        return MouseToolId::Navigate;
    return armedMouseTool();
}

MouseToolId MapSession::armedMouseTool() const
{
    if (webMapArmed || display.CBWatch)
        return MouseToolId::WebMap;
    if (tool == MapTool::RegionArea)
        return MouseToolId::RegionArea;
    if (tool == MapTool::Path)
        return MouseToolId::Path;
    if (tool == MapTool::Range && !view.rangeApplied)
        return MouseToolId::Range;
    if (symbolPalette.armed)
        return MouseToolId::Stamp;
    if (circles.pickingCentre())
        return MouseToolId::CircleCentre;
    if (lineEditor.click != LineClick::None)
        return MouseToolId::MapLine;
    if (tool == MapTool::Paint)
        return MouseToolId::Paint;
    if (labelControls.placePending)
        return MouseToolId::LabelPlace;
    if (labelControls.moveRow >= 0)
        return MouseToolId::LabelMove;
    if (tool == MapTool::Centre)
        return MouseToolId::Centre;
    return MouseToolId::Navigate;
}

bool MapSession::legendGrabbable(QPoint pixel) const
{
    // Only a legend the last drawing drew can be grabbed.
    return switches.CBExp && renderState.legendDrawn && strictlyInside(legendBox, pixel);
}

bool MapSession::scaleBarGrabbable(QPoint pixel) const
{
    return decorations.scaleBar.drawn && switches.CBScale
           && strictlyInside(scaleBarHitBox(decorations.scaleBar, view.imageSide), pixel);
}

void MapSession::rangeTimerFired()
{
    if (!rangeRefused)
        return;
    rangeRefused = false;
    standardRange();
}

bool MapSession::goBack()
{
    if (viewLocked())
        return false;
    if (!backHistory.back(view, store))
        return false;
    view.rangeApplied = false;
    redraw();
    emit changed();
    return true;
}

// ----------------------------------------------------------------------------- painting

void MapSession::preparePainting()
{
    // Layers that would stop a fill go off while painting; their state comes back at the end.
    if (!view.viewRestore)
        for (size_t i = 0; i < kPaintSavedSwitches.size(); ++i)
            savedSwitches_[i] = isOn(kPaintSavedSwitches[i]);
    for (Switch s : {Switch::TownNames, Switch::Graticule, Switch::Labels, Switch::ScaleBar})
        setRaw(s, false);
    selectedSlot = -1;
    tool = MapTool::Paint;
    overlay = {};
}

bool MapSession::startPaint(const std::function<bool(const Message&)>& confirm)
{
    if (!mapShown || paintActive)
        return false;
    if (paintRecords.count() > 0 &&
        !confirm(Message{"ペイント作業を新規に開始しますか？　　　　　", "ペイント作業の開始", MessageIcon::Question}))
        return false;
    switches.drawingEnabled = false;
    paintRecords.clear();
    switches.gridUnder = false;
    tools.paintReplay = false;
    preparePainting();
    setWhiteBackground(true);
    switches.ken_name = false;
    switches.kokudo = false;
    switches.CBCenter = false;
    paintOptions.show = true;
    tools.paintShow = true;
    paintActive = true;
    switches.drawingEnabled = true;
    redraw();
    emit changed();
    return true;
}

void MapSession::resumePaint()
{
    if (!mapShown || paintActive)
        return;
    switches.drawingEnabled = false;
    switches.ken_name = false;
    switches.kokudo = false;
    switches.gridUnder = false;
    paintOptions.show = true;
    tools.paintShow = true;
    preparePainting();
    setWhiteBackground(paintOptions.whiteBackground || display.CheckBox13);
    paintActive = true;
    switches.drawingEnabled = true;
    redraw();
    emit changed();
}

void MapSession::endPaint()
{
    if (!paintActive)
        return;
    switches.drawingEnabled = false;
    selectedSlot = -1;
    paintActive = false;
    tool = MapTool::None;
    tools.paintReplay = true;
    switches.ken_name = true;
    switches.kokudo = true;
    paintOptions.namesOverPaint = false;
    setWhiteBackground(paintOptions.whiteBackground);
    if (!view.viewRestore)
        for (size_t i = 0; i < kPaintSavedSwitches.size(); ++i)
            setRaw(kPaintSavedSwitches[i], savedSwitches_[i]);
    switches.drawingEnabled = true;
    redraw();
    emit changed();
}

bool MapSession::paintAt(int px, int py)
{
    if (!paintActive)
        return false;
    nameOptions.paintWhiteBackground = paintOptions.whiteBackground;
    const bool painted = oboro::paintAt(canvas, paintViewOf(canvas, view, display, store), paintRecords, palette, selectedSlot,
                                        px, py, messages_);
    if (painted) {
        emit drawn(lastDraw);
        emit changed();
    }
    return painted;
}

void MapSession::undoPaint()
{
    if (paintRecords.count() == 0)
        return;
    paintRecords.removeLast();
    redraw();
    emit changed();
}

void MapSession::setPaintOption(bool PaintOptions::*option, bool on)
{
    paintOptions.*option = on;
    if (option == &PaintOptions::show) {
        tools.paintShow = on;
    } else if (option == &PaintOptions::whiteBackground) {
        setWhiteBackground(on);
    } else if (option == &PaintOptions::wardPaint) {
        display.CBKu = true;
        display.CBKuDot = !on;
    } else if (option == &PaintOptions::preMergerPaint) {
        // The pre-merger borders close the old municipalities for the fill.
        display.CBNTownDot = false;
        switches.CBNTownBorder = on;
        switches.CBOldTown = on;
    } else if (option == &PaintOptions::namesOverPaint) {
        switches.CBTownName = on;
    }
    redraw();
    emit changed();
}

// ----------------------------------------------------------------------------- search

bool MapSession::showSearchResult(const SearchResult& r, const SearchCandidate& chosen, const std::string& typedText)
{
    if (paintActive)
        return false;
    const bool was = switches.drawingEnabled;
    switches.drawingEnabled = false;
    const SearchShow s = search.show(r, chosen, typedText, store, view,
                                     LoadOptions{switches.hokkaidoBorders, switches.CBNTownBorder},
                                     SearchSwitches{switches.CBTownPaint, switches.CBMenseki}, messages_);
    if (!s.ok) {
        switches.drawingEnabled = was;
        return false;
    }
    tool = MapTool::None;
    overlay = {};
    backHistory = BackHistory{};
    view.rangeDragging = false;
    view.rangeApplied = false;
    switches.CBLabel = false;
    duplicateNamesUsable = s.setUp.doubleNameEnabled;
    if (s.setUp.doubleNameEnabled)
        switches.CBMainDoubleName = s.setUp.doubleNameChecked;
    switches.CBNTownBorder = s.CBNTownBorder;
    switches.CBTownName = s.CBTownName;
    switches.CBCenter = s.CBCenter;
    if (s.CBOldTown)
        switches.CBOldTown = *s.CBOldTown;
    switches.CBExp = s.CBExp;
    setWhiteBackground(s.CheckBox13);
    display.CBCityName = s.CBCityName;
    display.CBKuName = s.CBKuName;
    display.CBKu = s.CBKu;
    display.CBKuDot = s.CBKuDot;
    searchText = s.searchName;
    tools.searchName = s.searchName;
    searchNameKind = s.label24Text;
    searchNameKindColor = s.label24Color;
    // The paint records stay: they are in map units and come back with the next paint.
    mapShown = true;
    switches.drawingEnabled = true;
    redraw();
    emit changed();
    return true;
}

// ----------------------------------------------------------------------------- drawing

void MapSession::drawNamesOverPaint(RenderContext& ctx)
{
    // The paint tool's 市町村名: names written over the fills.
    if (hooks.townNames && ctx.switches.CBTownName)
        hooks.townNames(ctx);
    if (hooks.duplicateNames)
        hooks.duplicateNames(ctx);
    if (hooks.cityNames)
        hooks.cityNames(ctx);
}

void MapSession::redraw()
{
    if (!switches.drawingEnabled || view.viewRestore || drawing_)
        return;
    drawing_ = true;
    tools.paintingActive = paintActive;
    tools.namesOverPaint = paintActive && paintOptions.namesOverPaint;
    // While painting the fills are replayed after the map, then the names go on top.
    const bool replay = tools.paintReplay;
    if (paintActive)
        tools.paintReplay = false;
    // A new picture: an unfinished path and a distance drag are abandoned (a sampled
    // path ends with its mode; a clicked one starts again from its first point).
    const bool wasSampling = path.sampling();
    path.reset();
    if (wasSampling && tool == MapTool::Path)
        tool = MapTool::None;
    overlay.path = path.band();
    twoPoint.cancel();
    overlay.measureLine.reset();
    searchedArea.reset();
    tools.distanceCircles = circles.controls.shown; // 距離円表示
    tools.legendShown = switches.CBExp;             // the legend follows 地図凡例
    RenderContext ctx{canvas, store, view, display, switches, tools, messages_};
    const DrawResult r = DrawMap(ctx, renderState, hooks);
    tools.paintReplay = replay;
    if (r.drawn && paintActive) {
        hooks.paintReplay(ctx);
        if (paintOptions.namesOverPaint)
            drawNamesOverPaint(ctx);
    }
    if (r.townNameUnchecked)
        switches.CBYomi = false;
    if (r.drawn && !r.distanceCircleText.empty())
        circles.status = r.distanceCircleText;
    lastDraw = r;
    drawing_ = false;
    if (r.view.refused) {
        rangeRefused = true;
        emit rangeRefusedSignal();
    }
    if (r.drawn)
        mapShown = true;
    emit drawn(r);
    if (searchedArea)
        afterSearchedArea();
}

template <class F> auto MapSession::withPictureScene(F&& f)
{
    MainSwitches sw = switches;
    sw.drawingEnabled = true;
    sw.pleaseWait = false;
    ToolSwitches t = tools;
    t.paintingActive = false;
    t.paintReplay = tools.paintReplay || paintActive;
    t.namesOverPaint = false;
    t.readingsMap = sw.CBYomi; // saved pictures carry the readings while 読み is on
    t.distanceCircles = circles.controls.shown;
    t.legendShown = switches.CBExp;
    const DecorationState keptDecorations = decorations;
    const std::string keptCircleStatus = circles.status;
    const MapScene scene{store, view, display, sw, t, hooks};
    auto result = f(scene);
    decorations = keptDecorations;
    circles.status = keptCircleStatus;
    searchedArea.reset(); // the figures belong to the open map, not to this picture
    return result;
}

QImage MapSession::drawPicture(int side, DrawStatus* status)
{
    const int reduction = view.reductionDivisor;
    return withPictureScene([&](const MapScene& scene) {
        return drawMapPicture(scene, std::clamp(side * reduction / 600, 1, kMaxSizeFactor), reduction, {}, status);
    });
}

ExportOutcome MapSession::exportPicture(const MapExport& what, const ExportProgress& progress)
{
    return withPictureScene(
        [&](const MapScene& scene) { return exportMapPicture(scene, what, progress, messages_); });
}

} // namespace oboro
