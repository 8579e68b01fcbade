// Paint files, paint by name and data paint through the real paint window on the
// bundled map of Kanagawa: what is read shows in the picture on screen and in a saved one.
#include "app/gui/topen.h"
#include "common/gui/messagebox.h"
#include "common/log.h"
#include "common/paths.h"
#include "common/textfile.h"
#include "paint/gui/tmappaint.h"
#include "settings/gui/tken.h"
#include "support/dialogs.h"
#include "support/mainwindowflow.h"
#include "support/testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace oboro {
namespace {

class PaintFilesFlow : public test::MainWindowFlow {
protected:
    void SetUp() override
    {
        openKanagawa();
        if (HasFatalFailure())
            return;
        paint = w->paintWindow();
        paint->askFileName = [this](bool, const QString&) -> std::optional<QString> { return chosen; };
    }
    QPoint pixelOf(const std::string& name) const
    {
        for (const NameEntry& e : w->store.commonNames.entries)
            if (e.name == name)
                return MapToPixel(w->view, e.x, e.y);
        ADD_FAILURE() << name;
        return {};
    }

    TMapPaint* paint = nullptr;
    QString chosen;
};

TEST_F(PaintFilesFlow, APaintFileReadInThePaintWindowShowsOnScreenAndInASavedPicture)
{
    // Paint 鎌倉市 by clicking, save the paint, start again: the file brings it back.
    w->BtnPaint->click();
    ASSERT_TRUE(paint->isVisible());
    EXPECT_FALSE(paint->BtnSave->isEnabled());
    EXPECT_TRUE(paint->CBNamePaint->isEnabled());
    paint->selectSlot(6);
    const QPoint kamakura = pixelOf("鎌倉市");
    w->mapPress(kamakura.x(), kamakura.y(), Qt::LeftButton);
    w->mapRelease(kamakura.x(), kamakura.y());
    ASSERT_EQ(w->paintRecords.count(), 1);
    paint->BtnEnd->click();
    ASSERT_TRUE(paint->BtnSave->isEnabled());
    chosen = folder.path() + "/kamakura.pnt";
    paint->BtnSave->click();
    ASSERT_EQ(readSjisFile(chosen.toStdString()).lines.size(), 18u);

    const Color slot = w->session.palette.colors[6];
    w->ken()->Button1->click(); // the same selection again: no paint
    EXPECT_EQ(w->paintRecords.count(), 0);
    EXPECT_NE(w->canvas.image().pixel(kamakura), toPixel(slot));
    paint->applyColorSet(2);
    paint->BtnLoad->click();
    EXPECT_EQ(w->paintRecords.count(), 1);
    EXPECT_EQ(paint->LblPaint->text(), QStringLiteral("1"));
    EXPECT_EQ(paint->LblFile->text(), QStringLiteral("kamakura.pnt"));
    EXPECT_EQ(w->session.palette.colors[6], slot);
    EXPECT_EQ(w->canvas.image().pixel(kamakura), toPixel(slot));
    EXPECT_EQ(w->MapImage->pixmap().toImage().convertToFormat(QImage::Format_RGB32).pixel(kamakura), toPixel(slot))
        << "the shown picture";

    MapExport what;
    what.side = 1800;
    what.path = folder.path() + "/saved.png";
    ASSERT_EQ(w->exportForPrint(what), ExportOutcome::Written);
    const QImage saved = QImageReader(what.path).read();
    long slotPixels = 0;
    for (int y = 0; y < saved.height(); ++y)
        for (int x = 0; x < saved.width(); ++x)
            slotPixels += (saved.pixel(x, y) & 0xFFFFFF) == (toPixel(slot) & 0xFFFFFF);
    EXPECT_GT(slotPixels, 2000) << "鎌倉市 painted in the saved picture";
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(PaintFilesFlow, NameListAndStatisticsFromTheWindow)
{
    w->BtnPaint->click();
    EXPECT_FALSE(paint->CmbNames->isEnabled());
    paint->CBNamePaint->click();
    ASSERT_TRUE(paint->CmbNames->isEnabled());
    EXPECT_GE(paint->CmbNames->findText(QStringLiteral("緑区(相模原市)")), 0);
    paint->selectSlot(1);
    paint->CmbNames->setEditText(QStringLiteral("鎌倉市"));
    paint->BtnNameRun->click();
    EXPECT_EQ(w->paintRecords.count(), 1);
    EXPECT_EQ(w->canvas.image().pixel(pixelOf("鎌倉市")), toPixel(w->session.palette.colors[1]));
    paint->BtnEnd->click();
    EXPECT_FALSE(paint->CBNamePaint->isChecked());

    // A statistics file by name, in three classes; an unknown name is told.
    test::writeSjisFile(folder.path(), "pop.csv", "市区町村名,人口\n鎌倉市,170000\n秦野市,160000\n三浦市,40000\n架空市,1\n");
    chosen = folder.path() + "/pop.csv";
    paint->SpinClasses->setValue(3);
    paint->BtnData->click();
    EXPECT_EQ(w->paintRecords.count(), 3);
    ASSERT_EQ(dialogs->shown.size(), 2u);
    EXPECT_NE(dialogs->shown[0].text.find("5 行目 架空市（市区町村名が見つかりません）"), std::string::npos);
    EXPECT_NE(dialogs->shown[1].text.find("3  126,667 – 170,000"), std::string::npos) << dialogs->shown[1].text;
    EXPECT_EQ(w->canvas.image().pixel(pixelOf("鎌倉市")), toPixel(w->session.palette.colors[2]));
    EXPECT_EQ(w->canvas.image().pixel(pixelOf("三浦市")), toPixel(w->session.palette.colors[0]));
}

} // namespace
} // namespace oboro
