#include "app/rendercommand.h"

#include "mapdata/datasource.h"
#include "mapdata/loader.h"
#include "mapdata/namelists.h"
#include "measure/circles.h"
#include "view/display.h"
#include "view/layers.h"
#include "view/mapexport.h"
#include "view/projection.h"
#include "view/render.h"

namespace oboro {

// The map drawing of the render command, as the main window does it after 決定: load the
// selected areas, set up the standard view at the chosen image size, apply the set-up's
// control effects and draw once with the default settings.
std::optional<QImage> drawRenderPicture(const RenderOptions& options, MessageSink& sink)
{
    // The two name lists the window reads at start-up, then the map files.
    MapStore store;
    readDesignatedCityList(store, sink);
    readDuplicateNameList(store, sink);
    std::string missing;
    if (!loadMapFiles(store, options.areas, LoadOptions{}, sink, &missing)) {
        sink.show(std::string(kMapFileNotFoundText) + "\n" + missing, kMapFileNotFoundTitle, MessageIcon::Exclamation);
        return std::nullopt;
    }

    ViewState view;
    view.sizeFactor = options.sizeFactor();
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

    // The layers of other tools that the default settings draw: names and decorations.
    NameOptions names;
    DecorationState decorations;
    decorations.approvalNotice = readDataSource(options.folder).credit;
    RenderHooks hooks;
    installNameAndDecorationLayers(hooks, names, decorations);
    // The distance circles asked for, centred in the data's datum so that the drawing's
    // shift puts them where the degrees say.
    std::vector<std::pair<DistanceCircle, int>> circles;
    for (const CircleRequest& r : options.circles) {
        DistanceCircle c;
        const QPoint centre = options.tokyoDatum
                                  ? QPoint(truncClamp(static_cast<float>((r.lon - 122.0) * 10000.0)),
                                           truncClamp(static_cast<float>((r.lat - 24.0) * 15000.0)))
                                  : dataUnitsOfWgs84(r.lon, r.lat);
        c.x = centre.x();
        c.y = centre.y();
        c.radius = r.km;
        c.concentric = r.count > 1;
        circles.emplace_back(c, r.count);
    }
    if (!circles.empty())
        hooks.distanceCircles = [&circles](RenderContext& c) {
            for (const auto& [circle, count] : circles)
                drawCircleSet(c.canvas, c.view, circle, count);
        };
    const MapScene scene{store, view, display, switches, tools, hooks};
    DrawStatus status = DrawStatus::NotDrawn;
    QImage picture = drawMapPicture(scene, view.sizeFactor, view.reductionDivisor, {}, &status);
    if (status == DrawStatus::OutOfMemory) {
        sink.show("画像を描くためのメモリが足りません", "描画エラー", MessageIcon::Exclamation);
        return std::nullopt;
    }
    if (status != DrawStatus::Drawn) {
        sink.show("地図を描けませんでした", "描画エラー", MessageIcon::Exclamation);
        return std::nullopt;
    }
    return picture;
}

} // namespace oboro
