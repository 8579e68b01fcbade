// The main window's part of the symbols: the palette window, the button 地図記号, the menu
// 記号 (palette, size, custom symbols) and the map cursor of the chosen symbol.
#include "app/gui/cursors.h"
#include "app/gui/topen.h"
#include "symbols/gui/tpagesdlg.h"

#include <QAction>
#include <QPushButton>

namespace oboro {

void TOpen::buildSymbolTools()
{
    pages_ = new TPagesDlg(session, dialogs(), this);
    pages_->setCustomFolder(QString::fromStdString(config.ExtraMarkFolder));
    connect(pages_, &TPagesDlg::customFolderChanged, this,
            [this](const QString& folder) { config.ExtraMarkFolder = folder.toStdString(); });
    connect(BtnMark, &QPushButton::clicked, pages_, &TPagesDlg::openFromMainWindow);
    connect(action("MPalette"), &QAction::triggered, pages_, &TPagesDlg::openFromMainWindow);
    connect(action("MCustomDel"), &QAction::triggered, pages_, &TPagesDlg::deleteCustom);
    connect(action("MCustomLoad"), &QAction::triggered, pages_, &TPagesDlg::copyCustomIn);
    connect(action("MCustomSave"), &QAction::triggered, pages_, &TPagesDlg::copyCustomOut);
    for (auto [name, size] : {std::pair{"MMark16", kStandardStamp}, std::pair{"MMark14", kSmallStamp},
                              std::pair{"MMark18", kLargeStamp}})
        connect(action(name), &QAction::triggered, this, [this, size] { session.setStampSize(size); });
}

void TOpen::refreshSymbolControls()
{
    const MapSession& s = session;
    // The menu 記号 works once a map is shown, as the button 地図記号 does.
    for (const char* name : {"MKigou", "MPalette", "MCustomDel", "MCustomLoad", "MCustomSave"})
        setControlEnabled(name, s.mapShown && !s.paintActive);
    for (auto [name, size] : {std::pair{"MMark16", kStandardStamp}, std::pair{"MMark14", kSmallStamp},
                              std::pair{"MMark18", kLargeStamp}}) {
        const QSignalBlocker block(action(name));
        action(name)->setChecked(s.symbolPalette.size == size);
    }
}

QCursor TOpen::stampCursor() const
{
    const SymbolPalette& p = session.symbolPalette;
    const QImage& picture =
        session.symbolImages.picture(symbolFileName(p.symbol, kStandardStamp), kStandardStamp);
    return symbolCursor(picture.isNull() ? picture : recolouredSymbol(picture, p.color));
}

} // namespace oboro
