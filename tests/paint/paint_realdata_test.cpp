// Painting real geography: the bundled map data (all of Japan's municipalities), every
// area drawn alone at 1800 pixels as painting draws it, every municipality painted once
// at its name anchor in a colour of its own. Each fill must stay inside its own
// municipality: the proof that the data and the border drawing make closed regions.
// With the ward borders dotted (the default) the wards of one designated city are one
// region; with them solid (区ペイント) every ward is a region of its own.
#include "common/paths.h"
#include "common/textfile.h"
#include "mapdata/loader.h"
#include "mapdata/namelists.h"
#include "paint/paint.h"
#include "support/testsupport.h"
#include "view/render.h"

#include <QDir>
#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace oboro;

namespace {

std::string joined(const std::vector<std::string>& names)
{
    std::string s;
    for (const std::string& n : names)
        s += (s.empty() ? "" : ", ") + n;
    return s;
}

bool endsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Number of wards of each designated city, from the office list of the area (its
// addresses run prefecture, city, ward).
std::map<std::string, int> wardCounts(int area, const std::vector<DesignatedCityEntry>& cities)
{
    std::map<std::string, int> counts;
    const QStringList lists = QDir(test::bundledDataDir() + QStringLiteral("/mapdata/Office"))
                                  .entryList({QStringLiteral("%1*.csv").arg(area, 2, 10, QLatin1Char('0'))});
    if (lists.size() != 1)
        return counts;
    const TextFile f = readSjisFile((test::bundledDataDir() + QStringLiteral("/mapdata/Office/") + lists[0]).toStdString());
    for (const std::string& line : f.lines) {
        std::vector<std::string> fields;
        size_t pos = 0;
        while (pos <= line.size()) {
            const size_t comma = std::min(line.find(',', pos), line.size());
            fields.push_back(line.substr(pos, comma - pos));
            pos = comma + 1;
        }
        if (fields.size() < 5 || !endsWith(fields[1], "区"))
            continue;
        for (const DesignatedCityEntry& c : cities)
            if (c.area == area && endsWith(fields[4], c.name + fields[1]))
                ++counts[c.name];
    }
    return counts;
}

struct PaintedArea {
    Canvas canvas;
    ViewState view;
    DisplayState display;
    std::vector<std::string> names;
    std::vector<QPoint> anchors;
    std::vector<Color> own; // the colour each anchor was painted with
    bool borderKept = true; // the background around the map was never reached
    std::string error;

    bool lineColour(Color c) const
    {
        return c == display.CoastColor || c == display.TownColor || c == display.KuColor || c == display.PrefColor;
    }
    // The colour of the region around a pixel (the pixel itself unless it lies on a line).
    Color regionColour(QPoint p) const
    {
        for (int r = 0; r <= 2; ++r)
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx)
                    if (const auto c = canvas.pixel(p.x() + dx, p.y() + dy); c && !lineColour(*c))
                        return *c;
        return display.BackColor;
    }
};

// Loads the area alone, draws it as painting does (names, credit and prefecture names
// off) and paints every name anchor.
PaintedArea paintArea(int area, bool wardsDotted)
{
    PaintedArea out;
    setProgramFolder(test::bundledDataDir());
    MapStore store;
    CollectingSink sink;
    if (!loadMapFiles(store, {area}, LoadOptions{}, sink) || !sink.messages.empty()) {
        out.error = "load failed: " + (sink.messages.empty() ? std::string() : sink.messages[0].text);
        return out;
    }
    out.view.sizeFactor = 3;
    SetUpView(out.view, store, 1);
    out.display.CBKuDot = wardsDotted;
    MainSwitches sw;
    sw.drawingEnabled = true;
    sw.CBTownName = false;
    sw.kokudo = false;
    sw.ken_name = false;
    ToolSwitches tools;
    RenderState rs;
    RenderContext ctx{out.canvas, store, out.view, out.display, sw, tools, sink};
    if (!DrawMap(ctx, rs, RenderHooks{}).drawn || out.canvas.width() != 1800) {
        out.error = "not drawn at 1800 pixels";
        return out;
    }
    // The picture's edge is background: the whole area lies inside the standard view.
    std::vector<QPoint> edge;
    for (int i = 0; i < 1800; ++i)
        for (const QPoint p : {QPoint(i, 0), QPoint(i, 1799), QPoint(0, i), QPoint(1799, i)})
            if (out.canvas.pixel(p.x(), p.y()) == out.display.BackColor)
                edge.push_back(p);

    PaintRecords records;
    for (const NameEntry& e : store.commonNames.entries) {
        const Color colour = 0x010000u * static_cast<Color>(out.anchors.size() + 1) + 0x000101u * 7;
        if (!records.add(PaintRecord{e.x, e.y, colour, 0})) {
            out.error = "more names than paint records";
            return out;
        }
        out.names.push_back(e.name);
        out.anchors.push_back(MapToPixel(out.view, e.x, e.y));
        out.own.push_back(colour);
    }
    PaintView pv;
    pv.mapToPixel = [&](int32_t x, int32_t y, int& px, int& py) {
        const QPoint p = MapToPixel(out.view, x, y);
        px = p.x();
        py = p.y();
    };
    pv.fillTarget = [&](int px, int py) { return FillTarget(out.canvas, out.display, px, py); };
    replayPaint(out.canvas, pv, records);
    for (const QPoint& p : edge)
        out.borderKept = out.borderKept && out.canvas.pixel(p.x(), p.y()) == out.display.BackColor;
    return out;
}

class BundledPaint : public ::testing::TestWithParam<int> {};

TEST_P(BundledPaint, EveryMunicipalityFillsOnlyItselfAt1800Pixels)
{
    const int area = GetParam();
    setProgramFolder(test::bundledDataDir());
    MapStore lists;
    CollectingSink sink;
    readDesignatedCityList(lists, sink);
    std::vector<DesignatedCityEntry> cities;
    for (const DesignatedCityEntry& c : lists.designatedCities)
        if (c.area == area)
            cities.push_back(c);
    const std::map<std::string, int> wards = wardCounts(area, lists.designatedCities);

    // Wards dotted: each designated city is one region holding exactly its wards' anchors.
    const PaintedArea a = paintArea(area, true);
    ASSERT_TRUE(a.error.empty()) << a.error;
    ASSERT_FALSE(a.anchors.empty());
    EXPECT_TRUE(a.borderKept) << "a fill ran out of the map";
    std::map<Color, std::vector<size_t>> byColour;
    for (size_t i = 0; i < a.anchors.size(); ++i)
        byColour[*a.canvas.pixel(a.anchors[i].x(), a.anchors[i].y())].push_back(i);
    std::set<size_t> inCity;
    for (const DesignatedCityEntry& c : cities) {
        const Color colour = a.regionColour(MapToPixel(a.view, c.x, c.y));
        const std::vector<size_t>& members = byColour[colour];
        ASSERT_TRUE(wards.count(c.name)) << c.name << " has no wards in the office list";
        EXPECT_EQ(static_cast<int>(members.size()), wards.at(c.name)) << c.name << " is not the region of its wards";
        for (size_t i : members) {
            EXPECT_TRUE(endsWith(a.names[i], "区")) << a.names[i] << " shares the region of " << c.name;
            inCity.insert(i);
        }
    }
    std::vector<std::string> leaked;
    for (size_t i = 0; i < a.anchors.size(); ++i)
        if (!inCity.count(i) && a.canvas.pixel(a.anchors[i].x(), a.anchors[i].y()) != a.own[i])
            leaked.push_back(a.names[i]);
    EXPECT_TRUE(leaked.empty()) << "not closed: " << joined(leaked);

    // Wards solid: every ward is closed on its own as well.
    if (cities.empty())
        return;
    const PaintedArea b = paintArea(area, false);
    ASSERT_TRUE(b.error.empty()) << b.error;
    EXPECT_TRUE(b.borderKept);
    leaked.clear();
    for (size_t i = 0; i < b.anchors.size(); ++i)
        if (b.canvas.pixel(b.anchors[i].x(), b.anchors[i].y()) != b.own[i])
            leaked.push_back(b.names[i]);
    EXPECT_TRUE(leaked.empty()) << "not closed with solid ward borders: " << joined(leaked);
}

INSTANTIATE_TEST_SUITE_P(AllAreas, BundledPaint, ::testing::Range(1, 53),
                         [](const auto& info) { return "area" + std::to_string(info.param); });

} // namespace
