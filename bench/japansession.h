#pragma once
// A session of the open map on real data for the benchmarks (realDataFolder): the
// designated-city and duplicate-name lists read, as the main window reads them, and for
// most benchmarks all Japan (areas 1 to 52) drawn at 1800 × 1800.
#include "app/mapsession.h"
#include "bench/realdata.h"
#include "common/paths.h"
#include "mapdata/namelists.h"

#include <vector>

// Points the program folder at the real data and reads the name lists; false without data.
inline bool prepareRealDataSession(oboro::MapSession& session, oboro::MessageSink& sink)
{
    const QString dir = realDataFolder();
    if (dir.isEmpty())
        return false;
    oboro::setProgramFolder(dir);
    oboro::readDesignatedCityList(session.store, sink);
    oboro::readDuplicateNameList(session.store, sink);
    return true;
}

// The session drawing all Japan at 1800 × 1800, without the please-wait notice.
inline bool openAllJapan(oboro::MapSession& session, oboro::MessageSink& sink)
{
    if (!prepareRealDataSession(session, sink))
        return false;
    session.setSwitch(oboro::Switch::PleaseWait, false);
    session.view.sizeFactor = 3;
    std::vector<int> all;
    for (int a = 1; a <= 52; ++a)
        all.push_back(a);
    return session.selectAreas(all, false);
}
