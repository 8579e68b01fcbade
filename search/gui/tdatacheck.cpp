#include "search/gui/tdatacheck.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace oboro {

TDataCheck::TDataCheck(QWidget* parent) : QDialog(parent)
{
    setObjectName("DataCheck");
    setWindowTitle(QString::fromUtf8("　市区町村の選択"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label2 = new QLabel(this);
    Label2->setObjectName("Label2");
    Label3 = new QLabel(QString::fromUtf8("にあります"), this);
    Label3->setObjectName("Label3");
    RadioGroup1 = new QGroupBox(QString::fromUtf8("選んでください"), this);
    RadioGroup1->setObjectName("RadioGroup1");
    grid_ = new QGridLayout(RadioGroup1);
    group_ = new QButtonGroup(this);
    group_->setExclusive(false); // so no item is checked when the window opens
    Button1 = new QPushButton(QString::fromUtf8("決定"), this);
    Button1->setObjectName("Button1");
    Button1->setVisible(false);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(Label3);
    layout->addWidget(RadioGroup1);
    layout->addWidget(Button1);

    connect(group_, &QButtonGroup::idClicked, this, &TDataCheck::itemClicked);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
}

QRadioButton* TDataCheck::item(int i) const
{
    return i >= 0 && i < static_cast<int>(items_.size()) ? items_[static_cast<size_t>(i)] : nullptr;
}

void TDataCheck::setCandidates(const std::string& name, const std::vector<SearchCandidate>& candidates)
{
    chosen_.reset();
    Label1->setText(QString::fromStdString(name + " は"));
    Label2->setText(QString::fromStdString(choiceSummary(candidates)));
    for (QRadioButton* b : items_) {
        group_->removeButton(b);
        grid_->removeWidget(b);
        delete b;
    }
    items_.clear();

    const int n = static_cast<int>(candidates.size());
    columns_ = n > 4 ? 2 : 1;
    const int rows = (n + columns_ - 1) / columns_;
    for (int i = 0; i < n; ++i) {
        auto* b = new QRadioButton(QString::fromStdString(candidates[static_cast<size_t>(i)].label), RadioGroup1);
        b->setAutoExclusive(false);
        b->setChecked(false);
        group_->addButton(b, i);
        // Filled down the first column, then the second.
        grid_->addWidget(b, rows > 0 ? i % rows : 0, rows > 0 ? i / rows : 0);
        items_.push_back(b);
    }
    adjustSize();
}

void TDataCheck::itemClicked(int index)
{
    if (index < 0 || index >= static_cast<int>(items_.size()))
        return;
    chosen_ = index;
    items_[static_cast<size_t>(index)]->setChecked(false); // the selection is cleared for the next time
    accept();
}

std::optional<int> TDataCheck::choose(const std::string& name, const std::vector<SearchCandidate>& candidates)
{
    setCandidates(name, candidates);
    // Kept at the centre of the screen (or of the main window).
    const QRect area = parentWidget() ? parentWidget()->window()->geometry()
                                      : (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry() : QRect());
    if (area.isValid())
        move(area.center() - rect().center());
    if (exec() != QDialog::Accepted)
        chosen_.reset();
    return chosen_;
}

} // namespace oboro
