#pragma once
// The prefecture selection window: which areas are drawn.
#include <QDialog>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;

namespace oboro {

class TKen : public QDialog {
    Q_OBJECT
public:
    explicit TKen(QWidget* parent = nullptr);

    QCheckBox* areaBox(int code) const { return areaBoxes_[code]; }
    QCheckBox* regionBox(int index) const { return regionBoxes_[index]; }

    // Data date as (year − 1980) × 10000 + month × 100 + day.
    void setDataDate(int date);

    // The checked areas in ascending code order.
    std::vector<int> checkedAreas() const;

    // The confirm step ("決　定"): the one entry point for loading a new set of areas.
    // Callers set the check boxes first. Returns false (and says why) when none is checked.
    bool confirm();

    int firstAreaCode() const { return firstAreaCode_; }
    bool selectionConfirmed() const { return selectionConfirmed_; }
    void setSelectionConfirmed(bool on) { selectionConfirmed_ = on; }
    void setFirstAreaCode(int code) { firstAreaCode_ = code; }

    QCheckBox* CBOldBorder = nullptr;
    QCheckBox* CBRailShow = nullptr;
    QPushButton* Button1 = nullptr; // 決　定
    QPushButton* Button2 = nullptr; // 閉じる
    QPushButton* Button3 = nullptr; // クリア
    QPushButton* Button4 = nullptr; // すべて
    QPushButton* Button5 = nullptr; // 山島検索
    QPushButton* CBNameList = nullptr;
    QLabel* Label4 = nullptr; // data date
    QLabel* Label5 = nullptr; // boundary edition
    QLabel* Label6 = nullptr; // datum

signals:
    // Confirm passed its checks: the main window loads and draws these areas.
    // pleaseWait is set when more than 20 areas are chosen.
    void confirmed(const std::vector<int>& areas, bool oldBorders, bool pleaseWait);
    // "すべて" switches the municipal borders off so all Japan is drawn without them first.
    void allAreasChosen();
    void railShowToggled(bool on);
    // One area confirmed through "市町村名リスト": show its name list.
    void nameListRequested(int area);
    void mountainSearchRequested();

private:
    void clearAll();
    void selectAll();
    void nameList();

    std::vector<QCheckBox*> areaBoxes_ = std::vector<QCheckBox*>(53, nullptr);
    std::vector<QCheckBox*> regionBoxes_;
    int firstAreaCode_ = 0;
    bool selectionConfirmed_ = false;
};

} // namespace oboro
