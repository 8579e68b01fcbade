#include "settings/gui/tken.h"

#include "common/gui/messagebox.h"
#include "settings/areas.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace oboro {

TKen::TKen(QWidget* parent) : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TKen"));
    setWindowTitle(QStringLiteral("　都道府県指定"));

    auto* top = new QVBoxLayout(this);
    auto* grid = new QHBoxLayout;
    top->addLayout(grid);

    // One column per region; 伊豆諸島 and 小笠原諸島 sit in the 関東 column without a region.
    for (int r = 0; r < kRegionCount; ++r) {
        const RegionInfo& info = regions()[r];
        auto* col = new QVBoxLayout;
        auto* regionBox = new QCheckBox(QString::fromUtf8(info.caption), this);
        regionBox->setObjectName(QStringLiteral("region%1").arg(r));
        regionBox->setStyleSheet(QStringLiteral("QCheckBox { color: #ff00ff; font-weight: bold; }"));
        regionBoxes_.push_back(regionBox);
        col->addWidget(regionBox);
        std::vector<int> members = info.areas;
        if (r == 2) {
            members.push_back(50);
            members.push_back(51);
        }
        for (int code : members) {
            auto* box = new QCheckBox(QString::fromUtf8(areaCaption(code)), this);
            box->setObjectName(QStringLiteral("area%1").arg(code));
            areaBoxes_[code] = box;
            col->addWidget(box);
        }
        col->addStretch();
        grid->addLayout(col);
        // Checking or unchecking a region box sets all its members; a member checked by
        // hand never changes its region box.
        connect(regionBox, &QCheckBox::toggled, this, [this, r](bool on) {
            for (int code : regions()[r].areas)
                areaBoxes_[code]->setChecked(on);
        });
    }

    auto* options = new QHBoxLayout;
    CBOldBorder = new QCheckBox(QStringLiteral("旧市町村界"), this);
    CBOldBorder->setObjectName(QStringLiteral("CBOldBorder"));
    CBOldBorder->setToolTip(QStringLiteral("合併以前の旧行政界"));
    CBRailShow = new QCheckBox(QStringLiteral("鉄道路線図"), this);
    CBRailShow->setObjectName(QStringLiteral("CBRailShow"));
    CBRailShow->setToolTip(QStringLiteral("鉄道路線を描く"));
    connect(CBRailShow, &QCheckBox::toggled, this, &TKen::railShowToggled);
    options->addWidget(CBOldBorder);
    options->addWidget(CBRailShow);
    options->addStretch();
    top->addLayout(options);

    auto makeButton = [this](const QString& caption, const char* name, const QString& hint) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        if (!hint.isEmpty())
            b->setToolTip(hint);
        return b;
    };
    Button1 = makeButton(QStringLiteral("決　定"), "Button1", QStringLiteral("地図を描く"));
    Button2 = makeButton(QStringLiteral("閉じる"), "Button2", {});
    Button3 = makeButton(QStringLiteral("クリア"), "Button3", {});
    Button4 = makeButton(QStringLiteral("すべて"), "Button4", {});
    Button5 = makeButton(QStringLiteral("山島検索"), "Button5", QStringLiteral("山名または島名検索"));
    CBNameList = makeButton(QStringLiteral("市町村名リスト"), "CBNameList", QStringLiteral("市区町村名のリストを表示する"));
    Button1->setDefault(true);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {Button4, Button3, CBNameList, Button5, Button1, Button2})
        buttons->addWidget(b);
    top->addLayout(buttons);

    auto* labels = new QHBoxLayout;
    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setStyleSheet(QStringLiteral("QLabel { color: #00a000; }"));
    Label4->setToolTip(QStringLiteral("現在使用されている地図データの最終更新日です"));
    Label5 = new QLabel(QStringLiteral("行政区界：2010年版"), this);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label6 = new QLabel(QStringLiteral("世界測地系"), this);
    Label6->setObjectName(QStringLiteral("Label6"));
    labels->addWidget(Label4);
    labels->addStretch();
    labels->addWidget(Label5);
    labels->addWidget(Label6);
    top->addLayout(labels);

    connect(Button1, &QPushButton::clicked, this, [this] { confirm(); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::hide);
    connect(Button3, &QPushButton::clicked, this, &TKen::clearAll);
    connect(Button4, &QPushButton::clicked, this, &TKen::selectAll);
    connect(Button5, &QPushButton::clicked, this, &TKen::mountainSearchRequested);
    connect(CBNameList, &QPushButton::clicked, this, &TKen::nameList);

    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TKen::setDataDate(int date)
{
    const int year = date / 10000 + 1980;
    const int month = date / 100 % 100;
    const int day = date % 100;
    Label4->setText(QString::asprintf("データ最終更新日 %d/%02d/%02d", year, month, day));
}

std::vector<int> TKen::checkedAreas() const
{
    std::vector<int> codes;
    for (int code = 1; code <= 52; ++code)
        if (areaBoxes_[code]->isChecked())
            codes.push_back(code);
    return codes;
}

void TKen::selectAll()
{
    for (QCheckBox* r : regionBoxes_) {
        // A region box already checked still has its members checked.
        if (r->isChecked())
            r->setChecked(false);
        r->setChecked(true);
    }
    areaBoxes_[50]->setChecked(true);
    areaBoxes_[51]->setChecked(true);
    emit allAreasChosen();
}

void TKen::clearAll()
{
    for (int r = 0; r < kRegionCount; ++r) {
        if (regionBoxes_[r]->isChecked()) {
            regionBoxes_[r]->setChecked(false);
        } else {
            for (int code : regions()[r].areas)
                areaBoxes_[code]->setChecked(false);
        }
    }
    areaBoxes_[50]->setChecked(false);
    areaBoxes_[51]->setChecked(false);
}

bool TKen::confirm()
{
    const std::vector<int> codes = checkedAreas();
    if (codes.empty()) {
        showMessage(this, "描くべき都道府県が指定されておりません", "都道府県設定エラー", MessageIcon::Exclamation);
        return false;
    }
    hide();
    emit confirmed(codes, CBOldBorder->isChecked(), codes.size() > 20);
    firstAreaCode_ = codes.front();
    selectionConfirmed_ = true;
    return true;
}

void TKen::nameList()
{
    const std::vector<int> codes = checkedAreas();
    if (codes.size() != 1) {
        showMessage(this, "市区町村名リストを表示するには，都道府県を1個（1個に限る）選択しなければなりません　　　",
                    "県選択数エラー", MessageIcon::Exclamation);
        return;
    }
    firstAreaCode_ = codes.front();
    if (!confirm())
        return;
    selectionConfirmed_ = true;
    emit nameListRequested(codes.front());
}

} // namespace oboro
