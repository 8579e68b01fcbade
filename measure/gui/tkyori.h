#pragma once
// The distance circle window: the radius or interval, the look of the next circle set,
// the centre picked on the map or typed as latitude and longitude, and the list of sets.
// The circle sets and the controls' values live in the open map's DistanceCircleModel;
// this window shows them and hands every change to the model. What the map must do
// afterwards (redraw, draw the sets over the picture) goes out through `outcome`.
#include "common/messages.h"
#include "measure/circles.h"

#include <QDialog>
#include <functional>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace oboro {

class TUpDown;

class TKyori : public QDialog {
    Q_OBJECT
public:
    // ask answers the delete question (true for OK).
    TKyori(DistanceCircleModel& model, MessageSink& sink, std::function<bool(const Message&)> ask,
           QWidget* parent = nullptr);

    // Colour dialog; replaced by tests. The chosen colour, or nothing on cancel.
    std::function<std::optional<Color>(Color current)> chooseColor;

    // Puts the model's values into every control.
    void refresh();
    // The main window's 円: the window shows and a new centre starts.
    void openFromMainWindow();
    // The menu item and the settings window's button: the window shows, picking a centre.
    void openForPicking();

    QPushButton *Button1, *Button2, *Button3, *Button4; // 中心指定, 閉じる, ..., 円削除
    QGroupBox* RadioGroup1;                             // 半径/間隔
    QRadioButton* radius[6];                            // 10, 20, 50, 100, 200 km, 指定
    QLineEdit* Edit3;                                   // the 指定 radius
    QCheckBox *CheckBox1, *CheckBox2, *CheckBox3, *CheckBox4, *CheckBox5, *CheckBox6;
    TUpDown *UpDown1, *UpDown2;                         // 線太さ, 文字ｻｲｽﾞ
    QLineEdit *Edit1, *Edit2;
    QLabel* Image1;                                     // colour swatch
    QCheckBox *CBCenter, *CBGSICorCircle;
    QLineEdit *EdLon, *EdLat;
    QLabel *Label12, *Label6, *Label1, *Label2, *Label7, *Label8;

signals:
    void outcome(const oboro::CircleOutcome& o);

private:
    void apply(const CircleOutcome& o);
    void readTypedTexts();

    DistanceCircleModel& model_;
    MessageSink& sink_;
    std::function<bool(const Message&)> ask_;
    bool refreshing_ = false;
};

} // namespace oboro
