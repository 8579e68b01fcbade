// The main window's part of the legend: the legend window, 地図凡例, the menu item
// 地図凡例を編集する, the paint window's 凡例編集 and パターンコピー's new swatches.
#include "app/gui/topen.h"
#include "common/gui/controls.h"

#include "paint/gui/thanrei.h"
#include "paint/gui/tmappaint.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace oboro {

void TOpen::buildLegendWindow()
{
    hanrei_ = new THanrei(session, this);
    connect(hanrei_, &THanrei::paletteChanged, paint_, &TMapPaint::refreshSwatches);
    connect(paint_, &TMapPaint::legendRequested, this, &TOpen::editLegend);
    connect(action("N5"), &QAction::triggered, this, [this] { editLegend(paint_->CBLegendCopy->isChecked()); });
    // 地図凡例 checked shows the window beside the legend (the session draws it).
    connect(CBExp, &QCheckBox::toggled, this, [this](bool on) {
        if (on && !refreshing_)
            showLegendWindow();
    });
    const auto follow = [this] {
        setControlEnabled("N5", session.mapShown);
        paint_->BtnLegend->setEnabled(session.mapShown);
        if (hanrei_->isVisible())
            hanrei_->refresh();
    };
    connect(&session, &MapSession::changed, this, follow);
    follow();
}

void TOpen::editLegend(bool copySamples)
{
    if (!session.mapShown)
        return;
    session.startLegendEditing(copySamples);
    showLegendWindow();
}

void TOpen::showLegendWindow()
{
    hanrei_->refresh();
    if (!hanrei_->isVisible()) {
        // Beside the main window (below the paint window's place) where the screen has
        // room, so it does not hide the legend it edits.
        placeBeside(hanrei_, this, frameGeometry().height() / 3);
    }
    hanrei_->show();
    hanrei_->raise();
}

} // namespace oboro
