#include "app/gui/tlicense.h"

#include "app/programinfo.h"
#include "mapdata/datasource.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

// The program's resources live in a static library: load them before the first use.
static void loadProgramResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)loaded;
}

namespace oboro {

TLicense::TLicense(QWidget* parent) : QDialog(parent), memo_(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("TLicense"));
    setWindowTitle(QStringLiteral("ライセンスと地図データの出典"));
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setReadOnly(true);
    memo_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memo_);
    layout->addWidget(buttons);
    resize(640, 520);
}

QString TLicense::licenceText()
{
    loadProgramResources();
    QFile f(QStringLiteral(":/oboro/LICENSE"));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void TLicense::showFor(const QString& programFolder)
{
    memo_->setPlainText(QString::fromStdString(aboutText(readDataSource(programFolder), licenceText().toStdString())));
    memo_->moveCursor(QTextCursor::Start);
    show();
    raise();
}

QString TLicense::text() const { return memo_->toPlainText(); }

} // namespace oboro
