// The readings windows of the main window: 読み shows the readings window, the prefecture
// window's and the settings window's 市町村名リスト open the name list.
#include "app/gui/topen.h"

#include "common/gui/controls.h"
#include "common/paths.h"
#include "names/gui/tyomi.h"
#include "names/gui/tyomilist.h"
#include "settings/gui/tken.h"
#include "settings/gui/tsettei.h"

#include <QCheckBox>

namespace oboro {

void TOpen::buildReadingsWindows()
{
    yomi_ = new TYomi(session, this);
    yomiList_ = new TYomiList(session, this);
    session.loadReadings(programPath(kReadingsFileName));

    connect(yomi_, &TYomi::nameListRequested, this, [this] {
        if (!yomiList_->isVisible())
            placeBeside(yomiList_, this, yomi_->frameGeometry().height() + 8);
        yomiList_->showList();
    });
    connect(yomiList_, &TYomiList::highlighted, this, [this] {
        MapImage->update();
        yomi_->refresh();
    });
    connect(CBYomi, &QCheckBox::toggled, this, [this](bool on) {
        if (!refreshing_ && on && session.switches.CBYomi)
            showReadingsWindow();
    });
    // 読み off (by hand or by a switch chain) closes both windows.
    connect(&session, &MapSession::changed, this, [this] {
        if (!session.switches.CBYomi) {
            yomi_->hide();
            yomiList_->hide();
        } else {
            yomi_->refresh();
        }
    });
    connect(ken_, &TKen::nameListRequested, this, [this](int) { showNameList(); });
    connect(settei_, &TSettei::townNameListRequested, this, &TOpen::showNameList);
}

void TOpen::showNameList()
{
    if (!session.openNameList())
        return;
    showReadingsWindow();
    if (!yomiList_->isVisible())
        placeBeside(yomiList_, this, yomi_->frameGeometry().height() + 8);
    yomiList_->showList();
}

void TOpen::showReadingsWindow()
{
    yomi_->refresh();
    if (!yomi_->isVisible())
        placeBeside(yomi_, this);
    yomi_->show();
}

} // namespace oboro
