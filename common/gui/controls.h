#pragma once
// Small helpers the windows share to make their controls: a widget with its object name,
// buttons and check boxes with their hints, a check box set without running its
// behaviour, and the map's colours (0x00BBGGRR) as QColor.
#include "common/canvas.h"

#include <QCheckBox>
#include <QColor>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QString>

namespace oboro {

inline QColor qcolorOf(Color c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

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

} // namespace oboro
