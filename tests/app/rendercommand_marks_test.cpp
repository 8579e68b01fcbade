// The headless command's stamps: --marks FILE.mrk|FILE.mks, repeatable.
#include "app/rendercommand.h"

#include "common/paths.h"
#include "mapdata/loader.h"
#include "support/testsupport.h"
#include "view/projection.h"

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

long pixelsOf(const QImage& img, QRgb rgb, const QRect& where)
{
    long n = 0;
    const QRect r = where.intersected(img.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFFu) == rgb;
    return n;
}

TEST(RenderCommandMarks, ParsesRepeatedSymbolFilesAndRefusesOtherNames)
{
    const RenderArguments a = parseRenderArguments(split("--areas 13 --marks a.mrk --marks=b.MKS --out m.png"));
    ASSERT_TRUE(a.options) << a.error;
    EXPECT_EQ(a.options->marks, (QStringList{"a.mrk", "b.MKS"}));
    const RenderArguments bad = parseRenderArguments(split("--areas 13 --marks a.txt --out m.png"));
    EXPECT_FALSE(bad.options);
    EXPECT_EQ(bad.error, "--marks の地図記号ファイルの拡張子は .mrk か .mks です: a.txt");
}

TEST(RenderCommandMarks, StampsOfEveryFileAreDrawnAndABadFileStopsTheCommand)
{
    ProgramFolderGuard guard;
    const QString folder = QStringLiteral(OBORO_SOURCE_DIR "/data");
    setProgramFolder(folder);
    CollectingSink sink;
    MapStore store;
    ASSERT_TRUE(loadMapFiles(store, {13}, LoadOptions{}, sink));
    ViewState v;
    SetUpView(v, store, 1);
    RecomputeView(v, store);
    // Two stamps at pixels (200, 300) and (400, 250) of the 600-pixel map (Tokyo datum).
    const QPoint a = PixelToMap(v, 200, 300), b = PixelToMap(v, 400, 250);
    QTemporaryDir dir;
    const std::string mrk = test::writeFile(dir.path(), "one.mrk",
                                            "1,STAMP_CT\n113," + std::to_string(a.x()) + "," + std::to_string(a.y()) +
                                                ",1193046,16,1\n");
    const std::string mks = test::writeFile(dir.path(), "two.mks",
                                            "208," + std::to_string(b.x()) + "," + std::to_string(b.y()) +
                                                ",1193046,18,0\n");
    const QString args = "--areas 13 --tokyo-datum --marks " + QString::fromStdString(mrk) + " --marks " +
                         QString::fromStdString(mks) + " --out m.png";
    const RenderArguments parsed = parseRenderArguments(split(args));
    ASSERT_TRUE(parsed.options) << parsed.error;
    const std::optional<QImage> picture = drawRenderPicture(*parsed.options, sink);
    ASSERT_TRUE(picture);
    const QRgb ink = 0x563412; // 1193046 is 0x123456: red 0x56, green 0x34, blue 0x12
    const long first = pixelsOf(*picture, ink, QRect(190, 290, 20, 20));
    const long second = pixelsOf(*picture, ink, QRect(389, 239, 22, 22));
    EXPECT_GT(first, 15);
    EXPECT_GT(second, 15);
    EXPECT_EQ(pixelsOf(*picture, ink, picture->rect()), first + second);
    EXPECT_TRUE(sink.messages.empty());

    const std::string bad = test::writeFile(dir.path(), "bad.mks", "208,1,2\n");
    const RenderArguments refused =
        parseRenderArguments(split("--areas 13 --marks " + QString::fromStdString(bad) + " --out m.png"));
    ASSERT_TRUE(refused.options);
    EXPECT_FALSE(drawRenderPicture(*refused.options, sink));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_NE(sink.messages[0].text.find("bad.mks の 1 行目"), std::string::npos);
}

} // namespace
