// Writing the 1800 × 1800 map picture: PNG with several settings (truecolour with
// libpng's defaults, the palette forms the program weighs), JPEG, BMP, and ImageMagick's
// convert writing the same pixels as PNG for comparison. Each PNG run reports the file
// size in the "bytes" counter.
//
// The picture: 神奈川 drawn at 1800 pixels from the map data named by OBORO_N03_DIR or
// the bundled data (as `oboro render --areas 13 --size 1800` draws it), or the file named
// by OBORO_EXPORT_IMAGE, or else a synthetic map-like picture.
#include "app/rendercommand.h"
#include "bench/realdata.h"
#include "common/canvas.h"
#include "common/paths.h"
#include "view/imageexport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <png.h>
#include <zlib.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <random>

using namespace oboro;

namespace {

// A map-like picture: background, a jagged coast, municipal borders as jittered
// polylines, regions painted in colour slots and hatch patterns, names in black.
// OBORO_EXPORT_IMAGE names a picture file to use instead (e.g. a map written by
// `oboro render --size 1800 ... --out map.bmp`).
const QImage& mapPicture()
{
    static const QImage picture = [] {
        if (const QString dir = realDataFolder(); !dir.isEmpty()) {
            setProgramFolder(dir);
            RenderOptions o;
            o.areas = {13};
            o.size = 1800;
            CollectingSink sink;
            if (const std::optional<QImage> drawn = drawRenderPicture(o, sink))
                return *drawn;
            std::fprintf(stderr, "神奈川 could not be drawn from %s; the next picture is used\n", qPrintable(dir));
        }
        if (const char* file = std::getenv("OBORO_EXPORT_IMAGE")) {
            const QImage given(QString::fromLocal8Bit(file));
            if (!given.isNull())
                return given.convertToFormat(QImage::Format_RGB32);
            std::fprintf(stderr, "OBORO_EXPORT_IMAGE: cannot read %s; the drawn picture is used\n", file);
        }
        const int n = 1800;
        Canvas c(n, n, 0xFFFFE1);
        std::mt19937 rng(11);
        std::uniform_int_distribution<int> jitter(-6, 6);
        // Borders: a jittered grid of polylines makes irregular cells.
        c.setPen(0x28C830, 1);
        for (int k = 1; k < 24; ++k) {
            int y = k * n / 24;
            c.moveTo(0, y);
            for (int x = 0; x <= n; x += 12) {
                y += jitter(rng) / 3;
                c.lineTo(x, y);
            }
            int x = k * n / 24;
            c.moveTo(x, 0);
            for (int yy = 0; yy <= n; yy += 12) {
                x += jitter(rng) / 3;
                c.lineTo(x, yy);
            }
        }
        // Prefecture borders, wider and red.
        c.setPen(0x0000FF, 2);
        c.moveTo(0, n / 2);
        for (int x = 0; x <= n; x += 8)
            c.lineTo(x, n / 2 + jitter(rng) * 4);
        // Paint: colour slots and patterns in a third of the cells.
        const Color paintSlots[] = {0x00FFFF, 0xFFCC99, 0x99CCFF, 0xCCFFCC, 0xFF99FF, 0x66CCFF, 0xCCCCCC, 0x9999FF};
        int s = 0;
        for (int i = 0; i < 24; ++i)
            for (int j = 0; j < 24; ++j) {
                if ((i * 7 + j * 3) % 3 != 0)
                    continue;
                const int x = i * n / 24 + n / 48, y = j * n / 24 + n / 48;
                const BrushStyle style = s % 4 == 3 ? brushStyleFromCode(2 + s % 6) : BrushStyle::Solid;
                c.setBrush(paintSlots[s % 8], style);
                if (auto p = c.pixel(x, y))
                    c.floodFill(x, y, *p);
                ++s;
            }
        // Coast: a blue jagged outline.
        c.setPen(0xFF0000, 1);
        c.moveTo(100, 100);
        for (int k = 0; k < 400; ++k)
            c.lineTo(100 + k * 4, 100 + jitter(rng) * 3);
        // Names.
        c.setBrush(0xFFFFE1);
        c.setFont(8, 0x000000);
        for (int i = 0; i < 24; ++i)
            for (int j = 0; j < 24; ++j)
                c.textOut(i * n / 24 + 8, j * n / 24 + 30, "市町村名");
        return c.image();
    }();
    return picture;
}

// Arg: 0 the program's choice; 1 truecolour with libpng's defaults (adaptive filters,
// level 6); 2 truecolour as written before palettes (Up, level 3); 3.. palette forms
// that were weighed.
void BM_PngEncode(benchmark::State& state)
{
    const QImage& picture = mapPicture();
    PngOptions o;
    const auto truecolour = [](int filters, int level) {
        PngOptions t;
        t.palette = false;
        t.filters = filters;
        t.level = level;
        t.strategy = Z_DEFAULT_STRATEGY;
        return t;
    };
    const auto unfiltered = [](int level) {
        PngOptions t;
        t.deflateLevel = level;
        t.upRuns = false;
        return t;
    };
    switch (state.range(0)) {
    case 0: state.SetLabel("program choice (palette)"); break;
    case 1: o = truecolour(PNG_ALL_FILTERS, 6); state.SetLabel("truecolour, libpng defaults"); break;
    case 2: o = truecolour(PNG_FILTER_UP, 3); state.SetLabel("truecolour, Up, level 3"); break;
    case 3: o = unfiltered(6); state.SetLabel("palette, unfiltered, libdeflate 6"); break;
    case 4: o = unfiltered(7); state.SetLabel("palette, unfiltered, libdeflate 7"); break;
    case 5: o = unfiltered(9); state.SetLabel("palette, unfiltered, libdeflate 9"); break;
    }
    size_t bytes = 0;
    for (auto _ : state) {
        const auto png = encodePng(picture, o);
        bytes = png ? png->size() : 0;
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_PngEncode)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);


// The whole save as the program does it: encode, temporary file, rename.
void BM_WriteImageFile(benchmark::State& state)
{
    const QImage& picture = mapPicture();
    QTemporaryDir dir;
    const auto format = static_cast<ImageFormat>(state.range(0));
    const QString path = dir.path() + "/map." + imageExtension(format);
    CollectingSink sink;
    for (auto _ : state)
        benchmark::DoNotOptimize(writeImageFile(picture, format, path, sink));
    state.SetLabel(imageExtension(format).toStdString());
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
}
BENCHMARK(BM_WriteImageFile)
    ->Arg(static_cast<int>(ImageFormat::Png))
    ->Arg(static_cast<int>(ImageFormat::Jpeg))
    ->Arg(static_cast<int>(ImageFormat::Bmp))
    ->Unit(benchmark::kMillisecond);

// ImageMagick's convert writing the same pixels as PNG (from a binary PPM, which it
// reads with little work). Includes the process start, as a user of convert would pay.
void BM_ImageMagickConvertPng(benchmark::State& state)
{
    const char* convert = nullptr;
    for (const char* candidate : {"/usr/bin/convert-im6.q16", "/usr/bin/convert"})
        if (QFileInfo(candidate).isExecutable()) {
            convert = candidate;
            break;
        }
    if (!convert) {
        state.SkipWithError("ImageMagick convert is not installed");
        return;
    }
    QTemporaryDir dir;
    const QString ppm = dir.path() + "/map.ppm";
    const QString png = dir.path() + "/convert.png";
    mapPicture().convertToFormat(QImage::Format_RGB888).save(ppm, "PPM");
    const std::string command =
        std::string(convert) + " '" + ppm.toStdString() + "' -strip '" + png.toStdString() + "'";
    // The wall time includes waiting for the shared processors; the counter cpu_ms is
    // the CPU time convert itself used per run (user + system).
    const auto childCpu = [] {
        rusage u{};
        getrusage(RUSAGE_CHILDREN, &u);
        return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
    };
    const double before = childCpu();
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("convert failed");
            return;
        }
    }
    state.counters["cpu_ms"] = (childCpu() - before) / static_cast<double>(state.iterations());
    state.counters["bytes"] = static_cast<double>(QFileInfo(png).size());
}
BENCHMARK(BM_ImageMagickConvertPng)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
