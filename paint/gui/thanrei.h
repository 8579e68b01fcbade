#pragma once
// The legend window: the legend's row count, sample size, gap, position and font size,
// its three colours, the title and the eight rows of sample and description, the
// switches of title, frame, bold frame and map, and the legend files. The settings live
// in the open map's session; the window shows them and hands every change to it (a
// change draws the map with the legend again).
#include "paint/legend.h"

#include <QDialog>
#include <QString>
#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace oboro {

class MapSession;

class THanrei : public QDialog {
    Q_OBJECT
public:
    explicit THanrei(MapSession& session, QWidget* parent = nullptr);

    // Dialogs; replaced by tests. Nothing / an empty name on cancel.
    std::function<std::optional<Color>(Color current)> chooseColor;
    std::function<QString()> chooseOpenFile;
    std::function<QString(const QString& suggested)> chooseSaveFile;

    // Puts the session's legend into every control.
    void refresh();
    // The settings as the controls hold them (the samples are the session's).
    LegendSettings settingsFromControls() const;
    // 表示: the controls' settings take effect (nothing while painting runs).
    void apply();
    void readFile();
    void saveFile();

    QSpinBox *UDCount, *EdWidth, *EdHeight, *EdGap, *EdX, *EdY, *UDFont; // 凡例数 … 文字サイズ
    QLabel *ImgTextColor, *ImgFillColor, *ImgFrameColor;                  // 文字色, 枠内色, 枠色
    QToolButton *BtnTextColor, *BtnFillColor, *BtnFrameColor;             // "..."
    QLineEdit* EdTitle;
    std::array<QToolButton*, kLegendRows> Sample{};   // the sample images
    std::array<QLineEdit*, kLegendRows> EdText{};     // the descriptions
    std::array<QLabel*, kLegendRows> LblRow{};        // row numbers
    QCheckBox *CBTitle, *CBFrame, *CBBold, *CBMap;    // タイトル, 囲み枠, 太枠, 地図
    QPushButton *BtnRead, *BtnSave, *BtnShow, *BtnClose, *BtnPatternCopy;
    QLabel* LblFile;                                  // the last legend file

signals:
    // パターンコピー has given the paint slots the samples.
    void paletteChanged();

private:
    void showRowCount(int n);
    void pickColor(Color LegendSettings::*which);

    MapSession& session_;
    bool refreshing_ = false;
};

} // namespace oboro
