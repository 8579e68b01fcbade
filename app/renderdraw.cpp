#include "app/rendercommand.h"

#include "app/mapsession.h"
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

// The map drawing of the render command: a session of the map as the window holds it at
// start-up, the areas selected as 決定 selects them, the switches of the options set, and
// the picture drawn as a saved or printed one.
std::optional<QImage> drawRenderPicture(const RenderOptions& options, MessageSink& sink)
{
    MapSession session(sink);
    // The two name lists the window reads at start-up.
    readDesignatedCityList(session.store, sink);
    readDuplicateNameList(session.store, sink);
    session.decorations.approvalNotice = readDataSource(options.folder).credit;
    // No window to show a please-wait notice in; no drawing before the areas are loaded.
    session.setSwitch(Switch::PleaseWait, false);
    session.setWgs(!options.tokyoDatum);
    session.view.reductionDivisor = options.reduce;
    if (!session.selectAreas(options.areas, false))
        return std::nullopt; // the missing files have been told

    bool legendRead = true;
    session.batch([&] {
        // The legend of the file, drawn where it says (地図凡例 on).
        if (!options.legend.isEmpty())
            legendRead = session.readLegend(options.legend.toStdString());
        if (options.noNames) {
            session.setSwitch(Switch::TownNames, false);
            session.setSwitch(Switch::DuplicateNames, false);
            session.display.CBCityName = false;
        }
    });
    if (!legendRead)
        return std::nullopt; // the file's fault has been told
    // The paint of a paint file or a data file, replayed as after ペイント終了.
    if (!options.paintFile.isEmpty() && !session.loadPaintFile(options.paintFile.toStdString(), false, false))
        return std::nullopt;
    if (!options.dataFile.isEmpty()) {
        const std::optional<DataPaintOutcome> out =
            session.dataPaint(options.dataFile.toStdString(), options.classes,
                              options.quantiles ? ClassMethod::Quantiles : ClassMethod::EqualIntervals);
        if (!out)
            return std::nullopt;
        for (const ClassRow& r : out->classes)
            sink.show("階級 " + std::to_string(r.slot + 1) + ": " + r.text, "render");
    }
    // The label files, read as the label window's 読　込 reads them.
    if (!options.labelFiles.empty()) {
        std::vector<std::string> paths;
        for (const QString& file : options.labelFiles)
            paths.push_back(file.toStdString());
        if (!session.readLabelFiles(paths, false))
            return std::nullopt; // the file and line have been told
    }
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
        session.hooks.distanceCircles = [&circles](RenderContext& c) {
            for (const auto& [circle, count] : circles)
                drawCircleSet(c.canvas, c.view, circle, count);
        };

    // The stamps of the symbol files, one file after the other; a refused file stops.
    for (const QString& file : options.marks) {
        const StampFileKind kind =
            file.endsWith(QLatin1String(".mks"), Qt::CaseInsensitive) ? StampFileKind::Mks : StampFileKind::Mrk;
        StampFileRead read = readStampFile(file.toStdString(), kind,
                                           kStampCapacity - static_cast<int>(session.stamps.size()));
        if (!read.ok()) {
            sink.show(*read.error);
            return std::nullopt;
        }
        session.stamps.insert(session.stamps.end(), read.records.begin(), read.records.end());
    }
    // The map line files: one that cannot be read has been told, and nothing is drawn.
    if (!options.lines.isEmpty()) {
        std::vector<std::string> paths;
        for (const QString& path : options.lines)
            paths.push_back(path.toStdString());
        if (!session.loadDisplayedLines(paths, false))
            return std::nullopt;
    }

    DrawStatus status = DrawStatus::NotDrawn;
    QImage picture = session.drawPicture(options.imageSide(), &status);
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
