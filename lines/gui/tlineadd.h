#pragma once
// The map line window (地図線の編集・表示): one line file edited point by point on the
// map, and finished line files loaded read-only for display (地図線読込), optionally as
// paint borders. The state lives in the open map's session (LineEditor, DisplayedLines);
// this window shows it and calls the session's operations. An edited line with unsaved
// points is never dropped without asking 保存 / 破棄 / キャンセル.
#include "app/gui/messagebox.h"
#include "lines/linefile.h"

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace oboro {

class MapSession;
class TUpDown;

// The answer to the question about an unsaved edited line.
enum class UnsavedAnswer { Save, Discard, Cancel };

inline constexpr const char* kLineFileFilter = "追加線ファイル(*.adl)|*.adl|すべて(*.*)|*.*";
inline constexpr const char* kDisplayFileFilter = "地図線ファイル(*.adl)|*.adl|すべて(*.*)|*.*";

class TLineAdd : public QDialog {
    Q_OBJECT
public:
    TLineAdd(MapSession& session, MessageBoxSink& dialogs, QWidget* parent = nullptr);

    // The desktop dialogs; replaced by tests. Empty answers are a cancel.
    std::function<std::string()> chooseOpenFile;
    std::function<std::vector<std::string>()> chooseDisplayFiles;
    std::function<std::string()> chooseSaveFile;
    std::function<std::optional<Color>(Color current)> chooseColor;
    std::function<UnsavedAnswer(const Message& question)> askUnsaved;

    // 地 図 線 and the menu item: shows the window.
    void open();
    // Puts the session's line state into every control.
    void refresh();
    // Before the edited line would be dropped: nothing to lose, saved, or discarded
    // (true); cancelled (false).
    bool settleUnsaved(const Message& question);
    // ﾌｧｲﾙ保存: asks for a file name and writes the edited line; false when cancelled or failed.
    bool saveEdited();

    QPushButton *Button1, *Button2, *Button3, *Button4, *Button5, *Button6, *Button7, *Button9, *Button10,
        *Button11, *Button12, *Button13, *Button15, *BtnEdit, *BtnFile;
    QCheckBox *CBLoop, *CheckBox1, *CheckBox2, *CheckBox3, *CheckBox4, *CheckBox7, *CBArrow, *CBFileAdd;
    TUpDown *UpDown1, *UpDown2, *UpDown3, *UpDown4, *UpDown6, *UpDown7;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit6, *Edit7;
    QGroupBox* RadioGroup1;
    QRadioButton* lineTypes[kLineTypeCount];
    QTableWidget* StringGrid1;
    QLabel *Image1, *Label2, *Label7, *Label10, *Label18, *Label19, *Label20;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    LineStyle styleOfControls() const;
    void styleChanged();
    void openForEditing();
    void loadDisplayFiles();
    void shift();
    void toggleEditView();

    MapSession& session_;
    MessageBoxSink& dialogs_;
    Color color_ = kBlack;
    bool refreshing_ = false;
    bool placed_ = false;
};

// Questions of the map line window.
Message newLineQuestion();
Message openLineQuestion();
Message closeLineQuestion();
Message closeWindowQuestion();
Message exitLineQuestion();

} // namespace oboro
