// The headless command's distance circles: --circle LON,LAT,KM[,COUNT].
#include "app/rendercommand.h"

#include "common/paths.h"
#include "mapdata/loader.h"
#include "support/testsupport.h"
#include "view/projection.h"

#include <QFileInfo>
#include <gtest/gtest.h>

#include <cmath>

using namespace oboro;

namespace {

QStringList split(const char* line) { return QString::fromUtf8(line).split(QLatin1Char(' '), Qt::SkipEmptyParts); }

struct ProgramFolderGuard {
    QString saved = programFolder();
    ~ProgramFolderGuard() { setProgramFolder(saved); }
};

double haversineKm(double lon1, double lat1, double lon2, double lat2)
{
    const double r = 3.14159265358979323846 / 180.0;
    const double s1 = std::sin((lat2 - lat1) * r / 2), s2 = std::sin((lon2 - lon1) * r / 2);
    const double a = s1 * s1 + std::cos(lat1 * r) * std::cos(lat2 * r) * s2 * s2;
    return 2 * 6371.0 * std::asin(std::sqrt(a));
}

} // namespace

TEST(RenderCommandCircles, ParsesRepeatedCircles)
{
    const RenderArguments a =
        parseRenderArguments(split("--areas 13 --circle 139.638,35.4437,10 --circle=140,36.5,25,4 --out m.png"));
    ASSERT_TRUE(a.options) << a.error;
    ASSERT_EQ(a.options->circles.size(), 2u);
    EXPECT_EQ(a.options->circles[0], (CircleRequest{139.638, 35.4437, 10, 1}));
    EXPECT_EQ(a.options->circles[1], (CircleRequest{140.0, 36.5, 25, 4}));
    EXPECT_TRUE(parseRenderArguments(split("--areas 13 --out m.png")).options->circles.empty());
}

TEST(RenderCommandCircles, BadCirclesGiveAClearMessage)
{
    struct Case {
        const char* value;
        const char* message;
    };
    for (const Case& c : {
             Case{"139,35", "--circle は 経度,緯度,半径[,個数] の形で指定してください: 139,35"},
             Case{"139,35,10,2,1", "--circle は 経度,緯度,半径[,個数] の形で指定してください: 139,35,10,2,1"},
             Case{"東経139,35,10", "--circle の経度は -180 から 180 までの度で指定してください: 東経139"},
             Case{"181,35,10", "--circle の経度は -180 から 180 までの度で指定してください: 181"},
             Case{"139,91,10", "--circle の緯度は -90 から 90 までの度で指定してください: 91"},
             Case{"139,nan,10", "--circle の緯度は -90 から 90 までの度で指定してください: nan"},
             Case{"139,35,0", "--circle の半径は 1 から 20000 までの整数 (km) です: 0"},
             Case{"139,35,2.5", "--circle の半径は 1 から 20000 までの整数 (km) です: 2.5"},
             Case{"139,35,km", "--circle の半径は 1 から 20000 までの整数 (km) です: km"},
             Case{"139,35,10,0", "--circle の円の数は 1 から 100 までの整数です: 0"},
             Case{"139,35,10,x", "--circle の円の数は 1 から 100 までの整数です: x"},
         }) {
        QStringList args = split("--areas 13 --out m.png --circle");
        args << QString::fromUtf8(c.value);
        const RenderArguments a = parseRenderArguments(args);
        EXPECT_FALSE(a.options) << c.value;
        EXPECT_EQ(a.error, c.message);
    }
    EXPECT_EQ(parseRenderArguments(split("--areas 13 --out m.png --circle")).error, "--circle の値がありません");
    CollectingSink sink;
    EXPECT_EQ(runRenderCommand(split("--areas 13 --out m.png --circle 1,2"), sink), kRenderBadArguments);
}

TEST(RenderCommandCircles, CirclesAreDrawnAtTheirGroundRadius)
{
    ProgramFolderGuard guard;
    const QString folder = QStringLiteral(OBORO_SOURCE_DIR "/data");
    if (!QFileInfo(folder + "/mapdata/13.MAP").isFile())
        GTEST_SKIP() << "no bundled map data";
    setProgramFolder(folder);
    CollectingSink sink;
    const RenderArguments plainArgs = parseRenderArguments(split("--areas 13 --size 1200 --out m.png"));
    const RenderArguments circleArgs =
        parseRenderArguments(split("--areas 13 --size 1200 --circle 139.4,35.4,10,2 --out m.png"));
    ASSERT_TRUE(plainArgs.options && circleArgs.options);
    const std::optional<QImage> plain = drawRenderPicture(*plainArgs.options, sink);
    const std::optional<QImage> circled = drawRenderPicture(*circleArgs.options, sink);
    ASSERT_TRUE(plain && circled);

    // The view the command drew with.
    MapStore store;
    ASSERT_TRUE(loadMapFiles(store, {13}, LoadOptions{}, sink));
    ViewState v;
    v.sizeFactor = 2;
    SetUpView(v, store, 1);
    RecomputeView(v, store);
    const double pixelKm = 1.0 / v.scaleX / 10000.0 * 111.2 * std::cos(35.4 * 3.14159265 / 180);

    // The changed pixels lie 10 or 20 km from the centre, but for the labels and the
    // centre mark.
    int changed = 0, onCircle = 0, near10 = 0, near20 = 0;
    for (int y = 0; y < 1200; ++y)
        for (int x = 0; x < 1200; ++x) {
            if (plain->pixel(x, y) == circled->pixel(x, y))
                continue;
            ++changed;
            const QPoint m = PixelToMap(v, x, y);
            const double d = haversineKm(139.4, 35.4, longitudeOf(m.x()), latitudeOf(m.y()));
            if (std::fabs(d - 10) < 2 * pixelKm)
                ++near10;
            else if (std::fabs(d - 20) < 2 * pixelKm)
                ++near20;
            else
                continue;
            ++onCircle;
        }
    // About 2π × 10 km and 2π × 20 km of outline at this scale.
    EXPECT_GT(near10, 0.6 * 2 * 3.14159 * 10 / pixelKm);
    EXPECT_GT(near20, 0.6 * 2 * 3.14159 * 20 / pixelKm);
    EXPECT_GT(onCircle, changed * 8 / 10);
}
