#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maBoundingBox.h"

class coCoasterPiece;
class coLoadingDock;
class coObject;
class coPickPathMesh;
class coProp;
class coSpotObject;
class coTargetRing;

// What the editor asks of the park's objects and the track geometry beyond what the circuit and the
// park world give: what a picked object is, the boxes it is framed by, and which piece a picked
// collision path belongs to. The props, rings, dock and track builder install theirs; until then no
// object is selectable and a piece is framed by its centre line.
class coEditorWorld {
  public:
    // A pickable object as the selection stores it: kind 2 to 5 with the pointer of that kind, or 0.
    struct Target {
        i32 kind = 0;
        coProp* prop = nullptr;
        coLoadingDock* dock = nullptr;
        coTargetRing* ring = nullptr;
        coSpotObject* spot = nullptr;
    };

    virtual ~coEditorWorld() = default;

    virtual Target Classify(coObject*) const { return Target(); }
    // The pickable object of the park's dock, or null.
    virtual coObject* GetDockObject(coLoadingDock*) const { return nullptr; }
    // The bounding box of a selected prop, ring, spot or dock object; false when it has none.
    virtual bool GetObjectBox(const coObject*, maBoundingBox&) const { return false; }
    // The box of the piece's track mesh; the default spans the piece's sampled centre line.
    virtual maBoundingBox GetPieceBox(const coCoasterPiece& piece) const;
    // Takes the prop out of the placed props and deletes it.
    virtual void RemoveProp(coProp*) {}
    // Deletes the park's loading dock.
    virtual void FreeDock() {}
    // The piece whose collision path this is, or null.
    virtual coCoasterPiece* FindPieceByCollisionPath(const coPickPathMesh*) const { return nullptr; }
    // Draws the selection marker centred at the position with the scale, or hides it.
    virtual void ShowSelectionMarker(bool /*shown*/, const maVector3d& /*position*/,
                                     const maVector3d& /*scale*/) {}
    // The marker's drawing goes (the editor leaves).
    virtual void FreeSelectionMarker() {}
};

coEditorWorld& coGetEditorWorld();
// Not owned; null restores the default.
void coSetEditorWorld(coEditorWorld* world);
