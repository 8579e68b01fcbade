// The label window through the main window on the bundled map of Kanagawa: a label
// placed by longitude and latitude shows on the map and in the saved 1800-pixel
// picture; the grid, the right-button operations and the labels-in-view list.
#include "app/gui/topen.h"
#include "common/gui/messagebox.h"
#include "common/log.h"
#include "common/paths.h"
#include "labels/gui/tinlabel.h"
#include "labels/gui/tletter.h"
#include "settings/gui/tken.h"
#include "support/dialogs.h"
#include "support/mainwindowflow.h"
#include "support/testsupport.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace oboro {
namespace {

using test::QuietDialogs;

long count(const QImage& img, Color c, const QRect& within)
{
    const QRect r = within.intersected(img.rect());
    long n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += fromPixel(img.pixel(x, y)) == c;
    return n;
}

class LabelFlow : public test::MainWindowFlow {
protected:
    void SetUp() override
    {
        openKanagawa();
        if (HasFatalFailure())
            return;
        letter = w->labelWindow();
    }
    TLetter* letter = nullptr;
};

TEST_F(LabelFlow, LabelPlacedByDegreesIsOnTheMapAndInTheSavedPicture)
{
    EXPECT_TRUE(w->BtnLetter->isEnabled());
    EXPECT_TRUE(w->CBLabel->isEnabled());
    w->BtnLetter->click();
    EXPECT_TRUE(letter->isVisible());
    EXPECT_TRUE(letter->BtnClear->isEnabled());
    const QImage before = w->canvas.image().copy();

    letter->RBDegrees->click();
    letter->EdLon->setText(QStringLiteral("139.2000"));
    letter->EdLat->setText(QStringLiteral("35.2600"));
    emit letter->EdLon->textEdited(letter->EdLon->text());
    emit letter->EdLat->textEdited(letter->EdLat->text());
    letter->BtnPlace->click();
    ASSERT_EQ(w->session.labels.count(), 1);
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_TRUE(w->CBLabel->isChecked());
    EXPECT_TRUE(letter->CBShow->isChecked());
    EXPECT_EQ(letter->LblCount->text(), QStringLiteral("1"));
    EXPECT_EQ(letter->LblStatus->text(), QStringLiteral("ラベルを記入"));
    EXPECT_EQ(letter->StringGrid1->model()->data(letter->StringGrid1->model()->index(0, 3)).toString(),
              QStringLiteral("ラベル記入"));

    // On the shown picture: the mark centred on the point, the text after it, navy.
    const LabelRow& r = w->session.labels.row(0);
    const QPoint p = MapToPixel(w->view, r.x, r.y);
    const QRect around(p.x() - 6, p.y() - 6, 90, 20);
    EXPECT_EQ(count(before, kDefaultLabelColor, around), 0);
    const QPixmap shown = w->MapImage->pixmap();
    EXPECT_GT(count(shown.toImage(), kDefaultLabelColor, around), 20);

    // In the saved 1800-pixel picture, three times as far from the corner.
    w->RBSize1800->click();
    ASSERT_EQ(w->view.imageSide, 1800);
    const QImage saved = w->session.drawPicture(1800);
    const QPoint q = MapToPixel(w->view, r.x, r.y);
    EXPECT_NEAR(q.x(), 3 * p.x(), 4);
    EXPECT_GT(count(saved, kDefaultLabelColor, QRect(q.x() - 6, q.y() - 6, 90, 20)), 20);

    // The label's text typed into the grid is drawn at the next drawing.
    QAbstractItemModel* m = letter->StringGrid1->model();
    EXPECT_TRUE(m->setData(m->index(0, 3), QStringLiteral("平塚"), Qt::EditRole));
    EXPECT_FALSE(m->setData(m->index(0, 1), QStringLiteral("東"), Qt::EditRole));
    EXPECT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(w->session.labels.row(0).text, "平塚");
}

TEST_F(LabelFlow, RowOperationsAndTheLabelsInViewList)
{
    QTemporaryDir dir;
    const std::string path = test::writeSjisFile(dir.path(), "k.lbl",
                                                 "○,176000,170000,乙,8,255\n○,175000,169000,甲,8,65280\n"
                                                 "○,10,10,外,8,16711680\n");
    letter->chooseFilesToRead = [&] { return QStringList{QString::fromStdString(path)}; };
    letter->BtnRead->click();
    ASSERT_EQ(w->session.labels.count(), 3);
    EXPECT_FALSE(letter->CBMark->isChecked());
    EXPECT_EQ(letter->StringGrid2->rowCount(), 1);

    letter->BtnTextSort->click();
    // Shift-JIS order: 乙 (89 B3), 外 (8A 4F), 甲 (8D 62); each keeps its colour.
    EXPECT_EQ(w->session.labels.row(0).text, "乙");
    EXPECT_EQ(w->session.labels.row(0).color, 255u);
    EXPECT_EQ(w->session.labels.row(2).text, "甲");
    EXPECT_EQ(w->session.labels.row(2).color, 65280u);

    // Delete 外 after the question.
    letter->selectRow(1);
    letter->NDelete->trigger();
    EXPECT_EQ(dialogs->asked.back().text, "ラベル '外' を削除しますか？");
    ASSERT_EQ(w->session.labels.count(), 2);

    // Move 甲 with the next click on the map.
    letter->selectRow(1);
    letter->NMove->trigger();
    w->mapPress(300, 320, Qt::LeftButton);
    w->mapRelease(300, 320);
    EXPECT_EQ(MapToPixel(w->view, w->session.labels.row(1).x, w->session.labels.row(1).y), QPoint(300, 320));
    EXPECT_GT(count(w->canvas.image(), 65280, QRect(298, 318, 40, 16)), 5);

    // Labels in view: both; 非表示設定 hides both in the table.
    letter->BtnInView->click();
    TInLabel* list = w->labelsInViewWindow();
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->LblCount->text(), QStringLiteral("2"));
    list->BtnHideAll->click();
    EXPECT_EQ(list->BtnHideAll->text(), QStringLiteral("表示設定"));
    EXPECT_FALSE(w->session.labels.row(0).shown);
    EXPECT_EQ(count(w->canvas.image(), 65280, QRect(298, 318, 40, 16)), 0);

    // The main window's ラベル hides and shows all labels.
    list->BtnHideAll->click();
    w->CBLabel->click();
    EXPECT_FALSE(w->session.switches.CBLabel);
    EXPECT_FALSE(letter->CBShow->isChecked());
    EXPECT_EQ(count(w->canvas.image(), 65280, QRect(298, 318, 40, 16)), 0);
    w->CBLabel->click();
    EXPECT_GT(count(w->canvas.image(), 65280, QRect(298, 318, 40, 16)), 5);

    // Saved, then the table cleared.
    const QString saved = dir.filePath("out.lbl");
    letter->chooseFileToSave = [&] { return std::optional<QString>(saved); };
    EXPECT_TRUE(letter->BtnSave->isEnabled());
    letter->BtnSave->click();
    EXPECT_EQ(test::readFileBytes(saved.toStdString()).size() > 0, true);
    letter->BtnClear->click();
    EXPECT_EQ(w->session.labels.count(), 0);
    EXPECT_EQ(letter->LblCount->text(), QStringLiteral("0"));
}

} // namespace
} // namespace oboro
