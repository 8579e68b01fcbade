// The readings through the main window on the bundled map of 神奈川: 読み and its window,
// the reading under the pointer, the readings map, the name list with an edited reading
// saved back to yomi.lst, and the prefecture window's 市町村名リスト.
#include "app/gui/topen.h"
#include "common/gui/messagebox.h"
#include "common/log.h"
#include "common/paths.h"
#include "common/textfile.h"
#include "names/gui/tyomi.h"
#include "names/gui/tyomilist.h"
#include "names/readings.h"
#include "settings/gui/tken.h"
#include "support/dialogs.h"
#include "support/mainwindowflow.h"
#include "support/testsupport.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace oboro {
namespace {

using test::QuietDialogs;

class ReadingsFlow : public test::MainWindowFlow {
protected:
    QPoint namePixel(const std::string& name) const
    {
        for (const NameEntry& e : w->store.commonNames.entries)
            if (e.name == name)
                return MapToPixel(w->view, e.x, e.y);
        ADD_FAILURE() << name;
        return {};
    }
    long kanaPixels() const
    {
        const QImage img = w->MapImage->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        long n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += img.pixel(x, y) == toPixel(kKana);
        return n;
    }
    static constexpr Color kKana = 0x5A3C1E;

};

TEST_F(ReadingsFlow, ReadingsBoxShowsTheWindowTheHoverAndTheReadingsMap)
{
    EXPECT_FALSE(w->CBYomi->isEnabled());
    selectKanagawa();
    if (w->CBMainDoubleName->isChecked())
        w->CBMainDoubleName->click();
    ASSERT_TRUE(w->CBYomi->isEnabled());
    w->session.display.KanaFontColor = kKana;
    w->CBYomi->click();
    TYomi* yomi = w->readingsWindow();
    ASSERT_TRUE(w->session.switches.CBYomi);
    EXPECT_TRUE(yomi->isVisible());

    const QPoint p = namePixel("横須賀市");
    w->mapMove(p.x(), p.y());
    EXPECT_EQ(yomi->Label1->text(), QStringLiteral("横須賀市"));
    EXPECT_EQ(yomi->Label2->text(), QStringLiteral("よこすか - し"));
    w->mapMove(1, 1);
    EXPECT_EQ(yomi->Label1->text(), QStringLiteral("該当なし"));

    EXPECT_EQ(kanaPixels(), 0);
    yomi->Button2->click();
    EXPECT_GT(kanaPixels(), 500);
    EXPECT_FALSE(yomi->CBOnMap->isChecked());
    yomi->Button2->click();
    EXPECT_EQ(kanaPixels(), 0);

    // 市区町村名 off takes 読み with it, and closes its window.
    w->CBTownName->click();
    EXPECT_FALSE(w->CBYomi->isChecked());
    EXPECT_FALSE(w->CBYomi->isEnabled());
    EXPECT_FALSE(yomi->isVisible());
}

TEST_F(ReadingsFlow, EditedReadingInTheListIsSavedToYomiLst)
{
    w->ken()->areaBox(13)->setChecked(true);
    w->ken()->CBNameList->click();
    ASSERT_TRUE(w->session.mapShown);
    TYomiList* list = w->readingsListWindow();
    ASSERT_TRUE(list->isVisible());
    EXPECT_TRUE(w->session.switches.CBYomi);
    EXPECT_TRUE(w->readingsWindow()->isVisible());
    EXPECT_EQ(list->windowTitle(), QStringLiteral("神奈川県 読みがな編集"));
    const int rows = list->StringGrid1->rowCount();
    ASSERT_GT(rows, 30);
    EXPECT_EQ(list->Label11->text(), QString::number(rows) + QStringLiteral(" 個の市区町村名"));

    int row = -1;
    for (int i = 0; i < rows; ++i)
        if (list->StringGrid1->item(i, 3)->text() == QStringLiteral("鎌倉市"))
            row = i;
    ASSERT_GE(row, 0);
    list->StringGrid1->setCurrentCell(row, 4);
    EXPECT_EQ(list->Label12->text(), QStringLiteral("鎌倉市"));
    EXPECT_FALSE(w->session.overlay.nameHighlight.empty());
    list->StringGrid1->item(row, 4)->setText(QStringLiteral("かまくらし～"));
    EXPECT_TRUE(list->Button1->isEnabled());
    list->Button1->click();
    EXPECT_FALSE(list->Button1->isEnabled());
    const std::optional<std::string> bytes = readWholeFile(programPath(kReadingsFileName));
    ASSERT_TRUE(bytes);
    EXPECT_NE(bytes->find(utf8ToSjis(",鎌倉市,かまくらし～\n").value()), std::string::npos);

    // A reading no line can hold is refused, and the cell shows the kept one.
    dialogs->shown.clear();
    list->StringGrid1->item(row, 4)->setText(QStringLiteral("かま くら"));
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(list->StringGrid1->item(row, 4)->text(), QStringLiteral("かまくらし～"));
}

} // namespace
} // namespace oboro
