#pragma once
// The main window: the map picture in its scroll box on the right, the control column
// on the left, the menus, and the map state the whole program shares (the map data
// store, the map picture and the main window's switches).
//
// Controls are public and carry the names the rest of the program uses for them
// (CBPrefBorder, Button9, UpDown1, ...); each also has that name as its objectName.
#include "app/gui/messagebox.h"
#include "common/canvas.h"
#include "mapdata/store.h"
#include "app/config.h"
#include "app/mapsession.h"
#include "app/mousetools.h"
#include "paint/paint.h"
#include "search/municipalitysearch.h"
#include "view/decorations.h"
#include "view/display.h"
#include "view/names.h"
#include "view/navigation.h"
#include "view/projection.h"
#include "view/render.h"

#include <QDate>
#include <QLabel>
#include <QMainWindow>
#include <QPoint>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTimer;
class QPainter;

namespace oboro {

class TTkBtn;
class TUpDown;
class TProcess;
class TKeisoku;
class TAbout;
class THowTo;
class TKen;
class TMapPaint;
class TSettei;
class TDataCheck;
class TKyori;
class TYomi;
class TYomiList;
class TPagesDlg;
class THanrei;
class TLineAdd;
class TLetter;
class TInLabel;

// A picture that reports clicks (the version and manual pictures).
class TImage : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* e) override;
};

// A filter of the form "PNGファイル (*.png)|*.png" as the file dialog wants it.
QString qtFileFilter(const QString& pairs);

class TOpen : public QMainWindow, private ToolHost {
    Q_OBJECT
    std::shared_ptr<MessageBoxSink> dialogs_;
    std::unique_ptr<MapSession> sessionOwner_;

public:
    // dialogs shows the messages and questions; the window's own message boxes when null.
    explicit TOpen(QWidget* parent = nullptr, std::shared_ptr<MessageBoxSink> dialogs = nullptr);
    ~TOpen() override;

    // ---- the open map: the window shows it and calls its operations
    MapSession& session;
    // Names of the session's parts, for the code that draws or reads them.
    MapStore& store;
    Canvas& canvas;                // the cached map picture (overlays are painted over it)
    ViewState& view;
    DisplayState& display;
    MainSwitches& switches;
    ToolSwitches& tools;
    RenderState& renderState;
    RenderHooks& hooks;
    BackHistory& backHistory;
    PaintRecords& paintRecords;
    NameOptions& nameOptions;
    DecorationState& decorations;
    MunicipalitySearch& search;
    std::optional<QDate> dataDate; // newest map file date, none when no map file exists
    QString workFileName;
    QString legendFileName;

    TKen* ken() const { return ken_; }
    TMapPaint* paintWindow() const { return paint_; }
    TSettei* settingsWindow() const { return settei_; }
    TDataCheck* choiceWindow() const { return dataCheck_; }
    TKyori* circleWindow() const { return kyori_; }
    TYomi* readingsWindow() const { return yomi_; }
    TYomiList* readingsListWindow() const { return yomiList_; }
    TPagesDlg* symbolPaletteWindow() const { return pages_; }
    THanrei* legendWindow() const { return hanrei_; }
    TLineAdd* lineWindow() const { return lineAdd_; }
    TLetter* labelWindow() const { return letter_; }
    TInLabel* labelsInViewWindow() const { return inLabel_; }
    ConfigValues config;           // the configuration file's values (read at start-up)
    bool clipboardUsed = false;    // a map picture was copied during the run

    // ---- what the window does for the user (each calls the session and shows it)
    // Draws the map again from the session's state and shows it.
    void redraw();
    // Puts the session's state into every control: check boxes, menus, up-downs, labels
    // and what can be used now. Controls hold no state of their own.
    void refreshControls();
    // Puts the cached picture into the scroll box.
    void showMapImage();
    // The prefecture window's confirm: loads the areas, sets up the standard view and
    // draws. A failed load keeps the previous map.
    void confirmSelection(const std::vector<int>& areas, bool oldBorders, bool pleaseWait);
    // 検　索: finds the typed municipality and shows it.
    void runSearch();
    void showSettingsWindow();
    // Configuration values into the display state and menus, and back.
    void applyConfig();
    ConfigValues currentConfig() const;
    // 画像保存 and the save menu items; 画像コピー.
    void saveImage(int format);
    void copyImage();
    // 印刷用に保存: the print dialog, the file name, then the export with its progress.
    void printSave();
    // The export of a print picture to what.path, with a progress window that can cancel
    // it; the outcome (failures have been told).
    ExportOutcome exportForPrint(const MapExport& what);
    // Painting.
    void startPaint();
    void resumePaint();
    void endPaint();
    void undoPaint();
    // Paint files, paint by name and data paint (the paint window's lower controls).
    void wirePaintFiles();
    void refreshPaintFileControls();
    // Navigation.
    void standardRange();
    void goBack();
    void setMagnificationStep(float step);
    void setReduction(int divisor);
    void setSizeFactor(int factor);
    // 凡例編集 (paint window, menu): the legend on with the standard geometry, the
    // samples copied from the paint slots when asked, and the legend window shown.
    void editLegend(bool copySamples);
    void showLegendWindow();
    // Mouse events on the map picture (pixels of the picture).
    void mapPress(int x, int y, Qt::MouseButton button);
    void mapMove(int x, int y);
    void mapRelease(int x, int y);
    void mapDoubleClick(int x, int y);
    void mapWheel(int delta, Qt::KeyboardModifiers modifiers);

    // 県 指 定: resets the per-map state for a new selection and asks for the
    // prefecture selection window.
    void prepareNewSelection();
    // 終　了 and the menu item 終了: asks, then closes the window and the log file.
    // False when the user cancelled.
    bool exitProgram();
    // Readout mode toggle (経緯度 / 座標値).
    void toggleReadoutMode();
    // Opens a web address with the desktop's default handler; replaced by tests.
    std::function<bool(const std::string& address)> openAddress;
    // The measurement figures into the panel's labels (the fields set).
    void applyPanel(const PanelUpdate& u);
    // Shows the search paint colour on the 市町村検索ペイント box.
    void showTownPaintColor();

    MessageBoxSink& dialogs() { return *dialogs_; }
    TProcess* processWindow() const { return process_; }
    TKeisoku* measureWaitWindow() const { return keisoku_; }
    TAbout* aboutWindow() const { return about_; }
    THowTo* howToWindow() const { return howTo_; }
    QWidget* controlColumn() const { return column_; }
    QAction* action(const char* name) const;

    // Controls whose tool window is not part of this build: shown, but disabled.
    static const QStringList& awaitingToolWindows();
    // Enables or disables a control or menu item (by pointer or name); one that waits for
    // its tool window stays disabled.
    void setControlEnabled(QObject* control, bool on);
    void setControlEnabled(const char* name, bool on);
    // ---- controls of the left column
    TImage *Image1, *Image2;                        // version picture, manual picture
    QCheckBox* CBInfo;                              // settings list
    QPushButton *Button10, *Button1, *Button2;      // ﾌｧｲﾙ読込, ﾌｧｲﾙ保存, 終　了
    QCheckBox* CBChiri;                             // web map service link
    QLabel* LblChiri;
    QLabel *Label19;                                // status (work file name)
    QLabel *Label13, *Label14;                      // readout lines
    QLabel *Label17, *Label15, *Label31, *Label33, *Label35, *LblSide, *LblCount, *LblMapping;
    QPushButton *Button11, *BtnMulti, *Button14;    // 経緯度, 距離, 面積
    QCheckBox *CBNokori, *CBTimer;                  // 県, 概算
    QPushButton *Button7, *BtnPaint, *BtnLetter;    // 表示設定, ペイント, ラ ベ ル
    QPushButton *BtnMark, *BtnLine, *Button13;      // 地図記号, 地 図 線, 円
    QPushButton *Button6, *Button5;                 // 標準範囲, 県 指 定
    TTkBtn* TkBtn2;                                 // 範囲指定
    QCheckBox* CBCopy;                              // ｺﾋﾟｰ
    QPushButton *Button12, *BtnCenter;              // 戻す, +
    QLabel *LblHor, *LblVer, *LblMag, *Label6;
    TUpDown *UDHor, *UDVer, *UpDown1;
    QCheckBox *CBPrefBorder, *CBTownBorder, *CBNTownBorder, *CBKenName1, *CBTownName, *CBYomi, *CBLabel,
        *CBMainDoubleName, *CBScale, *CBLake, *CBLonLat, *CBExp, *CBCenterMark;
    QCheckBox *CBRailLine, *CBEki, *CBMain, *CBRailSet;
    QComboBox* ComboBox1;                           // search history
    QPushButton* Button9;                           // 検　索
    QCheckBox *CBTownPaint, *CBMenseki;
    QGroupBox *RGImageSize, *RGImageFormat;
    QRadioButton *RBSize600, *RBSize1200, *RBSize1800, *RBPng, *RBJpeg, *RBBmp;
    QPushButton *Button3, *Button4;                 // 画像コピー, 画像保存
    QLabel* LblDatum;                               // 世界測地系 / 旧日本測地系
    QLabel* Label24;                                // 新名称 / 旧名称 of the last search
    // the map
    QScrollArea* ScrollBox1;
    QWidget* Panel1;
    QLabel* MapImage;                               // the cached picture, overlays painted over it
    TTkBtn* TkBtn1;                                 // feedback button on the start screen

signals:
    // 県 指 定 has reset the state; the prefecture selection window should open.
    void prefectureWindowRequested();
    // The window's background was clicked (the tool windows that float over the map close).
    void backgroundClicked();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildColumn();
    void buildMap();
    void buildMenus();
    void applyStartState();
    void connectControls();
    void scanData();
    void drawStartScreen();
    void resetMeasurementLabels();
    void openReadme();
    void openHomePage();
    void sendFeedbackMail();
    void showAbout();
    void showHowTo();
    void buildMapTools();
    void buildReadingsWindows();
    void showNameList();
    void showReadingsWindow();
    void buildSymbolTools();
    void refreshSymbolControls();
    QCursor stampCursor() const;
    void buildLegendWindow();
    void rangeTimerFired();
    bool settleMapLineForExit();
    // What the map's mouse tools ask of the window.
    void openWebMap(QPoint pixel) override;
    void busy(bool on) override;
    void pathChanged(const PathEvent& e) override;
    void pointerReadout(QPoint pixel) override;
    void rangeLength(float km) override;
    void rangeReleased(QPoint corner, int side) override;
    void rangeApplied() override;
    void circlesChanged() override;
    void readingsChanged() override;
    void afterDrawing(const DrawResult& r);
    void bindSwitch(QCheckBox* box, Switch s);
    // The main window's drawing switch boxes and the switch each shows.
    std::vector<std::pair<QCheckBox*, Switch>> switchBoxes() const;

    QWidget* column_ = nullptr;
    TProcess* process_ = nullptr;
    TKeisoku* keisoku_ = nullptr;
    TAbout* about_ = nullptr;
    class TLicense* licence_ = nullptr; // made when first asked for
    THowTo* howTo_ = nullptr;
    TKen* ken_ = nullptr;
    TMapPaint* paint_ = nullptr;
    TSettei* settei_ = nullptr;
    TDataCheck* dataCheck_ = nullptr;
    QTimer* rangeTimer_ = nullptr;
    QTimer* pathTimer_ = nullptr;  // 概算: the path samples the pointer
    std::unique_ptr<MouseTools> mouseTools_;
    TKyori* kyori_ = nullptr;
    TYomi* yomi_ = nullptr;
    TYomiList* yomiList_ = nullptr;
    TPagesDlg* pages_ = nullptr;   // 記号パレット
    THanrei* hanrei_ = nullptr;
    TLineAdd* lineAdd_ = nullptr;
    TLetter* letter_ = nullptr;
    TInLabel* inLabel_ = nullptr;
    void buildLabelTools();
    // range square and rubber bands
    bool crossDrawn_ = false;
    bool settingsWereOpen_ = false;
    bool refreshing_ = false;
};

} // namespace oboro
