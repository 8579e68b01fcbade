#include "view/render.h"

#include "view/borders.h"

#include <cstdio>

namespace oboro {

namespace {

inline void run(const Layer& layer, RenderContext& ctx)
{
    if (layer)
        layer(ctx);
}
inline bool runDrawn(const DrawnLayer& layer, RenderContext& ctx) { return layer ? layer(ctx) : false; }
inline void notify(const Notice& n, const std::string& text)
{
    if (n)
        n(text);
}
inline void call(const std::function<void()>& f)
{
    if (f)
        f();
}
// Reports a finished stage; false when the drawing is to stop.
inline bool goOn(const RenderHooks& hooks, int stage)
{
    return !hooks.progress || hooks.progress(stage, kDrawStages);
}

std::string measuringText(const std::string& name)
{
    return name + " の面積を計算しています";
}

} // namespace

Color FillTarget(const Canvas& c, const DisplayState& d, int px, int py)
{
    const std::optional<Color> p = c.pixel(px, py);
    if (!p)
        return d.BackColor;
    const Color v = *p;
    if (v == d.CoastColor || v == d.TownColor || v == d.TownFontColor || v == d.KuColor || v == d.PrefColor
        || v == d.DoColor || v == d.FunColor || v == d.LabelColor || v == d.KanaFontColor)
        return d.BackColor;
    return v;
}

DrawResult DrawMap(RenderContext& ctx, RenderState& state, const RenderHooks& hooks)
{
    DrawResult out;
    Canvas& c = ctx.canvas;
    ViewState& view = ctx.view;
    DisplayState& d = ctx.display;
    MainSwitches& sw = ctx.switches;
    ToolSwitches& tools = ctx.tools;
    const int areaCount = static_cast<int>(ctx.store.selectedAreas.size());

    // 1. Drawing off or a work file still setting the view.
    if (!sw.drawingEnabled || view.viewRestore)
        return out;

    // 2. Scales and visible extent; a refused range keeps the previous picture.
    out.view = RecomputeView(view, ctx.store);
    if (out.view.refused)
        return out;
    if (c.width() != view.imageSide || c.height() != view.imageSide)
        c.resize(view.imageSide, view.imageSide, d.BackColor);
    c.setDetailScale(detailScaleFor(view.imageSide));
    d.updateTownFontPixels(view.imageSide);
    const auto stop = [&] {
        out.cancelled = true;
        call(hooks.hidePleaseWait);
        return out;
    };

    // 3. Background. Dotted lines leave their gaps unpainted.
    c.setLineGapColor(std::nullopt);
    c.setBrush(d.BackColor, BrushStyle::Solid);
    if (d.CheckBox13)
        d.BackColor = kWhite;
    c.brush.color = d.BackColor;
    c.clear(d.BackColor);

    // 4. The map itself only while the legend editor's 地図 box is checked.
    if (tools.legendMap) {
        out.mapDrawn = true;
        // 5. Please-wait notice for large selections.
        if (areaCount > kPleaseWaitAreas && sw.pleaseWait)
            notify(hooks.showPleaseWait, kPleaseWaitText);

        // 6. Graticule below the map, or the mesh.
        c.setPen(c.pen.color, c.pen.width, PenStyle::Solid);
        if (sw.CBLonLat && sw.gridUnder && !d.CBMesh)
            run(hooks.graticule, ctx);
        if (d.CBMesh)
            run(hooks.mesh, ctx);

        // 7. Boundary lines; without municipal borders there are no municipality names.
        DrawBoundaryLines(c, ctx.store, view, d, sw);
        if (!sw.CBTownBorder && sw.CBTownName) {
            sw.CBTownName = false;
            out.townNameUnchecked = true;
        }

        // 8. Pen colour back to the municipal border colour.
        c.pen.color = d.TownColor;
        if (!goOn(hooks, 1))
            return stop();

        // 9. Map lines as fill borders.
        if (tools.paintBorderLines && tools.lineFilesListed)
            run(hooks.paintBorderLines, ctx);

        // 10. Paint replay; the brush colour survives it.
        if (tools.paintReplay && tools.paintShow) {
            const Brush kept = c.brush;
            run(hooks.paintReplay, ctx);
            c.brush.color = kept.color;
        }

        // 11. Search paint, plain or measuring the searched regions.
        if (sw.CBTownPaint) {
            if (sw.CBMenseki) {
                notify(hooks.showMeasuring, measuringText(tools.searchName));
                run(hooks.searchPaintWithArea, ctx);
            } else {
                run(hooks.searchPaint, ctx);
            }
            call(hooks.closeMeasuring);
        }

        if (!goOn(hooks, 2))
            return stop();

        // 12. Names, unless the paint tool or the readings map writes them.
        if (!tools.namesOverPaint && !tools.kanaOnly) {
            if (sw.CBTownName)
                run(hooks.townNames, ctx);
            run(hooks.duplicateNames, ctx);
            run(hooks.cityNames, ctx);
        }
        if (tools.readingsMap && sw.CBYomi)
            run(hooks.readings, ctx);

        if (!goOn(hooks, 3))
            return stop();

        // 13. Islands and mountains.
        if (d.CBIslands && !tools.paintingActive)
            run(hooks.islands, ctx);
        if (d.CBMountain)
            run(hooks.mountains, ctx);

        // 14. Prefecture name in the lower-left corner.
        if (sw.ken_name && view.imageSide >= 300)
            run(hooks.prefNameCorner, ctx);
        // 15. Centre mark.
        if (sw.CBCenter && !sw.CBTownPaint)
            run(hooks.centreMark, ctx);
        // 16. Approval notice.
        if (sw.kokudo && view.imageSide >= 200)
            run(hooks.approvalNotice, ctx);
        // 17. Graticule on top.
        if (sw.CBLonLat && !sw.gridUnder)
            run(hooks.graticule, ctx);
        // 18. Mesh names.
        if (d.CBMeshName)
            run(hooks.meshNames, ctx);
        if (d.CBMeshName2)
            run(hooks.meshNames2, ctx);
        // 19. Scale bar.
        state.scaleBarDrawn = sw.CBScale ? runDrawn(hooks.scaleBar, ctx) : false;

        // 20. First counter.
        ++state.mappingCount;
        out.mappingText = "Mapping " + std::to_string(state.mappingCount);
    }

    if (!goOn(hooks, 4))
        return stop();

    // 21. Legend box.
    state.legendDrawn = tools.legendShown ? runDrawn(hooks.legend, ctx) : false;
    // 22. Map frame.
    run(hooks.frame, ctx);
    // 23. Distance circles.
    if (tools.distanceCircles)
        run(hooks.distanceCircles, ctx);
    else
        out.distanceCircleText = kCirclesHiddenText;

    // 24. Every fifth drawing refreshes the 64 × 64 version picture.
    ++state.thumbnailCount;
    if (state.thumbnailCount % 5 == 0) {
        Canvas thumb(kThumbnailSide, kThumbnailSide);
        thumb.copyRect(QRect(0, 0, kThumbnailSide, kThumbnailSide), c.image(), c.image().rect());
        state.thumbnail = thumb.image();
        out.thumbnailUpdated = true;
    }

    // 25. Please-wait notice off.
    call(hooks.hidePleaseWait);

    // 26. Controls that follow the switches.
    out.lakeEnabled = sw.CBTownBorder;
    out.nameEditingEnabled = sw.CBTownName;

    // 27. Map lines and rail lines.
    if (!tools.paintingActive)
        run(hooks.mapLines, ctx);
    // 28. Symbols.
    if (tools.symbolsShown)
        run(hooks.symbols, ctx);
    // 29. Labels.
    if (sw.CBLabel)
        run(hooks.labels, ctx);

    if (!goOn(hooks, 5))
        return stop();

    // 30. (地図記号 and the menu 記号 are enabled by the caller.) The area name of a single-area map for the readings window.
    if (areaCount == 1)
        out.readingsAreaName = areaInfo(ctx.store.selectedAreas[0]).name;

    // 31. The map line editor's pending redraw.
    if (tools.lineEditorRedrawPending)
        run(hooks.lineEditorRedraw, ctx);

    // 32. Prefecture names, seats and office marks.
    if (d.CBKenName && sw.CBPrefBorder)
        run(hooks.prefNames, ctx);
    if (d.CBKenOffice && sw.CBPrefBorder)
        run(hooks.prefSeats, ctx);
    if (!d.CBKenOffice && sw.CBPrefBorder && d.CBOffice)
        run(hooks.officeMarks, ctx);

    // 33. The tool controls are enabled by the caller; the measuring path starts afresh.
    call(hooks.resetMeasurementPath);

    // 34. Third counter.
    ++state.drawCount;
    out.counterText = std::to_string(state.drawCount);

    // 35. The edited map line on top.
    if (tools.lineEditorShowsEdited)
        run(hooks.lineEditorEditedLine, ctx);

    if (!goOn(hooks, 6))
        return stop();
    out.drawn = true;
    return out;
}

} // namespace oboro
