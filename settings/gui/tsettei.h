#pragma once
// The map display settings window: colours, pen widths, name size, background, frame
// and the display switches of the map, and the front panel of several main-window
// switches.
//
// The window works on the main window's DisplayState, MainSwitches and ViewState given
// at construction. Check boxes that are drawing switches write their DisplayState item
// as soon as they change (the drawing reads them at its next run); the boxes of
// main-window switches are copied only by 決　定 (apply()). Everything the main window
// must do itself is a signal. Every behaviour hangs on `toggled`/`valueChanged`, so
// setting a control from code runs it.
#include "common/canvas.h"
#include "view/display.h"
#include "view/projection.h"

#include <QDialog>
#include <QUrl>
#include <array>
#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace oboro {

class TSettei : public QDialog {
    Q_OBJECT
public:
    // Runs a colour dialog starting at a colour; nullopt when cancelled.
    using ColorChooser = std::function<std::optional<Color>(Color initial, QWidget* parent)>;

    TSettei(DisplayState& display, MainSwitches& switches, ViewState& view, QWidget* parent = nullptr);

    // Replaces the colour dialog (tests answer without a modal dialog).
    void setColorChooser(ColorChooser chooser) { chooseColor_ = std::move(chooser); }
    // Opens an address in the shell; false when it could not be started.
    void setUrlOpener(std::function<bool(const QUrl&)> opener) { openUrl_ = std::move(opener); }
    // The measuring please-wait window shown while the web map service is called.
    void setPleaseWait(std::function<void(const QString&)> show, std::function<void()> hide)
    {
        showWait_ = std::move(show);
        hideWait_ = std::move(hide);
    }
    void setWebMapTopUrl(const QUrl& url) { webMapTop_ = url; }

    // The main window's map-shown flag: 北海道支庁界 re-runs the selection only while a
    // map is shown.
    void setMapShown(bool on) { mapShown_ = on; }
    bool mapShown() const { return mapShown_; }

    // 決　定: copies the main-window switches, redraws once.
    void apply();
    // 標準: standard (or soft) colours and sizes; no redraw.
    void restoreStandard();

    // Puts the display state into the controls (after the configuration or a work file
    // changed it): swatches, widths, sizes and the drawing-switch boxes.
    void refreshFromDisplayState();
    // Puts the main window's current switches into the boxes that 決　定 copies, so
    // that 決　定 does not undo a change made in the main window.
    void refreshFromMainSwitches();

    // Mirrors of the main window's menus and image-size group: they set the radio
    // index without running it again (the main window has already acted).
    void setStepIndex(int index);
    void setMoveIndex(int index);
    void setImageSizeIndex(int index);
    // Also relabels the image-size choices for the reduction.
    void setReductionIndex(int index);

    // Repaints every swatch from the colour set.
    void repaintSwatches();
    QColor swatchColor(int image) const; // colour shown by Image1..Image12

    // ---- controls (named as the main window and the other windows know them)
    // colour buttons "..." and swatches
    QPushButton *Button2, *Button3, *Button4, *Button5, *Button7, *Button9, *Button10, *Button11, *Button12,
        *Button16, *Button17, *Button18;
    std::array<QLabel*, 13> Image{}; // Image[1] .. Image[12]
    // widths and sizes
    QSpinBox *UpDown1, *UpDown2, *UpDown3, *UpDown4, *UpDown5;
    // boxes copied to the main window by 決　定
    QCheckBox *CheckBox2, *CheckBox3, *CheckBox4, *CheckBox11, *CheckBox12, *CheckBox5, *CheckBox6, *CheckBox7,
        *CheckBox8, *CheckBox10, *CheckBox13, *CBDoubleName, *CBHokkaido;
    // boxes that drive main-window or other windows' switches at once
    QCheckBox *CheckBox9, *CheckBox14, *CheckBox16, *CBKenName, *CBKenOffice, *CBRail, *CBStation, *CBMainEki,
        *CBRailExp;
    // drawing switches
    QCheckBox *CBCoast, *CBColor, *CBWaku, *CBPrefDot, *CBTownDot, *CBNTownDot, *CBLakeDot, *CBKu, *CBKuDot,
        *CheckBox15, *CheckBox1, *CBCityName, *CBKuName, *CBFixedSize, *CBWhite, *CBMountain, *CBMtHeight,
        *CBMtYomi, *CBIslands, *CBMesh, *CBMeshName, *CBMeshName2, *CBFunDot, *CBOffice, *CBOfficeName, *CBSoft,
        *CBWatch;
    // 縮小率, 画像ｻｲｽﾞ, 拡大係数, 移動係数 (button ids are the item indexes)
    QButtonGroup *RadioGroup1, *RadioGroup2, *RadioGroup3, *RadioGroup4;
    QPushButton *Button6, *Button8, *Button1, *Button13, *Button14, *Button15, *Button19, *Button20;
    QLabel* Label24; // GSI ウオッちず

signals:
    // The main window runs the render pipeline (DrawMap). 決　定 asks exactly once.
    void redrawRequested();
    // 決　定 has written the main-window switches into MainSwitches (drawing is off
    // now): the main window puts them into its controls in this order — 都府県名表示
    // (ken_name), CBPrefBorder, CBTownBorder, CBNTownBorder, CBOldTown, CBTownName,
    // CBLonLat, CBFun, CBDo — checks the reduction menu entry of index
    // `reductionIndex`, sets CBScale, CBMainDoubleName and 北海道支庁界表示
    // (hokkaidoBorders), and hides its unmeasurable-region counter.
    void switchesApplied(int reductionIndex);
    // 北海道支庁界 changed while a map is shown: re-run the prefecture window's confirm.
    void reselectRequested();

    // Boxes mirrored at once into the main window (the MainSwitches item is written
    // before the signal; the main window sets its control).
    void kenNameMenuChanged(bool on);  // 都府県名 → menu 都府県名表示
    void oneDegreeStepChanged(bool on); // 1度おき → CB1do
    void lakeChanged(bool on);         // 湖水境界 → CBLake
    void yomiChanged(bool on);         // 読み → CBYomi
    void doubleNameChanged(bool on);   // 重複可 → CBMainDoubleName
    void hokkaidoChanged(bool on);     // 北海道支庁界 → menu 北海道支庁界表示
    // Boxes that drive other windows.
    void prefNameDisplayChanged(bool on); // prefecture-name attribute window's display box
    void prefSeatDisplayChanged(bool on); // its seat box (a redraw request follows)
    void railLinesChanged(bool on);       // CBRailLine and the map line editor's railway box;
                                          // off also turns the label window's CBShow off
    void stationsChanged(bool on);        // on: label window CBMark, CBShow and CBEki on; off: CBShow, CBEki off
    void mainStationsChanged(bool on);    // CBMain
    void lineAttributesChanged(bool on);  // on: enable 属性変更 and show the line attributes; off: close them

    // Radio groups acting at once.
    void magnificationStepChosen(int index); // run the 拡大係数 menu entry (kMagnificationSteps)
    void moveFactorChosen(int index);        // run the 移動係数 menu entry (kMoveFactors)
    void imageSizeChosen(int index);         // same as the main window's image size group
    // The reduction divisor is already in the view; the main window relabels its
    // image-size group with imageSizeChoices(divisor). A redraw request follows.
    void reductionChosen(int divisor);

    // Buttons that open other windows.
    void townNameEditRequested();   // 市町名位置編集 (島名 off)
    void islandNameEditRequested(); // 島名位置編集 (島名 on)
    void distanceCirclesRequested();
    void prefNameAttributesRequested();
    void mountainSearchRequested();
    void townNameListRequested();
    // 閉じる: the window hides; the main window clears its settings-window-open flag.
    void closedByButton();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void connectBehaviour();
    void chooseColor(int image, Color* first, Color* second);
    void paintSwatch(int image, Color c);
    void updateDotEnables();
    void openWebMapTop();
    void relabelImageSizes(int divisor);

    DisplayState& d_;
    MainSwitches& sw_;
    ViewState& view_;
    ColorChooser chooseColor_;
    std::function<bool(const QUrl&)> openUrl_;
    std::function<void(const QString&)> showWait_;
    std::function<void()> hideWait_;
    QUrl webMapTop_{QStringLiteral("https://maps.gsi.go.jp/")};
    bool mapShown_ = false;
    bool quietBackground_ = false; // the background button unchecks 白 without a redraw
};

} // namespace oboro
