#pragma once
// The readings list window: every name of the visible map with its kind and reading, in
// reading, code or kind order; readings are edited in place, saved back to yomi.lst or
// written out as a text file. A click on a row highlights the name on the map.
#include <QDialog>
#include <functional>
#include <string>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace oboro {

class MapSession;

class TYomiList : public QDialog {
    Q_OBJECT
public:
    explicit TYomiList(MapSession& session, QWidget* parent = nullptr);

    // Save dialog of リスト保存; replaced by tests. Empty when cancelled.
    std::function<std::string()> askExportPath;

    // Opens the window on the session's list, row 0 current.
    void showList();
    // Puts the session's list and options into the controls.
    void refresh();

    QTableWidget* StringGrid1;
    QPushButton *Button3, *Button4, *Button2;   // 五十音順, 漢字コード順, 種　別
    QLabel *marker3, *marker4, *marker2;        // "●" beside the order in effect
    QLabel *Label7, *Label11, *Label12;         // order, count, highlighted name
    QCheckBox *CBOldNeg, *CBGyaku, *CBKanaHi;   // 旧市町村名を除く, 逆順, 読みがな（ハイライト）
    QPushButton *Button1, *Button6, *Button5;   // 読みがな保存, リスト保存, 閉じる
    QPushButton* Button7;                       // 情報チェック (municipal offices, not in this build)

signals:
    // A row was highlighted: the map and the readings window show it.
    void highlighted();

private:
    void fillGrid();
    void rowClicked(int row);
    void cellEdited(int row, int column);

    MapSession& session_;
    bool filling_ = false;
};

} // namespace oboro
