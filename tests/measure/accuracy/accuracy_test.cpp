// How close the measurements come to the ellipsoid.
//
// Areas: the 2021 municipality polygons (simplified national data) are built into map
// files, each area is drawn at its standard view at 1800 pixels, and every municipality
// is clicked at its name position as the 面積 tool does; the pixel-counted area is
// compared with the geodesic area (WGS-84, GeographicLib) of the polygon part that holds
// the name position, computed from the same polygons. The path area of the part's
// outline, clicked at its vertices' pixels, is compared as well.
//
// Distances: the great-circle distance on the sphere of 6371 km in single precision
// against the ellipsoidal distance.
//
// OBORO_ACCURACY_ALL=1 studies every prefecture instead of a sample across the country;
// OBORO_ACCURACY_REPORT=FILE writes the per-area table and the municipalities to FILE.
#include "common/paths.h"
#include "mapdata/loader.h"
#include "measure/ground.h"
#include "measure/path.h"
#include "measure/regionarea.h"
#include "support/testsupport.h"
#include "view/render.h"

#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/PolygonArea.hpp>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

using namespace oboro;

namespace {

using Ring = std::vector<std::pair<double, double>>; // longitude, latitude

struct Part {
    std::string name;
    Ring outer;
    std::vector<Ring> holes;
    double minLon = 1e9, maxLon = -1e9, minLat = 1e9, maxLat = -1e9;
    double geodesicKm2 = 0;
    double geodesicPerimeterKm = 0;
};

double ringGeodesic(const Ring& r, double* perimeterKm = nullptr)
{
    GeographicLib::PolygonArea poly(GeographicLib::Geodesic::WGS84());
    for (size_t i = 0; i + 1 < r.size() || (i < r.size() && r.front() != r.back()); ++i)
        poly.AddPoint(r[i].second, r[i].first);
    double perimeter = 0, area = 0;
    poly.Compute(false, true, perimeter, area);
    if (perimeterKm)
        *perimeterKm = perimeter / 1000.0;
    return std::fabs(area) / 1e6;
}

bool inRing(const Ring& r, double x, double y)
{
    bool in = false;
    for (size_t i = 0, j = r.size() - 1; i < r.size(); j = i++) {
        const auto& a = r[i];
        const auto& b = r[j];
        if ((a.second > y) != (b.second > y) &&
            x < (b.first - a.first) * (y - a.second) / (b.second - a.second) + a.first)
            in = !in;
    }
    return in;
}

// The polygon parts of a TopoJSON file of municipalities, in degrees.
std::vector<Part> readParts(const QString& path)
{
    std::vector<Part> parts;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return parts;
    const QJsonObject doc = QJsonDocument::fromJson(f.readAll()).object();
    const QJsonObject tr = doc.value("transform").toObject();
    const double sx = tr.value("scale").toArray().at(0).toDouble(1), sy = tr.value("scale").toArray().at(1).toDouble(1);
    const double tx = tr.value("translate").toArray().at(0).toDouble(), ty = tr.value("translate").toArray().at(1).toDouble();
    std::vector<Ring> arcs;
    for (const QJsonValue& av : doc.value("arcs").toArray()) {
        Ring pts;
        double qx = 0, qy = 0;
        for (const QJsonValue& pv : av.toArray()) {
            qx += pv.toArray().at(0).toDouble();
            qy += pv.toArray().at(1).toDouble();
            pts.emplace_back(qx * sx + tx, qy * sy + ty);
        }
        arcs.push_back(std::move(pts));
    }
    auto ringOf = [&](const QJsonArray& idx) {
        Ring ring;
        for (const QJsonValue& iv : idx) {
            const int i = iv.toInt();
            const int a = i < 0 ? ~i : i;
            if (a < 0 || a >= static_cast<int>(arcs.size()))
                continue;
            Ring pts = arcs[a];
            if (i < 0)
                std::reverse(pts.begin(), pts.end());
            ring.insert(ring.end(), pts.begin() + (ring.empty() ? 0 : 1), pts.end());
        }
        return ring;
    };
    const QJsonObject objects = doc.value("objects").toObject();
    for (const QString& key : objects.keys()) {
        for (const QJsonValue& gv : objects.value(key).toObject().value("geometries").toArray()) {
            const QJsonObject g = gv.toObject();
            const QJsonObject props = g.value("properties").toObject();
            const std::string name =
                (props.value("N03_003").toString() + props.value("N03_004").toString()).toStdString();
            QJsonArray polys;
            if (g.value("type").toString() == "Polygon")
                polys.append(g.value("arcs").toArray());
            else
                polys = g.value("arcs").toArray();
            for (const QJsonValue& pv : polys) {
                const QJsonArray rings = pv.toArray();
                Part part;
                part.name = name;
                for (int k = 0; k < rings.size(); ++k) {
                    Ring r = ringOf(rings.at(k).toArray());
                    if (r.size() < 4)
                        continue;
                    if (k == 0)
                        part.outer = std::move(r);
                    else
                        part.holes.push_back(std::move(r));
                }
                if (part.outer.empty())
                    continue;
                for (const auto& p : part.outer) {
                    part.minLon = std::min(part.minLon, p.first);
                    part.maxLon = std::max(part.maxLon, p.first);
                    part.minLat = std::min(part.minLat, p.second);
                    part.maxLat = std::max(part.maxLat, p.second);
                }
                part.geodesicKm2 = ringGeodesic(part.outer, &part.geodesicPerimeterKm);
                for (const Ring& h : part.holes)
                    part.geodesicKm2 -= ringGeodesic(h);
                parts.push_back(std::move(part));
            }
        }
    }
    return parts;
}

const Part* partAt(const std::vector<Part>& parts, double lon, double lat)
{
    for (const Part& p : parts) {
        if (lon < p.minLon || lon > p.maxLon || lat < p.minLat || lat > p.maxLat || !inRing(p.outer, lon, lat))
            continue;
        if (std::any_of(p.holes.begin(), p.holes.end(), [&](const Ring& h) { return inRing(h, lon, lat); }))
            continue;
        return &p;
    }
    return nullptr;
}

struct Sample {
    int area = 0;
    std::string name;
    double geodesicKm2 = 0;
    double pixelKm2 = 0;
    double pathKm2 = 0;
    double geodesicPerimeterKm = 0;
    double pixelPerimeterKm = 0;
    double error() const { return (pixelKm2 - geodesicKm2) / geodesicKm2; }
    double pathError() const { return (pathKm2 - geodesicKm2) / geodesicKm2; }
    double perimeterError() const { return (pixelPerimeterKm - geodesicPerimeterKm) / geodesicPerimeterKm; }
};

struct AreaStudy {
    std::vector<Sample> samples;
    int skippedOnLine = 0;  // the name position falls on a drawn line
    int skippedOpen = 0;    // the walk reached the picture's edge
    int unmatched = 0;      // no polygon holds the name position
};

// The N03 prefecture numbers of the sample and all of them.
std::vector<int> prefectures()
{
    if (qEnvironmentVariableIntValue("OBORO_ACCURACY_ALL") == 1) {
        std::vector<int> all;
        for (int p = 1; p <= 47; ++p)
            all.push_back(p);
        return all;
    }
    // Hokkaido, Iwate, Tokyo, Nagano, Gifu, Osaka, Kochi, Kagoshima, Okinawa.
    return {1, 3, 13, 20, 21, 27, 39, 46, 47};
}

// The area codes whose map file a prefecture's build writes.
std::vector<int> builtAreas(const QString& mapdata)
{
    std::vector<int> areas;
    for (int a = 1; a <= kAreaCount; ++a)
        if (QFileInfo(mapdata + QStringLiteral("/%1.MAP").arg(a, 2, 10, QLatin1Char('0'))).size() > 200)
            areas.push_back(a);
    return areas;
}

void studyArea(int area, const std::vector<Part>& parts, AreaStudy& out)
{
    CollectingSink sink;
    DrawingScene s;
    ASSERT_TRUE(loadMapFiles(s.store, {area}, LoadOptions{}, s.sink)) << area;
    s.store.selectedAreas = {area};
    s.view.sizeFactor = 3;
    SetUpView(s.view, s.store, 1);
    // The map as measured: borders only, ward borders solid.
    s.sw.drawingEnabled = true;
    s.sw.CBTownName = false;
    s.sw.CBTownPaint = false;
    s.sw.kokudo = false;
    s.sw.ken_name = false;
    s.display.CBKuDot = false;
    ASSERT_TRUE(DrawMap(s.ctx, s.state, RenderHooks{}).drawn);
    ASSERT_EQ(s.canvas.width(), 1800);
    const QImage drawn = s.canvas.image().copy();
    const Color back = s.display.BackColor;

    for (const NameEntry& e : s.store.commonNames.entries) {
        int32_t wx = e.x, wy = e.y;
        ShiftToWgs(wx, wy);
        const Part* part = partAt(parts, longitudeOf(wx), latitudeOf(wy));
        if (!part) {
            ++out.unmatched;
            continue;
        }
        const QPoint px = MapToPixel(s.view, e.x, e.y);
        if (s.canvas.pixel(px.x(), px.y()) != std::optional<Color>(back)) {
            ++out.skippedOnLine;
            continue;
        }
        s.canvas.image() = drawn.copy();
        RegionAreaTool tool;
        tool.toggle();
        tool.click(s.canvas, s.view, px);
        if (tool.walker().edge()) {
            ++out.skippedOpen;
            continue;
        }
        Sample sm;
        sm.area = area;
        sm.name = e.name;
        sm.geodesicKm2 = part->geodesicKm2;
        sm.geodesicPerimeterKm = part->geodesicPerimeterKm;
        sm.pixelKm2 = tool.areaKm2();
        sm.pixelPerimeterKm = tool.perimeterKm();
        // The outline clicked point by point at its pixels, holes taken away.
        auto pathOf = [&](const Ring& r) {
            std::vector<QPoint> pts;
            for (const auto& p : r) {
                const QPoint m = dataUnitsOfWgs84(p.first, p.second);
                pts.push_back(MapToPixel(s.view, m.x(), m.y()));
            }
            return pathAreaKm2(s.view, pts);
        };
        sm.pathKm2 = pathOf(part->outer);
        for (const Ring& h : part->holes)
            sm.pathKm2 -= pathOf(h);
        out.samples.push_back(sm);
    }
}

struct Summary {
    int n = 0;
    double meanError = 0, meanAbs = 0, maxAbs = 0, p95 = 0;
    std::string worst;
};
enum class Measured { Area, PathArea, Perimeter };
Summary summarise(const std::vector<Sample>& samples, double minKm2, double maxKm2, Measured what = Measured::Area)
{
    Summary s;
    std::vector<double> abs;
    for (const Sample& m : samples) {
        if (m.geodesicKm2 <= minKm2 || m.geodesicKm2 > maxKm2)
            continue;
        const double e = what == Measured::Area       ? m.error()
                         : what == Measured::PathArea ? m.pathError()
                                                      : m.perimeterError();
        ++s.n;
        s.meanError += e;
        s.meanAbs += std::fabs(e);
        abs.push_back(std::fabs(e));
        if (std::fabs(e) > s.maxAbs) {
            s.maxAbs = std::fabs(e);
            s.worst = m.name;
        }
    }
    if (s.n > 0) {
        s.meanError /= s.n;
        s.meanAbs /= s.n;
        std::sort(abs.begin(), abs.end());
        s.p95 = abs[static_cast<size_t>(0.95 * (abs.size() - 1))];
    }
    return s;
}

std::string summaryLine(const char* label, const Summary& s)
{
    char buf[256];
    std::snprintf(buf, sizeof buf, "| %s | %d | %+.2f %% | %.2f %% | %.2f %% | %.2f %% (%s) |", label, s.n,
                  100 * s.meanError, 100 * s.meanAbs, 100 * s.p95, 100 * s.maxAbs, s.worst.c_str());
    return buf;
}

} // namespace

TEST(MeasureAccuracy, PixelCountedAreasOfRealMunicipalities)
{
    const QString shared = QString::fromStdString(test::sharedDataDir()) + "/n03-2021";
    if (!QFileInfo::exists(shared + "/s0010-N03-21_13_210101.json"))
        GTEST_SKIP() << "needs the 2021 municipality data";
    const QString saved = programFolder();

    std::vector<Sample> all;
    std::ostringstream perArea;
    int onLine = 0, open = 0, unmatched = 0;
    for (int pref : prefectures()) {
        const QString input = shared + QStringLiteral("/s0010-N03-21_%1_210101.json").arg(pref, 2, 10, QLatin1Char('0'));
        QTemporaryDir folder;
        QProcess build;
        build.start(QStringLiteral(MKMAPDATA_EXE), {QStringLiteral("--out"), folder.path(), input});
        ASSERT_TRUE(build.waitForFinished(120000));
        ASSERT_EQ(build.exitCode(), 0) << build.readAllStandardError().toStdString();
        setProgramFolder(folder.path());
        const std::vector<Part> parts = readParts(input);
        ASSERT_FALSE(parts.empty()) << pref;
        for (int area : builtAreas(folder.path() + "/mapdata")) {
            AreaStudy study;
            studyArea(area, parts, study);
            const Summary s = summarise(study.samples, 50, 1e9);
            perArea << summaryLine(areaInfo(area).name, s) << "\n";
            all.insert(all.end(), study.samples.begin(), study.samples.end());
            onLine += study.skippedOnLine;
            open += study.skippedOpen;
            unmatched += study.unmatched;
        }
    }
    setProgramFolder(saved);

    const Summary big = summarise(all, 50, 1e9);
    const Summary middle = summarise(all, 10, 50);
    const Summary small = summarise(all, 1, 10);
    const Summary bigPath = summarise(all, 50, 1e9, Measured::PathArea);
    const Summary allPath = summarise(all, 1, 1e9, Measured::PathArea);
    const Summary bigPerimeter = summarise(all, 50, 1e9, Measured::Perimeter);
    std::ostringstream report;
    report << "| municipalities | n | mean error | mean |error| | 95 % of |error| below | largest |error| |\n"
           << "|---|---|---|---|---|---|\n"
           << summaryLine("面積, above 50 km²", big) << "\n"
           << summaryLine("面積, 10–50 km²", middle) << "\n"
           << summaryLine("面積, 1–10 km²", small) << "\n"
           << summaryLine("距離 path area, above 50 km²", bigPath) << "\n"
           << summaryLine("距離 path area, above 1 km²", allPath) << "\n"
           << summaryLine("面積 perimeter, above 50 km²", bigPerimeter) << "\n"
           << "\nname positions on a line: " << onLine << ", open regions: " << open
           << ", without a polygon: " << unmatched << "\n\n"
           << "| area (above 50 km²) | n | mean error | mean |error| | 95 % below | largest |error| |\n"
           << "|---|---|---|---|---|---|\n"
           << perArea.str();
    std::printf("%s", report.str().c_str());
    if (const QByteArray file = qgetenv("OBORO_ACCURACY_REPORT"); !file.isEmpty()) {
        std::ofstream out(file.constData());
        out << report.str() << "\narea,name,geodesic km2,pixel km2,error %,path km2,path error %,geodesic perimeter km,"
               "pixel perimeter km\n";
        for (const Sample& m : all) {
            char buf[512];
            std::snprintf(buf, sizeof buf, "%d,%s,%.3f,%.3f,%.2f,%.3f,%.2f,%.2f,%.2f\n", m.area, m.name.c_str(),
                          m.geodesicKm2, m.pixelKm2, 100 * m.error(), m.pathKm2, 100 * m.pathError(),
                          m.geodesicPerimeterKm, m.pixelPerimeterKm);
            out << buf;
        }
    }

    // Municipalities above 50 km² at the standard 1800-pixel view of their area: 95 %
    // within 4 %, on average within 2 %, and never counted more than 5 % too large. A
    // click can only come out much too small, where a long, narrow municipality is cut
    // into pieces by lines touching at pixel size: it measures the piece clicked.
    ASSERT_GT(big.n, 300);
    EXPECT_LT(big.p95, 0.04);
    EXPECT_LT(big.meanAbs, 0.02);
    int tooLarge = 0, muchTooSmall = 0;
    for (const Sample& m : all) {
        if (m.geodesicKm2 <= 50)
            continue;
        tooLarge += m.error() > 0.05;
        muchTooSmall += m.error() < -0.10;
    }
    EXPECT_EQ(tooLarge, 0);
    EXPECT_LE(muchTooSmall, big.n / 50);
    // The outline clicked as a path: within 3 % for every municipality above 50 km².
    EXPECT_LT(bigPath.maxAbs, 0.03) << bigPath.worst;
}

TEST(MeasureAccuracy, GreatCircleAgainstTheEllipsoid)
{
    struct Pair {
        const char* what;
        double lon1, lat1, lon2, lat2;
    };
    const GeographicLib::Geodesic& wgs = GeographicLib::Geodesic::WGS84();
    std::ostringstream table;
    table << "| pair | sphere km | ellipsoid km | error | error in single precision |\n|---|---|---|---|---|\n";
    for (const Pair& p : {
             Pair{"135°E 35°N – 136°E 35°N", 135, 35, 136, 35},
             Pair{"135°E 35°N – 135°E 36°N", 135, 35, 135, 36},
             Pair{"東京 – 大阪", 139.7671, 35.6812, 135.4959, 34.7025},
             Pair{"札幌 – 那覇", 141.3508, 43.0686, 127.6792, 26.2125},
             Pair{"稚内 – 根室", 141.6733, 45.4156, 145.5853, 43.3303},
             Pair{"鹿児島 – 屋久島", 130.5580, 31.5966, 130.5283, 30.3417},
             Pair{"1 km east at 43°N", 141.35, 43.0, 141.35 + 1 / (111.32 * std::cos(43 * 3.14159265 / 180)), 43.0},
             Pair{"1 km north at 26°N", 127.68, 26.2, 127.68, 26.2 + 1 / 110.8},
             Pair{"100 m east at 35°N", 139.7, 35.0, 139.7 + 0.1 / 91.29, 35.0},
             Pair{"20 m north at 35°N", 139.7, 35.0, 139.7, 35.0 + 0.02 / 110.95},
         }) {
        double metres = 0;
        wgs.Inverse(p.lat1, p.lon1, p.lat2, p.lon2, metres);
        const double ellipsoid = metres / 1000;
        // What the measurements show, and the projection's single-precision Distance.
        const double sphere = greatCircleKm(p.lon1, p.lat1, p.lon2, p.lat2);
        const double single = Distance(static_cast<float>(p.lon1), static_cast<float>(p.lat1),
                                       static_cast<float>(p.lon2), static_cast<float>(p.lat2));
        const double err = (sphere - ellipsoid) / ellipsoid;
        char buf[256];
        std::snprintf(buf, sizeof buf, "| %s | %.4f | %.4f | %+.3f %% | %+.3f %% |\n", p.what, sphere, ellipsoid,
                      100 * err, 100 * (single - ellipsoid) / ellipsoid);
        table << buf;
        // The sphere of 6371 km is within half a per cent of the ellipsoid at Japan's
        // latitudes: long north–south (0.2 % at 35° N, 0.4 % at 26° N), short east–west.
        EXPECT_LT(std::fabs(err), 0.005) << p.what;
    }
    std::printf("%s", table.str().c_str());
    if (const QByteArray file = qgetenv("OBORO_ACCURACY_REPORT"); !file.isEmpty()) {
        std::ofstream out(std::string(file.constData()) + ".distances");
        out << table.str();
    }
}
