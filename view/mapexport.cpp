#include "view/mapexport.h"

#include "common/largebuffer.h"

#include <QDir>

#include <algorithm>
#include <cstdio>

namespace oboro {

namespace {

// The encoding is reported in this many steps after the drawing's stages.
constexpr int kEncodeSteps = 10;
constexpr int kExportSteps = kDrawStages + kEncodeSteps;

struct Sheet {
    const char* name;
    double shortEdgeCm;
};
constexpr Sheet kSheets[] = {{"A4", 21.0}, {"B4", 25.7}, {"A3", 29.7}};

} // namespace

bool isPrintSide(int side) { return side >= 600 && side <= kLargestPrintSide && side % 600 == 0; }

bool isPrintDpi(int dpi) { return dpi == kPrintDpi || dpi == kFinePrintDpi; }

PrintedSize printedSize(int side, int dpi)
{
    PrintedSize p;
    p.cm = static_cast<double>(side) / std::max(dpi, 1) * 2.54;
    for (const Sheet& s : kSheets)
        if (p.cm <= s.shortEdgeCm) {
            p.sheet = s.name;
            break;
        }
    return p;
}

QString printedSizeText(int side, int dpi)
{
    const PrintedSize p = printedSize(side, dpi);
    char cm[32];
    std::snprintf(cm, sizeof cm, "%.1f", p.cm);
    const QString size = QString::fromLatin1(cm) + QStringLiteral(" cm 角");
    if (p.sheet)
        return size + QStringLiteral("（%1 に収まります）").arg(QLatin1String(p.sheet));
    return size + QStringLiteral("（A3 に収まりません）");
}

QImage drawMapPicture(const MapScene& scene, int sizeFactor, int reduction, const ExportProgress& progress,
                      DrawStatus* status)
{
    const auto report = [&](DrawStatus s) {
        if (status)
            *status = s;
    };
    ViewState view = scene.view;
    view.sizeFactor = std::clamp(sizeFactor, 1, kMaxSizeFactor);
    view.printing = true;
    view.reductionDivisor = std::clamp(reduction, 1, 5);
    // The view as it is in force; a range being dragged on screen is not part of it.
    view.rangeDragging = false;
    DisplayState display = scene.display;
    MainSwitches switches = scene.switches;
    ToolSwitches tools = scene.tools;
    RenderHooks hooks = scene.hooks;
    // The export tells its own progress instead of the please-wait notice.
    hooks.showPleaseWait = nullptr;
    hooks.hidePleaseWait = nullptr;
    if (progress) {
        // While stage k runs the text says k: after stage done, done + 1 (the last one
        // stays until the writing begins).
        hooks.progress = [&](int done, int total) {
            return progress(done, kExportSteps, copyProgressText(std::min(done + 1, total), total));
        };
        if (!progress(0, kExportSteps, copyProgressText(1, kDrawStages))) {
            report(DrawStatus::Cancelled);
            return {};
        }
    }

    // The picture is left uncleared here: the drawing fills it with the background first.
    const int side = 600 * view.sizeFactor / view.reductionDivisor;
    Canvas canvas;
    canvas.image() = largeImage(side, side);
    if (canvas.image().isNull()) {
        report(DrawStatus::OutOfMemory);
        return {};
    }
    RenderState state;
    CollectingSink messages;
    RenderContext ctx{canvas, scene.store, view, display, switches, tools, messages};
    const Extent kept = scene.store.extent;
    const DrawResult result = DrawMap(ctx, state, hooks);
    scene.store.extent = kept;
    if (result.cancelled) {
        report(DrawStatus::Cancelled);
        return {};
    }
    if (!result.drawn) {
        report(DrawStatus::NotDrawn);
        return {};
    }
    report(DrawStatus::Drawn);
    // Moved out: the caller holds the only reference, so nothing copies the pixels.
    return std::move(canvas.image());
}

QImage drawMapAtSide(const MapScene& scene, int side, const ExportProgress& progress, DrawStatus* status)
{
    if (!isPrintSide(side)) {
        if (status)
            *status = DrawStatus::NotDrawn;
        return {};
    }
    return drawMapPicture(scene, side / 600, 1, progress, status);
}

ExportOutcome exportMapPicture(const MapScene& scene, const MapExport& what, const ExportProgress& progress,
                               MessageSink& sink)
{
    if (!isPrintSide(what.side)) {
        sink.show(kExportSideText, kExportErrorTitle, MessageIcon::Exclamation);
        return ExportOutcome::Failed;
    }
    DrawStatus status = DrawStatus::NotDrawn;
    QImage picture = drawMapAtSide(scene, what.side, progress, &status);
    switch (status) {
    case DrawStatus::Drawn: break;
    case DrawStatus::Cancelled: return ExportOutcome::Cancelled;
    case DrawStatus::OutOfMemory:
        sink.show(std::to_string(what.side) + " × " + std::to_string(what.side) +
                      " の画像を描くためのメモリが足りません\n小さい画像サイズを選んでください",
                  kExportErrorTitle, MessageIcon::Exclamation);
        return ExportOutcome::Failed;
    case DrawStatus::NotDrawn:
        sink.show(kExportNotDrawnText, kExportErrorTitle, MessageIcon::Exclamation);
        return ExportOutcome::Failed;
    }

    EncodeOptions encode;
    encode.dpi = what.dpi;
    const QString saving = savingText(QDir::toNativeSeparators(what.path));
    int shown = 0; // the encoding step last told
    if (progress) {
        if (!progress(kDrawStages, kExportSteps, saving))
            return ExportOutcome::Cancelled;
        encode.progress = [&](int done, int total) {
            const int step = total > 0 ? static_cast<int>(static_cast<long long>(done) * kEncodeSteps / total) : 0;
            if (step == shown)
                return true;
            shown = step;
            return progress(kDrawStages + step, kExportSteps, saving);
        };
    }
    switch (writeImage(picture, what.format, what.path, encode, sink)) {
    case WriteOutcome::Written:
        if (progress)
            progress(kExportSteps, kExportSteps, saving);
        return ExportOutcome::Written;
    case WriteOutcome::Cancelled: return ExportOutcome::Cancelled;
    case WriteOutcome::Failed: break;
    }
    return ExportOutcome::Failed;
}

} // namespace oboro
