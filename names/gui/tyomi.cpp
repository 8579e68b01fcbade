#include "names/gui/tyomi.h"

#include "common/gui/controls.h"

#include "app/gui/updown.h"
#include "app/mapsession.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace oboro {

namespace {

void showIn(QLabel* l, const std::string& text, const QColor& colour)
{
    l->setText(QString::fromStdString(text));
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, colour);
    l->setPalette(p);
}

} // namespace

TYomi::TYomi(MapSession& session, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), session_(session)
{
    setObjectName(QStringLiteral("TYomi"));
    setWindowTitle(QStringLiteral("　市区町村名読みがな"));
    chooseColor = [this](Color current) -> std::optional<Color> {
        const QColor c = QColorDialog::getColor(qcolorOf(current), this, QStringLiteral("読みがな文字色設定"));
        if (!c.isValid())
            return std::nullopt;
        return static_cast<Color>(c.red() | (c.green() << 8) | (c.blue() << 16));
    };

    Label1 = named(new QLabel(this), "Label1");
    Label2 = named(new QLabel(this), "Label2");
    Label4 = named(new QLabel(this), "Label4");
    Label7 = named(new QLabel(QString::fromUtf8(kEditInListText), this), "Label7");
    QFont big = Label1->font();
    big.setPointSize(big.pointSize() + 4);
    Label1->setFont(big);
    Label2->setFont(big);

    UpDown1 = named(new TUpDown(Qt::Vertical, this), "UpDown1");
    UpDown1->setRange(5, 50);
    UpDown1->setToolTip(QStringLiteral("読みがな文字サイズ"));
    Edit1 = named(new QLineEdit(this), "Edit1");
    Edit1->setReadOnly(true);
    Edit1->setFixedWidth(36);
    CheckBox1 = named(new QCheckBox(QStringLiteral("固定"), this), "CheckBox1");
    CheckBox1->setToolTip(QStringLiteral("画像サイズに対して"));
    CBKana = named(new QCheckBox(QStringLiteral("かなのみ"), this), "CBKana");
    CBKana->setToolTip(QStringLiteral("漢字名を表示しない"));
    CBOnMap = named(new QCheckBox(QStringLiteral("地図上表示"), this), "CBOnMap");
    CBOnMap->setToolTip(QStringLiteral("地図上に読みがなを表示する"));
    Button1 = named(new QPushButton(QStringLiteral("..."), this), "Button1");
    Button1->setToolTip(QStringLiteral("読みがな文字色設定"));
    Button1->setFixedWidth(28);
    Shape1 = named(new QLabel(this), "Shape1");
    Shape1->setFixedSize(24, 18);
    Shape1->setAutoFillBackground(true);
    Button2 = named(new QPushButton(QStringLiteral("読みがな地図"), this), "Button2");
    Button3 = named(new QPushButton(QStringLiteral("市町村名リスト"), this), "Button3");
    Button3->setToolTip(QStringLiteral("表示されている地名の読みがなリスト"));

    auto* top = new QVBoxLayout(this);
    auto* names = new QGridLayout;
    names->addWidget(new QLabel(QStringLiteral("市区町村名"), this), 0, 0);
    names->addWidget(Label1, 0, 1);
    names->addWidget(Label4, 0, 2);
    names->addWidget(new QLabel(QStringLiteral("読みがな"), this), 1, 0);
    names->addWidget(Label2, 1, 1, 1, 2);
    names->addWidget(Label7, 2, 1, 1, 2);
    names->setColumnStretch(1, 1);
    top->addLayout(names);
    auto* look = new QHBoxLayout;
    look->addWidget(new QLabel(QStringLiteral("サイズ"), this));
    look->addWidget(Edit1);
    look->addWidget(UpDown1);
    look->addWidget(CheckBox1);
    look->addWidget(Shape1);
    look->addWidget(Button1);
    look->addStretch();
    top->addLayout(look);
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(CBKana);
    boxes->addWidget(CBOnMap);
    boxes->addStretch();
    top->addLayout(boxes);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);
    top->addLayout(buttons);

    connect(UpDown1, &TUpDown::positionChanged, this, [this](int size) {
        session_.setReadingsSize(size);
        refresh();
    });
    connect(CheckBox1, &QCheckBox::toggled, this, [this](bool on) { session_.setReadingsFixedSize(on); });
    connect(CBKana, &QCheckBox::toggled, this, [this](bool on) { session_.setKanaOnly(on); });
    connect(CBOnMap, &QCheckBox::toggled, this, [this](bool on) { session_.setReadingsOnMap(on); });
    connect(Button1, &QPushButton::clicked, this, [this] {
        if (const std::optional<Color> c = chooseColor(session_.display.KanaFontColor))
            session_.setKanaColor(*c);
        refresh();
    });
    connect(Button2, &QPushButton::clicked, this, [this] {
        session_.toggleReadingsMap();
        refresh();
    });
    connect(Button3, &QPushButton::clicked, this, [this] {
        if (session_.buildNameList())
            emit nameListRequested();
    });
    refresh();
}

void TYomi::refresh()
{
    const ReadingsPanel& p = session_.readingsPanel;
    const QColor grey(0xC0, 0xC0, 0xC0);
    switch (p.state) {
    case ReadingsPanel::State::Nothing:
        showIn(Label1, kNothingHereText, grey);
        showIn(Label2, kNothingHereText, grey);
        Label4->clear();
        Label7->hide();
        break;
    case ReadingsPanel::State::Found:
    case ReadingsPanel::State::NoReading: {
        const bool found = p.state == ReadingsPanel::State::Found;
        showIn(Label1, p.name, qcolorOf(session_.display.TownFontColor));
        if (found)
            showIn(Label2, p.reading, qcolorOf(session_.display.KanaFontColor));
        else
            showIn(Label2, kNoReadingText, QColor(0x00, 0x00, 0xFF));
        Label4->setText(QString::fromStdString(p.kind));
        Label7->setVisible(!found);
        break;
    }
    }
    const ReadingsLook& look = session_.readingsLook;
    {
        const QSignalBlocker block(UpDown1);
        UpDown1->setPosition(look.size);
    }
    Edit1->setText(QString::number(look.size));
    setQuietly(CheckBox1, look.fixedSize);
    setQuietly(CBKana, session_.tools.kanaOnly);
    setQuietly(CBOnMap, look.onMap);
    QPalette sw = Shape1->palette();
    sw.setColor(QPalette::Window, qcolorOf(session_.display.KanaFontColor));
    Shape1->setPalette(sw);
    Button2->setToolTip(session_.readingsMapShown() ? QStringLiteral("読みがなをつけない")
                                                    : QStringLiteral("読みがなをつける"));
}

} // namespace oboro
