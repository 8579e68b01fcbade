// The symbol palette through the main window on the bundled map of Kanagawa: open it
// with 地図記号, pick a symbol, stamp by clicking the map, and find the stamp in the
// shown picture and in the saved 1800-pixel picture; the symbol files and the menu 記号.
#include "app/gui/topen.h"
#include "common/gui/messagebox.h"
#include "common/dms.h"
#include "common/log.h"
#include "common/paths.h"
#include "settings/gui/tken.h"
#include "support/dialogs.h"
#include "support/mainwindowflow.h"
#include "support/testsupport.h"
#include "symbols/gui/tpagesdlg.h"

#include <QAction>
#include <QCheckBox>
#include <QCursor>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

namespace oboro {
namespace {

using test::QuietDialogs;

constexpr Color kInk = 0x123456; // no other layer draws in this colour

long inkPixels(const QImage& img, const QRect& where)
{
    const QRect r = where.intersected(img.rect());
    long n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFFu) == (toPixel(kInk) & 0xFFFFFFu);
    return n;
}

class SymbolFlow : public test::MainWindowFlow {
protected:
    void SetUp() override
    {
        openMainWindow({"mapdata", "mark"});
        if (HasFatalFailure())
            return;
        palette = w->symbolPaletteWindow();
        ASSERT_TRUE(palette);
        palette->chooseColor = [](Color) { return std::optional<Color>(kInk); };
    }
    QImage shown() const { return w->MapImage->pixmap().toImage().convertToFormat(QImage::Format_RGB32); }

    TPagesDlg* palette = nullptr;
};

TEST_F(SymbolFlow, AClickOnKanagawaStampsTheSymbolInTheShownAndTheSavedPicture)
{
    EXPECT_FALSE(w->BtnMark->isEnabled());
    EXPECT_FALSE(w->action("MKigou")->isEnabled());
    selectKanagawa();
    EXPECT_TRUE(w->BtnMark->isEnabled());
    EXPECT_TRUE(w->action("MPalette")->isEnabled());
    w->BtnMark->click();
    EXPECT_TRUE(palette->isVisible());
    palette->BtnColor->click();
    palette->symbolButton(113)->click(); // 神社
    EXPECT_EQ(palette->symbolButton(113)->toolTip(), QStringLiteral("神社"));
    ASSERT_TRUE(w->session.stampingArmed());
    // The map cursor is the symbol, its hot spot at the top left.
    EXPECT_EQ(w->MapImage->cursor().hotSpot(), QPoint(0, 0));
    EXPECT_EQ(w->MapImage->cursor().pixmap().size(), QSize(32, 32));

    const QPoint click(280, 300);
    w->mapPress(click.x(), click.y(), Qt::LeftButton);
    w->mapRelease(click.x(), click.y());
    ASSERT_EQ(w->session.stamps.size(), 1u);
    EXPECT_EQ(palette->LblCount->text(), QStringLiteral("1"));
    const QPoint centre = click + QPoint(16, 16);
    const QRect box(centre.x() - 8, centre.y() - 8, 16, 16);
    const long inBox = inkPixels(shown(), box);
    EXPECT_GT(inBox, 15);
    EXPECT_EQ(inkPixels(shown(), shown().rect()), inBox);
    EXPECT_TRUE(dialogs->shown.empty());

    // The saved picture at 1800 pixels: the same stamp, three times as far from the corner.
    const QImage saved = w->session.drawPicture(1800);
    ASSERT_EQ(saved.width(), 1800);
    const QRect box1800(centre.x() * 3 - 12, centre.y() * 3 - 12, 24, 24);
    EXPECT_GT(inkPixels(saved, box1800), 15);
    EXPECT_EQ(inkPixels(saved, saved.rect()), inkPixels(saved, box1800));

    // 戻 す takes it away again.
    palette->BtnUndo->click();
    EXPECT_EQ(inkPixels(shown(), shown().rect()), 0);
    EXPECT_FALSE(palette->BtnUndo->isEnabled());

    // 閉じる: the palette goes, clicks no longer stamp, the arrow comes back.
    palette->BtnClose->click();
    EXPECT_FALSE(palette->isVisible());
    EXPECT_NE(w->session.activeMouseTool(), MouseToolId::Stamp);
    EXPECT_EQ(w->MapImage->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(SymbolFlow, StampsGoToAFileAndComeBackFromIt)
{
    selectKanagawa();
    w->BtnMark->click();
    palette->BtnColor->click();
    palette->symbolButton(200)->click();
    palette->CBStandard->click(); // 小 14
    EXPECT_EQ(palette->LblSize->text(), QStringLiteral("小"));
    EXPECT_TRUE(w->action("MMark14")->isChecked());
    w->mapPress(100, 100, Qt::LeftButton);
    w->mapPress(300, 200, Qt::LeftButton);
    ASSERT_EQ(w->session.stamps.size(), 2u);
    const auto stamps = w->session.stamps;
    const QImage withStamps = shown();

    const QString file = folder.path() + "/two.mrk";
    palette->chooseFile = [&](const FileQuestion&) { return file; };
    palette->BtnFileSave->click();
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_EQ(palette->LblFileName->text(), QStringLiteral("two.mrk"));

    dialogs->answer = true;
    palette->BtnClear->click();
    EXPECT_TRUE(w->session.stamps.empty());
    EXPECT_EQ(palette->LblCount->text(), QStringLiteral("0"));
    palette->BtnFileLoad->click();
    EXPECT_EQ(w->session.stamps, stamps);
    EXPECT_EQ(shown(), withStamps);

    // A file that is not a symbol file is refused; the stamps stay.
    const QString bad = QString::fromStdString(test::writeFile(folder.path(), "bad.mrk", "x\n"));
    palette->chooseFile = [&](const FileQuestion&) { return bad; };
    palette->BtnFileLoad->click();
    EXPECT_EQ(w->session.stamps, stamps);
    ASSERT_FALSE(dialogs->shown.empty());
    EXPECT_NE(dialogs->shown.back().text.find("bad.mrk の 1 行目"), std::string::npos);
}

TEST_F(SymbolFlow, LongitudeAndLatitudeStampAtThatPlace)
{
    selectKanagawa();
    w->BtnMark->click();
    palette->symbolButton(104)->click();
    EXPECT_FALSE(palette->BtnPlace->isEnabled());
    palette->CBPosition->click();
    ASSERT_TRUE(palette->BtnPlace->isEnabled());
    palette->EdLon->setText(QStringLiteral("139.3800"));
    palette->EdLat->setText(QStringLiteral("35.2700"));
    palette->BtnPlace->click();
    ASSERT_EQ(w->session.stamps.size(), 1u);
    // 139°38′ and 35°27′ in map units.
    EXPECT_EQ(w->session.stamps[0].x, longitudeToMapX(139.0f + 38.0f / 60.0f));
    EXPECT_EQ(w->session.stamps[0].y, latitudeToMapY(35.0f + 27.0f / 60.0f));
}

TEST_F(SymbolFlow, TheDisableButtonStopsStampingWithItsMessage)
{
    selectKanagawa();
    w->BtnMark->click();
    palette->symbolButton(101)->click();
    palette->BtnDisable->click();
    EXPECT_EQ(palette->BtnDisable->text(), QStringLiteral("有効"));
    EXPECT_EQ(palette->LblStampState[0]->text(), QStringLiteral("無効"));
    palette->symbolButton(101)->click();
    w->mapPress(100, 100, Qt::LeftButton);
    EXPECT_TRUE(w->session.stamps.empty());
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].title, "スタンプ機能");
    palette->BtnDisable->click();
    w->mapPress(100, 100, Qt::LeftButton);
    EXPECT_EQ(w->session.stamps.size(), 1u);
}

} // namespace
} // namespace oboro
