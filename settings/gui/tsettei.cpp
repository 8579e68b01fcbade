#include "settings/gui/tsettei.h"

#include "common/gui/messagebox.h"
#include "settings/displaysettings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QDesktopServices>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace oboro {

namespace {

constexpr int kSwatchWidth = 28;
constexpr int kSwatchHeight = 16;

QColor toQColor(Color c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
Color fromQColor(const QColor& q)
{
    return static_cast<Color>(q.red()) | (static_cast<Color>(q.green()) << 8) | (static_cast<Color>(q.blue()) << 16);
}

std::optional<Color> runColorDialog(Color initial, QWidget* parent)
{
    const QColor chosen = QColorDialog::getColor(toQColor(initial), parent);
    if (!chosen.isValid())
        return std::nullopt;
    return fromQColor(chosen);
}

const char* kWebMapWait = "国土地理院の地図閲覧サービストップページに接続しています．．．";

} // namespace

TSettei::TSettei(DisplayState& display, MainSwitches& switches, ViewState& view, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), d_(display), sw_(switches), view_(view),
      chooseColor_(runColorDialog), openUrl_([](const QUrl& url) { return QDesktopServices::openUrl(url); })
{
    setObjectName(QStringLiteral("TSettei"));
    setWindowTitle(QStringLiteral("　地図表示設定"));
    buildControls();
    connectBehaviour();
    repaintSwatches();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TSettei::buildControls()
{
    auto box = [this](const QString& caption, const char* name, bool checked, const QString& hint = {}) {
        auto* b = new QCheckBox(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setChecked(checked);
        if (!hint.isEmpty())
            b->setToolTip(hint);
        return b;
    };
    auto button = [this](const QString& caption, const char* name, const QString& hint = {}) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        if (!hint.isEmpty())
            b->setToolTip(hint);
        return b;
    };
    auto dots = [&](const char* name) {
        auto* b = button(QStringLiteral("..."), name);
        b->setFixedWidth(28);
        return b;
    };
    auto swatch = [this](int index) {
        auto* l = new QLabel(this);
        l->setObjectName(QStringLiteral("Image%1").arg(index));
        l->setFixedSize(kSwatchWidth, kSwatchHeight);
        l->setFrameShape(QFrame::Box);
        Image[index] = l;
        return l;
    };
    auto spin = [this](const char* name, int lo, int hi, int value) {
        auto* s = new QSpinBox(this);
        s->setObjectName(QString::fromLatin1(name));
        s->setRange(lo, hi);
        s->setValue(value);
        return s;
    };
    auto label = [this](const QString& text) { return new QLabel(text, this); };

    // ---- the rows of the look: display box, colour, swatch, width, dotted, extras
    Button2 = dots("Button2");
    Button3 = dots("Button3");
    Button4 = dots("Button4");
    Button5 = dots("Button5");
    Button7 = dots("Button7");
    Button9 = dots("Button9");
    Button10 = dots("Button10");
    Button11 = dots("Button11");
    Button12 = dots("Button12");
    Button16 = dots("Button16");
    Button17 = dots("Button17");
    Button18 = dots("Button18");

    UpDown1 = spin("UpDown1", 1, 3, d_.CoastWidth);
    UpDown2 = spin("UpDown2", 1, 3, d_.PrefWidth);
    UpDown3 = spin("UpDown3", 1, 3, d_.TownWidth);
    UpDown4 = spin("UpDown4", 4, 50, d_.TownFontSize);
    UpDown5 = spin("UpDown5", 1, 3, d_.WakuWidth);

    CheckBox2 = box(QStringLiteral("都府県名"), "CheckBox2", true, QStringLiteral("左下隅の都府県名"));
    CheckBox3 = box(QStringLiteral("都府県界"), "CheckBox3", true);
    CheckBox4 = box(QStringLiteral("市町村界"), "CheckBox4", true);
    CheckBox11 = box(QStringLiteral("旧市町村界"), "CheckBox11", false);
    CheckBox12 = box(QStringLiteral("旧市町村名"), "CheckBox12", false);
    CheckBox5 = box(QStringLiteral("市町村名"), "CheckBox5", false);
    CheckBox6 = box(QStringLiteral("経緯線(１度)"), "CheckBox6", false);
    CheckBox7 = box(QStringLiteral("経緯線(10分)"), "CheckBox7", false);
    CheckBox8 = box(QStringLiteral("経緯度"), "CheckBox8", false);
    CheckBox9 = box(QStringLiteral("1度おき"), "CheckBox9", false);
    CheckBox10 = box(QStringLiteral("尺度"), "CheckBox10", false);
    CheckBox13 = box(QStringLiteral("白"), "CheckBox13", d_.CheckBox13, QStringLiteral("背景色白"));
    CheckBox14 = box(QStringLiteral("湖水境界"), "CheckBox14", false);
    CheckBox16 = box(QStringLiteral("読み"), "CheckBox16", false);
    CBDoubleName = box(QStringLiteral("重複可"), "CBDoubleName", false, QStringLiteral("市町村名の重複を許す"));
    CBHokkaido = box(QStringLiteral("北海道支庁界"), "CBHokkaido", d_.CBHokkaido);
    CBKenName = box(QStringLiteral("都道府県名"), "CBKenName", d_.CBKenName, QStringLiteral("都道府県名表示"));
    CBKenOffice = box(QStringLiteral("県庁所在地"), "CBKenOffice", d_.CBKenOffice, QStringLiteral("県庁所在地表示"));
    CBRail = box(QStringLiteral("鉄道路線"), "CBRail", false, QStringLiteral("線路表示/非表示"));
    CBStation = box(QStringLiteral("駅名"), "CBStation", false, QStringLiteral("駅名表示/非表示"));
    CBMainEki = box(QStringLiteral("主要駅"), "CBMainEki", false, QStringLiteral("主要駅名のみ表示"));
    CBRailExp = box(QStringLiteral("地図線設定"), "CBRailExp", false, QStringLiteral("路線の色・サイズ変更"));

    CBCoast = box(QString(), "CBCoast", d_.CBCoast);
    CBColor = box(QStringLiteral("同色"), "CBColor", d_.CBColor, QStringLiteral("海岸線の色に揃える"));
    CBWaku = box(QStringLiteral("地図枠"), "CBWaku", d_.CBWaku, QStringLiteral("地図に枠をつける"));
    CBPrefDot = box(QString(), "CBPrefDot", d_.CBPrefDot);
    CBTownDot = box(QString(), "CBTownDot", d_.CBTownDot);
    CBNTownDot = box(QString(), "CBNTownDot", d_.CBNTownDot);
    CBLakeDot = box(QString(), "CBLakeDot", d_.CBLakeDot);
    CBKu = box(QStringLiteral("政令都市区界"), "CBKu", d_.CBKu);
    CBKuDot = box(QString(), "CBKuDot", d_.CBKuDot);
    CheckBox15 = box(QStringLiteral("A"), "CheckBox15", d_.CheckBox15, QStringLiteral("旧市町村界も同色"));
    CheckBox1 = box(QStringLiteral("B"), "CheckBox1", d_.CheckBox1, QStringLiteral("背景色と同色"));
    CBCityName = box(QStringLiteral("市名"), "CBCityName", d_.CBCityName);
    CBKuName = box(QStringLiteral("区名"), "CBKuName", d_.CBKuName);
    CBFixedSize = box(QStringLiteral("ﾌｫﾝﾄｻｲｽﾞ固定"), "CBFixedSize", d_.CBFixedSize, QStringLiteral("画面サイズによらず"));
    CBWhite = box(QStringLiteral("白抜き"), "CBWhite", d_.CBWhite, QStringLiteral("文字背景を白抜きに"));
    CBMountain = box(QStringLiteral("山名"), "CBMountain", d_.CBMountain);
    CBMtHeight = box(QStringLiteral("高さ"), "CBMtHeight", d_.CBMtHeight);
    CBMtYomi = box(QStringLiteral("読み"), "CBMtYomi", d_.CBMtYomi);
    CBIslands = box(QStringLiteral("島名"), "CBIslands", d_.CBIslands);
    CBMesh = box(QStringLiteral("メッシュ"), "CBMesh", d_.CBMesh, QStringLiteral("国土地理院メッシュ"));
    CBMeshName = box(QStringLiteral("地図名"), "CBMeshName", d_.CBMeshName, QStringLiteral("1次メッシュ地図名"));
    CBMeshName2 = box(QStringLiteral("細分名"), "CBMeshName2", d_.CBMeshName2, QStringLiteral("２次メッシュ地図名"));
    CBFunDot = box(QStringLiteral("点線"), "CBFunDot", d_.CBFunDot, QStringLiteral("10分を点線で"));
    CBOffice = box(QStringLiteral("市町村役場"), "CBOffice", d_.CBOffice, QStringLiteral("市町村役場所在地表示"));
    CBOfficeName = box(QStringLiteral("名称表示"), "CBOfficeName", d_.CBOfficeName, QStringLiteral("市町村役場名を表示する"));
    CBSoft = box(QStringLiteral("ソフトカラー"), "CBSoft", d_.CBSoft, QStringLiteral("ソフトな色調"));
    CBWatch = box(QString(), "CBWatch", d_.CBWatch, QStringLiteral("国土地理院地図閲覧サービスへ接続"));

    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(6);
    rows->setVerticalSpacing(2);
    int r = 0;
    auto header = [&](int col, const QString& text) {
        auto* l = label(text);
        l->setAlignment(Qt::AlignCenter);
        rows->addWidget(l, r, col);
    };
    header(0, QStringLiteral("表示"));
    header(1, QStringLiteral("色"));
    header(3, QStringLiteral("太さ"));
    header(4, QStringLiteral("点線"));
    ++r;
    auto extras = [&](std::initializer_list<QWidget*> ws) {
        auto* h = new QHBoxLayout;
        h->setSpacing(8);
        for (QWidget* w : ws)
            h->addWidget(w);
        h->addStretch();
        rows->addLayout(h, r, 5);
    };
    auto row = [&](QWidget* first, QPushButton* colour, int image, QWidget* width, QWidget* dotted,
                   std::initializer_list<QWidget*> more) {
        if (first)
            rows->addWidget(first, r, 0);
        if (colour)
            rows->addWidget(colour, r, 1);
        if (image)
            rows->addWidget(swatch(image), r, 2);
        if (width)
            rows->addWidget(width, r, 3);
        if (dotted)
            rows->addWidget(dotted, r, 4, Qt::AlignCenter);
        extras(more);
        ++r;
    };
    // The coastline box has no caption of its own: the row is named beside it.
    auto* coast = new QWidget(this);
    auto* coastLayout = new QHBoxLayout(coast);
    coastLayout->setContentsMargins(0, 0, 0, 0);
    coastLayout->addWidget(CBCoast);
    coastLayout->addWidget(label(QStringLiteral("海岸線")));
    coastLayout->addStretch();

    row(CBWaku, Button11, 8, UpDown5, nullptr, {});
    row(coast, Button2, 1, UpDown1, nullptr, {CBColor});
    row(CheckBox3, Button3, 2, UpDown2, CBPrefDot, {CBHokkaido});
    row(CheckBox4, Button4, 3, UpDown3, CBTownDot, {CheckBox1});
    row(CheckBox11, Button16, 10, nullptr, CBNTownDot, {CheckBox15});
    row(CheckBox14, nullptr, 0, nullptr, CBLakeDot, {});
    row(CBKu, Button12, 9, nullptr, CBKuDot, {CBCityName, CBKuName});
    {
        auto* sizeBox = new QWidget(this);
        auto* h = new QHBoxLayout(sizeBox);
        h->setContentsMargins(0, 0, 0, 0);
        h->setSpacing(2);
        auto* v = new QVBoxLayout;
        v->setSpacing(0);
        v->addWidget(label(QStringLiteral("ﾌｫﾝﾄ")));
        v->addWidget(label(QStringLiteral("ｻｲｽﾞ")));
        h->addLayout(v);
        h->addWidget(UpDown4);
        rows->addWidget(sizeBox, r, 3, 2, 2, Qt::AlignLeft | Qt::AlignVCenter);
    }
    row(CheckBox5, Button5, 4, nullptr, nullptr, {CBDoubleName, CheckBox16, CheckBox12});
    row(nullptr, nullptr, 0, nullptr, nullptr, {CBFixedSize, CBWhite});
    row(label(QStringLiteral("背景")), Button7, 5, nullptr, nullptr, {CheckBox13});
    row(CBIslands, Button17, 11, nullptr, nullptr, {});
    row(CBMountain, Button18, 12, nullptr, nullptr, {CBMtHeight, CBMtYomi});
    row(CheckBox6, Button9, 6, nullptr, nullptr, {CheckBox8, CheckBox9});
    row(CheckBox7, Button10, 7, nullptr, nullptr, {CBFunDot});
    row(CBMesh, nullptr, 0, nullptr, nullptr, {CBMeshName, CBMeshName2});

    auto* lookBox = new QGroupBox(this);
    lookBox->setLayout(rows);

    // ---- switch rows at the foot
    Label24 = new QLabel(QStringLiteral("GSI ウオッちず"), this);
    Label24->setObjectName(QStringLiteral("Label24"));
    Label24->setStyleSheet(QStringLiteral("QLabel { color: #0000ff; text-decoration: underline; }"));
    Label24->setCursor(Qt::PointingHandCursor);
    Label24->installEventFilter(this);
    auto* switches = new QGridLayout;
    switches->setHorizontalSpacing(10);
    switches->setVerticalSpacing(2);
    {
        const QList<QList<QWidget*>> lines{
            {CheckBox2, CheckBox10, CBKenName, CBKenOffice},
            {CBOffice, CBOfficeName, CBSoft},
            {CBRail, CBStation, CBMainEki, CBRailExp},
        };
        for (int i = 0; i < lines.size(); ++i)
            for (int j = 0; j < lines[i].size(); ++j)
                switches->addWidget(lines[i][j], i, j);
        auto* watch = new QHBoxLayout;
        watch->setSpacing(2);
        watch->addWidget(CBWatch);
        watch->addWidget(Label24);
        watch->addStretch();
        switches->addLayout(watch, 1, 3);
    }
    auto* switchBox = new QGroupBox(this);
    switchBox->setLayout(switches);

    // ---- radio groups acting at once
    auto radios = [this](const QString& title, const char* name, const QStringList& items, int checked,
                         QButtonGroup*& group) {
        auto* g = new QGroupBox(title, this);
        g->setObjectName(QString::fromLatin1(name));
        auto* v = new QVBoxLayout(g);
        v->setSpacing(0);
        group = new QButtonGroup(this);
        group->setObjectName(QString::fromLatin1(name));
        for (int i = 0; i < items.size(); ++i) {
            auto* b = new QRadioButton(items[i], g);
            b->setChecked(i == checked);
            group->addButton(b, i);
            v->addWidget(b);
        }
        v->addStretch();
        return g;
    };
    auto* radioRow = new QHBoxLayout;
    radioRow->addWidget(radios(QStringLiteral("縮小率"), "RadioGroup1",
                               {QStringLiteral("× 1"), QStringLiteral("×1/2"), QStringLiteral("×1/3"),
                                QStringLiteral("×1/4"), QStringLiteral("×1/5")},
                               view_.reductionDivisor - 1, RadioGroup1));
    radioRow->addWidget(radios(QStringLiteral("画像ｻｲｽﾞ"), "RadioGroup2",
                               {QStringLiteral(" 600"), QStringLiteral("1200"), QStringLiteral("1800")},
                               view_.sizeFactor - 1, RadioGroup2));
    radioRow->addWidget(radios(QStringLiteral("拡大係数"), "RadioGroup3",
                               {QStringLiteral("×1"), QStringLiteral("×0.5"), QStringLiteral("×0.2"),
                                QStringLiteral("×0.1")},
                               std::max(0, magnificationStepIndex(view_.magStep)), RadioGroup3));
    radioRow->addWidget(radios(QStringLiteral("移動係数"), "RadioGroup4",
                               {QStringLiteral("× 2"), QStringLiteral("× 1"), QStringLiteral("×0.5")},
                               std::max(0, moveFactorIndex(view_.moveFactor)), RadioGroup4));
    if (view_.reductionDivisor > 1)
        relabelImageSizes(view_.reductionDivisor);

    // ---- buttons
    Button6 = button(QStringLiteral("標準"), "Button6", QStringLiteral("色・サイズを標準に戻す"));
    Button8 = button(QStringLiteral("決　定"), "Button8");
    Button1 = button(QStringLiteral("閉じる"), "Button1");
    Button13 = button(QStringLiteral("市町名位置編集"), "Button13", QStringLiteral("市区町村名/島名の表示位置編集"));
    Button13->setEnabled(false);
    Button14 = button(QStringLiteral("距離円"), "Button14", QStringLiteral("距離円（同心円）を描く"));
    Button15 = button(QStringLiteral("文字特性"), "Button15", QStringLiteral("都道府県名文字特性一括設定"));
    Button19 = button(QStringLiteral("山島検索"), "Button19", QStringLiteral("山名または島名検索"));
    Button20 = button(QStringLiteral("市町村名"), "Button20", QStringLiteral("市町村名リスト表示"));
    Button8->setDefault(true);

    auto* tools = new QGridLayout;
    tools->addWidget(Button13, 0, 0);
    tools->addWidget(Button14, 0, 1);
    tools->addWidget(Button15, 1, 0);
    tools->addWidget(Button19, 1, 1);
    tools->addWidget(Button20, 2, 0);
    tools->addWidget(Button6, 2, 1);

    auto* applyNote = new QVBoxLayout;
    applyNote->setSpacing(0);
    auto* note1 = label(QStringLiteral("画像ｻｲｽﾞ変更以外"));
    auto* note2 = label(QStringLiteral("は決定ﾎﾞﾀﾝで反映"));
    note1->setStyleSheet(QStringLiteral("QLabel { color: #c00000; }"));
    note2->setStyleSheet(QStringLiteral("QLabel { color: #c00000; }"));
    applyNote->addWidget(note1);
    applyNote->addWidget(note2);

    auto* finish = new QHBoxLayout;
    finish->addLayout(applyNote);
    finish->addStretch();
    finish->addWidget(Button8);
    finish->addWidget(Button1);

    auto* right = new QVBoxLayout;
    right->addLayout(radioRow);
    right->addLayout(tools);
    right->addStretch();
    right->addLayout(finish);

    auto* body = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(lookBox);
    left->addWidget(switchBox);
    body->addLayout(left);
    body->addLayout(right);

    auto* top = new QVBoxLayout(this);
    top->addLayout(body);
    auto* foot = label(QStringLiteral("このｳｲﾝﾄﾞｳは地図右ｸﾘｯｸでも開くことができます"));
    foot->setStyleSheet(QStringLiteral("QLabel { color: #008000; }"));
    top->addWidget(foot);
}

void TSettei::connectBehaviour()
{
    auto onToggle = [this](QCheckBox* b, auto f) { connect(b, &QCheckBox::toggled, this, f); };
    // Drawing switches: the drawing reads them at its next run.
    auto bind = [&](QCheckBox* b, bool DisplayState::*item) {
        onToggle(b, [this, item](bool on) { d_.*item = on; });
    };
    bind(CBCoast, &DisplayState::CBCoast);
    bind(CBColor, &DisplayState::CBColor);
    bind(CBWaku, &DisplayState::CBWaku);
    bind(CBPrefDot, &DisplayState::CBPrefDot);
    bind(CBTownDot, &DisplayState::CBTownDot);
    bind(CBNTownDot, &DisplayState::CBNTownDot);
    bind(CBLakeDot, &DisplayState::CBLakeDot);
    bind(CBKuDot, &DisplayState::CBKuDot);
    bind(CheckBox15, &DisplayState::CheckBox15);
    bind(CheckBox1, &DisplayState::CheckBox1);
    bind(CBCityName, &DisplayState::CBCityName);
    bind(CBKuName, &DisplayState::CBKuName);
    bind(CBFixedSize, &DisplayState::CBFixedSize);
    bind(CBWhite, &DisplayState::CBWhite);
    bind(CBMtHeight, &DisplayState::CBMtHeight);
    bind(CBMtYomi, &DisplayState::CBMtYomi);
    bind(CBMesh, &DisplayState::CBMesh);
    bind(CBMeshName, &DisplayState::CBMeshName);
    bind(CBMeshName2, &DisplayState::CBMeshName2);
    bind(CBFunDot, &DisplayState::CBFunDot);
    bind(CBOffice, &DisplayState::CBOffice);
    bind(CBOfficeName, &DisplayState::CBOfficeName);
    bind(CBSoft, &DisplayState::CBSoft);
    bind(CBWatch, &DisplayState::CBWatch);

    // ---- enable rules
    onToggle(CheckBox3, [this](bool on) {
        if (!on) {
            CheckBox4->setChecked(false);
            CheckBox11->setChecked(false);
        }
        CheckBox4->setEnabled(on);
        CheckBox11->setEnabled(on);
    });
    onToggle(CheckBox4, [this](bool on) { CheckBox14->setEnabled(on); });
    onToggle(CheckBox11, [this](bool) { updateDotEnables(); });
    onToggle(CBKu, [this](bool on) {
        d_.CBKu = on;
        if (!on)
            CBKuName->setChecked(false);
        updateDotEnables();
    });
    onToggle(CheckBox5, [this](bool on) {
        CheckBox12->setEnabled(on);
        CBDoubleName->setEnabled(on);
        CheckBox16->setEnabled(on);
    });
    onToggle(CheckBox6, [this](bool on) {
        CheckBox7->setChecked(on);
        CheckBox8->setChecked(on);
        CheckBox7->setEnabled(on);
        CheckBox8->setEnabled(on);
        CheckBox9->setEnabled(on && CheckBox8->isChecked());
    });
    onToggle(CheckBox8, [this](bool on) { CheckBox9->setEnabled(on && CheckBox6->isChecked()); });
    onToggle(CBMountain, [this](bool on) {
        d_.CBMountain = on;
        CBMtHeight->setEnabled(on);
        CBMtYomi->setEnabled(on);
    });
    onToggle(CBIslands, [this](bool on) {
        d_.CBIslands = on;
        Button13->setText(on ? QStringLiteral("島名位置編集") : QStringLiteral("市町名位置編集"));
    });

    // ---- boxes acting at once
    onToggle(CheckBox13, [this](bool on) {
        d_.CheckBox13 = on;
        d_.BackColor = on ? kWhite : d_.SavedBackColor;
        if (!quietBackground_)
            emit redrawRequested();
    });
    onToggle(CBHokkaido, [this](bool on) {
        d_.CBHokkaido = on;
        sw_.hokkaidoBorders = on;
        emit hokkaidoChanged(on);
        // The subprefecture borders are decided by the loader: reload the areas shown.
        if (mapShown_)
            emit reselectRequested();
    });
    onToggle(CheckBox2, [this](bool on) {
        sw_.ken_name = on;
        emit kenNameMenuChanged(on);
    });
    onToggle(CheckBox9, [this](bool on) {
        sw_.CB1do = on;
        emit oneDegreeStepChanged(on);
    });
    onToggle(CheckBox14, [this](bool on) {
        sw_.CBLake = on;
        emit lakeChanged(on);
    });
    onToggle(CheckBox16, [this](bool on) {
        sw_.CBYomi = on;
        emit yomiChanged(on);
    });
    onToggle(CBDoubleName, [this](bool on) {
        sw_.CBMainDoubleName = on;
        emit doubleNameChanged(on);
    });
    onToggle(CBKenName, [this](bool on) {
        d_.CBKenName = on;
        emit prefNameDisplayChanged(on);
    });
    onToggle(CBKenOffice, [this](bool on) {
        d_.CBKenOffice = on;
        emit prefSeatDisplayChanged(on);
        emit redrawRequested();
    });
    onToggle(CBRail, [this](bool on) { emit railLinesChanged(on); });
    onToggle(CBStation, [this](bool on) { emit stationsChanged(on); });
    onToggle(CBMainEki, [this](bool on) { emit mainStationsChanged(on); });
    onToggle(CBRailExp, [this](bool on) { emit lineAttributesChanged(on); });

    // ---- widths and sizes
    connect(UpDown1, &QSpinBox::valueChanged, this, [this](int v) { d_.CoastWidth = v; });
    connect(UpDown2, &QSpinBox::valueChanged, this, [this](int v) {
        d_.PrefWidth = v;
        CBPrefDot->setEnabled(v < 2); // dotted lines exist only at width 1
    });
    connect(UpDown3, &QSpinBox::valueChanged, this, [this](int v) {
        d_.TownWidth = v;
        updateDotEnables();
    });
    connect(UpDown4, &QSpinBox::valueChanged, this, [this](int v) {
        d_.TownFontSize = v;
        d_.TownFontPixels = v * view_.imageSide / 600;
    });
    connect(UpDown5, &QSpinBox::valueChanged, this, [this](int v) { d_.WakuWidth = v; });

    // ---- colour buttons
    const struct {
        QPushButton* button;
        int image;
        Color* first;
        Color* second;
    } colours[] = {
        {Button2, 1, &d_.CoastColor, nullptr},    {Button3, 2, &d_.PrefColor, nullptr},
        {Button4, 3, &d_.TownColor, nullptr},     {Button5, 4, &d_.TownFontColor, nullptr},
        {Button7, 5, &d_.BackColor, &d_.SavedBackColor},
        {Button9, 6, &d_.DoColor, nullptr},       {Button10, 7, &d_.FunColor, nullptr},
        {Button11, 8, &d_.WakuColor, nullptr},    {Button12, 9, &d_.KuColor, nullptr},
        {Button16, 10, &d_.NTownColor, nullptr},  {Button17, 11, &d_.IslandsColor, nullptr},
        {Button18, 12, &d_.MountainColor, nullptr},
    };
    for (const auto& c : colours)
        connect(c.button, &QPushButton::clicked, this,
                [this, image = c.image, first = c.first, second = c.second] { chooseColor(image, first, second); });

    // ---- radio groups
    connect(RadioGroup1, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (!on)
            return;
        view_.reductionDivisor = id + 1;
        relabelImageSizes(id + 1);
        emit reductionChosen(id + 1);
        emit redrawRequested();
    });
    connect(RadioGroup2, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            emit imageSizeChosen(id);
    });
    connect(RadioGroup3, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            emit magnificationStepChosen(id);
    });
    connect(RadioGroup4, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            emit moveFactorChosen(id);
    });

    // ---- buttons
    connect(Button6, &QPushButton::clicked, this, &TSettei::restoreStandard);
    connect(Button8, &QPushButton::clicked, this, &TSettei::apply);
    connect(Button1, &QPushButton::clicked, this, [this] {
        hide();
        emit closedByButton();
    });
    connect(Button13, &QPushButton::clicked, this, [this] {
        if (CBIslands->isChecked())
            emit islandNameEditRequested();
        else
            emit townNameEditRequested();
    });
    connect(Button14, &QPushButton::clicked, this, &TSettei::distanceCirclesRequested);
    connect(Button15, &QPushButton::clicked, this, &TSettei::prefNameAttributesRequested);
    connect(Button19, &QPushButton::clicked, this, &TSettei::mountainSearchRequested);
    connect(Button20, &QPushButton::clicked, this, &TSettei::townNameListRequested);

    // The start-up enable states follow from the start-up boxes.
    CheckBox4->setEnabled(CheckBox3->isChecked());
    CheckBox11->setEnabled(CheckBox3->isChecked());
    CheckBox14->setEnabled(CheckBox4->isChecked());
    CheckBox12->setEnabled(CheckBox5->isChecked());
    CBDoubleName->setEnabled(CheckBox5->isChecked());
    CheckBox16->setEnabled(CheckBox5->isChecked());
    CheckBox7->setEnabled(CheckBox6->isChecked());
    CheckBox8->setEnabled(CheckBox6->isChecked());
    CheckBox9->setEnabled(CheckBox6->isChecked() && CheckBox8->isChecked());
    CBMtHeight->setEnabled(CBMountain->isChecked());
    CBMtYomi->setEnabled(CBMountain->isChecked());
    CBPrefDot->setEnabled(UpDown2->value() < 2);
    updateDotEnables();
}

void TSettei::updateDotEnables()
{
    // Dotted lines exist only at width 1; the old-border and ward dotted boxes also
    // need their layer switched on. Their checked state is kept while disabled.
    const bool thin = UpDown3->value() < 2;
    CBTownDot->setEnabled(thin);
    CBLakeDot->setEnabled(thin);
    CBNTownDot->setEnabled(thin && CheckBox11->isChecked());
    CBKuDot->setEnabled(thin && CBKu->isChecked());
}

void TSettei::chooseColor(int image, Color* first, Color* second)
{
    if (!chooseColor_)
        return;
    const std::optional<Color> chosen = chooseColor_(*first, this);
    if (!chosen)
        return; // cancelled: the colour stays
    *first = *chosen;
    if (second) {
        // The background: the white switch goes off and the new colour is in force at
        // the next drawing (no drawing now).
        *second = *chosen;
        quietBackground_ = true;
        CheckBox13->setChecked(false);
        quietBackground_ = false;
    }
    paintSwatch(image, *chosen);
}

void TSettei::paintSwatch(int image, Color c)
{
    if (image < 1 || image > 12 || !Image[image])
        return;
    QPixmap p(kSwatchWidth, kSwatchHeight);
    p.fill(toQColor(c));
    Image[image]->setPixmap(p);
}

QColor TSettei::swatchColor(int image) const
{
    if (image < 1 || image > 12 || !Image[image])
        return {};
    const QPixmap p = Image[image]->pixmap();
    if (p.isNull())
        return {};
    return p.toImage().pixelColor(p.width() / 2, p.height() / 2);
}

void TSettei::repaintSwatches()
{
    paintSwatch(1, d_.CoastColor);
    paintSwatch(2, d_.PrefColor);
    paintSwatch(3, d_.TownColor);
    paintSwatch(4, d_.TownFontColor);
    paintSwatch(5, d_.CheckBox13 ? d_.SavedBackColor : d_.BackColor);
    paintSwatch(6, d_.DoColor);
    paintSwatch(7, d_.FunColor);
    paintSwatch(8, d_.WakuColor);
    paintSwatch(9, d_.KuColor);
    paintSwatch(10, d_.NTownColor);
    paintSwatch(11, d_.IslandsColor);
    paintSwatch(12, d_.MountainColor);
}

void TSettei::restoreStandard()
{
    applyStandardLook(d_, CBSoft->isChecked());
    UpDown5->setValue(2);
    UpDown1->setValue(1);
    UpDown2->setValue(1);
    UpDown3->setValue(1);
    UpDown4->setValue(8);
    d_.TownFontSize = 8;
    d_.TownFontPixels = 8;
    CheckBox2->setChecked(true);
    CBTownDot->setEnabled(true);
    CBTownDot->setChecked(false);
    CBPrefDot->setEnabled(true);
    CBPrefDot->setChecked(false);
    CBCoast->setChecked(true);
    CBColor->setChecked(false);
    CheckBox2->setEnabled(true);
    repaintSwatches();
    CBColor->setChecked(d_.CBColor);
}

void TSettei::apply()
{
    // Drawing stays off while the main-window switches are set, so their own
    // handlers draw nothing; one drawing follows. When drawing was off before (no map
    // yet, or a caller that is setting up a whole state), it stays off and the caller's
    // own drawing shows the result.
    const bool drawing = sw_.drawingEnabled;
    sw_.drawingEnabled = false;
    sw_.ken_name = CheckBox2->isChecked();
    sw_.CBPrefBorder = CheckBox3->isChecked();
    sw_.CBTownBorder = CheckBox4->isChecked();
    sw_.CBNTownBorder = CheckBox11->isChecked();
    sw_.CBOldTown = CheckBox12->isChecked();
    sw_.CBTownName = CheckBox5->isChecked();
    sw_.CBLonLat = CheckBox6->isChecked();
    sw_.CBFun = CheckBox7->isChecked();
    sw_.CBDo = CheckBox8->isChecked();
    const int reductionIndex = RadioGroup1->checkedId();
    sw_.CBScale = CheckBox10->isChecked();
    if (CheckBox13->isChecked())
        d_.BackColor = kWhite;
    sw_.CBMainDoubleName = CBDoubleName->isChecked();
    sw_.hokkaidoBorders = CBHokkaido->isChecked();
    d_.CBHokkaido = CBHokkaido->isChecked();
    emit switchesApplied(reductionIndex);
    sw_.drawingEnabled = drawing;
    emit redrawRequested();
}

void TSettei::refreshFromDisplayState()
{
    const DisplayState s = d_; // setting a box may change other items; read them all first
    UpDown1->setValue(s.CoastWidth);
    UpDown2->setValue(s.PrefWidth);
    UpDown3->setValue(s.TownWidth);
    UpDown5->setValue(s.WakuWidth);
    UpDown4->setValue(s.TownFontSize);
    d_.TownFontPixels = s.TownFontPixels;
    const std::pair<QCheckBox*, bool> boxes[] = {
        {CBCoast, s.CBCoast},         {CBColor, s.CBColor},           {CBWaku, s.CBWaku},
        {CBPrefDot, s.CBPrefDot},     {CBTownDot, s.CBTownDot},       {CBNTownDot, s.CBNTownDot},
        {CBLakeDot, s.CBLakeDot},     {CBKu, s.CBKu},                 {CBKuDot, s.CBKuDot},
        {CheckBox15, s.CheckBox15},   {CheckBox1, s.CheckBox1},       {CBCityName, s.CBCityName},
        {CBKuName, s.CBKuName},       {CBFixedSize, s.CBFixedSize},   {CBWhite, s.CBWhite},
        {CBMountain, s.CBMountain},   {CBMtHeight, s.CBMtHeight},     {CBMtYomi, s.CBMtYomi},
        {CBIslands, s.CBIslands},     {CBMesh, s.CBMesh},             {CBMeshName, s.CBMeshName},
        {CBMeshName2, s.CBMeshName2}, {CBFunDot, s.CBFunDot},         {CBOffice, s.CBOffice},
        {CBOfficeName, s.CBOfficeName}, {CBSoft, s.CBSoft},           {CBWatch, s.CBWatch},
        {CBKenName, s.CBKenName},     {CBKenOffice, s.CBKenOffice},
    };
    for (const auto& [b, on] : boxes)
        b->setChecked(on);
    {
        // The background colours come from the state as they are; no drawing here.
        quietBackground_ = true;
        CheckBox13->setChecked(s.CheckBox13);
        quietBackground_ = false;
        d_.BackColor = s.BackColor;
        d_.SavedBackColor = s.SavedBackColor;
    }
    {
        // The Hokkaido box must not reload the map from here.
        const QSignalBlocker block(CBHokkaido);
        CBHokkaido->setChecked(s.CBHokkaido);
    }
    repaintSwatches();
}

void TSettei::refreshFromMainSwitches()
{
    const MainSwitches s = sw_;
    CheckBox3->setChecked(s.CBPrefBorder);
    CheckBox4->setChecked(s.CBTownBorder);
    CheckBox11->setChecked(s.CBNTownBorder);
    CheckBox12->setChecked(s.CBOldTown);
    CheckBox5->setChecked(s.CBTownName);
    CheckBox6->setChecked(s.CBLonLat);
    CheckBox7->setChecked(s.CBFun);
    CheckBox8->setChecked(s.CBDo);
    CheckBox10->setChecked(s.CBScale);
    CheckBox2->setChecked(s.ken_name);
    CheckBox9->setChecked(s.CB1do);
    CheckBox14->setChecked(s.CBLake);
    CheckBox16->setChecked(s.CBYomi);
    CBDoubleName->setChecked(s.CBMainDoubleName);
}

void TSettei::setStepIndex(int index)
{
    if (auto* b = RadioGroup3->button(index)) {
        const QSignalBlocker block(RadioGroup3);
        b->setChecked(true);
    }
}

void TSettei::setMoveIndex(int index)
{
    if (auto* b = RadioGroup4->button(index)) {
        const QSignalBlocker block(RadioGroup4);
        b->setChecked(true);
    }
}

void TSettei::setImageSizeIndex(int index)
{
    if (auto* b = RadioGroup2->button(index)) {
        const QSignalBlocker block(RadioGroup2);
        b->setChecked(true);
    }
}

void TSettei::setReductionIndex(int index)
{
    if (auto* b = RadioGroup1->button(index)) {
        const QSignalBlocker block(RadioGroup1);
        b->setChecked(true);
        relabelImageSizes(index + 1);
    }
}

void TSettei::relabelImageSizes(int divisor)
{
    const auto texts = imageSizeChoices(divisor);
    for (int i = 0; i < 3; ++i)
        if (auto* b = RadioGroup2->button(i))
            b->setText(QString::fromStdString(texts[i]));
}

void TSettei::openWebMapTop()
{
    if (showWait_)
        showWait_(QString::fromUtf8(kWebMapWait));
    const bool started = openUrl_ && openUrl_(webMapTop_);
    if (hideWait_)
        hideWait_();
    if (!started)
        showMessage(this, "インターネットエクスプローラの起動に失敗しました　　　　", "ウオッ地図呼び出しエラー",
                    MessageIcon::Exclamation);
}

bool TSettei::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label24 && event->type() == QEvent::MouseButtonRelease) {
        openWebMapTop();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace oboro
