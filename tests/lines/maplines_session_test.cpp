// Map lines in the session of the open map, on the bundled map of Kanagawa: the edited
// line's operations, displayed files as paint borders, bad files that change nothing,
// and the headless command's --lines.
#include "app/mapsession.h"
#include "app/rendercommand.h"
#include "common/paths.h"
#include "lines/linefile.h"
#include "support/testsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace oboro;

namespace {

struct LinesOnKanagawa : ::testing::Test {
    void SetUp() override
    {
        Canvas::installFontSubstitutions();
        setProgramFolder(test::bundledDataDir());
        ASSERT_TRUE(session.selectAreas({13}, false));
    }
    QPoint namePixel(const std::string& name) const
    {
        for (const NameEntry& e : session.store.commonNames.entries)
            if (e.name == name)
                return MapToPixel(session.view, e.x, e.y);
        ADD_FAILURE() << name;
        return {};
    }
    // A file of one straight line between two pixels of the current view.
    std::string lineFile(const char* name, QPoint a, QPoint b, Color colour = 0x008000)
    {
        LineData d;
        d.style.color = colour;
        d.points = {PixelToDataUnits(session.view, a.x(), a.y()), PixelToDataUnits(session.view, b.x(), b.y())};
        const std::string path = (dir.path() + "/" + name).toStdString();
        EXPECT_TRUE(writeLineFile(path, d, sink));
        return path;
    }
    Color at(QPoint p) const { return *session.canvas.pixel(p.x(), p.y()); }

    QTemporaryDir dir;
    CollectingSink sink;
    MapSession session{sink};
};

} // namespace

TEST_F(LinesOnKanagawa, EditedLineIsBuiltPointByPoint)
{
    session.newMapLine();
    EXPECT_EQ(session.lineEditor.click, LineClick::Append);
    EXPECT_EQ(session.activeMouseTool(), MouseToolId::MapLine);
    for (const QPoint p : {QPoint(100, 100), QPoint(200, 120), QPoint(300, 300)})
        ASSERT_TRUE(session.mapLineClick(p));
    session.mapLineBreak();
    ASSERT_TRUE(session.mapLineClick(QPoint(400, 400)));
    ASSERT_TRUE(session.mapLineClick(QPoint(450, 420)));
    session.setMapLineLoop(true);
    session.finishMapLine();
    const LineEditor& e = session.lineEditor;
    EXPECT_EQ(e.click, LineClick::None);
    EXPECT_EQ(session.activeMouseTool(), MouseToolId::Navigate);
    ASSERT_EQ(e.count(), 7); // three, the break, two, and the closing copy of the first
    EXPECT_TRUE(isBreak(e.line.points[3]));
    EXPECT_EQ(e.line.points[6], e.line.points[0]);
    EXPECT_EQ(MapToPixel(session.view, e.line.points[1].x(), e.line.points[1].y()), QPoint(200, 120));
    EXPECT_TRUE(e.unsaved());

    // Insert after point 1, move point 0, delete point 2.
    session.selectMapLinePoint(1);
    session.insertMapLinePoint();
    EXPECT_EQ(session.lineEditor.click, LineClick::FillInserted);
    ASSERT_TRUE(session.mapLineClick(QPoint(250, 200)));
    EXPECT_EQ(e.count(), 8);
    EXPECT_EQ(MapToPixel(session.view, e.line.points[2].x(), e.line.points[2].y()), QPoint(250, 200));
    EXPECT_EQ(e.prompt, "挿入しました");
    session.selectMapLinePoint(0);
    session.moveMapLinePoint();
    EXPECT_EQ(session.lineEditor.click, LineClick::Move);
    ASSERT_TRUE(session.mapLineClick(QPoint(90, 90)));
    EXPECT_EQ(MapToPixel(session.view, e.line.points[0].x(), e.line.points[0].y()), QPoint(90, 90));
    EXPECT_EQ(e.selected, 1);
    session.selectMapLinePoint(2);
    session.deleteMapLinePoint();
    EXPECT_EQ(e.count(), 7);
    EXPECT_EQ(e.prompt, "2 番目の点を削除しました");

    // A shift moves every point but the break.
    const std::vector<QPoint> before = e.line.points;
    session.shiftMapLine(10, -5);
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(e.line.points[i], isBreak(before[i]) ? QPoint(0, 0) : before[i] + QPoint(10, -5));
    EXPECT_EQ(e.shiftTotal, QPoint(10, -5));

    // Saved and read back, it is the same line.
    const std::string path = (dir.path() + "/edited.adl").toStdString();
    ASSERT_TRUE(session.saveMapLine(path));
    EXPECT_FALSE(e.unsaved());
    EXPECT_EQ(e.status, "edited.adl");
    const std::vector<QPoint> saved = e.line.points;
    session.closeMapLine();
    EXPECT_EQ(e.count(), 0);
    ASSERT_TRUE(session.openMapLine(path));
    EXPECT_EQ(e.line.points, saved);
    EXPECT_FALSE(e.editView);
}

TEST_F(LinesOnKanagawa, EditedLineIsDrawnInEditViewOnScreenAndAsALineInPictures)
{
    session.setMapLineStyle(LineStyle{0x0000FF, 0, 3, 2, 12, 0});
    session.newMapLine();
    ASSERT_TRUE(session.mapLineClick(QPoint(100, 500)));
    ASSERT_TRUE(session.mapLineClick(QPoint(500, 500)));
    // Edit view: black segment, red rings.
    EXPECT_EQ(at(QPoint(300, 500)), kBlack);
    EXPECT_EQ(at(QPoint(98, 500)), 0x0000FFu);
    // A saved picture shows the line as it will be drawn.
    const QImage picture = session.drawPicture(600);
    EXPECT_EQ(picture.pixel(300, 501), toPixel(0x0000FF));
    session.finishMapLine();
    session.setMapLineEditView(false);
    EXPECT_EQ(at(QPoint(300, 501)), 0x0000FFu);
    EXPECT_EQ(at(QPoint(495, 500)), 0x0000FFu); // the filled arrow head
    session.setMapLineShown(false);
    EXPECT_NE(at(QPoint(300, 501)), 0x0000FFu);
}

TEST_F(LinesOnKanagawa, DisplayedLineStopsThePaintFill)
{
    // A line straight across Yamakita, through its name position, from one edge of
    // the picture to the other.
    const QPoint name = namePixel("山北町");
    const std::string path = lineFile("cut.adl", QPoint(0, name.y()), QPoint(599, name.y()));
    ASSERT_TRUE(session.loadDisplayedLines({path}, false));
    EXPECT_EQ(session.displayedLines.statusText(), "1 個読み込み");
    const QPoint above = name - QPoint(0, 12), below = name + QPoint(0, 12);
    ASSERT_EQ(at(QPoint(name.x(), name.y())), 0x008000u);

    const auto paintAbove = [&](bool border) {
        session.setPaintBorderLines(border);
        EXPECT_TRUE(session.startPaint([](const Message&) { return true; }));
        session.selectSlot(0);
        EXPECT_TRUE(session.paintAt(above.x(), above.y()));
        const Color paint = session.palette.colors[0];
        const bool aboveFilled = at(above) == paint, belowFilled = at(below) == paint;
        session.endPaint();
        return std::pair{aboveFilled, belowFilled};
    };
    // Without the borders the line is not in the painting picture: the fill takes both sides.
    EXPECT_EQ(paintAbove(false), std::pair(true, true));
    // As a paint border it stops the fill, when painting and when the paint is replayed.
    EXPECT_EQ(paintAbove(true), std::pair(true, false));
    const Color paint = session.palette.colors[0];
    session.redraw();
    EXPECT_EQ(at(above), paint);
    EXPECT_EQ(at(below) == paint, false);
    const QImage picture = session.drawPicture(600);
    EXPECT_EQ(picture.pixel(above.x(), above.y()), toPixel(paint));
    EXPECT_NE(picture.pixel(below.x(), below.y()), toPixel(paint));
    // A print picture (six times the side, details drawn larger) fills the same side.
    const QImage print = session.drawPicture(3600);
    ASSERT_EQ(print.width(), 3600);
    EXPECT_EQ(print.pixel(above.x() * 6 + 3, above.y() * 6 + 3), toPixel(paint));
    EXPECT_NE(print.pixel(below.x() * 6 + 3, below.y() * 6 + 3), toPixel(paint));
}

TEST_F(LinesOnKanagawa, BadFilesChangeNothing)
{
    const std::string good = lineFile("good.adl", QPoint(10, 10), QPoint(500, 500));
    ASSERT_TRUE(session.loadDisplayedLines({good}, false));
    const QImage before = session.canvas.image().copy();
    const std::string bad = test::writeFile(dir.path(), "bad.adl", "K,1,2,0,0,99,0,12,0\n1,2\n3,4\n");

    // A bad file among good ones: the list stays as it was.
    EXPECT_FALSE(session.loadDisplayedLines({good, bad}, true));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].title, kLineFileReadTitle);
    EXPECT_NE(sink.messages[0].text.find("bad.adl の 1 行目"), std::string::npos);
    ASSERT_EQ(session.displayedLines.files.size(), 1u);
    EXPECT_EQ(session.canvas.image(), before);

    // Opened for editing: the edited line stays as it was.
    session.newMapLine();
    ASSERT_TRUE(session.mapLineClick(QPoint(50, 50)));
    const LineData edited = session.lineEditor.line;
    EXPECT_FALSE(session.openMapLine(bad));
    EXPECT_EQ(session.lineEditor.line, edited);
    EXPECT_EQ(session.lineEditor.click, LineClick::Append);
    EXPECT_EQ(sink.messages.size(), 2u);

    // The edited file cannot be displayed at the same time (its name in any case).
    const std::string mine = (dir.path() + "/mine.adl").toStdString();
    session.newMapLine();
    ASSERT_TRUE(session.mapLineClick(QPoint(50, 50)));
    ASSERT_TRUE(session.mapLineClick(QPoint(70, 70)));
    session.finishMapLine();
    ASSERT_TRUE(session.saveMapLine(mine));
    EXPECT_FALSE(session.loadDisplayedLines({QString::fromStdString(mine).toUpper().toStdString()}, true));
    EXPECT_EQ(sink.messages.back().title, kEditedFileDisplayedTitle);
    EXPECT_EQ(session.displayedLines.files.size(), 1u);

    // A full list refuses more.
    std::vector<std::string> many(kDisplayedLineCapacity, good);
    EXPECT_FALSE(session.loadDisplayedLines(many, true));
    EXPECT_EQ(sink.messages.back(), (Message{kDisplayedFullText, kDisplayedTitle, MessageIcon::Exclamation}));
    EXPECT_EQ(session.displayedLines.files.size(), 1u);
    EXPECT_TRUE(session.loadDisplayedLines(std::vector<std::string>(kDisplayedLineCapacity - 1, good), true));
}

TEST_F(LinesOnKanagawa, OpeningADisplayedFileTakesItOffTheList)
{
    const std::string path = lineFile("shown.adl", QPoint(10, 10), QPoint(500, 500));
    ASSERT_TRUE(session.loadDisplayedLines({path}, false));
    ASSERT_TRUE(session.openMapLine(path));
    EXPECT_TRUE(session.displayedLines.empty());
    EXPECT_EQ(session.lineEditor.fileName, path);
}

TEST(RenderLines, TheCommandDrawsLineFilesAndRefusesBadOnes)
{
    Canvas::installFontSubstitutions();
    QTemporaryDir dir;
    CollectingSink sink;
    // A red filled-arrow line from Yokohama towards Hiratsuka, in map units of the data.
    LineData d;
    d.style = LineStyle{0x0000FF, 0, 4, 2, 15, 0};
    d.points = {{175000, 171750}, {173500, 169950}};
    const std::string path = (dir.path() + "/route.adl").toStdString();
    ASSERT_TRUE(writeLineFile(path, d, sink));
    const QString out = dir.path() + "/map.png";
    const QStringList base = {"--areas", "13", "--folder", test::bundledDataDir(), "--out", out};
    ASSERT_EQ(runRenderCommand(base + QStringList{"--lines", QString::fromStdString(path)}, sink), kRenderOk);
    const QImage withLine(out);
    ASSERT_EQ(runRenderCommand(base, sink), kRenderOk);
    const QImage without(out);
    long red = 0;
    for (int y = 0; y < withLine.height(); ++y)
        for (int x = 0; x < withLine.width(); ++x)
            red += withLine.pixelColor(x, y) == QColor(255, 0, 0) && without.pixelColor(x, y) != QColor(255, 0, 0);
    EXPECT_GT(red, 100);
    const std::string bad = test::writeFile(dir.path(), "bad.adl", "K,1,1,0,0,1,0,12,0\nx,y\n");
    EXPECT_EQ(runRenderCommand(base + QStringList{"--lines", QString::fromStdString(bad)}, sink), kRenderNoData);
    EXPECT_EQ(sink.messages.back().title, kLineFileReadTitle);
    EXPECT_EQ(parseRenderArguments(base + QStringList{"--lines", ""}).error, "--lines のファイル名が空です");
}
