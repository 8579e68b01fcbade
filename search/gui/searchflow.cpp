#include "search/gui/searchflow.h"

#include "common/gui/messagebox.h"

namespace oboro {

std::optional<SearchChoice> chooseSearchPlace(QWidget* parent, MunicipalitySearch& search, TDataCheck& chooser,
                                              QString* edName, const MapStore& store, SearchSwitches sw)
{
    const std::string typed = edName ? edName->toStdString() : std::string();
    SearchResult r = search.find(typed, store, sw);
    if (edName && !r.name.empty())
        *edName = QString::fromStdString(r.name);
    switch (r.kind) {
    case SearchResultKind::Message:
        showMessage(parent, r.message);
        return std::nullopt;
    case SearchResultKind::Hit: {
        SearchCandidate c = r.candidates.front();
        return SearchChoice{std::move(r), std::move(c)};
    }
    case SearchResultKind::Choice: {
        const std::optional<int> i = chooser.choose(r.name, r.candidates);
        if (!i)
            return std::nullopt;
        SearchCandidate c = r.candidates[static_cast<size_t>(*i)];
        return SearchChoice{std::move(r), std::move(c)};
    }
    }
    return std::nullopt;
}

} // namespace oboro
