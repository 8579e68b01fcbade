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
#include <unistd.h>

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

    // The file layouts asked for: PNG truecolour 8 bits without alpha, BMP 24 bits,
    // JPEG baseline (SOF0, no progressive SOF2).
    const std::string png = test::readFileBytes((dir.path() + "/map.png").toStdString());
    ASSERT_GT(png.size(), 26u);
    EXPECT_EQ(png[24], 8); // bit depth
    EXPECT_EQ(png[25], 2); // colour type RGB
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
