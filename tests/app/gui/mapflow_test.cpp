// The main window driving a real map: the bundled map data of Tokyo and Kanagawa,
// selected, zoomed, moved, narrowed to a range and painted.
#include "app/gui/topen.h"
#include "app/gui/tkbtn.h"
#include "app/gui/tprintsave.h"
#include "app/gui/updown.h"
#include "common/gui/messagebox.h"
#include "common/log.h"
#include "common/paths.h"
#include "paint/gui/tmappaint.h"
#include "settings/gui/tken.h"
#include "settings/gui/tsettei.h"

#include <QAction>
#include <QCheckBox>
#include <QButtonGroup>
#include <QComboBox>
#include <QRadioButton>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include "support/dialogs.h"
#include "support/mainwindowflow.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

namespace oboro {
namespace {


class MapFlow : public test::MainWindowFlow {
protected:
    void SetUp() override
    {
        openMainWindow({"mapdata", "mark"});
        if (!HasFatalFailure())
            select({12, 13});
    }
    // What the user sees: the picture shown in the scroll box.
    QImage picture() const { return w->MapImage->pixmap().toImage().convertToFormat(QImage::Format_RGB32); }
    void clickRangeButton() { QTest::mouseClick(w->TkBtn2, Qt::LeftButton); }
};

} // namespace

TEST_F(MapFlow, ConfirmLoadsTheAreasSetsUpTheViewAndDraws)
{
    EXPECT_EQ(w->store.selectedAreas, (std::vector<int>{12, 13}));
    EXPECT_TRUE(w->session.mapShown);
    EXPECT_GT(w->view.standardSide, 0);
    EXPECT_GT(w->store.line(LineKind::Coast).wordCount(), 0);
    // The map is shown, and it is the drawn picture: coast and prefecture border colours
    // are on it.
    const QImage img = picture();
    EXPECT_EQ(img, w->canvas.image());
    int coast = 0, pref = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            coast += img.pixel(x, y) == toPixel(w->display.CoastColor);
            pref += img.pixel(x, y) == toPixel(w->display.PrefColor);
        }
    EXPECT_GT(coast, 200);
    EXPECT_GT(pref, 50);
    EXPECT_TRUE(w->UpDown1->isEnabled());
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(MapFlow, ZoomAndMoveChangeTheViewAndRedraw)
{
    const QImage before = picture();
    w->UpDown1->stepUp();
    EXPECT_EQ(w->view.magCount, 2);
    EXPECT_EQ(w->Label6->text(), QStringLiteral("2.00"));
    const QImage zoomed = picture();
    EXPECT_NE(zoomed, before);

    const int cx = w->view.centerX;
    w->UDHor->stepUp(); // the right arrow: the picture moves right
    EXPECT_LT(w->view.centerX, cx);
    EXPECT_NE(picture(), zoomed);

    const int cy = w->view.centerY;
    w->mapWheel(120, Qt::ShiftModifier); // wheel up with Shift: the up arrow
    EXPECT_LT(w->view.centerY, cy);
    w->mapWheel(-120, Qt::NoModifier); // wheel down zooms in
    EXPECT_EQ(w->view.magCount, 3);
}

TEST_F(MapFlow, RangeAppliesAndBackReturns)
{
    const int cx = w->view.centerX, cy = w->view.centerY;
    clickRangeButton();
    EXPECT_EQ(w->Label17->text(), QStringLiteral("辺長"));
    w->mapPress(200, 200, Qt::LeftButton);
    w->mapMove(300, 320);
    w->mapRelease(300, 320);
    EXPECT_TRUE(w->view.rangeApplied);
    EXPECT_FALSE(w->view.rangeDragging);
    EXPECT_NE(w->view.centerX, cx);
    EXPECT_TRUE(w->Button12->isEnabled());
    EXPECT_FALSE(w->UpDown1->isEnabled());
    EXPECT_EQ(w->view.magCount, 10);

    w->Button12->click(); // 戻す
    EXPECT_EQ(w->view.centerX, cx);
    EXPECT_EQ(w->view.centerY, cy);
    EXPECT_FALSE(w->Button12->isEnabled());
}

TEST_F(MapFlow, ScaleBarIsDraggedToANewPlaceWithItsBoxOverThePicture)
{
    w->CBScale->click(); // 尺度
    const ScaleBarState bar = w->decorations.scaleBar;
    ASSERT_TRUE(bar.drawn);
    const QImage before = picture();
    w->mapPress(bar.x + bar.width / 2, bar.y + bar.height / 2, Qt::LeftButton);
    w->mapMove(60, 80);
    // The box follows over the picture; the picture itself is unchanged while dragging.
    ASSERT_TRUE(w->session.overlay.scaleBarBox.has_value());
    EXPECT_EQ(w->session.overlay.scaleBarBox->topLeft(), QPoint(60, 80));
    EXPECT_EQ(picture(), before);
    w->mapRelease(60, 80);
    EXPECT_FALSE(w->session.overlay.scaleBarBox.has_value());
    EXPECT_FALSE(w->session.scaleBarDragging);
    EXPECT_EQ(QPoint(w->decorations.scaleBar.x, w->decorations.scaleBar.y), QPoint(60, 80));
    EXPECT_NE(picture(), before); // drawn at its new place
}

TEST_F(MapFlow, RangeNarrowerThanFourKilometresIsRefused)
{
    const QImage before = picture();
    clickRangeButton();
    w->mapPress(200, 200, Qt::LeftButton);
    w->mapMove(203, 203);
    w->mapRelease(203, 203);
    EXPECT_EQ(w->Label15->text(), QStringLiteral("指定エラー"));
    // One second later the timer goes back to the view before.
    QTest::qWait(1300);
    EXPECT_FALSE(w->view.rangeDragging);
    EXPECT_EQ(picture(), before);
}

TEST_F(MapFlow, RightClickOpensTheDisplaySettingsButNeverWhilePainting)
{
    w->show();
    w->startPaint();
    w->paintWindow()->selectSlot(0);
    const int records = w->paintRecords.count();
    // The settings window could rescale the map under the paint: it stays closed.
    w->mapPress(300, 300, Qt::RightButton);
    EXPECT_FALSE(w->settingsWindow()->isVisible());
    EXPECT_EQ(w->paintRecords.count(), records);
    w->endPaint();
    w->mapPress(300, 300, Qt::RightButton);
    EXPECT_TRUE(w->settingsWindow()->isVisible());
    EXPECT_EQ(w->paintRecords.count(), records);
}

TEST_F(MapFlow, DoubleClickCentresTheMap)
{
    const int cx = w->view.centerX;
    w->mapDoubleClick(400, 300);
    w->mapPress(400, 300, Qt::LeftButton);
    EXPECT_GT(w->view.centerX, cx);
    EXPECT_TRUE(w->BtnCenter->isEnabled());
}

TEST_F(MapFlow, PaintingLocksTheViewAndEndingReplays)
{
    w->CBTownName->setChecked(true);
    w->startPaint();
    EXPECT_TRUE(w->session.paintActive);
    EXPECT_TRUE(w->paintWindow()->isVisible());
    for (QWidget* c : std::initializer_list<QWidget*>{w->Button5, w->Button6, w->TkBtn2, w->UpDown1, w->CBTownName,
                                                      w->BtnPaint, w->Button7})
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_FALSE(w->CBTownName->isChecked());
    EXPECT_TRUE(w->paintWindow()->BtnEnd->isEnabled());
    EXPECT_FALSE(w->paintWindow()->BtnUndo->isEnabled());

    // Without a slot a click is refused; with one it fills and records.
    w->mapPress(300, 300, Qt::LeftButton);
    EXPECT_EQ(w->paintRecords.count(), 0);
    ASSERT_FALSE(dialogs->shown.empty());
    EXPECT_EQ(dialogs->shown.back().title, "ペイントエラー");
    w->paintWindow()->selectSlot(2);
    // A land pixel of the map: the picture's centre lies on land for Tokyo and Kanagawa.
    // A pixel well inside a region (its neighbours are land too), so the record's point
    // falls in the same region when it is projected back.
    QPoint land(-1, -1);
    const auto inside = [&](int x, int y) {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (w->canvas.pixel(x + dx, y + dy) != kWhite)
                    return false;
        return true;
    };
    for (int r = 0; r < 200 && land.x() < 0; r += 3)
        for (int dx : {r, -r})
            if (land.x() < 0 && inside(300 + dx, 300))
                land = QPoint(300 + dx, 300);
    ASSERT_GE(land.x(), 0);
    w->mapPress(land.x(), land.y(), Qt::LeftButton);
    EXPECT_EQ(w->paintRecords.count(), 1);
    // A redraw while painting (背景白色) keeps the view locked.
    w->paintWindow()->CBWhite->setChecked(true);
    EXPECT_FALSE(w->TkBtn2->isEnabled());
    EXPECT_EQ(w->canvas.pixel(land.x(), land.y()), w->paintWindow()->palette.colors[2]);
    EXPECT_TRUE(w->paintWindow()->BtnUndo->isEnabled());
    EXPECT_EQ(w->paintWindow()->LblPaint->text(), QStringLiteral("1"));

    w->endPaint();
    EXPECT_FALSE(w->session.paintActive);
    EXPECT_TRUE(w->tools.paintReplay);
    for (QWidget* c : std::initializer_list<QWidget*>{w->Button5, w->Button6, w->UpDown1, w->CBTownName, w->BtnPaint})
        EXPECT_TRUE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_TRUE(w->CBTownName->isChecked()); // restored
    EXPECT_TRUE(w->paintWindow()->BtnResume->isEnabled());
    // The replay put the fill back on the redrawn map.
    EXPECT_EQ(w->canvas.pixel(land.x(), land.y()), w->paintWindow()->palette.colors[2]);

    w->resumePaint();
    EXPECT_TRUE(w->paintWindow()->BtnUndo->isEnabled());
    w->undoPaint();
    EXPECT_EQ(w->paintRecords.count(), 0);
    EXPECT_FALSE(w->paintWindow()->BtnUndo->isEnabled());
    EXPECT_NE(w->canvas.pixel(land.x(), land.y()), w->paintWindow()->palette.colors[2]);
}

TEST_F(MapFlow, NewStartAfterPaintingAsksFirst)
{
    w->startPaint();
    w->paintRecords.add(PaintRecord{100000, 100000, 0xFF, 0});
    w->endPaint();
    w->startPaint(); // the dialogs answer OK: the records go
    EXPECT_EQ(w->paintRecords.count(), 0);
}



namespace {
// A land pixel near the picture's centre (Tokyo and Kanagawa: the centre lies on land).
QPoint landNearCentre(const TOpen& w)
{
    const auto inside = [&](int x, int y) {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (w.canvas.pixel(x + dx, y + dy) != w.display.BackColor)
                    return false;
        return true;
    };
    for (int r = 0; r < 200; r += 3)
        for (int dx : {r, -r})
            if (inside(300 + dx, 300))
                return QPoint(300 + dx, 300);
    return QPoint(-1, -1);
}
} // namespace

TEST_F(MapFlow, PaintIsInTheSavedPictureAtEverySize)
{
    w->startPaint();
    w->paintWindow()->selectSlot(3);
    const QPoint land = landNearCentre(*w);
    ASSERT_GE(land.x(), 0);
    w->mapPress(land.x(), land.y(), Qt::LeftButton);
    ASSERT_EQ(w->paintRecords.count(), 1);
    w->endPaint();
    const Color slot = w->paintWindow()->palette.colors[3];
    // The record's point projected into each fresh picture carries the slot colour.
    const PaintRecord rec = w->paintRecords.records().front();
    for (const auto& [size, reduction] : {std::pair{1800, 1}, std::pair{1200, 1}, std::pair{600, 2}}) {
        SCOPED_TRACE(size);
        w->session.setReduction(reduction);
        const QImage big = w->session.drawPicture(size);
        ASSERT_EQ(big.width(), size);
        ViewState v = w->view;
        v.sizeFactor = size * reduction / 600;
        RecomputeView(v, w->store);
        const QPoint p = MapToPixel(v, rec.x, rec.y);
        EXPECT_EQ(big.pixel(p) & 0xFFFFFF, toPixel(slot) & 0xFFFFFF);
    }
}

TEST_F(MapFlow, PrintExportHasThePaintAtFourTimesTheSizeAndItsResolution)
{
    w->startPaint();
    w->paintWindow()->selectSlot(5);
    const QPoint land = landNearCentre(*w);
    ASSERT_GE(land.x(), 0);
    w->mapPress(land.x(), land.y(), Qt::LeftButton);
    ASSERT_EQ(w->paintRecords.count(), 1);
    w->endPaint();
    const QRgb slot = toPixel(w->paintWindow()->palette.colors[5]) & 0xFFFFFF;
    const auto slotPixels = [slot](const QImage& img) {
        long n = 0;
        for (int y = 0; y < img.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            for (int x = 0; x < img.width(); ++x)
                n += (row[x] & 0xFFFFFF) == slot;
        }
        return n;
    };
    const long at1800 = slotPixels(w->session.drawPicture(1800));
    ASSERT_GT(at1800, 100);
    const QImage onScreen = picture();
    const ViewState viewBefore = w->view;

    const QString path = folder.filePath(QStringLiteral("print.png"));
    MapExport what;
    what.side = 7200;
    what.dpi = 600;
    what.format = ImageFormat::Png;
    what.path = path;
    EXPECT_EQ(w->exportForPrint(what), ExportOutcome::Written);
    QImageReader::setAllocationLimit(0); // 7200 × 7200 is above Qt's default limit
    const QImage print = QImageReader(path).read().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(print.width(), 7200);
    // The same municipality is filled: sixteen times the pixels, give or take its wider
    // border lines.
    const long at7200 = slotPixels(print);
    EXPECT_NEAR(static_cast<double>(at7200) / at1800, 16.0, 16.0 * 0.05);
    EXPECT_EQ(print.dotsPerMeterX(), 23622); // 600 dpi
    // The map on screen is left as it was.
    EXPECT_EQ(picture(), onScreen);
    EXPECT_EQ(w->view.sizeFactor, viewBefore.sizeFactor);
    EXPECT_EQ(w->view.imageSide, viewBefore.imageSide);
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(MapFlow, PrintDialogShowsThePrintedSizeOfItsChoice)
{
    TPrintSave d(ImageFormat::Jpeg, w.get());
    EXPECT_TRUE(d.RBPrintJpeg->isChecked());
    const struct {
        int side;
        bool fine;
        const char* text;
    } cases[] = {
        {2400, false, "20.3 cm 角（A4 に収まります）"},
        {3600, false, "30.5 cm 角（A3 に収まりません）"},
        {7200, true, "30.5 cm 角（A3 に収まりません）"},
        {6000, true, "25.4 cm 角（B4 に収まります）"},
    };
    for (const auto& c : cases) {
        d.CBPrintSide->setCurrentIndex(d.CBPrintSide->findData(c.side));
        (c.fine ? d.RBDpi600 : d.RBDpi300)->setChecked(true);
        EXPECT_EQ(d.LPrintedSize->text(), QString::fromUtf8(c.text)) << c.side;
        const MapExport e = d.choice();
        EXPECT_EQ(e.side, c.side);
        EXPECT_EQ(e.dpi, c.fine ? 600 : 300);
        EXPECT_EQ(e.format, ImageFormat::Jpeg);
    }
}

namespace {
// The pixel of a municipality's name position in the window's view.
QPoint namePixel(const TOpen& w, const char* name)
{
    for (const NameEntry& e : w.store.commonNames.entries)
        if (e.name == name)
            return MapToPixel(w.view, e.x, e.y);
    return QPoint(-1, -1);
}
long pixelsOf(const QImage& img, Color c)
{
    long n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFF) == (toPixel(c) & 0xFFFFFF);
    return n;
}
} // namespace

TEST_F(MapFlow, PaintOfAnAreaASearchLeftOutDoesNotFloodTheEmptySpace)
{
    // 日野市 (東京) and 麻生区 (川崎市, 神奈川) painted; a search then shows 東京 alone.
    w->startPaint();
    const QPoint hino = namePixel(*w, "日野市");
    const QPoint asao = namePixel(*w, "麻生区");
    ASSERT_GE(hino.x(), 0);
    ASSERT_GE(asao.x(), 0);
    w->paintWindow()->selectSlot(2);
    w->mapPress(hino.x(), hino.y(), Qt::LeftButton);
    w->paintWindow()->selectSlot(6);
    w->mapPress(asao.x(), asao.y(), Qt::LeftButton);
    ASSERT_EQ(w->paintRecords.count(), 2);
    w->endPaint();
    const Color tokyoSlot = w->paintWindow()->palette.colors[2];
    const Color kanagawaSlot = w->paintWindow()->palette.colors[6];
    ASSERT_GT(pixelsOf(picture(), kanagawaSlot), 0);

    w->switches.CBTownPaint = false;
    w->ComboBox1->setEditText(QStringLiteral("日野市"));
    w->runSearch();
    ASSERT_EQ(w->store.selectedAreas, std::vector<int>{12});
    EXPECT_EQ(w->paintRecords.count(), 2); // the records stay
    // 日野市 is painted again; 麻生区's record is not replayed where 神奈川 is missing.
    const QImage shown = picture();
    EXPECT_GT(pixelsOf(shown, tokyoSlot), 100);
    EXPECT_EQ(pixelsOf(shown, kanagawaSlot), 0);
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(MapFlow, NewSelectionStartsFromTheStandardViewWhateverTheLastOneWas)
{
    for (int i = 0; i < 4; ++i)
        w->UpDown1->stepUp();
    w->action("MReduce2")->trigger();
    ASSERT_EQ(w->view.magCount, 5);
    ASSERT_EQ(w->view.reductionDivisor, 2);
    w->Button5->click(); // 県 指 定
    w->ken()->Button1->click();
    EXPECT_EQ(w->view.magCount, 1);
    EXPECT_EQ(w->view.reductionDivisor, 1);
    EXPECT_EQ(w->canvas.width(), 600);
    EXPECT_EQ(w->Label6->text(), QStringLiteral("1.00"));
}

TEST_F(MapFlow, PaintingLeavesTheBackgroundColourAndConfigurationAsTheyWere)
{
    const Color back = w->display.BackColor;
    ASSERT_NE(back, kWhite);
    w->startPaint();
    EXPECT_EQ(w->display.BackColor, kWhite);
    w->endPaint();
    EXPECT_EQ(w->display.BackColor, back);
    EXPECT_EQ(w->currentConfig().BackColor, back);
    // 背景白色 on and off again in the paint window gives the colour back too.
    w->resumePaint();
    w->paintWindow()->CBWhite->setChecked(true);
    w->paintWindow()->CBWhite->setChecked(false);
    w->endPaint();
    EXPECT_EQ(w->display.BackColor, back);
    EXPECT_EQ(w->canvas.pixel(2, 2), back);
}

TEST_F(MapFlow, PreMergerPaintKeepsItsBordersAfterPainting)
{
    w->startPaint();
    w->paintWindow()->CBOldPaint->setChecked(true);
    EXPECT_TRUE(w->switches.CBNTownBorder);
    w->endPaint();
    EXPECT_TRUE(w->switches.CBNTownBorder);
    EXPECT_TRUE(w->CBNTownBorder->isChecked());
}

TEST_F(MapFlow, RefusedRangeEndsTheDragAndTheTimerReturnsToTheStandardRange)
{
    w->UpDown1->stepUp();
    clickRangeButton();
    w->mapPress(200, 200, Qt::LeftButton);
    w->mapMove(203, 203);
    w->mapRelease(203, 203);
    EXPECT_EQ(w->Label15->text(), QStringLiteral("指定エラー"));
    EXPECT_FALSE(w->view.rangeDragging);
    EXPECT_TRUE(w->backHistory.empty());
    // A click and drag now neither arms nor applies a range.
    const int cx = w->view.centerX;
    w->mapPress(100, 100, Qt::LeftButton);
    w->mapMove(400, 400);
    w->mapRelease(400, 400);
    EXPECT_EQ(w->view.centerX, cx);
    EXPECT_TRUE(w->backHistory.empty());
    QTest::qWait(1300);
    EXPECT_EQ(w->view.magCount, 1);
}

TEST_F(MapFlow, ClosingThePaintWindowEndsPainting)
{
    w->startPaint();
    ASSERT_TRUE(w->session.paintActive);
    QTest::keyClick(w->paintWindow(), Qt::Key_Escape);
    EXPECT_FALSE(w->session.paintActive);
    EXPECT_TRUE(w->Button5->isEnabled());
    EXPECT_TRUE(w->UpDown1->isEnabled());
}

TEST_F(MapFlow, PaintingClosesTheSettingsWindowAndItsStepCannotUnlockTheView)
{
    w->showSettingsWindow();
    w->startPaint();
    EXPECT_FALSE(w->settingsWindow()->isVisible());
    w->action("MMag05")->trigger();
    EXPECT_FALSE(w->UpDown1->isEnabled());
    EXPECT_FALSE(w->TkBtn2->isEnabled());
    w->endPaint();
    EXPECT_TRUE(w->settingsWindow()->isVisible());
}

TEST_F(MapFlow, SettingsWindowFollowsTheMainWindowsChoices)
{
    w->action("MReduce3")->trigger();
    w->RBSize1200->setChecked(true);
    w->action("MMag02")->trigger();
    EXPECT_EQ(w->settingsWindow()->RadioGroup1->checkedId(), 2);
    EXPECT_EQ(w->settingsWindow()->RadioGroup2->checkedId(), 1);
    EXPECT_EQ(w->settingsWindow()->RadioGroup3->checkedId(), 2);
    w->CBTownName->setChecked(false);
    EXPECT_FALSE(w->settingsWindow()->CheckBox5->isChecked());
}

TEST(FileFilter, DialogFilterFromDescriptionAndPatternPairs)
{
    EXPECT_EQ(qtFileFilter(QStringLiteral("PNGファイル (*.png)|*.png")), QStringLiteral("PNGファイル (*.png)"));
    EXPECT_EQ(qtFileFilter(QStringLiteral("A (*.a)|*.a|B (*.b)|*.b")), QStringLiteral("A (*.a);;B (*.b)"));
}

} // namespace oboro
