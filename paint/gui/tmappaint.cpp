#include "paint/gui/tmappaint.h"

#include "common/gui/messagebox.h"
#include "paint/datapaint.h"
#include "paint/gui/tpbrush.h"
#include "paint/paintfile.h"

#include <QButtonGroup>
#include <QHideEvent>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QSpinBox>
#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace oboro {

namespace {
QPushButton* makeButton(QWidget* parent, const QString& caption, const char* name, const QString& hint = {})
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    if (!hint.isEmpty())
        b->setToolTip(hint);
    return b;
}
QCheckBox* makeCheck(QWidget* parent, const QString& caption, const char* name, const QString& hint = {})
{
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(QString::fromLatin1(name));
    if (!hint.isEmpty())
        c->setToolTip(hint);
    return c;
}
} // namespace

TMapPaint::TMapPaint(PaintPalette* sharedPalette, int* sharedSlot, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      palette(sharedPalette ? *sharedPalette : ownPalette_),
      selectedSlot(sharedSlot ? *sharedSlot : ownSlot_)
{
    setObjectName(QStringLiteral("TMapPaint"));
    setWindowTitle(QStringLiteral("　ペイント　（塗り分け）"));
    chooser_ = new TPBrush(this);
    chooseColor = [this](Color current) -> std::optional<Color> {
        const QColor c = QColorDialog::getColor(QColor::fromRgb(toPixel(current)), this);
        if (!c.isValid())
            return std::nullopt;
        return fromPixel(c.rgb());
    };

    auto* top = new QVBoxLayout(this);

    auto* sets = new QGroupBox(QStringLiteral("塗り色"), this);
    auto* setsLayout = new QGridLayout(sets);
    colorSetGroup = new QButtonGroup(this);
    for (int i = 0; i < kColorSetCount; ++i) {
        auto* r = new QRadioButton(QString::fromUtf8(colorSetName(i)), sets);
        colorSetGroup->addButton(r, i);
        setsLayout->addWidget(r, i / 4, i % 4);
    }
    colorSetGroup->button(0)->setChecked(true);
    connect(colorSetGroup, &QButtonGroup::idClicked, this, &TMapPaint::applyColorSet);
    top->addWidget(sets);

    auto* swatchGrid = new QGridLayout;
    for (int s = 0; s < kPaintSlots; ++s) {
        auto* sw = new QToolButton(this);
        sw->setObjectName(QStringLiteral("Swatch%1").arg(s + 1));
        sw->setFixedSize(34, 34);
        sw->setIconSize(QSize(26, 26));
        sw->setCheckable(true);
        if (s == 0)
            sw->setToolTip(QStringLiteral("塗り色"));
        swatches_[s] = sw;
        auto* dots = new QToolButton(this);
        dots->setText(QStringLiteral("..."));
        dots->setObjectName(QStringLiteral("ColorButton%1").arg(s + 1));
        dots->setToolTip(QStringLiteral("色設定"));
        auto* pat = new QToolButton(this);
        pat->setText(QStringLiteral("//"));
        pat->setObjectName(QStringLiteral("PatternButton%1").arg(s + 1));
        pat->setToolTip(QStringLiteral("パターン選択"));
        const int row = (s / 4) * 2;
        const int col = (s % 4) * 2;
        swatchGrid->addWidget(new QLabel(QString::number(s + 1), this), row, col, 2, 1, Qt::AlignRight);
        swatchGrid->addWidget(sw, row, col + 1, Qt::AlignLeft);
        auto* small = new QHBoxLayout;
        small->addWidget(dots);
        small->addWidget(pat);
        swatchGrid->addLayout(small, row + 1, col + 1);
        connect(sw, &QToolButton::clicked, this, [this, s] { selectSlot(s); });
        connect(dots, &QToolButton::clicked, this, [this, s] {
            const std::optional<Color> c = chooseColor ? chooseColor(palette.colors[s]) : std::nullopt;
            if (!c)
                return;
            palette.colors[s] = *c;
            slotBeingEdited = s;
            refreshEditedSwatch();
        });
        connect(pat, &QToolButton::clicked, this, [this, s] {
            slotBeingEdited = s;
            chooser_->setSlot(s + 1, palette.colors[s], chooserIndex);
            chooser_->show();
            chooser_->raise();
        });
    }
    top->addLayout(swatchGrid);
    connect(chooser_, &TPBrush::patternChosen, this, [this](int index) {
        chooserIndex = index;
        refreshEditedSwatch();
    });

    auto* row1 = new QHBoxLayout;
    BtnReset = makeButton(this, QStringLiteral("色リセット"), "BtnReset", QStringLiteral("塗り色・パターンを初期状態に戻す"));
    row1->addWidget(BtnReset);
    row1->addWidget(new QLabel(QStringLiteral("ペイント回数"), this));
    LblPaint = new QLabel(QStringLiteral("0"), this);
    LblPaint->setObjectName(QStringLiteral("LblPaint"));
    row1->addWidget(LblPaint);
    row1->addStretch();
    top->addLayout(row1);
    connect(BtnReset, &QPushButton::clicked, this, &TMapPaint::resetPalette);

    auto* row2 = new QHBoxLayout;
    CBShow = makeCheck(this, QStringLiteral("表示"), "CBShow", QStringLiteral("ペイントの表示/非表示"));
    CBShow->setChecked(true);
    CBWhite = makeCheck(this, QStringLiteral("背景白色"), "CBWhite");
    CBKuPaint = makeCheck(this, QStringLiteral("区ペイント"), "CBKuPaint", QStringLiteral("区境界で塗り分ける"));
    CBOldPaint = makeCheck(this, QStringLiteral("旧町村ペイント"), "CBOldPaint", QStringLiteral("旧町村境界で塗り分ける"));
    CBTownName = makeCheck(this, QStringLiteral("市町村名"), "CBTownName", QStringLiteral("市区町村名の表示"));
    for (QCheckBox* c : {CBShow, CBWhite, CBKuPaint, CBOldPaint, CBTownName})
        row2->addWidget(c);
    top->addLayout(row2);
    connect(CBShow, &QCheckBox::toggled, this, &TMapPaint::showToggled);
    connect(CBWhite, &QCheckBox::toggled, this, &TMapPaint::whiteBackgroundToggled);
    connect(CBKuPaint, &QCheckBox::toggled, this, &TMapPaint::kuPaintToggled);
    connect(CBOldPaint, &QCheckBox::toggled, this, &TMapPaint::oldTownPaintToggled);
    connect(CBTownName, &QCheckBox::toggled, this, &TMapPaint::namesOverPaintToggled);

    auto* row3 = new QHBoxLayout;
    BtnNew = makeButton(this, QStringLiteral("新規ペイント"), "BtnNew");
    BtnResume = makeButton(this, QStringLiteral("追加ペイント"), "BtnResume", QStringLiteral("ペインと作業を続ける"));
    BtnUndo = makeButton(this, QStringLiteral("前に戻す"), "BtnUndo", QStringLiteral("ペイント前に戻る"));
    BtnEnd = makeButton(this, QStringLiteral("ペイント終了"), "BtnEnd");
    BtnClose = makeButton(this, QStringLiteral("閉じる"), "BtnClose");
    for (QPushButton* b : {BtnNew, BtnResume, BtnUndo, BtnEnd, BtnClose})
        row3->addWidget(b);
    top->addLayout(row3);
    connect(BtnNew, &QPushButton::clicked, this, &TMapPaint::startRequested);
    connect(BtnResume, &QPushButton::clicked, this, &TMapPaint::resumeRequested);
    connect(BtnUndo, &QPushButton::clicked, this, &TMapPaint::undoRequested);
    connect(BtnEnd, &QPushButton::clicked, this, &TMapPaint::endRequested);
    connect(BtnClose, &QPushButton::clicked, this, &TMapPaint::askClose);

    buildFileControls(top);

    // The legend: 凡例編集 opens the legend window, with the slots' samples copied first
    // while 凡例記号コピー is checked.
    auto* row5 = new QHBoxLayout;
    BtnLegend = makeButton(this, QStringLiteral("凡例編集"), "BtnLegend", QStringLiteral("地図凡例編集ウインドウを新規に開く"));
    CBLegendCopy = makeCheck(this, QStringLiteral("凡例記号コピー"), "CBLegendCopy",
                             QStringLiteral("設定されている色・パターンを凡例にコピーする"));
    CBLegendCopy->setChecked(true);
    row5->addWidget(BtnLegend);
    row5->addWidget(CBLegendCopy);
    row5->addStretch();
    top->addLayout(row5);
    connect(BtnLegend, &QPushButton::clicked, this, [this] { emit legendRequested(CBLegendCopy->isChecked()); });

    refreshSwatches();
    setSwatchesEnabled(false);
    BtnEnd->setEnabled(false);
    BtnUndo->setEnabled(false);
    BtnResume->setEnabled(false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

namespace {
// "A (*.x)|*.x|B (*.*)|*.*" as the filter list of a file dialog.
QString dialogFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i];
    return out.join(QStringLiteral(";;"));
}
} // namespace

void TMapPaint::buildFileControls(QVBoxLayout* top)
{
    auto* grid = new QGridLayout;
    CBNamePaint = makeCheck(this, QStringLiteral("市町村指定"), "CBNamePaint", QStringLiteral("市区町村名による一括ペイント"));
    CmbNames = new QComboBox(this);
    CmbNames->setObjectName(QStringLiteral("CmbNames"));
    CmbNames->setEditable(true);
    CmbNames->setInsertPolicy(QComboBox::NoInsert);
    CmbNames->setMaxVisibleItems(12);
    CmbNames->setMinimumContentsLength(12);
    CmbNames->setToolTip(QStringLiteral("一括ペイントする市町村名"));
    CmbNames->setEditText(QStringLiteral("市区町村名"));
    BtnNameRun = makeButton(this, QStringLiteral("実行"), "BtnNameRun");
    grid->addWidget(CBNamePaint, 0, 0);
    grid->addWidget(CmbNames, 0, 1, 1, 2);
    grid->addWidget(BtnNameRun, 0, 3);

    BtnLoad = makeButton(this, QStringLiteral("読　込"), "BtnLoad", QStringLiteral("ペイントファイルの読み込み"));
    BtnSave = makeButton(this, QStringLiteral("保　存"), "BtnSave", QStringLiteral("ペイント作業を保存"));
    CBColorsOnly = makeCheck(this, QStringLiteral("塗り色のみ"), "CBColorsOnly");
    CBAppend = makeCheck(this, QStringLiteral("追加読込"), "CBAppend");
    grid->addWidget(BtnLoad, 1, 0);
    grid->addWidget(BtnSave, 1, 1);
    grid->addWidget(CBColorsOnly, 1, 2);
    grid->addWidget(CBAppend, 1, 3);

    BtnData = makeButton(this, QStringLiteral("データ"), "BtnData", QStringLiteral("データファイルによるペイント"));
    SpinClasses = new QSpinBox(this);
    SpinClasses->setObjectName(QStringLiteral("SpinClasses"));
    SpinClasses->setRange(kMinClasses, kMaxClasses);
    SpinClasses->setValue(5);
    SpinClasses->setSuffix(QStringLiteral(" 階級"));
    SpinClasses->setToolTip(QStringLiteral("統計データを塗り分ける階級の数"));
    CmbClassMethod = new QComboBox(this);
    CmbClassMethod->setObjectName(QStringLiteral("CmbClassMethod"));
    CmbClassMethod->addItems({QStringLiteral("等間隔"), QStringLiteral("分位数")});
    CmbClassMethod->setToolTip(QStringLiteral("階級の分け方"));
    grid->addWidget(BtnData, 2, 0);
    grid->addWidget(SpinClasses, 2, 1);
    grid->addWidget(CmbClassMethod, 2, 2);

    top->addLayout(grid);
    LblFile = new QLabel(this);
    LblFile->setObjectName(QStringLiteral("LblFile"));
    top->addWidget(LblFile);

    askFileName = [this](bool saving, const QString& filter) -> std::optional<QString> {
        QFileDialog dialog(this, saving ? QStringLiteral("ペイントファイルの保存") : QString(), QString(),
                           dialogFilter(filter));
        dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (saving) {
            dialog.setDefaultSuffix(QStringLiteral("pnt"));
            if (!lastPaintFile_.isEmpty())
                dialog.selectFile(lastPaintFile_);
        }
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().front();
    };

    CmbNames->setEnabled(false);
    BtnNameRun->setEnabled(false);
    BtnSave->setEnabled(false);
    connect(BtnLoad, &QPushButton::clicked, this, &TMapPaint::load);
    connect(BtnSave, &QPushButton::clicked, this, &TMapPaint::save);
    connect(BtnData, &QPushButton::clicked, this, [this] {
        const std::optional<QString> path = askFileName(false, QString::fromUtf8(kDataPaintFilter));
        if (!path)
            return;
        LblFile->setText(QFileInfo(*path).fileName());
        emit dataRequested(*path, SpinClasses->value(), CmbClassMethod->currentIndex());
    });
    connect(CBNamePaint, &QCheckBox::toggled, this, [this](bool on) {
        CmbNames->setEnabled(false);
        BtnNameRun->setEnabled(false);
        emit nameListToggled(on);
        CmbNames->setEditText(QStringLiteral("ボタンを押す"));
    });
    connect(BtnNameRun, &QPushButton::clicked, this, [this] { emit paintByNameRequested(CmbNames->currentText()); });
}

void TMapPaint::setNameList(const std::vector<std::string>& names)
{
    CmbNames->clear();
    for (const std::string& n : names)
        CmbNames->addItem(QString::fromStdString(n));
    CmbNames->setEnabled(!names.empty());
    BtnNameRun->setEnabled(!names.empty());
}

void TMapPaint::load()
{
    if (CBColorsOnly->isChecked() &&
        !showMessage(this, "背景色と塗り色のみ読み込みますがよろしいですか　　", "ペイントファイル読込", MessageIcon::Question))
        return;
    const std::optional<QString> path = askFileName(false, QString::fromUtf8(kPaintFileFilter));
    if (!path)
        return;
    LblFile->setText(QFileInfo(*path).fileName());
    lastPaintFile_ = QFileInfo(*path).fileName();
    emit loadRequested(*path, CBColorsOnly->isChecked(), CBAppend->isChecked());
    refreshSwatches();
}

void TMapPaint::save()
{
    if (CBColorsOnly->isChecked() &&
        !showMessage(this, "背景色と塗り色のみ保存しますがよろしいですか　　", "ペイントファイル読込", MessageIcon::Question))
        return;
    const std::optional<QString> path = askFileName(true, QString::fromUtf8(kPaintFileFilter));
    if (!path)
        return;
    LblFile->setText(QFileInfo(*path).fileName());
    emit saveRequested(*path, CBColorsOnly->isChecked());
}

void TMapPaint::selectSlot(int slot)
{
    if (slot < 0 || slot >= kPaintSlots)
        return;
    selectedSlot = slot;
    for (int s = 0; s < kPaintSlots; ++s)
        swatches_[s]->setChecked(s == slot); // the chosen swatch is shown flat (pressed)
    emit slotSelected(slot);
}

void TMapPaint::deselectSlots()
{
    selectedSlot = -1;
    for (QToolButton* sw : swatches_)
        sw->setChecked(false);
}

void TMapPaint::setSwatchesEnabled(bool on)
{
    for (QToolButton* sw : swatches_)
        sw->setEnabled(on);
}

void TMapPaint::setPaintCount(int count) { LblPaint->setText(QString::number(count)); }

void TMapPaint::refreshSwatches()
{
    for (int s = 0; s < kPaintSlots; ++s)
        swatches_[s]->setIcon(QPixmap::fromImage(swatchImage(palette.colors[s], palette.patterns[s])));
}

void TMapPaint::refreshEditedSwatch()
{
    palette.patterns[slotBeingEdited] = kChooserPatterns[chooserIndex];
    refreshSwatches();
}

void TMapPaint::resetPalette()
{
    palette.reset();
    colorSetGroup->button(0)->setChecked(true);
    refreshSwatches();
}

void TMapPaint::applyColorSet(int index)
{
    palette.applyColorSet(index);
    refreshSwatches();
}

void TMapPaint::hideEvent(QHideEvent* e)
{
    QDialog::hideEvent(e);
    if (!e->spontaneous())
        emit hiddenByUser();
}

void TMapPaint::askClose()
{
    if (!showMessage(this, "このウインドウを閉じると，ペイント作業を続けることはできなくなります　　　　\n閉じてもよろしいですか",
                     "ペイントウインドウの終了", MessageIcon::Question))
        return;
    hide();
    emit closedByUser();
}

} // namespace oboro
