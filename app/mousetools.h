#pragma once
// The mouse on the map as a set of small tools. The session names the one tool that has
// the pointer (a drag in progress first, then the armed tool of highest precedence);
// each tool handles its own press, move, release and double-click by calling the
// session, and paints its own marks over the cached map picture. What only a window
// can do (a browser, the clipboard, a busy cursor, its readouts) goes through ToolHost.
#include "app/mapsession.h"

#include <QPainter>
#include <QPoint>
#include <array>
#include <memory>

namespace oboro {

// The window side of the tools.
class ToolHost {
public:
    virtual ~ToolHost() = default;
    // The web map service at the click (the waiting text, the browser, its failure).
    virtual void openWebMap(QPoint pixel) = 0;
    // Long work under the pointer (a fill, an area measure) shows the wait cursor.
    virtual void busy(bool on) = 0;
    // The path measure's sampling timer follows the path.
    virtual void pathChanged(const PathEvent& e) = 0;
    // Latitude and longitude of the pointer in the panel.
    virtual void pointerReadout(QPoint pixel) = 0;
    // The length of the dragged range square in the panel.
    virtual void rangeLength(float km) = 0;
    // A range drag ends on this square: copy it when the copy box asks for it.
    virtual void rangeReleased(QPoint corner, int side) = 0;
    // A range was applied: the panel's title goes back to the distance.
    virtual void rangeApplied() = 0;
    // The circle centre readout and the reading under the pointer changed.
    virtual void circlesChanged() = 0;
    virtual void readingsChanged() = 0;
};

class MouseTool {
public:
    MouseTool(MapSession& session, ToolHost& host) : session_(session), host_(host) {}
    virtual ~MouseTool() = default;
    MouseTool(const MouseTool&) = delete;
    MouseTool& operator=(const MouseTool&) = delete;

    // A press inside the legend or the scale bar moves them, unless the tool keeps every
    // press for itself.
    virtual bool keepsEveryPress() const { return false; }
    virtual void press(QPoint p) = 0;
    // Without a tool of its own, the pointer shows where it is and the reading under it.
    virtual void move(QPoint p);
    virtual void release(QPoint) {}
    // A double-click arms the centre setting; its press then sets the centre.
    virtual void doubleClick() { session_.armCentre(); }
    // The tool's marks over the cached picture (nothing while it has none).
    virtual void paintOverlay(QPainter&) const {}

protected:
    MapSession& session_;
    ToolHost& host_;
};

// Every tool of the map, and the routing of the map's mouse events to them.
class MouseTools {
public:
    MouseTools(MapSession& session, ToolHost& host);
    ~MouseTools();

    // Left-button events of the map picture (nothing happens before the first map).
    void press(QPoint p);
    void move(QPoint p);
    void release(QPoint p);
    void doubleClick(QPoint p);
    // The marks of every tool, then the readings list's highlighted name.
    void paintOverlay(QPainter& p) const;

    MouseTool& tool(MouseToolId id) const { return *tools_[static_cast<size_t>(id)]; }

private:
    MapSession& session_;
    std::array<std::unique_ptr<MouseTool>, kMouseToolCount> tools_;
};

} // namespace oboro
