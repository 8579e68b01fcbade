#include "names/gui/tyomilist.h"

#include "common/gui/controls.h"

#include "app/mapsession.h"
#include "common/paths.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace oboro {

TYomiList::TYomiList(MapSession& session, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), session_(session)
{
    setObjectName(QStringLiteral("TYomiList"));
    setWindowTitle(QStringLiteral(" 読みがな編集"));
    askExportPath = [this]() -> std::string {
        QFileDialog dialog(this, QStringLiteral("リスト保存"), QString::fromStdString(programPath("\\obrfile")));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilters({QStringLiteral("テキストファイル(*.csv) (*.csv)"), QStringLiteral("テキストファイル(*.txt) (*.txt)"),
                               QStringLiteral("すべて(*.*) (*)")});
        dialog.setDefaultSuffix(QStringLiteral("csv"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().front().toStdString();
    };

    StringGrid1 = named(new QTableWidget(0, 5, this), "StringGrid1");
    StringGrid1->setHorizontalHeaderLabels(
        {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("種別"), QStringLiteral("市区町村名"), QStringLiteral("読みがな")});
    StringGrid1->verticalHeader()->setDefaultSectionSize(20);
    StringGrid1->horizontalHeader()->setStretchLastSection(true);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setMinimumSize(340, 360);
    for (const auto& [column, width] : {std::pair{0, 56}, {1, 56}, {2, 34}, {3, 96}})
        StringGrid1->setColumnWidth(column, width);

    Button3 = named(new QPushButton(QStringLiteral("五十音順"), this), "Button3");
    Button4 = named(new QPushButton(QStringLiteral("漢字コード順"), this), "Button4");
    Button2 = named(new QPushButton(QStringLiteral("種　別"), this), "Button2");
    marker3 = named(new QLabel(QStringLiteral("●"), this), "Label8");
    marker4 = named(new QLabel(QStringLiteral("●"), this), "Label9");
    marker2 = named(new QLabel(QStringLiteral("●"), this), "Label10");
    Label7 = named(new QLabel(this), "Label7");
    Label11 = named(new QLabel(this), "Label11");
    Label12 = named(new QLabel(this), "Label12");
    CBOldNeg = named(new QCheckBox(QStringLiteral("旧市町村名を除く"), this), "CBOldNeg");
    CBOldNeg->setToolTip(QStringLiteral("リストに旧名を表示しない"));
    CBGyaku = named(new QCheckBox(QStringLiteral("逆順"), this), "CBGyaku");
    CBKanaHi = named(new QCheckBox(QStringLiteral("読みがな（ハイライト）"), this), "CBKanaHi");
    Button1 = named(new QPushButton(QStringLiteral("読みがな保存"), this), "Button1");
    Button1->setToolTip(QStringLiteral("読みがなを変更し保存する"));
    Button6 = named(new QPushButton(QStringLiteral("リスト保存"), this), "Button6");
    Button6->setToolTip(QStringLiteral("リストをテキストファイルとして保存"));
    Button5 = named(new QPushButton(QStringLiteral("閉じる"), this), "Button5");
    Button7 = named(new QPushButton(QStringLiteral("情報チェック"), this), "Button7");
    Button7->setToolTip(QStringLiteral("市区町村情報の有無チェック"));
    Button7->setEnabled(false); // the municipal office information is not part of this build

    auto* top = new QVBoxLayout(this);
    auto* order = new QGridLayout;
    order->addWidget(marker3, 0, 0);
    order->addWidget(Button3, 0, 1);
    order->addWidget(marker4, 0, 2);
    order->addWidget(Button4, 0, 3);
    order->addWidget(marker2, 0, 4);
    order->addWidget(Button2, 0, 5);
    order->addWidget(CBGyaku, 0, 6);
    order->addWidget(Label7, 0, 7);
    top->addLayout(order);
    top->addWidget(StringGrid1, 1);
    auto* info = new QHBoxLayout;
    info->addWidget(Label11);
    info->addStretch();
    info->addWidget(Label12);
    top->addLayout(info);
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(CBOldNeg);
    boxes->addWidget(CBKanaHi);
    boxes->addStretch();
    top->addLayout(boxes);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {Button1, Button6, Button7, Button5})
        buttons->addWidget(b);
    top->addLayout(buttons);

    const auto reorder = [this](NameListOrder o) {
        session_.setNameListOrder(o);
        fillGrid();
    };
    connect(Button3, &QPushButton::clicked, this, [reorder] { reorder(NameListOrder::Reading); });
    connect(Button4, &QPushButton::clicked, this, [reorder] { reorder(NameListOrder::Name); });
    connect(Button2, &QPushButton::clicked, this, [reorder] { reorder(NameListOrder::Kind); });
    connect(CBGyaku, &QCheckBox::toggled, this, [this](bool on) {
        session_.setNameListReverse(on);
        fillGrid();
    });
    connect(CBOldNeg, &QCheckBox::toggled, this, [this](bool on) {
        session_.setNameListExcludeOld(on);
        fillGrid();
    });
    connect(CBKanaHi, &QCheckBox::toggled, this, [this](bool on) { session_.readingsLook.kanaHighlight = on; });
    connect(StringGrid1, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) { rowClicked(row); });
    connect(StringGrid1, &QTableWidget::cellChanged, this, &TYomiList::cellEdited);
    connect(Button1, &QPushButton::clicked, this, [this] {
        if (session_.saveReadings())
            Button1->setEnabled(false);
    });
    connect(Button6, &QPushButton::clicked, this, [this] {
        const std::string path = askExportPath();
        if (!path.empty())
            session_.exportNameList(path);
    });
    connect(Button5, &QPushButton::clicked, this, &QDialog::close);
}

void TYomiList::showList()
{
    const std::vector<int>& areas = session_.store.selectedAreas;
    const bool single = areas.size() == 1;
    setWindowTitle(QString::fromUtf8(single ? areaInfo(areas.front()).name : "") + QStringLiteral(" 読みがな編集"));
    Button1->setEnabled(single || session_.nameListEdited);
    Label12->clear();
    fillGrid();
    show();
    raise();
}

void TYomiList::refresh()
{
    const NameListOptions& o = session_.nameListOptions;
    marker3->setVisible(o.order == NameListOrder::Reading);
    marker4->setVisible(o.order == NameListOrder::Name);
    marker2->setVisible(o.order == NameListOrder::Kind);
    Label7->setText(o.order == NameListOrder::Reading ? QStringLiteral("五十音順")
                    : o.order == NameListOrder::Name  ? QStringLiteral("コード順")
                                                      : QStringLiteral("種別"));
    setQuietly(CBOldNeg, o.excludeOld);
    setQuietly(CBGyaku, o.reverse);
    setQuietly(CBKanaHi, session_.readingsLook.kanaHighlight);
    if (session_.nameListEdited)
        Button1->setEnabled(true);
}

void TYomiList::fillGrid()
{
    filling_ = true;
    const std::vector<NameListRow>& rows = session_.nameList;
    StringGrid1->clearContents();
    StringGrid1->setRowCount(static_cast<int>(rows.size()));
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const NameListRow& r = rows[static_cast<size_t>(i)];
        const QString cells[5] = {QString::number(r.x), QString::number(r.y), QString::fromStdString(r.kind),
                                  QString::fromStdString(r.name), QString::fromStdString(r.reading)};
        for (int c = 0; c < 5; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c != 4)
                item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            StringGrid1->setItem(i, c, item);
        }
    }
    Label11->setText(QString::number(rows.size()) + QStringLiteral(" 個の市区町村名"));
    filling_ = false;
    refresh();
    if (!rows.empty())
        StringGrid1->setCurrentCell(0, 4);
}

void TYomiList::rowClicked(int row)
{
    if (filling_ || row < 0)
        return;
    session_.highlightNameListRow(row);
    Label12->setText(QString::fromStdString(session_.readingsPanel.name));
    emit highlighted();
}

void TYomiList::cellEdited(int row, int column)
{
    if (filling_ || column != 4 || row < 0 || row >= static_cast<int>(session_.nameList.size()))
        return;
    QTableWidgetItem* item = StringGrid1->item(row, column);
    if (!item)
        return;
    if (session_.setNameListReading(row, item->text().toStdString())) {
        Button1->setEnabled(true);
    } else {
        // Refused: the cell shows the reading kept.
        const QSignalBlocker block(StringGrid1);
        item->setText(QString::fromStdString(session_.nameList[static_cast<size_t>(row)].reading));
    }
    session_.highlightNameListRow(row);
    emit highlighted();
}

} // namespace oboro
