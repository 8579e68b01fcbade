#pragma once
// Puts the name and decoration layers into the map's drawing hooks.
#include "view/decorations.h"
#include "view/names.h"
#include "view/render.h"

namespace oboro {

// Fills townNames, duplicateNames, cityNames, graticule, mesh, prefNameCorner,
// centreMark, approvalNotice, meshNames, meshNames2, scaleBar and frame. The layers
// keep references to names and decorations, which must outlive the hooks.
void installNameAndDecorationLayers(RenderHooks& hooks, const NameOptions& names, DecorationState& decorations);

} // namespace oboro
