#pragma once
#include "Source/Modes/coOrbitManip.h"

// A free-flying orbit for the builder and the ride: the keypad moves the centre along the view's axes,
// the arrows turn it, and the eye stays 5 above the ground. The centre never leaves the world box.
class coCameraManipFree : public coOrbitManip {
  public:
    coCameraManipFree();

    void Update() override;
    // Raises the centre to 5 above the ground under it; a centre outside the world is refused.
    void SetCentreClear(const maVector3d& centre);

  protected:
    void MoveCentre(const maVector3d& centre) override { SetCentreClear(centre); }
};
