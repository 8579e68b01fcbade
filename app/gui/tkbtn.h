#pragma once
// The picture push button: a panel that paints an optional picture stretched over its
// face, a 3-D frame and its caption centred vertically with the panel's alignment.
// Pressing the left button lowers the bevel, releasing raises it; a release over the
// button is a click.
#include <QColor>
#include <QPixmap>
#include <QWidget>

namespace oboro {

class TTkBtn : public QWidget {
    Q_OBJECT
public:
    explicit TTkBtn(QWidget* parent = nullptr);

    void setCaption(const QString& caption);
    QString caption() const { return caption_; }
    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return picture_; }
    void setAlignment(Qt::Alignment horizontal);
    Qt::Alignment alignment() const { return alignment_; }
    void setTextColor(const QColor& color);
    QColor textColor() const { return textColor_; }
    void setUnderline(bool on);
    // Face colour (the palette's button colour until set).
    void setColor(const QColor& color);

    // True while the left button holds the bevel lowered.
    bool isLowered() const { return lowered_; }

    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void changeEvent(QEvent*) override;

private:
    QString caption_;
    QPixmap picture_;
    Qt::Alignment alignment_ = Qt::AlignHCenter;
    QColor textColor_{0, 0, 128};
    bool lowered_ = false;
};

} // namespace oboro
