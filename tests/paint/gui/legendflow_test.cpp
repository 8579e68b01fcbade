// The legend through the main window on the bundled map of Kanagawa: 地図凡例, the legend
// window and its file, the paint window's 凡例編集 and パターンコピー, and the box dragged
// with the mouse into a new place, which the saved 1800-pixel picture shows too.
#include "app/gui/topen.h"
#include "common/gui/messagebox.h"
#include "common/log.h"
#include "common/paths.h"
#include "paint/gui/thanrei.h"
#include "paint/gui/tmappaint.h"
#include "settings/gui/tken.h"
#include "support/dialogs.h"
#include "support/mainwindowflow.h"
#include "support/testsupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

namespace oboro {
namespace {

using test::QuietDialogs;

Color pixelOf(const QImage& img, int x, int y) { return fromPixel(img.pixel(x, y)); }

class LegendFlow : public test::MainWindowFlow {
protected:
    void SetUp() override
    {
        openKanagawa();
    }
    // A mouse event on the map picture, as the window gets it.
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
    {
        QMouseEvent e(type, QPointF(at), w->MapImage->mapToGlobal(QPointF(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(w->MapImage, &e);
    }
    // Every pixel of the column x from y1 to y2 (excluded) has the colour.
    static bool column(const QImage& img, int x, int y1, int y2, Color c)
    {
        for (int y = y1; y < y2; ++y)
            if (pixelOf(img, x, y) != c)
                return false;
        return true;
    }

};

TEST_F(LegendFlow, LegendBoxDrawsTheLegendAndOpensItsWindow)
{
    ASSERT_TRUE(w->CBExp->isEnabled());
    ASSERT_TRUE(w->action("N5")->isEnabled());
    const QImage before = w->canvas.image();
    w->CBExp->setChecked(true);
    EXPECT_TRUE(w->legendWindow()->isVisible());
    EXPECT_EQ(w->legendWindow()->windowTitle(), QStringLiteral("　地図凡例編集"));
    // The box from (45, 45) to (105 + T, 126): black frame, white inside.
    const QImage& img = w->canvas.image();
    EXPECT_EQ(w->session.legendBox.topLeft(), QPoint(45, 45));
    EXPECT_EQ(w->session.legendBox.bottom(), 125);
    EXPECT_TRUE(column(img, 45, 46, 125, kBlack));
    EXPECT_TRUE(column(img, 48, 48, 123, kWhite));
    // Rows at 68, 86, 104 with the standard paint colours.
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(pixelOf(img, 70, 68 + 18 * r + 7), kStandardPaintColors[r]) << r;

    // Unchecked: the map as it was.
    w->CBExp->setChecked(false);
    EXPECT_EQ(w->canvas.image(), before);
    EXPECT_FALSE(w->session.legendGrabbable(w->session.legendBox.center()));
}

TEST_F(LegendFlow, DraggedBoxMovesTheLegendAndTheSavedPictureShowsIt)
{
    w->CBExp->setChecked(true);
    const QSize size = w->session.legendBox.size();
    mouse(QEvent::MouseButtonPress, QPoint(60, 60), Qt::LeftButton);
    mouse(QEvent::MouseMove, QPoint(200, 250), Qt::LeftButton);
    // The outline follows the pointer over the picture; the picture itself is not redrawn.
    ASSERT_TRUE(w->session.overlay.legendBox.has_value());
    EXPECT_EQ(*w->session.overlay.legendBox, QRect(QPoint(200, 250), size));
    EXPECT_EQ(w->session.legend.x, 50);
    mouse(QEvent::MouseButtonRelease, QPoint(300, 350), Qt::NoButton);
    EXPECT_FALSE(w->session.overlay.legendBox.has_value());

    // Dropped with its corner at the pointer: position = pointer + 5.
    EXPECT_EQ(w->session.legend.x, 305);
    EXPECT_EQ(w->session.legend.y, 355);
    EXPECT_EQ(w->legendWindow()->EdX->value(), 305);
    const QRect box = w->session.legendBox;
    EXPECT_EQ(box.topLeft(), QPoint(300, 350));
    EXPECT_EQ(box.size(), size);
    const QImage& img = w->canvas.image();
    EXPECT_TRUE(column(img, 300, 351, box.bottom(), kBlack));
    EXPECT_TRUE(column(img, 303, 353, box.bottom() - 2, kWhite));

    // The saved 1800-pixel picture: the legend three times as far from the corner and
    // three times as large; the box the mouse grabs stays that of the screen.
    const QImage big = w->session.drawPicture(1800);
    ASSERT_EQ(big.width(), 1800);
    const int bottom = 3 * 355 + (3 * 18 * 3 - 4 + 54) + 15; // Y + B + 5 f
    EXPECT_TRUE(column(big, 900, 1052, bottom - 2, kBlack));
    EXPECT_TRUE(column(big, 908, 1058, bottom - 6, kWhite));
    EXPECT_EQ(pixelOf(big, 899, 1100), pixelOf(big, 899, 1000)); // the map's ground left of the box
    EXPECT_EQ(pixelOf(big, 915 + 60, 3 * 355 + 54 + 20), kStandardPaintColors[0]);
    EXPECT_EQ(w->session.legendBox, box);

    // A press outside the box does not grab it.
    mouse(QEvent::MouseButtonPress, QPoint(20, 20), Qt::LeftButton);
    EXPECT_FALSE(w->session.legendDragging);
    mouse(QEvent::MouseButtonRelease, QPoint(20, 20), Qt::NoButton);
}

TEST_F(LegendFlow, WindowControlsFilesAndThePaintPalette)
{
    w->startPaint();
    w->paintWindow()->selectSlot(4);
    // 凡例編集 with 凡例記号コピー: eight rows with the slots' samples, the window shown.
    w->paintWindow()->palette.patterns[1] = 6;
    w->paintWindow()->BtnLegend->click();
    THanrei* h = w->legendWindow();
    ASSERT_TRUE(h->isVisible());
    EXPECT_TRUE(w->CBExp->isChecked());
    EXPECT_EQ(h->UDCount->value(), 8);
    EXPECT_EQ(w->session.legend.rows[1].pattern, 6);
    for (int r = 0; r < kLegendRows; ++r)
        EXPECT_EQ(w->session.legend.rows[r].color, w->paintWindow()->palette.colors[r]);
    // A sample clicked while painting takes the chosen slot's sample.
    h->Sample[0]->click();
    EXPECT_EQ(w->session.legend.rows[0].color, w->paintWindow()->palette.colors[4]);
    w->endPaint();
    h->Sample[2]->click(); // not painting: nothing
    EXPECT_EQ(w->session.legend.rows[2].color, w->paintWindow()->palette.colors[2]);

    // Numbers, texts and switches go to the legend.
    h->EdX->setValue(200);
    EXPECT_EQ(w->session.legend.x, 200);
    EXPECT_EQ(w->session.legendBox.left(), 195);
    h->EdText[0]->setText(QStringLiteral("人口 増"));
    h->CBTitle->setChecked(false);
    EXPECT_EQ(w->session.legend.rows[0].text, "人口 増");
    EXPECT_FALSE(w->session.legend.titleShown);
    EXPECT_FALSE(h->EdTitle->isEnabled());
    h->CBFrame->setChecked(false);
    EXPECT_FALSE(h->CBBold->isEnabled());

    // Saved and read back through the window; the status shows the file.
    QTemporaryDir dir;
    const QString path = dir.path() + "/kanagawa.exp";
    h->chooseSaveFile = [&](const QString&) { return path; };
    h->BtnSave->click();
    EXPECT_EQ(h->LblFile->text(), QStringLiteral("kanagawa.exp"));
    h->UDCount->setValue(2);
    h->EdX->setValue(400);
    h->chooseOpenFile = [&] { return path; };
    h->BtnRead->click();
    EXPECT_EQ(w->session.legend.x, 200);
    EXPECT_EQ(h->UDCount->value(), 8);
    EXPECT_EQ(h->EdText[0]->text(), QStringLiteral("人口 増"));

    // A file of two rows leaves rows 3..8 unused and empty.
    const std::string two = test::writeSjisFile(dir.path(), "two.exp",
                                                "2\n40\n15\n3\n50\n60\n10\n0\n0\n0xffffff\n題\n"
                                                "0xff,0,赤\n0xff00,0x3,緑\n");
    h->chooseOpenFile = [&] { return QString::fromStdString(two); };
    h->BtnRead->click();
    EXPECT_EQ(h->UDCount->value(), 2);
    EXPECT_EQ(h->EdY->value(), 60);
    EXPECT_FALSE(h->EdText[2]->isEnabled());
    EXPECT_TRUE(h->EdText[2]->text().isEmpty());
    EXPECT_EQ(h->LblFile->text(), QStringLiteral("two.exp"));

    // A malformed file: told, nothing changes.
    const LegendSettings kept = w->session.legend;
    const std::string bad = test::writeSjisFile(dir.path(), "bad.exp", "2\n40\n15\n3\n50\n60\n10\n0\n0\n0xffffff\n題\n0xff,0,赤\n");
    h->chooseOpenFile = [&] { return QString::fromStdString(bad); };
    dialogs->shown.clear();
    h->BtnRead->click();
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_NE(dialogs->shown[0].text.find("bad.exp の 13 行目"), std::string::npos) << dialogs->shown[0].text;
    EXPECT_EQ(w->session.legend, kept);
    EXPECT_EQ(h->LblFile->text(), QStringLiteral("two.exp"));

    // パターンコピー: the first rows go to the paint slots and their swatches.
    h->BtnPatternCopy->click();
    EXPECT_EQ(w->paintWindow()->palette.colors[0], 0x0000FFu);
    EXPECT_EQ(w->paintWindow()->palette.colors[1], 0x00FF00u);
    EXPECT_EQ(w->paintWindow()->palette.patterns[1], 3);

    // 地図 off: only the background and the legend.
    h->CBMap->setChecked(false);
    EXPECT_FALSE(w->session.tools.legendMap);
    EXPECT_FALSE(w->session.lastDraw.mapDrawn);
}

} // namespace
} // namespace oboro
