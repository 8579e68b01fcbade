// mkmarks: draws the symbol bitmaps of the program's mark folder, black shapes on white,
// as 24-bit BMP files:
//   100..120  the 21 map symbols after the shapes of Japanese topographic maps, each as
//             "%d.bmp" (16 px), "%ds.bmp" (14 px) and "%dm.bmp" (18 px)
//   mark1..7  the numbered marks (a circle with its digit)
//   200..220  plain marks: dots, squares, triangles, diamonds, stars, crosses, arrows…
//   blank     an empty picture, drawn for symbols whose file is missing
// Every shape is described once in a 16-unit square and sampled at the pixel centres
// of each size, so the same program always writes the same bytes.
//
//   mkmarks --out DIR
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Pt {
    double x, y;
};

// A picture of side × side pixels, true for black.
class Picture {
public:
    explicit Picture(int side) : side_(side), k_(side / 16.0), px_(static_cast<size_t>(side * side), false) {}
    int side() const { return side_; }
    bool at(int i, int j) const { return px_[static_cast<size_t>(j * side_ + i)]; }

    // Sets every pixel whose centre, in design units, passes the test.
    void paint(const std::function<bool(Pt design, double unitsPerPixel)>& inside)
    {
        for (int j = 0; j < side_; ++j)
            for (int i = 0; i < side_; ++i)
                if (inside(Pt{(i + 0.5) / k_, (j + 0.5) / k_}, 1.0 / k_))
                    px_[static_cast<size_t>(j * side_ + i)] = true;
    }
    // A stroke of about `width` pixels along a segment.
    void line(Pt a, Pt b, double width = 1.0)
    {
        paint([&](Pt p, double u) { return segmentDistance(p, a, b) / u <= width / 2 + 0.05; });
    }
    void polyline(std::initializer_list<Pt> pts, double width = 1.0)
    {
        const std::vector<Pt> v(pts);
        for (size_t i = 1; i < v.size(); ++i)
            line(v[i - 1], v[i], width);
    }
    void ring(Pt c, double r, double width = 1.0)
    {
        paint([&](Pt p, double u) { return std::fabs(std::hypot(p.x - c.x, p.y - c.y) - r) / u <= width / 2 + 0.05; });
    }
    void disk(Pt c, double r)
    {
        paint([&](Pt p, double) { return std::hypot(p.x - c.x, p.y - c.y) <= r; });
    }
    void fillPolygon(const std::vector<Pt>& poly)
    {
        paint([&](Pt p, double) { return insidePolygon(p, poly); });
    }
    void outlinePolygon(const std::vector<Pt>& poly, double width = 1.0)
    {
        for (size_t i = 0; i < poly.size(); ++i)
            line(poly[i], poly[(i + 1) % poly.size()], width);
    }
    // Clears the pixels inside a circle (holes).
    void clearDisk(Pt c, double r)
    {
        for (int j = 0; j < side_; ++j)
            for (int i = 0; i < side_; ++i)
                if (std::hypot((i + 0.5) / k_ - c.x, (j + 0.5) / k_ - c.y) <= r)
                    px_[static_cast<size_t>(j * side_ + i)] = false;
    }

    // 24-bit BMP, rows bottom-up, each padded to four bytes.
    std::string bmp() const
    {
        const int row = (side_ * 3 + 3) / 4 * 4;
        const uint32_t dataSize = static_cast<uint32_t>(row * side_);
        std::string out;
        auto u16 = [&](uint32_t v) {
            out.push_back(static_cast<char>(v & 0xFF));
            out.push_back(static_cast<char>((v >> 8) & 0xFF));
        };
        auto u32 = [&](uint32_t v) {
            u16(v & 0xFFFF);
            u16(v >> 16);
        };
        out += "BM";
        u32(14 + 40 + dataSize);
        u32(0);
        u32(14 + 40);
        u32(40);
        u32(static_cast<uint32_t>(side_));
        u32(static_cast<uint32_t>(side_));
        u16(1);
        u16(24);
        u32(0);
        u32(dataSize);
        u32(3780); // 96 dpi
        u32(3780);
        u32(0);
        u32(0);
        for (int j = side_ - 1; j >= 0; --j) {
            for (int i = 0; i < side_; ++i)
                out.append(3, at(i, j) ? '\0' : '\xFF');
            out.append(static_cast<size_t>(row - side_ * 3), '\0');
        }
        return out;
    }

private:
    static double segmentDistance(Pt p, Pt a, Pt b)
    {
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
        t = t < 0 ? 0 : (t > 1 ? 1 : t);
        return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
    }
    static bool insidePolygon(Pt p, const std::vector<Pt>& poly)
    {
        bool in = false;
        for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++)
            if ((poly[i].y > p.y) != (poly[j].y > p.y) &&
                p.x < (poly[j].x - poly[i].x) * (p.y - poly[i].y) / (poly[j].y - poly[i].y) + poly[i].x)
                in = !in;
        return in;
    }

    int side_;
    double k_;
    std::vector<bool> px_;
};

constexpr Pt C{8, 8};

// 文, the school sign.
void bun(Picture& p)
{
    p.line({8, 1.8}, {8, 3.6});
    p.line({2.2, 4.6}, {13.8, 4.6});
    p.line({4.8, 5.2}, {13.2, 14.2});
    p.line({11.2, 5.2}, {2.8, 14.2});
}

// The fire hook of the fire stations.
void fireHook(Picture& p, double top, double bottom)
{
    p.polyline({{4.2, top}, {4.2, top + 3.2}, {11.8, top + 3.2}, {11.8, top}});
    p.line({8, top + 3.2}, {8, bottom});
}

std::vector<Pt> regularStar(int points, double outer, double inner, double rotate = -M_PI / 2)
{
    std::vector<Pt> v;
    for (int i = 0; i < points * 2; ++i) {
        const double r = i % 2 ? inner : outer;
        const double a = rotate + i * M_PI / points;
        v.push_back({C.x + r * std::cos(a), C.y + r * std::sin(a)});
    }
    return v;
}

// Seven-segment digits in the box x 5.6..10.4, y 4.2..11.8.
void digit(Picture& p, int d)
{
    static const char* segs[10] = {"abcdef", "bc", "abged", "abgcd", "fgbc", "afgcd", "afgedc", "abc", "abcdefg",
                                   "abcdfg"};
    const double l = 5.6, r = 10.4, t = 4.2, m = 8.0, b = 11.8;
    for (const char* s = segs[d]; *s; ++s) {
        switch (*s) {
        case 'a': p.line({l, t}, {r, t}); break;
        case 'b': p.line({r, t}, {r, m}); break;
        case 'c': p.line({r, m}, {r, b}); break;
        case 'd': p.line({l, b}, {r, b}); break;
        case 'e': p.line({l, m}, {l, b}); break;
        case 'f': p.line({l, t}, {l, m}); break;
        case 'g': p.line({l, m}, {r, m}); break;
        }
    }
}

void arrow(Picture& p, double angle)
{
    // An arrow pointing along angle (0: right), drawn around the centre.
    auto rot = [&](double x, double y) {
        return Pt{C.x + x * std::cos(angle) - y * std::sin(angle), C.y + x * std::sin(angle) + y * std::cos(angle)};
    };
    p.line(rot(-6.5, 0), rot(2, 0), 2.0);
    p.fillPolygon({rot(7, 0), rot(1, -5), rot(1, 5)});
}

// The map symbols, 100..120.
void mapSymbol(Picture& p, int n)
{
    switch (n) {
    case 100: // 都府県庁: ◎ in a circle
        p.ring(C, 7.0);
        p.ring(C, 4.6);
        p.ring(C, 2.2);
        break;
    case 101: // 町村役場: a circle with its centre
        p.ring(C, 6.8);
        p.disk(C, 1.6);
        break;
    case 102: // 小中学校: 文
        bun(p);
        break;
    case 103: // 大学: 文 in a square
        p.outlinePolygon({{0.7, 0.7}, {15.3, 0.7}, {15.3, 15.3}, {0.7, 15.3}});
        p.line({8, 2.6}, {8, 4.0});
        p.line({3.4, 5.0}, {12.6, 5.0});
        p.line({5.4, 5.6}, {12.4, 13.4});
        p.line({10.6, 5.6}, {3.6, 13.4});
        break;
    case 104: // 郵便局: 〒 in a circle
        p.ring(C, 7.0);
        p.line({4.4, 4.8}, {11.6, 4.8});
        p.line({4.4, 7.4}, {11.6, 7.4});
        p.line({8, 7.4}, {8, 12.6});
        break;
    case 105: // 警察署: ✕ in a circle
        p.ring(C, 7.0);
        p.line({4.4, 4.4}, {11.6, 11.6});
        p.line({11.6, 4.4}, {4.4, 11.6});
        break;
    case 106: // 消防出張所: the fire hook in a square
        p.outlinePolygon({{0.7, 0.7}, {15.3, 0.7}, {15.3, 15.3}, {0.7, 15.3}});
        fireHook(p, 3.4, 13.0);
        break;
    case 107: // 交番，派出所: ✕
        p.line({2.5, 2.5}, {13.5, 13.5}, 1.6);
        p.line({13.5, 2.5}, {2.5, 13.5}, 1.6);
        break;
    case 108: // 消防署: the fire hook
        fireHook(p, 1.5, 14.5);
        p.line({5.6, 14.3}, {10.4, 14.3});
        break;
    case 109: // 病院: a cross in a shield
        p.polyline({{2, 2}, {14, 2}, {14, 9}, {8, 14.6}, {2, 9}, {2, 2}});
        p.line({8, 4.2}, {8, 11.2}, 2.0);
        p.line({4.6, 7.2}, {11.4, 7.2}, 2.0);
        break;
    case 110: // ホテル: a bed
        p.line({1.8, 3.2}, {1.8, 13.4}, 1.4);
        p.line({14.2, 8.2}, {14.2, 13.4}, 1.4);
        p.fillPolygon({{2, 8.4}, {14, 8.4}, {14, 10.6}, {2, 10.6}});
        p.disk({4.8, 6.6}, 1.5);
        break;
    case 111: // 工場: a gear
        p.ring(C, 4.6, 2.4);
        for (int i = 0; i < 8; ++i) {
            const double a = i * M_PI / 4;
            p.line({C.x + 4.6 * std::cos(a), C.y + 4.6 * std::sin(a)}, {C.x + 7.2 * std::cos(a), C.y + 7.2 * std::sin(a)},
                   2.0);
        }
        p.clearDisk(C, 2.0);
        break;
    case 112: // 銀行: ¥ in a circle
        p.ring(C, 7.0);
        p.polyline({{4.6, 3.6}, {8, 8}, {11.4, 3.6}});
        p.line({8, 8}, {8, 12.8});
        p.line({5.2, 8.8}, {10.8, 8.8});
        p.line({5.2, 10.8}, {10.8, 10.8});
        break;
    case 113: // 神社: 鳥居
        p.polyline({{1.0, 2.2}, {3.0, 3.2}, {13.0, 3.2}, {15.0, 2.2}}, 1.6);
        p.line({3.0, 6.2}, {13.0, 6.2});
        p.line({5.0, 3.4}, {4.4, 14.6}, 1.4);
        p.line({11.0, 3.4}, {11.6, 14.6}, 1.4);
        break;
    case 114: // 寺院: 卍
        p.line({8, 2.6}, {8, 13.4});
        p.line({2.6, 8}, {13.4, 8});
        p.line({8, 2.6}, {3.0, 2.6});
        p.line({2.6, 8}, {2.6, 13.0});
        p.line({8, 13.4}, {13.0, 13.4});
        p.line({13.4, 8}, {13.4, 3.0});
        break;
    case 115: // 港: an anchor
        p.ring({8, 2.8}, 1.5);
        p.line({8, 4.3}, {8, 14.2});
        p.line({4.6, 6.6}, {11.4, 6.6});
        p.polyline({{2.4, 9.4}, {4.2, 12.6}, {8, 14.2}, {11.8, 12.6}, {13.6, 9.4}});
        break;
    case 116: // 名所旧跡: ∴
        p.disk({8, 4.2}, 1.8);
        p.disk({3.8, 11.6}, 1.8);
        p.disk({12.2, 11.6}, 1.8);
        break;
    case 117: // 発電所: a lightning bolt in a gear's circle
        p.ring(C, 7.0);
        p.polyline({{10.4, 2.6}, {5.8, 8.4}, {10.2, 8.4}, {5.6, 13.6}});
        break;
    case 118: // 市役所: ◎
        p.ring(C, 7.0);
        p.ring(C, 3.8);
        break;
    case 119: // 高校: 文 in a circle
        p.ring(C, 7.4);
        p.line({8, 3.0}, {8, 4.2});
        p.line({3.8, 5.2}, {12.2, 5.2});
        p.line({5.6, 5.8}, {12.0, 12.6});
        p.line({10.4, 5.8}, {4.0, 12.6});
        break;
    case 120: // 公民館: a hall under its roof
        p.polyline({{1.4, 7.4}, {8, 1.6}, {14.6, 7.4}});
        p.outlinePolygon({{3.6, 7.4}, {12.4, 7.4}, {12.4, 14.4}, {3.6, 14.4}});
        p.line({8, 10.4}, {8, 14.4});
        break;
    }
}

// The plain marks, 200..220.
void plainMark(Picture& p, int n)
{
    const std::vector<Pt> square{{2.5, 2.5}, {13.5, 2.5}, {13.5, 13.5}, {2.5, 13.5}};
    const std::vector<Pt> up{{8, 1.8}, {14.4, 13.4}, {1.6, 13.4}};
    const std::vector<Pt> down{{1.6, 2.6}, {14.4, 2.6}, {8, 14.2}};
    const std::vector<Pt> diamond{{8, 1.2}, {14.8, 8}, {8, 14.8}, {1.2, 8}};
    switch (n) {
    case 200: p.disk(C, 6.2); break;
    case 201: p.ring(C, 6.2, 1.4); break;
    case 202: p.fillPolygon(square); break;
    case 203: p.outlinePolygon(square, 1.4); break;
    case 204: p.fillPolygon(up); break;
    case 205: p.outlinePolygon(up, 1.2); break;
    case 206: p.fillPolygon(diamond); break;
    case 207: p.outlinePolygon(diamond, 1.2); break;
    case 208: p.fillPolygon(regularStar(5, 7.4, 3.0)); break;
    case 209: p.outlinePolygon(regularStar(5, 7.4, 3.0)); break;
    case 210: // ＋
        p.line({8, 1.5}, {8, 14.5}, 2.0);
        p.line({1.5, 8}, {14.5, 8}, 2.0);
        break;
    case 211: // ✕
        p.line({2.2, 2.2}, {13.8, 13.8}, 2.0);
        p.line({13.8, 2.2}, {2.2, 13.8}, 2.0);
        break;
    case 212: arrow(p, -M_PI / 2); break;
    case 213: arrow(p, 0); break;
    case 214: arrow(p, M_PI / 2); break;
    case 215: arrow(p, M_PI); break;
    case 216: // ◉
        p.ring(C, 6.6, 1.2);
        p.disk(C, 3.2);
        break;
    case 217: p.fillPolygon(down); break;
    case 218: p.disk(C, 3.0); break;
    case 219: // a flag
        p.line({3.4, 1.4}, {3.4, 14.8}, 1.4);
        p.fillPolygon({{3.6, 1.6}, {13.8, 4.8}, {3.6, 8.2}});
        break;
    case 220: // ✓
        p.polyline({{2.0, 8.4}, {6.2, 12.8}, {14.0, 3.0}}, 2.0);
        break;
    }
}

bool write(const std::filesystem::path& file, const Picture& p)
{
    const std::string bytes = p.bmp();
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || std::string(argv[1]) != "--out") {
        std::fprintf(stderr, "usage: %s --out DIR\n", argv[0]);
        return 2;
    }
    const std::filesystem::path dir = argv[2];
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    bool ok = true;
    for (int n = 100; n <= 120; ++n) {
        for (auto [side, suffix] : {std::pair{16, ""}, std::pair{14, "s"}, std::pair{18, "m"}}) {
            Picture p(side);
            mapSymbol(p, n);
            ok = write(dir / (std::to_string(n) + suffix + ".bmp"), p) && ok;
        }
    }
    for (int k = 1; k <= 7; ++k) {
        Picture p(16);
        p.ring(C, 7.2);
        digit(p, k);
        ok = write(dir / ("mark" + std::to_string(k) + ".bmp"), p) && ok;
    }
    for (int n = 200; n <= 220; ++n) {
        Picture p(16);
        plainMark(p, n);
        ok = write(dir / (std::to_string(n) + ".bmp"), p) && ok;
    }
    ok = write(dir / "blank.bmp", Picture(16)) && ok;
    if (!ok) {
        std::fprintf(stderr, "%s: cannot write into %s\n", argv[0], dir.string().c_str());
        return 4;
    }
    return 0;
}
