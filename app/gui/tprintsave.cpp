#include "app/gui/tprintsave.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace oboro {

namespace {
// A4 at 300 dpi: the size most worksheets are printed at.
constexpr int kDefaultSide = 2400;
} // namespace

TPrintSave::TPrintSave(ImageFormat format, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TPrintSave"));
    setWindowTitle(QStringLiteral("印刷用に保存"));

    CBPrintSide = new QComboBox(this);
    CBPrintSide->setObjectName(QStringLiteral("CBPrintSide"));
    for (int side = 600; side <= kLargestPrintSide; side += 600)
        CBPrintSide->addItem(QStringLiteral("%1 × %1").arg(side), side);
    CBPrintSide->setCurrentIndex(CBPrintSide->findData(kDefaultSide));

    const auto radio = [this](const char* name, const QString& text) {
        auto* r = new QRadioButton(text, this);
        r->setObjectName(QLatin1String(name));
        return r;
    };
    RBDpi300 = radio("RBDpi300", QStringLiteral("300 dpi"));
    RBDpi600 = radio("RBDpi600", QStringLiteral("600 dpi"));
    RBDpi300->setChecked(true);
    auto* dpiGroup = new QButtonGroup(this);
    dpiGroup->addButton(RBDpi300);
    dpiGroup->addButton(RBDpi600);
    RBPrintPng = radio("RBPrintPng", QStringLiteral("PNG"));
    RBPrintJpeg = radio("RBPrintJpeg", QStringLiteral("JPEG"));
    RBPrintBmp = radio("RBPrintBmp", QStringLiteral("BMP"));
    auto* formatGroup = new QButtonGroup(this);
    for (QRadioButton* r : {RBPrintPng, RBPrintJpeg, RBPrintBmp})
        formatGroup->addButton(r);
    (format == ImageFormat::Jpeg ? RBPrintJpeg : format == ImageFormat::Bmp ? RBPrintBmp : RBPrintPng)
        ->setChecked(true);
    LPrintedSize = new QLabel(this);
    LPrintedSize->setObjectName(QStringLiteral("LPrintedSize"));

    auto* dpiRow = new QHBoxLayout;
    dpiRow->addWidget(RBDpi300);
    dpiRow->addWidget(RBDpi600);
    dpiRow->addStretch();
    auto* formatRow = new QHBoxLayout;
    formatRow->addWidget(RBPrintPng);
    formatRow->addWidget(RBPrintJpeg);
    formatRow->addWidget(RBPrintBmp);
    formatRow->addStretch();
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("画像の大きさ (ピクセル)"), CBPrintSide);
    form->addRow(QStringLiteral("印刷の解像度"), dpiRow);
    form->addRow(QStringLiteral("印刷した大きさ"), LPrintedSize);
    form->addRow(QStringLiteral("ファイルの形式"), formatRow);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("保存..."));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(CBPrintSide, &QComboBox::currentIndexChanged, this, &TPrintSave::showPrintedSize);
    connect(RBDpi300, &QRadioButton::toggled, this, &TPrintSave::showPrintedSize);
    showPrintedSize();
}

MapExport TPrintSave::choice() const
{
    MapExport e;
    e.side = CBPrintSide->currentData().toInt();
    e.dpi = RBDpi600->isChecked() ? kFinePrintDpi : kPrintDpi;
    e.format = RBPrintJpeg->isChecked() ? ImageFormat::Jpeg : RBPrintBmp->isChecked() ? ImageFormat::Bmp : ImageFormat::Png;
    return e;
}

void TPrintSave::showPrintedSize()
{
    const MapExport e = choice();
    LPrintedSize->setText(printedSizeText(e.side, e.dpi));
}

} // namespace oboro
