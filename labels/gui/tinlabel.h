#pragma once
// The labels-in-view list: the labels of the table whose position lies in the current
// view, editable, sorted by text, switched on and off one by one or all at once, and
// written back as the whole label table.
#include <QDialog>

class QLabel;
class QPushButton;
class QTableView;

namespace oboro {

class MapSession;
class LabelGridModel;

class TInLabel : public QDialog {
    Q_OBJECT
public:
    explicit TInLabel(MapSession& session, QWidget* parent = nullptr);

    // Shows the session's list.
    void refresh();

    QTableView* StringGrid1;
    QLabel* LblCount;                                   // ﾗﾍﾞﾙ数
    QPushButton *BtnClose, *BtnSort, *BtnApply, *BtnHideAll; // 閉じる, コード順, 表　示, 非表示設定

private:
    MapSession& session_;
    LabelGridModel* model_ = nullptr;
};

} // namespace oboro
