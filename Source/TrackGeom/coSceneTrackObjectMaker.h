#pragma once
#include "Source/TrackGeom/coTrackObjects.h"

// The maker the game installs once its scene is up: the track's fragments become the engine's scene
// objects on the update list, so that they are culled and drawn with the rest of the world. Static
// objects stand where their fragment puts them, placed ones are baked under their placement, movable
// ones are moved by it.
class coSceneTrackObjectMaker : public coTrackObjectMaker {
  public:
    std::unique_ptr<scObject> Make(coTrackObjectKind kind, g3dFragment* fragment, int renderList,
                                   const coTrackObjectPlacement& placement) override;
};
