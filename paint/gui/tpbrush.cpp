#include "paint/gui/tpbrush.h"

#include "paint/paint.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace oboro {

TPBrush::TPBrush(QWidget* parent) : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TPBrush"));
    setWindowTitle(QStringLiteral("　パターン"));
    auto* top = new QVBoxLayout(this);
    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("Label1"));
    top->addWidget(title_);
    auto* grid = new QGridLayout;
    for (int i = 0; i < 7; ++i) {
        samples_[i] = new QLabel(this);
        samples_[i]->setFixedSize(26, 26);
        samples_[i]->installEventFilter(this);
        radios_[i] = new QRadioButton(QString::number(kChooserPatterns[i]), this);
        radios_[i]->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        grid->addWidget(samples_[i], 0, i, Qt::AlignCenter);
        grid->addWidget(radios_[i], 1, i, Qt::AlignCenter);
        connect(radios_[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                emit patternChosen(i);
        });
    }
    top->addLayout(grid);
    top->addWidget(new QLabel(QStringLiteral("数値はパターン\nコードを表す"), this));
    close_ = new QPushButton(QStringLiteral("閉じる"), this);
    close_->setAutoDefault(false);
    connect(close_, &QPushButton::clicked, this, &QDialog::hide);
    top->addWidget(close_);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TPBrush::setSlot(int slotNumber, Color color, int chooserIndex)
{
    title_->setText(QStringLiteral("塗り色 %1 のパターン").arg(slotNumber));
    for (int i = 0; i < 7; ++i)
        samples_[i]->setPixmap(QPixmap::fromImage(swatchImage(color, kChooserPatterns[i])));
    if (chooserIndex >= 0 && chooserIndex < 7) {
        const QSignalBlocker block(radios_[chooserIndex]);
        radios_[chooserIndex]->setChecked(true);
    }
}

bool TPBrush::eventFilter(QObject* watched, QEvent* event)
{
    // Clicking a sample selects its radio button.
    if (event->type() == QEvent::MouseButtonPress) {
        for (int i = 0; i < 7; ++i)
            if (watched == samples_[i])
                radios_[i]->setChecked(true);
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace oboro
