// Painting real geography: a map built from the 2021 municipality data, every municipality
// painted once at its name anchor. Each fill must stay inside its own municipality: this
// is the proof that the data and the border drawing make closed regions.
#include "common/paths.h"
#include "mapdata/loader.h"
#include "paint/paint.h"
#include "support/testsupport.h"
#include "view/render.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

using namespace oboro;

namespace {

struct Case {
    int n03Prefecture; // number in the file name of the data
    int area;          // area code of the map
    int side;          // picture side
};

class PaintRealData : public ::testing::TestWithParam<Case> {};

TEST_P(PaintRealData, EveryMunicipalityFillsOnlyItself)
{
    const Case c = GetParam();
    const QString builder = QStringLiteral(OBORO_BINARY_DIR "/tools/mkmapdata/mkmapdata");
    const QString input = QString::fromStdString(test::sharedDataDir()) +
                          QStringLiteral("/n03-2021/s0010-N03-21_%1_210101.json").arg(c.n03Prefecture, 2, 10, QLatin1Char('0'));
    if (!QFileInfo::exists(builder) || !QFileInfo::exists(input))
        GTEST_SKIP() << "needs the data builder and the 2021 municipality data";
    QTemporaryDir folder;
    QProcess build;
    build.start(builder, {QStringLiteral("--out"), folder.path(), input});
    ASSERT_TRUE(build.waitForFinished(120000));
    ASSERT_EQ(build.exitCode(), 0) << build.readAllStandardError().toStdString();

    setProgramFolder(folder.path());
    MapStore store;
    CollectingSink sink;
    ASSERT_TRUE(loadMapFiles(store, {c.area}, LoadOptions{}, sink));
    ViewState view;
    view.sizeFactor = c.side / 600;
    SetUpView(view, store, 1);
    // The map as painting draws it: names and decorations off, wards as solid fill borders.
    DisplayState display;
    display.CheckBox13 = true;
    display.CBKuDot = false;
    MainSwitches sw;
    sw.drawingEnabled = true;
    sw.CBTownName = false;
    sw.kokudo = false;
    sw.ken_name = false;
    ToolSwitches tools;
    Canvas canvas;
    RenderState rs;
    RenderContext ctx{canvas, store, view, display, sw, tools, sink};
    ASSERT_TRUE(DrawMap(ctx, rs, RenderHooks{}).drawn);
    const Color sea = *canvas.pixel(0, 0);

    // One record per municipality, each in its own colour.
    PaintRecords records;
    std::vector<QPoint> anchors;
    for (const NameEntry& e : store.commonNames.entries) {
        const QPoint p = MapToPixel(view, e.x, e.y);
        const Color colour = 0x010000u * static_cast<Color>(anchors.size() + 1) + 0x000101u * 7;
        ASSERT_TRUE(records.add(PaintRecord{e.x, e.y, colour, 0}));
        anchors.push_back(p);
    }
    ASSERT_GT(anchors.size(), 10u);
    PaintView pv;
    pv.mapToPixel = [&](int32_t x, int32_t y, int& px, int& py) {
        const QPoint p = MapToPixel(view, x, y);
        px = p.x();
        py = p.y();
    };
    pv.fillTarget = [&](int px, int py) { return FillTarget(canvas, display, px, py); };
    replayPaint(canvas, pv, records);

    // A fill that leaked into a neighbour would have taken the neighbour's anchor (or been
    // repainted from it): every anchor keeps the colour of its own record.
    int kept = 0;
    std::vector<std::string> leaked;
    for (size_t i = 0; i < anchors.size(); ++i) {
        if (canvas.pixel(anchors[i].x(), anchors[i].y()) == records.records()[i].color)
            ++kept;
        else
            leaked.push_back(store.commonNames.entries[i].name);
    }
    EXPECT_EQ(kept, static_cast<int>(anchors.size())) << "not kept: " << ::testing::PrintToString(leaked);
    EXPECT_EQ(canvas.pixel(0, 0), sea); // the sea is never reached
}

INSTANTIATE_TEST_SUITE_P(Prefectures, PaintRealData,
                         ::testing::Values(Case{14, 13, 600}, Case{14, 13, 1800}, Case{27, 26, 1200}, Case{37, 35, 600}),
                         [](const auto& info) {
                             return "pref" + std::to_string(info.param.n03Prefecture) + "_" +
                                    std::to_string(info.param.side);
                         });

} // namespace
