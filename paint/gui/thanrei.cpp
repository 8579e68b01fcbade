#include "paint/gui/thanrei.h"

#include "app/mapsession.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace oboro {

namespace {

constexpr int kSampleW = 44;
constexpr int kSampleH = 18;

template <class W> W* named(W* w, const char* name, const QString& hint = {})
{
    w->setObjectName(QString::fromLatin1(name));
    if (!hint.isEmpty())
        w->setToolTip(hint);
    return w;
}

QSpinBox* spin(QWidget* parent, const char* name, LegendRange range, int step, const QString& hint = {})
{
    auto* s = named(new QSpinBox(parent), name, hint);
    s->setRange(range.min, range.max);
    s->setSingleStep(step);
    s->setKeyboardTracking(false);
    return s;
}

// A sample as the window shows it: a white box, then the sample colour and pattern
// outlined in black (white only for rows not in use).
QPixmap sampleImage(const LegendRow* row)
{
    Canvas c(kSampleW, kSampleH, kWhite);
    if (row) {
        c.setPen(kBlack, 1);
        c.setBrush(row->color, brushStyleFromCode(row->pattern));
        c.rectangle(2, 2, kSampleW - 2, kSampleH - 2);
    }
    return QPixmap::fromImage(c.image());
}

QPixmap swatch(Color color)
{
    QPixmap p(24, 16);
    p.fill(QColor::fromRgb(toPixel(color)));
    return p;
}

} // namespace

THanrei::THanrei(MapSession& session, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), session_(session)
{
    setObjectName(QStringLiteral("THanrei"));
    setWindowTitle(QStringLiteral("　地図凡例編集"));
    chooseColor = [this](Color current) -> std::optional<Color> {
        const QColor c = QColorDialog::getColor(QColor::fromRgb(toPixel(current)), this);
        if (!c.isValid())
            return std::nullopt;
        return fromPixel(c.rgb());
    };
    const QString openFilter = QStringLiteral("凡例ファイル (*.exp);;すべて (*.*)");
    chooseOpenFile = [this, openFilter] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("凡例ファイルの読込"), QString(), openFilter);
    };
    chooseSaveFile = [this, openFilter](const QString& suggested) {
        QFileDialog d(this, QStringLiteral("凡例ファイルの保存"), suggested, openFilter);
        d.setAcceptMode(QFileDialog::AcceptSave);
        d.setDefaultSuffix(QStringLiteral("exp"));
        return d.exec() == QDialog::Accepted && !d.selectedFiles().isEmpty() ? d.selectedFiles().front() : QString();
    };

    auto* top = new QVBoxLayout(this);
    auto* numbers = new QGridLayout;
    UDCount = spin(this, "UDCount", kLegendRowCountRange, 1);
    EdWidth = spin(this, "EdWidth", kLegendSampleWidthRange, 1, QStringLiteral("色記号枠の幅"));
    EdHeight = spin(this, "EdHeight", kLegendSampleHeightRange, 1, QStringLiteral("色記号枠の高さ"));
    EdGap = spin(this, "EdGap", kLegendGapRange, 1, QStringLiteral("色記号の間隔"));
    EdX = spin(this, "EdX", kLegendPositionRange, 10, QStringLiteral("凡例表示横位置"));
    EdY = spin(this, "EdY", kLegendPositionRange, 10, QStringLiteral("凡例表示縦位置"));
    UDFont = spin(this, "UDFont", kLegendFontSizeRange, 1);
    const std::pair<const char*, QSpinBox*> numberRows[] = {{"凡例数", UDCount}, {"色記号 ｗ", EdWidth},
                                                            {"色記号 ｈ", EdHeight}, {"間隔 ｄ", EdGap},
                                                            {"位置 ｘ", EdX}, {"位置 ｙ", EdY},
                                                            {"文字サイズ", UDFont}};
    int i = 0;
    for (auto [caption, box] : numberRows) {
        numbers->addWidget(new QLabel(QString::fromUtf8(caption), this), i / 4, (i % 4) * 2);
        numbers->addWidget(box, i / 4, (i % 4) * 2 + 1);
        ++i;
    }
    top->addLayout(numbers);

    auto* colours = new QHBoxLayout;
    const auto colourControl = [&](const char* caption, const char* img, const char* btn, QLabel*& label,
                                   QToolButton*& button, Color LegendSettings::*which) {
        colours->addWidget(new QLabel(QString::fromUtf8(caption), this));
        label = named(new QLabel(this), img);
        colours->addWidget(label);
        button = named(new QToolButton(this), btn);
        button->setText(QStringLiteral("..."));
        colours->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, which] { pickColor(which); });
    };
    colourControl("文字色", "ImgTextColor", "BtnTextColor", ImgTextColor, BtnTextColor, &LegendSettings::textColor);
    colourControl("枠内色", "ImgFillColor", "BtnFillColor", ImgFillColor, BtnFillColor, &LegendSettings::fillColor);
    colourControl("枠色", "ImgFrameColor", "BtnFrameColor", ImgFrameColor, BtnFrameColor, &LegendSettings::frameColor);
    colours->addStretch();
    top->addLayout(colours);

    auto* switches = new QHBoxLayout;
    CBTitle = named(new QCheckBox(QStringLiteral("タイトル"), this), "CBTitle", QStringLiteral("凡例タイトルを表示する"));
    CBFrame = named(new QCheckBox(QStringLiteral("囲み枠"), this), "CBFrame", QStringLiteral("凡例囲み枠を描く"));
    CBBold = named(new QCheckBox(QStringLiteral("太枠"), this), "CBBold", QStringLiteral("凡例枠を太い線で描く"));
    CBMap = named(new QCheckBox(QStringLiteral("地図"), this), "CBMap", QStringLiteral("凡例編集時に地図を描く"));
    for (QCheckBox* c : {CBTitle, CBFrame, CBBold, CBMap})
        switches->addWidget(c);
    switches->addStretch();
    top->addLayout(switches);

    EdTitle = named(new QLineEdit(this), "EdTitle");
    top->addWidget(EdTitle);
    auto* rows = new QGridLayout;
    for (int r = 0; r < kLegendRows; ++r) {
        LblRow[r] = new QLabel(QString::number(r + 1), this);
        Sample[r] = named(new QToolButton(this), QStringLiteral("Sample%1").arg(r + 1).toLatin1().constData(),
                          QStringLiteral("色はペイントで設定"));
        Sample[r]->setIconSize(QSize(kSampleW, kSampleH));
        Sample[r]->setAutoRaise(true);
        EdText[r] = named(new QLineEdit(this), QStringLiteral("EdText%1").arg(r + 1).toLatin1().constData());
        rows->addWidget(LblRow[r], r, 0);
        rows->addWidget(Sample[r], r, 1);
        rows->addWidget(EdText[r], r, 2);
        connect(Sample[r], &QToolButton::clicked, this, [this, r] {
            // Only while painting with a slot chosen: the row takes the slot's sample.
            if (!refreshing_)
                session_.takeLegendSample(r);
        });
        connect(EdText[r], &QLineEdit::editingFinished, this, [this] {
            if (isVisible())
                apply();
        });
    }
    top->addLayout(rows);
    connect(EdTitle, &QLineEdit::editingFinished, this, [this] {
        if (isVisible())
            apply();
    });

    LblFile = named(new QLabel(this), "LblFile");
    top->addWidget(LblFile);
    top->addWidget(new QLabel(QStringLiteral("凡例をドラッグして位置を変更できます"), this));

    auto* buttons = new QHBoxLayout;
    BtnRead = named(new QPushButton(QStringLiteral("読　込"), this), "BtnRead", QStringLiteral("凡例ファイルの読込"));
    BtnSave = named(new QPushButton(QStringLiteral("保　存"), this), "BtnSave", QStringLiteral("凡例ファイルの保存"));
    BtnShow = named(new QPushButton(QStringLiteral("表示"), this), "BtnShow", QStringLiteral("凡例にチェックが入っているとき"));
    BtnPatternCopy = named(new QPushButton(QStringLiteral("パターンコピー"), this), "BtnPatternCopy",
                           QStringLiteral("ペイントパターンへコピー"));
    BtnClose = named(new QPushButton(QStringLiteral("閉じる"), this), "BtnClose");
    for (QPushButton* b : {BtnRead, BtnSave, BtnShow, BtnPatternCopy, BtnClose}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    top->addLayout(buttons);

    // Every number, switch and colour change is a 表示.
    for (QSpinBox* box : {UDCount, EdWidth, EdHeight, EdGap, EdX, EdY, UDFont})
        connect(box, &QSpinBox::valueChanged, this, [this] {
            if (!refreshing_)
                apply();
        });
    for (QCheckBox* c : {CBTitle, CBFrame, CBBold})
        connect(c, &QCheckBox::toggled, this, [this] {
            if (!refreshing_)
                apply();
        });
    connect(CBMap, &QCheckBox::toggled, this, [this](bool on) {
        if (!refreshing_)
            session_.setLegendMapShown(on);
    });
    connect(BtnShow, &QPushButton::clicked, this, &THanrei::apply);
    connect(BtnRead, &QPushButton::clicked, this, &THanrei::readFile);
    connect(BtnSave, &QPushButton::clicked, this, &THanrei::saveFile);
    connect(BtnPatternCopy, &QPushButton::clicked, this, [this] {
        session_.legendToPalette();
        emit paletteChanged();
    });
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::hide);

    refresh();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void THanrei::refresh()
{
    refreshing_ = true;
    const LegendSettings& s = session_.legend;
    const std::pair<QSpinBox*, int> numbers[] = {{UDCount, s.rowCount}, {EdWidth, s.sampleWidth},
                                                 {EdHeight, s.sampleHeight}, {EdGap, s.gap},
                                                 {EdX, s.x}, {EdY, s.y}, {UDFont, s.fontSize}};
    for (auto [box, v] : numbers)
        box->setValue(v);
    ImgTextColor->setPixmap(swatch(s.textColor));
    ImgFillColor->setPixmap(swatch(s.fillColor));
    ImgFrameColor->setPixmap(swatch(s.frameColor));
    CBTitle->setChecked(s.titleShown);
    CBFrame->setChecked(s.frameShown);
    CBBold->setChecked(s.boldFrame);
    CBBold->setEnabled(s.frameShown);
    CBMap->setChecked(session_.tools.legendMap);
    EdTitle->setText(QString::fromStdString(s.title));
    EdTitle->setEnabled(s.titleShown);
    for (int r = 0; r < kLegendRows; ++r)
        EdText[r]->setText(QString::fromStdString(s.rows[r].text));
    showRowCount(s.rowCount);
    LblFile->setText(session_.legendFile.empty()
                         ? QString()
                         : QFileInfo(QString::fromStdString(session_.legendFile)).fileName());
    // Painting takes over the map: 表示 waits until it ends.
    BtnShow->setEnabled(!session_.paintActive);
    refreshing_ = false;
}

void THanrei::showRowCount(int n)
{
    for (int r = 0; r < kLegendRows; ++r) {
        const bool used = r < n;
        Sample[r]->setEnabled(used);
        EdText[r]->setEnabled(used);
        LblRow[r]->setEnabled(used);
        Sample[r]->setIcon(sampleImage(used ? &session_.legend.rows[r] : nullptr));
    }
}

LegendSettings THanrei::settingsFromControls() const
{
    LegendSettings s = session_.legend;
    s.rowCount = UDCount->value();
    s.sampleWidth = EdWidth->value();
    s.sampleHeight = EdHeight->value();
    s.gap = EdGap->value();
    s.x = EdX->value();
    s.y = EdY->value();
    s.fontSize = UDFont->value();
    s.titleShown = CBTitle->isChecked();
    s.frameShown = CBFrame->isChecked();
    s.boldFrame = CBBold->isChecked();
    s.title = EdTitle->text().toStdString();
    for (int r = 0; r < kLegendRows; ++r)
        s.rows[r].text = EdText[r]->text().toStdString();
    return s;
}

void THanrei::apply()
{
    session_.setLegend(settingsFromControls());
    refresh();
}

void THanrei::pickColor(Color LegendSettings::*which)
{
    const std::optional<Color> c = chooseColor ? chooseColor(session_.legend.*which) : std::nullopt;
    if (!c)
        return;
    LegendSettings s = settingsFromControls();
    s.*which = *c;
    session_.setLegend(s);
    refresh();
}

void THanrei::readFile()
{
    const QString path = chooseOpenFile ? chooseOpenFile() : QString();
    if (path.isEmpty())
        return;
    // Texts being typed count as the legend's before the file replaces them.
    session_.legend = settingsFromControls();
    session_.readLegend(path.toStdString());
    refresh();
}

void THanrei::saveFile()
{
    const QString suggested = session_.legendFile.empty()
                                  ? QString()
                                  : QFileInfo(QString::fromStdString(session_.legendFile)).fileName();
    const QString path = chooseSaveFile ? chooseSaveFile(suggested) : QString();
    if (path.isEmpty())
        return;
    session_.writeLegend(path.toStdString(), settingsFromControls());
    refresh();
}

} // namespace oboro
