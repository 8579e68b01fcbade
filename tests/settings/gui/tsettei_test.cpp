#include "common/gui/messagebox.h"
#include "settings/gui/tsettei.h"
#include "view/render.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

using namespace oboro;

namespace {

constexpr Color kChosen = 0x123456; // r 0x56, g 0x34, b 0x12

QColor qcolor(Color c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// The main window's state around the settings window, with a tiny map: one prefecture
// border across the middle of a 600-pixel picture. Every redraw request runs DrawMap.
struct TSetteiTest : ::testing::Test, DrawingScene {
    TSettei window{display, sw, view};
    std::optional<Color> answer = kChosen;
    int redraws = 0;
    std::vector<Message> messages;

    void SetUp() override
    {
        store.selectedAreas = {12};
        store.extent = Extent{100000, 150000, 120000, 170000};
        SetUpView(view, store, 1);
        sw.drawingEnabled = true;
        sw.CBTownPaint = false;
        sw.CBTownBorder = false;
        const std::vector<int32_t> border{102000, 160000, 118000, 160000};
        ASSERT_TRUE(store.line(LineKind::Pref).append(border.data(), 2));
        window.setColorChooser([this](Color, QWidget*) { return answer; });
        QObject::connect(&window, &TSettei::redrawRequested, [this] {
            ++redraws;
            DrawMap(ctx, state, RenderHooks{});
        });
        setMessageInterceptor([this](const Message& m) {
            messages.push_back(m);
            return true;
        });
    }
    void TearDown() override { setMessageInterceptor(nullptr); }

    Color borderPixel()
    {
        const QPoint p = MapToPixel(view, 110000, 160000);
        return canvas.pixel(p.x(), p.y()).value_or(0xFFFFFFFF);
    }
    Color backgroundPixel() { return canvas.pixel(2, 2).value_or(0xFFFFFFFF); }
};

} // namespace

TEST_F(TSetteiTest, CaptionsOfTheWindow)
{
    EXPECT_EQ(window.windowTitle(), QStringLiteral("　地図表示設定"));
    EXPECT_EQ(window.Button8->text(), QStringLiteral("決　定"));
    EXPECT_EQ(window.Button6->text(), QStringLiteral("標準"));
    EXPECT_EQ(window.Button1->text(), QStringLiteral("閉じる"));
    EXPECT_EQ(window.Label24->text(), QStringLiteral("GSI ウオッちず"));
    EXPECT_EQ(window.CheckBox6->text(), QStringLiteral("経緯線(１度)"));
    EXPECT_EQ(window.CBFixedSize->text(), QStringLiteral("ﾌｫﾝﾄｻｲｽﾞ固定"));
    EXPECT_EQ(window.RadioGroup2->button(0)->text(), QStringLiteral(" 600"));
    EXPECT_EQ(window.RadioGroup4->button(0)->text(), QStringLiteral("× 2"));
    EXPECT_TRUE(window.RadioGroup4->button(1)->isChecked());
    QStringList texts;
    for (QLabel* l : window.findChildren<QLabel*>())
        texts << l->text();
    for (const char* t : {"画像ｻｲｽﾞ変更以外", "は決定ﾎﾞﾀﾝで反映", "このｳｲﾝﾄﾞｳは地図右ｸﾘｯｸでも開くことができます"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(t))) << t;
}

TEST_F(TSetteiTest, ColourReachesTheSwatchAndTheNextDrawing)
{
    DrawMap(ctx, state, RenderHooks{});
    ASSERT_EQ(borderPixel(), DisplayState{}.PrefColor);
    EXPECT_EQ(window.swatchColor(2), qcolor(DisplayState{}.PrefColor));

    window.Button3->click();
    EXPECT_EQ(display.PrefColor, kChosen);
    EXPECT_EQ(window.swatchColor(2), qcolor(kChosen));
    EXPECT_EQ(redraws, 0); // colours wait for 決　定 (or another drawing)

    window.Button8->click();
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(borderPixel(), kChosen);

    // A cancelled dialog keeps the colour.
    answer.reset();
    window.Button3->click();
    EXPECT_EQ(display.PrefColor, kChosen);
}

TEST_F(TSetteiTest, NewBackgroundUnchecksWhiteAndIsDrawnAfterApply)
{
    window.CheckBox13->setChecked(true);
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(backgroundPixel(), kWhite);

    window.Button7->click();
    EXPECT_FALSE(window.CheckBox13->isChecked());
    EXPECT_EQ(display.BackColor, kChosen);
    EXPECT_EQ(display.SavedBackColor, kChosen);
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(window.swatchColor(5), qcolor(kChosen));

    window.Button8->click();
    EXPECT_EQ(backgroundPixel(), kChosen);

    // Unchecking white brings the saved background back.
    window.CheckBox13->setChecked(true);
    EXPECT_EQ(backgroundPixel(), kWhite);
    window.CheckBox13->setChecked(false);
    EXPECT_EQ(display.BackColor, kChosen);
    EXPECT_EQ(backgroundPixel(), kChosen);
}

TEST_F(TSetteiTest, ApplyCopiesPendingBoxesWithDrawingOffAndRedrawsOnce)
{
    window.CheckBox3->setChecked(false); // also unchecks 市町村界 and 旧市町村界
    window.CheckBox6->setChecked(true);  // also checks 経緯線(10分) and 経緯度
    window.CheckBox10->setChecked(true);
    window.CheckBox5->setChecked(true);
    window.CheckBox12->setChecked(true);
    window.CBDoubleName->setChecked(true);
    const MainSwitches before = sw;
    EXPECT_EQ(sw.CBPrefBorder, true);
    EXPECT_EQ(sw.CBLonLat, false);
    EXPECT_EQ(sw.CBScale, false);
    EXPECT_EQ(redraws, 0);

    window.RadioGroup1->button(2)->setChecked(true); // acts at once and redraws
    ASSERT_EQ(redraws, 1);

    // What the main window finds when it puts the switches into its controls.
    std::vector<MainSwitches> seen;
    QSignalSpy applied(&window, &TSettei::switchesApplied);
    QObject::connect(&window, &TSettei::switchesApplied, [&] { seen.push_back(sw); });
    bool drawingAtRedraw = false;
    QObject::connect(&window, &TSettei::redrawRequested, [&] { drawingAtRedraw = sw.drawingEnabled; });
    window.Button8->click();

    EXPECT_EQ(redraws, 2);
    ASSERT_EQ(applied.size(), 1);
    EXPECT_EQ(applied.at(0).at(0).toInt(), 2);
    ASSERT_EQ(seen.size(), 1u);
    const MainSwitches& s = seen[0];
    EXPECT_FALSE(s.drawingEnabled);
    EXPECT_TRUE(drawingAtRedraw);
    EXPECT_FALSE(s.CBPrefBorder);
    EXPECT_FALSE(s.CBTownBorder);
    EXPECT_FALSE(s.CBNTownBorder);
    EXPECT_TRUE(s.CBLonLat);
    EXPECT_TRUE(s.CBFun);
    EXPECT_TRUE(s.CBDo);
    EXPECT_TRUE(s.CBScale);
    EXPECT_TRUE(s.CBTownName);
    EXPECT_TRUE(s.CBOldTown);
    EXPECT_TRUE(s.CBMainDoubleName);
    EXPECT_TRUE(s.ken_name);
    EXPECT_NE(before.CBPrefBorder, s.CBPrefBorder);
    // With the prefecture borders off the border is gone from the picture.
    EXPECT_NE(borderPixel(), display.PrefColor);
}

TEST_F(TSetteiTest, ApplyWithoutAMapKeepsDrawingOff)
{
    sw.drawingEnabled = false;
    canvas.resize(600, 600, kChosen);
    window.Button8->click();
    EXPECT_EQ(redraws, 1);
    EXPECT_FALSE(sw.drawingEnabled);
    EXPECT_EQ(backgroundPixel(), kChosen); // the start screen stays
}

TEST_F(TSetteiTest, MirrorBoxesActAtOnceWithoutRedraw)
{
    window.CheckBox5->setChecked(true);
    window.CheckBox6->setChecked(true);
    const struct {
        QCheckBox* box;
        bool MainSwitches::*item;
        void (TSettei::*signal)(bool);
    } cases[] = {
        {window.CheckBox2, &MainSwitches::ken_name, &TSettei::kenNameMenuChanged},
        {window.CheckBox9, &MainSwitches::CB1do, &TSettei::oneDegreeStepChanged},
        {window.CheckBox14, &MainSwitches::CBLake, &TSettei::lakeChanged},
        {window.CheckBox16, &MainSwitches::CBYomi, &TSettei::yomiChanged},
        {window.CBDoubleName, &MainSwitches::CBMainDoubleName, &TSettei::doubleNameChanged},
    };
    for (const auto& c : cases) {
        for (bool on : {!c.box->isChecked(), c.box->isChecked()}) {
            QSignalSpy spy(&window, c.signal);
            c.box->setChecked(on);
            EXPECT_EQ(sw.*c.item, on) << c.box->objectName().toStdString();
            ASSERT_EQ(spy.size(), 1) << c.box->objectName().toStdString();
            EXPECT_EQ(spy.at(0).at(0).toBool(), on);
        }
    }
    EXPECT_EQ(redraws, 0);
}

TEST_F(TSetteiTest, WidthsSizesAndRadioGroupsActAtOnce)
{
    window.UpDown1->setValue(3);
    window.UpDown2->setValue(2);
    window.UpDown5->setValue(1);
    EXPECT_EQ(display.CoastWidth, 3);
    EXPECT_EQ(display.PrefWidth, 2);
    EXPECT_EQ(display.WakuWidth, 1);

    view.imageSide = 1200;
    window.UpDown4->setValue(12);
    EXPECT_EQ(display.TownFontSize, 12);
    EXPECT_EQ(display.TownFontPixels, 24);

    QSignalSpy reduction(&window, &TSettei::reductionChosen);
    window.RadioGroup1->button(1)->setChecked(true);
    EXPECT_EQ(view.reductionDivisor, 2);
    ASSERT_EQ(reduction.size(), 1);
    EXPECT_EQ(reduction.at(0).at(0).toInt(), 2);
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(canvas.width(), 300);
    EXPECT_EQ(window.RadioGroup2->button(0)->text(), QStringLiteral("300"));
    EXPECT_EQ(window.RadioGroup2->button(1)->text(), QStringLiteral("600"));
    EXPECT_EQ(window.RadioGroup2->button(2)->text(), QStringLiteral("900"));

    const struct {
        QButtonGroup* group;
        void (TSettei::*signal)(int);
        int index;
    } groups[] = {
        {window.RadioGroup2, &TSettei::imageSizeChosen, 2},
        {window.RadioGroup3, &TSettei::magnificationStepChosen, 3},
        {window.RadioGroup4, &TSettei::moveFactorChosen, 0},
    };
    for (const auto& g : groups) {
        QSignalSpy spy(&window, g.signal);
        g.group->button(g.index)->setChecked(true);
        ASSERT_EQ(spy.size(), 1) << g.group->objectName().toStdString();
        EXPECT_EQ(spy.at(0).at(0).toInt(), g.index);
    }

    // The main window's own menus only move the radio marks.
    QSignalSpy step(&window, &TSettei::magnificationStepChosen);
    QSignalSpy again(&window, &TSettei::reductionChosen);
    window.setStepIndex(1);
    window.setReductionIndex(2);
    EXPECT_TRUE(window.RadioGroup3->button(1)->isChecked());
    EXPECT_TRUE(window.RadioGroup1->button(2)->isChecked());
    EXPECT_EQ(window.RadioGroup2->button(2)->text(), QStringLiteral("600"));
    EXPECT_TRUE(step.isEmpty());
    EXPECT_TRUE(again.isEmpty());
    EXPECT_EQ(redraws, 1);
}

TEST_F(TSetteiTest, HokkaidoBoxReselectsOnlyWithAMapShown)
{
    QSignalSpy reselect(&window, &TSettei::reselectRequested);
    QSignalSpy menu(&window, &TSettei::hokkaidoChanged);
    window.CBHokkaido->setChecked(false);
    EXPECT_FALSE(display.CBHokkaido);
    EXPECT_FALSE(sw.hokkaidoBorders);
    EXPECT_EQ(menu.size(), 1);
    EXPECT_TRUE(reselect.isEmpty());

    window.setMapShown(true);
    window.CBHokkaido->setChecked(true);
    EXPECT_TRUE(display.CBHokkaido);
    EXPECT_TRUE(sw.hokkaidoBorders);
    EXPECT_EQ(reselect.size(), 1);
    EXPECT_EQ(redraws, 0);
}

TEST_F(TSetteiTest, WidthTwoDisablesDottedBoxesAndKeepsTheirState)
{
    window.CheckBox11->setChecked(true);
    window.CBTownDot->setChecked(true);
    window.CBLakeDot->setChecked(false);
    QCheckBox* dotted[] = {window.CBTownDot, window.CBNTownDot, window.CBLakeDot, window.CBKuDot};
    const bool states[] = {true, true, false, true};
    for (QCheckBox* b : dotted)
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();

    window.UpDown3->setValue(2);
    EXPECT_EQ(display.TownWidth, 2);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(dotted[i]->isEnabled()) << dotted[i]->objectName().toStdString();
        EXPECT_EQ(dotted[i]->isChecked(), states[i]) << dotted[i]->objectName().toStdString();
    }
    EXPECT_TRUE(display.CBTownDot);
    EXPECT_TRUE(display.CBNTownDot);
    EXPECT_TRUE(display.CBKuDot);

    window.UpDown3->setValue(1);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(dotted[i]->isEnabled()) << dotted[i]->objectName().toStdString();
        EXPECT_EQ(dotted[i]->isChecked(), states[i]);
    }

    window.UpDown2->setValue(3);
    EXPECT_FALSE(window.CBPrefDot->isEnabled());
    window.UpDown2->setValue(1);
    EXPECT_TRUE(window.CBPrefDot->isEnabled());
}

TEST_F(TSetteiTest, EnableRules)
{
    // 都府県界 off takes 市町村界 and 旧市町村界 with it.
    window.CheckBox11->setChecked(true);
    window.CheckBox3->setChecked(false);
    EXPECT_FALSE(window.CheckBox4->isChecked());
    EXPECT_FALSE(window.CheckBox4->isEnabled());
    EXPECT_FALSE(window.CheckBox11->isChecked());
    EXPECT_FALSE(window.CheckBox11->isEnabled());
    EXPECT_FALSE(window.CheckBox14->isEnabled());
    EXPECT_FALSE(window.CBNTownDot->isEnabled());
    window.CheckBox3->setChecked(true);
    EXPECT_TRUE(window.CheckBox4->isEnabled());
    EXPECT_TRUE(window.CheckBox11->isEnabled());

    // 市町村名 governs 旧市町村名, 重複可 and 読み.
    EXPECT_FALSE(window.CheckBox12->isEnabled());
    window.CheckBox5->setChecked(true);
    for (QCheckBox* b : {window.CheckBox12, window.CBDoubleName, window.CheckBox16})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();

    // The graticule checks and enables its options; 1度おき needs 経緯度.
    window.CheckBox6->setChecked(true);
    EXPECT_TRUE(window.CheckBox7->isChecked() && window.CheckBox7->isEnabled());
    EXPECT_TRUE(window.CheckBox8->isChecked() && window.CheckBox8->isEnabled());
    EXPECT_TRUE(window.CheckBox9->isEnabled());
    window.CheckBox8->setChecked(false);
    EXPECT_FALSE(window.CheckBox9->isEnabled());
    window.CheckBox6->setChecked(false);
    EXPECT_FALSE(window.CheckBox7->isChecked() || window.CheckBox7->isEnabled());
    EXPECT_FALSE(window.CheckBox8->isEnabled());

    // Ward borders off: no ward names, no dotted choice.
    window.CBKu->setChecked(false);
    EXPECT_FALSE(display.CBKu);
    EXPECT_FALSE(window.CBKuName->isChecked());
    EXPECT_FALSE(display.CBKuName);
    EXPECT_FALSE(window.CBKuDot->isEnabled());

    window.CBMountain->setChecked(true);
    EXPECT_TRUE(window.CBMtHeight->isEnabled() && window.CBMtYomi->isEnabled());
    EXPECT_TRUE(display.CBMountain);

    QSignalSpy islands(&window, &TSettei::islandNameEditRequested);
    window.CBIslands->setChecked(true);
    EXPECT_EQ(window.Button13->text(), QStringLiteral("島名位置編集"));
    window.Button13->setEnabled(true);
    window.Button13->click();
    EXPECT_EQ(islands.size(), 1);
    window.CBIslands->setChecked(false);
    EXPECT_EQ(window.Button13->text(), QStringLiteral("市町名位置編集"));
}

TEST_F(TSetteiTest, StandardRestoresColoursAndSizesWithoutRedraw)
{
    for (bool soft : {false, true}) {
        window.Button5->click();
        window.Button16->click();
        window.UpDown3->setValue(3);
        window.UpDown5->setValue(3);
        window.UpDown4->setValue(20);
        window.CBColor->setChecked(true);
        window.CBTownDot->setChecked(true);
        window.CheckBox2->setChecked(false);
        window.CBSoft->setChecked(soft);

        window.Button6->click();
        EXPECT_EQ(display.TownFontColor, soft ? 8421504u : 0u);
        EXPECT_EQ(display.NTownColor, soft ? 16777088u : StdNTownColor);
        EXPECT_EQ(display.BackColor, 16777190u);
        EXPECT_EQ(window.swatchColor(4), qcolor(display.TownFontColor));
        EXPECT_EQ(window.swatchColor(10), qcolor(display.NTownColor));
        EXPECT_EQ(window.UpDown3->value(), 1);
        EXPECT_EQ(window.UpDown5->value(), 2);
        EXPECT_EQ(window.UpDown4->value(), 8);
        EXPECT_EQ(display.TownWidth, 1);
        EXPECT_EQ(display.WakuWidth, 2);
        EXPECT_EQ(display.TownFontSize, 8);
        EXPECT_EQ(display.TownFontPixels, 8);
        EXPECT_FALSE(window.CBColor->isChecked());
        EXPECT_FALSE(display.CBColor);
        EXPECT_FALSE(window.CBTownDot->isChecked());
        EXPECT_TRUE(window.CBTownDot->isEnabled());
        EXPECT_TRUE(window.CheckBox2->isChecked());
        EXPECT_TRUE(window.CBCoast->isChecked());
    }
    EXPECT_EQ(redraws, 0);
}

TEST_F(TSetteiTest, StateFromOutsideReachesTheControls)
{
    display.CoastColor = kChosen;
    display.TownWidth = 3;
    display.CBKuDot = false;
    display.CBMesh = true;
    display.CheckBox13 = true;
    window.refreshFromDisplayState();
    EXPECT_EQ(window.swatchColor(1), qcolor(kChosen));
    EXPECT_EQ(window.UpDown3->value(), 3);
    EXPECT_FALSE(window.CBKuDot->isChecked());
    EXPECT_TRUE(window.CBMesh->isChecked());
    EXPECT_TRUE(window.CheckBox13->isChecked());
    EXPECT_EQ(redraws, 0);

    // 決　定 after refreshing from the main window changes none of its switches.
    sw.CBTownName = true;
    sw.CBTownBorder = true;
    sw.CBPrefBorder = true;
    sw.CBScale = true;
    sw.CBLake = true;
    window.refreshFromMainSwitches();
    EXPECT_TRUE(window.CheckBox5->isChecked());
    EXPECT_TRUE(window.CheckBox10->isChecked());
    EXPECT_TRUE(window.CheckBox14->isChecked());
    window.Button8->click();
    EXPECT_TRUE(sw.CBTownName);
    EXPECT_TRUE(sw.CBScale);
    EXPECT_TRUE(sw.CBLake);
}

TEST_F(TSetteiTest, WebMapTopPageAndItsFailure)
{
    std::vector<std::string> calls;
    window.setPleaseWait([&](const QString& t) { calls.push_back("wait:" + t.toStdString()); },
                         [&] { calls.push_back("unwait"); });
    bool ok = true;
    window.setUrlOpener([&](const QUrl& url) {
        calls.push_back("open:" + url.toString().toStdString());
        return ok;
    });
    window.setWebMapTopUrl(QUrl(QStringLiteral("https://example.invalid/")));
    QTest::mouseClick(window.Label24, Qt::LeftButton);
    EXPECT_EQ(calls, (std::vector<std::string>{"wait:国土地理院の地図閲覧サービストップページに接続しています．．．",
                                               "open:https://example.invalid/", "unwait"}));
    EXPECT_TRUE(messages.empty());

    ok = false;
    QTest::mouseClick(window.Label24, Qt::LeftButton);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], (Message{"インターネットエクスプローラの起動に失敗しました　　　　", "ウオッ地図呼び出しエラー",
                                    MessageIcon::Exclamation}));
}

TEST_F(TSetteiTest, CloseHidesAndTells)
{
    window.show();
    QSignalSpy closed(&window, &TSettei::closedByButton);
    window.Button1->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(closed.size(), 1);
}
