#include "labels/gui/tletter.h"

#include "common/gui/controls.h"

#include "app/gui/updown.h"
#include "app/mapsession.h"
#include "labels/gui/labelgridmodel.h"

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace oboro {

namespace {

const QString kLabelFilter = QStringLiteral("ラベルファイル (*.lbl);;全て (*)");
const QString kLabelSaveFilter = QStringLiteral("ラベルファイル (*.lbl);;すべて (*)");

} // namespace

TLetter::TLetter(MapSession& session, MessageBoxSink& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), session_(session), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("TLetter"));
    setWindowTitle(QStringLiteral("　地図ラベル編集  ラベルテーブル"));
    chooseFilesToRead = [this] {
        return QFileDialog::getOpenFileNames(this, QStringLiteral("ラベルファイルの読込"), QString(), kLabelFilter);
    };
    chooseFileToSave = [this]() -> std::optional<QString> {
        QFileDialog dialog(this, QStringLiteral("ラベルファイルの保存"), QString(), kLabelSaveFilter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("lbl"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().front();
    };
    chooseColor = [this](Color current) -> std::optional<Color> {
        const QColor c = QColorDialog::getColor(qcolorOf(current), this);
        if (!c.isValid())
            return std::nullopt;
        return static_cast<Color>(c.red() | (c.green() << 8) | (c.blue() << 16));
    };

    // ---- placing
    RGPlace = named(new QGroupBox(QStringLiteral("位置指定法"), this), "RGPlace");
    RBMouse = named(new QRadioButton(QStringLiteral("マウス"), RGPlace), "RBMouse");
    RBDegrees = named(new QRadioButton(QStringLiteral("経度/緯度"), RGPlace), "RBDegrees");
    RBUnits = named(new QRadioButton(QStringLiteral("ＸＹ座標"), RGPlace), "RBUnits");
    auto* placeBox = new QHBoxLayout(RGPlace);
    for (QRadioButton* r : {RBMouse, RBDegrees, RBUnits})
        placeBox->addWidget(r);
    EdLon = named(new QLineEdit(this), "EdLon");
    EdLon->setToolTip(QStringLiteral("経度例 134.1305"));
    EdLat = named(new QLineEdit(this), "EdLat");
    EdLat->setToolTip(QStringLiteral("緯度例 35.0802"));
    BtnPlace = button(this, "BtnPlace", QStringLiteral("位置指定"), QStringLiteral("ﾗﾍﾞﾙ表示位置をｸﾘｯｸ"));

    // ---- files
    BtnSave = button(this, "BtnSave", QStringLiteral("保 存"), QStringLiteral("現ﾗﾍﾞﾙﾃｰﾌﾞﾙを保存"));
    BtnRead = button(this, "BtnRead", QStringLiteral("読　込"), QStringLiteral("ﾗﾍﾞﾙﾃｰﾌﾞﾙの読込"));
    CBAppend = checkBox(this, "CBAppend", QStringLiteral("追加読込"));
    BtnReread = button(this, "BtnReread", QStringLiteral("再読込"), QStringLiteral("下のファイルを再読込"));
    BtnClear = button(this, "BtnClear", QStringLiteral("クリア"), QStringLiteral("現在のﾗﾍﾞﾙをすべて破棄する"));

    // ---- colour and size
    ImgColor = named(new QLabel(this), "ImgColor");
    ImgColor->setFixedSize(28, 20);
    BtnColor = button(this, "BtnColor", QStringLiteral("..."), QStringLiteral("色設定"));
    BtnColor->setFixedWidth(28);
    BtnAllColor = button(this, "BtnAllColor", QStringLiteral("変更"), QStringLiteral("文字色の一括変更"));
    UDSize = named(new TUpDown(Qt::Vertical, this), "UDSize");
    UDSize->setRange(kLabelMinNewSize, kLabelMaxNewSize);
    UDSize->setToolTip(QStringLiteral("標準文字サイズ設定"));
    EdSize = named(new QLineEdit(this), "EdSize");
    EdSize->setReadOnly(true);
    EdSize->setFixedWidth(36);
    BtnAllSize = button(this, "BtnAllSize", QStringLiteral("変更"), QStringLiteral("文字サイズの一括変更"));
    CBFixed = checkBox(this, "CBFixed", QStringLiteral("文字ｻｲｽﾞ固定"), QStringLiteral("ﾗﾍﾞﾙ文字ｻｲｽﾞ固定"));
    CBWhite = checkBox(this, "CBWhite", QStringLiteral("白抜き"), QStringLiteral("ラベル背景色を白に"));
    RGFactor = named(new QGroupBox(QStringLiteral("文字ｻｲｽﾞ"), this), "RGFactor");
    auto* factorBox = new QGridLayout(RGFactor);
    const char* factors[6] = {"×0.8", "×0.9", "×1.0", "×1.2", "×1.5", "×2.0"};
    for (int i = 0; i < 6; ++i) {
        RBFactor[i] = new QRadioButton(QString::fromUtf8(factors[i]), RGFactor);
        RBFactor[i]->setObjectName(QStringLiteral("RGFactor_%1").arg(i));
        factorBox->addWidget(RBFactor[i], i / 3, i % 3);
    }
    CBShow = checkBox(this, "CBShow", QStringLiteral("表示"), QStringLiteral("ラベル表示/非表示"));
    CBMark = checkBox(this, "CBMark", QStringLiteral("マーク"), QStringLiteral("マーク表示"));
    CBText = checkBox(this, "CBText", QStringLiteral("ラベル"), QStringLiteral("ラベル表示"));

    // ---- order, search
    BtnTextSort = button(this, "BtnTextSort", QStringLiteral("コード順"), QStringLiteral("ラベル文字順に並べ替え"));
    BtnFileSort = button(this, "BtnFileSort", QStringLiteral("ﾌｧｲﾙ順"), QStringLiteral("ﾌｧｲﾙ番号順に並べ替える"));
    BtnAllShown = button(this, "BtnAllShown", QStringLiteral("非表示"), QStringLiteral("表示/非表示切り替え"));
    LblAll = named(new QLabel(QStringLiteral("全てのラベル"), this), "LblAll");
    LblAll->installEventFilter(this);
    EdSearch = named(new QLineEdit(this), "EdSearch");
    BtnSearch = button(this, "BtnSearch", QStringLiteral("検　索"), QStringLiteral("左のラベルを検索する"));
    BtnInView = button(this, "BtnInView", QStringLiteral("表示ﾗﾍﾞﾙ"), QStringLiteral("表示されたﾗﾍﾞﾙのみ"));
    UDFile = named(new TUpDown(Qt::Vertical, this), "UDFile");
    UDFile->setRange(0, 100000);
    UDFile->setToolTip(QStringLiteral("指定のﾌｧｲﾙ番号へジャンプ"));
    LblFile = named(new QLabel(QStringLiteral("0"), this), "LblFile");
    LblStatus = named(new QLabel(this), "LblStatus");
    LblCount = named(new QLabel(QStringLiteral("0"), this), "LblCount");

    // ---- grids
    StringGrid1 = named(new QTableView(this), "StringGrid1");
    model_ = new LabelGridModel(
        session_.labels.rows(), kLabelColumns,
        {LabelColumn::Mark, LabelColumn::X, LabelColumn::Y, LabelColumn::Text, LabelColumn::Size},
        [this](int row, LabelColumn column, const std::string& typed) { return session_.editLabel(row, column, typed); },
        this);
    model_->setHeadings({QStringLiteral("ﾏｰｸ"), QStringLiteral("経度座標"), QStringLiteral("緯度座標"),
                         QStringLiteral("ラベル"), QStringLiteral("ｻｲｽﾞ"), QStringLiteral("表示"), QStringLiteral("JR"),
                         QStringLiteral("主"), QStringLiteral("鉄"), QStringLiteral("番号")});
    StringGrid1->setModel(model_);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed |
                                 QAbstractItemView::SelectedClicked);
    StringGrid1->setToolTip(QStringLiteral("ﾗﾍﾞﾙﾀﾞﾌﾞﾙｸﾘｯｸ→表示/非表示"));
    StringGrid1->verticalHeader()->setDefaultSectionSize(18);
    StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    StringGrid1->setMinimumSize(520, 360);
    const int widths[kLabelColumns] = {30, 60, 60, 150, 36, 32, 28, 28, 28, 40};
    for (int i = 0; i < kLabelColumns; ++i)
        StringGrid1->setColumnWidth(i, widths[i]);
    StringGrid2 = named(new QTableWidget(0, 1, this), "StringGrid2");
    StringGrid2->setHorizontalHeaderLabels({QStringLiteral("読込済みﾗﾍﾞﾙﾌｧｲﾙ")});
    StringGrid2->horizontalHeader()->setStretchLastSection(true);
    StringGrid2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid2->setMaximumHeight(90);

    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    NMove = PopupMenu1->addAction(QStringLiteral("このラベルを移動します"));
    NDelete = PopupMenu1->addAction(QStringLiteral("このラベルを削除します　　　"));
    NColor = PopupMenu1->addAction(QStringLiteral("このラベルの文字色を変更します"));
    NSearchTown = PopupMenu1->addAction(QStringLiteral("このラベルを市区町村名として検索します"));
    NCentre = PopupMenu1->addAction(QStringLiteral("このラベルを中心に表示します"));
    NMove->setObjectName(QStringLiteral("NMove"));
    NDelete->setObjectName(QStringLiteral("NDelete"));
    NColor->setObjectName(QStringLiteral("NColor"));
    NSearchTown->setObjectName(QStringLiteral("NSearchTown"));
    NCentre->setObjectName(QStringLiteral("NCentre"));

    // ---- layout: the controls on the left, the grids on the right
    auto* left = new QGridLayout;
    int row = 0;
    left->addWidget(RGPlace, row++, 0, 1, 4);
    left->addWidget(new QLabel(QStringLiteral("経度/X座標"), this), row, 0);
    left->addWidget(EdLon, row++, 1, 1, 3);
    left->addWidget(new QLabel(QStringLiteral("緯度/Y座標"), this), row, 0);
    left->addWidget(EdLat, row++, 1, 1, 3);
    left->addWidget(BtnPlace, row, 0);
    left->addWidget(BtnSave, row, 1);
    left->addWidget(BtnClear, row++, 2);
    left->addWidget(BtnRead, row, 0);
    left->addWidget(CBAppend, row, 1);
    left->addWidget(BtnReread, row++, 2);
    left->addWidget(new QLabel(QStringLiteral("文字色"), this), row, 0);
    left->addWidget(ImgColor, row, 1);
    left->addWidget(BtnColor, row, 2);
    left->addWidget(BtnAllColor, row++, 3);
    left->addWidget(new QLabel(QStringLiteral("文字サイズ"), this), row, 0);
    left->addWidget(EdSize, row, 1);
    left->addWidget(UDSize, row, 2);
    left->addWidget(BtnAllSize, row++, 3);
    left->addWidget(CBFixed, row, 0, 1, 2);
    left->addWidget(CBWhite, row++, 2, 1, 2);
    left->addWidget(RGFactor, row++, 0, 1, 4);
    left->addWidget(CBShow, row, 0);
    left->addWidget(CBMark, row, 1);
    left->addWidget(CBText, row++, 2);
    left->addWidget(LblAll, row, 0);
    left->addWidget(BtnTextSort, row, 1);
    left->addWidget(BtnFileSort, row, 2);
    left->addWidget(BtnAllShown, row++, 3);
    left->addWidget(new QLabel(QStringLiteral("検索名"), this), row, 0);
    left->addWidget(EdSearch, row, 1, 1, 2);
    left->addWidget(BtnSearch, row++, 3);
    left->addWidget(BtnInView, row, 0);
    left->addWidget(new QLabel(QStringLiteral("ﾌｧｲﾙ番号"), this), row, 1);
    left->addWidget(LblFile, row, 2);
    left->addWidget(UDFile, row++, 3);
    left->addWidget(new QLabel(QStringLiteral("ﾗﾍﾞﾙ数"), this), row, 0);
    left->addWidget(LblCount, row++, 1);
    left->addWidget(LblStatus, row++, 0, 1, 4);
    left->setRowStretch(row, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(StringGrid1, 1);
    right->addWidget(StringGrid2);
    auto* top = new QHBoxLayout(this);
    top->addLayout(left);
    top->addLayout(right, 1);

    // ---- behaviour
    const std::pair<QRadioButton*, LabelPlacement> methods[] = {
        {RBMouse, LabelPlacement::Mouse}, {RBDegrees, LabelPlacement::Degrees}, {RBUnits, LabelPlacement::Units}};
    for (auto [radio, method] : methods)
        connect(radio, &QRadioButton::toggled, this, [this, method = method](bool on) {
            if (on && !refreshing_)
                session_.labelControls.placement = method;
        });
    connect(EdLon, &QLineEdit::textEdited, this,
            [this](const QString& t) { session_.labelControls.lonText = t.toStdString(); });
    connect(EdLat, &QLineEdit::textEdited, this,
            [this](const QString& t) { session_.labelControls.latText = t.toStdString(); });
    connect(BtnPlace, &QPushButton::clicked, this, [this] { session_.placeLabel(); });
    connect(BtnSave, &QPushButton::clicked, this, &TLetter::saveFile);
    connect(BtnRead, &QPushButton::clicked, this, &TLetter::readFiles);
    connect(BtnReread, &QPushButton::clicked, this, [this] { session_.rereadLabelFiles(); });
    connect(BtnClear, &QPushButton::clicked, this, [this] {
        if (dialogs_.ask(Message{"全てのラベルを削除してもいいですか？", "全ラベル削除", MessageIcon::Question}))
            session_.clearLabels();
    });
    connect(BtnColor, &QPushButton::clicked, this, [this] {
        if (const std::optional<Color> chosen = chooseColor(session_.labelControls.color))
            session_.setLabelColor(*chosen);
    });
    connect(BtnAllColor, &QPushButton::clicked, this, [this] {
        if (dialogs_.ask(Message{"すべてのラベルの文字色を現在設定されている文字色に変更しますか？　　　　",
                                 "ラベル文字色変更", MessageIcon::Question}))
            session_.recolourAllLabels();
    });
    connect(UDSize, &TUpDown::clicked, this, [this](bool) {
        session_.labelControls.newSize = UDSize->position();
        EdSize->setText(QString::number(UDSize->position()));
    });
    connect(BtnAllSize, &QPushButton::clicked, this, [this] {
        if (dialogs_.ask(Message{"すべてのラベルの文字サイズを現在設定されているサイズに変更しますか？　　　　",
                                 "ラベル文字色変更", MessageIcon::Question}))
            session_.resizeAllLabels();
    });
    for (QCheckBox* box : {CBFixed, CBMark, CBText})
        connect(box, &QCheckBox::toggled, this, [this] { lookChanged(); });
    for (QRadioButton* r : RBFactor)
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                lookChanged();
        });
    connect(CBWhite, &QCheckBox::toggled, this, [this] {
        if (refreshing_)
            return;
        lookChanged();
        session_.showLabels();
    });
    connect(CBShow, &QCheckBox::toggled, this, [this](bool on) {
        if (refreshing_)
            return;
        if (on)
            session_.showLabels();
        else
            session_.hideLabels();
    });
    connect(BtnTextSort, &QPushButton::clicked, this, [this] { session_.sortLabelsByText(); });
    connect(BtnFileSort, &QPushButton::clicked, this, [this] { session_.sortLabelsByFileNumber(); });
    connect(BtnAllShown, &QPushButton::clicked, this, [this] {
        const bool show = !session_.labelControls.allShown;
        const Message question =
            show ? Message{"全てのラベル/駅名を表示しますがよろしいですか？    ", "ラベル/駅名表示の変更",
                           MessageIcon::Question}
                 : Message{"全てのラベル/駅名を非表示にしますがよろしいですか？    ", "ラベル/駅名表示の変更",
                           MessageIcon::Question};
        if (dialogs_.ask(question))
            session_.setAllLabelsShown(show);
    });
    connect(BtnSearch, &QPushButton::clicked, this, &TLetter::searchLabels);
    connect(BtnInView, &QPushButton::clicked, this, [this] {
        session_.fillLabelsInView();
        emit inViewRequested();
    });
    connect(UDFile, &TUpDown::clicked, this, [this](bool) {
        LblFile->setText(QString::number(UDFile->position()));
        const int at = session_.labels.findFileNumber(UDFile->position());
        if (at >= 0)
            selectRow(at);
    });
    connect(StringGrid1, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (session_.labels.valid(index.row()))
            EdSearch->setText(QString::fromStdString(session_.labels.row(index.row()).text));
    });
    connect(StringGrid1, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        session_.toggleLabelShown(index.row());
    });
    connect(StringGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        const QModelIndex index = StringGrid1->indexAt(p);
        if (index.isValid())
            selectRow(index.row());
        PopupMenu1->exec(StringGrid1->viewport()->mapToGlobal(p));
    });
    connect(NMove, &QAction::triggered, this, [this] { session_.startLabelMove(selectedRow()); });
    connect(NDelete, &QAction::triggered, this, [this] {
        const int r = selectedRow();
        if (!session_.labels.valid(r))
            return;
        if (dialogs_.ask(Message{"ラベル '" + session_.labels.row(r).text + "' を削除しますか？", "ラベル削除",
                                 MessageIcon::Question}))
            session_.deleteLabel(r);
    });
    connect(NColor, &QAction::triggered, this, [this] {
        const int r = selectedRow();
        if (session_.labels.valid(r) &&
            dialogs_.ask(Message{"このラベルの文字色を現在設定されている文字色に変更しますか？　　　　",
                                 "ラベル文字色変更", MessageIcon::Question}))
            session_.recolourLabel(r);
    });
    connect(NSearchTown, &QAction::triggered, this, [this] {
        const int r = selectedRow();
        if (session_.labels.valid(r))
            emit townSearchRequested(QString::fromStdString(session_.labels.row(r).text));
    });
    connect(NCentre, &QAction::triggered, this, [this] { session_.centreOnLabel(selectedRow()); });
    refresh();
}

bool TLetter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == LblAll && event->type() == QEvent::MouseButtonDblClick) {
        session_.sortLabelsByText();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TLetter::open()
{
    session_.openLabelWindow();
    show();
    raise();
}

int TLetter::selectedRow() const
{
    const QModelIndexList rows = StringGrid1->selectionModel()->selectedRows();
    if (!rows.isEmpty())
        return rows.front().row();
    const QModelIndex current = StringGrid1->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TLetter::selectRow(int row)
{
    if (!session_.labels.valid(row))
        return;
    StringGrid1->selectRow(row);
    StringGrid1->scrollTo(model_->index(row, 0));
}

void TLetter::lookChanged()
{
    if (refreshing_)
        return;
    LabelLook look = session_.labelControls.look;
    look.fixedSize = CBFixed->isChecked();
    look.whiteBack = CBWhite->isChecked();
    look.marks = CBMark->isChecked();
    look.texts = CBText->isChecked();
    for (int i = 0; i < 6; ++i)
        if (RBFactor[i]->isChecked())
            look.factor = i;
    session_.setLabelLook(look);
}

void TLetter::readFiles()
{
    const QStringList chosen = chooseFilesToRead();
    if (chosen.isEmpty())
        return;
    std::vector<std::string> paths;
    for (const QString& p : chosen)
        paths.push_back(p.toStdString());
    session_.readLabelFiles(paths, CBAppend->isChecked());
}

void TLetter::saveFile()
{
    session_.labelControls.placePending = false;
    const std::optional<QString> path = chooseFileToSave();
    if (!path)
        return;
    session_.saveLabels(path->toStdString());
}

void TLetter::searchLabels()
{
    const std::string wanted = EdSearch->text().toStdString();
    session_.highlightLabel(-1);
    for (int at = session_.labels.findText(wanted); at >= 0; at = session_.labels.findText(wanted, at + 1)) {
        session_.highlightLabel(at);
        selectRow(at);
        if (!dialogs_.ask(Message{"一個みつかりました．次の検索をしますか", "ラベル検索", MessageIcon::Question}))
            break;
    }
    session_.highlightLabel(-1);
}

void TLetter::refresh()
{
    refreshing_ = true;
    const LabelControls& c = session_.labelControls;
    RBMouse->setChecked(c.placement == LabelPlacement::Mouse);
    RBDegrees->setChecked(c.placement == LabelPlacement::Degrees);
    RBUnits->setChecked(c.placement == LabelPlacement::Units);
    if (EdLon->text().toStdString() != c.lonText)
        EdLon->setText(QString::fromStdString(c.lonText));
    if (EdLat->text().toStdString() != c.latText)
        EdLat->setText(QString::fromStdString(c.latText));
    BtnPlace->setEnabled(c.placeEnabled && session_.mapShown);
    BtnSave->setEnabled(c.saveEnabled && !session_.labels.empty());
    BtnClear->setEnabled(c.clearEnabled);
    BtnReread->setEnabled(!c.files.empty());
    ImgColor->setStyleSheet(QStringLiteral("QLabel { background-color: %1; border: 1px solid gray; }")
                                .arg(qcolorOf(c.color).name()));
    UDSize->setPosition(c.newSize);
    EdSize->setText(QString::number(c.newSize));
    setQuietly(CBFixed, c.look.fixedSize);
    setQuietly(CBWhite, c.look.whiteBack);
    setQuietly(CBMark, c.look.marks);
    setQuietly(CBText, c.look.texts);
    setQuietly(CBShow, session_.switches.CBLabel);
    for (int i = 0; i < 6; ++i) {
        const QSignalBlocker block(RBFactor[i]);
        RBFactor[i]->setChecked(c.look.factor == i);
    }
    BtnAllShown->setText(c.allShown ? QStringLiteral("非表示") : QStringLiteral("表　示"));
    LblStatus->setText(QString::fromUtf8(c.status.c_str()));
    LblCount->setText(QString::number(session_.labels.count()));
    const int selected = selectedRow();
    model_->reset();
    if (session_.labels.valid(selected))
        StringGrid1->selectRow(selected);
    StringGrid2->setRowCount(static_cast<int>(c.files.size()));
    for (int i = 0; i < static_cast<int>(c.files.size()); ++i)
        StringGrid2->setItem(i, 0, new QTableWidgetItem(QString::fromStdString(c.files[static_cast<size_t>(i)])));
    refreshing_ = false;
    // A placed label waits for its text: its label cell is opened for typing, once.
    if (session_.labels.valid(c.editRow) && c.editRow != editing_ && isVisible()) {
        const QModelIndex cell = model_->index(c.editRow, static_cast<int>(LabelColumn::Text));
        StringGrid1->setCurrentIndex(cell);
        StringGrid1->scrollTo(cell);
        activateWindow();
        StringGrid1->setFocus();
        StringGrid1->edit(cell);
    }
    editing_ = c.editRow;
}

} // namespace oboro
