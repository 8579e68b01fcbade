#pragma once
// Small helpers the windows share to make their controls: a widget with its object name,
// buttons and check boxes with their hints, a check box set without running its
// behaviour, and where a tool window opens.
#include "common/canvas.h"

#include <QCheckBox>
#include <QColor>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWidget>
#include <QSignalBlocker>
#include <QString>

#include <algorithm>

namespace oboro {

template <class W> W* named(W* w, const char* name)
{
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

inline QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QString& hint = {})
{
    auto* b = named(new QPushButton(caption, parent), name);
    b->setToolTip(hint);
    return b;
}

inline QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption, const QString& hint = {})
{
    auto* b = named(new QCheckBox(caption, parent), name);
    b->setToolTip(hint);
    return b;
}

inline QLabel* label(QWidget* parent, const char* name, const QString& text)
{
    return named(new QLabel(text, parent), name);
}

// Checks or unchecks a box without running its behaviour.
inline void setQuietly(QCheckBox* box, bool on)
{
    const QSignalBlocker block(box);
    box->setChecked(on);
}

// Puts a tool window beside the main window, to its right and `down` pixels below its
// top, where the screen has room, else below it: the map stays in view.
inline void placeBeside(QWidget* tool, const QWidget* main, int down = 0)
{
    tool->adjustSize();
    const QRect frame = main->frameGeometry();
    const QPoint right(frame.right() + 4, frame.top() + down);
    const QScreen* screen = main->screen();
    if (!screen) {
        tool->move(right);
        return;
    }
    const QRect free = screen->availableGeometry();
    const int h = tool->frameGeometry().height();
    if (right.x() + tool->frameGeometry().width() <= free.right())
        tool->move(right.x(), std::max(free.top(), std::min(right.y(), free.bottom() - h)));
    else
        tool->move(frame.left(), std::max(free.top(), std::min(frame.bottom() + 4, free.bottom() - h)));
}

} // namespace oboro
