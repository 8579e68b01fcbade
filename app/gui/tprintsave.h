#pragma once
// 印刷用に保存: the choice of picture size, print resolution and file format for a print
// export, with the printed size the choice gives. The dialog only chooses; the main
// window asks for the file name and the session draws and writes the picture.
#include "view/mapexport.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QRadioButton;

namespace oboro {

class TPrintSave : public QDialog {
    Q_OBJECT
public:
    // format: the format chosen in the main window, offered first.
    explicit TPrintSave(ImageFormat format, QWidget* parent = nullptr);

    QComboBox* CBPrintSide;    // 600 … 7200 pixels
    QRadioButton* RBDpi300;
    QRadioButton* RBDpi600;
    QRadioButton* RBPrintPng;
    QRadioButton* RBPrintJpeg;
    QRadioButton* RBPrintBmp;
    QLabel* LPrintedSize;      // "20.3 cm 角（A4 に収まります）"

    // The export chosen, without its file.
    MapExport choice() const;

private:
    void showPrintedSize();
};

} // namespace oboro
