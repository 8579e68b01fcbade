// The paint window's files, paint by name and data paint, through the session.
#include "app/gui/topen.h"

#include "paint/gui/tmappaint.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

namespace oboro {

void TOpen::wirePaintFiles()
{
    connect(paint_, &TMapPaint::loadRequested, this, [this](const QString& path, bool colorsOnly, bool append) {
        session.loadPaintFile(path.toStdString(), colorsOnly, append);
        paint_->refreshSwatches();
    });
    connect(paint_, &TMapPaint::saveRequested, this,
            [this](const QString& path, bool colorsOnly) { session.savePaintFile(path.toStdString(), colorsOnly); });
    connect(paint_, &TMapPaint::dataRequested, this, [this](const QString& path, int classes, int method) {
        const std::optional<DataPaintOutcome> out = session.dataPaint(
            path.toStdString(), classes, method == 1 ? ClassMethod::Quantiles : ClassMethod::EqualIntervals);
        paint_->refreshSwatches();
        if (!out || out->classes.empty())
            return;
        // The classes of a statistics file, slot by slot.
        std::string text = "塗り分けた階級（" + std::to_string(out->painted) + " か所）：";
        for (const ClassRow& r : out->classes)
            text += "\n  " + std::to_string(r.slot + 1) + "  " + r.text;
        if (out->elsewhere > 0)
            text += "\n\nこの地図にない市区町村 " + std::to_string(out->elsewhere) + " 件は塗っていません";
        dialogs().show(text, "データペイント");
    });
    connect(paint_, &TMapPaint::nameListToggled, this, [this](bool on) {
        if (on)
            paint_->setNameList(session.buildPaintNameList());
    });
    connect(paint_, &TMapPaint::paintByNameRequested, this,
            [this](const QString& name) { session.paintByName(name.toStdString()); });
}

void TOpen::refreshPaintFileControls()
{
    const bool painting = session.paintActive;
    paint_->BtnSave->setEnabled(!painting && paintRecords.count() > 0);
    paint_->BtnLoad->setEnabled(session.mapShown);
    paint_->BtnData->setEnabled(session.mapShown);
    // 市町村指定 works while painting; at other times it is off.
    if (!painting && paint_->CBNamePaint->isChecked()) {
        const QSignalBlocker block(paint_->CBNamePaint);
        paint_->CBNamePaint->setChecked(false);
        paint_->CmbNames->setEnabled(false);
        paint_->BtnNameRun->setEnabled(false);
    }
    paint_->CBNamePaint->setEnabled(painting);
    if (!session.paintFileName.empty())
        paint_->LblFile->setText(QString::fromStdString(session.paintFileName));
}

} // namespace oboro
