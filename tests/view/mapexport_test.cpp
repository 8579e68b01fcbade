// The print export: the map drawn at 2400–7200 pixels keeps the proportions of the
// 1800-pixel picture (borders, paint, pen widths, text, hatches), the export writes the
// resolution and leaves no file behind when cancelled or failed.
#include "paint/paintlayer.h"
#include "support/mapfixtures.h"
#include "support/testsupport.h"
#include "tests/view/topojson_store.h"
#include "view/layers.h"
#include "view/mapexport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <png.h>

#include <cmath>
#include <map>

using namespace oboro;

namespace {

// A map and everything DrawMap reads, ready for the export.
struct Scene : DrawingScene {
    NameOptions names;
    DecorationState decorations;
    RenderHooks hooks;
    PaintRecords records;

    Scene()
    {
        sw.drawingEnabled = true;
        sw.pleaseWait = false;
        sw.CBTownPaint = false;
        sw.kokudo = false;
        sw.ken_name = false;
        installNameAndDecorationLayers(hooks, names, decorations);
        hooks.paintReplay = paintReplayLayer(records);
        tools.paintReplay = true;
    }
    MapScene scene() { return MapScene{store, view, display, sw, tools, hooks}; }
    QImage draw(int side)
    {
        DrawStatus status = DrawStatus::NotDrawn;
        QImage picture = drawMapAtSide(scene(), side, {}, &status);
        EXPECT_EQ(status, DrawStatus::Drawn) << side;
        return picture;
    }
};

uint32_t px(Color c) { return toPixel(c); }

bool isAny(const QImage& img, int x, int y, std::initializer_list<Color> colours)
{
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height())
        return false;
    const QRgb p = img.pixel(x, y);
    for (Color c : colours)
        if (p == px(c))
            return true;
    return false;
}

// Whether a k × k block of the large picture (the pixel (x, y) of the small one, with a
// margin of m pixels of the large one) holds one of the colours.
bool blockHas(const QImage& big, int k, int x, int y, int m, std::initializer_list<Color> colours)
{
    for (int yy = y * k - m; yy < (y + 1) * k + m; ++yy)
        for (int xx = x * k - m; xx < (x + 1) * k + m; ++xx)
            if (isAny(big, xx, yy, colours))
                return true;
    return false;
}

// The run of a colour across a row through (x, y).
int runAcross(const QImage& img, int x, int y, Color c)
{
    if (!isAny(img, x, y, {c}))
        return 0;
    int l = x, r = x;
    while (isAny(img, l - 1, y, {c}))
        --l;
    while (isAny(img, r + 1, y, {c}))
        ++r;
    return r - l + 1;
}

// The box of the pixels of a colour.
QRect boxOf(const QImage& img, Color c)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if (row[x] == px(c))
                box |= QRect(x, y, 1, 1);
    }
    return box;
}

struct Pixels {
    long count = 0;
    double sx = 0, sy = 0;
};
// Count and centre of every colour of a picture.
std::map<QRgb, Pixels> colourStats(const QImage& img)
{
    std::map<QRgb, Pixels> out;
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            Pixels& p = out[row[x]];
            ++p.count;
            p.sx += x;
            p.sy += y;
        }
    }
    return out;
}

} // namespace

TEST(MapExport, PrintSidesAndPrintedSizes)
{
    for (int side : {600, 1200, 1800, 2400, 4200, 7200})
        EXPECT_TRUE(isPrintSide(side)) << side;
    for (int side : {0, 599, 1000, 2500, 7800, -600})
        EXPECT_FALSE(isPrintSide(side)) << side;
    EXPECT_TRUE(isPrintDpi(300));
    EXPECT_TRUE(isPrintDpi(600));
    EXPECT_FALSE(isPrintDpi(96));

    struct Case {
        int side, dpi;
        const char* text;
    };
    for (const Case& c : {Case{2400, 300, "20.3 cm 角（A4 に収まります）"}, Case{3000, 300, "25.4 cm 角（B4 に収まります）"},
                          Case{4800, 600, "20.3 cm 角（A4 に収まります）"}, Case{6600, 600, "27.9 cm 角（A3 に収まります）"},
                          Case{7200, 600, "30.5 cm 角（A3 に収まりません）"}, Case{1800, 300, "15.2 cm 角（A4 に収まります）"}})
        EXPECT_EQ(printedSizeText(c.side, c.dpi).toStdString(), c.text) << c.side << " " << c.dpi;
}

// Real geography: 神奈川 drawn at 1800 and at 7200 pixels, with a paint record in every
// municipality, records right beside a border (the border, four times as wide at 7200,
// covers their point there) and records on the coast.
TEST(MapExport, PrintPictureHasTheBordersAndPaintOfTheScreenPicture)
{
    const std::string path = test::sharedDataDir() + "/n03-2021/s0010-N03-21_14_210101.json";
    if (!QFile::exists(QString::fromStdString(path)))
        GTEST_SKIP() << "no real data at " << path;
    Scene s;
    const test::TopoStore topo = test::loadTopoJson(path, s.store);
    ASSERT_TRUE(topo.ok);
    s.store.selectedAreas = {13};
    s.view.wgs = false; // the data is already in the displayed datum
    SetUpView(s.view, s.store, 1);
    // One record at every municipality's interior point, each in a colour of its own.
    // (Hatches are left out: a later record on a hatched region fills its lines or one
    // of its gaps, whichever its pixel is on, which no two sizes share.)
    const auto colourOf = [](int i) { return static_cast<Color>(0x200000 + 0x000301 * i); };
    for (const test::TopoMunicipality& m : topo.municipalities)
        s.records.add(PaintRecord{static_cast<int32_t>(std::lround(m.anchorX)), static_cast<int32_t>(std::lround(m.anchorY)),
                                  colourOf(s.records.count()), 0});
    // Records on background pixels of the unpainted 1800 picture whose left neighbour is
    // a municipal border: map points (the corner of a pixel, as the paint tool records
    // a click) that land on such a pixel when projected at 1800.
    {
        const PaintRecords anchors = s.records;
        s.records.clear();
        const QImage plain = s.draw(1800);
        ViewState v = s.view;
        v.sizeFactor = 3;
        const Extent kept = s.store.extent;
        RecomputeView(v, s.store);
        s.store.extent = kept;
        s.records = anchors;
        // A record whose point lands on pixel (x, y) at 1800.
        const auto addAt = [&](int x, int y) {
            for (const QPoint corner : {QPoint(x + 1, y + 1), QPoint(x, y + 1), QPoint(x + 1, y), QPoint(x, y)}) {
                const QPoint m = PixelToMap(v, corner.x(), corner.y());
                if (MapToPixel(v, m.x(), m.y()) == QPoint(x, y)) {
                    s.records.add(PaintRecord{m.x(), m.y(), colourOf(s.records.count()), 0});
                    return;
                }
            }
        };
        int seen = 0;
        for (int y = 2; y < 1798; y += 3)
            for (int x = 2; x < 1798; ++x)
                if (isAny(plain, x, y, {s.display.BackColor}) && isAny(plain, x - 1, y, {s.display.TownColor}) &&
                    isAny(plain, x + 1, y, {s.display.BackColor}) && isAny(plain, x, y + 1, {s.display.BackColor}) &&
                    isAny(plain, x + 1, y + 1, {s.display.BackColor}) && ++seen % 8 == 0 && !s.records.full())
                    addAt(x, y);
        ASSERT_GT(s.records.count(), static_cast<int>(topo.municipalities.size()) + 100);
        // And records on the coast: they fill nothing at 1800, and must not flood the sea
        // or the land at 7200, where the coast is wider than their point.
        const int before = s.records.count();
        seen = 0;
        for (int y = 2; y < 1798; y += 5)
            for (int x = 2; x < 1798; ++x)
                if (isAny(plain, x, y, {s.display.CoastColor}) && ++seen % 10 == 0 && !s.records.full())
                    addAt(x, y);
        ASSERT_GT(s.records.count(), before + 20);
    }

    const QImage small = s.draw(1800);
    const QImage big = s.draw(7200);
    ASSERT_EQ(small.size(), QSize(1800, 1800));
    ASSERT_EQ(big.size(), QSize(7200, 7200));
    const Color coast = s.display.CoastColor, town = s.display.TownColor;

    // Borders: the big picture scaled down by 4 puts them where the small one has them
    // (a one-pixel tolerance, as the two are projected and rounded each at its size).
    long lines = 0, found = 0, bigLines = 0, bigFound = 0;
    for (int y = 1; y < 1799; ++y)
        for (int x = 1; x < 1799; ++x) {
            if (isAny(small, x, y, {coast, town})) {
                ++lines;
                found += blockHas(big, 4, x, y, 2, {coast, town});
            }
            if (blockHas(big, 4, x, y, 0, {coast, town})) {
                ++bigLines;
                bool near = false;
                for (int dy = -1; dy <= 1 && !near; ++dy)
                    for (int dx = -1; dx <= 1 && !near; ++dx)
                        near = isAny(small, x + dx, y + dy, {coast, town});
                bigFound += near;
            }
        }
    ASSERT_GT(lines, 20000);
    EXPECT_GE(found, lines * 999 / 1000) << found << " of " << lines;
    EXPECT_GE(bigFound, bigLines * 999 / 1000) << bigFound << " of " << bigLines;

    // Paint: every record fills the same municipality at both sizes: as many pixels (16
    // times as many at 7200) around the same centre.
    const std::map<QRgb, Pixels> a = colourStats(small), b = colourStats(big);
    int compared = 0;
    for (int i = 0; i < s.records.count(); ++i) {
        const QRgb c = px(s.records.records()[static_cast<size_t>(i)].color);
        const auto ia = a.find(c), ib = b.find(c);
        const long na = ia == a.end() ? 0 : ia->second.count;
        const long nb = ib == b.end() ? 0 : ib->second.count;
        SCOPED_TRACE(i);
        if (na < 50) {
            EXPECT_LT(nb, 16 * 200) << "a region too small to fill at 1800 leaks at 7200";
            continue;
        }
        ++compared;
        const double scaled = static_cast<double>(nb) / 16.0;
        EXPECT_NEAR(scaled, static_cast<double>(na), 0.12 * na + 30);
        const double ax = ia->second.sx / na, ay = ia->second.sy / na;
        const double bx = ib->second.sx / nb / 4.0, by = ib->second.sy / nb / 4.0;
        EXPECT_LT(std::hypot(ax - bx, ay - by), 2.5);
    }
    EXPECT_GT(compared, static_cast<int>(topo.municipalities.size()) / 2);
    // No fill runs into the sea: as much background at both sizes.
    const long seaSmall = a.at(px(s.display.BackColor)).count, seaBig = b.at(px(s.display.BackColor)).count;
    EXPECT_NEAR(static_cast<double>(seaBig) / 16.0, static_cast<double>(seaSmall), 0.02 * seaSmall);
    // The picture on screen is left as it was: the store's extent is put back.
    EXPECT_EQ(s.view.imageSide, 600);
}

// A small fixture: a square coast, a vertical prefecture border drawn with a pen of
// width 2, a dotted municipal border, a hatched paint record and a municipality name.
TEST(MapExport, PenWidthsDotsHatchesAndTextScaleWithThePicture)
{
    Scene s;
    const auto add = [&](LineKind k, std::vector<int32_t> xy) {
        ASSERT_TRUE(s.store.line(k).append(xy.data(), static_cast<int>(xy.size() / 2)));
    };
    add(LineKind::Coast, {100000, 100000, 130000, 100000, 130000, 130000, 100000, 130000, 100000, 100000});
    add(LineKind::Pref, {115000, 100000, 115000, 130000});
    add(LineKind::Town, {100000, 115000, 115000, 115000});
    s.store.commonNames.entries.push_back(NameEntry{122000, 123000, "横浜市", 's'});
    s.store.extent = Extent{100000, 100000, 130000, 130000};
    s.store.selectedAreas = {13};
    s.view.wgs = false;
    SetUpView(s.view, s.store, 1);
    s.display.PrefWidth = 2;
    s.display.CBTownDot = true;
    s.sw.CBTownName = true;
    s.records.add(PaintRecord{107000, 107000, 0x4080C0, 2}); // horizontal lines, in the lower-left quarter
    const QImage small = s.draw(1800);
    const QImage big = s.draw(7200);

    const Color pref = s.display.PrefColor, town = s.display.TownColor, paint = 0x4080C0;
    // The prefecture border: 2 pixels wide at 1800, 8 at 7200.
    const QPoint mid1 = MapToPixel([&] {
        ViewState v = s.view;
        v.sizeFactor = 3;
        RecomputeView(v, s.store);
        return v;
    }(), 115000, 110000);
    EXPECT_EQ(runAcross(small, mid1.x(), mid1.y(), pref), 2);
    EXPECT_EQ(runAcross(big, mid1.x() * 4 + 1, mid1.y() * 4, pref), 8);

    // The dotted municipal border: dots of 1 pixel at 1800, 4 × 4 at 7200, 2 and 8 apart.
    const int ty = [&] {
        for (int y = 0; y < 1800; ++y)
            if (isAny(small, mid1.x() - 200, y, {town}) || isAny(small, mid1.x() - 201, y, {town}))
                return y;
        return -1;
    }();
    ASSERT_GT(ty, 0);
    std::vector<int> runs;
    int run = 0;
    const int by = ty * 4 + 1;
    for (int x = (mid1.x() - 300) * 4; x < (mid1.x() - 100) * 4; ++x) {
        if (isAny(big, x, by, {town}))
            ++run;
        else if (run) {
            runs.push_back(run);
            run = 0;
        }
    }
    ASSERT_GT(runs.size(), 50u);
    for (size_t i = 1; i + 1 < runs.size(); ++i)
        EXPECT_EQ(runs[i], 4) << i;

    // The hatch of the paint: lines 1 pixel thick 8 apart at 1800, 4 thick 32 apart at 7200.
    const QRect p1 = boxOf(small, paint), p4 = boxOf(big, paint);
    ASSERT_FALSE(p1.isEmpty());
    const auto rowsWith = [&](const QImage& img, int x, int from, int to) {
        std::vector<int> rows;
        for (int y = from; y < to; ++y)
            if (isAny(img, x, y, {paint}))
                rows.push_back(y);
        return rows;
    };
    const std::vector<int> r1 = rowsWith(small, p1.center().x(), p1.top(), p1.top() + 32);
    const std::vector<int> r4 = rowsWith(big, p4.center().x(), p4.top(), p4.top() + 128);
    ASSERT_EQ(r1.size(), 4u);
    EXPECT_EQ(r1[1] - r1[0], 8);
    ASSERT_EQ(r4.size(), 16u);
    EXPECT_EQ(r4[4] - r4[0], 32);
    EXPECT_EQ(r4[3] - r4[0], 3);
    // The paint fills the same quarter: 16 times the pixels.
    const long n1 = colourStats(small)[px(paint)].count, n4 = colourStats(big)[px(paint)].count;
    EXPECT_NEAR(static_cast<double>(n4) / 16.0, static_cast<double>(n1), 0.05 * n1);

    // The name (fixed size 8 on screen) is four times as tall and wide.
    const QRect t1 = boxOf(small, s.display.TownFontColor), t4 = boxOf(big, s.display.TownFontColor);
    ASSERT_FALSE(t1.isEmpty());
    EXPECT_NEAR(t4.height() / 4.0, t1.height(), 1.5);
    EXPECT_NEAR(t4.width() / 4.0, t1.width(), 2.0);
    EXPECT_NEAR(t4.center().x() / 4.0, t1.center().x(), 2.0);
}

TEST(MapExport, ExportWritesTheResolutionAndTellsItsProgress)
{
    QTemporaryDir dir;
    Scene s;
    const auto add = [&](LineKind k, std::vector<int32_t> xy) {
        ASSERT_TRUE(s.store.line(k).append(xy.data(), static_cast<int>(xy.size() / 2)));
    };
    add(LineKind::Coast, {100000, 100000, 130000, 100000, 130000, 130000, 100000, 130000, 100000, 100000});
    s.store.extent = Extent{100000, 100000, 130000, 130000};
    s.store.selectedAreas = {13};
    s.view.wgs = false;
    SetUpView(s.view, s.store, 1);

    MapExport what;
    what.side = 2400;
    what.dpi = 600;
    what.path = dir.path() + "/print.png";
    std::vector<std::string> texts;
    std::vector<int> steps;
    const ExportProgress progress = [&](int step, int total, const QString& text) {
        steps.push_back(step);
        EXPECT_LE(step, total);
        if (texts.empty() || texts.back() != text.toStdString())
            texts.push_back(text.toStdString());
        return true;
    };
    CollectingSink sink;
    ASSERT_EQ(exportMapPicture(s.scene(), what, progress, sink), ExportOutcome::Written);
    EXPECT_TRUE(sink.messages.empty());
    std::vector<std::string> expected;
    for (int k = 1; k <= kDrawStages; ++k)
        expected.push_back("地図を描いています(" + std::to_string(k) + "/" + std::to_string(kDrawStages) + ")");
    expected.push_back(QDir::toNativeSeparators(what.path).toStdString() + " を保存しています");
    EXPECT_EQ(texts, expected);
    EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end()));
    EXPECT_EQ(steps.front(), 0);
    EXPECT_EQ(steps.back(), kDrawStages + 10);

    // The file: 2400 pixels, 600 dots per inch (23622 per metre).
    FILE* f = std::fopen(what.path.toLocal8Bit().constData(), "rb");
    ASSERT_TRUE(f);
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, f);
    png_read_info(png, info);
    png_uint_32 rx = 0, ry = 0;
    int unit = -1;
    ASSERT_TRUE(png_get_pHYs(png, info, &rx, &ry, &unit));
    EXPECT_EQ(rx, 23622u);
    EXPECT_EQ(ry, 23622u);
    EXPECT_EQ(unit, PNG_RESOLUTION_METER);
    EXPECT_EQ(png_get_image_width(png, info), 2400u);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(f);
}

TEST(MapExport, CancelledOrFailedExportLeavesNoFileBehind)
{
    QTemporaryDir dir;
    Scene s;
    const std::vector<int32_t> coast = {100000, 100000, 130000, 100000, 130000, 130000, 100000, 130000, 100000, 100000};
    ASSERT_TRUE(s.store.line(LineKind::Coast).append(coast.data(), 5));
    s.store.extent = Extent{100000, 100000, 130000, 130000};
    s.store.selectedAreas = {13};
    SetUpView(s.view, s.store, 1);
    const Extent extent = s.store.extent;

    const QString path = dir.path() + "/print.png";
    test::writeFile(dir.path(), "print.png", "old");
    // Cancelled at every step in turn, for every format: the older file stays as it was,
    // no temporary file is left and nothing is told.
    for (ImageFormat format : {ImageFormat::Png, ImageFormat::Jpeg, ImageFormat::Bmp}) {
        for (int stopAt : {0, 3, kDrawStages, kDrawStages + 1, kDrawStages + 4, kDrawStages + 7, kDrawStages + 9}) {
            SCOPED_TRACE(stopAt);
            const ExportProgress progress = [&](int step, int, const QString&) { return step < stopAt; };
            CollectingSink sink;
            const MapExport what{2400, format, 300, path};
            EXPECT_EQ(exportMapPicture(s.scene(), what, progress, sink), ExportOutcome::Cancelled);
            EXPECT_TRUE(sink.messages.empty());
            EXPECT_EQ(test::readFileBytes(path.toStdString()), "old");
        }
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"print.png"});
    EXPECT_EQ(s.store.extent.minX, extent.minX);
    EXPECT_EQ(s.store.extent.maxX, extent.maxX);

    // A side that is not a print side, a folder that does not exist, a map not drawn.
    struct Case {
        int side;
        QString path;
        bool drawing;
        const char* message;
    };
    for (const Case& c : {Case{2500, dir.path() + "/a.png", true, kExportSideText},
                          Case{2400, dir.path() + "/no/folder/a.png", true, "画像ファイルを書き込めません"},
                          Case{2400, dir.path() + "/b.png", false, kExportNotDrawnText}}) {
        s.sw.drawingEnabled = c.drawing;
        CollectingSink sink;
        EXPECT_EQ(exportMapPicture(s.scene(), MapExport{c.side, ImageFormat::Png, 300, c.path}, {}, sink),
                  ExportOutcome::Failed);
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0].text.rfind(c.message, 0), 0u) << sink.messages[0].text;
        EXPECT_EQ(sink.messages[0].title, kExportErrorTitle);
        EXPECT_FALSE(QFile::exists(c.path));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"print.png"});
}
