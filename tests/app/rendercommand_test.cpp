#include "app/rendercommand.h"

#include "common/paths.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace oboro;

namespace {

QStringList split(const char* line) { return QString::fromUtf8(line).split(QLatin1Char(' '), Qt::SkipEmptyParts); }

// Keeps the program folder of the other tests.
struct ProgramFolderGuard {
    QString saved = programFolder();
    ~ProgramFolderGuard() { setProgramFolder(saved); }
};

} // namespace

TEST(RenderCommand, ParsesEveryOption)
{
    const RenderArguments a = parseRenderArguments(
        split("--areas 14,13,14 --size 1800 --reduce=2 --tokyo-datum --no-names --folder /data --out m.JPEG"));
    ASSERT_TRUE(a.options) << a.error;
    const RenderOptions& o = *a.options;
    EXPECT_EQ(o.areas, (std::vector<int>{13, 14}));
    EXPECT_EQ(o.size, 1800);
    EXPECT_EQ(o.reduce, 2);
    EXPECT_EQ(o.imageSide(), 900);
    EXPECT_TRUE(o.tokyoDatum);
    EXPECT_TRUE(o.noNames);
    EXPECT_EQ(o.folder, "/data");
    EXPECT_EQ(o.out, "m.JPEG");
    EXPECT_EQ(o.format, ImageFormat::Jpeg);

    const RenderArguments d = parseRenderArguments(split("--out a.bmp --areas 1"));
    ASSERT_TRUE(d.options);
    EXPECT_EQ(d.options->size, 600);
    EXPECT_EQ(d.options->reduce, 1);
    EXPECT_EQ(d.options->dpiInEffect(), 96);
    EXPECT_FALSE(d.options->tokyoDatum);
    EXPECT_EQ(d.options->format, ImageFormat::Bmp);
    EXPECT_TRUE(parseRenderArguments(split("--help")).help);
}

TEST(RenderCommand, PrintSizesAndResolution)
{
    struct Case {
        const char* args;
        int side, dpi;
    };
    for (const Case& c : {Case{"--size 7200", 7200, 300}, Case{"--size 2400 --dpi 600", 2400, 600},
                          Case{"--size 4800 --reduce 2", 2400, 300}, Case{"--size 1800 --dpi 300", 1800, 300},
                          Case{"--size 1200", 1200, 96}}) {
        const RenderArguments a = parseRenderArguments(split(c.args) << "--areas" << "13" << "--out" << "m.png");
        ASSERT_TRUE(a.options) << c.args << ": " << a.error;
        EXPECT_EQ(a.options->imageSide(), c.side) << c.args;
        EXPECT_EQ(a.options->dpiInEffect(), c.dpi) << c.args;
    }

    // The resolution goes into the file.
    ProgramFolderGuard guard;
    QTemporaryDir dir;
    const RenderDrawer draw = [](const RenderOptions& o, MessageSink&) -> std::optional<QImage> {
        QImage image(o.imageSide(), o.imageSide(), QImage::Format_RGB32);
        image.fill(qRgb(255, 255, 225));
        return image;
    };
    for (const char* dpi : {"300", "600"}) {
        const QString out = dir.path() + "/print" + dpi + ".png";
        CollectingSink sink;
        const QStringList args = split("--areas 13 --size 2400 --dpi") << dpi << "--folder" << dir.path() << "--out" << out;
        ASSERT_EQ(runRenderCommand(args, sink, draw), kRenderOk);
        const QImage written = QImageReader(out).read();
        EXPECT_EQ(written.size(), QSize(2400, 2400));
        EXPECT_EQ(written.dotsPerMeterX(), static_cast<int>(pixelsPerMetre(QString(dpi).toInt())));
    }
}

TEST(RenderCommand, BadArgumentsGiveAClearMessage)
{
    struct Case {
        const char* args;
        const char* message;
    };
    for (const Case& c : {
             Case{"--out m.png", "--areas で描く地域の番号を指定してください"},
             Case{"--areas 13", "--out で出力ファイルを指定してください"},
             Case{"--areas 0,13 --out m.png", "地域番号は 1 から 52 までの整数です: 0"},
             Case{"--areas 53 --out m.png", "地域番号は 1 から 52 までの整数です: 53"},
             Case{"--areas 13,,14 --out m.png", "地域番号は 1 から 52 までの整数です: "},
             Case{"--areas 1x --out m.png", "地域番号は 1 から 52 までの整数です: 1x"},
             Case{"--areas 99999999999 --out m.png", "地域番号は 1 から 52 までの整数です: 99999999999"},
             Case{"--areas 13 --size 900 --out m.png", "--size は 600 から 7200 までの 600 の倍数です: 900"},
             Case{"--areas 13 --size 7800 --out m.png", "--size は 600 から 7200 までの 600 の倍数です: 7800"},
             Case{"--areas 13 --dpi 72 --out m.png", "--dpi は 300 か 600 です: 72"},
             Case{"--areas 13 --reduce 6 --out m.png", "--reduce は 1 から 5 までの整数です: 6"},
             Case{"--areas 13 --reduce --out m.png", "--reduce は 1 から 5 までの整数です: --out"},
             Case{"--areas 13 --out m.gif", "出力ファイルの拡張子は .png, .jpg, .bmp のいずれかにしてください: m.gif"},
             Case{"--areas 13 --out map", "出力ファイルの拡張子は .png, .jpg, .bmp のいずれかにしてください: map"},
             Case{"--areas 13 --out", "--out の値がありません"},
             Case{"--areas 13 --out m.png --colour red", "不明なオプションです: --colour"},
             Case{"--areas 13 --out m.png extra", "余分な引数があります: extra"},
             Case{"--areas 13 --out m.png --no-names=1", "--no-names は値をとりません"},
         }) {
        const RenderArguments a = parseRenderArguments(split(c.args));
        EXPECT_FALSE(a.options) << c.args;
        EXPECT_EQ(a.error, c.message) << c.args;
    }
}

TEST(RenderCommand, ExitStatusAndOutputFile)
{
    ProgramFolderGuard guard;
    QTemporaryDir dir;
    CollectingSink sink;
    const QString out = dir.path() + "/map.png";
    const QString args = "--areas 13 --size 1200 --reduce 3 --folder " + dir.path() + " --out " + out;
    int drawnSide = 0;
    QString drawnFolder;
    const RenderDrawer draw = [&](const RenderOptions& o, MessageSink&) -> std::optional<QImage> {
        drawnSide = o.imageSide();
        drawnFolder = programFolder();
        QImage image(drawnSide, drawnSide, QImage::Format_RGB32);
        image.fill(qRgb(255, 255, 225));
        return image;
    };
    EXPECT_EQ(runRenderCommand(args.split(' '), sink, draw), kRenderOk);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(drawnSide, 400);
    EXPECT_EQ(drawnFolder, dir.path());
    const QImage written = QImageReader(out).read();
    EXPECT_EQ(written.size(), QSize(400, 400));

    // Bad arguments: status 2 with the message and the usage.
    EXPECT_EQ(runRenderCommand(split("--areas 13"), sink, draw), kRenderBadArguments);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text.rfind("--out で出力ファイルを指定してください\n使い方: oboro render", 0), 0u);

    // A folder that does not exist.
    sink.messages.clear();
    EXPECT_EQ(runRenderCommand(split("--areas 13 --folder /no/such/folder --out m.png"), sink, draw),
              kRenderBadArguments);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "フォルダがありません: /no/such/folder");

    // A drawing that fails (unreadable data): status 3, nothing written.
    sink.messages.clear();
    const QString failedOut = dir.path() + "/none.png";
    const RenderDrawer fails = [](const RenderOptions&, MessageSink& s) -> std::optional<QImage> {
        s.show("地図ファイルを読み込めません", "ファイルエラー", MessageIcon::Exclamation);
        return std::nullopt;
    };
    EXPECT_EQ(runRenderCommand(split("--areas 13 --out x.png") << "--out" << failedOut, sink, fails), kRenderNoData);
    EXPECT_EQ(sink.messages.size(), 1u);
    EXPECT_FALSE(QFile::exists(failedOut));

    // An output that cannot be written: status 4.
    sink.messages.clear();
    EXPECT_EQ(runRenderCommand(split("--areas 13 --out") << dir.path() + "/no/folder/m.png", sink, draw),
              kRenderWriteFailed);
    EXPECT_EQ(sink.messages.size(), 1u);
}

namespace {

// A program folder with one small map file for area 13: a square coast and a
// prefecture border across it.
QString fixtureFolder(const QTemporaryDir& dir)
{
    test::writeSjisFile(dir.path(), "MAPDATA/13.MAP",
                        "C,0,5\r\n175000,175500,176000,175500,176000,176500,175000,176500,175000,175500\r\n"
                        "P,0,2\r\n175500,175500,175500,176500\r\n"
                        "A,175300,176000,新宿区\r\n");
    test::writeSjisFile(dir.path(), "MAPDATA/OfficeLoc/13市町村役場.lbl", "");
    return dir.path();
}

int countColour(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour ? 1 : 0;
    return n;
}

} // namespace

TEST(RenderCommand, DrawsTheAreasOfTheProgramFolder)
{
    ProgramFolderGuard guard;
    QTemporaryDir dir;
    const QString folder = fixtureFolder(dir);
    const QRgb coast = qRgb(0, 0, 255), pref = qRgb(255, 0, 0), back = qRgb(225, 255, 255);
    CollectingSink sink;

    const QString wgsOut = dir.path() + "/wgs.bmp";
    ASSERT_EQ(runRenderCommand(QStringList{"--areas", "13", "--reduce", "2", "--folder", folder, "--out", wgsOut}, sink),
              kRenderOk)
        << (sink.messages.empty() ? "" : sink.messages[0].text);
    const QImage wgs = QImageReader(wgsOut).read().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(wgs.size(), QSize(300, 300));
    EXPECT_EQ(wgs.pixel(0, 0), back);
    // The coast square fills most of the picture (3 % margin); the border crosses it.
    EXPECT_GT(countColour(wgs, coast), 4 * 250);
    EXPECT_GT(countColour(wgs, pref), 200);

    // In the Tokyo datum the same lines land elsewhere.
    const QString tokyoOut = dir.path() + "/tokyo.png";
    ASSERT_EQ(runRenderCommand(QStringList{"--areas", "13", "--reduce", "2", "--tokyo-datum", "--folder", folder,
                                           "--out", tokyoOut},
                               sink),
              kRenderOk);
    const QImage tokyo = QImageReader(tokyoOut).read().convertToFormat(QImage::Format_RGB32);
    EXPECT_GT(countColour(tokyo, coast), 4 * 250);
    EXPECT_NE(tokyo, wgs);

    // --no-names leaves the municipality name out: fewer black pixels, same lines.
    const QString namesOut = dir.path() + "/names.bmp", noNamesOut = dir.path() + "/nonames.bmp";
    ASSERT_EQ(runRenderCommand(QStringList{"--areas", "13", "--folder", folder, "--out", namesOut}, sink), kRenderOk);
    ASSERT_EQ(runRenderCommand(QStringList{"--areas", "13", "--no-names", "--folder", folder, "--out", noNamesOut}, sink),
              kRenderOk);
    const QImage named = QImageReader(namesOut).read().convertToFormat(QImage::Format_RGB32);
    const QImage unnamed = QImageReader(noNamesOut).read().convertToFormat(QImage::Format_RGB32);
    EXPECT_GT(countColour(named, qRgb(0, 0, 0)), countColour(unnamed, qRgb(0, 0, 0)) + 20);
    EXPECT_EQ(countColour(named, coast), countColour(unnamed, coast));

    // A print size: the 1800 picture enlarged twice, lines 2 pixels wide (4 times the
    // pixels of the prefecture border across the middle) and the texts twice as large.
    const QString screenOut = dir.path() + "/1800.png", printOut = dir.path() + "/3600.png";
    ASSERT_EQ(runRenderCommand(QStringList{"--areas", "13", "--size", "1800", "--folder", folder, "--out", screenOut}, sink),
              kRenderOk);
    ASSERT_EQ(runRenderCommand(QStringList{"--areas", "13", "--size", "3600", "--folder", folder, "--out", printOut}, sink),
              kRenderOk);
    const QImage screen = QImageReader(screenOut).read().convertToFormat(QImage::Format_RGB32);
    const QImage print = QImageReader(printOut).read().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(print.size(), QSize(3600, 3600));
    EXPECT_NEAR(countColour(print, pref) / 4.0, countColour(screen, pref), countColour(screen, pref) * 0.02);
    EXPECT_NEAR(countColour(print, qRgb(0, 0, 0)) / 4.0, countColour(screen, qRgb(0, 0, 0)),
                countColour(screen, qRgb(0, 0, 0)) * 0.3);

    // An area whose map file is missing: status 3, the loader's message, no file.
    sink.messages.clear();
    const QString missingOut = dir.path() + "/missing.png";
    EXPECT_EQ(runRenderCommand(QStringList{"--areas", "13,14", "--folder", folder, "--out", missingOut}, sink),
              kRenderNoData);
    ASSERT_FALSE(sink.messages.empty());
    EXPECT_EQ(sink.messages.back().text.rfind("地図データファイルが見つかりません\n", 0), 0u);
    EXPECT_NE(sink.messages.back().text.find("14.MAP"), std::string::npos);
    EXPECT_FALSE(QFile::exists(missingOut));
}

namespace {

// Black text pixels in the credit's corner (the map has no other black there).
int creditInk(const QImage& map)
{
    int n = 0;
    for (int y = 5; y < 20; ++y)
        for (int x = 5; x < 300; ++x)
            n += map.pixel(x, y) == qRgb(0, 0, 0);
    return n;
}

} // namespace

TEST(RenderCommand, DrawsTheBundledMapDataWithItsCredit)
{
    ProgramFolderGuard guard;
    const QString folder = test::bundledDataDir();
    QTemporaryDir dir;
    const QString out = dir.path() + "/kanagawa-yamanashi.png";
    CollectingSink sink;
    ASSERT_EQ(runRenderCommand(QStringList{"--areas", "13,14", "--size", "1200", "--folder", folder, "--out", out}, sink),
              kRenderOk)
        << (sink.messages.empty() ? "" : sink.messages[0].text);
    const QImage map = QImageReader(out).read().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(map.size(), QSize(1200, 1200));
    // Kanagawa's coast (blue), the prefecture borders (red), the municipal borders and
    // the wards of Yokohama, Kawasaki and Sagamihara.
    EXPECT_GT(countColour(map, qRgb(0, 0, 255)), 1500);
    EXPECT_GT(countColour(map, qRgb(255, 0, 0)), 2000);
    EXPECT_GT(countColour(map, qRgb(0x30, 0xC8, 0x28)), 5000); // TownColor 2672688
    EXPECT_GT(countColour(map, qRgb(0x8B, 0xC4, 0x8F)), 500);  // KuColor 9421963
    // The credit the data asks for, from its SOURCE.txt.
    EXPECT_GT(creditInk(map), 100);

    // The same map files without SOURCE.txt: no credit.
    QTemporaryDir bare;
    QDir().mkpath(bare.path() + "/mapdata/OfficeLoc");
    for (const char* f : {"13.MAP", "14.MAP", "CITYLIST.TXT", "EXTRA.TXT", "OfficeLoc/13市町村役場.lbl", "OfficeLoc/14市町村役場.lbl"})
        ASSERT_TRUE(QFile::copy(folder + "/mapdata/" + QString::fromUtf8(f), bare.path() + "/mapdata/" + QString::fromUtf8(f))) << f;
    const QString bareOut = dir.path() + "/bare.png";
    ASSERT_EQ(runRenderCommand(QStringList{"--areas", "13,14", "--size", "1200", "--folder", bare.path(), "--out", bareOut}, sink),
              kRenderOk);
    EXPECT_EQ(creditInk(QImageReader(bareOut).read().convertToFormat(QImage::Format_RGB32)), 0);
}
