#include "Source/App/coGameEditorWorld.h"

#include "Source/Modes/coEditorSelection.h"
#include "Source/Track/coTrackBuilder.h"
#include "Source/World/coLoadingDock.h"
#include "Source/World/coProp.h"
#include "Source/World/coPropList.h"
#include "Source/World/coSpotObject.h"
#include "Source/World/coTargetRing.h"

coEditorWorld::Target coGameEditorWorld::Classify(coObject* object) const {
    Target target;
    if ((target.prop = dynamic_cast<coProp*>(object)))
        target.kind = coSelectionProp;
    else if ((target.dock = dynamic_cast<coLoadingDock*>(object)))
        target.kind = coSelectionDock;
    else if ((target.ring = dynamic_cast<coTargetRing*>(object)))
        target.kind = coSelectionRing;
    else if ((target.spot = dynamic_cast<coSpotObject*>(object)))
        target.kind = coSelectionSpot;
    return target;
}

coObject* coGameEditorWorld::GetDockObject(coLoadingDock* dock) const {
    return dock;
}

bool coGameEditorWorld::GetObjectBox(const coObject* object, maBoundingBox& box) const {
    if (const auto* prop = dynamic_cast<const coProp*>(object))
        box = prop->GetBounds();
    else if (const auto* dock = dynamic_cast<const coLoadingDock*>(object))
        box = dock->GetBounds();
    else if (const auto* ring = dynamic_cast<const coTargetRing*>(object))
        box = ring->GetBounds();
    else if (const auto* spot = dynamic_cast<const coSpotObject*>(object)) {
        const maVector3d reach(coSpotObject::kRadius, coSpotObject::kRadius, coSpotObject::kRadius);
        box.Set(spot->GetPosition() - reach, spot->GetPosition() + reach);
    } else
        return false;
    return true;
}

maBoundingBox coGameEditorWorld::GetPieceBox(const coCoasterPiece& piece) const {
    // The builder leaves the box untouched for a piece without a mesh: then the centre line frames it.
    coWorldBox mesh = {1.0f, -1.0f, 1.0f, -1.0f, 1.0f, -1.0f};
    coGetTrackBuilder().GetPieceBounds(&piece, mesh);
    if (mesh[0] > mesh[1])
        return coEditorWorld::GetPieceBox(piece);
    return maBoundingBox({mesh[0], mesh[2], mesh[4]}, {mesh[1], mesh[3], mesh[5]});
}

void coGameEditorWorld::RemoveProp(coProp* prop) {
    coPropList::Remove(prop);
}

void coGameEditorWorld::FreeDock() {
    coFreeDock();
}

coCoasterPiece* coGameEditorWorld::FindPieceByCollisionPath(const coPickPathMesh* path) const {
    return coGetTrackBuilder().FindPieceByCollisionPath(path);
}

void coGameEditorWorld::ShowSelectionMarker(bool shown, const maVector3d& position, const maVector3d& scale) {
    m_marker.Show(shown, position, scale);
}

void coGameEditorWorld::FreeSelectionMarker() {
    m_marker.Free();
}
