#pragma once
// Builds a map data store from a TopoJSON file of municipality polygons (the simplified
// national administrative-area data): every arc once, as a municipal border when two
// polygons share it and as coastline (outer boundary) otherwise. Also gives one interior
// point per municipality, standing in for the name anchors of a map file. Used by the
// view tests and the render benchmark only; the data itself stays outside the project.
#include "mapdata/store.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace oboro::test {

struct TopoMunicipality {
    std::string name;
    std::vector<std::vector<std::pair<double, double>>> rings; // outer rings in map units
    double anchorX = 0, anchorY = 0;                           // a point inside the largest ring
};

struct TopoStore {
    bool ok = false;
    std::vector<TopoMunicipality> municipalities;
};

inline double ringArea(const std::vector<std::pair<double, double>>& r)
{
    double a = 0;
    for (size_t i = 0, j = r.size() - 1; i < r.size(); j = i++)
        a += (r[j].first + r[i].first) * (r[j].second - r[i].second);
    return std::fabs(a) / 2;
}

// A point inside a ring: the middle of the widest span of its middle scanline.
inline std::pair<double, double> interiorPoint(const std::vector<std::pair<double, double>>& r)
{
    double lo = 1e18, hi = -1e18;
    for (const auto& p : r) {
        lo = std::min(lo, p.second);
        hi = std::max(hi, p.second);
    }
    const double y = (lo + hi) / 2 + 0.37; // off the vertices
    std::vector<double> xs;
    for (size_t i = 0, j = r.size() - 1; i < r.size(); j = i++) {
        const auto& a = r[j];
        const auto& b = r[i];
        if ((a.second <= y) != (b.second <= y))
            xs.push_back(a.first + (y - a.second) * (b.first - a.first) / (b.second - a.second));
    }
    std::sort(xs.begin(), xs.end());
    double best = -1, bx = r[0].first;
    for (size_t k = 0; k + 1 < xs.size(); k += 2)
        if (xs[k + 1] - xs[k] > best) {
            best = xs[k + 1] - xs[k];
            bx = (xs[k] + xs[k + 1]) / 2;
        }
    return {bx, y};
}

inline TopoStore loadTopoJson(const std::string& path, MapStore& store)
{
    TopoStore out;
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly))
        return out;
    const QJsonObject doc = QJsonDocument::fromJson(f.readAll()).object();
    const QJsonObject tr = doc.value("transform").toObject();
    const QJsonArray scale = tr.value("scale").toArray(), translate = tr.value("translate").toArray();
    const double sx = scale.at(0).toDouble(1), sy = scale.at(1).toDouble(1);
    const double tx = translate.at(0).toDouble(), ty = translate.at(1).toDouble();

    // Arcs in map units.
    std::vector<std::vector<std::pair<double, double>>> arcs;
    for (const QJsonValue& av : doc.value("arcs").toArray()) {
        std::vector<std::pair<double, double>> pts;
        double qx = 0, qy = 0;
        for (const QJsonValue& pv : av.toArray()) {
            const QJsonArray p = pv.toArray();
            qx += p.at(0).toDouble();
            qy += p.at(1).toDouble();
            const double lon = qx * sx + tx, lat = qy * sy + ty;
            pts.emplace_back((lon - 122) * 10000, (lat - 24) * 15000);
        }
        arcs.push_back(std::move(pts));
    }
    std::vector<int> uses(arcs.size(), 0);
    auto ringOf = [&](const QJsonArray& idx) {
        std::vector<std::pair<double, double>> ring;
        for (const QJsonValue& iv : idx) {
            const int i = iv.toInt();
            const int a = i < 0 ? ~i : i;
            if (a < 0 || a >= static_cast<int>(arcs.size()))
                continue;
            ++uses[a];
            std::vector<std::pair<double, double>> pts = arcs[a];
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
            TopoMunicipality m;
            m.name = (props.value("N03_003").toString() + props.value("N03_004").toString()).toStdString();
            QJsonArray polys;
            if (g.value("type").toString() == "Polygon")
                polys.append(g.value("arcs").toArray());
            else
                polys = g.value("arcs").toArray();
            for (const QJsonValue& pv : polys) {
                const QJsonArray rings = pv.toArray();
                for (int k = 0; k < rings.size(); ++k) {
                    auto ring = ringOf(rings.at(k).toArray());
                    if (k == 0 && ring.size() >= 4)
                        m.rings.push_back(std::move(ring));
                }
            }
            if (m.rings.empty())
                continue;
            const auto& largest = *std::max_element(m.rings.begin(), m.rings.end(), [](const auto& a, const auto& b) {
                return ringArea(a) < ringArea(b);
            });
            std::tie(m.anchorX, m.anchorY) = interiorPoint(largest);
            out.municipalities.push_back(std::move(m));
        }
    }
    // Every arc once: shared arcs are municipal borders, the others the outline.
    Extent e;
    std::vector<int32_t> words;
    for (size_t a = 0; a < arcs.size(); ++a) {
        if (uses[a] == 0 || arcs[a].size() < 2)
            continue;
        words.clear();
        for (const auto& p : arcs[a]) {
            const int32_t x = static_cast<int32_t>(std::lround(p.first));
            const int32_t y = static_cast<int32_t>(std::lround(p.second));
            words.push_back(x);
            words.push_back(y);
            e.minX = std::min(e.minX, x);
            e.maxX = std::max(e.maxX, x);
            e.minY = std::min(e.minY, y);
            e.maxY = std::max(e.maxY, y);
        }
        store.line(uses[a] >= 2 ? LineKind::Town : LineKind::Coast).append(words.data(), static_cast<int>(arcs[a].size()));
    }
    store.extent = e;
    out.ok = !out.municipalities.empty();
    return out;
}

} // namespace oboro::test
