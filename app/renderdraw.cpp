#include "app/rendercommand.h"

#include "mapdata/loader.h"
#include "view/display.h"
#include "view/projection.h"
#include "view/render.h"

namespace oboro {

// The layers of other tools that the main window wires into the drawing. The command
// draws with the default settings, where only layers that are on by default matter;
// each is added here as its tool lands, the same way the main window adds it.
RenderHooks renderCommandLayers()
{
    return RenderHooks{};
}

// The map drawing of the render command, as the main window does it after 決定: load the
// selected areas, set up the standard view at the chosen image size, apply the set-up's
// control effects and draw once with the default settings.
std::optional<QImage> drawRenderPicture(const RenderOptions& options, MessageSink& sink)
{
    MapStore store;
    std::string missing;
    if (!loadMapFiles(store, options.areas, LoadOptions{}, sink, &missing)) {
        sink.show(std::string(kMapFileNotFoundText) + "\n" + missing, kMapFileNotFoundTitle, MessageIcon::Exclamation);
        return std::nullopt;
    }

    ViewState view;
    view.sizeFactor = imageSizeFactor(options.sizeIndex());
    view.reductionDivisor = options.reduce;
    view.wgs = !options.tokyoDatum;
    const ViewSetUp setUp = SetUpView(view, store, static_cast<int>(options.areas.size()));

    // The control effects of the set-up and the per-selection resets of 決定.
    DisplayState display;
    MainSwitches switches;
    ToolSwitches tools;
    switches.drawingEnabled = true;
    switches.CBTownName = setUp.townNameChecked;
    switches.CBMainDoubleName = setUp.doubleNameChecked;
    switches.CBTownPaint = false;
    switches.CBNTownBorder = false;
    display.CBKu = true;
    display.CBKuName = true;
    display.CBCityName = options.areas.size() == 1 && options.areas.front() == 10;
    display.CBNTownDot = false;
    // No window to show a please-wait notice in.
    switches.pleaseWait = false;
    if (options.noNames) {
        // As while painting: the municipality name layers are left out.
        switches.CBTownName = false;
        tools.namesOverPaint = true;
    }

    Canvas canvas(view.imageSide, view.imageSide, display.BackColor);
    RenderState state;
    RenderContext ctx{canvas, store, view, display, switches, tools, sink};
    const DrawResult result = DrawMap(ctx, state, renderCommandLayers());
    if (!result.drawn) {
        sink.show("地図を描けませんでした", "描画エラー", MessageIcon::Exclamation);
        return std::nullopt;
    }
    return canvas.image();
}

} // namespace oboro
