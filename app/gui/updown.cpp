#include "app/gui/updown.h"

#include <QToolButton>

#include <algorithm>

namespace oboro {

TUpDown::TUpDown(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent), orientation_(orientation), up_(new QToolButton(this)), down_(new QToolButton(this))
{
    const bool horizontal = orientation == Qt::Horizontal;
    up_->setArrowType(horizontal ? Qt::RightArrow : Qt::UpArrow);
    down_->setArrowType(horizontal ? Qt::LeftArrow : Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(up_, &QToolButton::clicked, this, [this] { step(true); });
    connect(down_, &QToolButton::clicked, this, [this] { step(false); });
    resize(sizeHint());
}

void TUpDown::setRange(int minimum, int maximum)
{
    min_ = minimum;
    max_ = std::max(minimum, maximum);
    pos_ = std::clamp(pos_, min_, max_);
}

void TUpDown::setPosition(int position)
{
    const int p = std::clamp(position, min_, max_);
    if (p == pos_)
        return;
    pos_ = p;
    emit positionChanged(pos_);
}

void TUpDown::stepUp() { step(true); }
void TUpDown::stepDown() { step(false); }

void TUpDown::step(bool up)
{
    setPosition(pos_ + (up ? 1 : -1));
    emit clicked(up);
}

QSize TUpDown::sizeHint() const { return orientation_ == Qt::Horizontal ? QSize(40, 20) : QSize(20, 36); }

void TUpDown::resizeEvent(QResizeEvent*)
{
    const int w = width();
    const int h = height();
    if (orientation_ == Qt::Horizontal) {
        down_->setGeometry(0, 0, w / 2, h);
        up_->setGeometry(w / 2, 0, w - w / 2, h);
    } else {
        up_->setGeometry(0, 0, w, h / 2);
        down_->setGeometry(0, h / 2, w, h - h / 2);
    }
}

} // namespace oboro
