#pragma once
// The choice window among places of the same name found by the municipality search.
// Clicking one of the radio items chooses it at once and closes the window; closing the
// window without a choice cancels the search.
#include "search/municipalitysearch.h"

#include <QDialog>
#include <optional>
#include <vector>

class QButtonGroup;
class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace oboro {

class TDataCheck : public QDialog {
    Q_OBJECT
public:
    explicit TDataCheck(QWidget* parent = nullptr);

    // Fills the labels and the radio group for a name and its candidates (no item
    // selected) without showing the window.
    void setCandidates(const std::string& name, const std::vector<SearchCandidate>& candidates);
    // setCandidates, then the window modally; the index of the chosen candidate, or
    // nullopt when the window was closed without a choice.
    std::optional<int> choose(const std::string& name, const std::vector<SearchCandidate>& candidates);

    // The chosen candidate of the last choice (nullopt: none yet or closed).
    std::optional<int> chosenIndex() const { return chosen_; }
    // Number of columns of the radio group (1 for up to four items, 2 above).
    int columns() const { return columns_; }
    QRadioButton* item(int i) const;
    int itemCount() const { return static_cast<int>(items_.size()); }

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    QPushButton* Button1 = nullptr; // 決定, hidden

private:
    void itemClicked(int index);

    QGridLayout* grid_ = nullptr;
    QButtonGroup* group_ = nullptr;
    std::vector<QRadioButton*> items_;
    std::optional<int> chosen_;
    int columns_ = 1;
};

} // namespace oboro
