// The headless command's legend: --legend FILE.exp.
#include "app/rendercommand.h"

#include "common/canvas.h"
#include "common/paths.h"
#include "support/testsupport.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace oboro;

namespace {

QStringList split(const QString& line) { return line.split(QLatin1Char(' '), Qt::SkipEmptyParts); }

struct ProgramFolderGuard {
    QString saved = programFolder();
    ~ProgramFolderGuard() { setProgramFolder(saved); }
};

} // namespace

TEST(RenderCommandLegend, LegendFileIsDrawnAtItsPlaceScaledToTheSize)
{
    ProgramFolderGuard guard;
    const QString folder = QStringLiteral(OBORO_SOURCE_DIR "/data");
    if (!QFileInfo(folder + "/mapdata/13.MAP").isFile())
        GTEST_SKIP() << "no bundled map data";
    setProgramFolder(folder);
    QTemporaryDir dir;
    // Two rows at (300, 400), red frame, one red and one blue sample.
    const std::string legend = test::writeSjisFile(dir.path(), "l.exp",
                                                   "2\n40\n15\n3\n300\n400\n10\n0\n0x0000ff\n0xffffff\n凡例\n"
                                                   "0x0000ff,0,赤\n0xff0000,0,青\n");
    const RenderArguments a =
        parseRenderArguments(split(QStringLiteral("--areas 13 --size 1200 --legend %1 --out m.png")
                                       .arg(QString::fromStdString(legend))));
    ASSERT_TRUE(a.options) << a.error;
    EXPECT_EQ(a.options->legend.toStdString(), legend);
    CollectingSink sink;
    const std::optional<QImage> picture = drawRenderPicture(*a.options, sink);
    ASSERT_TRUE(picture);
    EXPECT_TRUE(sink.messages.empty());
    // At 1200 the box's left edge is at 2 × 295, the first row's sample 2 × (400 + 18).
    const auto colour = [&](int x, int y) { return fromPixel(picture->pixel(x, y)); };
    EXPECT_EQ(colour(590, 2 * 430), 0x0000FFu); // frame
    EXPECT_EQ(colour(596, 2 * 430), kWhite);    // inside
    EXPECT_EQ(colour(2 * 320, 2 * 418 + 15), 0x0000FFu);
    EXPECT_EQ(colour(2 * 320, 2 * 436 + 15), 0xFF0000u);

    // A legend file that cannot be read: told, nothing drawn.
    const std::string bad = test::writeSjisFile(dir.path(), "bad.exp", "2\n40\n");
    const RenderArguments b = parseRenderArguments(
        split(QStringLiteral("--areas 13 --legend %1 --out m.png").arg(QString::fromStdString(bad))));
    ASSERT_TRUE(b.options);
    CollectingSink badSink;
    EXPECT_FALSE(drawRenderPicture(*b.options, badSink));
    ASSERT_FALSE(badSink.messages.empty());
    EXPECT_NE(badSink.messages[0].text.find("bad.exp の 3 行目"), std::string::npos) << badSink.messages[0].text;
    EXPECT_EQ(parseRenderArguments(split(QStringLiteral("--areas 13 --out m.png --legend"))).error,
              "--legend の値がありません");
}
