#pragma once
// A session on real map data, as the session tests start from.
#include "app/mapsession.h"
#include "common/paths.h"
#include "mapdata/namelists.h"
#include "support/testsupport.h"

#include <vector>

namespace oboro::test {

// The map fonts, the program folder (the bundled data unless another folder is given),
// the designated-city and duplicate-name lists read, and the areas selected.
inline bool openMap(MapSession& session, MessageSink& sink, const std::vector<int>& areas,
                    const QString& folder = bundledDataDir())
{
    Canvas::installFontSubstitutions();
    setProgramFolder(folder);
    readDesignatedCityList(session.store, sink);
    readDuplicateNameList(session.store, sink);
    return session.selectAreas(areas, false);
}

} // namespace oboro::test
