#include "view/layers.h"

namespace oboro {

void installNameAndDecorationLayers(RenderHooks& hooks, const NameOptions& names, DecorationState& decorations)
{
    const NameOptions* opt = &names;
    DecorationState* st = &decorations;
    hooks.townNames = [](RenderContext& c) {
        DrawMunicipalityNames(c.canvas, c.store, c.view, c.display, c.switches);
    };
    hooks.duplicateNames = [opt](RenderContext& c) {
        DrawDuplicateListNames(c.canvas, c.store, c.view, c.display, c.switches, *opt);
    };
    hooks.cityNames = [opt](RenderContext& c) {
        DrawDesignatedCityNames(c.canvas, c.store, c.view, c.display, c.switches, *opt);
    };
    hooks.graticule = [st](RenderContext& c) { DrawGraticule(c, *st); };
    hooks.mesh = [st](RenderContext& c) { DrawMapMesh(c, *st); };
    hooks.prefNameCorner = [](RenderContext& c) { DrawCornerPrefName(c); };
    hooks.centreMark = [](RenderContext& c) { DrawCentreCross(c); };
    hooks.approvalNotice = [st](RenderContext& c) { DrawApprovalNotice(c, *st); };
    hooks.meshNames = [](RenderContext& c) { DrawMeshNames(c, 1); };
    hooks.meshNames2 = [](RenderContext& c) { DrawMeshNames(c, 2); };
    hooks.scaleBar = [st](RenderContext& c) { return DrawScaleBar(c, *st); };
    hooks.frame = [](RenderContext& c) { DrawFrame(c); };
}

} // namespace oboro
