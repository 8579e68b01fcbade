#pragma once
// An up-down control: two arrow buttons that step a position between a minimum and a
// maximum. Horizontal up-downs show left and right arrows, vertical ones up and down.
// The right and the up arrow step the position up.
#include <QWidget>

class QToolButton;

namespace oboro {

class TUpDown : public QWidget {
    Q_OBJECT
public:
    TUpDown(Qt::Orientation orientation, QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    int minimum() const { return min_; }
    int maximum() const { return max_; }
    // Sets the position (clamped to the range) without a click.
    void setPosition(int position);
    int position() const { return pos_; }
    Qt::Orientation orientation() const { return orientation_; }

    // Runs a click on one arrow, as the mouse does.
    void stepUp();
    void stepDown();

    QSize sizeHint() const override;

signals:
    // An arrow was clicked; up is the right or the up arrow. The position has been stepped.
    void clicked(bool up);
    void positionChanged(int position);

protected:
    void resizeEvent(QResizeEvent*) override;

private:
    void step(bool up);

    Qt::Orientation orientation_;
    QToolButton* up_;
    QToolButton* down_;
    int min_ = 0;
    int max_ = 100;
    int pos_ = 0;
};

} // namespace oboro
