#pragma once
// The window part of a search up to the chosen place: the message boxes and the choice
// window. The main window then turns drawing off, calls MunicipalitySearch::show with
// the returned choice, applies the SearchShow, turns drawing on and redraws once.
#include "search/gui/tdatacheck.h"
#include "search/municipalitysearch.h"

#include <QString>
#include <optional>

class QWidget;

namespace oboro {

struct SearchChoice {
    SearchResult result;
    SearchCandidate chosen;
};

// Runs find() on the EdName text. *edName receives the normalised name (unchanged for
// an empty name). A message is shown as a box over parent and gives nullopt; so does
// closing the choice window without a choice. Nothing else changes in those cases.
std::optional<SearchChoice> chooseSearchPlace(QWidget* parent, MunicipalitySearch& search, TDataCheck& chooser,
                                              QString* edName, const MapStore& store, SearchSwitches sw);

} // namespace oboro
