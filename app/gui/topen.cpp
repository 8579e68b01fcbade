#include "app/gui/topen.h"
#include "names/gui/tyomilist.h"
#include "app/exitsequence.h"
#include "mapdata/loader.h"
#include "mapdata/datasource.h"
#include "view/imageexport.h"

#include "app/gui/cursors.h"
#include "app/gui/mappicture.h"
#include "app/gui/shellwindows.h"
#include "app/gui/tlicense.h"
#include "app/gui/tkbtn.h"
#include "app/gui/updown.h"
#include "app/startup.h"
#include "common/log.h"
#include "common/paths.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGroupBox>
#include <QVBoxLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QUrl>
#include <QTimer>
#include "paint/gui/tmappaint.h"

#include <algorithm>
#include <cstdio>

namespace oboro {

namespace {

constexpr int kClientWidth = 861;
constexpr int kClientHeight = 638;
constexpr int kColumnWidth = 238;
constexpr int kImageSide = 600;
constexpr int kScrollSide = kImageSide + 16;

QColor qcolor(Color c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

const QColor kNavy(0, 0, 128);
const QColor kGreyText(0x80, 0x80, 0x80);

template <class W> W* named(W* w, const char* name)
{
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QString& hint = {})
{
    auto* b = named(new QPushButton(caption, parent), name);
    b->setToolTip(hint);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption, const QString& hint = {})
{
    auto* c = named(new QCheckBox(caption, parent), name);
    c->setToolTip(hint);
    return c;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, const QString& hint = {})
{
    auto* l = named(new QLabel(text, parent), name);
    l->setToolTip(hint);
    return l;
}

// Places widgets side by side at y across the column from left to right, each at least
// as wide as it wants to be, the room that is left shared out among them.
// The width a control needs: its caption with a small margin for buttons, its preferred
// width for the others.
int wantedWidth(QWidget* w)
{
    if (auto* b = qobject_cast<QPushButton*>(w))
        return std::max(b->fontMetrics().horizontalAdvance(b->text()) + 10, b->minimumWidth());
    return std::max(w->sizeHint().width(), w->minimumWidth());
}

void placeRow(int y, int h, std::initializer_list<QWidget*> widgets, int left = 4, int right = kColumnWidth - 4,
              int gap = 3)
{
    const int n = static_cast<int>(widgets.size());
    int wanted = 0;
    for (QWidget* w : widgets)
        wanted += wantedWidth(w);
    const int spare = std::max(0, (right - left) - wanted - gap * (n - 1));
    int x = left;
    int i = 0;
    for (QWidget* w : widgets) {
        int width = wantedWidth(w) + spare / n;
        if (++i == n)
            width = std::max(width, right - x);
        w->setGeometry(x, y, width, h);
        x += width + gap;
    }
}

// The start-up picture of the version box: a small map sheet with the program's name.
QPixmap versionPicture()
{
    QPixmap pm(64, 64);
    pm.fill(QColor(0xFF, 0xFF, 0xE1));
    QPainter p(&pm);
    p.setPen(QPen(qcolor(0xFF8080), 2));
    p.drawRect(2, 2, 59, 59);
    p.setPen(QPen(qcolor(0x0000FF), 1));
    const QPoint coast[] = {{14, 46}, {20, 36}, {28, 34}, {34, 24}, {44, 18}, {50, 22}, {46, 30}, {38, 36}, {30, 44}, {20, 50}};
    p.drawPolyline(coast, 10);
    QFont f(Canvas::mapFontFamily());
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(kNavy);
    p.drawText(QRect(0, 46, 64, 16), Qt::AlignCenter, QStringLiteral("Oboro"));
    return pm;
}

QPixmap howToPicture()
{
    QPixmap pm(36, 36);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setPen(QPen(kNavy, 1));
    p.drawRect(0, 0, 35, 35);
    QFont f(Canvas::mapFontFamily());
    f.setPixelSize(20);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(0, 0, 36, 36), Qt::AlignCenter, QStringLiteral("？"));
    return pm;
}

} // namespace

void TImage::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        emit clicked();
    QLabel::mousePressEvent(e);
}

// ----------------------------------------------------------------------------- creation

TOpen::TOpen(QWidget* parent, std::shared_ptr<MessageBoxSink> dialogs)
    : QMainWindow(parent),
      dialogs_(dialogs ? std::move(dialogs) : std::make_shared<MessageBoxSink>(this)),
      sessionOwner_(std::make_unique<MapSession>(*dialogs_)),
      session(*sessionOwner_),
      store(session.store),
      canvas(session.canvas),
      view(session.view),
      display(session.display),
      switches(session.switches),
      tools(session.tools),
      renderState(session.renderState),
      hooks(session.hooks),
      backHistory(session.backHistory),
      paintRecords(session.paintRecords),
      nameOptions(session.nameOptions),
      decorations(session.decorations),
      search(session.search)
{
    setObjectName(QStringLiteral("TOpen"));
    registerCustomCursors();

    setWindowTitle(QString::fromUtf8(kMainCaption));
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("Client"));
    central->setFixedSize(kClientWidth, kClientHeight);
    QFont font(Canvas::mapFontFamily());
    font.setPixelSize(13);
    font.setBold(true);
    central->setFont(font);
    QPalette pal = central->palette();
    pal.setColor(QPalette::Window, qcolor(0xFFFFBF));
    for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        pal.setColor(QPalette::Active, role, kNavy), pal.setColor(QPalette::Inactive, role, kNavy),
            pal.setColor(QPalette::Disabled, role, kGreyText);
    central->setPalette(pal);
    central->setAutoFillBackground(true);
    setCentralWidget(central);

    column_ = new QWidget(central);
    column_->setObjectName(QStringLiteral("Column"));
    column_->setGeometry(0, 0, kColumnWidth, kClientHeight);
    // Tight check boxes: the column is narrow.
    column_->setStyleSheet(QStringLiteral("QCheckBox { spacing: 2px; }"));

    buildColumn();
    buildMap();
    buildMenus();

    process_ = new TProcess(this);
    keisoku_ = new TKeisoku(this);
    about_ = new TAbout(this);
    howTo_ = new THowTo(this);

    // The program date is the last-write date of the running program.
    store.programDate = fileDateText(QCoreApplication::applicationFilePath());
    about_->setProgramDate(QString::fromStdString(store.programDate));

    applyStartState();
    applyConfig();
    resetMeasurementLabels();
    scanData();
    drawStartScreen();
    connectControls();
    buildMapTools();
    buildLegendWindow();

    const std::string log = programPath("\\OboroLog.txt");
    if (!DiagnosticLog::instance().open(log))
        std::fprintf(stderr, "oboro: ログファイル %s を作成できません\n", log.c_str());

    // Fixed size, centred on the screen.
    adjustSize();
    setFixedSize(sizeHint());
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

TOpen::~TOpen()
{
    // The tool windows show the session: they go while it is still there. The session
    // tells this window nothing more on the way.
    QObject::disconnect(&session, nullptr, this, nullptr);
    MapImage->removeEventFilter(this);
    ScrollBox1->viewport()->removeEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (w->isWindow())
            delete w;
}

void TOpen::buildColumn()
{
    QWidget* c = column_;

    Image1 = named(new TImage(c), "Image1");
    Image1->setPixmap(versionPicture());
    Image1->setScaledContents(true);
    Image1->setGeometry(4, 4, 64, 64);
    Image1->setToolTip(QStringLiteral("バージョン情報"));
    Image2 = named(new TImage(c), "Image2");
    Image2->setPixmap(howToPicture());
    Image2->setScaledContents(true);
    Image2->setGeometry(72, 4, 30, 30);
    Image2->setToolTip(QStringLiteral("使い方"));
    CBInfo = checkBox(c, "CBInfo", QString(), QStringLiteral("地図設定値表示"));
    CBInfo->setGeometry(78, 44, 20, 18);

    Button10 = button(c, "Button10", QStringLiteral("ﾌｧｲﾙ読込"), QStringLiteral("編集作業を復元する"));
    Button1 = button(c, "Button1", QStringLiteral("ﾌｧｲﾙ保存"), QStringLiteral("編集作業を保存する"));
    placeRow(4, 24, {Button10, Button1}, 106);
    Button2 = button(c, "Button2", QStringLiteral("終　了"), QStringLiteral("Oboroを終了する"));
    Button2->setGeometry(Button10->x(), 31, Button10->width(), 24);
    CBChiri = checkBox(c, "CBChiri", QString(), QStringLiteral("国土地理院地図閲覧サービスへ接続"));
    LblChiri = label(c, "LblChiri", QStringLiteral("ウオッちず"), QStringLiteral("国土地理院地図閲覧サービスへ接続"));
    // Level with the start screen's pointer to the web map service.
    CBChiri->setGeometry(146, 62, CBChiri->sizeHint().width(), 18);
    LblChiri->setGeometry(CBChiri->x() + CBChiri->width() + 2, 62, kColumnWidth - 4 - (CBChiri->x() + CBChiri->width() + 2), 18);

    Label19 = label(c, "Label19", QString());
    Label19->setGeometry(4, 82, kColumnWidth - 8, 16);

    Label13 = label(c, "Label13", QStringLiteral("緯度"));
    Label14 = label(c, "Label14", QStringLiteral("経度"));
    Label13->setGeometry(4, 98, 113, 16);
    Label14->setGeometry(121, 98, 113, 16);
    Label17 = label(c, "Label17", QStringLiteral("距離"));
    Label15 = label(c, "Label15", QStringLiteral("２点間"));
    Label31 = label(c, "Label31", QString());
    Label33 = label(c, "Label33", QStringLiteral("2"));
    Label35 = label(c, "Label35", QStringLiteral("0"), QStringLiteral("測定不能領域の数"));
    Label17->setGeometry(4, 114, 32, 16);
    Label15->setGeometry(36, 114, 81, 16);
    Label31->setGeometry(121, 114, 84, 16);
    Label33->setGeometry(205, 110, 8, 12);
    QFont small = Label33->font();
    small.setPixelSize(9);
    Label33->setFont(small);
    Label35->setGeometry(214, 114, 20, 16);
    LblSide = label(c, "LblSide", QString(), QStringLiteral("範囲指定の辺長"));
    LblCount = label(c, "LblCount", QString(), QStringLiteral("描画回数"));
    LblSide->setGeometry(36, 130, 81, 16);
    LblCount->setGeometry(121, 130, 113, 16);
    LblMapping = label(c, "LblMapping", QString());
    LblMapping->setGeometry(4, 600, 100, 16);

    Button11 = button(c, "Button11", QStringLiteral("経緯度"), QStringLiteral("座標値を表示する"));
    BtnMulti = button(c, "BtnMulti", QStringLiteral("距離"), QStringLiteral("任意距離/面積測定"));
    Button14 = button(c, "Button14", QStringLiteral("面積"), QStringLiteral("測定領域をクリック"));
    CBNokori = checkBox(c, "CBNokori", QStringLiteral("県"), QStringLiteral("県域面積"));
    CBTimer = checkBox(c, "CBTimer", QStringLiteral("概算"), QStringLiteral("マウスの動きで測る"));
    for (QPushButton* b : {Button11, BtnMulti, Button14})
        b->setMinimumWidth(44);
    placeRow(148, 24, {Button11, BtnMulti, Button14, CBNokori, CBTimer});

    Button7 = button(c, "Button7", QStringLiteral("表示設定"), QStringLiteral("地図表示設定"));
    BtnPaint = button(c, "BtnPaint", QStringLiteral("ペイント"), QStringLiteral("市区町村を塗り分ける"));
    BtnLetter = button(c, "BtnLetter", QStringLiteral("ラ ベ ル"), QStringLiteral("ラベルを記入する"));
    placeRow(174, 24, {Button7, BtnPaint, BtnLetter});
    BtnMark = button(c, "BtnMark", QStringLiteral("地図記号"), QStringLiteral("地図記号を押す"));
    BtnLine = button(c, "BtnLine", QStringLiteral("地 図 線"), QStringLiteral("地図線編集/表示"));
    Button13 = button(c, "Button13", QStringLiteral("円"), QStringLiteral("距離円を描く"));
    BtnMark->setGeometry(Button7->geometry().translated(0, 25));
    BtnLine->setGeometry(BtnPaint->geometry().translated(0, 25));
    Button13->setGeometry(BtnLetter->geometry().translated(0, 25));

    Button6 = button(c, "Button6", QStringLiteral("標準範囲"), QStringLiteral("選んだ地域全体を描く"));
    Button5 = button(c, "Button5", QStringLiteral("県 指 定"), QStringLiteral("都道府県名一覧から選択して描く"));
    placeRow(227, 28, {Button6, Button5}); // 県 指 定 level with its pointer on the start screen

    TkBtn2 = named(new TTkBtn(c), "TkBtn2");
    TkBtn2->setCaption(QStringLiteral("範囲指定"));
    TkBtn2->setToolTip(QStringLiteral("マウスのドラッグで範囲を指定する"));
    CBCopy = checkBox(c, "CBCopy", QStringLiteral("ｺﾋﾟｰ"), QStringLiteral("指定範囲をｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ"));
    Button12 = button(c, "Button12", QStringLiteral("戻す"), QStringLiteral("範囲指定の前に戻す"));
    BtnCenter = button(c, "BtnCenter", QStringLiteral("+"), QStringLiteral("クリックした点を中心にする"));
    BtnCenter->setMinimumWidth(30);
    placeRow(260, 25, {TkBtn2, CBCopy, Button12, BtnCenter});

    LblHor = label(c, "LblHor", QStringLiteral("左へ／右へ"));
    LblVer = label(c, "LblVer", QStringLiteral("上へ／下へ"));
    UDHor = named(new TUpDown(Qt::Horizontal, c), "UDHor");
    UDVer = named(new TUpDown(Qt::Horizontal, c), "UDVer");
    LblMag = label(c, "LblMag", QStringLiteral("倍率"));
    Label6 = label(c, "Label6", QStringLiteral("1.00"), QStringLiteral("地図倍率"));
    UpDown1 = named(new TUpDown(Qt::Vertical, c), "UpDown1");
    UpDown1->setToolTip(QStringLiteral("地図の拡大・縮小"));
    LblHor->setGeometry(4, 290, 78, 20);
    UDHor->setGeometry(84, 290, 44, 20);
    LblVer->setGeometry(4, 313, 78, 20);
    UDVer->setGeometry(84, 313, 44, 20);
    LblMag->setGeometry(142, 290, 40, 20);
    Label6->setGeometry(142, 313, 64, 20);
    UpDown1->setGeometry(208, 290, 22, 44);
    UDHor->setRange(0, 1000);
    UDVer->setRange(0, 1000);
    UpDown1->setRange(1, 10000);

    CBPrefBorder = checkBox(c, "CBPrefBorder", QStringLiteral("都府県界"), QStringLiteral("都府県界を描く"));
    CBTownBorder = checkBox(c, "CBTownBorder", QStringLiteral("市区町村界"), QStringLiteral("市区町村界を描く"));
    CBNTownBorder = checkBox(c, "CBNTownBorder", QStringLiteral("旧"), QStringLiteral("合併以前の旧市町村界を描く"));
    placeRow(340, 18, {CBPrefBorder, CBTownBorder, CBNTownBorder});
    CBKenName1 = checkBox(c, "CBKenName1", QStringLiteral("都道府県名"), QStringLiteral("都道府県名表示"));
    CBTownName = checkBox(c, "CBTownName", QStringLiteral("市区町村名"), QStringLiteral("市区町村名を描く"));
    CBYomi = checkBox(c, "CBYomi", QStringLiteral("読み"), QStringLiteral("市区町村名の読みがな表示"));
    placeRow(358, 18, {CBKenName1, CBTownName, CBYomi});
    // Keep the three columns of switches aligned.
    CBKenName1->setGeometry(CBPrefBorder->x(), 358, CBPrefBorder->width(), 18);
    CBTownName->setGeometry(CBTownBorder->x(), 358, CBTownBorder->width(), 18);
    CBYomi->setGeometry(CBNTownBorder->x(), 358, CBNTownBorder->width(), 18);

    CBRailLine = checkBox(c, "CBRailLine", QStringLiteral("鉄道路線図"), QStringLiteral("鉄道路線図の表示"));
    CBEki = checkBox(c, "CBEki", QStringLiteral("駅名"), QStringLiteral("駅名表示/非表示"));
    CBMain = checkBox(c, "CBMain", QStringLiteral("主要駅"), QStringLiteral("主要駅名のみ表示"));
    CBRailSet = checkBox(c, "CBRailSet", QStringLiteral("詳細"), QStringLiteral("地図線の属性変更"));
    placeRow(376, 18, {CBRailLine, CBEki, CBMain, CBRailSet}, 4, kColumnWidth - 4, 1);

    CBLabel = checkBox(c, "CBLabel", QStringLiteral("ラベル"), QStringLiteral("ラベルを描く"));
    CBMainDoubleName = checkBox(c, "CBMainDoubleName", QStringLiteral("重複可"), QStringLiteral("市町村名の重複を許す"));
    CBScale = checkBox(c, "CBScale", QStringLiteral("尺度"), QStringLiteral("縮尺を描く"));
    CBLake = checkBox(c, "CBLake", QStringLiteral("湖境界"), QStringLiteral("湖面上の境界を描く"));
    placeRow(394, 18, {CBLabel, CBMainDoubleName, CBScale, CBLake}, 4, kColumnWidth - 4, 1);
    CBLonLat = checkBox(c, "CBLonLat", QStringLiteral("経緯線(1度)"), QStringLiteral("経緯線を描く"));
    CBExp = checkBox(c, "CBExp", QStringLiteral("地図凡例"), QStringLiteral("ドラッグで移動可能"));
    CBCenterMark = checkBox(c, "CBCenterMark", QStringLiteral("中心"), QStringLiteral("地図の中心を示す"));
    placeRow(412, 18, {CBLonLat, CBExp, CBCenterMark});

    ComboBox1 = named(new QComboBox(c), "ComboBox1");
    ComboBox1->setEditable(true);
    ComboBox1->setMaxVisibleItems(12);
    ComboBox1->setToolTip(QStringLiteral("右クリックで削除できます"));
    ComboBox1->setEditText(QStringLiteral("市区町村名"));
    ComboBox1->setMinimumWidth(140);
    Button9 = button(c, "Button9", QStringLiteral("検　索"), QStringLiteral("検索実行"));
    placeRow(432, 26, {ComboBox1, Button9});
    CBTownPaint = checkBox(c, "CBTownPaint", QStringLiteral("市町村検索ペイント"), QStringLiteral("同一色でペイントする"));
    CBMenseki = checkBox(c, "CBMenseki", QString(), QStringLiteral("総面積表示"));
    CBTownPaint->setGeometry(4, 466, CBTownPaint->sizeHint().width() + 4, 18);
    CBMenseki->setGeometry(CBTownPaint->x() + CBTownPaint->width() + 8, 466, CBMenseki->sizeHint().width(), 18);
    Label24 = label(c, "Label24", QString(), QStringLiteral("検索した名称の種類"));
    Label24->setGeometry(CBMenseki->x() + CBMenseki->width() + 4, 466,
                         std::max(10, kColumnWidth - 4 - (CBMenseki->x() + CBMenseki->width() + 4)), 18);

    auto radioGroup = [c](const char* name, const QString& title, std::initializer_list<QRadioButton*> buttons) {
        auto* g = named(new QGroupBox(title, c), name);
        auto* lay = new QVBoxLayout(g);
        lay->setContentsMargins(6, 2, 2, 2);
        lay->setSpacing(2);
        for (QRadioButton* b : buttons) {
            b->setParent(g);
            lay->addWidget(b);
        }
        return g;
    };
    RBSize600 = named(new QRadioButton(QStringLiteral(" 600")), "RBSize600");
    RBSize1200 = named(new QRadioButton(QStringLiteral("1200")), "RBSize1200");
    RBSize1800 = named(new QRadioButton(QStringLiteral("1800")), "RBSize1800");
    RGImageSize = radioGroup("RGImageSize", QStringLiteral("画像ｻｲｽﾞ"), {RBSize600, RBSize1200, RBSize1800});
    RBPng = named(new QRadioButton(QStringLiteral("PNG")), "RBPng");
    RBJpeg = named(new QRadioButton(QStringLiteral("JPEG")), "RBJpeg");
    RBBmp = named(new QRadioButton(QStringLiteral("BMP")), "RBBmp");
    RGImageFormat = radioGroup("RGImageFormat", QStringLiteral("画像形式"), {RBPng, RBJpeg, RBBmp});
    RGImageFormat->setToolTip(QStringLiteral("PNGを推奨"));
    RBSize600->setChecked(true);
    RBPng->setChecked(true);
    RGImageSize->setGeometry(4, 496, 76, 84);
    RGImageFormat->setGeometry(82, 496, 76, 84);
    Button3 = button(c, "Button3", QStringLiteral("画像コピー"), QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ"));
    Button4 = button(c, "Button4", QStringLiteral("画像保存"), QStringLiteral("地図画像をファイルに保存する"));
    Button3->setGeometry(162, 504, kColumnWidth - 4 - 162, 30);
    Button4->setGeometry(162, 546, kColumnWidth - 4 - 162, 30);
    LblDatum = label(c, "LblDatum", QStringLiteral("世界測地系"), QStringLiteral("地図の測地系"));
    LblDatum->setGeometry(162, 580, kColumnWidth - 4 - 162, 16);

    LblMapping->move(4, 620);
    LblMapping->hide();
}

void TOpen::buildMap()
{
    ScrollBox1 = named(new QScrollArea(centralWidget()), "ScrollBox1");
    ScrollBox1->setGeometry(kColumnWidth, 8, kScrollSide, kScrollSide);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setWidgetResizable(false);
    Panel1 = named(new QWidget, "Panel1");
    MapImage = named(new MapPicture(Panel1, [this](QPainter& p) { mouseTools_->paintOverlay(p); }), "MapImage");
    MapImage->setGeometry(0, 0, kImageSide, kImageSide);
    MapImage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Panel1->resize(kImageSide, kImageSide);
    ScrollBox1->setWidget(Panel1);

    TkBtn1 = named(new TTkBtn(Panel1), "TkBtn1");
    TkBtn1->setCaption(QStringLiteral("ご意見・ご感想をお寄せください"));
    TkBtn1->setToolTip(QStringLiteral("クリックしてください，ﾒｰﾙを送ります"));
    TkBtn1->setTextColor(qcolor(0x008000));
    TkBtn1->setUnderline(true);
    TkBtn1->setCursor(Qt::PointingHandCursor);
    TkBtn1->setGeometry(143, 520, TkBtn1->sizeHint().width(), TkBtn1->sizeHint().height());
}

void TOpen::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto item = [this](QMenu* menu, const char* name, const QString& text, bool checkable = false, bool checked = false) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        a->setCheckable(checkable);
        a->setChecked(checked);
        return a;
    };
    auto submenu = [](QMenu* parent, const char* name, const QString& title) {
        QMenu* m = parent->addMenu(title);
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        return m;
    };
    auto exclusive = [this](std::initializer_list<QAction*> actions) {
        auto* g = new QActionGroup(this);
        for (QAction* a : actions)
            g->addAction(a);
        return g;
    };
    auto top = [bar](const char* name, const QString& title) {
        QMenu* m = bar->addMenu(title);
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        return m;
    };

    QMenu* file = top("MFile", QStringLiteral("ファイル"));
    item(file, "N2", QStringLiteral("都道府県指定ｳｲﾝﾄﾞｳを開く"));
    QMenu* save = submenu(file, "MSaveImage", QStringLiteral("地図画像を保存する"));
    exclusive({item(save, "MSavePng", QStringLiteral("PNGファイルで保存する"), true, true),
               item(save, "MSaveJpeg", QStringLiteral("JPEGファイルで保存する"), true),
               item(save, "MSaveBmp", QStringLiteral("BITMAPファイルで保存する"), true)});
    item(file, "MPrintSave", QStringLiteral("印刷用に保存..."));
    item(file, "MAutoLabel", QStringLiteral("ラベルファイルを自動的に作成する"));
    item(file, "MClearHistory", QStringLiteral("検索した市町村名を空にする"));
    item(file, "MOldLabel", QStringLiteral("旧町村名のラベルファイルを作成する"));
    file->addSeparator();
    item(file, "MSaveSettings", QStringLiteral("終了時の設定を保存する"), true, true);
    item(file, "MExit", QStringLiteral("終了"));

    QMenu* edit = top("MEdit", QStringLiteral("編集"));
    item(edit, "N3", QStringLiteral("地図表示設定ｳｲﾝﾄﾞｳを開く"));
    item(edit, "N4", QStringLiteral("ペイント作業を開始する"));
    item(edit, "N5", QStringLiteral("地図凡例を編集する"));
    edit->addSeparator();
    QMenu* reduce = submenu(edit, "MReduce", QStringLiteral("縮小率"));
    exclusive({item(reduce, "MReduce1", QStringLiteral("×１（標準）"), true, true),
               item(reduce, "MReduce2", QStringLiteral("×1/2"), true), item(reduce, "MReduce3", QStringLiteral("×1/3"), true),
               item(reduce, "MReduce4", QStringLiteral("×1/4"), true), item(reduce, "MReduce5", QStringLiteral("×1/5"), true)});
    QMenu* mag = submenu(edit, "MMagStep", QStringLiteral("拡大係数"));
    exclusive({item(mag, "MMag10", QStringLiteral("×1.0（標準）"), true, true), item(mag, "MMag05", QStringLiteral("×0.5"), true),
               item(mag, "MMag02", QStringLiteral("×0.2"), true), item(mag, "MMag01", QStringLiteral("×0.1"), true)});
    QMenu* move = submenu(edit, "MMoveStep", QStringLiteral("移動係数"));
    exclusive({item(move, "MMove20", QStringLiteral("×2.0"), true), item(move, "MMove10", QStringLiteral("×1.0（標準）"), true, true),
               item(move, "MMove05", QStringLiteral("×0.5"), true)});
    edit->addSeparator();
    item(edit, "N9", QStringLiteral("市区町村名表示位置編集"));
    item(edit, "N17", QStringLiteral("市区町村名削除/追加"));
    item(edit, "N10", QStringLiteral("政令指定都市名表示位置編集"));
    item(edit, "N11", QStringLiteral("重複区名・町村名表示位置編集"));
    item(edit, "N16", QStringLiteral("任意地図線編集・表示"));

    QMenu* view = top("MView", QStringLiteral("表示"));
    item(view, "MWgs", QStringLiteral("世界測地系(WGS)"), true, true);
    item(view, "MHokkaido", QStringLiteral("北海道支庁界表示"), true, true);
    item(view, "MApproval", QStringLiteral("国土地理院承認番号表示"), true, true);
    item(view, "ken_name", QStringLiteral("都府県名表示"), true, true);
    item(view, "MWait", QStringLiteral("お待ちください．．．"), true, true);
    item(view, "MGridUnder", QStringLiteral("経緯度線下層表示"), true, true);
    view->addSeparator();
    item(view, "MPrefSet", QStringLiteral("都道府県名文字特性設定"));
    item(view, "N6", QStringLiteral("市町村検索ペイント色"));
    QMenu* order = submenu(view, "MOrder", QStringLiteral("検索リストの配列順"));
    exclusive({item(order, "MTimeOrder", QStringLiteral("時間順"), true, true),
               item(order, "MKanjiOrder", QStringLiteral("漢字コード順"), true)});
    item(view, "MAddOld", QStringLiteral("検索ペイントリストに旧町村名を加える"));
    view->addSeparator();
    item(view, "MKyori", QStringLiteral("距離円を描く"));
    item(view, "MRail", QStringLiteral("鉄道路線情報"));

    QMenu* kigou = top("MKigou", QStringLiteral("記号"));
    item(kigou, "MPalette", QStringLiteral("記号パレットを開く"));
    QMenu* markSize = submenu(kigou, "MMarkSize", QStringLiteral("地図記号サイズ"));
    exclusive({item(markSize, "MMark16", QStringLiteral("標準　16"), true, true),
               item(markSize, "MMark14", QStringLiteral("小　　 14"), true),
               item(markSize, "MMark18", QStringLiteral("大 　　18"), true)});
    markSize->menuAction()->setVisible(false);
    item(kigou, "MCustomDel", QStringLiteral("カスタム記号を削除する"));
    item(kigou, "MCustomLoad", QStringLiteral("カスタム記号を呼び出す"));
    item(kigou, "MCustomSave", QStringLiteral("カスタム記号を保存する"));

    QMenu* edition = top("MEdition", QStringLiteral("行政区界"));
    item(edition, "MEd2002", QStringLiteral("2002年版(&A)"), true);
    item(edition, "MEd2003", QStringLiteral("2003年版(&B)"), true);
    item(edition, "MEd2005", QStringLiteral("2005年版(&C)"), true);
    item(edition, "MEd2008", QStringLiteral("2008年版(&D)"), true);
    item(edition, "MEd2009", QStringLiteral("2009年版(&E)"), true);
    item(edition, "MEd2010", QStringLiteral("2010年版(&F)"), true);

    QMenu* help = top("MHelp", QStringLiteral("ヘルプ"));
    item(help, "MHowTo", QStringLiteral("使い方"));
    item(help, "MReadme", QStringLiteral("readme.htmを開く"));
    item(help, "MHomePage", QStringLiteral("作者のホームページを開く"));
    help->addSeparator();
    item(help, "MAbout", QStringLiteral("バージョン情報"));
    item(help, "MLicense", QStringLiteral("ライセンスと地図データの出典"));
}

QAction* TOpen::action(const char* name) const { return findChild<QAction*>(QString::fromLatin1(name)); }

const QStringList& TOpen::awaitingToolWindows()
{
    // Controls and menu items whose tool or operation is not part of this build. Each
    // name leaves this list when its window or operation is wired in.
    static const QStringList names = {
        // prefecture selection, municipality search, work files, settings list
        "Button10", "Button1", "CBInfo",
        // rail line details
        "CBRailSet", "MRail",
        // name editors, prefecture name attributes, editions
        "N9", "N17", "N10", "N11", "MPrefSet", "MEdition",
        // prefecture names, railways, no-action menu item
        "CBKenName1", "CBRailLine", "CBEki", "CBMain", "MAddOld",
    };
    return names;
}

void TOpen::setControlEnabled(QObject* control, bool on)
{
    if (!control)
        return;
    if (on && awaitingToolWindows().contains(control->objectName()))
        on = false;
    if (auto* w = qobject_cast<QWidget*>(control))
        w->setEnabled(on);
    else if (auto* a = qobject_cast<QAction*>(control))
        a->setEnabled(on);
}

void TOpen::setControlEnabled(const char* name, bool on)
{
    QAction* a = action(name);
    setControlEnabled(a ? static_cast<QObject*>(a) : findChild<QWidget*>(QString::fromLatin1(name)), on);
}

void TOpen::afterDrawing(const DrawResult& r)
{
    if (!r.drawn)
        return;
    showMapImage();
    if (!r.mappingText.empty())
        LblMapping->setText(QString::fromStdString(r.mappingText));
    // Every fifth drawing shows the map in the version picture.
    if (r.thumbnailUpdated && !renderState.thumbnail.isNull())
        Image1->setPixmap(QPixmap::fromImage(renderState.thumbnail));
    LblSide->setText(QString::fromStdString(r.view.report.sideText()));
    LblCount->setText(QString::fromStdString(r.counterText));
    TkBtn1->hide();
}

void TOpen::applyStartState()
{
    UDHor->setPosition(500);
    UDVer->setPosition(500);
    UpDown1->setPosition(1);
    Label33->hide(); // shown after an area
    Label35->hide();
    TkBtn2->setTextColor(kNavy);
}

void TOpen::showTownPaintColor()
{
    // The search paint colour shows on its box.
    CBTownPaint->setStyleSheet(QStringLiteral("QCheckBox { spacing: 2px; font-weight: bold; background-color: %1; }")
                                   .arg(qcolor(display.TownPaintColor).name()));
}

void TOpen::resetMeasurementLabels()
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%7.2f km", 0.0);
    Label15->setText(QString::fromLatin1(buf));
    std::snprintf(buf, sizeof buf, "%8.2f km", 0.0);
    Label31->setText(QString::fromLatin1(buf));
    std::snprintf(buf, sizeof buf, "%.1f km", 0.0);
    LblSide->setText(QString::fromLatin1(buf));
    LblCount->setText(QStringLiteral("0"));
}

void TOpen::scanData()
{
    // The data folder tells its own date and credit (SOURCE.txt).
    dataDate = boundaryDataDate(programFolder());
    store.dataDate = dataDate ? packDataDate(*dataDate) : 0;
    decorations.approvalNotice = readDataSource(programFolder()).credit;
}

void TOpen::drawStartScreen()
{
    oboro::drawStartScreen(canvas, display.BackColor, dataDate);
    showMapImage();
}

std::vector<std::pair<QCheckBox*, Switch>> TOpen::switchBoxes() const
{
    return {{CBPrefBorder, Switch::PrefBorders},   {CBTownBorder, Switch::TownBorders},
            {CBNTownBorder, Switch::PreMergerBorders}, {CBKenName1, Switch::PrefNames},
            {CBTownName, Switch::TownNames},       {CBYomi, Switch::Readings},
            {CBLabel, Switch::Labels},             {CBMainDoubleName, Switch::DuplicateNames},
            {CBScale, Switch::ScaleBar},           {CBLake, Switch::LakeBorders},
            {CBLonLat, Switch::Graticule},         {CBExp, Switch::Legend},
            {CBCenterMark, Switch::CentreMark},    {CBTownPaint, Switch::SearchPaint},
            {CBMenseki, Switch::SearchTotalArea}};
}

void TOpen::bindSwitch(QCheckBox* box, Switch sw)
{
    connect(box, &QCheckBox::toggled, this, [this, sw](bool on) {
        if (!refreshing_)
            session.setSwitch(sw, on);
    });
}

void TOpen::connectControls()
{
    connect(Image1, &TImage::clicked, this, &TOpen::showAbout);
    connect(Image2, &TImage::clicked, this, &TOpen::showHowTo);
    connect(action("MAbout"), &QAction::triggered, this, &TOpen::showAbout);
    connect(action("MLicense"), &QAction::triggered, this, [this] {
        if (!licence_)
            licence_ = new TLicense(this);
        licence_->showFor(programFolder());
    });
    connect(action("MHowTo"), &QAction::triggered, this, &TOpen::showHowTo);
    connect(action("MReadme"), &QAction::triggered, this, &TOpen::openReadme);
    connect(action("MHomePage"), &QAction::triggered, this, &TOpen::openHomePage);
    connect(TkBtn1, &TTkBtn::clicked, this, &TOpen::sendFeedbackMail);
    connect(Button2, &QPushButton::clicked, this, &TOpen::exitProgram);
    connect(action("MExit"), &QAction::triggered, this, &TOpen::exitProgram);
    connect(Button5, &QPushButton::clicked, this, &TOpen::prepareNewSelection);
    connect(action("N2"), &QAction::triggered, this, &TOpen::prepareNewSelection);
    connect(Button11, &QPushButton::clicked, this, &TOpen::toggleReadoutMode);

    // The save menu items and the format group show one format.
    const std::pair<QRadioButton*, const char*> formats[] = {{RBPng, "MSavePng"}, {RBJpeg, "MSaveJpeg"}, {RBBmp, "MSaveBmp"}};
    for (const auto& [radio, name] : formats) {
        QAction* a = action(name);
        connect(radio, &QRadioButton::toggled, a, [a](bool on) {
            if (on)
                a->setChecked(true);
        });
        connect(a, &QAction::toggled, radio, [radio](bool on) {
            if (on)
                radio->setChecked(true);
        });
    }
    // Every drawing switch goes to the session, which applies its chain and draws once.
    for (auto [box, sw] : switchBoxes())
        bindSwitch(box, sw);
    const std::pair<const char*, Switch> menus[] = {{"MApproval", Switch::ApprovalNotice},
                                                    {"ken_name", Switch::PrefNameCorner},
                                                    {"MWait", Switch::PleaseWait},
                                                    {"MGridUnder", Switch::GraticuleBelow},
                                                    {"MHokkaido", Switch::HokkaidoBorders}};
    for (auto [name, sw] : menus)
        connect(action(name), &QAction::toggled, this, [this, sw = sw](bool on) {
            if (!refreshing_)
                session.setSwitch(sw, on);
        });
    connect(&session, &MapSession::changed, this, &TOpen::refreshControls);
    connect(&session, &MapSession::drawn, this, &TOpen::afterDrawing);
}

void TOpen::showMapImage()
{
    MapImage->setPixmap(QPixmap::fromImage(canvas.image()));
    MapImage->resize(canvas.width(), canvas.height());
    Panel1->resize(canvas.width(), canvas.height());
}

void TOpen::prepareNewSelection()
{
    if (session.paintActive)
        return;
    rangeTimer_->stop();
    paint_->hide();
    yomiList_->hide();
    session.prepareNewSelection();
    workFileName.clear();
    legendFileName.clear();
    Label19->clear();
    emit prefectureWindowRequested();
}

bool TOpen::exitProgram()
{
    // An edited map line is saved or discarded first (or the exit is cancelled).
    if (!settleMapLineForExit())
        return false;
    ExitHooks h;
    h.ask = [this](const Message& m) { return dialogs().ask(m); };
    h.unsavedMapLine = [] { return false; }; // settled above
    h.clipboardUsed = [this] { return clipboardUsed; };
    h.clearClipboard = [] { oboro::clearClipboard(); };
    h.saveSearchHistory = [this](const std::string& path) { session.history.save(path, dialogs()); };
    h.configValues = [this] { return currentConfig(); };
    h.closeMainWindow = [this] { close(); };
    h.olderEditionInPlace = [] { return false; };
    return ExitProgram(h, dialogs()) != ExitOutcome::Cancelled;
}

void TOpen::toggleReadoutMode() { session.toggleReadoutMode(); }

// ----------------------------------------------------------------------------- shell

void TOpen::mousePressEvent(QMouseEvent* e)
{
    // Presses that no control took land here: on the column or the window itself.
    if (e->button() == Qt::LeftButton)
        emit backgroundClicked();
    QMainWindow::mousePressEvent(e);
}

void TOpen::showAbout() { about_->show(); }

void TOpen::showHowTo() { howTo_->show(); }

void TOpen::openReadme()
{
    const QString path = QString::fromStdString(programPath("\\Help\\readme.htm"));
    if (!QFileInfo::exists(path) || !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        dialogs().show("インターネットエクスプローラの起動に失敗しました　　　　", "readme.htm呼び出しエラー",
                       MessageIcon::Exclamation);
}

void TOpen::openHomePage() { QDesktopServices::openUrl(QUrl(QString::fromUtf8(kHomePage))); }

void TOpen::sendFeedbackMail()
{
    QUrl url(QStringLiteral("mailto:") + QString::fromUtf8(kFeedbackAddress));
    url.setQuery(QStringLiteral("subject=") + QString::fromUtf8(kFeedbackSubject));
    QDesktopServices::openUrl(url);
}

} // namespace oboro
