// Map lines of the open map: the line edited point by point and the finished line files
// shown read-only, drawn as a layer of the map (and, as paint borders, before the paint
// so that fills stop at them).
#include "app/mapsession.h"

#include "lines/linelayer.h"

namespace oboro {

void MapSession::installLineLayers()
{
    const auto drawDisplayed = [this](RenderContext& ctx) {
        if (!displayedLines.shown)
            return;
        for (const DisplayedLineFile& f : displayedLines.files)
            drawLineData(ctx.canvas, ctx.view, f.data, lookOf(f.data.style));
    };
    hooks.paintBorderLines = drawDisplayed;
    hooks.mapLines = drawDisplayed;
    hooks.lineEditorEditedLine = [this](RenderContext& ctx) {
        const LineEditor& e = lineEditor;
        if (!e.shown || e.line.points.empty())
            return;
        // The marked vertices are for the screen; a saved picture shows the line as drawn.
        if (e.editView && &ctx.canvas == &canvas)
            drawEditMarkers(ctx.canvas, ctx.view, e.line.points, e.selected);
        else
            drawLineData(ctx.canvas, ctx.view, e.line, lookOf(e.line.style));
    };
}

void MapSession::mapLinesChanged()
{
    tools.paintBorderLines = displayedLines.paintBorder;
    tools.lineFilesListed = displayedLines.shown && !displayedLines.empty();
    tools.lineEditorShowsEdited = lineEditor.shown && !lineEditor.line.points.empty();
    redraw();
    emit changed();
}

void MapSession::newMapLine()
{
    lineEditor.startNew();
    mapLinesChanged();
}

bool MapSession::mapLineClick(QPoint pixel)
{
    if (!mapShown || !lineEditor.clickAt(PixelToDataUnits(view, pixel.x(), pixel.y())))
        return false;
    mapLinesChanged();
    return true;
}

void MapSession::finishMapLine()
{
    lineEditor.finishAppending();
    mapLinesChanged();
}

void MapSession::mapLineBreak()
{
    lineEditor.addBreak();
    mapLinesChanged();
}

void MapSession::insertMapLinePoint()
{
    lineEditor.insert();
    mapLinesChanged();
}

void MapSession::deleteMapLinePoint()
{
    lineEditor.deleteSelected();
    mapLinesChanged();
}

void MapSession::moveMapLinePoint()
{
    lineEditor.startMove();
    mapLinesChanged();
}

void MapSession::selectMapLinePoint(int row)
{
    lineEditor.select(row);
    mapLinesChanged();
}

void MapSession::shiftMapLine(int dx, int dy)
{
    lineEditor.shift(dx, dy);
    mapLinesChanged();
}

void MapSession::setMapLineEditView(bool on)
{
    lineEditor.setEditView(on);
    mapLinesChanged();
}

void MapSession::setMapLineShown(bool on)
{
    lineEditor.shown = on;
    mapLinesChanged();
}

void MapSession::setMapLineStyle(const LineStyle& s)
{
    lineEditor.setStyle(s);
    mapLinesChanged();
}

bool MapSession::openMapLine(const std::string& path)
{
    std::optional<LineData> data = readLineFile(path, messages_);
    if (!data)
        return false;
    displayedLines.remove(path); // one file is either edited or shown, not both
    lineEditor.opened(path, std::move(*data));
    mapLinesChanged();
    return true;
}

bool MapSession::saveMapLine(const std::string& path)
{
    if (!writeLineFile(path, lineEditor.line, messages_))
        return false;
    lineEditor.savedAs(path);
    emit changed();
    return true;
}

void MapSession::closeMapLine()
{
    lineEditor.close();
    mapLinesChanged();
}

bool MapSession::loadDisplayedLines(const std::vector<std::string>& paths, bool append)
{
    if (!displayedLines.load(paths, append, lineEditor.fileName, messages_))
        return false;
    displayedLines.shown = true;
    mapLinesChanged();
    return true;
}

void MapSession::clearDisplayedLines()
{
    displayedLines.clear();
    mapLinesChanged();
}

void MapSession::removeDisplayedLine(const std::string& path)
{
    displayedLines.remove(path);
    mapLinesChanged();
}

void MapSession::setDisplayedLinesShown(bool on)
{
    displayedLines.shown = on;
    mapLinesChanged();
}

void MapSession::setPaintBorderLines(bool on)
{
    displayedLines.paintBorder = on;
    mapLinesChanged();
}

} // namespace oboro
