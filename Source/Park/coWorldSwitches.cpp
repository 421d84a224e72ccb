#include "Source/Park/coWorldSwitches.h"

#include "Source/Collision/coTrackCollision.h"
#include "Source/Ride/coRide.h"
#include "Source/Ride/coRideStats.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coTrackBuilder.h"
#include "Source/TrackGeom/coCrossSectionReader.h"
#include "Source/TrackGeom/coTrackColorizer.h"
#include "Source/TrackGeom/coTrackMeshBuilder.h"
#include "Source/World/coEnvironment.h"
#include "Source/World/coLoadingDock.h"
#include "Source/World/coPlacementGrid.h"
#include "Source/World/coPropList.h"
#include "Source/World/coPropTemplateList.h"
#include "Source/World/coTargetRingList.h"

#include <algorithm>
#include <vector>

namespace {

struct Step {
    coClearStep part;
    const void* owner;
    std::function<void()> run;
};

// The parts' own steps have no owner, so no owner can remove them.
std::vector<Step>& Steps() {
    static std::vector<Step> steps = {
        {coClearStep::Ride, nullptr, coRideClear},
        {coClearStep::Props, nullptr, coPropList::DeleteAll},
        {coClearStep::TrackObjects, nullptr, coCircuitClear},
        {coClearStep::CollisionMarkers, nullptr, coCollisionClearMarkers},
        {coClearStep::TrackColours, nullptr, coTrackColorizer::ClearCurrent},
        {coClearStep::TrackDefinitions, nullptr,
         [] {
             if (auto* builder = dynamic_cast<coTrackMeshBuilder*>(&coGetTrackBuilder()))
                 builder->FreeDefinitions();
         }},
        {coClearStep::TrackTextures, nullptr, coReleaseTrackTextures},
        {coClearStep::Rings, nullptr, coTargetRingList::Clear},
        {coClearStep::Dock, nullptr, coFreeDock},
        {coClearStep::PlacementOverlay, nullptr, [] { coGetPlacementGrid().HideOverlay(); }},
        {coClearStep::Terrain, nullptr, [] { coGetEnvironment().Clear(); }},
        {coClearStep::Statistics, nullptr, coRideStatsClear},
    };
    return steps;
}

bool g_worldTextured = true;

} // namespace

void coAddClearSceneStep(coClearStep part, const void* owner, std::function<void()> step) {
    auto& steps = Steps();
    const auto after =
        std::find_if(steps.begin(), steps.end(), [part](const Step& s) { return s.part > part; });
    steps.insert(after, {part, owner, std::move(step)});
}

void coRemoveClearSceneSteps(const void* owner) {
    if (owner)
        std::erase_if(Steps(), [owner](const Step& step) { return step.owner == owner; });
}

void coClearScene() {
    for (const Step& step : Steps())
        step.run();
}

void coSetWorldVisible(bool visible) {
    coGetEnvironment().SetVisible(visible);
    coGetTrackBuilder().ShowTrackObjects(visible);
    coPropList::SetAllVisible(visible);
    coCollisionShowMarkers(visible);
    coTargetRingList::SetVisible(visible);
    if (coLoadingDock* dock = coGetDock())
        dock->ShowModels(visible);
}

bool coIsWorldTextured() {
    return g_worldTextured;
}

void coSetWorldTextured(bool textured) {
    g_worldTextured = textured;
    coLoadingDock* dock = coGetDock();
    if (textured) {
        coGetEnvironment().ShowTextured();
        coPropTemplateList::RestoreTextures();
        if (dock)
            dock->RestoreTextures();
    } else {
        coGetEnvironment().ShowUntextured();
        coPropTemplateList::StripTextures();
        if (dock)
            dock->StripTextures();
    }
}

coTexturedWorld::coTexturedWorld() : m_worldTextured(coIsWorldTextured()) {
    const coLoadingDock* dock = coGetDock();
    m_dockStripped = dock && dock->IsStripped();
    coSetWorldTextured(true);
}

coTexturedWorld::~coTexturedWorld() {
    if (!m_worldTextured)
        coSetWorldTextured(false);
    else if (coLoadingDock* dock = coGetDock(); dock && m_dockStripped)
        dock->StripTextures();
}
