#pragma once
#include "Source/Modes/coOrbitManip.h"

// The builder's camera: it glides to the selected piece, dock or object, a sixth of the remaining way
// each frame, backs off far enough to see all of it, and lifts its view until the eye clears the ground.
class coCameraManipFocus : public coOrbitManip {
  public:
    // Over the environment's track start.
    coCameraManipFocus();

    void Update() override;
    void SetKeysEnabled(bool enabled) { m_keysEnabled = enabled ? 1 : 0; }

  private:
    // Where to look and how far back to stay for the current selection.
    void FindTarget(maVector3d& target, float& desired) const;
    void KeepEyeAboveGround(float previousPitch);

    u8 m_keysEnabled = 1;
};
