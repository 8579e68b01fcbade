#include "lines/gui/tlineadd.h"

#include "common/gui/controls.h"

#include "app/gui/updown.h"
#include "app/mapsession.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>

namespace oboro {

namespace {

// A filter of the form "追加線ファイル(*.adl)|*.adl|すべて(*.*)|*.*" as the file dialog wants it.
QString dialogFilter(const char* pairs)
{
    const QStringList parts = QString::fromUtf8(pairs).split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i < parts.size(); i += 2)
        out << parts[i];
    return out.join(QStringLiteral(";;"));
}

Message unsavedQuestion(const char* title)
{
    return Message{"編集中の線データが保存されていません\n保存しますか？", title, MessageIcon::Question};
}

} // namespace

Message newLineQuestion() { return unsavedQuestion("線データ新規作成"); }
Message openLineQuestion() { return unsavedQuestion("線データ新規編集"); }
Message closeLineQuestion() { return unsavedQuestion("線データ編集作業の終了"); }
Message closeWindowQuestion() { return unsavedQuestion("地図線の編集・表示"); }
Message exitLineQuestion() { return unsavedQuestion("Oboroの終了"); }

TLineAdd::TLineAdd(MapSession& session, MessageBoxSink& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), session_(session), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("TLineAdd"));
    setWindowTitle(QStringLiteral("地図線の編集・表示"));

    chooseOpenFile = [this] {
        return QFileDialog::getOpenFileName(this, QString(), QString(), dialogFilter(kLineFileFilter)).toStdString();
    };
    chooseDisplayFiles = [this] {
        std::vector<std::string> out;
        for (const QString& f : QFileDialog::getOpenFileNames(this, QString(), QString(), dialogFilter(kDisplayFileFilter)))
            out.push_back(f.toStdString());
        return out;
    };
    chooseSaveFile = [this] {
        QFileDialog d(this, QString(), QString(), dialogFilter(kLineFileFilter));
        d.setAcceptMode(QFileDialog::AcceptSave);
        d.setDefaultSuffix(QStringLiteral("adl"));
        d.setOption(QFileDialog::DontConfirmOverwrite, false);
        return d.exec() == QDialog::Accepted && !d.selectedFiles().isEmpty() ? d.selectedFiles().first().toStdString()
                                                                             : std::string();
    };
    chooseColor = [this](Color current) -> std::optional<Color> {
        const QColor c = QColorDialog::getColor(qcolorOf(current), this);
        if (!c.isValid())
            return std::nullopt;
        return static_cast<Color>(c.red() | (c.green() << 8) | (c.blue() << 16));
    };
    askUnsaved = [this](const Message& m) {
        QMessageBox box(QMessageBox::Question, QString::fromStdString(m.title), QString::fromStdString(m.text),
                        QMessageBox::NoButton, this);
        QPushButton* save = box.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
        QPushButton* discard = box.addButton(QStringLiteral("破棄"), QMessageBox::DestructiveRole);
        box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
        box.exec();
        if (box.clickedButton() == save)
            return UnsavedAnswer::Save;
        if (box.clickedButton() == discard)
            return UnsavedAnswer::Discard;
        return UnsavedAnswer::Cancel;
    };

    // ---- the edited line
    Button2 = button(this, "Button2", QStringLiteral("新規作成"), QStringLiteral("新規に地図線データ作成"));
    Button1 = button(this, "Button1", QStringLiteral("ﾌｧｲﾙ読込"), QStringLiteral("地図線データを読み込んで編集"));
    Button6 = button(this, "Button6", QStringLiteral("ﾌｧｲﾙ保存"), QStringLiteral("編集データの保存"));
    Button5 = button(this, "Button5", QStringLiteral("編集終了"), QStringLiteral("編集作業を終了する"));
    Button10 = button(this, "Button10", QStringLiteral("終わり"), QStringLiteral("地図点追加終了"));
    Button13 = button(this, "Button13", QStringLiteral("切断"), QStringLiteral("地図線データ切断点挿入"));
    CBLoop = checkBox(this, "CBLoop", QStringLiteral("閉"), QStringLiteral("閉じた曲線"));
    Button7 = button(this, "Button7", QStringLiteral("挿　入"), QStringLiteral("選択した点の次に新しい点を作る"));
    CheckBox7 = checkBox(this, "CheckBox7", QStringLiteral("追加"), QStringLiteral("チェックして挿入で点を追加する"));
    Button3 = button(this, "Button3", QStringLiteral("削　除"), QStringLiteral("選択した点の削除"));
    Button11 = button(this, "Button11", QStringLiteral("移　動"), QStringLiteral("選択した点の移動"));
    UpDown1 = named(new TUpDown(Qt::Vertical, this), "UpDown1");
    UpDown1->setRange(0, 0);
    Edit1 = named(new QLineEdit(QStringLiteral("0"), this), "Edit1");
    BtnEdit = button(this, "BtnEdit", QStringLiteral("表　示"), QStringLiteral("編集中の地図線表示"));
    CheckBox3 = checkBox(this, "CheckBox3", QString(), QString());
    CheckBox3->setChecked(true);
    StringGrid1 = named(new QTableWidget(0, 3, this), "StringGrid1");
    StringGrid1->setHorizontalHeaderLabels({QStringLiteral("No"), QStringLiteral("x"), QStringLiteral("y")});
    StringGrid1->verticalHeader()->hide();
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    StringGrid1->setMinimumHeight(160);

    // ---- the look
    Button12 = button(this, "Button12", QStringLiteral("..."), QStringLiteral("色設定"));
    Button12->setFixedWidth(28);
    Image1 = label(this, "Image1", QString());
    Image1->setFixedSize(28, 20);
    const auto upDown = [this](const char* name, const char* editName, int lo, int hi, int start, TUpDown*& u,
                               QLineEdit*& e, const QString& hint) {
        u = named(new TUpDown(Qt::Vertical, this), name);
        u->setRange(lo, hi);
        u->setPosition(start);
        u->setToolTip(hint);
        u->setFixedSize(u->sizeHint());
        e = named(new QLineEdit(QString::number(start), this), editName);
        e->setReadOnly(true);
        e->setFixedWidth(40);
        e->setToolTip(hint);
    };
    UpDown1->setFixedSize(UpDown1->sizeHint());
    Edit1->setFixedWidth(48);
    upDown("UpDown2", "Edit2", kMinLineSize, kMaxLineSize, 1, UpDown2, Edit2, QStringLiteral("実線の太さ"));
    upDown("UpDown3", "Edit3", kMinArrowSize, kMaxArrowSize, 12, UpDown3, Edit3, QStringLiteral("矢印の大きさ"));
    upDown("UpDown4", "Edit4", 0, kMaxArrowStep, 0, UpDown4, Edit4, QStringLiteral("連続矢印のステップ間隔"));
    upDown("UpDown6", "Edit6", -100, 100, 0, UpDown6, Edit6, QStringLiteral("x方向移動量設定"));
    upDown("UpDown7", "Edit7", -100, 100, 0, UpDown7, Edit7, QStringLiteral("y方向移動量設定"));
    RadioGroup1 = named(new QGroupBox(QStringLiteral("線種"), this), "RadioGroup1");
    RadioGroup1->setToolTip(QStringLiteral("実線以外は太さ1のときのみ選択可"));
    auto* types = new QVBoxLayout(RadioGroup1);
    const char* typeNames[kLineTypeCount] = {"実線", "破線", "点線", "一点鎖線", "二点鎖線"};
    for (int i = 0; i < kLineTypeCount; ++i) {
        lineTypes[i] = new QRadioButton(QString::fromUtf8(typeNames[i]), RadioGroup1);
        lineTypes[i]->setObjectName(QStringLiteral("RadioGroup1_%1").arg(i));
        types->addWidget(lineTypes[i]);
    }
    lineTypes[0]->setChecked(true);
    CBArrow = checkBox(this, "CBArrow", QStringLiteral("矢印"), QStringLiteral("矢印なし/あり"));
    CheckBox1 = checkBox(this, "CheckBox1", QStringLiteral("▲"), QStringLiteral("三角矢印/線矢印"));
    Button9 = button(this, "Button9", QStringLiteral("移動"), QStringLiteral("地図線を平行移動する"));
    Label19 = label(this, "Label19", QStringLiteral("0"));
    Label20 = label(this, "Label20", QStringLiteral("0"));

    // ---- the displayed files
    BtnFile = button(this, "BtnFile", QStringLiteral("地図線読込"), QStringLiteral("複数ファイル選択可"));
    CBFileAdd = checkBox(this, "CBFileAdd", QStringLiteral("追加"), QStringLiteral("地図線データを追加する"));
    Button4 = button(this, "Button4", QStringLiteral("ク リ ア"), QStringLiteral("呼出ファイルを破棄"));
    CheckBox2 = checkBox(this, "CheckBox2", QStringLiteral("表示"), QStringLiteral("地図線の表示・非表示"));
    CheckBox4 = checkBox(this, "CheckBox4", QStringLiteral("塗り分け境界線"), QStringLiteral("地図線をペイント境界線として使用する"));
    Button15 = button(this, "Button15", QStringLiteral("属性変更"), QStringLiteral("地図線の属性変更"));
    Button15->setEnabled(false); // the line attribute window is not part of this build

    Label2 = label(this, "Label2", QStringLiteral("0"));
    Label7 = label(this, "Label7", QStringLiteral("地図線の編集・表示"));
    Label10 = label(this, "Label10", QString());
    Label18 = label(this, "Label18", QStringLiteral("ファイル　なし"));
    Label7->setStyleSheet(QStringLiteral("QLabel { color: navy; }"));

    // ---- layout
    auto* top = new QVBoxLayout(this);
    auto* fileRow = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{Button2, Button1, Button6, Button5})
        fileRow->addWidget(w);
    top->addLayout(fileRow);
    auto* status = new QHBoxLayout;
    status->addWidget(Label10, 1);
    status->addWidget(new QLabel(QStringLiteral("点数"), this));
    status->addWidget(Label2);
    top->addLayout(status);
    top->addWidget(Label7);
    auto* middle = new QHBoxLayout;
    auto* edit = new QGridLayout;
    edit->addWidget(Button10, 0, 0);
    edit->addWidget(Button13, 0, 1);
    edit->addWidget(CBLoop, 0, 2);
    edit->addWidget(Button7, 1, 0);
    edit->addWidget(CheckBox7, 1, 1);
    edit->addWidget(Button3, 2, 0);
    edit->addWidget(Button11, 2, 1);
    edit->addWidget(new QLabel(QStringLiteral("選択点"), this), 3, 0);
    auto* pick = new QHBoxLayout;
    pick->addWidget(Edit1);
    pick->addWidget(UpDown1);
    edit->addLayout(pick, 3, 1);
    auto* view = new QHBoxLayout;
    view->addWidget(CheckBox3);
    view->addWidget(BtnEdit);
    edit->addLayout(view, 4, 0, 1, 2);
    middle->addLayout(edit);
    middle->addWidget(StringGrid1, 1);
    top->addLayout(middle);
    auto* look = new QHBoxLayout;
    auto* lookLeft = new QGridLayout;
    lookLeft->addWidget(new QLabel(QStringLiteral("色"), this), 0, 0);
    lookLeft->addWidget(Image1, 0, 1);
    lookLeft->addWidget(Button12, 0, 2);
    lookLeft->addWidget(new QLabel(QStringLiteral("線サイズ"), this), 1, 0);
    lookLeft->addWidget(Edit2, 1, 1);
    lookLeft->addWidget(UpDown2, 1, 2);
    lookLeft->addWidget(CBArrow, 2, 0);
    lookLeft->addWidget(CheckBox1, 2, 1);
    lookLeft->addWidget(new QLabel(QStringLiteral("矢印サイズ"), this), 3, 0);
    lookLeft->addWidget(Edit3, 3, 1);
    lookLeft->addWidget(UpDown3, 3, 2);
    lookLeft->addWidget(new QLabel(QStringLiteral("ステップ"), this), 4, 0);
    lookLeft->addWidget(Edit4, 4, 1);
    lookLeft->addWidget(UpDown4, 4, 2);
    look->addLayout(lookLeft);
    look->addWidget(RadioGroup1);
    top->addLayout(look);
    auto* shiftRow = new QGridLayout;
    shiftRow->addWidget(new QLabel(QStringLiteral("x"), this), 0, 0);
    shiftRow->addWidget(Edit6, 0, 1);
    shiftRow->addWidget(UpDown6, 0, 2);
    shiftRow->addWidget(new QLabel(QStringLiteral("y"), this), 0, 3);
    shiftRow->addWidget(Edit7, 0, 4);
    shiftRow->addWidget(UpDown7, 0, 5);
    shiftRow->addWidget(Button9, 0, 6);
    shiftRow->addWidget(Label19, 1, 1);
    shiftRow->addWidget(Label20, 1, 4);
    top->addLayout(shiftRow);
    auto* files = new QGridLayout;
    files->addWidget(BtnFile, 0, 0);
    files->addWidget(CBFileAdd, 0, 1);
    files->addWidget(Button4, 0, 2);
    files->addWidget(CheckBox2, 1, 0);
    files->addWidget(CheckBox4, 1, 1);
    files->addWidget(Button15, 1, 2);
    files->addWidget(Label18, 2, 0, 1, 3);
    top->addLayout(files);

    // ---- behaviour
    connect(Button2, &QPushButton::clicked, this, [this] {
        if (settleUnsaved(newLineQuestion()))
            session_.newMapLine();
    });
    connect(Button1, &QPushButton::clicked, this, &TLineAdd::openForEditing);
    connect(Button6, &QPushButton::clicked, this, [this] { saveEdited(); });
    connect(Button5, &QPushButton::clicked, this, [this] {
        if (!settleUnsaved(closeLineQuestion()))
            return;
        session_.closeMapLine();
        UpDown6->setPosition(0);
        UpDown7->setPosition(0);
        refresh();
    });
    connect(Button10, &QPushButton::clicked, &session_, &MapSession::finishMapLine);
    connect(Button13, &QPushButton::clicked, &session_, &MapSession::mapLineBreak);
    connect(CBLoop, &QCheckBox::toggled, this, [this](bool on) { session_.setMapLineLoop(on); });
    connect(Button7, &QPushButton::clicked, &session_, &MapSession::insertMapLinePoint);
    connect(CheckBox7, &QCheckBox::toggled, this, [this](bool on) { session_.setMapLineAppendOnInsert(on); });
    connect(Button3, &QPushButton::clicked, &session_, &MapSession::deleteMapLinePoint);
    connect(Button11, &QPushButton::clicked, &session_, &MapSession::moveMapLinePoint);
    connect(UpDown1, &TUpDown::clicked, this, [this](bool) { session_.selectMapLinePoint(UpDown1->position()); });
    connect(StringGrid1, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (!refreshing_)
            session_.selectMapLinePoint(row);
    });
    connect(BtnEdit, &QPushButton::clicked, this, &TLineAdd::toggleEditView);
    connect(CheckBox3, &QCheckBox::toggled, this, [this](bool on) {
        if (!refreshing_)
            session_.setMapLineShown(on);
    });
    connect(Button12, &QPushButton::clicked, this, [this] {
        if (!chooseColor)
            return;
        if (const std::optional<Color> c = chooseColor(color_)) {
            color_ = *c;
            styleChanged();
        }
    });
    for (TUpDown* u : {UpDown2, UpDown3, UpDown4})
        connect(u, &TUpDown::clicked, this, [this](bool) { styleChanged(); });
    for (int i = 0; i < kLineTypeCount; ++i)
        connect(lineTypes[i], &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                styleChanged();
        });
    for (QCheckBox* b : {CBArrow, CheckBox1})
        connect(b, &QCheckBox::toggled, this, [this](bool) { styleChanged(); });
    connect(UpDown6, &TUpDown::positionChanged, this, [this](int p) { Edit6->setText(QString::number(p)); });
    connect(UpDown7, &TUpDown::positionChanged, this, [this](int p) { Edit7->setText(QString::number(p)); });
    connect(Button9, &QPushButton::clicked, this, &TLineAdd::shift);
    connect(BtnFile, &QPushButton::clicked, this, &TLineAdd::loadDisplayFiles);
    connect(Button4, &QPushButton::clicked, this, [this] {
        if (dialogs_.ask(Message{"読み込んでいる地図線データをすべてクリアしますか？　　　", "地図線データ",
                                 MessageIcon::Question}))
            session_.clearDisplayedLines();
    });
    connect(CheckBox2, &QCheckBox::toggled, this, [this](bool on) {
        if (!refreshing_)
            session_.setDisplayedLinesShown(on);
    });
    connect(CheckBox4, &QCheckBox::toggled, this, [this](bool on) {
        if (!refreshing_)
            session_.setPaintBorderLines(on);
    });
    connect(&session_, &MapSession::changed, this, &TLineAdd::refresh);
    refresh();
}

void TLineAdd::open()
{
    if (session_.isOn(Switch::Readings))
        session_.setSwitch(Switch::Readings, false);
    refresh();
    // The first time beside the main window, so the map stays in view.
    if (!placed_ && parentWidget()) {
        placeBeside(this, parentWidget());
        placed_ = true;
    }
    show();
    raise();
}

LineStyle TLineAdd::styleOfControls() const
{
    LineStyle s;
    s.color = color_;
    s.size = UpDown2->position();
    for (int i = 0; i < kLineTypeCount; ++i)
        if (lineTypes[i]->isChecked())
            s.type = i;
    s.arrow = !CBArrow->isChecked() ? 0 : CheckBox1->isChecked() ? 2 : 1;
    s.arrowSize = UpDown3->position();
    s.step = UpDown4->position();
    return s;
}

void TLineAdd::styleChanged()
{
    if (refreshing_)
        return;
    session_.setMapLineStyle(styleOfControls());
}

void TLineAdd::refresh()
{
    refreshing_ = true;
    const LineEditor& e = session_.lineEditor;
    const DisplayedLines& d = session_.displayedLines;
    const LineStyle& s = e.line.style;

    // The look.
    color_ = s.color;
    QPixmap swatch(Image1->size());
    swatch.fill(qcolorOf(s.color));
    Image1->setPixmap(swatch);
    UpDown2->setPosition(s.size);
    Edit2->setText(QString::number(s.size));
    UpDown3->setPosition(s.arrowSize);
    Edit3->setText(QString::number(s.arrowSize));
    UpDown4->setPosition(s.step);
    Edit4->setText(QString::number(s.step));
    {
        const QSignalBlocker b(RadioGroup1);
        for (int i = 0; i < kLineTypeCount; ++i) {
            const QSignalBlocker bi(lineTypes[i]);
            lineTypes[i]->setChecked(i == s.type);
        }
    }
    setQuietly(CBArrow, s.arrow != 0);
    if (s.arrow != 0) // without arrows ▲ keeps the kind for when they come back
        setQuietly(CheckBox1, s.arrow == 2);
    setQuietly(CBLoop, e.closeLoop);
    setQuietly(CheckBox7, e.appendOnInsert);
    setQuietly(CheckBox3, e.shown);

    // The points.
    const int n = e.count();
    if (StringGrid1->rowCount() != n)
        StringGrid1->setRowCount(n);
    for (int i = 0; i < n; ++i) {
        const QPoint& p = e.line.points[static_cast<size_t>(i)];
        const QString texts[3] = {QString::number(i), QString::number(p.x()), QString::number(p.y())};
        for (int c = 0; c < 3; ++c) {
            QTableWidgetItem* item = StringGrid1->item(i, c);
            if (!item)
                StringGrid1->setItem(i, c, item = new QTableWidgetItem);
            if (item->text() != texts[c])
                item->setText(texts[c]);
        }
    }
    if (e.selected >= 0 && e.selected < n) {
        StringGrid1->selectRow(e.selected);
        StringGrid1->scrollToItem(StringGrid1->item(e.selected, 0));
    } else {
        StringGrid1->clearSelection();
    }
    UpDown1->setRange(0, std::max(0, n - 1));
    UpDown1->setPosition(std::max(0, e.selected));
    Edit1->setText(QString::number(std::max(0, e.selected)));
    Label2->setText(QString::number(n));
    Label7->setText(QString::fromStdString(e.prompt));
    Label10->setText(QString::fromStdString(e.status));
    Label19->setText(QString::number(e.shiftTotal.x()));
    Label20->setText(QString::number(e.shiftTotal.y()));
    BtnEdit->setText(e.editView ? QStringLiteral("表　示") : QStringLiteral("編　集"));
    BtnEdit->setToolTip(e.editView ? QStringLiteral("編集中の地図線表示") : QStringLiteral("地図線の編集"));

    // What can be used now.
    const bool waiting = e.click == LineClick::FillInserted || e.click == LineClick::Move;
    const bool appending = e.click == LineClick::Append;
    const bool idle = e.click == LineClick::None;
    const bool hasPoints = n > 0;
    Button2->setEnabled(!appending && !waiting);
    Button1->setEnabled(!appending && !waiting);
    BtnFile->setEnabled(!waiting);
    Button10->setEnabled(appending);
    Button13->setEnabled(appending && hasPoints && !isBreak(e.line.points.back()));
    CBLoop->setEnabled(appending);
    for (QWidget* w : std::initializer_list<QWidget*>{Button7, Button3, Button11, UpDown1, Edit1, StringGrid1, CheckBox7})
        w->setEnabled(e.editable());
    Button3->setEnabled(e.editable() && e.selected >= 0);
    Button11->setEnabled(e.editable() && e.selected >= 0 && !isBreak(e.line.points[static_cast<size_t>(e.selected)]));
    BtnEdit->setEnabled(idle && hasPoints);
    Button6->setEnabled(idle && n > 1);
    Button5->setEnabled(e.active() && !waiting);
    Button9->setEnabled(idle && hasPoints);

    // The displayed files.
    Label18->setText(QString::fromStdString(d.statusText()));
    CheckBox2->setEnabled(!d.empty());
    setQuietly(CheckBox2, d.shown);
    setQuietly(CheckBox4, d.paintBorder);
    Button4->setEnabled(!d.empty());
    refreshing_ = false;
}

bool TLineAdd::settleUnsaved(const Message& question)
{
    if (!session_.lineEditor.unsaved())
        return true;
    switch (askUnsaved ? askUnsaved(question) : UnsavedAnswer::Cancel) {
    case UnsavedAnswer::Save: return saveEdited();
    case UnsavedAnswer::Discard: return true;
    default: return false;
    }
}

bool TLineAdd::saveEdited()
{
    if (session_.lineEditor.count() == 0 || !chooseSaveFile)
        return false;
    std::string path = chooseSaveFile();
    if (path.empty())
        return false;
    if (QFileInfo(QString::fromStdString(path)).suffix().isEmpty())
        path += ".adl";
    return session_.saveMapLine(path);
}

void TLineAdd::openForEditing()
{
    if (!settleUnsaved(openLineQuestion()) || !chooseOpenFile)
        return;
    const std::string path = chooseOpenFile();
    if (path.empty())
        return;
    if (session_.displayedLines.contains(path) &&
        !dialogs_.ask(Message{"指定されたファイルはすでに地図線読込で使用されており，編集できません　　　　\n"
                              "この地図線を読込表示から削除して編集しますか？　　　　　",
                              "地図線読込ファイルと同じ", MessageIcon::Exclamation}))
        return;
    session_.openMapLine(path);
}

void TLineAdd::loadDisplayFiles()
{
    if (!chooseDisplayFiles)
        return;
    const std::vector<std::string> paths = chooseDisplayFiles();
    if (paths.empty())
        return;
    session_.loadDisplayedLines(paths, CBFileAdd->isChecked());
}

void TLineAdd::shift()
{
    const int dx = UpDown6->position(), dy = UpDown7->position();
    if (dx == 0 && dy == 0) {
        dialogs_.show("xおよびy方向移動量が設定されていませんので，移動できません　　　", "座標値移動",
                      MessageIcon::Exclamation);
        return;
    }
    char text[160];
    std::snprintf(text, sizeof text, "すべての座標値をx方向に%d，y方向に%d移動しますか？　　　", dx, dy);
    if (!dialogs_.ask(Message{text, "座標値移動", MessageIcon::Question}))
        return;
    UpDown6->setPosition(0);
    UpDown7->setPosition(0);
    session_.shiftMapLine(dx, dy);
}

void TLineAdd::toggleEditView()
{
    if (!CheckBox3->isChecked()) {
        dialogs_.show("編集データが非表示になっています．左のチェックボックスにチェックを入れてください", "編集データ非表示",
                      MessageIcon::Exclamation);
        return;
    }
    session_.setMapLineEditView(!session_.lineEditor.editView);
}

void TLineAdd::closeEvent(QCloseEvent* e)
{
    // Closing the window hides it; an unsaved line is settled first, and a discarded
    // one is put away.
    if (session_.lineEditor.unsaved()) {
        const UnsavedAnswer a = askUnsaved ? askUnsaved(closeWindowQuestion()) : UnsavedAnswer::Cancel;
        if (a == UnsavedAnswer::Cancel || (a == UnsavedAnswer::Save && !saveEdited())) {
            e->ignore();
            return;
        }
        if (a == UnsavedAnswer::Discard)
            session_.closeMapLine();
    }
    e->accept();
}

} // namespace oboro
