#include "measure/gui/tkyori.h"

#include "common/gui/controls.h"

#include "app/gui/updown.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace oboro {

TKyori::TKyori(DistanceCircleModel& model, MessageSink& sink, std::function<bool(const Message&)> ask, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), model_(model), sink_(sink), ask_(std::move(ask))
{
    setObjectName(QStringLiteral("TKyori"));
    setWindowTitle(QStringLiteral("　距離円（同心円）"));
    chooseColor = [this](Color current) -> std::optional<Color> {
        const QColor c = QColorDialog::getColor(qcolorOf(current), this);
        if (!c.isValid())
            return std::nullopt;
        return static_cast<Color>(c.red() | (c.green() << 8) | (c.blue() << 16));
    };

    Button1 = button(this, "Button1", QStringLiteral("中心指定"), QStringLiteral("距離円の中心を指定する"));
    Button2 = button(this, "Button2", QStringLiteral(" 閉じる"));
    Button4 = button(this, "Button4", QStringLiteral("円削除"), QStringLiteral("距離円を削除する"));
    Button3 = button(this, "Button3", QStringLiteral("..."));
    Button3->setFixedWidth(28);

    RadioGroup1 = named(new QGroupBox(QStringLiteral("半径/間隔"), this), "RadioGroup1");
    auto* radios = new QGridLayout(RadioGroup1);
    const char* captions[6] = {" 10km", " 20km", " 50km", "100km", "200km", "指定"};
    for (int i = 0; i < 6; ++i) {
        radius[i] = new QRadioButton(QString::fromUtf8(captions[i]), RadioGroup1);
        radius[i]->setObjectName(QStringLiteral("RadioGroup1_%1").arg(i));
        radios->addWidget(radius[i], i / 3, i % 3);
    }
    Edit3 = named(new QLineEdit(RadioGroup1), "Edit3");
    Edit3->setFixedWidth(56);
    radios->addWidget(Edit3, 2, 2);

    CheckBox1 = checkBox(this, "CheckBox1", QStringLiteral("同心円"), QStringLiteral("同心円を描く"));
    CheckBox2 = checkBox(this, "CheckBox2", QStringLiteral("中心表示"));
    CheckBox3 = checkBox(this, "CheckBox3", QStringLiteral("距離表示"));
    CheckBox4 = checkBox(this, "CheckBox4", QStringLiteral("距離円表示"), QStringLiteral("距離円表示/非表示選択"));
    CheckBox5 = checkBox(this, "CheckBox5", QStringLiteral("固定"), QStringLiteral("画像サイズに対して"));
    CheckBox6 = checkBox(this, "CheckBox6", QStringLiteral("追加円"), QStringLiteral("距離円を追加する"));

    UpDown1 = named(new TUpDown(Qt::Vertical, this), "UpDown1");
    UpDown1->setRange(1, 5);
    UpDown2 = named(new TUpDown(Qt::Vertical, this), "UpDown2");
    UpDown2->setRange(6, 50);
    Edit1 = named(new QLineEdit(this), "Edit1");
    Edit2 = named(new QLineEdit(this), "Edit2");
    for (QLineEdit* e : {Edit1, Edit2}) {
        e->setReadOnly(true);
        e->setFixedWidth(36);
    }
    Image1 = label(this, "Image1", QString());
    Image1->setFixedSize(28, 20);

    CBCenter = checkBox(this, "CBCenter", QStringLiteral("指定"), QStringLiteral("中心を経緯度で指定"));
    EdLon = named(new QLineEdit(this), "EdLon");
    EdLat = named(new QLineEdit(this), "EdLat");
    for (QLineEdit* e : {EdLon, EdLat})
        e->setToolTip(QStringLiteral("ddd.mmssを設定"));
    CBGSICorCircle = checkBox(this, "CBGSICorCircle", QString(), QStringLiteral("ウォッちず読み取り補正"));

    Label12 = label(this, "Label12", QStringLiteral("0"));
    Label6 = label(this, "Label6", QString());
    Label1 = label(this, "Label1", QStringLiteral("中心 x"));
    Label2 = label(this, "Label2", QStringLiteral("中心 y"));
    Label7 = label(this, "Label7", QStringLiteral("経度"));
    Label8 = label(this, "Label8", QStringLiteral("緯度"));

    auto* top = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button4);
    buttons->addWidget(Button2);
    top->addLayout(buttons);
    top->addWidget(RadioGroup1);
    auto* boxes = new QGridLayout;
    boxes->addWidget(CheckBox1, 0, 0);
    boxes->addWidget(CheckBox2, 0, 1);
    boxes->addWidget(CheckBox3, 0, 2);
    boxes->addWidget(CheckBox4, 1, 0);
    boxes->addWidget(CheckBox5, 1, 1);
    boxes->addWidget(CheckBox6, 1, 2);
    top->addLayout(boxes);
    auto* look = new QHBoxLayout;
    look->addWidget(new QLabel(QStringLiteral("線太さ"), this));
    look->addWidget(Edit1);
    look->addWidget(UpDown1);
    look->addWidget(new QLabel(QStringLiteral("文字ｻｲｽﾞ"), this));
    look->addWidget(Edit2);
    look->addWidget(UpDown2);
    look->addWidget(Image1);
    look->addWidget(Button3);
    top->addLayout(look);
    auto* centre = new QGridLayout;
    centre->addWidget(CBCenter, 0, 0);
    centre->addWidget(new QLabel(QStringLiteral("経度"), this), 0, 1);
    centre->addWidget(EdLon, 0, 2);
    centre->addWidget(new QLabel(QStringLiteral("緯度"), this), 0, 3);
    centre->addWidget(EdLat, 0, 4);
    centre->addWidget(CBGSICorCircle, 1, 0);
    centre->addWidget(new QLabel(QStringLiteral("GSI 補正"), this), 1, 1, 1, 2);
    centre->addWidget(Label1, 2, 0, 1, 3);
    centre->addWidget(Label2, 2, 3, 1, 2);
    centre->addWidget(Label7, 3, 0, 1, 3);
    centre->addWidget(Label8, 3, 3, 1, 2);
    top->addLayout(centre);
    auto* status = new QHBoxLayout;
    status->addWidget(Label6, 1);
    status->addWidget(new QLabel(QStringLiteral("円の数"), this));
    status->addWidget(Label12);
    top->addLayout(status);

    // Every control hands its change to the model; the map follows what it answers.
    connect(Button1, &QPushButton::clicked, this, [this] {
        readTypedTexts();
        apply(model_.startCentre(sink_));
    });
    connect(Button2, &QPushButton::clicked, this, [this] {
        apply(model_.close());
        hide();
    });
    connect(Button4, &QPushButton::clicked, this, [this] { apply(model_.deleteAll(sink_, ask_)); });
    connect(Button3, &QPushButton::clicked, this, [this] {
        if (!chooseColor)
            return;
        if (const std::optional<Color> c = chooseColor(model_.currentColor))
            apply(model_.setColor(*c));
    });
    for (int i = 0; i < 6; ++i)
        connect(radius[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && !refreshing_) {
                readTypedTexts();
                apply(model_.setRadiusChoice(i, sink_));
            }
        });
    connect(Edit3, &QLineEdit::editingFinished, this, [this] {
        if (refreshing_)
            return;
        readTypedTexts();
        if (model_.controls.radiusChoice == kTypedRadiusChoice)
            apply(model_.setRadiusChoice(kTypedRadiusChoice, sink_));
    });
    const auto liveEdit = [this](QCheckBox* box, std::function<CircleOutcome(bool)> change) {
        connect(box, &QCheckBox::toggled, this, [this, change = std::move(change)](bool on) {
            if (!refreshing_)
                apply(change(on));
        });
    };
    liveEdit(CheckBox1, [this](bool on) { return model_.setConcentric(on); });
    liveEdit(CheckBox2, [this](bool on) { return model_.setCentreMark(on); });
    liveEdit(CheckBox3, [this](bool on) { return model_.setLabels(on); });
    liveEdit(CheckBox4, [this](bool on) { return model_.setShown(on); });
    liveEdit(CheckBox5, [this](bool on) { return model_.setFixedSize(on); });
    connect(CheckBox6, &QCheckBox::toggled, this, [this](bool on) {
        if (refreshing_)
            return;
        model_.setAddMode(on);
        refresh();
    });
    connect(CBCenter, &QCheckBox::toggled, this, [this](bool on) {
        if (refreshing_)
            return;
        model_.setTypedCentre(on);
        refresh();
    });
    connect(CBGSICorCircle, &QCheckBox::toggled, this, [this](bool on) { model_.controls.gsiCorrection = on; });
    connect(UpDown1, &TUpDown::clicked, this, [this](bool) { apply(model_.setWidth(UpDown1->position())); });
    connect(UpDown2, &TUpDown::clicked, this, [this](bool) { apply(model_.setFontSize(UpDown2->position())); });
    // Typed texts reach the model as they are typed, so a refresh never takes them back.
    for (QLineEdit* e : {EdLon, EdLat, Edit3})
        connect(e, &QLineEdit::textEdited, this, [this] { readTypedTexts(); });

    refresh();
}

void TKyori::readTypedTexts()
{
    model_.controls.lonText = EdLon->text().toStdString();
    model_.controls.latText = EdLat->text().toStdString();
    model_.controls.typedRadius = Edit3->text().toStdString();
}

void TKyori::apply(const CircleOutcome& o)
{
    refresh();
    emit outcome(o);
    refresh(); // the drawing updates the status line
}

void TKyori::refresh()
{
    refreshing_ = true;
    const CircleControls& c = model_.controls;
    for (int i = 0; i < 6; ++i) {
        const QSignalBlocker block(radius[i]);
        radius[i]->setChecked(c.radiusChoice == i);
    }
    Edit3->setText(QString::fromStdString(c.typedRadius));
    setQuietly(CheckBox1, c.concentric);
    setQuietly(CheckBox2, c.centreMark);
    setQuietly(CheckBox3, c.labels);
    setQuietly(CheckBox4, c.shown);
    setQuietly(CheckBox5, c.fixedSize);
    setQuietly(CheckBox6, c.addMode);
    setQuietly(CBCenter, c.typedCentre);
    setQuietly(CBGSICorCircle, c.gsiCorrection);
    UpDown1->setPosition(c.width);
    UpDown2->setPosition(c.fontSize);
    Edit1->setText(QString::number(c.width));
    Edit2->setText(QString::number(c.fontSize));
    EdLon->setText(QString::fromStdString(c.lonText));
    EdLat->setText(QString::fromStdString(c.latText));
    QPixmap swatch(Image1->size());
    swatch.fill(qcolorOf(model_.currentColor));
    Image1->setPixmap(swatch);

    // The look of a set can be changed once a centre is set; 距離円表示 and 追加円 as
    // soon as there are sets.
    const bool settings = model_.settingsEnabled();
    const bool sets = model_.count() > 0;
    for (QWidget* w : std::initializer_list<QWidget*>{RadioGroup1, CheckBox1, CheckBox2, CheckBox3, UpDown1, UpDown2,
                                                      Button3, Edit1, Edit2})
        w->setEnabled(settings);
    CheckBox4->setEnabled(settings || sets);
    CheckBox6->setEnabled(settings || sets);

    Label12->setText(QString::fromStdString(model_.countText()));
    Label6->setText(QString::fromStdString(model_.status));
    Label1->setText(QStringLiteral("中心 x ") + QString::fromStdString(model_.centreXText));
    Label2->setText(QStringLiteral("中心 y ") + QString::fromStdString(model_.centreYText));
    Label7->setText(model_.lonLabel.empty() ? QStringLiteral("経度") : QString::fromStdString(model_.lonLabel));
    Label8->setText(model_.latLabel.empty() ? QStringLiteral("緯度") : QString::fromStdString(model_.latLabel));
    refreshing_ = false;
}

void TKyori::openFromMainWindow()
{
    readTypedTexts();
    const DistanceCircleModel::MainButton b = model_.openFromMainWindow(sink_);
    show();
    raise();
    apply(b.outcome);
}

void TKyori::openForPicking()
{
    model_.openForPicking();
    show();
    raise();
    apply(CircleOutcome{}); // the map's cursor follows the picking
}

} // namespace oboro
