#include "symbols/gui/tpagesdlg.h"

#include "common/gui/controls.h"

#include "app/mapsession.h"
#include "symbols/customsymbols.h"
#include "symbols/stamplayer.h"
#include "symbols/stamps.h"
#include "symbols/symbolpalette.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace oboro {

namespace {

// "地図記号ファイル(*.mrk)|*.mrk|すべて(*.*)|*.*" → the descriptions, as Qt wants them.
QString qtFilter(const QString& pairs)
{
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i < parts.size(); i += 2)
        out << parts[i];
    return out.join(QStringLiteral(";;"));
}

const char* const kMrkFilter = "地図記号ファイル(*.mrk)|*.mrk|すべて(*.*)|*.*";
const char* const kMksFilter = "記号位置ﾌｧｲﾙ(*.mks)|*.mks|すべて(*.*)|*.*";

} // namespace

TPagesDlg::TPagesDlg(MapSession& session, MessageBoxSink& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), session_(session), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("TPagesDlg"));
    setWindowTitle(QStringLiteral("　記号パレット"));
    chooseFile = [this](const FileQuestion& q) -> QString {
        QFileDialog dialog(this, q.caption, q.folder, qtFilter(q.filter));
        dialog.setAcceptMode(q.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(q.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (!q.defaultSuffix.isEmpty())
            dialog.setDefaultSuffix(q.defaultSuffix);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().front();
    };
    chooseColor = [this](Color current) -> std::optional<Color> {
        const QColor c = QColorDialog::getColor(qcolorOf(current), this);
        if (!c.isValid())
            return std::nullopt;
        return static_cast<Color>(c.red() | (c.green() << 8) | (c.blue() << 16));
    };

    PageControl1 = named(new QTabWidget(this), "PageControl1");
    // 地図記号: the map symbols, the numbered marks and the size.
    QWidget* mapSheet = buildSymbolSheet(kFirstMapSymbol, kLastMapSymbol, 0);
    auto* marks = new QHBoxLayout;
    for (int k = 1; k <= kNumberedMarkCount; ++k) {
        auto* col = new QVBoxLayout;
        QToolButton* b = buttons_[500 + k] = new QToolButton(mapSheet);
        b->setObjectName(QStringLiteral("mark%1").arg(k));
        b->setToolTip(QStringLiteral("mark%1").arg(k));
        b->setIconSize(QSize(16, 16));
        connect(b, &QToolButton::clicked, this, [this, k] { choose(500 + k); });
        auto* number = new QLabel(QString::number(k), mapSheet);
        number->setAlignment(Qt::AlignHCenter);
        col->addWidget(b);
        col->addWidget(number);
        marks->addLayout(col);
    }
    CBStandard = checkBox(mapSheet, "CBStandard", QStringLiteral("標準"), QStringLiteral("地図記号のサイズ (標準 16 / 小 14)"));
    LblSize = named(new QLabel(mapSheet), "LblSize");
    marks->addStretch();
    marks->addWidget(CBStandard);
    marks->addWidget(LblSize);
    static_cast<QVBoxLayout*>(mapSheet->layout())->insertLayout(1, marks);
    PageControl1->addTab(mapSheet, QStringLiteral("地図記号"));
    PageControl1->addTab(buildSymbolSheet(kFirstOtherSymbol, kLastOtherSymbol, 1), QStringLiteral("その他"));
    QWidget* customSheet = buildSymbolSheet(kFirstCustomSymbol, kLastCustomSymbol, 2);
    EdCustomFolder = named(new QLineEdit(customSheet), "EdCustomFolder");
    EdCustomFolder->setReadOnly(true);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(new QLabel(QStringLiteral("カスタム記号の保存フォルダ名"), customSheet));
    folderRow->addWidget(EdCustomFolder, 1);
    static_cast<QVBoxLayout*>(customSheet->layout())->insertLayout(1, folderRow);
    PageControl1->addTab(customSheet, QStringLiteral("カスタム"));

    // 記号操作.
    auto* ops = new QWidget;
    auto* opsGrid = new QGridLayout(ops);
    BtnCustomDel = button(ops, "BtnCustomDel", QStringLiteral("削　除"), QStringLiteral("設定されているカスタム記号を削除"));
    BtnCustomLoad = button(ops, "BtnCustomLoad", QStringLiteral("呼　出"), QStringLiteral("カスタム記号を呼び出す"));
    BtnCustomSave = button(ops, "BtnCustomSave", QStringLiteral("保　存"), QStringLiteral("設定されているカスタム記号を保存"));
    BtnFileLoad = button(ops, "BtnFileLoad", QStringLiteral("ファイル読込"), QStringLiteral("地図記号ファイルを開く"));
    BtnFileSave = button(ops, "BtnFileSave", QStringLiteral("ファイル保存"), QStringLiteral("地図記号をファイルに保存"));
    LblFileName = named(new QLabel(ops), "LblFileName");
    opsGrid->addWidget(new QLabel(QStringLiteral("カスタム記号"), ops), 0, 0);
    opsGrid->addWidget(BtnCustomDel, 0, 1);
    opsGrid->addWidget(BtnCustomLoad, 0, 2);
    opsGrid->addWidget(BtnCustomSave, 0, 3);
    opsGrid->addWidget(new QLabel(QStringLiteral("地図記号ファイル"), ops), 1, 0);
    opsGrid->addWidget(BtnFileLoad, 1, 1);
    opsGrid->addWidget(BtnFileSave, 1, 2);
    opsGrid->addWidget(LblFileName, 2, 0, 1, 4);
    opsGrid->setRowStretch(3, 1);
    PageControl1->addTab(ops, QStringLiteral("記号操作"));

    // The foot of the window.
    ImgPreview = named(new QLabel(this), "ImgPreview");
    ImgPreview->setFixedSize(20, 20);
    ImgPreview->setAlignment(Qt::AlignCenter);
    BtnUndo = button(this, "BtnUndo", QStringLiteral("戻 す"), QStringLiteral("一つ前に戻す"));
    BtnClose = button(this, "BtnClose", QStringLiteral("閉じる"));
    BtnShow = button(this, "BtnShow", QStringLiteral("非表示"), QStringLiteral("記号を表示しない"));
    BtnClear = button(this, "BtnClear", QStringLiteral("クリア"), QStringLiteral("記号編集を破棄する"));
    BtnDisable = button(this, "BtnDisable", QStringLiteral("無 効"), QStringLiteral("記号スタンプ機能を無効にする"));
    ShapeColor = button(this, "ShapeColor", QString(), QStringLiteral("色設定"));
    ShapeColor->setFixedSize(28, 18);
    ShapeColor->setFlat(true);
    BtnColor = button(this, "BtnColor", QStringLiteral("..."), QStringLiteral("色設定（白色不可）"));
    BtnColor->setFixedWidth(28);
    LblCount = named(new QLabel(QStringLiteral("0"), this), "LblCount");
    CBTransparent = checkBox(this, "CBTransparent", QStringLiteral("透明"), QStringLiteral("記号背景を透明にする"));
    BtnMksSave = button(this, "BtnMksSave", QStringLiteral("保存"), QStringLiteral("地図記号位置ﾃﾞｰﾀを保存"));
    BtnMksLoad = button(this, "BtnMksLoad", QStringLiteral("読込"), QStringLiteral("地図記号位置ﾌｧｲﾙを開く"));
    CBAppend = checkBox(this, "CBAppend", QStringLiteral("追加読込"), QStringLiteral("地図記号位置ﾃﾞｰﾀを追加する"));
    CBPosition = checkBox(this, "CBPosition", QStringLiteral("指定"), QStringLiteral("経緯度で位置を指定"));
    EdLon = named(new QLineEdit(QStringLiteral("ddd.mmss"), this), "EdLon");
    EdLat = named(new QLineEdit(QStringLiteral("dd.mmss"), this), "EdLat");
    EdLon->setToolTip(QStringLiteral("ddd.mmssで指定"));
    EdLat->setToolTip(QStringLiteral("ddd.mmssで指定"));
    BtnPlace = button(this, "BtnPlace", QStringLiteral("実行"), QStringLiteral("指定された経緯度に記号表示"));
    CBGsi = checkBox(this, "CBGsi", QStringLiteral("GSI 補正"), QStringLiteral("ウォッちず読み取り補正"));

    auto* foot = new QGridLayout;
    foot->addWidget(new QLabel(QStringLiteral("記号"), this), 0, 0);
    foot->addWidget(ImgPreview, 0, 1);
    foot->addWidget(BtnUndo, 0, 2);
    foot->addWidget(BtnShow, 0, 3);
    foot->addWidget(BtnClear, 0, 4);
    foot->addWidget(BtnDisable, 0, 5);
    foot->addWidget(BtnClose, 0, 6);
    foot->addWidget(new QLabel(QStringLiteral("色"), this), 1, 0);
    foot->addWidget(ShapeColor, 1, 1);
    foot->addWidget(BtnColor, 1, 2);
    foot->addWidget(LblCount, 1, 3);
    foot->addWidget(CBTransparent, 1, 4);
    foot->addWidget(BtnMksSave, 1, 5);
    foot->addWidget(BtnMksLoad, 1, 6);
    foot->addWidget(CBAppend, 1, 7);
    foot->addWidget(CBPosition, 2, 0, 1, 2);
    foot->addWidget(new QLabel(QStringLiteral("経度"), this), 2, 2);
    foot->addWidget(EdLon, 2, 3, 1, 2);
    foot->addWidget(new QLabel(QStringLiteral("緯度"), this), 2, 5);
    foot->addWidget(EdLat, 2, 6);
    foot->addWidget(BtnPlace, 2, 7);
    foot->addWidget(CBGsi, 3, 6, 1, 2);
    auto* all = new QVBoxLayout(this);
    all->addWidget(PageControl1);
    all->addLayout(foot);

    connect(BtnUndo, &QPushButton::clicked, &session_, &MapSession::undoStamp);
    connect(BtnClear, &QPushButton::clicked, this, [this] { session_.clearStamps([this](const Message& m) { return ask(m); }); });
    connect(BtnShow, &QPushButton::clicked, &session_, &MapSession::toggleStampsShown);
    connect(BtnDisable, &QPushButton::clicked, &session_, &MapSession::toggleStampingDisabled);
    // 閉じる and the window's own close: clicks no longer stamp.
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::rejected, &session_, &MapSession::closeSymbolPalette);
    connect(BtnColor, &QPushButton::clicked, this, &TPagesDlg::pickColor);
    connect(ShapeColor, &QPushButton::clicked, this, &TPagesDlg::pickColor);
    connect(CBTransparent, &QCheckBox::toggled, this, [this](bool on) {
        if (!refreshing_)
            session_.setStampTransparent(on);
    });
    connect(CBStandard, &QCheckBox::toggled, this, [this](bool on) {
        if (!refreshing_)
            session_.setStampSize(on ? kStandardStamp : kSmallStamp);
    });
    connect(CBPosition, &QCheckBox::toggled, this, [this] { refresh(); });
    connect(BtnPlace, &QPushButton::clicked, this, [this] {
        session_.stampAtLonLat(EdLon->text().toStdString(), EdLat->text().toStdString(), CBGsi->isChecked());
    });
    connect(BtnMksSave, &QPushButton::clicked, this, &TPagesDlg::saveMks);
    connect(BtnMksLoad, &QPushButton::clicked, this, &TPagesDlg::readMks);
    connect(BtnFileLoad, &QPushButton::clicked, this, &TPagesDlg::readMrk);
    connect(BtnFileSave, &QPushButton::clicked, this, &TPagesDlg::saveMrk);
    connect(BtnCustomDel, &QPushButton::clicked, this, &TPagesDlg::deleteCustom);
    connect(BtnCustomLoad, &QPushButton::clicked, this, &TPagesDlg::copyCustomIn);
    connect(BtnCustomSave, &QPushButton::clicked, this, &TPagesDlg::copyCustomOut);
    connect(&session_, &MapSession::changed, this, &TPagesDlg::refresh);

    reloadPictures();
    refresh();
}

QWidget* TPagesDlg::buildSymbolSheet(int first, int last, int sheet)
{
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    for (int n = first; n <= last; ++n) {
        auto* b = new QToolButton(page);
        b->setObjectName(QStringLiteral("Symbol%1").arg(n));
        b->setIconSize(QSize(16, 16));
        b->setToolTip(isMapSymbol(n) ? QString::fromUtf8(kMapSymbolNames[n - kFirstMapSymbol]) : QString::number(n));
        connect(b, &QToolButton::clicked, this, [this, n] { choose(n); });
        grid->addWidget(b, (n - first) / 11, (n - first) % 11);
        buttons_[n] = b;
    }
    column->addLayout(grid);
    auto* state = new QHBoxLayout;
    LblStamp[sheet] = new QLabel(QStringLiteral("スタンプ"), page);
    LblStampState[sheet] = new QLabel(page);
    LblStampState[sheet]->setObjectName(QStringLiteral("LblStampState%1").arg(sheet));
    state->addStretch();
    state->addWidget(LblStamp[sheet]);
    state->addWidget(LblStampState[sheet]);
    column->addLayout(state);
    column->addStretch();
    return page;
}

QToolButton* TPagesDlg::symbolButton(int symbol) const
{
    const auto it = buttons_.find(symbol);
    return it == buttons_.end() ? nullptr : it->second;
}

QString TPagesDlg::markFolder() const { return session_.markFolder(); }

void TPagesDlg::reloadPictures()
{
    session_.symbolImages.setFolder(markFolder());
    session_.symbolImages.reload();
    for (auto [n, b] : buttons_) {
        const std::string file = symbolFileName(n, kStandardStamp);
        QImage pic = session_.symbolImages.picture(file, kStandardStamp);
        if (pic.isNull())
            pic = session_.symbolImages.picture(kBlankSymbolFile, kStandardStamp);
        b->setIcon(pic.isNull() ? QIcon() : QIcon(QPixmap::fromImage(pic)));
    }
    refresh();
}

void TPagesDlg::refresh()
{
    refreshing_ = true;
    const SymbolPalette& p = session_.symbolPalette;
    const int count = static_cast<int>(session_.stamps.size());
    LblCount->setText(QString::number(count));
    // The preview: the current symbol in the current colour.
    QImage pic = p.chosen ? session_.symbolImages.picture(symbolFileName(p.symbol, kStandardStamp), kStandardStamp)
                          : QImage();
    ImgPreview->setPixmap(pic.isNull() ? QPixmap() : QPixmap::fromImage(recolouredSymbol(pic, p.color)));
    ShapeColor->setStyleSheet(QStringLiteral("QPushButton { background: %1; border: 1px solid gray; }")
                                  .arg(qcolorOf(p.color).name()));
    setQuietly(CBTransparent, p.transparent);
    setQuietly(CBStandard, p.size == kStandardStamp);
    LblSize->setText(p.size == kSmallStamp ? QStringLiteral("小") : p.size == kLargeStamp ? QStringLiteral("大")
                                                                                           : QStringLiteral("標準"));
    const bool shown = session_.tools.symbolsShown;
    BtnShow->setText(shown ? QStringLiteral("非表示") : QStringLiteral("表示"));
    BtnShow->setToolTip(shown ? QStringLiteral("記号を表示しない") : QStringLiteral("記号を表示する"));
    BtnDisable->setText(p.disabled ? QStringLiteral("有効") : QStringLiteral("無 効"));
    BtnDisable->setToolTip(p.disabled ? QStringLiteral("スタンプ機能を有効にする")
                                      : QStringLiteral("記号スタンプ機能を無効にする"));
    for (QLabel* l : LblStampState) {
        l->setText(p.disabled ? QStringLiteral("無効") : QStringLiteral("有効"));
        l->setStyleSheet(p.disabled ? QStringLiteral("QLabel { color: red; }") : QStringLiteral("QLabel { color: blue; }"));
    }
    for (QPushButton* b : {BtnUndo, BtnClear, BtnMksSave, BtnShow})
        b->setEnabled(count > 0);
    BtnFileSave->setEnabled(count > 0);
    const bool typed = CBPosition->isChecked();
    EdLon->setEnabled(typed);
    EdLat->setEnabled(typed);
    BtnPlace->setEnabled(typed);
    LblFileName->setText(QString::fromStdString(p.lastFileName));
    refreshing_ = false;
}

void TPagesDlg::openFromMainWindow()
{
    show();
    raise();
    session_.openSymbolPalette([this](const Message& m) { return ask(m); });
}

void TPagesDlg::choose(int symbol)
{
    session_.chooseSymbol(symbol);
}

void TPagesDlg::mousePressEvent(QMouseEvent* e)
{
    // A press on the 地図記号 sheet outside its pictures arms the current symbol again.
    if (PageControl1->currentIndex() == 0 && session_.symbolPalette.chosen &&
        PageControl1->geometry().contains(e->position().toPoint()))
        session_.chooseSymbol(session_.symbolPalette.symbol);
    QDialog::mousePressEvent(e);
}

void TPagesDlg::pickColor()
{
    const std::optional<Color> c = chooseColor(session_.symbolPalette.color);
    if (c)
        session_.setStampColor(*c);
}

void TPagesDlg::readMrk()
{
    const QString name = chooseFile({false, QStringLiteral("地図記号ファイルを開く"), markFolder(), QString::fromUtf8(kMrkFilter), {}});
    if (name.isEmpty())
        return;
    if (session_.readStamps(name.toStdString(), StampFileKind::Mrk, false))
        mrkName_ = name;
}

void TPagesDlg::saveMrk()
{
    const QString name = chooseFile({true, QStringLiteral("地図記号ファイルを保存"), mrkName_.isEmpty() ? markFolder() : mrkName_,
                                     QString::fromUtf8(kMrkFilter), QStringLiteral("mrk")});
    if (name.isEmpty())
        return;
    if (session_.writeStamps(name.toStdString(), StampFileKind::Mrk))
        mrkName_ = name;
}

void TPagesDlg::readMks()
{
    const QString name = chooseFile({false, QStringLiteral("地図記号位置ﾌｧｲﾙを開く"), QString(), QString::fromUtf8(kMksFilter), {}});
    if (!name.isEmpty())
        session_.readStamps(name.toStdString(), StampFileKind::Mks, CBAppend->isChecked());
}

void TPagesDlg::saveMks()
{
    if (session_.stamps.empty()) {
        dialogs_.show(kNoStampsToSaveText, kStampSaveErrorTitle, MessageIcon::Exclamation);
        return;
    }
    QString name = chooseFile({true, QStringLiteral("地図記号位置ﾃﾞｰﾀを保存"), QString(), QString::fromUtf8(kMksFilter),
                               QStringLiteral("mks")});
    if (name.isEmpty())
        return;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".mks");
    session_.writeStamps(name.toStdString(), StampFileKind::Mks);
}

QString TPagesDlg::customFolder() const { return EdCustomFolder->text(); }

void TPagesDlg::setCustomFolder(const QString& folder)
{
    EdCustomFolder->setText(folder);
}

void TPagesDlg::deleteCustom()
{
    if (!session_.deleteCustomSymbols([this](const Message& m) { return ask(m); }))
        return;
    reloadPictures();
    if (sender() == BtnCustomDel) {
        PageControl1->setCurrentIndex(2);
        setCustomFolder(QString());
        emit customFolderChanged(QString());
    }
}

void TPagesDlg::copyCustomIn()
{
    const QString name = chooseFile({false, QStringLiteral("カスタム記号を呼び出す"), customFolder(),
                                     QStringLiteral("画像ファイル(*.bmp)|*.bmp"), {}});
    if (name.isEmpty())
        return;
    const QString folder = QFileInfo(name).absolutePath();
    if (!sameFolder(folder, markFolder())) {
        setCustomFolder(folder);
        emit customFolderChanged(folder);
    }
    if (!session_.copyCustomSymbolsIn(folder, [this](const Message& m) { return ask(m); }))
        return;
    reloadPictures();
    PageControl1->setCurrentIndex(2);
}

void TPagesDlg::copyCustomOut()
{
    const QString name = chooseFile({true, QStringLiteral("カスタム記号を保存する"), customFolder(),
                                     QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙ(*.bmp)|*.bmp"), QStringLiteral("bmp")});
    if (name.isEmpty())
        return;
    // Any file name in the wanted folder names the folder.
    const QString folder = QFileInfo(name).absolutePath();
    if (!sameFolder(folder, markFolder())) {
        setCustomFolder(folder);
        emit customFolderChanged(folder);
    }
    session_.copyCustomSymbolsOut(folder, [this](const Message& m) { return ask(m); });
}

} // namespace oboro
