// The session of the open map, from a user action to the finished picture: all Japan at
// 1800 × 1800 with 1300 paint records, zoomed in four steps. A zoom step and a move
// redraw the map and replay every record; a paint click fills one municipality.
// Goal: each within one 60 Hz frame (16 ms).
//   build/bench/oboro_bench --benchmark_filter=Session
#include "app/mapsession.h"
#include "bench/japansession.h"
#include "common/paths.h"
#include "mapdata/namelists.h"

#include <benchmark/benchmark.h>

using namespace oboro;

namespace {

// The records of a well-painted map (the table holds more).
constexpr int kRecords = 1300;

struct SessionOfJapan {
    CollectingSink sink;
    MapSession session{sink};
    QPoint land{-1, -1}; // a pixel inside a municipality, where a click fills
    bool ok = false;

    SessionOfJapan()
    {
        if (!openAllJapan(session, sink))
            return;
        session.setMagnification(4); // a closer look, where most regions are many pixels large
        session.startPaint([](const Message&) { return true; });
        for (const NameEntry& e : session.store.commonNames.entries) {
            if (session.paintRecords.count() >= kRecords)
                break;
            session.paintRecords.add(
                PaintRecord{e.x, e.y, 0x010203u * static_cast<Color>(session.paintRecords.count() % 80 + 1), 0});
        }
        session.endPaint();
        // A painted municipality near the middle, where a click with another slot fills
        // it again: the pixel of a record with room around it.
        const Canvas& c = session.canvas;
        const auto roomy = [&](const QPoint& p) {
            const std::optional<Color> here = c.pixel(p.x(), p.y());
            if (!here || *here == session.display.BackColor)
                return false;
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx)
                    if (c.pixel(p.x() + dx, p.y() + dy) != here)
                        return false;
            return true;
        };
        long best = -1;
        for (const PaintRecord& r : session.paintRecords.records()) {
            const QPoint p = MapToPixel(session.view, r.x, r.y);
            const long d = (p.x() - 900L) * (p.x() - 900L) + (p.y() - 900L) * (p.y() - 900L);
            if ((best < 0 || d < best) && roomy(p)) {
                best = d;
                land = p;
            }
        }
        ok = session.paintRecords.count() == kRecords && session.canvas.width() == 1800;
    }
};

SessionOfJapan& japan()
{
    static SessionOfJapan j;
    return j;
}

bool ready(benchmark::State& state, const SessionOfJapan& j)
{
    if (!j.ok)
        state.SkipWithError("no real map data of all Japan (OBORO_N03_DIR or data/)");
    return j.ok;
}

void BM_SessionZoomStep(benchmark::State& state)
{
    SessionOfJapan& j = japan();
    if (!ready(state, j))
        return;
    bool in = true;
    for (auto _ : state) {
        j.session.setMagnification(in ? 5 : 4);
        in = !in;
    }
    j.session.setMagnification(4);
}
BENCHMARK(BM_SessionZoomStep)->Unit(benchmark::kMillisecond);

void BM_SessionMove(benchmark::State& state)
{
    SessionOfJapan& j = japan();
    if (!ready(state, j))
        return;
    bool right = true;
    for (auto _ : state) {
        j.session.move(right ? MoveDirection::Right : MoveDirection::Left);
        right = !right;
    }
}
BENCHMARK(BM_SessionMove)->Unit(benchmark::kMillisecond);

// A click of the paint tool with 1299 records in place (the click's own record is taken
// back between rounds, so the capacity is never reached).
void BM_SessionPaintClick(benchmark::State& state)
{
    SessionOfJapan& j = japan();
    if (!ready(state, j) || j.land.x() < 0) {
        state.SkipWithError("no region to click");
        return;
    }
    j.session.paintRecords.removeLast();
    j.session.resumePaint();
    int slot = 1;
    for (auto _ : state) {
        j.session.selectSlot(slot);
        if (!j.session.paintAt(j.land.x(), j.land.y())) {
            state.SkipWithError("the click did not paint");
            break;
        }
        state.PauseTiming();
        j.session.paintRecords.removeLast();
        slot = slot == 1 ? 2 : 1; // the other colour, so the next click fills again
        state.ResumeTiming();
    }
    // The size of the region the click fills (a municipality, not the sea).
    long filled = 0;
    const Color c = j.session.palette.colors[slot == 1 ? 2 : 1];
    for (int y = 0; y < j.session.canvas.height(); ++y)
        for (int x = 0; x < j.session.canvas.width(); ++x)
            filled += j.session.canvas.pixel(x, y) == c;
    state.counters["pixels"] = static_cast<double>(filled);
    j.session.endPaint();
}
BENCHMARK(BM_SessionPaintClick)->Unit(benchmark::kMillisecond);

} // namespace
