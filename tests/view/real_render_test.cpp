// Real geography: every municipality of a prefecture drawn by DrawMap is a closed
// region, so a flood fill started at its anchor fills about its own area and never runs
// into the sea or a neighbour.
#include "support/testsupport.h"
#include "tests/view/topojson_store.h"
#include "view/render.h"

#include <gtest/gtest.h>

#include <QPolygonF>

using namespace oboro;

namespace {

class RealRender : public ::testing::TestWithParam<int> {};

TEST_P(RealRender, EveryMunicipalityIsClosed)
{
    const int code = GetParam();
    char file[64];
    std::snprintf(file, sizeof file, "/n03-2021/s0010-N03-21_%02d_210101.json", code);
    const std::string path = test::sharedDataDir() + file;
    if (!QFile::exists(QString::fromStdString(path)))
        GTEST_SKIP() << "no real data at " << path;

    MapStore store;
    const test::TopoStore topo = test::loadTopoJson(path, store);
    ASSERT_TRUE(topo.ok);
    store.selectedAreas = {code};
    ViewState view;
    view.wgs = false; // the data is already in the displayed datum
    SetUpView(view, store, 1);
    view.sizeFactor = 2;
    DisplayState display;
    MainSwitches sw;
    sw.drawingEnabled = true;
    sw.CBTownPaint = false;
    ToolSwitches tools;
    CollectingSink sink;
    Canvas canvas;
    RenderState state;
    RenderContext ctx{canvas, store, view, display, sw, tools, sink};
    ASSERT_TRUE(DrawMap(ctx, state, RenderHooks{}).drawn);
    // OBORO_WRITE_PNG=1 keeps the pictures in /tmp for a look.
    const bool keep = qEnvironmentVariableIsSet("OBORO_WRITE_PNG");
    if (keep)
        canvas.image().save(QStringLiteral("/tmp/oboro_real_render_%1.png").arg(code));

    const Color back = display.BackColor;
    int filled = 0;
    for (size_t i = 0; i < topo.municipalities.size(); ++i) {
        const test::TopoMunicipality& m = topo.municipalities[i];
        const QPoint a = MapToPixel(view, static_cast<int32_t>(m.anchorX), static_cast<int32_t>(m.anchorY));
        double areaPx = 0;
        for (const auto& ring : m.rings) {
            QPolygonF poly;
            for (const auto& p : ring) {
                const QPoint q = MapToPixel(view, static_cast<int32_t>(p.first), static_cast<int32_t>(p.second));
                poly << QPointF(q);
            }
            areaPx += test::ringArea([&] {
                std::vector<std::pair<double, double>> r;
                for (const QPointF& q : poly)
                    r.emplace_back(q.x(), q.y());
                return r;
            }());
        }
        if (areaPx < 40 || canvas.pixel(a.x(), a.y()) != back)
            continue; // too small to hold a fill, or the anchor sits on a line
        canvas.setBrush(0x010000 * static_cast<Color>(i % 200 + 20) + 0x40);
        const long n = canvas.floodFill(a.x(), a.y(), back);
        ++filled;
        EXPECT_LT(n, areaPx * 1.2 + 20) << m.name << " leaks: " << n << " pixels for " << areaPx;
    }
    EXPECT_GT(filled, static_cast<int>(topo.municipalities.size()) / 2);
    // The sea is still the background.
    EXPECT_EQ(canvas.pixel(1, 1), back);
    if (keep)
        canvas.image().save(QStringLiteral("/tmp/oboro_real_render_%1_filled.png").arg(code));
}

// Kyoto (a coast and many wards), Osaka (small municipalities), Hokkaido (many towns).
INSTANTIATE_TEST_SUITE_P(Prefectures, RealRender, ::testing::Values(26, 27, 1));

} // namespace
