#pragma once
#include "Engine/Core/Ma/maVector.h"
#include "Source/TrackGeom/coSupportMaker.h"

// Steel supports: vertical poles from the track to below the ground, horizontal arms where the track is
// banked on its side, and two-legged portals with a joint where it runs upside down. A support is only
// built where its path is clear of the track, the props and the dock.
class coSupportMakerPole : public coSupportMaker {
  public:
    coSupportMakerPole() : coSupportMaker(4.0f, 2.0f, 5.0f) {}

    bool MakeSupports(const coCoasterPiece& piece, coSceneObjectSet& set) override;

    // One pole piece from a to b: every pole section extruded along it and every pole model stretched
    // along it; an arm uses only the entries of draw groups 0 and 1.
    void AddSegment(const maVector3d& a, const maVector3d& b, coSceneObjectSet& set, bool arm) const;
    // The joint models (or half joint models) at the point, turned about y to face dir (negated by flip).
    void AddJoint(const maVector3d& point, maVector3d dir, coSceneObjectSet& set, bool half, bool flip) const;

    // 0 a vertical pole, 1 an arm out of the track's underside, 3 an arm out of its +x side, 4 a portal.
    static int SupportKind(const coCoasterPiece& piece, bool inverted);
    // How many supports the piece gets in the current circuit (0, 1 or 2).
    static int SupportCount(const coCoasterPiece& piece, int kind, bool inverted);

  private:
    // Where a portal's leg from c through q meets the terrain, leaning SupportAngle outwards.
    maVector3d LegEnd(const maVector3d& c, const maVector3d& q) const;
};

// True when nothing blocks the segment: no track within the extrusion scale, no prop whose bounds meet
// its box, and not the dock.
bool coIsSupportPathClear(const maVector3d& a, const maVector3d& b);
// The point 10 units below the terrain under the point (below height 0 where there is no terrain).
maVector3d coGroundBelow(const maVector3d& point);

struct coShadowRing;
// A target ring's support: a pole of the current type's pole maker from below the ground up to 1.4 radii
// under the ring's centre (none for a type without one), and the ring's shadow, in one set.
void coMakeTargetRingSupport(const coShadowRing& ring, coSceneObjectSet& set);
