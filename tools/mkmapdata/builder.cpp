// Reading the polygons, placing them in areas, rebuilding shared arcs, label anchors
// and simplification until the line tables fit.
#include "mkmapdata.h"

#include "mapdata/store.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <unordered_map>

namespace oboro::mkmap {

namespace {

const char* const kPrefNames[48] = {
    "", "北海道", "青森県", "岩手県", "宮城県", "秋田県", "山形県", "福島県", "茨城県", "栃木県",
    "群馬県", "埼玉県", "千葉県", "東京都", "神奈川県", "新潟県", "富山県", "石川県", "福井県",
    "山梨県", "長野県", "岐阜県", "静岡県", "愛知県", "三重県", "滋賀県", "京都府", "大阪府",
    "兵庫県", "奈良県", "和歌山県", "鳥取県", "島根県", "岡山県", "広島県", "山口県", "徳島県",
    "香川県", "愛媛県", "高知県", "福岡県", "佐賀県", "長崎県", "熊本県", "大分県", "宮崎県",
    "鹿児島県", "沖縄県"};

const char* const kPrefEnglish[48] = {
    "", "Hokkaido", "Aomori", "Iwate", "Miyagi", "Akita", "Yamagata", "Fukushima", "Ibaraki",
    "Tochigi", "Gunma", "Saitama", "Chiba", "Tokyo", "Kanagawa", "Niigata", "Toyama", "Ishikawa",
    "Fukui", "Yamanashi", "Nagano", "Gifu", "Shizuoka", "Aichi", "Mie", "Shiga", "Kyoto", "Osaka",
    "Hyogo", "Nara", "Wakayama", "Tottori", "Shimane", "Okayama", "Hiroshima", "Yamaguchi",
    "Tokushima", "Kagawa", "Ehime", "Kochi", "Fukuoka", "Saga", "Nagasaki", "Kumamoto", "Oita",
    "Miyazaki", "Kagoshima", "Okinawa"};

// Hokkaido's subprefectures in the order of the prefecture name file: the six of
// 北海道南部 (47), the three of 北海道東部 (48), the five of 北海道北部 (49).
// Matched by the first characters, so the older 支庁 names place as well.
struct Subpref {
    const char* key;
    const char* name;
    int area;
};
const Subpref kSubprefs[] = {
    {"石狩", "石狩振興局", 47}, {"渡島", "渡島総合振興局", 47}, {"檜山", "檜山振興局", 47},
    {"後志", "後志総合振興局", 47}, {"胆振", "胆振総合振興局", 47}, {"日高", "日高振興局", 47},
    {"十勝", "十勝総合振興局", 48}, {"釧路", "釧路総合振興局", 48}, {"根室", "根室振興局", 48},
    {"空知", "空知総合振興局", 49}, {"上川", "上川総合振興局", 49}, {"留萌", "留萌振興局", 49},
    {"宗谷", "宗谷総合振興局", 49}, {"オホーツク", "オホーツク総合振興局", 49},
    {"網走", "オホーツク総合振興局", 49}};

int subprefIndex(const std::string& s)
{
    for (int i = 0; i < static_cast<int>(std::size(kSubprefs)); ++i)
        if (!s.empty() && s.rfind(kSubprefs[i].key, 0) == 0)
            return std::min(i, 13);
    return -1;
}

int prefCodeOfName(const std::string& name)
{
    for (int i = 1; i <= 47; ++i)
        if (name == kPrefNames[i] || name == kPrefEnglish[i])
            return i;
    return 0;
}

struct RawRegion {
    Region r;
    std::vector<std::vector<std::vector<PointD>>> polygons; // lon/lat
    std::string label;  // for messages
};

std::string featureLabel(long fid, const std::string& pref, const std::string& city,
                         const std::string& name, const std::string& code)
{
    std::string s = "地物 " + std::to_string(fid) + " (";
    std::string body;
    for (const std::string* p : {&pref, &city, &name})
        if (!p->empty())
            body += (body.empty() ? "" : " ") + *p;
    if (!code.empty())
        body += (body.empty() ? "" : " ") + code;
    return s + (body.empty() ? "名称なし" : body) + ")";
}

bool readRings(const OGRPolygon* poly, std::vector<std::vector<PointD>>& out)
{
    auto take = [&](const OGRLinearRing* ring) {
        std::vector<PointD> pts;
        if (!ring)
            return;
        const int n = ring->getNumPoints();
        for (int i = 0; i < n; ++i)
            pts.push_back({ring->getX(i), ring->getY(i)});
        if (pts.size() > 1 && pts.front().x == pts.back().x && pts.front().y == pts.back().y)
            pts.pop_back();
        if (pts.size() >= 3)
            out.push_back(std::move(pts));
    };
    take(poly->getExteriorRing());
    if (out.empty())
        return false;
    for (int i = 0; i < poly->getNumInteriorRings(); ++i)
        take(poly->getInteriorRing(i));
    return true;
}

// Places a region in its area; returns 0 with an error when it cannot.
int placeArea(const RawRegion& rr, bool municipal, std::string& error)
{
    const Region& r = rr.r;
    if (r.prefCode == 1) {
        if (!r.code.empty()) {
            const int c = std::atoi(r.code.c_str());
            if (c >= 1695 && c <= 1700)
                return 52; // 色丹村, 泊村, 留夜別村, 留別村, 紗那村, 蘂取村
        }
        const int s = subprefIndex(r.subpref);
        if (s >= 0)
            return kSubprefs[s].area;
        if (!municipal)
            return 47; // pieces of the prefecture-level outline are placed by the cut
        error = rr.label + ": 北海道の振興局 (N03_002) '" + r.subpref + "' から区分を決められません";
        return 0;
    }
    if (r.prefCode == 13) {
        if (!r.code.empty()) {
            const int c = std::atoi(r.code.c_str());
            if (c == 13421)
                return 51;
            if (c >= 13360 && c < 13421)
                return 50;
            return 12;
        }
        // Land without a municipality, or a prefecture-level piece: by latitude.
        double maxLat = -90;
        for (const auto& poly : rr.polygons)
            for (const auto& p : poly.front())
                maxLat = std::max(maxLat, p.y);
        if (maxLat < 28.0)
            return 51;
        if (maxLat < 34.85)
            return 50;
        return 12;
    }
    return areaOfPrefecture(r.prefCode);
}

using VertexKey = std::pair<uint64_t, uint64_t>;
struct KeyHash {
    size_t operator()(const VertexKey& k) const { return std::hash<uint64_t>()(k.first * 1000003u ^ k.second); }
};

VertexKey keyOf(PointD p)
{
    uint64_t a, b;
    std::memcpy(&a, &p.x, 8);
    std::memcpy(&b, &p.y, 8);
    return {a, b};
}

// Cuts Hokkaido's main island (prefecture-level input without subprefectures) into the
// three parts with a Y of straight lines meeting inland: from the Japan Sea coast at the
// 石狩/留萌 boundary, from the Pacific coast at the 日高/十勝 boundary and from the tip of
// the Shiretoko peninsula to a point near the northern end of the Hidaka mountains.
bool cutHokkaido(std::vector<RawRegion>& regions, std::string& error)
{
    int hi = -1;
    for (size_t i = 0; i < regions.size(); ++i)
        if (regions[i].r.prefCode == 1)
            hi = static_cast<int>(i);
    if (hi < 0)
        return true;
    RawRegion& hk = regions[hi];
    // The main island is the polygon with the most vertices.
    size_t main = 0;
    for (size_t i = 0; i < hk.polygons.size(); ++i)
        if (hk.polygons[i].front().size() > hk.polygons[main].front().size())
            main = i;
    const std::vector<PointD> ring = hk.polygons[main].front();
    auto nearest = [&](PointD t) {
        size_t best = 0;
        double bd = 1e18;
        for (size_t i = 0; i < ring.size(); ++i) {
            const double dx = ring[i].x - t.x, dy = ring[i].y - t.y;
            if (dx * dx + dy * dy < bd) {
                bd = dx * dx + dy * dy;
                best = i;
            }
        }
        return best;
    };
    const PointD junction{142.85, 43.15};
    // Each cut runs from its coast point through inland way points to the junction.
    struct Cut {
        size_t end;
        std::vector<PointD> via; // from the coast towards the junction
    };
    std::vector<Cut> cuts{
        {nearest({141.42, 43.72}), {}},
        {nearest({143.30, 42.05}), {}},
        {nearest({145.33, 44.34}),
         {{145.30, 44.27}, {145.20, 44.15}, {145.10, 44.05}, {144.95, 43.90}, {144.72, 43.72}, {144.0, 43.45}}},
    };
    // Cuts must stay on land: no segment may cross the coast.
    auto crosses = [&](PointD p, PointD q) {
        auto orient = [](PointD a, PointD b, PointD c) { return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x); };
        for (size_t i = 0; i < ring.size(); ++i) {
            const PointD& a = ring[i];
            const PointD& b = ring[(i + 1) % ring.size()];
            if ((a.x == p.x && a.y == p.y) || (b.x == p.x && b.y == p.y))
                continue;
            if (orient(p, q, a) * orient(p, q, b) < 0 && orient(a, b, p) * orient(a, b, q) < 0)
                return true;
        }
        return false;
    };
    for (const Cut& c : cuts) {
        std::vector<PointD> path{ring[c.end]};
        path.insert(path.end(), c.via.begin(), c.via.end());
        path.push_back(junction);
        for (size_t i = 0; i + 1 < path.size(); ++i)
            if (crosses(path[i], path[i + 1])) {
                error = "北海道の輪郭を三つに分ける切断線 (" + std::to_string(path[i].x) + ", " +
                        std::to_string(path[i].y) + ")-(" + std::to_string(path[i + 1].x) + ", " +
                        std::to_string(path[i + 1].y) + ") が海岸と交差します";
                return false;
            }
    }
    std::sort(cuts.begin(), cuts.end(), [](const Cut& a, const Cut& b) { return a.end < b.end; });
    // The three stretches of coast between the cut ends, each closed through the junction.
    std::vector<std::vector<PointD>> parts;
    for (int k = 0; k < 3; ++k) {
        const Cut& from = cuts[k];
        const Cut& to = cuts[(k + 1) % 3];
        std::vector<PointD> part;
        for (size_t i = from.end;; i = (i + 1) % ring.size()) {
            part.push_back(ring[i]);
            if (i == to.end)
                break;
        }
        part.insert(part.end(), to.via.begin(), to.via.end());
        part.push_back(junction);
        part.insert(part.end(), from.via.rbegin(), from.via.rend());
        parts.push_back(std::move(part));
    }
    auto inside = [](const std::vector<PointD>& r, PointD p) {
        bool in = false;
        for (size_t i = 0, j = r.size() - 1; i < r.size(); j = i++)
            if ((r[i].y > p.y) != (r[j].y > p.y) &&
                p.x < (r[j].x - r[i].x) * (p.y - r[i].y) / (r[j].y - r[i].y) + r[i].x)
                in = !in;
        return in;
    };
    // Reference points: 函館 (南部), 釧路 (東部), 旭川 (北部).
    const std::pair<PointD, int> refs[] = {{{140.73, 41.78}, 47}, {{144.38, 42.99}, 48}, {{142.37, 43.77}, 49}};
    std::vector<RawRegion> out;
    for (auto& part : parts) {
        int area = 0;
        for (const auto& [p, a] : refs)
            if (inside(part, p))
                area = a;
        if (area == 0) {
            error = "北海道の輪郭を三つに分けられません（切断線が海岸と交差します）";
            return false;
        }
        RawRegion piece = hk;
        piece.r.area = area;
        piece.polygons = {{part}};
        out.push_back(std::move(piece));
    }
    // The other polygons (islands) go to the part whose reference point is nearest,
    // the northern islands (east of 145.75°E) to area 52.
    for (size_t i = 0; i < hk.polygons.size(); ++i) {
        if (i == main)
            continue;
        double sx = 0, sy = 0;
        for (const auto& p : hk.polygons[i].front()) {
            sx += p.x;
            sy += p.y;
        }
        const double n = static_cast<double>(hk.polygons[i].front().size());
        const PointD c{sx / n, sy / n};
        int area = 52;
        if (c.x < 145.75) {
            double bd = 1e18;
            for (const auto& [p, a] : refs) {
                const double d = (p.x - c.x) * (p.x - c.x) + (p.y - c.y) * (p.y - c.y);
                if (d < bd) {
                    bd = d;
                    area = a;
                }
            }
        }
        for (auto& o : out)
            if (o.r.area == area) {
                o.polygons.push_back(hk.polygons[i]);
                area = -1;
                break;
            }
        if (area != -1) {
            RawRegion piece = hk;
            piece.r.area = area;
            piece.polygons = {hk.polygons[i]};
            out.push_back(std::move(piece));
        }
    }
    regions.erase(regions.begin() + hi);
    for (auto& o : out)
        regions.push_back(std::move(o));
    return true;
}

bool readInput(const BuildOptions& options, std::vector<RawRegion>& regions, bool& municipal,
               std::vector<std::string>& warnings, std::string& error)
{
    GDALAllRegister();
    CPLPushErrorHandler(CPLQuietErrorHandler);
    GDALDatasetUniquePtr ds(GDALDataset::Open(options.input.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY,
                                              nullptr, nullptr, nullptr));
    CPLPopErrorHandler();
    if (!ds) {
        error = "入力ファイル " + options.input + " を読めません: " + CPLGetLastErrorMsg();
        return false;
    }
    std::map<std::string, size_t> index;
    municipal = false;
    bool any = false;
    for (OGRLayer* layer : ds->GetLayers()) {
        OGRFeatureDefn* defn = layer->GetLayerDefn();
        const int f1 = defn->GetFieldIndex("N03_001"), f2 = defn->GetFieldIndex("N03_002"),
                  f3 = defn->GetFieldIndex("N03_003"), f4 = defn->GetFieldIndex("N03_004"),
                  f7 = defn->GetFieldIndex("N03_007"), fe = defn->GetFieldIndex("name_en");
        const bool layerMunicipal = f3 >= 0 || f4 >= 0 || f7 >= 0;
        if (layerMunicipal && (f1 < 0 || f3 < 0 || f7 < 0)) {
            error = "レイヤ " + std::string(layer->GetName()) +
                    ": N03_001, N03_003, N03_004, N03_007 のいずれかの属性がありません";
            return false;
        }
        if (!layerMunicipal && f1 < 0 && fe < 0) {
            error = "レイヤ " + std::string(layer->GetName()) +
                    ": 都道府県名の属性 (N03_001 または name_en) がありません";
            return false;
        }
        if (any && layerMunicipal != municipal) {
            error = "市区町村のレイヤと都道府県のレイヤが混在しています";
            return false;
        }
        municipal = layerMunicipal;
        any = true;
        if (const OGRSpatialReference* srs = layer->GetSpatialRef(); srs && srs->IsProjected()) {
            error = "レイヤ " + std::string(layer->GetName()) + ": 座標が経緯度ではありません（投影座標系）";
            return false;
        }
        long fid = 0;
        for (auto& feat : *layer) {
            ++fid;
            auto str = [&](int i) -> std::string {
                if (i < 0 || !feat->IsFieldSetAndNotNull(i))
                    return {};
                return feat->GetFieldAsString(i);
            };
            RawRegion rr;
            Region& r = rr.r;
            r.pref = f1 >= 0 ? str(f1) : std::string();
            r.subpref = str(f2);
            r.city = str(f3);
            r.name = str(f4);
            r.code = str(f7);
            const std::string en = str(fe);
            rr.label = featureLabel(fid, r.pref.empty() ? en : r.pref, r.city, r.name, r.code);
            if (r.name == "所属未定地")
                r.name.clear();
            if (municipal && r.name.empty() && !r.code.empty() && !r.city.empty())
                r.name = r.city; // a designated city given whole, without its wards
            if (municipal && r.code.empty() && !r.name.empty()) {
                error = rr.label + ": 団体コード (N03_007) がありません";
                return false;
            }
            if (municipal && !r.code.empty() && r.name.empty()) {
                error = rr.label + ": 市区町村名 (N03_004) がありません";
                return false;
            }
            if (!r.code.empty() && (r.code.size() < 5 || r.code.find_first_not_of("0123456789") != std::string::npos)) {
                error = rr.label + ": 団体コード '" + r.code + "' が5桁の数字ではありません";
                return false;
            }
            r.code = r.code.substr(0, 5);
            r.prefCode = r.code.empty() ? prefCodeOfName(r.pref.empty() ? en : r.pref)
                                        : std::atoi(r.code.substr(0, 2).c_str());
            if (r.prefCode < 1 || r.prefCode > 47) {
                error = rr.label + ": 都道府県を決められません";
                return false;
            }
            if (r.pref.empty())
                r.pref = kPrefNames[r.prefCode];
            if (!municipal)
                r.name.clear();
            r.ward = !r.city.empty() && r.city.size() > 3 && r.city.compare(r.city.size() - 3, 3, "市") == 0 &&
                     r.name.size() > 3 && r.name.compare(r.name.size() - 3, 3, "区") == 0;
            const OGRGeometry* geom = feat->GetGeometryRef();
            if (!geom) {
                error = rr.label + ": 形状がありません";
                return false;
            }
            const auto type = wkbFlatten(geom->getGeometryType());
            std::vector<const OGRPolygon*> polys;
            if (type == wkbPolygon)
                polys.push_back(geom->toPolygon());
            else if (type == wkbMultiPolygon)
                for (const OGRPolygon* p : *geom->toMultiPolygon())
                    polys.push_back(p);
            else {
                error = rr.label + ": 形状が面 (Polygon/MultiPolygon) ではありません: " + geom->getGeometryName();
                return false;
            }
            for (const OGRPolygon* p : polys) {
                std::vector<std::vector<PointD>> rings;
                if (readRings(p, rings))
                    rr.polygons.push_back(std::move(rings));
            }
            for (const auto& poly : rr.polygons)
                for (const auto& ring : poly)
                    for (const PointD& p : ring)
                        if (!(p.x >= 120 && p.x <= 160 && p.y >= 18 && p.y <= 50)) {
                            error = rr.label + ": 座標 (" + std::to_string(p.x) + ", " + std::to_string(p.y) +
                                    ") が日本の範囲にありません";
                            return false;
                        }
            if (rr.polygons.empty()) {
                // Nothing to draw or to anchor a name in (a municipality simplified away).
                warnings.push_back(rr.label + ": 面がないため省きました");
                continue;
            }
            r.area = placeArea(rr, municipal, error);
            if (r.area == 0)
                return false;
            // Features of one municipality (one row per polygon in some editions) merge.
            const std::string key = std::to_string(r.area) + "|" + r.pref + "|" + r.code + "|" + r.city + "|" + r.name;
            if (auto it = index.find(key); it != index.end()) {
                auto& target = regions[it->second].polygons;
                for (auto& poly : rr.polygons)
                    target.push_back(std::move(poly));
            } else {
                index[key] = regions.size();
                regions.push_back(std::move(rr));
            }
        }
    }
    if (regions.empty()) {
        error = "入力ファイル " + options.input + " に面の地物がありません";
        return false;
    }
    {
        // Tokyo's land without a code (prefecture-level outlines, and 所属未定地 from
        // Tokyo Bay down to the islands) goes to the island groups polygon by polygon.
        std::vector<RawRegion> split;
        for (auto it = regions.begin(); it != regions.end();) {
            if (it->r.prefCode != 13 || !it->r.code.empty()) {
                ++it;
                continue;
            }
            std::map<int, RawRegion> parts;
            for (auto& poly : it->polygons) {
                RawRegion one = *it;
                one.polygons = {poly};
                const int area = placeArea(one, false, error);
                auto [pit, fresh] = parts.try_emplace(area, one);
                pit->second.r.area = area;
                if (!fresh)
                    pit->second.polygons.push_back(poly);
            }
            for (auto& [area, part] : parts)
                split.push_back(std::move(part));
            it = regions.erase(it);
        }
        for (auto& part : split)
            regions.push_back(std::move(part));
    }
    if (!municipal && !cutHokkaido(regions, error))
        return false;
    return true;
}

double ringArea(const std::vector<PointI>& r)
{
    double a = 0;
    for (size_t i = 0, j = r.size() - 1; i < r.size(); j = i++)
        a += static_cast<double>(r[j].x) * r[i].y - static_cast<double>(r[i].x) * r[j].y;
    return a / 2;
}

// Plane for label search: x scaled by the cosine of the latitude so that both axes
// measure the same ground distance.
struct Plane {
    double c = 1;
    PointD to(PointI p) const { return {p.x * c, p.y * (2.0 / 3.0)}; }
    PointI from(PointD p) const
    {
        return {static_cast<int>(std::lround(p.x / c)), static_cast<int>(std::lround(p.y * 1.5))};
    }
};

Plane planeFor(int yMin, int yMax)
{
    const double lat = ((yMin + yMax) / 2.0) / 15000.0 + 24.0;
    return Plane{std::cos(lat * M_PI / 180.0)};
}

PointI poleOfLines(const std::vector<std::vector<PointI>>& lines)
{
    int yMin = INT32_MAX, yMax = INT32_MIN;
    for (const auto& l : lines)
        for (const auto& p : l) {
            yMin = std::min(yMin, p.y);
            yMax = std::max(yMax, p.y);
        }
    if (yMin > yMax)
        return {};
    const Plane plane = planeFor(yMin, yMax);
    // Detail far below the size of the outline does not move the pole: thin it out so
    // full-resolution input stays fast.
    const double tol = (yMax - yMin) / 3000.0;
    std::vector<std::vector<PointD>> rings;
    for (const auto& l : lines) {
        std::vector<PointD> r;
        for (const auto& p : tol >= 1 ? simplifyLine(l, tol) : l)
            r.push_back(plane.to(p));
        rings.push_back(std::move(r));
    }
    return plane.from(poleOfInaccessibility(rings, 1.0));
}

// Pole of the largest part of a union given by its outline arcs: the arcs are chained
// into rings, the ring of the largest area is the outer ring of the largest part, and
// the rings lying inside it are its holes.
PointI poleOfLargestPart(const std::vector<std::vector<PointI>>& lines)
{
    auto key = [](PointI p) { return (static_cast<int64_t>(p.x) << 32) ^ static_cast<uint32_t>(p.y); };
    std::unordered_map<int64_t, std::vector<size_t>> at;
    for (size_t i = 0; i < lines.size(); ++i)
        if (!lines[i].empty() && !(lines[i].front() == lines[i].back())) {
            at[key(lines[i].front())].push_back(i);
            at[key(lines[i].back())].push_back(i);
        }
    std::vector<char> used(lines.size(), 0);
    std::vector<std::vector<PointI>> rings;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (used[i] || lines[i].empty())
            continue;
        used[i] = 1;
        std::vector<PointI> ring = lines[i];
        bool closed = ring.front() == ring.back();
        while (!closed) {
            bool extended = false;
            for (size_t j : at[key(ring.back())])
                if (!used[j]) {
                    used[j] = 1;
                    const auto& l = lines[j];
                    if (l.front() == ring.back())
                        ring.insert(ring.end(), l.begin() + 1, l.end());
                    else
                        ring.insert(ring.end(), l.rbegin() + 1, l.rend());
                    extended = true;
                    break;
                }
            closed = ring.front() == ring.back();
            if (!extended)
                break;
        }
        if (closed && ring.size() >= 4)
            rings.push_back(std::move(ring));
    }
    if (rings.empty())
        return poleOfLines(lines);
    size_t outer = 0;
    double best = -1;
    for (size_t i = 0; i < rings.size(); ++i)
        if (const double a = std::abs(ringArea(rings[i])); a > best) {
            best = a;
            outer = i;
        }
    auto inside = [](const std::vector<PointI>& r, PointI p) {
        bool in = false;
        for (size_t i = 1, j = 0; i < r.size(); j = i++)
            if ((r[i].y > p.y) != (r[j].y > p.y) &&
                p.x < static_cast<double>(r[j].x - r[i].x) * (p.y - r[i].y) / (r[j].y - r[i].y) + r[i].x)
                in = !in;
        return in;
    };
    std::vector<std::vector<PointI>> part{rings[outer]};
    for (size_t i = 0; i < rings.size(); ++i)
        if (i != outer && std::abs(ringArea(rings[i])) < best && inside(rings[outer], rings[i][rings[i].size() / 2]))
            part.push_back(rings[i]);
    return poleOfLines(part);
}

long wordsOf(size_t n)
{
    // Records hold at most 1000 points; longer lines are cut into pieces sharing ends.
    long words = 0;
    while (n > 1000) {
        words += 2 * 1000 + 1;
        n -= 999;
    }
    return words + 2 * static_cast<long>(n) + 1;
}

const char* const kTables[] = {"COAST_LINE", "PREF_LINE", "TOWN_LINE", "KU_LINE", "LAKE_LINE"};

} // namespace

int areaOfPrefecture(int prefCode)
{
    if (prefCode == 1)
        return 47;
    for (int a = 1; a <= 46; ++a)
        if (prefCode >= 1 && prefCode <= 47 && std::string(areaInfo(a).name) == kPrefNames[prefCode])
            return a;
    return 0;
}

int prefectureOfArea(int area)
{
    if (area >= 47 && area <= 52)
        return area == 50 || area == 51 ? 13 : 1;
    for (int p = 1; p <= 47; ++p)
        if (area >= 1 && area <= 46 && std::string(areaInfo(area).name) == kPrefNames[p])
            return p;
    return 0;
}

std::string areaName(int area)
{
    return area >= 1 && area <= kAreaCount ? areaInfo(area).name : "";
}

std::string tableOfKind(char kind, int area)
{
    switch (kind) {
    case 'C': return "COAST_LINE";
    case 'P': return "PREF_LINE";
    case 'T': return "TOWN_LINE";
    case 'K': return "KU_LINE";
    case 'W': return isDividedArea(area) ? "PREF_LINE" : "LAKE_LINE";
    default: return {};
    }
}

long tableCapacity(const std::string& t)
{
    for (int k = 0; k < kLineKindCount; ++k)
        if (t == lineTableInfo(static_cast<LineKind>(k)).constantName)
            return lineTableInfo(static_cast<LineKind>(k)).capacity;
    return 0;
}

bool buildModel(const BuildOptions& options, MapModel& model, std::string& error)
{
    model = MapModel{};
    std::vector<RawRegion> raw;
    if (!readInput(options, raw, model.municipal, model.warnings, error))
        return false;

    // Vertices: identical input coordinates are one vertex, converted once.
    std::unordered_map<VertexKey, int, KeyHash> ids;
    std::vector<PointI> units;
    std::vector<std::vector<std::vector<std::vector<int>>>> ringIds(raw.size());
    for (size_t ri = 0; ri < raw.size(); ++ri) {
        for (const auto& poly : raw[ri].polygons) {
            std::vector<std::vector<int>> rings;
            for (const auto& ring : poly) {
                std::vector<int> ringV;
                for (const PointD& p : ring) {
                    auto [it, fresh] = ids.try_emplace(keyOf(p), static_cast<int>(units.size()));
                    if (fresh)
                        units.push_back(options.datum == Datum::Wgs84
                                            ? wgs84ToTokyoUnits(p.x, p.y)
                                            : PointI{static_cast<int>(std::lround((p.x - 122.0) * 10000.0)),
                                                     static_cast<int>(std::lround((p.y - 24.0) * 15000.0))});
                    if (ringV.empty() || ringV.back() != it->second)
                        ringV.push_back(it->second);
                }
                while (ringV.size() > 1 && ringV.front() == ringV.back())
                    ringV.pop_back();
                if (ringV.size() >= 3)
                    rings.push_back(std::move(ringV));
            }
            if (!rings.empty())
                ringIds[ri].push_back(std::move(rings));
        }
        Region r = raw[ri].r;
        for (const auto& poly : ringIds[ri]) {
            std::vector<std::vector<PointI>> p;
            for (const auto& ring : poly) {
                std::vector<PointI> pts;
                for (int v : ring)
                    pts.push_back(units[v]);
                p.push_back(std::move(pts));
            }
            r.polygons.push_back(std::move(p));
        }
        model.regions.push_back(std::move(r));
    }

    // Edges with the regions on their two sides.
    struct Edge {
        int u, v, a = -1, b = -1;
        bool internal = false, used = false;
    };
    std::vector<Edge> edges;
    std::unordered_map<uint64_t, int> edgeIndex;
    for (size_t ri = 0; ri < ringIds.size(); ++ri)
        for (const auto& poly : ringIds[ri])
            for (const auto& ring : poly)
                for (size_t i = 0; i < ring.size(); ++i) {
                    int u = ring[i], v = ring[(i + 1) % ring.size()];
                    if (u == v)
                        continue;
                    if (u > v)
                        std::swap(u, v);
                    const uint64_t key = (static_cast<uint64_t>(u) << 32) | static_cast<uint32_t>(v);
                    auto [it, fresh] = edgeIndex.try_emplace(key, static_cast<int>(edges.size()));
                    if (fresh)
                        edges.push_back({u, v});
                    Edge& e = edges[it->second];
                    const int r = static_cast<int>(ri);
                    if (e.a == r || e.b == r)
                        e.internal = true; // two parts of one region touching
                    else if (e.a < 0)
                        e.a = r;
                    else if (e.b < 0)
                        e.b = r;
                    // A third owner means overlapping input; the first two keep the edge.
                }
    std::vector<std::vector<int>> incident(units.size());
    for (size_t i = 0; i < edges.size(); ++i) {
        Edge& e = edges[i];
        if (e.internal)
            continue;
        if (e.b >= 0 && e.a > e.b)
            std::swap(e.a, e.b);
        incident[e.u].push_back(static_cast<int>(i));
        incident[e.v].push_back(static_cast<int>(i));
    }
    auto sameSides = [&](int e1, int e2) { return edges[e1].a == edges[e2].a && edges[e1].b == edges[e2].b; };
    std::vector<char> node(units.size(), 0);
    for (size_t v = 0; v < units.size(); ++v)
        node[v] = incident[v].size() != 2 || !sameSides(incident[v][0], incident[v][1]);

    auto kindOf = [&](int a, int b) -> char {
        if (b < 0)
            return 'C';
        const Region& ra = model.regions[a];
        const Region& rb = model.regions[b];
        if (ra.area != rb.area) {
            const auto divided = [](int x) { return x >= 47 && x <= 52 && x != 50 && x != 51; };
            return divided(ra.area) && divided(rb.area) ? 'W' : 'P';
        }
        if (ra.prefCode != rb.prefCode)
            return 'P';
        if (ra.ward && rb.ward && ra.city == rb.city)
            return 'K';
        return 'T';
    };
    auto walk = [&](int start, int firstEdge) {
        Arc arc;
        std::vector<int> verts{start};
        int cur = start, e = firstEdge;
        arc.left = edges[e].a;
        arc.right = edges[e].b;
        while (true) {
            edges[e].used = true;
            const int next = edges[e].u == cur ? edges[e].v : edges[e].u;
            verts.push_back(next);
            if (node[next] || next == start)
                break;
            int ne = -1;
            for (int c : incident[next])
                if (!edges[c].used) {
                    ne = c;
                    break;
                }
            if (ne < 0)
                break;
            cur = next;
            e = ne;
        }
        for (int v : verts)
            arc.full.push_back(units[v]);
        arc.kind = kindOf(arc.left, arc.right);
        model.arcs.push_back(std::move(arc));
    };
    for (size_t v = 0; v < units.size(); ++v)
        if (node[v])
            for (int e : incident[v])
                if (!edges[e].used)
                    walk(static_cast<int>(v), e);
    for (size_t i = 0; i < edges.size(); ++i)
        if (!edges[i].internal && !edges[i].used)
            walk(edges[i].u, static_cast<int>(i));

    // Label anchors: the pole of the largest part of each region.
    for (Region& r : model.regions) {
        if (r.polygons.empty())
            continue;
        size_t best = 0;
        double bestArea = -1;
        for (size_t i = 0; i < r.polygons.size(); ++i) {
            double a = std::abs(ringArea(r.polygons[i][0]));
            for (size_t h = 1; h < r.polygons[i].size(); ++h)
                a -= std::abs(ringArea(r.polygons[i][h]));
            if (a > bestArea) {
                bestArea = a;
                best = i;
            }
        }
        std::vector<std::vector<PointI>> rings = r.polygons[best];
        for (auto& ring : rings)
            ring.push_back(ring.front());
        r.anchor = poleOfLines(rings);
    }
    // Anchors of unions (designated cities, prefectures, subprefectures): the arcs with
    // a member on exactly one side outline the union.
    auto unionPole = [&](auto member) {
        std::vector<std::vector<PointI>> lines;
        for (const Arc& a : model.arcs) {
            const bool l = a.left >= 0 && member(model.regions[a.left]);
            const bool r = a.right >= 0 && member(model.regions[a.right]);
            if (l != r)
                lines.push_back(a.full);
        }
        return poleOfLargestPart(lines);
    };
    if (model.municipal) {
        std::map<std::pair<int, std::string>, int> cityIndex;
        for (const Region& r : model.regions)
            if (r.ward && !cityIndex.count({r.prefCode, r.city})) {
                cityIndex[{r.prefCode, r.city}] = static_cast<int>(model.cities.size());
                model.cities.push_back({r.city, r.area, {}, {}});
            }
        for (auto& [key, i] : cityIndex) {
            const auto k = key;
            model.cities[i].anchor = unionPole([&](const Region& r) { return r.ward && r.prefCode == k.first && r.city == k.second; });
        }
        // Names that occur more than once in one prefecture (Hokkaido's parts and the
        // northern islands, Tokyo and its island groups count as one).
        std::map<std::pair<int, std::string>, std::vector<int>> byName;
        for (size_t i = 0; i < model.regions.size(); ++i)
            if (!model.regions[i].name.empty())
                byName[{model.regions[i].prefCode, model.regions[i].name}].push_back(static_cast<int>(i));
        for (const auto& [key, list] : byName)
            if (list.size() > 1)
                for (int i : list) {
                    const Region& r = model.regions[i];
                    model.duplicates.push_back({r.area, r.name, r.city.empty() ? r.pref : r.city, r.anchor});
                }
        for (int s = 0; s < 14; ++s) {
            model.subprefNames.push_back(
                {kSubprefs[s].name, unionPole([&](const Region& r) { return r.prefCode == 1 && subprefIndex(r.subpref) == s; })});
        }
    }
    for (int p = 1; p <= 47; ++p) {
        bool any = false;
        for (const Region& r : model.regions)
            any = any || r.prefCode == p;
        if (!any)
            continue;
        // Island groups and the northern islands are not part of the prefecture's name.
        model.prefAnchor[p] = unionPole([&](const Region& r) { return r.prefCode == p && r.area != 50 && r.area != 51 && r.area != 52; });
        model.hasPrefAnchor[p] = true;
    }

    // Simplify only as far as the 52 areas together need to fit each table: every
    // table gets the smallest tolerance that fits, and each arc is simplified once.
    static const double steps[] = {0, 0.75, 1, 1.5, 2, 3, 4, 6, 8, 12, 16, 24, 32, 48, 64, 96, 128, 192, 256};
    model.tables.clear();
    model.tolerance = 0;
    for (const char* t : kTables) {
        std::vector<std::pair<Arc*, int>> members; // arc and the number of files holding it
        for (Arc& a : model.arcs) {
            std::set<int> areas{model.regions[a.left].area};
            if (a.right >= 0)
                areas.insert(model.regions[a.right].area);
            if (tableOfKind(a.kind, *areas.begin()) == t)
                members.push_back({&a, static_cast<int>(areas.size())});
        }
        bool fits = false;
        long words = 0;
        for (double tol : steps) {
            words = 0;
            for (auto& [a, files] : members) {
                a->points = simplifyLine(a->full, tol);
                words += files * wordsOf(a->points.size());
            }
            if (words <= static_cast<long>(tableCapacity(t) * options.fill)) {
                fits = true;
                model.tolerance = std::max(model.tolerance, tol);
                model.tolerances.push_back(tol);
                break;
            }
        }
        model.tables.push_back({t, words, tableCapacity(t)});
        if (!fits) {
            error = std::string("線を簡略化しても ") + t + " に収まりません";
            return false;
        }
    }
    return true;
}

} // namespace oboro::mkmap
