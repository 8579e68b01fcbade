#include "common/canvas.h"

#include <QPainter>
#include <benchmark/benchmark.h>

#include <random>

using namespace oboro;

namespace {

// Fill of the whole empty 1800 × 1800 picture.
void BM_FloodFillWholeImage(benchmark::State& state)
{
    Canvas c(1800, 1800);
    bool red = false;
    for (auto _ : state) {
        const Color from = red ? 0x0000FF : kWhite;
        c.setBrush(red ? kWhite : 0x0000FF);
        benchmark::DoNotOptimize(c.floodFill(900, 900, from));
        red = !red;
    }
    state.SetItemsProcessed(state.iterations() * 1800LL * 1800LL);
}
BENCHMARK(BM_FloodFillWholeImage)->Unit(benchmark::kMillisecond);

// A large irregular region: the inside of a random walk of many short border segments.
void BM_FloodFillIrregular(benchmark::State& state)
{
    Canvas base(1800, 1800);
    base.setPen(kBlack);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> d(-40, 40);
    for (int k = 0; k < 400; ++k) {
        int x = 900 + d(rng) * 20, y = 900 + d(rng) * 20;
        base.moveTo(x, y);
        for (int s = 0; s < 60; ++s) {
            x += d(rng) / 4;
            y += d(rng) / 4;
            base.lineTo(x, y);
        }
    }
    const QImage original = base.image().copy();
    const int mode = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        base.image() = original.copy();
        state.ResumeTiming();
        base.setBrush(0x0000FF, mode == 0 ? BrushStyle::Solid : BrushStyle::DiagCross);
        benchmark::DoNotOptimize(base.floodFill(2, 2, kWhite));
    }
}
BENCHMARK(BM_FloodFillIrregular)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One million segments of 2–3 pixels, as a border polyline is drawn.
std::vector<QPoint> shortSegments()
{
    std::vector<QPoint> pts;
    pts.reserve(1000001);
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> step(-2, 2);
    int x = 900, y = 900;
    pts.emplace_back(x, y);
    for (int i = 0; i < 1000000; ++i) {
        int dx = step(rng), dy = step(rng);
        if (dx == 0 && dy == 0)
            dx = 2;
        x = std::clamp(x + dx, 0, 1799);
        y = std::clamp(y + dy, 0, 1799);
        pts.emplace_back(x, y);
    }
    return pts;
}

void BM_LineLoop(benchmark::State& state)
{
    const std::vector<QPoint> pts = shortSegments();
    Canvas c(1800, 1800);
    c.setPen(kBlack);
    for (auto _ : state)
        c.polyline(pts.data(), static_cast<int>(pts.size()));
    state.SetItemsProcessed(state.iterations() * 1000000LL);
}
BENCHMARK(BM_LineLoop)->Unit(benchmark::kMillisecond);

// The same segments through QPainter, for comparison.
void BM_LineLoopQPainter(benchmark::State& state)
{
    const std::vector<QPoint> pts = shortSegments();
    QImage img(1800, 1800, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (auto _ : state) {
        QPainter p(&img);
        p.setPen(QPen(Qt::black, 0));
        p.drawPolyline(pts.data(), static_cast<int>(pts.size()));
    }
    state.SetItemsProcessed(state.iterations() * 1000000LL);
}
BENCHMARK(BM_LineLoopQPainter)->Unit(benchmark::kMillisecond);

} // namespace

namespace {
// Municipality names: short texts on their opaque boxes, as the name layer writes them.
void BM_TextOut(benchmark::State& state)
{
    Canvas c(1800, 1800);
    c.setFont(8, kBlack);
    c.setBrush(0xE1FFFF);
    int i = 0;
    for (auto _ : state) {
        c.textOut((i * 37) % 1700, (i * 53) % 1750, "相模原市緑区");
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TextOut)->Unit(benchmark::kMicrosecond);
} // namespace
