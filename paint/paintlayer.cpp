#include "paint/paintlayer.h"

#include "view/borders.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace oboro {

namespace {

// The name positions of every name table of the map, sorted for lookup.
std::shared_ptr<const std::vector<QPoint>> nameLandmarks(const MapStore& store)
{
    auto marks = std::make_shared<std::vector<QPoint>>();
    for (const NameTable* t : {&store.commonNames, &store.newNames, &store.oldNames})
        for (const NameEntry& e : t->entries)
            marks->emplace_back(e.x, e.y);
    std::sort(marks->begin(), marks->end(),
              [](const QPoint& a, const QPoint& b) { return a.x() != b.x() ? a.x() < b.x() : a.y() < b.y(); });
    return marks;
}

} // namespace

PaintView paintViewOf(Canvas& canvas, const ViewState& view, const DisplayState& display, const MapStore& store)
{
    PaintView pv;
    pv.landmarks = nameLandmarks(store);
    pv.mapToPixel = [&view](int32_t x, int32_t y, int& px, int& py) {
        const QPoint p = MapToPixel(view, x, y);
        px = p.x();
        py = p.y();
    };
    pv.pixelToMap = [&view](int px, int py, int32_t& x, int32_t& y) {
        const QPoint p = PixelToDataUnits(view, px, py);
        x = p.x();
        y = p.y();
    };
    pv.fillTarget = [&canvas, &display](int px, int py) { return FillTarget(canvas, display, px, py); };
    return pv;
}

namespace {

// The boundary lines of the drawing at 1800 pixels, where a record's region is looked up.
//
// The lines of a larger picture lie where those of the reference picture lie, give or
// take a pixel of it, and are wider: a point beside a line may fall on it or across it
// there. The fill therefore starts at a pixel of the record's region well inside it (two
// pixels of the reference picture from any line, where the region is that wide), the
// one nearest to the record's pixel, taken to the middle of its block in the larger one.
class ReferencePicture {
public:
    ReferencePicture(RenderContext& ctx, const Layer* borderLines)
        : display_(ctx.display), scale_(ctx.canvas.detailScale())
    {
        view_ = ctx.view;
        view_.sizeFactor = kLargestScreenSide / 600;
        view_.reductionDivisor = 1;
        view_.printing = false;
        const Extent kept = ctx.store.extent;
        RecomputeView(view_, ctx.store);
        ctx.store.extent = kept;
        lines_.resize(kLargestScreenSide, kLargestScreenSide, display_.BackColor);
        DrawBoundaryLines(lines_, ctx.store, view_, display_, ctx.switches);
        if (borderLines && *borderLines && ctx.tools.paintBorderLines && ctx.tools.lineFilesListed) {
            RenderContext reference{lines_, ctx.store, view_, ctx.display, ctx.switches, ctx.tools, ctx.messages};
            (*borderLines)(reference);
        }
        visited_.assign(static_cast<size_t>(kLargestScreenSide) * kLargestScreenSide, 0);
    }

    std::optional<QPoint> seed(int32_t x, int32_t y)
    {
        const QPoint p = MapToPixel(view_, x, y);
        if (!open(p.x(), p.y()))
            return std::nullopt; // on a line or outside: nothing is filled there
        // Breadth first through the region from the record's pixel, to the first pixel
        // with two pixels of room around it (else one, else the record's own).
        if (++generation_ == 0) {
            std::fill(visited_.begin(), visited_.end(), 0);
            generation_ = 1;
        }
        constexpr size_t kLook = 40000;
        std::vector<QPoint> queue{p};
        mark(p);
        std::optional<QPoint> roomy;
        for (size_t i = 0; i < queue.size() && i < kLook; ++i) {
            const QPoint q = queue[i];
            if (room(q, 2))
                return middle(q);
            if (!roomy && room(q, 1))
                roomy = q;
            for (const QPoint n : {QPoint(q.x() - 1, q.y()), QPoint(q.x() + 1, q.y()), QPoint(q.x(), q.y() - 1),
                                   QPoint(q.x(), q.y() + 1)})
                if (open(n.x(), n.y()) && !seen(n)) {
                    mark(n);
                    queue.push_back(n);
                }
        }
        return middle(roomy.value_or(p));
    }

private:
    // Off the lines: a pixel a fill started there would take.
    bool open(int x, int y) const
    {
        const std::optional<Color> c = lines_.pixel(x, y);
        return c && FillTarget(lines_, display_, x, y) == *c;
    }
    bool room(const QPoint& q, int r) const
    {
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx)
                if (!open(q.x() + dx, q.y() + dy))
                    return false;
        return true;
    }
    size_t index(const QPoint& q) const { return static_cast<size_t>(q.y()) * kLargestScreenSide + q.x(); }
    bool seen(const QPoint& q) const { return visited_[index(q)] == generation_; }
    void mark(const QPoint& q) { visited_[index(q)] = generation_; }
    // The middle of the block of a pixel in the larger picture.
    QPoint middle(const QPoint& q) const
    {
        const auto at = [&](int v) { return static_cast<int>(static_cast<long long>(v) * scale_.num / scale_.den); };
        return QPoint((at(q.x()) + at(q.x() + 1)) / 2, (at(q.y()) + at(q.y() + 1)) / 2);
    }

    const DisplayState& display_;
    DetailScale scale_;
    ViewState view_;
    Canvas lines_;
    std::vector<uint16_t> visited_;
    uint16_t generation_ = 0;
};

} // namespace

Layer paintReplayLayer(const PaintRecords& records, const Layer* borderLines)
{
    const PaintRecords* r = &records;
    return [r, borderLines](RenderContext& ctx) {
        if (r->count() == 0)
            return;
        PaintView view = paintViewOf(ctx.canvas, ctx.view, ctx.display, ctx.store);
        std::optional<ReferencePicture> reference;
        if (!ctx.canvas.detailScale().isUnit()) {
            reference.emplace(ctx, borderLines);
            view.referenceSeed = [&reference](int32_t x, int32_t y) { return reference->seed(x, y); };
        }
        replayPaint(ctx.canvas, view, *r);
    };
}

} // namespace oboro
