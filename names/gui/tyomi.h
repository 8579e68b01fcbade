#pragma once
// The readings window: the name under the pointer with its reading, the look of the
// readings written on the map, and the ways into the readings map and the name list.
// Everything it shows lives in the open map's session; the window reads it in refresh()
// and hands every change to the session.
#include "common/canvas.h"

#include <QDialog>
#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace oboro {

class MapSession;
class TUpDown;

class TYomi : public QDialog {
    Q_OBJECT
public:
    explicit TYomi(MapSession& session, QWidget* parent = nullptr);

    // Colour dialog; replaced by tests. The chosen colour, or nothing on cancel.
    std::function<std::optional<Color>(Color current)> chooseColor;

    void refresh();

    QLabel *Label1, *Label2, *Label4, *Label7; // name, reading, kind, "かなリストで編集してください"
    TUpDown* UpDown1;                          // 読みがな文字サイズ
    QLineEdit* Edit1;                          // the size
    QCheckBox *CheckBox1, *CBKana, *CBOnMap;   // 固定, かなのみ, 地図上表示
    QPushButton* Button1;                      // ... colour
    QLabel* Shape1;                            // the colour swatch
    QPushButton *Button2, *Button3;            // 読みがな地図, 市町村名リスト

signals:
    // 市町村名リスト: the list was built; the main window shows the list window.
    void nameListRequested();

private:
    MapSession& session_;
};

} // namespace oboro
