#pragma once
// The paint window: palette, swatches, and the buttons that start, resume, undo and
// end painting. The main window owns the painting state; this window holds the palette
// and the selected slot and tells the main window what the user asked for.
#include "paint/paint.h"

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace oboro {

class TPBrush;

class TMapPaint : public QDialog {
    Q_OBJECT
    PaintPalette ownPalette_;
    int ownSlot_ = -1;

public:
    explicit TMapPaint(QWidget* parent = nullptr) : TMapPaint(nullptr, nullptr, parent) {}
    // Works on the palette and selected slot of the open map (its own when null).
    TMapPaint(PaintPalette* sharedPalette, int* sharedSlot, QWidget* parent);

    PaintPalette& palette;
    int& selectedSlot;       // 0..7, −1 for none
    int slotBeingEdited = 0; // slot addressed by the last "..." or "//"
    int chooserIndex = 0;    // last radio button chosen in the pattern chooser

    // Colour dialog; replaced by tests. Returns the chosen colour or nothing on cancel.
    std::function<std::optional<Color>(Color current)> chooseColor;

    void selectSlot(int slot);
    // All swatches shown unselected (no slot selected).
    void deselectSlots();
    void setSwatchesEnabled(bool on);
    void setPaintCount(int count);
    // Redraws every swatch from the palette.
    void refreshSwatches();
    // The swatch refresh of the slot being edited: it takes the chooser's pattern.
    void refreshEditedSwatch();
    void resetPalette();
    void applyColorSet(int index);

    TPBrush* patternChooser() const { return chooser_; }
    QToolButton* swatch(int slot) const { return swatches_[slot]; }

    QButtonGroup* colorSetGroup = nullptr; // 塗り色
    QLabel* LblPaint = nullptr;            // ペイント回数
    QCheckBox* CBShow = nullptr;           // 表示
    QCheckBox* CBWhite = nullptr;          // 背景白色
    QCheckBox* CBKuPaint = nullptr;        // 区ペイント
    QCheckBox* CBOldPaint = nullptr;       // 旧町村ペイント
    QCheckBox* CBTownName = nullptr;       // 市町村名
    QPushButton* BtnReset = nullptr;       // 色リセット
    QPushButton* BtnNew = nullptr;         // 新規ペイント
    QPushButton* BtnResume = nullptr;      // 追加ペイント
    QPushButton* BtnUndo = nullptr;        // 前に戻す
    QPushButton* BtnEnd = nullptr;         // ペイント終了
    QPushButton* BtnClose = nullptr;       // 閉じる
    QPushButton* BtnLegend = nullptr;      // 凡例編集
    QCheckBox* CBLegendCopy = nullptr;     // 凡例記号コピー

signals:
    void slotSelected(int slot);
    void startRequested();
    void resumeRequested();
    void undoRequested();
    void endRequested();
    void showToggled(bool on);
    void whiteBackgroundToggled(bool on);
    void kuPaintToggled(bool on);
    void oldTownPaintToggled(bool on);
    void namesOverPaintToggled(bool on);
    void closedByUser();
    // 凡例編集: copySamples while 凡例記号コピー is checked.
    void legendRequested(bool copySamples);
    // The window was hidden by the program or the user (閉じる, Esc, the title bar).
    void hiddenByUser();

protected:
    void hideEvent(QHideEvent* e) override;

private:
    void askClose();

    std::array<QToolButton*, kPaintSlots> swatches_{};
    TPBrush* chooser_ = nullptr;
};

} // namespace oboro
