#pragma once
#include "Engine/Core/Ma/maConstants.h"
#include "Engine/Core/Ma/maVector.h"
#include "Source/Track/coTrackBuilder.h"

#include <string>

class coCoasterPiece;
class coLoadingDock;

// What the circuit and its placement rules ask of the park: the terrain under the track, the
// placement grid's bounds, the loading dock, the track props and the environment's start position.
// The park installs its own; until then there is no terrain, no dock and no props, and the world is
// unbounded.
class coParkWorld {
  public:
    virtual ~coParkWorld() = default;

    // The terrain height under (x, z); false where there is no terrain.
    virtual bool GetHeightAt(float /*x*/, float /*z*/, float& /*height*/) const { return false; }
    // True with the hit point when the segment from p0 to p1 meets the terrain.
    virtual bool IntersectSegment(const maVector3d&, const maVector3d&, maVector3d&) const { return false; }

    // The horizontal bounds of the placement grid; track points outside them are outside the world.
    virtual float GetGridMinX() const { return -maMaxFloat; }
    virtual float GetGridMaxX() const { return maMaxFloat; }
    virtual float GetGridMinZ() const { return -maMaxFloat; }
    virtual float GetGridMaxZ() const { return maMaxFloat; }

    // The current loading dock, or null.
    virtual coLoadingDock* GetDock() const { return nullptr; }
    // Closing the circuit moved its first piece: the dock follows it.
    virtual void CircuitStartMoved(const coCoasterPiece& /*first*/) {}
    // Removes every track prop attached to the piece; called before the piece is deleted.
    virtual void RemoveTrackPropsOnPiece(coCoasterPiece* /*piece*/) {}
    // Moves every track prop attached to one piece onto another that takes its place in the circuit.
    virtual void MoveTrackProps(coCoasterPiece* /*from*/, coCoasterPiece* /*to*/) {}
    // Puts every track prop back on its piece at its stored distance, after pieces have moved.
    virtual void PlaceAllTrackProps() {}
    // The current environment's name; empty when none is loaded.
    virtual std::string GetEnvironmentName() const { return std::string(); }
    // The environment's shadow switch; off when none is loaded.
    virtual bool GetEnvironmentShadowsOn() const { return false; }
    // Where the environment wants the first piece of a loaded circuit to start.
    virtual maVector3d GetStartPosition() const { return maVector3d(0.0f, 2.0f, 0.0f); }
};

coParkWorld& coGetParkWorld();
// Not owned; null restores the empty park.
void coSetParkWorld(coParkWorld* world);
