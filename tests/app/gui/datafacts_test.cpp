// What the main window shows about its data and itself: the date the boundaries are as
// of and the credit come from the data folder's SOURCE.txt; the about entry of the help
// menu shows the program's licence and the data credits; Qt's own buttons speak Japanese.
#include "app/gui/tlicense.h"
#include "app/gui/topen.h"
#include "app/qttranslations.h"
#include "app/startup.h"
#include "common/log.h"
#include "common/paths.h"
#include "support/dialogs.h"
#include "support/testsupport.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>

#include <gtest/gtest.h>

namespace oboro {
namespace {

class DataFacts : public ::testing::Test {
protected:
    void SetUp() override
    {
        Canvas::installFontSubstitutions();
        test::writeFile(folder.path(), "mapdata/EXTRA.TXT", "");
        // A map file copied today: its file date is not the data's date.
        test::writeFile(folder.path(), "mapdata/13.map", "Z\n");
        setProgramFolder(folder.path());
        dialogs = std::make_shared<test::QuietDialogs>();
    }
    void TearDown() override
    {
        window.reset();
        DiagnosticLog::instance().close();
    }
    void open() { window = std::make_unique<TOpen>(nullptr, dialogs); }

    QTemporaryDir folder;
    std::shared_ptr<test::QuietDialogs> dialogs;
    std::unique_ptr<TOpen> window;
};

TEST_F(DataFacts, StartScreenDateAndCreditComeFromTheDataFolder)
{
    test::writeSjisFile(folder.path(), "mapdata/SOURCE.txt", "基準日: 2019/01/01\n出典: 某年の行政区域データを加工して作成\n");
    open();
    ASSERT_TRUE(window->dataDate.has_value());
    EXPECT_EQ(*window->dataDate, QDate(2019, 1, 1));
    EXPECT_EQ(window->store.dataDate, 390101); // what the prefecture window shows
    Canvas expected;
    drawStartScreen(expected, window->display.BackColor, QDate(2019, 1, 1));
    EXPECT_EQ(window->canvas.image(), expected.image());
    EXPECT_EQ(window->decorations.approvalNotice, "某年の行政区域データを加工して作成");
}

TEST_F(DataFacts, DataWithoutASourceFileHasNoCreditAndTheFileDate)
{
    open();
    EXPECT_EQ(window->dataDate, QDate::currentDate());
    EXPECT_TRUE(window->decorations.approvalNotice.empty());
}

TEST_F(DataFacts, HelpMenuShowsTheLicenceAndTheDataCredits)
{
    test::writeSjisFile(folder.path(), "mapdata/SOURCE.txt",
                        "基準日: 2021/01/01\n出典: 「国土数値情報（行政区域データ）」（国土交通省）を加工して作成\n"
                        "利用条件: 国土数値情報ダウンロードサイトコンテンツ利用規約（CC BY 4.0 互換）\n");
    open();
    QAction* about = window->action("MLicense");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->text(), QStringLiteral("ライセンスと地図データの出典"));
    QMenu* help = window->findChild<QMenu*>(QStringLiteral("MHelp"));
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->actions().contains(about));
    about->trigger();
    auto* dialog = window->findChild<TLicense*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    const QString text = dialog->text();
    for (const char* part : {"GPL-3.0-or-later", "「国土数値情報（行政区域データ）」（国土交通省）を加工して作成",
                             "基準日: 2021/01/01", "CC BY 4.0", "GNU GENERAL PUBLIC LICENSE", "Version 3, 29 June 2007"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part;
    // Asked again after the data changed: the window shows the data as it is now.
    QFile::remove(folder.path() + "/mapdata/SOURCE.txt");
    about->trigger();
    EXPECT_FALSE(dialog->text().contains(QStringLiteral("国土数値情報")));
    EXPECT_EQ(window->findChildren<TLicense*>().size(), 1);
}

TEST(QtTranslations, MessageBoxButtonsSpeakJapanese)
{
    QTranslator* t = installJapaneseQtTranslations(*QApplication::instance());
    ASSERT_NE(t, nullptr) << "Qt's translations (qt6-translations-l10n) are not installed";
    QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("q"), QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
    QMessageBox yesNo(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("q"), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(yesNo.button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));
    QCoreApplication::removeTranslator(t);
    delete t;
}

} // namespace
} // namespace oboro
