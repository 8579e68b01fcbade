#include "measure/regionarea.h"

#include "search/municipalitysearch.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace oboro {

// ---------------------------------------------------------------- the walk

void RegionWalker::reset(int width, int height)
{
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    grid_.assign(static_cast<size_t>(width_) * height_, 0);
    interior_ = 0;
    boundary_ = 0;
    edge_ = false;
}

long RegionWalker::walk(Canvas& canvas, QPoint start, Color target, Color marker)
{
    // The grid follows the picture; a picture of another size starts afresh.
    if (canvas.width() != width_ || canvas.height() != height_)
        reset(canvas.width(), canvas.height());
    const int w = width_, h = height_;
    const int x = start.x(), y = start.y();
    if (x < 0 || y < 0 || x >= w || y >= h)
        return 0;
    const int32_t s = y * w + x;
    if (grid_[s])
        return 0;
    if (x == 0 || y == 0 || x == w - 1 || y == h - 1) {
        edge_ = true;
        return 0;
    }
    QImage& img = canvas.image();
    uint32_t* bits = reinterpret_cast<uint32_t*>(img.bits());
    const qsizetype stride = img.bytesPerLine() / 4;
    // 32-bit rows have no padding, so pixel i of the grid is pixel i of the picture.
    const bool packed = stride == w;
    auto at = [&](int32_t i) -> uint32_t& { return packed ? bits[i] : bits[(i / w) * stride + (i % w)]; };
    const uint32_t tgt = toPixel(target) & 0x00FFFFFFu;
    const uint32_t mark = toPixel(marker);
    uint8_t* grid = grid_.data();
    const long before = interior_;

    grid[s] = 1;
    at(s) = mark;
    ++interior_;
    stack_.clear();
    stack_.push_back(s);
    while (!stack_.empty()) {
        const int32_t p = stack_.back();
        stack_.pop_back();
        // Taken pixels never lie on the outer ring, so all four neighbours exist.
        const int32_t nb[4] = {p - 1, p + 1, p - w, p + w};
        for (int32_t q : nb) {
            if (grid[q])
                continue;
            uint32_t& px = at(q);
            if ((px & 0x00FFFFFFu) == tgt) {
                const int qx = q % w, qy = q / w;
                if (qx == 0 || qy == 0 || qx == w - 1 || qy == h - 1) {
                    edge_ = true; // neither counted nor marked
                    continue;
                }
                grid[q] = 1;
                px = mark;
                ++interior_;
                stack_.push_back(q);
            } else {
                grid[q] = 1;
                ++boundary_;
            }
        }
    }
    return interior_ - before;
}

double walkedAreaKm2(long interior, long boundary, const GroundScale& g)
{
    return static_cast<double>(interior + boundary / 2) * g.pixelKm2();
}

double walkedPerimeterKm(long boundary, const GroundScale& g)
{
    return static_cast<double>(boundary) * g.pixelKm() * 1.11;
}

// ---------------------------------------------------------------- 面積

RegionAreaTool::Toggle RegionAreaTool::toggle()
{
    Toggle t;
    on_ = !on_;
    t.on = on_;
    t.panel.figureColor = kFigureRed;
    if (on_) {
        t.caption = "終り";
        t.hint = "面積測定終了";
        walker_.reset(0, 0);
        areaKm2_ = perimeterKm_ = 0.0;
        char buf[32];
        std::snprintf(buf, sizeof buf, "%8.0f km", 0.0);
        t.panel.area = buf;
        t.panel.length = lengthText(0.0);
        t.panel.title = kPerimeterTitle;
    } else {
        t.caption = "面積";
        t.hint = "測定領域をクリック";
        t.redraw = true;
    }
    return t;
}

PanelUpdate RegionAreaTool::click(Canvas& canvas, const ViewState& v, QPoint pixel)
{
    PanelUpdate u;
    if (!on_)
        return u;
    const std::optional<Color> c = canvas.pixel(pixel.x(), pixel.y());
    if (c)
        walker_.walk(canvas, pixel, *c, kAreaMarkerColor);
    const GroundScale g = groundScaleOf(v);
    areaKm2_ = walkedAreaKm2(walker_.interior(), walker_.boundary(), g);
    perimeterKm_ = walkedPerimeterKm(walker_.boundary(), g);
    u.figureColor = walker_.edge() ? kFigureYellow : kFigureRed;
    u.area = areaText(areaKm2_);
    u.length = perimeterText(perimeterKm_);
    return u;
}

// ---------------------------------------------------------------- 県

bool landAreaRefused(const std::vector<int>& selectedAreas, MessageSink& sink)
{
    if (selectedAreas.empty())
        return false;
    const int smallest = *std::min_element(selectedAreas.begin(), selectedAreas.end());
    if (smallest != 50 && smallest != 51)
        return false;
    sink.show(kLandAreaRefusedText, kMeasureRangeTitle, MessageIcon::Exclamation);
    return true;
}

LandAreaResult measureLand(Canvas& canvas, const ViewState& v)
{
    LandAreaResult r;
    RegionWalker walker;
    walker.reset(canvas.width(), canvas.height());
    if (const std::optional<Color> sea = canvas.pixel(5, 5))
        walker.walk(canvas, QPoint(5, 5), *sea, *sea);
    const GroundScale g = groundScaleOf(v);
    const double side = g.side;
    // The outer ring (4 × side − 4 pixels) is sea as well: the walk never takes it.
    const double seaKm2 = (walker.interior() + 0.65 * walker.boundary() + 4.0 * side - 4.0) * g.pixelKm2();
    r.landKm2 = static_cast<double>(g.widthKm) * g.heightKm - seaKm2;
    r.coastKm = walkedPerimeterKm(walker.boundary(), g);
    r.panel.area = areaText(r.landKm2);
    r.panel.title = kPerimeterTitle;
    r.panel.length = perimeterText(r.coastKm);
    return r;
}

LandAreaResult measureDisplayedLand(MainSwitches& sw, const std::function<void()>& redraw, Canvas& canvas,
                                    const ViewState& v)
{
    const MainSwitches kept = sw;
    sw.kokudo = false;
    sw.ken_name = false;
    sw.CBTownName = false;
    sw.CBLonLat = false;
    sw.CBScale = false;
    sw.CBLabel = false;
    sw.CBCenter = false;
    if (redraw)
        redraw();
    LandAreaResult r = measureLand(canvas, v);
    sw.kokudo = kept.kokudo;
    sw.ken_name = kept.ken_name;
    sw.CBTownName = kept.CBTownName;
    sw.CBLonLat = kept.CBLonLat;
    sw.CBScale = kept.CBScale;
    sw.CBLabel = kept.CBLabel;
    sw.CBCenter = kept.CBCenter;
    if (redraw)
        redraw();
    return r;
}

// ---------------------------------------------------------------- searched name

SearchedAnchors searchedAnchors(const MapStore& store, const ViewState& v, const std::string& name,
                                std::optional<QPoint> chosenMapUnits, bool oldBordersShown)
{
    SearchedAnchors out;
    const bool duplicate = std::any_of(store.duplicateNames.begin(), store.duplicateNames.end(),
                                       [&](const DuplicateNameEntry& e) { return e.name == name; });
    if (duplicate && chosenMapUnits)
        out.anchors.push_back({MapToPixel(v, chosenMapUnits->x(), chosenMapUnits->y()), SearchedAnchor::Kind::Chosen, 0});
    for (const NameEntry& e : store.commonNames.entries) {
        if (e.name != name)
            continue;
        const bool ward = endsWithKuBeforeParen(e.name);
        if (duplicate && !ward)
            continue;
        if (ward)
            out.wardName = true;
        out.anchors.push_back({MapToPixel(v, e.x, e.y), SearchedAnchor::Kind::Name, 1});
    }
    const NameTable& viewNames = oldBordersShown ? store.oldNames : store.newNames;
    for (const NameEntry& e : viewNames.entries)
        if (e.name == name)
            out.anchors.push_back({MapToPixel(v, e.x, e.y), SearchedAnchor::Kind::Name, 2});
    for (const DesignatedCityEntry& e : store.designatedCities)
        if (e.name == name)
            out.anchors.push_back({MapToPixel(v, e.x, e.y), SearchedAnchor::Kind::City, -1});
    return out;
}

PanelUpdate searchedAreaStartPanel()
{
    PanelUpdate u;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%8.0f km", 0.0);
    u.area = buf;
    u.length = lengthText(0.0);
    u.title = kPerimeterTitle;
    return u;
}

SearchedAreaResult measureSearchedRegions(Canvas& canvas, const ViewState& v, const DisplayState& d,
                                          const std::vector<SearchedAnchor>& anchors, Color marker)
{
    SearchedAreaResult r;
    RegionWalker walker;
    walker.reset(canvas.width(), canvas.height());
    const auto inside = [&](QPoint p) { return p.x() >= 0 && p.y() >= 0 && p.x() < canvas.width() && p.y() < canvas.height(); };
    const auto coast = [&](int x, int y) { return canvas.pixel(x, y) == std::optional<Color>(d.CoastColor); };
    std::vector<long> groupGrowth;
    for (const SearchedAnchor& a : anchors) {
        const QPoint p = a.pixel;
        if (!inside(p)) {
            if (a.kind == SearchedAnchor::Kind::Name)
                walker.setEdge();
            continue;
        }
        bool walkIt = true;
        if (a.kind == SearchedAnchor::Kind::Chosen) {
            walkIt = !coast(p.x(), p.y());
        } else if (coast(p.x(), p.y()) || coast(p.x() - 1, p.y()) || coast(p.x() + 1, p.y()) ||
                   coast(p.x(), p.y() - 1) || coast(p.x(), p.y() + 1)) {
            ++r.unmeasurable;
            walkIt = false;
        }
        if (!walkIt)
            continue;
        const long grown = walker.walk(canvas, p, FillTarget(canvas, d, p.x(), p.y()), marker);
        if (a.group >= 0) {
            if (static_cast<size_t>(a.group) >= groupGrowth.size())
                groupGrowth.resize(a.group + 1, 0);
            groupGrowth[a.group] += grown;
        }
    }
    for (long g : groupGrowth)
        r.largestGroup = std::max(r.largestGroup, g);
    r.interior = walker.interior();
    r.boundary = walker.boundary();
    r.edge = walker.edge();
    const GroundScale g = groundScaleOf(v);
    r.areaKm2 = walkedAreaKm2(r.interior, r.boundary, g);
    r.perimeterKm = walkedPerimeterKm(r.boundary, g);
    r.panel.figureColor = r.edge ? kFigureYellow : kFigureRed;
    r.panel.area = areaText(r.areaKm2);
    r.panel.length = perimeterText(r.perimeterKm);
    r.panel.superscriptShown = true;
    if (r.unmeasurable != 0) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%2d", r.unmeasurable);
        r.panel.unmeasurable = buf;
    } else {
        r.panel.unmeasurable = "";
    }
    return r;
}

Layer searchedAreaLayer(std::function<std::optional<SearchedName>()> search,
                        std::function<void(const SearchedAreaResult&)> done)
{
    return [search = std::move(search), done = std::move(done)](RenderContext& ctx) {
        const std::optional<SearchedName> searched = search ? search() : std::nullopt;
        if (!searched)
            return;
        const SearchedAnchors a = searchedAnchors(ctx.store, ctx.view, searched->name, searched->chosenMapUnits,
                                                  ctx.switches.CBNTownBorder);
        if (a.wardName)
            ctx.display.CBKuDot = false;
        const SearchedAreaResult r =
            measureSearchedRegions(ctx.canvas, ctx.view, ctx.display, a.anchors, ctx.display.TownPaintColor);
        if (done)
            done(r);
    };
}

long searchedGroupLimit(int imageSide)
{
    // 200000 pixels of a 600 × 600 picture, the same share of any other size.
    return static_cast<long>(200000.0 * imageSide / 600.0 * imageSide / 600.0);
}

SearchedAreaNext searchedAreaNext(const SearchedAreaResult& r, int imageSide, int magCount)
{
    SearchedAreaNext n;
    if (r.largestGroup <= searchedGroupLimit(imageSide)) {
        n.step = SearchedAreaNext::Step::Show;
        n.panel = r.panel;
        return n;
    }
    n.magCount = magCount + 1;
    if (n.magCount < 20) {
        n.step = SearchedAreaNext::Step::Magnify;
        return n;
    }
    n.step = SearchedAreaNext::Step::GiveUp;
    n.panel.length = kUnmeasurableLength;
    n.panel.area = kUnmeasurableArea;
    n.panel.superscriptShown = false;
    return n;
}

} // namespace oboro
