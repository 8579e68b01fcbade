#include "common/gui/messagebox.h"

#include <QMessageBox>

namespace oboro {

namespace {
std::function<bool(const Message&)>& interceptor()
{
    static std::function<bool(const Message&)> f;
    return f;
}
} // namespace

void setMessageInterceptor(std::function<bool(const Message&)> f) { interceptor() = std::move(f); }

bool showMessage(QWidget* parent, const Message& m)
{
    if (interceptor())
        return interceptor()(m);
    QMessageBox box(parent);
    box.setWindowTitle(QString::fromStdString(m.title));
    box.setText(QString::fromStdString(m.text));
    switch (m.icon) {
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    return box.exec() == QMessageBox::Ok;
}

} // namespace oboro
