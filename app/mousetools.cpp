#include "app/mousetools.h"

#include "measure/path.h"
#include "view/navigation.h"

namespace oboro {

namespace {

// The rubber bands, range square and centre cross in their one colour.
const QColor kRubberColor(0xFF, 0xFF, 0x00);

void rubberPen(QPainter& p)
{
    p.setPen(QPen(kRubberColor, 1));
    p.setBrush(Qt::NoBrush);
}

// A text of the overlay drawn by the map's own canvas, so it looks as the map's texts.
void paintPlacedText(QPainter& p, const PlacedText& t)
{
    if (t.text.empty() || t.size < 1)
        return;
    Canvas probe(1, 1);
    probe.setFont(t.size, t.color);
    const int w = probe.textWidth(t.text);
    const int h = probe.textHeight(t.text);
    if (w < 1 || h < 1)
        return;
    Canvas box(w, h, t.back);
    box.setFont(t.size, t.color);
    box.setBrush(t.back, BrushStyle::Solid);
    box.textOut(0, 0, t.text);
    p.drawImage(t.at, box.image());
}

// The pointer without a tool: a left drag measures the distance between two points.
class NavigateTool : public MouseTool {
public:
    using MouseTool::MouseTool;
    void press(QPoint p) override { session_.startTwoPoint(p); }
    void move(QPoint p) override
    {
        session_.dragTwoPoint(p);
        MouseTool::move(p);
    }
    void release(QPoint p) override
    {
        if (session_.twoPoint.dragging())
            session_.endTwoPoint(p);
    }
    void paintOverlay(QPainter& p) const override
    {
        const Overlay& o = session_.overlay;
        if (o.measureLine) {
            rubberPen(p);
            p.drawLine(*o.measureLine);
        }
        // The reading of the name under the pointer, as the map writes its texts.
        if (o.hoverReading)
            paintPlacedText(p, *o.hoverReading);
    }
};

// "+" or a double-click: the cross follows the pointer, a click centres the map there.
class CentreTool : public MouseTool {
public:
    using MouseTool::MouseTool;
    void press(QPoint p) override
    {
        session_.overlay.centreCross.reset();
        session_.centreAt(p.x(), p.y());
    }
    void move(QPoint p) override { session_.overlay.centreCross = p; }
    void paintOverlay(QPainter& p) const override
    {
        if (!session_.overlay.centreCross)
            return;
        rubberPen(p);
        const QPoint at = *session_.overlay.centreCross;
        const CrossLines c = centreCross(at.x(), at.y());
        p.drawLine(c.x1, c.y1, c.x2, c.y2);
        p.drawLine(c.x3, c.y3, c.x4, c.y4);
    }
};

class WebMapTool : public MouseTool {
public:
    using MouseTool::MouseTool;
    bool keepsEveryPress() const override { return true; }
    void press(QPoint p) override { host_.openWebMap(p); }
};

class AreaClickTool : public MouseTool {
public:
    using MouseTool::MouseTool;
    bool keepsEveryPress() const override { return true; }
    void press(QPoint p) override
    {
        host_.busy(true);
        session_.regionAreaClick(p);
        host_.busy(false);
    }
    void doubleClick() override {}
};

// 距離: clicked points, or with 概算 the pointer's track sampled by a timer.
class PathTool : public MouseTool {
public:
    using MouseTool::MouseTool;
    bool keepsEveryPress() const override { return true; }
    void press(QPoint p) override
    {
        // A sampled path takes no clicks once it has begun.
        if (session_.pathAutomatic && session_.path.count() > 0)
            return;
        host_.pathChanged(session_.pathClick(p));
    }
    void move(QPoint p) override
    {
        if (session_.pathAutomatic) {
            session_.pathMove(p);
        } else if (session_.path.count() > 0) {
            session_.pathMove(p);
            host_.pointerReadout(p);
        } else {
            MouseTool::move(p);
        }
    }
    void doubleClick() override
    {
        if (session_.path.sampling() || session_.path.count() > 0)
            host_.pathChanged(session_.pathDoubleClick());
        else
            MouseTool::doubleClick();
    }
    void paintOverlay(QPainter& p) const override
    {
        const PathMeasurer::Band& band = session_.overlay.path;
        if (band.points.size() < 2)
            return;
        p.setPen(QPen(qcolorOf(band.color), kPathPenWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(band.points.data(), static_cast<int>(band.points.size()));
    }
};

// 範囲指定: a square dragged from its corner becomes the next view.
class RangeTool : public MouseTool {
public:
    using MouseTool::MouseTool;
    bool keepsEveryPress() const override { return true; }
    void press(QPoint p) override
    {
        session_.startRange(p);
        host_.rangeLength(0.0f);
    }
    void move(QPoint p) override
    {
        if (!session_.view.rangeDragging) {
            MouseTool::move(p);
            return;
        }
        session_.dragRange(p);
        if (!session_.overlay.rangeText.empty())
            host_.rangeLength(session_.lastRangeKm);
    }
    void release(QPoint) override
    {
        if (!session_.view.rangeDragging)
            return;
        // The cached picture carries no square or text: exactly the map is copied.
        if (session_.rangeSide > 0)
            host_.rangeReleased(session_.rangeCorner, session_.rangeSide);
        if (session_.releaseRange() == RangeOutcome::Applied)
            host_.rangeApplied();
    }
    void paintOverlay(QPainter& p) const override
    {
        const Overlay& o = session_.overlay;
        if (!o.rangeSquare)
            return;
        rubberPen(p);
        const QRect r = *o.rangeSquare;
        p.drawRect(r.x(), r.y(), r.width() - 1, r.height() - 1);
        if (o.rangeText.empty())
            return;
        QFont f(Canvas::mapFontFamily());
        f.setPixelSize(11);
        p.setFont(f);
        p.setPen(QColor(0xFF, 0x00, 0x00));
        p.drawText(r.x() + 5, r.bottom() - 4, QString::fromStdString(o.rangeText));
    }
};

// The symbol palette's current symbol goes where the map is clicked.
class StampTool : public MouseTool {
public:
    using MouseTool::MouseTool;
    bool keepsEveryPress() const override { return true; }
    void press(QPoint p) override
    {
        if (session_.symbolPalette.disabled)
            session_.stampWhilePaused();
        else
            session_.stampAt(p.x(), p.y());
    }
    void doubleClick() override {}
};

// The legend or the scale bar moved with the mouse: its box follows the pointer over
// the picture, the drop draws it there.
class BoxDragTool : public MouseTool {
public:
    using MouseTool::MouseTool;
    void move(QPoint p) override
    {
        if (dragging())
            drag(p);
        else
            MouseTool::move(p);
    }
    void release(QPoint p) override
    {
        if (dragging())
            drop(p);
    }
    void paintOverlay(QPainter& p) const override
    {
        const std::optional<QRect> b = box();
        if (!b)
            return;
        rubberPen(p);
        p.drawRect(*b);
    }

protected:
    virtual bool dragging() const = 0;
    virtual void drag(QPoint p) = 0;
    virtual void drop(QPoint p) = 0;
    // The box as drawn, in pixels of its outline.
    virtual std::optional<QRect> box() const = 0;
};

class LegendDragTool : public BoxDragTool {
public:
    using BoxDragTool::BoxDragTool;
    void press(QPoint) override { session_.startLegendDrag(); }

private:
    bool dragging() const override { return session_.legendDragging; }
    void drag(QPoint p) override { session_.dragLegend(p); }
    void drop(QPoint p) override { session_.dropLegend(p); }
    std::optional<QRect> box() const override
    {
        // The legend's outline lies on the edge pixels of its rectangle.
        const std::optional<QRect>& r = session_.overlay.legendBox;
        return r ? std::optional<QRect>(QRect(r->x(), r->y(), r->width() - 1, r->height() - 1)) : std::nullopt;
    }
};

class ScaleBarDragTool : public BoxDragTool {
public:
    using BoxDragTool::BoxDragTool;
    void press(QPoint) override { session_.startScaleBarDrag(); }

private:
    bool dragging() const override { return session_.scaleBarDragging; }
    void drag(QPoint p) override { session_.dragScaleBar(p); }
    void drop(QPoint p) override { session_.dropScaleBar(p); }
    std::optional<QRect> box() const override { return session_.overlay.scaleBarBox; }
};

// Distance circles: the click picks the centre, the pointer shows where it would be.
class CircleCentreTool : public MouseTool {
public:
    using MouseTool::MouseTool;
    void press(QPoint p) override { session_.circleCentreAt(p); }
    void move(QPoint p) override
    {
        session_.circlePointerAt(p);
        host_.circlesChanged();
        host_.pointerReadout(p);
    }
};

class MapLineTool : public MouseTool {
public:
    using MouseTool::MouseTool;
    void press(QPoint p) override { session_.mapLineClick(p); }
    void doubleClick() override {}
};

class PaintTool : public MouseTool {
public:
    using MouseTool::MouseTool;
    void press(QPoint p) override
    {
        host_.busy(true);
        session_.paintAt(p.x(), p.y());
        host_.busy(false);
    }
    void doubleClick() override {}
};

class LabelPlaceTool : public MouseTool {
public:
    using MouseTool::MouseTool;
    void press(QPoint p) override { session_.placeLabelAt(p.x(), p.y()); }
};

// The chosen label goes to the click; the press then goes on as a press without a tool
// (or sets the centre when that is armed).
class LabelMoveTool : public MouseTool {
public:
    LabelMoveTool(MapSession& session, ToolHost& host, MouseTool& centre, MouseTool& navigate)
        : MouseTool(session, host), centre_(centre), navigate_(navigate)
    {
    }
    void press(QPoint p) override
    {
        session_.moveLabelTo(p.x(), p.y());
        if (session_.tool == MapTool::Centre)
            centre_.press(p);
        else
            navigate_.press(p);
    }

private:
    MouseTool& centre_;
    MouseTool& navigate_;
};

} // namespace

void MouseTool::move(QPoint p)
{
    host_.pointerReadout(p);
    if (session_.switches.CBYomi) {
        session_.readingsHover(p);
        host_.readingsChanged();
    }
}

MouseTools::MouseTools(MapSession& session, ToolHost& host) : session_(session)
{
    auto put = [this](MouseToolId id, std::unique_ptr<MouseTool> t) { tools_[static_cast<size_t>(id)] = std::move(t); };
    put(MouseToolId::Navigate, std::make_unique<NavigateTool>(session, host));
    put(MouseToolId::Centre, std::make_unique<CentreTool>(session, host));
    put(MouseToolId::WebMap, std::make_unique<WebMapTool>(session, host));
    put(MouseToolId::RegionArea, std::make_unique<AreaClickTool>(session, host));
    put(MouseToolId::Path, std::make_unique<PathTool>(session, host));
    put(MouseToolId::Range, std::make_unique<RangeTool>(session, host));
    put(MouseToolId::Stamp, std::make_unique<StampTool>(session, host));
    put(MouseToolId::LegendDrag, std::make_unique<LegendDragTool>(session, host));
    put(MouseToolId::ScaleBarDrag, std::make_unique<ScaleBarDragTool>(session, host));
    put(MouseToolId::CircleCentre, std::make_unique<CircleCentreTool>(session, host));
    put(MouseToolId::MapLine, std::make_unique<MapLineTool>(session, host));
    put(MouseToolId::Paint, std::make_unique<PaintTool>(session, host));
    put(MouseToolId::LabelPlace, std::make_unique<LabelPlaceTool>(session, host));
    put(MouseToolId::LabelMove, std::make_unique<LabelMoveTool>(session, host, tool(MouseToolId::Centre),
                                                                tool(MouseToolId::Navigate)));
}

MouseTools::~MouseTools() = default;

void MouseTools::press(QPoint p)
{
    if (!session_.mapShown)
        return;
    // A press starts a new gesture, even when the release of the last one was lost.
    const MouseToolId id = session_.armedMouseTool();
    if (!tool(id).keepsEveryPress()) {
        if (session_.legendGrabbable(p)) {
            tool(MouseToolId::LegendDrag).press(p);
            return;
        }
        if (session_.scaleBarGrabbable(p)) {
            tool(MouseToolId::ScaleBarDrag).press(p);
            return;
        }
    }
    tool(id).press(p);
}

void MouseTools::move(QPoint p)
{
    if (session_.mapShown)
        tool(session_.activeMouseTool()).move(p);
}

void MouseTools::release(QPoint p)
{
    if (session_.mapShown)
        tool(session_.activeMouseTool()).release(p);
}

void MouseTools::doubleClick(QPoint)
{
    if (session_.mapShown)
        tool(session_.activeMouseTool()).doubleClick();
}

void MouseTools::paintOverlay(QPainter& p) const
{
    for (const auto& t : tools_)
        t->paintOverlay(p);
    // The readings list's current name, on yellow.
    for (const PlacedText& t : session_.overlay.nameHighlight)
        paintPlacedText(p, t);
}

} // namespace oboro
