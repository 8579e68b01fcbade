#pragma once
// The main window: the map and its control panel.
#include <QMainWindow>

namespace oboro {

class TOpen : public QMainWindow {
    Q_OBJECT
public:
    explicit TOpen(QWidget* parent = nullptr);
};

} // namespace oboro
