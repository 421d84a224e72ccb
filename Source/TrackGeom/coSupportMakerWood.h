#pragma once
#include "Engine/Core/Ma/maVector.h"
#include "Source/TrackGeom/coSupportMaker.h"

#include <vector>

// Wooden trestles: textured walls hung from two lines 2.5 units either side of the centre line down to
// the ground, one pair for each plane of the definition. The texture repeats with height, walls skip
// stretches where the track is upside down, and start above props, the dock and track standing below.
class coSupportMakerWood : public coSupportMaker {
  public:
    coSupportMakerWood() : coSupportMaker(2.5f, 0.0f, 0.0f) {}

    bool MakeSupports(const coCoasterPiece& piece, coSceneObjectSet& set) override;

    // Points per side over a horizontal span at the plane's spacing; below 2 the plane builds nothing.
    // Capped, with a warning, so that a tiny spacing cannot ask for millions of ground queries.
    static int SampleCount(float span, float spacing);
};

// Where along the segments [0, segments) each wall fragment starts; a fragment ends where the next begins.
std::vector<int> coWoodWallFragmentStarts(int segments);
// One side's wall from its top line P with the frame's up axes U; true when a fragment was added.
bool coBuildWoodWall(const std::vector<maVector3d>& P, coSceneObjectSet& set,
                     const std::vector<maVector3d>& U, const coSupportPlane& plane, bool front,
                     bool twoSided);
// Tests the wall segment below P0 P1 down to B0 B1 against props, the dock and the track; a hit below the
// track raises B0 and B1 to the next beam line above it. True when the segment must be left out.
bool coWoodWallBlocked(const maVector3d& P0, const maVector3d& P1, maVector3d& B0, maVector3d& B1,
                       const maVector3d& N, float spacing);
