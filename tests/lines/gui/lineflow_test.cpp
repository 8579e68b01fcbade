// The map line window through the main window on the bundled map of Kanagawa: a route
// of three points with an arrow drawn, saved, cleared and read back for display, in the
// shown picture and in a saved one; and the questions that keep an edited line.
#include "app/gui/topen.h"
#include "app/gui/updown.h"
#include "common/gui/messagebox.h"
#include "common/log.h"
#include "common/paths.h"
#include "lines/gui/tlineadd.h"
#include "settings/gui/tken.h"
#include "support/dialogs.h"
#include "support/mainwindowflow.h"
#include "support/testsupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace oboro {
namespace {

using test::QuietDialogs;

constexpr Color kRoute = 0x0000FF; // red

class LineFlow : public test::MainWindowFlow {
protected:
    void SetUp() override
    {
        openMainWindow();
        if (HasFatalFailure())
            return;
        lines = w->lineWindow();
        ASSERT_TRUE(lines);
        lines->chooseColor = [](Color) { return std::optional<Color>(kRoute); };
        lines->chooseSaveFile = [this] { return savePath; };
        lines->chooseOpenFile = [this] { return savePath; };
        lines->chooseDisplayFiles = [this] { return std::vector<std::string>{savePath}; };
        lines->askUnsaved = [this](const Message& m) {
            unsavedAsked.push_back(m);
            return unsavedAnswer;
        };
    }
    QImage shown() const { return w->MapImage->pixmap().toImage().convertToFormat(QImage::Format_RGB32); }
    static long routePixels(const QImage& img)
    {
        long n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += img.pixel(x, y) == toPixel(kRoute);
        return n;
    }
    // Draws a route of three points with a filled arrow through the window.
    void drawRoute()
    {
        w->BtnLine->click();
        ASSERT_TRUE(lines->isVisible());
        lines->Button12->click();     // colour
        lines->UpDown2->stepUp();     // size 2
        lines->CBArrow->setChecked(true);
        lines->CheckBox1->setChecked(true); // filled
        lines->Button2->click();      // 新規作成
        EXPECT_EQ(lines->Label7->text(), QStringLiteral("0 番目の点を指定してください"));
        for (const QPoint p : route)
            w->mapPress(p.x(), p.y(), Qt::LeftButton);
        EXPECT_EQ(lines->Label2->text(), QStringLiteral("3"));
        EXPECT_EQ(lines->StringGrid1->rowCount(), 3);
        lines->Button10->click();     // 終わり
        EXPECT_EQ(lines->Label7->text(), QStringLiteral("編集できます"));
        lines->BtnEdit->click();      // the line as it will be drawn
        EXPECT_EQ(lines->BtnEdit->text(), QStringLiteral("編　集"));
    }

    TLineAdd* lines = nullptr;
    std::string savePath;
    std::vector<Message> unsavedAsked;
    UnsavedAnswer unsavedAnswer = UnsavedAnswer::Cancel;
    const std::vector<QPoint> route = {{150, 420}, {300, 300}, {450, 350}};
};

TEST_F(LineFlow, RouteWithArrowIsSavedClearedAndReadBack)
{
    EXPECT_FALSE(w->BtnLine->isEnabled());
    selectKanagawa();
    EXPECT_TRUE(w->BtnLine->isEnabled());
    EXPECT_TRUE(w->action("N16")->isEnabled());
    const QImage plain = shown();
    drawRoute();
    const QImage drawn = shown();
    const long onScreen = routePixels(drawn) - routePixels(plain);
    EXPECT_GT(onScreen, 250);
    // The arrow head at the last point: pixels of the route colour around the tip that
    // go when the arrow is switched off, and come back with it.
    const QPoint tip = route[2];
    const auto nearTip = [&](const QImage& img) {
        int n = 0;
        for (int dy = -8; dy <= 8; ++dy)
            for (int dx = -14; dx <= 2; ++dx)
                n += img.pixel(tip.x() + dx, tip.y() + dy) == toPixel(kRoute);
        return n;
    };
    lines->CBArrow->setChecked(false);
    const int withoutHead = nearTip(shown());
    lines->CBArrow->setChecked(true);
    EXPECT_GT(nearTip(shown()) - withoutHead, 25);
    EXPECT_EQ(shown(), drawn);

    savePath = (folder.path() + "/route").toStdString();
    lines->Button6->click(); // ﾌｧｲﾙ保存: the extension is added
    savePath += ".adl";
    ASSERT_TRUE(QFileInfo::exists(QString::fromStdString(savePath)));
    EXPECT_EQ(lines->Label10->text(), QStringLiteral("route.adl"));
    lines->Button5->click(); // 編集終了: saved, so nothing is asked
    EXPECT_TRUE(unsavedAsked.empty());
    EXPECT_EQ(lines->Label2->text(), QStringLiteral("0"));
    EXPECT_EQ(shown(), plain);

    lines->BtnFile->click(); // 地図線読込
    EXPECT_EQ(lines->Label18->text(), QStringLiteral("1 個読み込み"));
    EXPECT_TRUE(lines->CheckBox2->isEnabled());
    const QImage back = shown();
    EXPECT_NEAR(routePixels(back), routePixels(drawn), 10); // names over the line may differ
    // A saved picture carries the line too, with the same pixels.
    MapExport what;
    what.side = 600;
    what.dpi = 300;
    what.path = folder.path() + "/saved.png";
    ASSERT_EQ(w->exportForPrint(what), ExportOutcome::Written);
    const QImage saved = QImageReader(what.path).read().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(routePixels(saved), routePixels(back));
    // 表示 hides them; クリア empties the list after asking.
    lines->CheckBox2->click();
    EXPECT_EQ(shown(), plain);
    lines->Button4->click();
    EXPECT_EQ(lines->Label18->text(), QStringLiteral("ファイル　なし"));
    EXPECT_EQ(dialogs->asked.back().title, "地図線データ");
}

TEST_F(LineFlow, AnUnsavedLineIsNeverDroppedWithoutAsking)
{
    selectKanagawa();
    drawRoute();
    const std::vector<QPoint> points = w->session.lineEditor.line.points;
    // Cancel: 編集終了, 新規作成 and closing the window keep the line.
    lines->Button5->click();
    lines->Button2->click();
    QCloseEvent close;
    QApplication::sendEvent(lines, &close);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_EQ(unsavedAsked.size(), 3u);
    EXPECT_EQ(unsavedAsked[0].title, "線データ編集作業の終了");
    EXPECT_EQ(w->session.lineEditor.line.points, points);
    // Exit and closing the main window ask too, and Cancel keeps the program running.
    EXPECT_FALSE(w->exitProgram());
    EXPECT_EQ(unsavedAsked.back().title, "Oboroの終了");
    QCloseEvent closeMain;
    QApplication::sendEvent(w.get(), &closeMain);
    EXPECT_FALSE(closeMain.isAccepted());
    EXPECT_EQ(unsavedAsked.size(), 5u);
    // Save: the file is written, then the line is closed.
    unsavedAnswer = UnsavedAnswer::Save;
    savePath = (folder.path() + "/kept.adl").toStdString();
    lines->Button5->click();
    ASSERT_TRUE(QFileInfo::exists(QString::fromStdString(savePath)));
    EXPECT_EQ(w->session.lineEditor.count(), 0);
    CollectingSink sink;
    const std::optional<LineData> kept = readLineFile(savePath, sink);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->points, points);
    EXPECT_EQ(kept->style.arrow, 2);
    EXPECT_EQ(kept->style.color, kRoute);
    // Discard: the line goes.
    drawRoute();
    unsavedAnswer = UnsavedAnswer::Discard;
    lines->Button5->click();
    EXPECT_EQ(w->session.lineEditor.count(), 0);
}

TEST_F(LineFlow, PaintStopsAtBorderLines)
{
    selectKanagawa();
    // A line across the whole map through Yamakita's name position, shown as a border.
    QPoint name;
    for (const NameEntry& e : w->store.commonNames.entries)
        if (e.name == "山北町")
            name = MapToPixel(w->view, e.x, e.y);
    LineData cut;
    cut.points = {PixelToDataUnits(w->view, 0, name.y()), PixelToDataUnits(w->view, 599, name.y())};
    CollectingSink sink;
    savePath = (folder.path() + "/cut.adl").toStdString();
    ASSERT_TRUE(writeLineFile(savePath, cut, sink));
    w->BtnLine->click();
    lines->BtnFile->click();
    lines->CheckBox4->click();
    EXPECT_TRUE(w->session.displayedLines.paintBorder);
    w->startPaint();
    w->session.selectSlot(2);
    w->mapPress(name.x(), name.y() - 12, Qt::LeftButton);
    const Color paint = w->session.palette.colors[2];
    EXPECT_EQ(w->canvas.pixel(name.x(), name.y() - 12), paint);
    EXPECT_NE(w->canvas.pixel(name.x(), name.y() + 12), paint);
}

} // namespace
} // namespace oboro
