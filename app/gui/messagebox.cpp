#include "app/gui/messagebox.h"

#include <QMessageBox>

namespace oboro {

namespace {
QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

void MessageBoxSink::show(const Message& m)
{
    QMessageBox box(boxIcon(m.icon), QString::fromStdString(m.title), QString::fromStdString(m.text), QMessageBox::Ok, parent_);
    box.exec();
}

bool MessageBoxSink::ask(const Message& m)
{
    QMessageBox box(boxIcon(m.icon), QString::fromStdString(m.title), QString::fromStdString(m.text),
                    QMessageBox::Ok | QMessageBox::Cancel, parent_);
    return box.exec() == QMessageBox::Ok;
}

} // namespace oboro
