#pragma once
// The symbol palette: sheets of symbol pictures (地図記号 with the 21 map symbols and the
// seven numbered marks, その他, カスタム) and the sheet of operations (記号操作), above the
// controls of the stamps (undo, show, clear, stamping on or off, colour, transparency,
// .mks files, position by longitude and latitude). The stamps and the palette's choices
// live in the open map's session; this window shows them and calls its operations.
#include "app/gui/messagebox.h"
#include "common/canvas.h"

#include <QDialog>
#include <functional>
#include <map>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace oboro {

class MapSession;

// A file dialog's question; the window's own dialogs answer it unless replaced.
struct FileQuestion {
    bool save = false;
    QString caption;
    QString folder;        // where the dialog starts
    QString filter;        // "地図記号ファイル(*.mrk)|*.mrk|..."
    QString defaultSuffix; // added to a name without one
};

class TPagesDlg : public QDialog {
    Q_OBJECT
public:
    TPagesDlg(MapSession& session, MessageBoxSink& dialogs, QWidget* parent = nullptr);

    // Dialogs; replaced by tests. An empty name or no colour: cancelled.
    std::function<QString(const FileQuestion&)> chooseFile;
    std::function<std::optional<Color>(Color current)> chooseColor;

    // Puts the session's state into every control.
    void refresh();
    // Reloads the pictures of the sheets from the mark folder.
    void reloadPictures();
    // 地図記号 (main window) and 記号パレットを開く.
    void openFromMainWindow();
    // The custom symbol operations, also on the main window's menu 記号.
    void deleteCustom();
    void copyCustomIn();
    void copyCustomOut();
    // The folder the custom symbols are copied from and to (the configuration keeps it).
    QString customFolder() const;
    void setCustomFolder(const QString& folder);

    // The picture button of a symbol number (nullptr for an unknown number).
    QToolButton* symbolButton(int symbol) const;

    QTabWidget* PageControl1;                          // 地図記号, その他, カスタム, 記号操作
    QCheckBox* CBStandard;                             // 標準 (16) / 小 (14)
    QLabel* LblSize;                                   // 標準, 小, 大
    QLabel *LblStamp[3], *LblStampState[3];            // スタンプ 有効/無効 on the symbol sheets
    QLineEdit* EdCustomFolder;                         // カスタム記号の保存フォルダ名
    QPushButton *BtnCustomDel, *BtnCustomLoad, *BtnCustomSave; // 削　除, 呼　出, 保　存
    QPushButton *BtnFileLoad, *BtnFileSave;            // ファイル読込, ファイル保存 (.mrk)
    QLabel* LblFileName;                               // the last symbol file
    QLabel* ImgPreview;                                // the current symbol in its colour
    QPushButton *BtnUndo, *BtnClose, *BtnShow, *BtnClear, *BtnDisable; // 戻 す 閉じる 表 示 クリア 無 効
    QPushButton* ShapeColor;                           // 色 swatch
    QPushButton* BtnColor;                             // ...
    QLabel* LblCount;                                  // the number of stamps
    QCheckBox* CBTransparent;                          // 透明
    QPushButton *BtnMksSave, *BtnMksLoad;              // 保存, 読込 (.mks)
    QCheckBox* CBAppend;                               // 追加読込
    QCheckBox* CBPosition;                             // 指定
    QLineEdit *EdLon, *EdLat;                          // 経度, 緯度
    QPushButton* BtnPlace;                             // 実行
    QCheckBox* CBGsi;                                  // GSI 補正

signals:
    // The custom folder changed (the configuration keeps it).
    void customFolderChanged(const QString& folder);

protected:
    void mousePressEvent(QMouseEvent* e) override;

private:
    QWidget* buildSymbolSheet(int first, int last, int sheet);
    void choose(int symbol);
    void pickColor();
    void readMrk();
    void saveMrk();
    void readMks();
    void saveMks();
    bool ask(const Message& m) { return dialogs_.ask(m); }
    QString markFolder() const;

    MapSession& session_;
    MessageBoxSink& dialogs_;
    std::map<int, QToolButton*> buttons_;
    QString mrkName_; // the save dialog's default name after a read
    bool refreshing_ = false;
};

} // namespace oboro
