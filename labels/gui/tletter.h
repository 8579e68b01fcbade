#pragma once
// The label window: the label table as an editable grid, the placing of labels (by
// mouse, by longitude and latitude, by map units), label files, the colour and size of
// labels, sorting, searching, showing and hiding. The table and the controls' values
// live in the open map (MapSession); the window shows them and calls its operations.
#include "app/gui/messagebox.h"
#include "common/canvas.h"

#include <QDialog>
#include <QStringList>
#include <functional>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTableView;
class QTableWidget;
class QAction;

namespace oboro {

class MapSession;
class TUpDown;
class LabelGridModel;

class TLetter : public QDialog {
    Q_OBJECT
public:
    TLetter(MapSession& session, MessageBoxSink& dialogs, QWidget* parent = nullptr);

    // The dialogs; replaced by tests. Chosen files / file / colour, or nothing on cancel.
    std::function<QStringList()> chooseFilesToRead;
    std::function<std::optional<QString>()> chooseFileToSave;
    std::function<std::optional<Color>(Color current)> chooseColor;

    // Puts the session's label state into every control.
    void refresh();
    // ラ ベ ル: shows the window.
    void open();
    // The row selected in the grid (−1 for none).
    int selectedRow() const;
    void selectRow(int row);

    // 検　索: every row with the searched text in turn, drawn red, until Cancel.
    void searchLabels();

    QGroupBox* RGPlace;                           // 位置指定法
    QRadioButton *RBMouse, *RBDegrees, *RBUnits;
    QLineEdit *EdLon, *EdLat;                     // 経度/X座標, 緯度/Y座標
    QPushButton *BtnPlace, *BtnSave, *BtnRead, *BtnReread, *BtnClear;
    QCheckBox* CBAppend;                          // 追加読込
    QLabel* ImgColor;                             // 文字色 swatch
    QPushButton *BtnColor, *BtnAllColor;          // ..., 変更 (colour)
    TUpDown* UDSize;                              // 文字サイズ
    QLineEdit* EdSize;
    QPushButton* BtnAllSize;                      // 変更 (size)
    QCheckBox *CBFixed, *CBWhite, *CBShow, *CBMark, *CBText;
    QGroupBox* RGFactor;                          // 文字ｻｲｽﾞ
    QRadioButton* RBFactor[6];
    QPushButton *BtnTextSort, *BtnFileSort, *BtnAllShown;
    QLabel* LblAll;                               // 全てのラベル (double click: コード順)
    QLineEdit* EdSearch;
    QPushButton *BtnSearch, *BtnInView;
    TUpDown* UDFile;                              // file number jump
    QLabel *LblFile, *LblStatus, *LblCount;
    QTableView* StringGrid1;                      // the label table
    QTableWidget* StringGrid2;                    // 読込済みﾗﾍﾞﾙﾌｧｲﾙ
    QMenu* PopupMenu1;
    QAction *NMove, *NDelete, *NColor, *NSearchTown, *NCentre;

signals:
    // このラベルを市区町村名として検索します.
    void townSearchRequested(const QString& name);
    // 表示ﾗﾍﾞﾙ: the labels-in-view list has been filled.
    void inViewRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void readFiles();
    void saveFile();
    void lookChanged();

    MapSession& session_;
    MessageBoxSink& dialogs_;
    LabelGridModel* model_ = nullptr;
    bool refreshing_ = false;
    int editing_ = -1; // the placed row whose text cell was last opened for typing
};

} // namespace oboro
