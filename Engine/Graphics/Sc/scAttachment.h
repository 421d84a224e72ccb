#pragma once
#include "Engine/Core/Ma/maRotation.h"
#include "Engine/Core/Ma/maVector.h"

// Something that follows a node of a scene object (a sound, a particle generator). The scene manager's
// attachment list owns it, moves it every frame and deletes it once it reports finished.
class scAttachment {
  public:
    virtual ~scAttachment() = default;
    virtual void UpdateTransform(const maVector3d& position, const maRotation& rotation) = 0;
    virtual bool IsFinished() { return false; }
};
