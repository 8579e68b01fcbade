#pragma once
// The paint window: palette, swatches, and the buttons that start, resume, undo and
// end painting. The main window owns the painting state; this window holds the palette
// and the selected slot and tells the main window what the user asked for.
#include "paint/paint.h"

#include <QDialog>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QSpinBox;
class QVBoxLayout;
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

    // Paint files, paint by name and data paint.
    QPushButton* BtnLoad = nullptr;        // 読　込
    QPushButton* BtnSave = nullptr;        // 保　存
    QCheckBox* CBColorsOnly = nullptr;     // 塗り色のみ
    QCheckBox* CBAppend = nullptr;         // 追加読込
    QCheckBox* CBNamePaint = nullptr;      // 市町村指定
    QComboBox* CmbNames = nullptr;         // the name list
    QPushButton* BtnNameRun = nullptr;     // 実行
    QPushButton* BtnData = nullptr;        // データ
    QSpinBox* SpinClasses = nullptr;       // 階級数 of a statistics file (2–8)
    QComboBox* CmbClassMethod = nullptr;   // 等間隔 / 分位数
    QLabel* LblFile = nullptr;             // the last paint or data file
    // File dialogs; replaced by tests. Returns the chosen file or nothing on cancel.
    std::function<std::optional<QString>(bool save, const QString& filter)> askFileName;
    // The name list of 市町村指定 (enabled with 実行 while it holds names).
    void setNameList(const std::vector<std::string>& names);

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
    void loadRequested(const QString& path, bool colorsOnly, bool append);
    void saveRequested(const QString& path, bool colorsOnly);
    void dataRequested(const QString& path, int classes, int method); // method: 0 equal intervals, 1 quantiles
    void nameListToggled(bool on);
    void paintByNameRequested(const QString& name);
    // The window was hidden by the program or the user (閉じる, Esc, the title bar).
    void hiddenByUser();

protected:
    void hideEvent(QHideEvent* e) override;

private:
    void askClose();
    void buildFileControls(QVBoxLayout* top);
    void load();
    void save();

    std::array<QToolButton*, kPaintSlots> swatches_{};
    QString lastPaintFile_; // the save dialog's default name: the file last read
    TPBrush* chooser_ = nullptr;
};

} // namespace oboro
