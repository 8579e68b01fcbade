#include "app/gui/shellwindows.h"

#include "app/startup.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace oboro {

TWaitWindow::TWaitWindow(const QString& caption, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), label_(new QLabel(this))
{
    setWindowTitle(caption);
    label_->setObjectName(QStringLiteral("Label1"));
    label_->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->addWidget(label_);
    setMinimumWidth(320);
}

void TWaitWindow::setText(const QString& text) { label_->setText(text); }
QString TWaitWindow::text() const { return label_->text(); }

void TWaitWindow::showWithText(const QString& text)
{
    setText(text);
    show();
    raise();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

TProcess::TProcess(QWidget* parent) : TWaitWindow(QStringLiteral("　お待ちください．．．．"), parent)
{
    setObjectName(QStringLiteral("TProcess"));
}

TKeisoku::TKeisoku(QWidget* parent) : TWaitWindow(QStringLiteral("　お待ちください"), parent)
{
    setObjectName(QStringLiteral("TKeisoku"));
}

TAbout::TAbout(QWidget* parent) : QDialog(parent), dateLabel_(new QLabel(this))
{
    setObjectName(QStringLiteral("TAbout"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    auto* title = new QLabel(QString::fromUtf8(kMainCaption), this);
    title->setObjectName(QStringLiteral("Label1"));
    QFont f = title->font();
    f.setPixelSize(20);
    f.setBold(true);
    title->setFont(f);
    title->setAlignment(Qt::AlignCenter);
    dateLabel_->setObjectName(QStringLiteral("Label2"));
    dateLabel_->setAlignment(Qt::AlignCenter);
    auto* hint = new QLabel(QStringLiteral("クリックすると閉じます"), this);
    hint->setObjectName(QStringLiteral("Label3"));
    hint->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    layout->addWidget(dateLabel_);
    layout->addWidget(hint);
    for (QLabel* l : {title, dateLabel_, hint})
        l->installEventFilter(this);
}

void TAbout::setProgramDate(const QString& date)
{
    date_ = date;
    dateLabel_->setText(QStringLiteral("プログラム日付　%1").arg(date));
}

void TAbout::mousePressEvent(QMouseEvent*) { accept(); }

bool TAbout::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::MouseButtonPress) {
        accept();
        return true;
    }
    return QDialog::eventFilter(o, e);
}

THowTo::THowTo(QWidget* parent) : QDialog(parent), memo_(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("THowTo"));
    setWindowTitle(QStringLiteral("使い方"));
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setReadOnly(true);
    memo_->setPlainText(usageText());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memo_);
    resize(560, 480);
}

QString THowTo::usageText()
{
    return QStringLiteral(
        "白地図 Oboro の使い方\n"
        "\n"
        "■ 地図を描く\n"
        "　「県 指 定」で都道府県一覧のウィンドウを開き，描きたい都道府県や地方を選んで「決　定」を押します．\n"
        "　市区町村名から描くときは，左の欄に市区町村名を入れて「検　索」を押します．\n"
        "\n"
        "■ 地図の操作\n"
        "　倍率の上下ボタンで拡大・縮小，「左へ／右へ」「上へ／下へ」で地図を動かします．\n"
        "　「＋」を押してから地図をクリックすると，そこが地図の中心になります（ダブルクリックでも同じです）．\n"
        "　「範囲指定」を押して地図上でマウスをドラッグすると，その範囲の拡大地図を描きます．\n"
        "　「戻す」で範囲指定の前の地図に戻り，「標準範囲」で選んだ地域全体の地図に戻ります．\n"
        "　マウスホイールで拡大・縮小，Shift＋ホイールで上下，Ctrl＋ホイールで左右に動かせます．\n"
        "\n"
        "■ 地図の表示\n"
        "　左の欄のチェックで都府県界・市区町村界・市区町村名・尺度・経緯線などを表示します．\n"
        "　色や線の太さ，文字の大きさは「表示設定」で変えられます（地図の右クリックでも開きます）．\n"
        "\n"
        "■ 地図に描き込む\n"
        "　「ペイント」で市区町村を塗り分け，「ラ ベ ル」で文字を，「地図記号」で記号を，\n"
        "　「地 図 線」で線を，「円」で距離円を描きます．\n"
        "\n"
        "■ 測る\n"
        "　地図上でドラッグすると２点間の距離を，「距離」で折れ線の長さと囲んだ面積を，\n"
        "　「面積」でクリックした領域の面積を測ります．\n"
        "\n"
        "■ 保存する\n"
        "　「画像保存」で PNG・JPEG・BMP の画像ファイルに，「画像コピー」でクリップボードに出力します．\n"
        "　「ﾌｧｲﾙ保存」で作業の状態を作業ファイルに保存し，「ﾌｧｲﾙ読込」で復元します．\n");
}

} // namespace oboro
