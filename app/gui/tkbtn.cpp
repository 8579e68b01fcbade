#include "app/gui/tkbtn.h"

#include <QMouseEvent>
#include <QPainter>

namespace oboro {

TTkBtn::TTkBtn(QWidget* parent) : QWidget(parent)
{
    resize(75, 25);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void TTkBtn::setCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

void TTkBtn::setPicture(const QPixmap& picture)
{
    picture_ = picture;
    update();
}

void TTkBtn::setAlignment(Qt::Alignment horizontal)
{
    alignment_ = horizontal & Qt::AlignHorizontal_Mask;
    update();
}

void TTkBtn::setTextColor(const QColor& color)
{
    textColor_ = color;
    update();
}

void TTkBtn::setUnderline(bool on)
{
    QFont f = font();
    f.setUnderline(on);
    setFont(f);
}

QSize TTkBtn::sizeHint() const
{
    const QFontMetrics fm(font());
    return QSize(std::max(75, fm.horizontalAdvance(caption_) + 12), std::max(25, fm.height() + 8));
}

void TTkBtn::setColor(const QColor& color)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Button, color);
    setPalette(pal);
    update();
}

void TTkBtn::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    const QPalette& pal = palette();
    p.fillRect(r, pal.color(QPalette::Button));
    if (!picture_.isNull())
        p.drawPixmap(r.adjusted(2, 2, -2, -2), picture_);

    // 3-D frame: light above and left, dark below and right; the other way round while pressed.
    const QColor light = lowered_ ? pal.color(QPalette::Dark) : pal.color(QPalette::Light);
    const QColor dark = lowered_ ? pal.color(QPalette::Light) : pal.color(QPalette::Dark);
    p.setPen(light);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(dark);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());

    if (!caption_.isEmpty()) {
        p.setFont(font());
        p.setPen(isEnabled() ? textColor_ : QColor(0x80, 0x80, 0x80));
        QRect textRect = r.adjusted(4, 2, -4, -2);
        if (lowered_)
            textRect.translate(1, 1);
        p.drawText(textRect, Qt::AlignVCenter | alignment_, caption_);
    }
}

void TTkBtn::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        lowered_ = true;
        update();
    }
}

void TTkBtn::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !lowered_)
        return;
    lowered_ = false;
    update();
    if (rect().contains(e->position().toPoint()))
        emit clicked();
}

void TTkBtn::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::EnabledChange) {
        lowered_ = false;
        update();
    }
    QWidget::changeEvent(e);
}

} // namespace oboro
