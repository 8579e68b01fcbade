#include "view/imageexport.h"

#include "common/canvas.h"
#include "common/numbers.h"
#include "support/filesizelimit.h"
#include "support/testsupport.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <unistd.h>

#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

using namespace oboro;

namespace {

// A small map-like picture: background, borders, hatched and solid regions, a text, and
// an odd width so that BMP rows need padding.
QImage mapLikePicture(int w = 121, int h = 97)
{
    Canvas c(w, h, 0xFFFFE1);
    c.setPen(0xFF0000, 1);
    c.moveTo(0, h / 2);
    c.lineTo(w, h / 3);
    c.setPen(0x0000FF, 2);
    c.setBrush(0x00FFFF);
    c.rectangle(10, 10, w / 2, h / 2);
    c.setBrush(0x28C830, BrushStyle::DiagCross);
    c.ellipse(w / 2, h / 2, w - 5, h - 5);
    c.setBrush(0xFFFFFF);
    c.setFont(9, 0x000000);
    c.textOut(12, h - 20, "東京都");
    // A few colours that differ from their neighbours in one channel only.
    for (int x = 0; x < 20; ++x)
        c.setPixel(x + 3, 3, rgbColor(x * 13, 255 - x, x));
    return c.image();
}

QImage decode(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(false);
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

double meanAbsDifference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

QStringList filesIn(const QString& dir) { return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System); }

} // namespace

TEST(ImageExport, FilesDecodeToTheSourcePixels)
{
    const QImage source = mapLikePicture();
    QTemporaryDir dir;
    struct Case {
        ImageFormat format;
        const char* name;
        const char* readerFormat;
    };
    for (const Case& c : {Case{ImageFormat::Png, "map.png", "png"}, Case{ImageFormat::Bmp, "map.bmp", "bmp"},
                          Case{ImageFormat::Jpeg, "map.jpg", "jpeg"}}) {
        SCOPED_TRACE(c.name);
        const QString path = dir.path() + "/" + c.name;
        CollectingSink sink;
        ASSERT_TRUE(writeImageFile(source, c.format, path, sink));
        EXPECT_TRUE(sink.messages.empty());
        EXPECT_EQ(QImageReader(path).format(), c.readerFormat);
        const QImage read = decode(path);
        ASSERT_EQ(read.size(), source.size());
        if (c.format == ImageFormat::Jpeg)
            EXPECT_LT(meanAbsDifference(read, source), 3.0);
        else
            EXPECT_EQ(read, source.convertToFormat(QImage::Format_RGB32));
    }

    // The file layouts asked for: PNG with a palette of 8 bits (the picture has fewer
    // than 257 colours, more than 16), BMP 24 bits, JPEG baseline (SOF0, no progressive SOF2).
    const std::string png = test::readFileBytes((dir.path() + "/map.png").toStdString());
    ASSERT_GT(png.size(), 26u);
    EXPECT_EQ(png[24], 8); // bit depth
    EXPECT_EQ(png[25], 3); // colour type palette
    const std::string bmp = test::readFileBytes((dir.path() + "/map.bmp").toStdString());
    ASSERT_GT(bmp.size(), 54u);
    EXPECT_EQ(bmp[28], 24);
    EXPECT_EQ(bmp.size(), 54u + ((121 * 3 + 3) & ~3u) * 97);
    const std::string jpg = test::readFileBytes((dir.path() + "/map.jpg").toStdString());
    EXPECT_NE(jpg.find("\xFF\xC0"), std::string::npos);
    EXPECT_EQ(jpg.find("\xFF\xC2"), std::string::npos);
}

TEST(ImageExport, ExtensionIsAppendedOnlyWhenTheNameHasNone)
{
    struct Case {
        const char* chosen;
        ImageFormat format;
        const char* written;
    };
    for (const Case& c : {
             Case{"/tmp/map", ImageFormat::Png, "/tmp/map.png"},
             Case{"/tmp/map", ImageFormat::Jpeg, "/tmp/map.jpg"},
             Case{"/tmp/map", ImageFormat::Bmp, "/tmp/map.bmp"},
             Case{"/tmp/map.jpeg", ImageFormat::Png, "/tmp/map.jpeg"},
             Case{"/tmp/地図.PNG", ImageFormat::Bmp, "/tmp/地図.PNG"},
             Case{"/tmp/maps.v2/map", ImageFormat::Png, "/tmp/maps.v2/map.png"},
             Case{"/tmp/.map", ImageFormat::Png, "/tmp/.map.png"},
             Case{"/tmp/map.", ImageFormat::Png, "/tmp/map.png"},
         })
        EXPECT_EQ(withImageExtension(QString::fromUtf8(c.chosen), c.format), QString::fromUtf8(c.written)) << c.chosen;
}

TEST(ImageExport, WriteFailuresAreReportedAndLeaveNoFileBehind)
{
    const QImage source = mapLikePicture(300, 300);
    QTemporaryDir dir;

    // No such folder (its parent is a file).
    test::writeFile(dir.path(), "notafolder", "x");
    CollectingSink sink;
    EXPECT_FALSE(writeImageFile(source, ImageFormat::Png, dir.path() + "/notafolder/map.png", sink));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].title, "画像保存エラー");
    EXPECT_EQ(sink.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(sink.messages[0].text.rfind("画像ファイルを書き込めません\n", 0), 0u);
    EXPECT_NE(sink.messages[0].text.find("notafolder/map.png"), std::string::npos);

    // A full disk, for each format, over an older file of the same name: the old file is
    // kept whole and no temporary file is left.
    for (ImageFormat format : {ImageFormat::Png, ImageFormat::Jpeg, ImageFormat::Bmp}) {
        const QString path = dir.path() + "/map." + imageExtension(format);
        test::writeFile(dir.path(), ("map." + imageExtension(format)).toStdString(), "old");
        CollectingSink full;
        {
            test::FileSizeLimit limit(1000);
            ASSERT_TRUE(limit.active());
            EXPECT_FALSE(writeImageFile(source, format, path, full));
        }
        ASSERT_EQ(full.messages.size(), 1u);
        EXPECT_NE(full.messages[0].text.find("ディスクの空き容量"), std::string::npos);
        EXPECT_EQ(test::readFileBytes(path.toStdString()), "old");
    }
    EXPECT_EQ(filesIn(dir.path()), (QStringList{"map.bmp", "map.jpg", "map.png", "notafolder"}));

    // A picture that cannot be encoded gives its own message and writes nothing.
    CollectingSink empty;
    EXPECT_FALSE(writeImageFile(QImage(), ImageFormat::Png, dir.path() + "/empty.png", empty));
    ASSERT_EQ(empty.messages.size(), 1u);
    EXPECT_NE(empty.messages[0].text.find("PNG形式に変換できませんでした"), std::string::npos);
    EXPECT_FALSE(QFile::exists(dir.path() + "/empty.png"));
}

TEST(ImageExport, SaveMapImageFollowsDialogExtensionWaitAndSize)
{
    QTemporaryDir dir;
    const QImage onScreen = mapLikePicture(600, 600);
    std::vector<std::string> events;
    ExportHooks hooks;
    std::optional<QString> answer;
    hooks.setFormat = [&](ImageFormat f) { events.push_back("format " + imageExtension(f).toStdString()); };
    hooks.askFileName = [&](ImageFormat, const QString& filter) {
        events.push_back("dialog " + filter.toStdString());
        return answer;
    };
    hooks.showWait = [&](const QString& t) { events.push_back("wait " + t.mid(dir.path().size()).toStdString()); };
    hooks.hideWait = [&] { events.push_back("hide"); };
    hooks.currentPicture = [&] { return onScreen; };
    hooks.drawPicture = [&](int side, const std::function<void(int, int)>&) {
        events.push_back("draw " + std::to_string(side));
        return mapLikePicture(side, side);
    };
    CollectingSink sink;

    // Cancelled dialog: nothing written, no please-wait window.
    EXPECT_EQ(SaveMapImage(ImageFormat::Png, {}, hooks, sink).outcome, SaveOutcome::Cancelled);
    EXPECT_EQ(events, (std::vector<std::string>{"format png", "dialog PNGファイル (*.png)|*.png"}));
    EXPECT_TRUE(filesIn(dir.path()).isEmpty());

    // Size factor 1: the picture as it stands, under the name with its extension.
    events.clear();
    answer = dir.path() + "/map";
    SaveResult r = SaveMapImage(ImageFormat::Png, {0, 1}, hooks, sink);
    EXPECT_EQ(r.outcome, SaveOutcome::Saved);
    EXPECT_EQ(r.path, dir.path() + "/map.png");
    EXPECT_EQ(events, (std::vector<std::string>{"format png", "dialog PNGファイル (*.png)|*.png",
                                                "wait /map.png を保存しています", "hide"}));
    EXPECT_EQ(decode(r.path), onScreen);

    // 1200 with reduction ×1/2: side 600, drawn at its size (not the screen picture).
    events.clear();
    answer = dir.path() + "/big.bmp";
    r = SaveMapImage(ImageFormat::Bmp, {1, 2}, hooks, sink);
    EXPECT_EQ(r.outcome, SaveOutcome::Saved);
    EXPECT_EQ(events[3], "draw 600");
    EXPECT_EQ(decode(r.path), mapLikePicture(600, 600));
    EXPECT_TRUE(sink.messages.empty());

    // A failed write: reported, wait window hidden, outcome Failed.
    events.clear();
    answer = dir.path() + "/nofolder/map";
    r = SaveMapImage(ImageFormat::Jpeg, {0, 1}, hooks, sink);
    EXPECT_EQ(r.outcome, SaveOutcome::Failed);
    EXPECT_EQ(events.back(), "hide");
    EXPECT_EQ(sink.messages.size(), 1u);
}

TEST(ImageExport, CopyMapImageShowsTileProgressAboveSixHundredPixels)
{
    const QImage onScreen = mapLikePicture(300, 300);
    std::vector<std::string> events;
    QImage copied;
    ExportHooks hooks;
    hooks.showWait = [&](const QString& t) { events.push_back(t.toStdString()); };
    hooks.hideWait = [&] { events.push_back("hide"); };
    hooks.showMapImage = [&](bool v) { events.push_back(v ? "show map" : "hide map"); };
    hooks.uncheckCentre = [&] { events.push_back("centre off"); };
    hooks.currentPicture = [&] { return onScreen; };
    hooks.drawPicture = [&](int side, const std::function<void(int, int)>& progress) {
        events.push_back("draw " + std::to_string(side));
        for (int k = 1; k <= 4; ++k) // the renderer reports its own steps
            progress(k, 4);
        return QImage(side, side, QImage::Format_RGB32);
    };
    hooks.putOnClipboard = [&](const QImage& image) {
        events.push_back("clipboard");
        copied = image;
    };

    bool used = false;
    CopyMapImage({2, 1}, hooks, used);
    EXPECT_TRUE(used);
    EXPECT_EQ(copied.width(), 1800);
    std::vector<std::string> progress;
    for (const std::string& e : events)
        if (e.rfind("地図を描いています", 0) == 0)
            progress.push_back(e);
    std::vector<std::string> expected;
    for (int k = 1; k <= 9; ++k)
        expected.push_back("地図を描いています(" + std::to_string(k) + "/9)");
    EXPECT_EQ(progress, expected);
    EXPECT_EQ(events.front(), "centre off");
    EXPECT_EQ(events[1], "hide map");
    EXPECT_EQ(std::vector<std::string>(events.end() - 4, events.end()),
              (std::vector<std::string>{"クリップボードにコピーしています", "clipboard", "show map", "hide"}));

    // 1200 with reduction ×1/2 is 600 pixels: copied in one piece as it stands.
    events.clear();
    used = false;
    CopyMapImage({1, 2}, hooks, used);
    EXPECT_TRUE(used);
    EXPECT_EQ(events, (std::vector<std::string>{"centre off", "clipboard", "hide"}));
    EXPECT_EQ(copied, onScreen);
}

TEST(ImageExport, RangeSquareCopiesThePixelsOfTheSquare)
{
    const QImage picture = mapLikePicture(100, 80);
    QImage copied;
    ExportHooks hooks;
    hooks.redrawWithoutRubberBand = [&] { return picture; };
    hooks.putOnClipboard = [&](const QImage& image) { copied = image; };
    CopyRangeSquare(10, 20, 30, hooks);
    EXPECT_EQ(copied, picture.copy(10, 20, 30, 30));

    // Partly outside the picture: the outside is white.
    const QImage edge = rangeSquare(picture, 90, 70, 20);
    ASSERT_EQ(edge.size(), QSize(20, 20));
    EXPECT_EQ(edge.pixel(0, 0), picture.pixel(90, 70));
    EXPECT_EQ(edge.pixel(9, 9), picture.pixel(99, 79));
    EXPECT_EQ(edge.pixel(10, 0), qRgb(255, 255, 255));
    EXPECT_EQ(edge.pixel(0, 10), qRgb(255, 255, 255));
}

TEST(ImageExport, SystemClipboardReceivesThePicture)
{
    const QImage picture = mapLikePicture(40, 40);
    putImageOnClipboard(picture);
    const QImage back = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(back, picture);
    clearClipboard();
    EXPECT_TRUE(QGuiApplication::clipboard()->image().isNull());
}

TEST(ImageExport, ReadOnlyFolderIsReported)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser may write into read-only folders";
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    CollectingSink sink;
    const bool written = writeImageFile(mapLikePicture(), ImageFormat::Bmp, dir.path() + "/map.bmp", sink);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(written);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_NE(sink.messages[0].text.find("書き込み権限"), std::string::npos);
    EXPECT_TRUE(filesIn(dir.path()).isEmpty());
}

namespace {

// A picture of n colours (n ≥ 1): runs of each colour, every colour present, an odd width.
QImage colourPicture(int n, int w = 37, int h = 23)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int i = (y * w + x) / 3 % n;
            img.setPixel(x, y, qRgb(i & 0xFF, (i * 53) & 0xFF, i >> 8 ? 200 : 100));
        }
    return img;
}

// A truecolour picture: a smooth gradient of many colours, as a photograph or a JPEG gives.
QImage gradientPicture(int w = 64, int h = 48)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x * 4, y * 5, (x + y) * 2));
    return img;
}

QImage decodeBytes(const std::string& bytes)
{
    QImage img;
    img.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()));
    return img.convertToFormat(QImage::Format_RGB32);
}

// The header of a PNG file read with libpng: depth, colour type, resolution.
struct PngHeader {
    int depth = 0, colourType = -1;
    png_uint_32 ppmX = 0, ppmY = 0;
    int unit = -1;
    std::vector<int> filters; // the filter byte of each row
};
PngHeader readPngHeader(const std::string& bytes)
{
    PngHeader h;
    struct Reader {
        const std::string* bytes;
        size_t at = 8;
    } reader{&bytes};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_read_fn(png, &reader, [](png_structp p, png_bytep out, png_size_t n) {
        auto* r = static_cast<Reader*>(png_get_io_ptr(p));
        if (r->at + n > r->bytes->size())
            png_error(p, "short");
        std::memcpy(out, r->bytes->data() + r->at, n);
        r->at += n;
    });
    if (bytes.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8) != 0 ||
        setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return h;
    }
    png_set_sig_bytes(png, 8);
    png_read_info(png, info);
    h.depth = png_get_bit_depth(png, info);
    h.colourType = png_get_color_type(png, info);
    png_get_pHYs(png, info, &h.ppmX, &h.ppmY, &h.unit);
    png_destroy_read_struct(&png, &info, nullptr);

    // The filter bytes: the IDAT chunks inflated.
    std::string idat;
    int rowBytes = 0, rows = 0;
    for (size_t at = 8; at + 8 <= bytes.size();) {
        const auto be = [&](size_t i) {
            return static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << 24 |
                   static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 16 |
                   static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 2])) << 8 |
                   static_cast<unsigned char>(bytes[i + 3]);
        };
        const uint32_t len = be(at);
        const std::string type = bytes.substr(at + 4, 4);
        if (type == "IHDR") {
            const int channels = h.colourType == 2 ? 3 : 1;
            rowBytes = static_cast<int>((be(at + 8) * channels * h.depth + 7) / 8);
            rows = static_cast<int>(be(at + 12));
        }
        if (type == "IDAT")
            idat += bytes.substr(at + 8, len);
        at += 12 + len;
    }
    std::vector<unsigned char> raw(static_cast<size_t>(rows) * (rowBytes + 1));
    uLongf n = static_cast<uLongf>(raw.size());
    if (uncompress(raw.data(), &n, reinterpret_cast<const Bytef*>(idat.data()), static_cast<uLong>(idat.size())) == Z_OK)
        for (int y = 0; y < rows; ++y)
            h.filters.push_back(raw[static_cast<size_t>(y) * (rowBytes + 1)]);
    return h;
}

} // namespace

TEST(ImageExport, PicturesOfFewColoursAreWrittenWithTheSmallestPalette)
{
    struct Case {
        int colours, depth;
    };
    for (const Case& c : {Case{1, 1}, Case{2, 1}, Case{3, 2}, Case{4, 2}, Case{5, 4}, Case{16, 4}, Case{17, 8},
                          Case{200, 8}, Case{256, 8}}) {
        SCOPED_TRACE(c.colours);
        const QImage source = colourPicture(c.colours);
        const std::optional<std::string> png = encodePng(source);
        ASSERT_TRUE(png);
        const PngHeader h = readPngHeader(*png);
        EXPECT_EQ(h.colourType, PNG_COLOR_TYPE_PALETTE);
        EXPECT_EQ(h.depth, c.depth);
        EXPECT_EQ(decodeBytes(*png), source);
    }
    // More than 256 colours, and a gradient: truecolour, still exact.
    for (const QImage& source : {colourPicture(257), gradientPicture()}) {
        const std::optional<std::string> png = encodePng(source);
        ASSERT_TRUE(png);
        const PngHeader h = readPngHeader(*png);
        EXPECT_EQ(h.colourType, PNG_COLOR_TYPE_RGB);
        EXPECT_EQ(h.depth, 8);
        EXPECT_EQ(decodeBytes(*png), source);
    }
    // A palette can be refused.
    PngOptions truecolour;
    truecolour.palette = false;
    EXPECT_EQ(readPngHeader(*encodePng(colourPicture(3), truecolour)).colourType, PNG_COLOR_TYPE_RGB);
}

TEST(ImageExport, LargePicturesKeepTheSmallerOfTheTwoRowForms)
{
    // Above a million pixels the rows are deflated unfiltered or Up-filtered, whichever is
    // smaller. Rows that each differ from the one above by the same step everywhere favour
    // the Up form, diagonal hatching the unfiltered one; either way the file decodes to
    // the picture.
    std::mt19937 rng(5);
    std::vector<int> start(1100);
    for (int& s : start)
        s = static_cast<int>(rng() % 200);
    Canvas lines(1100, 1000, 0xFFFFE1);
    for (int y = 0; y < 1000; ++y)
        for (int x = 0; x < 1100; ++x)
            lines.setPixel(x, y, 0x102030 + static_cast<Color>((start[static_cast<size_t>(x)] + y) % 200));
    Canvas hatched(1100, 1000, 0xFFFFE1);
    hatched.setBrush(0x4080C0, BrushStyle::DiagCross);
    hatched.fillRect(0, 0, 1100, 1000);

    struct Case {
        const Canvas* picture;
        bool upRuns;
        int filter;
    };
    for (const Case& c : {Case{&lines, true, 2}, Case{&lines, false, 0}, Case{&hatched, true, 0}}) {
        PngOptions o;
        o.upRuns = c.upRuns;
        const std::optional<std::string> png = encodePng(c.picture->image(), o);
        ASSERT_TRUE(png);
        const PngHeader h = readPngHeader(*png);
        ASSERT_EQ(h.filters.size(), 1000u);
        EXPECT_EQ(h.filters[1], c.filter);
        EXPECT_EQ(decodeBytes(*png), c.picture->image());
    }
    PngOptions unfiltered;
    unfiltered.upRuns = false;
    EXPECT_LT(encodePng(lines.image())->size(), encodePng(lines.image(), unfiltered)->size());
}

TEST(ImageExport, TheResolutionIsWrittenIntoEveryFormat)
{
    struct Case {
        int dpi;
        uint32_t perMetre;
    };
    for (const Case& c : {Case{96, 3780}, Case{300, 11811}, Case{600, 23622}}) {
        SCOPED_TRACE(c.dpi);
        EXPECT_EQ(pixelsPerMetre(c.dpi), c.perMetre);
        EncodeOptions o;
        o.dpi = c.dpi;
        // PNG, with a palette and truecolour, read with libpng.
        for (const QImage& source : {mapLikePicture(), gradientPicture()}) {
            const PngHeader h = readPngHeader(*encodePng(source, {}, o));
            EXPECT_EQ(h.ppmX, c.perMetre);
            EXPECT_EQ(h.ppmY, c.perMetre);
            EXPECT_EQ(h.unit, PNG_RESOLUTION_METER);
        }
        // JPEG: the JFIF density in dots per inch, read with libjpeg.
        const std::string jpg = *encodeJpeg(mapLikePicture(), 90, o);
        jpeg_decompress_struct cinfo;
        jpeg_error_mgr err;
        cinfo.err = jpeg_std_error(&err);
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(jpg.data()), static_cast<unsigned long>(jpg.size()));
        ASSERT_EQ(jpeg_read_header(&cinfo, TRUE), JPEG_HEADER_OK);
        EXPECT_TRUE(cinfo.saw_JFIF_marker);
        EXPECT_EQ(cinfo.density_unit, 1);
        EXPECT_EQ(cinfo.X_density, c.dpi);
        EXPECT_EQ(cinfo.Y_density, c.dpi);
        jpeg_destroy_decompress(&cinfo);
        // BMP: pixels per metre in the info header.
        const std::string bmp = *encodeBmp(mapLikePicture(), o);
        for (size_t at : {size_t(38), size_t(42)}) {
            uint32_t v = 0;
            for (int i = 3; i >= 0; --i)
                v = v << 8 | static_cast<unsigned char>(bmp[at + static_cast<size_t>(i)]);
            EXPECT_EQ(v, c.perMetre);
        }
    }
}

TEST(ImageExport, StoppedEncodingWritesNothing)
{
    QTemporaryDir dir;
    const QImage source = mapLikePicture(300, 700);
    for (ImageFormat format : {ImageFormat::Png, ImageFormat::Jpeg, ImageFormat::Bmp}) {
        SCOPED_TRACE(imageExtension(format).toStdString());
        const QString path = dir.path() + "/map." + imageExtension(format);
        test::writeFile(dir.path(), ("map." + imageExtension(format)).toStdString(), "old");
        std::vector<int> told;
        EncodeOptions o;
        o.progress = [&](int done, int total) {
            EXPECT_LE(done, total);
            told.push_back(done);
            return done < total / 3;
        };
        CollectingSink sink;
        EXPECT_EQ(writeImage(source, format, path, o, sink), WriteOutcome::Cancelled);
        EXPECT_TRUE(sink.messages.empty());
        EXPECT_EQ(test::readFileBytes(path.toStdString()), "old");
        ASSERT_GE(told.size(), 2u);
        EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
        // Going on to the end writes the file.
        o.progress = [](int, int) { return true; };
        EXPECT_EQ(writeImage(source, format, path, o, sink), WriteOutcome::Written);
        EXPECT_EQ(decode(path).size(), source.size());
    }
    EXPECT_EQ(filesIn(dir.path()), (QStringList{"map.bmp", "map.jpg", "map.png"}));
}
