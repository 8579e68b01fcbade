// The main window's label controls: ラ ベ ル opens the label window, the ラベル box
// shows or hides the labels (and opens the window while the table is empty), the file
// menu writes the names in view as label files, and the label window's requests that
// reach the main window (a label searched as a municipality, the labels-in-view list).
#include "app/gui/topen.h"
#include "labels/gui/tinlabel.h"
#include "labels/gui/tletter.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

namespace oboro {

void TOpen::buildLabelTools()
{
    letter_ = new TLetter(session, dialogs(), this);
    inLabel_ = new TInLabel(session, this);
    connect(BtnLetter, &QPushButton::clicked, letter_, &TLetter::open);
    BtnLetter->setToolTip(QStringLiteral("任意の文字を表示"));
    CBLabel->setToolTip(QStringLiteral("ラベル(駅名)表示/非表示"));
    connect(CBLabel, &QCheckBox::toggled, this, [this](bool on) {
        if (on && session.labels.empty())
            letter_->open();
    });
    connect(letter_, &TLetter::inViewRequested, this, [this] {
        inLabel_->refresh();
        inLabel_->show();
        inLabel_->raise();
    });
    connect(letter_, &TLetter::townSearchRequested, this, [this](const QString& name) {
        ComboBox1->setEditText(name);
        runSearch();
    });
    connect(action("MAutoLabel"), &QAction::triggered, this, [this] {
        if (!dialogs().ask(Message{"現在表示されている市区町村名をラベルファイルとして保存しますか？", "ラベルファイル作成",
                                   MessageIcon::Question}))
            return;
        if (const std::optional<QString> path = letter_->chooseFileToSave())
            session.writeNamesAsLabels(path->toStdString(), false);
    });
    connect(action("MOldLabel"), &QAction::triggered, this, [this] {
        if (const std::optional<QString> path = letter_->chooseFileToSave())
            session.writeNamesAsLabels(path->toStdString(), true);
    });
}

} // namespace oboro
