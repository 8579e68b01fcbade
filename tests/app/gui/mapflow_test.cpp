// The main window driving a real map: the bundled map data of Tokyo and Kanagawa,
// selected, zoomed, moved, narrowed to a range and painted.
#include "app/gui/topen.h"
#include "app/gui/tkbtn.h"
#include "app/gui/updown.h"
#include "common/gui/messagebox.h"
#include "common/log.h"
#include "common/paths.h"
#include "paint/gui/tmappaint.h"
#include "settings/gui/tken.h"
#include "settings/gui/tsettei.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include "support/dialogs.h"

#include <gtest/gtest.h>

namespace oboro {
namespace {

using test::QuietDialogs;

// A copy of the bundled program folder, so the program writes nothing into the checkout.
bool copyFolder(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + src.mid(from.size());
        QDir().mkpath(QFileInfo(dst).absolutePath());
        if (!QFile::copy(src, dst))
            return false;
    }
    return true;
}

class MapFlow : public ::testing::Test {
protected:
    void SetUp() override
    {
        Canvas::installFontSubstitutions();
        ASSERT_TRUE(copyFolder(QStringLiteral(OBORO_SOURCE_DIR "/data"), folder.path()));
        setProgramFolder(folder.path());
        dialogs = std::make_shared<QuietDialogs>();
        setMessageInterceptor([this](const Message& m) {
            dialogs->shown.push_back(m);
            return true;
        });
        w = std::make_unique<TOpen>(nullptr, dialogs);
        w->ken()->areaBox(12)->setChecked(true);
        w->ken()->areaBox(13)->setChecked(true);
        w->ken()->Button1->click();
    }
    void TearDown() override
    {
        w.reset();
        setMessageInterceptor(nullptr);
        DiagnosticLog::instance().close();
    }
    QImage picture() const { return w->canvas.image().copy(); }
    void clickRangeButton() { QTest::mouseClick(w->TkBtn2, Qt::LeftButton); }

    QTemporaryDir folder;
    std::shared_ptr<QuietDialogs> dialogs;
    std::unique_ptr<TOpen> w;
};

} // namespace

TEST_F(MapFlow, ConfirmLoadsTheAreasSetsUpTheViewAndDraws)
{
    EXPECT_EQ(w->store.selectedAreas, (std::vector<int>{12, 13}));
    EXPECT_TRUE(w->session.mapShown);
    EXPECT_GT(w->view.standardSide, 0);
    EXPECT_GT(w->store.line(LineKind::Coast).wordCount(), 0);
    // Coast and prefecture border colours are on the picture.
    const QImage img = picture();
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
    QPoint land(-1, -1);
    for (int r = 0; r < 200 && land.x() < 0; r += 3)
        for (int dx : {r, -r})
            if (land.x() < 0 && w->canvas.pixel(300 + dx, 300) == kWhite)
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

} // namespace oboro
