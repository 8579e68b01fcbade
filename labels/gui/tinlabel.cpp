#include "labels/gui/tinlabel.h"

#include "common/gui/controls.h"

#include "app/mapsession.h"
#include "labels/gui/labelgridmodel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace oboro {

TInLabel::TInLabel(MapSession& session, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), session_(session)
{
    setObjectName(QStringLiteral("TInLabel"));
    setWindowTitle(QStringLiteral("表示範囲内ラベルリスト"));
    StringGrid1 = new QTableView(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    model_ = new LabelGridModel(
        session_.labelsInView, 6,
        {LabelColumn::Mark, LabelColumn::X, LabelColumn::Y, LabelColumn::Text, LabelColumn::Size, LabelColumn::Shown},
        [this](int row, LabelColumn column, const std::string& typed) {
            return session_.editLabelInView(row, column, typed);
        },
        this);
    model_->setHeadings({QStringLiteral("ﾏｰｸ"), QStringLiteral("経度座標"), QStringLiteral("緯度座標"),
                         QStringLiteral("ラ　　ベ　　ル"), QStringLiteral("ｻｲｽﾞ"), QStringLiteral("表示")});
    StringGrid1->setModel(model_);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed |
                                 QAbstractItemView::SelectedClicked);
    StringGrid1->verticalHeader()->setDefaultSectionSize(18);
    StringGrid1->setMinimumSize(440, 320);
    const int widths[6] = {30, 60, 60, 170, 36, 32};
    for (int i = 0; i < 6; ++i)
        StringGrid1->setColumnWidth(i, widths[i]);
    LblCount = new QLabel(QStringLiteral("0"), this);
    LblCount->setObjectName(QStringLiteral("LblCount"));
    BtnClose = button(this, "BtnClose", QStringLiteral("閉じる"));
    BtnSort = button(this, "BtnSort", QStringLiteral("コード順"), QStringLiteral("並べかえ"));
    BtnApply = button(this, "BtnApply", QStringLiteral("表　示"), QStringLiteral("設定された状態で表示"));
    BtnHideAll = button(this, "BtnHideAll", QStringLiteral("非表示設定"), QStringLiteral("全ラベルの非表示設定"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(new QLabel(QStringLiteral("ﾗﾍﾞﾙ数"), this));
    buttons->addWidget(LblCount);
    buttons->addStretch(1);
    for (QPushButton* b : {BtnSort, BtnApply, BtnHideAll, BtnClose})
        buttons->addWidget(b);
    auto* notes = new QHBoxLayout;
    notes->addWidget(new QLabel(QStringLiteral("ﾗﾍﾞﾙ選択→ﾀﾞﾌﾞﾙｸﾘｯｸ→表示/非表示"), this));
    notes->addStretch(1);
    notes->addWidget(new QLabel(QStringLiteral("ラベル変更可"), this));
    auto* top = new QVBoxLayout(this);
    top->addWidget(StringGrid1, 1);
    top->addLayout(notes);
    top->addLayout(buttons);

    connect(BtnClose, &QPushButton::clicked, this, &QDialog::hide);
    connect(BtnSort, &QPushButton::clicked, this, [this] { session_.sortLabelsInView(); });
    connect(BtnApply, &QPushButton::clicked, this, [this] { session_.rebuildLabelsFromList(); });
    connect(BtnHideAll, &QPushButton::clicked, this, [this] { session_.toggleAllLabelsInView(); });
    connect(StringGrid1, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { session_.toggleLabelInView(index.row()); });
    refresh();
}

void TInLabel::refresh()
{
    model_->reset();
    LblCount->setText(QString::number(session_.labelsInView.size()));
    const bool hideNext = session_.labelsInViewHideNext;
    BtnHideAll->setText(hideNext ? QStringLiteral("非表示設定") : QStringLiteral("表示設定"));
    BtnHideAll->setToolTip(hideNext ? QStringLiteral("全ラベルを非表示に設定") : QStringLiteral("全ラベルを表示に設定"));
}

} // namespace oboro
