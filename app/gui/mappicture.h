#pragma once
// The map picture in the scroll box: shows the cached map image and lets the active
// tool paint its overlay (range square, centre cross, rubber band) over it, so the map
// image itself never carries them.
#include <QLabel>
#include <QPainter>
#include <functional>

namespace oboro {

class MapPicture : public QLabel {
public:
    MapPicture(QWidget* parent, std::function<void(QPainter&)> overlay)
        : QLabel(parent), overlay_(std::move(overlay))
    {
    }

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QLabel::paintEvent(e);
        if (overlay_) {
            QPainter p(this);
            overlay_(p);
        }
    }

private:
    std::function<void(QPainter&)> overlay_;
};

} // namespace oboro
