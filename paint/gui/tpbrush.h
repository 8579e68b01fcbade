#pragma once
// The pattern chooser: seven patterns drawn in the slot's colour.
#include "common/canvas.h"

#include <QDialog>
#include <array>

class QLabel;
class QRadioButton;
class QPushButton;

namespace oboro {

class TPBrush : public QDialog {
    Q_OBJECT
public:
    explicit TPBrush(QWidget* parent = nullptr);

    // Shows the samples of the slot (1..8) in its colour, with the chooser index selected.
    void setSlot(int slotNumber, Color color, int chooserIndex);
    QRadioButton* radio(int index) const { return radios_[index]; }
    QPushButton* closeButton() const { return close_; }

signals:
    // Radio button n chosen: the chooser index n − 1 (pattern kChooserPatterns[index]).
    void patternChosen(int chooserIndex);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* title_ = nullptr;
    std::array<QRadioButton*, 7> radios_{};
    std::array<QLabel*, 7> samples_{};
    QPushButton* close_ = nullptr;
};

} // namespace oboro
