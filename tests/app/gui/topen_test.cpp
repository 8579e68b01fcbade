// The main window as it starts: caption, size, controls, menus and the start screen,
// and the few operations the shell owns.
#include "app/gui/cursors.h"
#include "app/gui/shellwindows.h"
#include "app/gui/tkbtn.h"
#include "app/gui/topen.h"
#include "app/gui/updown.h"
#include "app/startup.h"
#include "common/log.h"
#include "common/paths.h"
#include "support/testsupport.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include "support/dialogs.h"

#include <gtest/gtest.h>

namespace oboro {
namespace {

// Collects what the window would show in message boxes and answers its questions.
using ScriptedDialogs = test::QuietDialogs;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Canvas::installFontSubstitutions();
        test::writeFile(folder.path(), "mapdata/EXTRA.TXT", "");
        test::writeFile(folder.path(), "mapdata/yomi.lst", "");
        const std::string path = test::writeFile(folder.path(), "mapdata/13.map", "x\n");
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime(QDate(2021, 1, 1), QTime(9, 0)), QFileDevice::FileModificationTime));
        setProgramFolder(folder.path());
        dialogs = std::make_shared<ScriptedDialogs>();
        window = std::make_unique<TOpen>(nullptr, dialogs);
    }
    void TearDown() override
    {
        window.reset();
        DiagnosticLog::instance().close();
    }
    template <class W> W* find(const char* name) { return window->findChild<W*>(QString::fromLatin1(name)); }

    QTemporaryDir folder;
    std::shared_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<TOpen> window;
};

TEST_F(MainWindowTest, WindowHasItsCaptionSizeFontAndColours)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("白地図 Oboro Ver 9.1"));
    QWidget* client = window->centralWidget();
    EXPECT_EQ(client->size(), QSize(861, 638));
    EXPECT_EQ(window->minimumSize(), window->maximumSize()); // fixed size
    EXPECT_EQ(client->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(client->font().pixelSize(), 13);
    EXPECT_TRUE(client->font().bold());
    EXPECT_EQ(client->palette().color(QPalette::Window), QColor(0xBF, 0xFF, 0xFF)); // 0xFFFFBF
    EXPECT_EQ(client->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_EQ(window->ScrollBox1->geometry(), QRect(238, 8, 616, 616));
    EXPECT_EQ(window->controlColumn()->width(), 238);
}

struct ControlState {
    const char* name;
    const char* caption; // nullptr: not checked
    const char* hint;    // nullptr: not checked
    bool enabled;
    int checked;         // -1: not a check box
    bool visible;
};

QString captionOf(QWidget* w)
{
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    if (auto* t = qobject_cast<TTkBtn*>(w))
        return t->caption();
    if (auto* c = qobject_cast<QComboBox*>(w))
        return c->currentText();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    return {};
}

TEST_F(MainWindowTest, ControlsStartWithTheirCaptionsHintsAndStates)
{
    // Controls whose tool window is not in this build start disabled (see awaitingToolWindows).
    const ControlState table[] = {
        {"Button5", "県 指 定", nullptr, true, -1, true},
        {"Button9", "検　索", "検索実行", true, -1, true},
        {"ComboBox1", "市区町村名", "右クリックで削除できます", true, -1, true},
        {"CBTownPaint", "市町村検索ペイント", "同一色でペイントする", true, 1, true},
        {"CBMenseki", "", "総面積表示", true, 0, true},
        {"Button10", "ﾌｧｲﾙ読込", "編集作業を復元する", false, -1, true},
        {"Button1", "ﾌｧｲﾙ保存", "編集作業を保存する", false, -1, true},
        {"Button2", "終　了", nullptr, true, -1, true},
        {"Button6", "標準範囲", nullptr, false, -1, true},
        {"UDHor", nullptr, nullptr, false, -1, true},
        {"UDVer", nullptr, nullptr, false, -1, true},
        {"BtnCenter", "+", nullptr, false, -1, true},
        {"UpDown1", nullptr, nullptr, false, -1, true},
        {"TkBtn2", "範囲指定", nullptr, false, -1, true},
        {"Button12", "戻す", nullptr, false, -1, true},
        {"CBCopy", "ｺﾋﾟｰ", nullptr, false, 0, true},
        {"CBPrefBorder", "都府県界", nullptr, false, 1, true},
        {"CBTownBorder", "市区町村界", nullptr, false, 1, true},
        {"CBNTownBorder", "旧", nullptr, false, 0, true},
        {"CBKenName1", "都道府県名", "都道府県名表示", false, 0, true},
        {"CBTownName", "市区町村名", nullptr, false, 1, true},
        {"CBYomi", "読み", "市区町村名の読みがな表示", false, 0, true},
        {"CBLabel", "ラベル", nullptr, false, 0, true},
        {"CBMainDoubleName", "重複可", "市町村名の重複を許す", false, 1, true},
        {"CBScale", "尺度", nullptr, false, 0, true},
        {"CBLake", "湖境界", nullptr, false, 0, true},
        {"CBLonLat", "経緯線(1度)", nullptr, false, 0, true},
        {"CBExp", "地図凡例", nullptr, false, 0, true},
        {"CBCenterMark", "中心", nullptr, false, 0, true},
        {"CBRailLine", "鉄道路線図", "鉄道路線図の表示", false, 0, true},
        {"CBEki", "駅名", "駅名表示/非表示", false, 0, true},
        {"CBMain", "主要駅", "主要駅名のみ表示", false, 0, true},
        {"CBRailSet", "詳細", "地図線の属性変更", false, 0, true},
        {"Button7", "表示設定", nullptr, false, -1, true},
        {"BtnPaint", "ペイント", nullptr, false, -1, true},
        {"BtnLetter", "ラ ベ ル", nullptr, false, -1, true},
        {"BtnMark", "地図記号", nullptr, false, -1, true},
        {"BtnLine", "地 図 線", "地図線編集/表示", false, -1, true},
        {"Button13", "円", nullptr, false, -1, true},
        {"Button11", "経緯度", "座標値を表示する", true, -1, true},
        {"BtnMulti", "距離", "任意距離/面積測定", false, -1, true},
        {"Button14", "面積", "測定領域をクリック", false, -1, true},
        {"CBTimer", "概算", nullptr, true, 0, true},
        {"CBNokori", "県", "県域面積", false, 0, true},
        {"RGImageSize", "画像ｻｲｽﾞ", nullptr, false, -1, true},
        {"RBSize600", " 600", nullptr, false, 1, true},
        {"RBSize1200", "1200", nullptr, false, 0, true},
        {"RBSize1800", "1800", nullptr, false, 0, true},
        {"RGImageFormat", "画像形式", "PNGを推奨", false, -1, true},
        {"RBPng", "PNG", nullptr, false, 1, true},
        {"RBJpeg", "JPEG", nullptr, false, 0, true},
        {"RBBmp", "BMP", nullptr, false, 0, true},
        {"Button3", "画像コピー", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ", false, -1, true},
        {"Button4", "画像保存", nullptr, false, -1, true},
        {"CBInfo", "", "地図設定値表示", false, 0, true},
        {"CBChiri", "", "国土地理院地図閲覧サービスへ接続", false, 0, true},
        {"Image1", nullptr, nullptr, true, -1, true},
        {"Image2", nullptr, nullptr, true, -1, true},
        {"Label13", "緯度", nullptr, true, -1, true},
        {"Label14", "経度", nullptr, true, -1, true},
        {"Label17", "距離", nullptr, true, -1, true},
        {"Label15", "   0.00 km", nullptr, true, -1, true},
        {"Label31", "    0.00 km", nullptr, true, -1, true},
        {"LblSide", "0.0 km", nullptr, true, -1, true},
        {"LblCount", "0", nullptr, true, -1, true},
        {"Label6", "1.00", nullptr, false, -1, true},
        {"Label19", "", nullptr, true, -1, true},
        {"Label35", nullptr, "測定不能領域の数", true, -1, false},
        // the feedback button on the start screen
        {"TkBtn1", nullptr, "クリックしてください，ﾒｰﾙを送ります", true, -1, true},
    };
    window->show();
    for (const ControlState& row : table) {
        SCOPED_TRACE(row.name);
        QWidget* w = find<QWidget>(row.name);
        ASSERT_NE(w, nullptr);
        if (row.caption) {
            EXPECT_EQ(captionOf(w), QString::fromUtf8(row.caption));
        }
        if (row.hint) {
            EXPECT_EQ(w->toolTip(), QString::fromUtf8(row.hint));
        }
        EXPECT_EQ(w->isEnabled(), row.enabled);
        EXPECT_EQ(w->isVisible(), row.visible);
        if (row.checked >= 0) {
            auto* b = qobject_cast<QAbstractButton*>(w);
            ASSERT_NE(b, nullptr);
            EXPECT_EQ(b->isChecked(), row.checked == 1);
        }
    }
    EXPECT_EQ(window->UDHor->position(), 500);
    EXPECT_EQ(window->UDVer->position(), 500);
    EXPECT_EQ(window->UpDown1->position(), 1);
    EXPECT_EQ(window->UpDown1->minimum(), 1);
    EXPECT_EQ(window->UpDown1->maximum(), 10000);
    EXPECT_EQ(window->ComboBox1->maxVisibleItems(), 12);
    EXPECT_TRUE(window->ComboBox1->isEditable());
}

TEST_F(MainWindowTest, VisibleControlsFitTheColumnWithoutOverlapping)
{
    window->show();
    const QRect column(0, 0, 238, 638);
    std::vector<QWidget*> shown;
    for (QObject* o : window->controlColumn()->children())
        if (auto* w = qobject_cast<QWidget*>(o); w && w->isVisible())
            shown.push_back(w);
    ASSERT_GT(shown.size(), 50u);
    for (QWidget* w : shown) {
        EXPECT_TRUE(column.contains(w->geometry())) << w->objectName().toStdString();
        if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->text().isEmpty()) {
            EXPECT_GE(b->width(), b->fontMetrics().horizontalAdvance(b->text())) << b->objectName().toStdString();
        }
    }
    for (size_t i = 0; i < shown.size(); ++i)
        for (size_t j = i + 1; j < shown.size(); ++j)
            EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
                << shown[i]->objectName().toStdString() << " overlaps " << shown[j]->objectName().toStdString();
}

struct MenuState {
    const char* name;
    const char* text;
    bool enabled;
    int checked; // -1: not checkable
    bool visible = true;
};

TEST_F(MainWindowTest, MenusHoldEveryItemWithItsStartState)
{
    QStringList titles;
    for (QAction* a : window->menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, (QStringList{"ファイル", "編集", "表示", "記号", "行政区界", "ヘルプ"}));

    const MenuState table[] = {
        {"N2", "都道府県指定ｳｲﾝﾄﾞｳを開く", false, -1},
        {"MSaveImage", "地図画像を保存する", false, -1},
        {"MSavePng", "PNGファイルで保存する", true, 1},
        {"MSaveJpeg", "JPEGファイルで保存する", true, 0},
        {"MSaveBmp", "BITMAPファイルで保存する", true, 0},
        {"MPrintSave", "印刷用に保存...", false, -1},
        {"MAutoLabel", "ラベルファイルを自動的に作成する", false, -1},
        {"MClearHistory", "検索した市町村名を空にする", true, -1},
        {"MOldLabel", "旧町村名のラベルファイルを作成する", false, -1},
        {"MSaveSettings", "終了時の設定を保存する", true, 1},
        {"MExit", "終了", true, -1},
        {"N3", "地図表示設定ｳｲﾝﾄﾞｳを開く", false, -1},
        {"N4", "ペイント作業を開始する", false, -1},
        {"N5", "地図凡例を編集する", false, -1},
        {"MReduce", "縮小率", true, -1},
        {"MReduce1", "×１（標準）", true, 1},
        {"MReduce2", "×1/2", true, 0},
        {"MReduce5", "×1/5", true, 0},
        {"MMagStep", "拡大係数", true, -1},
        {"MMag10", "×1.0（標準）", true, 1},
        {"MMag05", "×0.5", true, 0},
        {"MMag02", "×0.2", true, 0},
        {"MMag01", "×0.1", true, 0},
        {"MMoveStep", "移動係数", true, -1},
        {"MMove20", "×2.0", true, 0},
        {"MMove10", "×1.0（標準）", true, 1},
        {"MMove05", "×0.5", true, 0},
        {"N9", "市区町村名表示位置編集", false, -1},
        {"N17", "市区町村名削除/追加", false, -1},
        {"N10", "政令指定都市名表示位置編集", false, -1},
        {"N11", "重複区名・町村名表示位置編集", false, -1},
        {"N16", "任意地図線編集・表示", false, -1},
        {"MWgs", "世界測地系(WGS)", true, 1},
        {"MHokkaido", "北海道支庁界表示", true, 1},
        {"MApproval", "国土地理院承認番号表示", true, 1},
        {"ken_name", "都府県名表示", true, 1},
        {"MWait", "お待ちください．．．", true, 1},
        {"MGridUnder", "経緯度線下層表示", true, 1},
        {"MPrefSet", "都道府県名文字特性設定", false, -1},
        {"N6", "市町村検索ペイント色", true, -1},
        {"MOrder", "検索リストの配列順", true, -1},
        {"MTimeOrder", "時間順", true, 1},
        {"MKanjiOrder", "漢字コード順", true, 0},
        {"MAddOld", "検索ペイントリストに旧町村名を加える", false, -1},
        {"MKyori", "距離円を描く", false, -1},
        {"MRail", "鉄道路線情報", false, -1},
        {"MKigou", "記号", false, -1},
        {"MPalette", "記号パレットを開く", false, -1},
        {"MMarkSize", "地図記号サイズ", false, -1, false}, // hidden
        {"MMark16", "標準　16", true, 1},
        {"MMark14", "小　　 14", true, 0},
        {"MMark18", "大 　　18", true, 0},
        {"MCustomDel", "カスタム記号を削除する", false, -1},
        {"MCustomLoad", "カスタム記号を呼び出す", false, -1},
        {"MCustomSave", "カスタム記号を保存する", false, -1},
        {"MEdition", "行政区界", false, -1},
        {"MEd2002", "2002年版(&A)", true, 0},
        {"MEd2003", "2003年版(&B)", true, 0},
        {"MEd2005", "2005年版(&C)", true, 0},
        {"MEd2008", "2008年版(&D)", true, 0},
        {"MEd2009", "2009年版(&E)", true, 0},
        {"MEd2010", "2010年版(&F)", true, 0},
        {"MHowTo", "使い方", true, -1},
        {"MReadme", "readme.htmを開く", true, -1},
        {"MHomePage", nullptr, true, -1},
        {"MAbout", "バージョン情報", true, -1},
    };
    for (const MenuState& row : table) {
        SCOPED_TRACE(row.name);
        QAction* a = window->action(row.name);
        ASSERT_NE(a, nullptr);
        if (row.text) {
            EXPECT_EQ(a->text(), QString::fromUtf8(row.text));
        }
        EXPECT_EQ(a->isEnabled(), row.enabled);
        EXPECT_EQ(a->isVisible(), row.visible);
        EXPECT_EQ(a->isCheckable(), row.checked >= 0);
        if (row.checked >= 0) {
            EXPECT_EQ(a->isChecked(), row.checked == 1);
        }
    }
}

TEST_F(MainWindowTest, MapImageShowsTheStartScreenWithTheDataDate)
{
    ASSERT_TRUE(window->dataDate.has_value());
    EXPECT_EQ(*window->dataDate, QDate(2021, 1, 1));
    EXPECT_EQ(window->store.dataDate, 410101);
    Canvas expected;
    drawStartScreen(expected, window->display.BackColor, QDate(2021, 1, 1));
    EXPECT_EQ(window->canvas.image(), expected.image());
    const QImage shown = window->MapImage->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, expected.image());
    EXPECT_EQ(window->Panel1->size(), QSize(600, 600));
    EXPECT_FALSE(window->Button4->isEnabled()); // 画像保存
}

TEST_F(MainWindowTest, StartUpOpensTheLogFileInTheProgramFolder)
{
    EXPECT_TRUE(DiagnosticLog::instance().isOpen());
    EXPECT_TRUE(QFile::exists(folder.path() + "/OboroLog.txt"));
    EXPECT_FALSE(window->store.programDate.empty());
}

TEST_F(MainWindowTest, FailedLoadKeepsTheCurrentMapAndState)
{
    window->store.selectedAreas = {5};
    window->store.extent.maxX = 123;
    EXPECT_FALSE(window->session.selectAreas({1, 2}, false));
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].title, "ファイルオープンエラー");
    EXPECT_EQ(window->store.selectedAreas, std::vector<int>{5});
    EXPECT_EQ(window->store.extent.maxX, 123);
    EXPECT_FALSE(window->TkBtn1->isHidden());
    EXPECT_FALSE(window->session.selectAreas({}, false));
}

TEST_F(MainWindowTest, SuccessfulLoadReplacesTheMapDataAndHidesTheFeedbackButton)
{
    TOpen w(nullptr, dialogs);
    bool succeed = false;
    std::vector<int> asked;
    w.session.readMapFiles = [&](MapStore& target, const std::vector<int>& areas, const LoadOptions&, MessageSink&) {
        asked = areas;
        if (!succeed)
            return false;
        const int32_t xy[] = {10, 20, 30, 40, 30, 60};
        target.line(LineKind::Coast).append(xy, 3);
        return true;
    };
    const int32_t old[] = {1, 1, 2, 2, 3, 3};
    w.store.line(LineKind::Pref).append(old, 3);
    w.confirmSelection({13}, false, false);
    EXPECT_EQ(w.store.line(LineKind::Pref).wordCount(), 7);

    succeed = true;
    w.confirmSelection({13, 14}, false, false);
    EXPECT_EQ(asked, (std::vector<int>{13, 14}));
    EXPECT_EQ(w.store.selectedAreas, (std::vector<int>{13, 14}));
    EXPECT_EQ(w.store.line(LineKind::Pref).wordCount(), 0);
    EXPECT_EQ(w.store.line(LineKind::Coast).wordCount(), 7);
    EXPECT_EQ(w.store.dataDate, 410101);
    EXPECT_TRUE(w.TkBtn1->isHidden());
    EXPECT_TRUE(w.session.mapShown);
}

TEST_F(MainWindowTest, ExitAsksFirstAndCancelKeepsTheProgramRunning)
{
    window->show();
    dialogs->answer = false;
    QTest::mouseClick(window->Button2, Qt::LeftButton);
    ASSERT_EQ(dialogs->asked.size(), 1u);
    EXPECT_EQ(dialogs->asked[0].text, "終了してよろしいですか？　　　");
    EXPECT_EQ(dialogs->asked[0].title, "白地図 Oboro の終了");
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(DiagnosticLog::instance().isOpen());

    dialogs->answer = true;
    window->action("MExit")->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(DiagnosticLog::instance().isOpen());
}

TEST_F(MainWindowTest, ReadoutButtonSwitchesBetweenLatitudeLongitudeAndMapUnits)
{
    window->show();
    QTest::mouseClick(window->Button11, Qt::LeftButton);
    EXPECT_TRUE(window->session.readoutInMapUnits);
    EXPECT_EQ(window->Button11->text(), QStringLiteral("座標値"));
    EXPECT_EQ(window->Button11->toolTip(), QStringLiteral("経緯度を表示する"));
    QTest::mouseClick(window->Button11, Qt::LeftButton);
    EXPECT_FALSE(window->session.readoutInMapUnits);
    EXPECT_EQ(window->Button11->text(), QStringLiteral("経緯度"));
    EXPECT_EQ(window->Button11->toolTip(), QStringLiteral("座標値を表示する"));
}

TEST_F(MainWindowTest, SwitchesThatMirrorEachOtherStayInStep)
{
    window->CBNTownBorder->setChecked(true);
    EXPECT_TRUE(window->session.isOn(Switch::PreMergerNames));
    EXPECT_TRUE(window->session.isOn(Switch::PreMergerBorders));
    window->CBNTownBorder->setChecked(false);
    EXPECT_FALSE(window->session.isOn(Switch::PreMergerNames));

    window->RBJpeg->setChecked(true);
    EXPECT_TRUE(window->action("MSaveJpeg")->isChecked());
    EXPECT_FALSE(window->action("MSavePng")->isChecked());
    window->action("MSaveBmp")->setChecked(true);
    EXPECT_TRUE(window->RBBmp->isChecked());

    EXPECT_TRUE(window->switches.hokkaidoBorders);
    window->action("MHokkaido")->setChecked(false);
    EXPECT_FALSE(window->switches.hokkaidoBorders);
    EXPECT_TRUE(window->view.wgs);
    window->action("MWgs")->setChecked(false);
    EXPECT_FALSE(window->view.wgs);
    EXPECT_EQ(window->LblDatum->text(), QStringLiteral("旧日本測地系"));
}

TEST_F(MainWindowTest, NewSelectionResetsTheViewAndItsControlsAndAsksForThePrefectureWindow)
{
    QSignalSpy spy(window.get(), &TOpen::prefectureWindowRequested);
    window->switches.drawingEnabled = true;
    window->session.mapShown = true;
    window->view.magCount = 40;
    window->view.magStep = 0.2f;
    window->view.moveFactor = 0.5f;
    window->view.reductionDivisor = 3;
    window->view.sizeFactor = 3;
    window->view.horizontalMove = 510;
    window->switches.gridUnder = false;
    window->switches.CBScale = true;
    window->switches.CBLonLat = true;
    window->switches.CBExp = true;
    window->session.setWhiteBackground(true);
    window->refreshControls();
    window->workFileName = "a.obr";

    window->prepareNewSelection();

    EXPECT_EQ(spy.count(), 1);
    EXPECT_FALSE(window->switches.drawingEnabled);
    EXPECT_FALSE(window->session.mapShown);
    // The view itself goes back to the standard, not only its controls.
    EXPECT_EQ(window->view.magCount, 1);
    EXPECT_FLOAT_EQ(window->view.magStep, 1.0f);
    EXPECT_EQ(window->view.reductionDivisor, 1);
    EXPECT_EQ(window->view.sizeFactor, 1);
    EXPECT_FALSE(window->display.CheckBox13);
    EXPECT_EQ(window->display.BackColor, window->display.SavedBackColor);
    EXPECT_EQ(window->UpDown1->position(), 1);
    EXPECT_EQ(window->Label6->text(), QStringLiteral("1.00"));
    EXPECT_EQ(window->UDHor->position(), 500);
    EXPECT_TRUE(window->action("MMag10")->isChecked());
    EXPECT_TRUE(window->action("MMove10")->isChecked());
    EXPECT_TRUE(window->action("MReduce1")->isChecked());
    EXPECT_TRUE(window->action("MGridUnder")->isChecked());
    EXPECT_TRUE(window->RBSize600->isChecked());
    EXPECT_FALSE(window->CBScale->isChecked());
    EXPECT_FALSE(window->CBLonLat->isChecked());
    EXPECT_FALSE(window->CBExp->isChecked());
    // The label window is not in this build: its controls stay off.
    EXPECT_FALSE(window->BtnLetter->isEnabled());
    EXPECT_FALSE(window->CBLabel->isEnabled());
    EXPECT_TRUE(window->workFileName.isEmpty());
}

TEST_F(MainWindowTest, ClickOnTheBackgroundIsReportedButNotOneOnAControl)
{
    window->show();
    QSignalSpy spy(window.get(), &TOpen::backgroundClicked);
    QTest::mouseClick(window->controlColumn(), Qt::LeftButton, {}, QPoint(120, 630));
    EXPECT_EQ(spy.count(), 1);
    QTest::mouseClick(window->Button11, Qt::LeftButton);
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(MainWindowTest, ViewSetUpAndDrawingEnableTheMapControlsThatHaveTheirTools)
{
    window->session.readMapFiles = [](MapStore& target, const std::vector<int>&, const LoadOptions&, MessageSink&) {
        const int32_t xy[] = {10, 20, 3000, 40, 3000, 3060};
        target.line(LineKind::Coast).append(xy, 3);
        target.extent = {10, 20, 3000, 3060};
        return true;
    };
    window->confirmSelection({13}, false, false);
    for (QWidget* w : std::initializer_list<QWidget*>{window->CBTownBorder, window->CBNTownBorder, window->CBPrefBorder,
                                                      window->CBLonLat, window->CBTownName, window->CBCenterMark,
                                                      window->CBScale, window->UpDown1, window->Button4,
                                                      window->BtnPaint, window->CBExp, window->CBLabel, window->BtnLetter})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(window->action("N5")->isEnabled()); // 地図凡例を編集する
    EXPECT_FALSE(window->CBLabel->isChecked());

    // 市区町村界 off takes the names, 旧 and 湖境界 with it; 都府県界 off takes 市区町村界.
    window->CBTownBorder->setChecked(false);
    EXPECT_FALSE(window->CBLake->isEnabled());
    EXPECT_FALSE(window->CBTownName->isEnabled());
    EXPECT_FALSE(window->CBTownName->isChecked());
    EXPECT_FALSE(window->CBNTownBorder->isEnabled());
    window->CBTownBorder->setChecked(true);
    EXPECT_TRUE(window->CBLake->isEnabled());
    window->CBPrefBorder->setChecked(false);
    EXPECT_FALSE(window->CBTownBorder->isChecked());
    EXPECT_FALSE(window->CBTownBorder->isEnabled());
    window->CBPrefBorder->setChecked(true);
    EXPECT_TRUE(window->CBTownBorder->isEnabled());
    // 経緯線(1度) brings its ten-minute lines and degree numbers.
    window->CBLonLat->setChecked(true);
    EXPECT_TRUE(window->switches.CBFun);
    EXPECT_TRUE(window->switches.CBDo);

    for (int i = 0; i < 5; ++i)
        window->redraw();
    EXPECT_EQ(window->LblCount->text(), QString::number(window->renderState.drawCount));
    EXPECT_EQ(window->LblMapping->text(), QStringLiteral("Mapping %1").arg(window->renderState.mappingCount));
    // Tools that are not in this build stay off.
    for (QWidget* w : std::initializer_list<QWidget*>{window->CBKenName1, window->CBRailLine,
                                                      window->CBYomi})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_FALSE(window->action("N9")->isEnabled()); // name editor not in this build
}

TEST_F(MainWindowTest, MissingReadmeIsReported)
{
    window->action("MReadme")->trigger();
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, "インターネットエクスプローラの起動に失敗しました　　　　");
    EXPECT_EQ(dialogs->shown[0].title, "readme.htm呼び出しエラー");
    EXPECT_EQ(dialogs->shown[0].icon, MessageIcon::Exclamation);
}

TEST_F(MainWindowTest, PicturesOpenTheVersionAndManualWindows)
{
    window->show();
    QTest::mouseClick(window->Image1, Qt::LeftButton);
    TAbout* about = window->aboutWindow();
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->programDate().toStdString(), window->store.programDate);
    QTest::mouseClick(about, Qt::LeftButton); // any click closes it
    EXPECT_FALSE(about->isVisible());

    QTest::mouseClick(window->Image2, Qt::LeftButton);
    EXPECT_TRUE(window->howToWindow()->isVisible());
    auto* memo = window->howToWindow()->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    ASSERT_NE(memo, nullptr);
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_FALSE(memo->toPlainText().isEmpty());
}

TEST_F(MainWindowTest, PleaseWaitWindowsStayOnTopWithOneLineOfText)
{
    TProcess* p = window->processWindow();
    TKeisoku* k = window->measureWaitWindow();
    EXPECT_EQ(p->windowTitle(), QStringLiteral("　お待ちください．．．．"));
    EXPECT_EQ(k->windowTitle(), QStringLiteral("　お待ちください"));
    EXPECT_TRUE(p->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(k->windowFlags() & Qt::WindowStaysOnTopHint);
    p->showWithText(QStringLiteral("地図を描いています"));
    EXPECT_TRUE(p->isVisible());
    EXPECT_EQ(p->text(), QStringLiteral("地図を描いています"));
}

TEST(CustomCursors, EveryCursorResourceIsRegisteredUnderItsNumber)
{
    registerCustomCursors();
    std::vector<std::string> names;
    for (const CursorResource& r : cursorResources()) {
        names.push_back(r.name);
        EXPECT_TRUE(hasCustomCursor(r.number)) << r.name;
        const QCursor c = customCursor(r.number);
        EXPECT_EQ(c.shape(), Qt::BitmapCursor);
        EXPECT_EQ(c.pixmap().size(), QSize(32, 32));
    }
    ASSERT_EQ(names.size(), 31u);
    EXPECT_EQ(names.front(), "C100");
    EXPECT_EQ(names[20], "C120");
    EXPECT_EQ(names[21], "E101");
    EXPECT_EQ(names[27], "E107");
    EXPECT_EQ(names[28], "T200");
    EXPECT_EQ(names[29], "T201");
    EXPECT_EQ(names[30], "KYORI");
    EXPECT_EQ(cursorResources()[20].number, 21);
    EXPECT_EQ(cursorResources()[30].number, 301);
    EXPECT_FALSE(hasCustomCursor(22));
    EXPECT_EQ(customCursor(22).shape(), Qt::ArrowCursor);
    // The cursors can be told apart.
    EXPECT_NE(customCursor(1).pixmap().toImage(), customCursor(2).pixmap().toImage());
}

TEST(PicturePushButton, PressLowersTheBevelAndAReleaseOverItClicks)
{
    TTkBtn b;
    EXPECT_EQ(b.size(), QSize(75, 25));
    b.show();
    QSignalSpy clicks(&b, &TTkBtn::clicked);
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(b.isLowered());
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(b.isLowered());
    EXPECT_EQ(clicks.count(), 1);
    // Released away from the button: raised, no click.
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(200, 10));
    EXPECT_FALSE(b.isLowered());
    EXPECT_EQ(clicks.count(), 1);
}

TEST(PicturePushButton, PaintsThePictureStretchedAndTheCaption)
{
    TTkBtn b;
    b.resize(80, 30);
    QPixmap red(4, 4);
    red.fill(Qt::red);
    b.setPicture(red);
    QImage plain(80, 30, QImage::Format_RGB32);
    b.render(&plain);
    EXPECT_EQ(plain.pixelColor(40, 15), QColor(Qt::red)); // picture fills the face
    b.setCaption(QStringLiteral("範囲指定"));
    b.setTextColor(QColor(0, 0, 128));
    QImage withText(80, 30, QImage::Format_RGB32);
    b.render(&withText);
    int navy = 0; // text pixels: clearly blue, whatever the smoothing of their edges
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x) {
            const QColor c = withText.pixelColor(x, y);
            navy += c.blue() > c.red() + 60 && c.blue() > c.green() + 60 ? 1 : 0;
        }
    EXPECT_GT(navy, 20);
}

TEST(UpDownControl, ArrowsStepThePositionWithinItsRange)
{
    TUpDown u(Qt::Vertical);
    u.setRange(1, 3);
    u.setPosition(1);
    QSignalSpy clicks(&u, &TUpDown::clicked);
    u.stepUp();
    u.stepUp();
    u.stepUp();
    EXPECT_EQ(u.position(), 3);
    ASSERT_EQ(clicks.count(), 3);
    EXPECT_TRUE(clicks.at(0).at(0).toBool());
    u.stepDown();
    EXPECT_EQ(u.position(), 2);
    EXPECT_FALSE(clicks.at(3).at(0).toBool());
    u.setPosition(-50);
    EXPECT_EQ(u.position(), 1);
}

} // namespace
} // namespace oboro
