#include "app/gui/topen.h"

#include <QLabel>

namespace oboro {

TOpen::TOpen(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Oboro"));
    auto* label = new QLabel(QStringLiteral("白地図"), this);
    label->setAlignment(Qt::AlignCenter);
    setCentralWidget(label);
    resize(800, 640);
}

} // namespace oboro
